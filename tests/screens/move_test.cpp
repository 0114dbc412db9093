// Moving troops, food and gold to a neighbouring city of the same owner.
#include "screens/orders/move.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_game.h"

namespace tarvex {
namespace {

using testing::TestGame;

constexpr int kLondon = 1;
constexpr int kYork = 2;

TEST(Moving, DestinationsAreFriendlyNeighboursAlongTheMapsOwnDirection) {
    TestGame t;
    Session& g = t.game;
    g.Cities[kLondon].Troops = 20;
    ASSERT_TRUE(PrepareMove(g, kLondon));
    EXPECT_EQ(g.shown.main.targets, (std::vector<std::string>{"ヨーク", "サザンプトン"}));  // not French ルーアン
    EXPECT_EQ(g.shown.main.orderAmounts, (std::array<std::string, 3>{"20", "10", "10"}));
    EXPECT_EQ(SelectedTarget(g), kYork);
    SetOwnerAs(g, 7, 8);  // リスボン sees セビリャ, never the other way round
    ASSERT_TRUE(PrepareMove(g, 8));
    EXPECT_EQ(std::count(g.shown.main.targets.begin(), g.shown.main.targets.end(), "リスボン"), 0);
    EXPECT_FALSE(PrepareMove(g, 3));  // エディンバラ
    EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{"隣に味方の領土がありません"});
    EXPECT_EQ(g.shown.main.orderAmounts, (std::array<std::string, 3>{"0", "0", "0"}));
}

TEST(Moving, AChosenEntryIsItsOwnCityEvenWhenAnotherHasTheSameName) {
    TestGame t;
    Session& g = t.game;
    // サザンプトン (4) takes York's name: the list shows ヨーク twice.
    g.Cities[4].Name = g.Cities[kYork].Name;
    ASSERT_TRUE(PrepareMove(g, kLondon));
    ASSERT_EQ(g.shown.main.targets, (std::vector<std::string>{"ヨーク", "ヨーク"}));
    g.shown.main.targetSelected = 1;
    EXPECT_EQ(SelectedTarget(g), 4);
    g.shown.main.targetSelected = 2;  // past the list: nothing chosen
    EXPECT_EQ(SelectedTarget(g), 0);
}

struct Stock {
    int troops, food, gold, arms;
    bool operator==(const Stock&) const = default;
};

Stock Of(const City& c) { return {c.Troops, c.Food, c.Gold, c.Arms}; }

// Moves from London to York what is typed; returns the box shown.
std::string Move(Stock& source, Stock& destination, std::array<std::string, 3> typed, int selected = 0) {
    TestGame t;
    Session& g = t.game;
    City& s = g.Cities[kLondon];
    City& d = g.Cities[kYork];
    s.Troops = source.troops, s.Food = source.food, s.Gold = source.gold, s.Arms = source.arms;
    d.Troops = destination.troops, d.Food = destination.food, d.Gold = destination.gold, d.Arms = destination.arms;
    PrepareMove(g, kLondon);
    g.shown.main.orderAmounts = typed;
    g.shown.main.targetSelected = selected;
    const bool done = ExecuteMove(g, kLondon);
    source = Of(s);
    destination = Of(d);
    const auto boxes = t.screen.Boxes();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(done, boxes.empty() ? false : boxes[0].find("移動しました") != std::string::npos);
    return boxes.empty() ? "" : boxes[0];
}

TEST(Moving, GoodsFitTheDestinationAndArmsTravelWithTroops) {
    struct Case {
        Stock source, destination;
        std::array<std::string, 3> typed;
        Stock sourceAfter, destinationAfter;
        std::array<int, 3> moved;  // as the report states them
    } cases[] = {
        // everything: the source keeps no troops, so no averaging
        {{100, 50, 60, 20}, {10, 10, 10, 10}, {"100", "50", "60"}, {0, 0, 0, 20}, {110, 60, 70, 10}, {100, 50, 60}},
        {{100, 50, 0, 20}, {999, 10, 0, 10}, {"50", "5", "0"}, {100, 45, 0, 20}, {999, 15, 0, 10}, {0, 5, 0}},
        {{100, 0, 0, 20}, {990, 0, 0, 20}, {"50", "0", "0"}, {91, 0, 0, 20}, {999, 0, 0, 20}, {9, 0, 0}},
        {{150, 0, 0, 50}, {100, 0, 0, 10}, {"100", "0", "0"}, {50, 0, 0, 50}, {200, 0, 0, 30}, {100, 0, 0}},
        {{100, 50, 0, 40}, {0, 0, 0, 5}, {"0", "20", "0"}, {100, 30, 0, 40}, {0, 20, 0, 40}, {0, 20, 0}},
        {{100, 0, 0, 0}, {10, 0, 0, 0}, {"10", "0", "0"}, {90, 0, 0, 1}, {20, 0, 0, 1}, {10, 0, 0}},
        {{100, 0, 50, 20}, {10, 0, 0, 20}, {"2.9", "0", "１０"}, {98, 0, 40, 20}, {12, 0, 10, 20}, {2, 0, 10}},
    };
    for (Case& c : cases) {
        const auto [troops, food, gold] = c.moved;
        EXPECT_EQ(Move(c.source, c.destination, c.typed), "ロンドンからヨークへ \r兵[" + std::to_string(troops) +
                                                              "]\r食料[" + std::to_string(food) + "]\r金[" +
                                                              std::to_string(gold) + "]移動しました");
        EXPECT_EQ(c.source, c.sourceAfter) << c.typed[0];
        EXPECT_EQ(c.destination, c.destinationAfter) << c.typed[0];
    }
}

TEST(Moving, RefusalsChangeNothingAndReportTheFirstFault) {
    const std::pair<std::array<std::string, 3>, const char*> cases[] = {
        {{"", "0", "0"}, "整数を入力してください"},
        {{"-1", "x", "0"}, "整数を入力してください"},
        {{"0", "-5", "0"}, "0以上の数を入力してください"},
        {{"-0.5", "0", "0"}, "0以上の数を入力してください"},
        {{"500", "0", "-1"}, "0以上の数を入力してください"},
        {{"500", "500", "0"}, "兵が足りません"},
        {{"0", "500", "500"}, "食料が足りません"},
        {{"0", "0", "61"}, "金が足りません"},
        {{"0", "0", "0"}, "どれかは1以上の数字を入力してください(0ならキャンセルを)"},
    };
    for (const auto& [typed, box] : cases) {
        Stock source{100, 50, 60, 20}, destination{10, 10, 10, 10};
        EXPECT_EQ(Move(source, destination, typed), box) << typed[0] << " " << typed[1] << " " << typed[2];
        EXPECT_EQ(source, (Stock{100, 50, 60, 20}));
        EXPECT_EQ(destination, (Stock{10, 10, 10, 10}));
    }
    Stock source{100, 50, 60, 20}, full{999, 999, 999, 10};
    EXPECT_EQ(Move(source, full, {"10", "10", "10"}), "どれかは1以上の数字を入力してください(0ならキャンセルを)");
    // Without a chosen destination nothing may leave the city.
    Stock destination{10, 10, 10, 10};
    EXPECT_EQ(Move(source, destination, {"10", "10", "10"}, -1), "移動先を選んでください");
    EXPECT_EQ(source, (Stock{100, 50, 60, 20}));
}

}  // namespace
}  // namespace tarvex
