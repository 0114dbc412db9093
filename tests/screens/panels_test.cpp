// The player's command menus: which panel shows what, how an order is read, carried out or refused.
#include "screens/orders/panels.h"

#include <gtest/gtest.h>

#include "screens/main/ok_step.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

using testing::TestGame;

constexpr int kLondon = 1;

// London's turn has begun and the top menu is up.
Session& LondonsTurn(TestGame& t) {
    Session& g = t.game;
    g.TurnOrder[1] = kLondon;
    g.PlayerActed = false;
    g.AdvanceReady = true;
    PlayCityTurn(g, 1);
    t.screen.Clear();
    return g;
}

TEST(CommandPanels, AmountPanelShowsSummaryPriceAndSelectedPreset) {
    const char* cases[][4] = {// kind 3..9: summary, price, preset
                              {"兵増強:ロンドン", "兵:2.5", "456"},    {"武装強化:ロンドン", "武器:7", "456"},
                              {"国力増大:ロンドン", "", "456"},        {"町建設:ロンドン", "", "456"},
                              {"城普請:ロンドン", "", "456"},          {"食料売り:ロンドン", "食料:1.5", "123"},
                              {"食料買い:ロンドン", "食料:1.5", "456"}};
    TestGame t;
    Session& g = LondonsTurn(t);
    EXPECT_FALSE(g.AdvanceReady);
    g.TroopsPrice = 2.5, g.ArmsPrice = 7, g.FoodPrice = 1.5;
    g.Cities[kLondon].Food = 123;
    g.Cities[kLondon].Gold = 456;
    for (int kind = kRaiseTroops; kind <= kBuyFood; ++kind) {
        const auto& c = cases[kind - kRaiseTroops];
        g.shown.main.amountPrice = "前の相場";
        const int serial = g.shown.main.focus.serial;
        OpenPoliticsMenu(g);
        StartCommand(g, kind);
        EXPECT_EQ(g.shown.main.activePanel, Panel::AmountPanel);
        EXPECT_EQ(g.shown.main.amountTitle, c[0]);
        EXPECT_EQ(g.shown.main.amountPrice, c[1]);
        EXPECT_EQ(g.shown.main.amountText, c[2]);
        EXPECT_EQ(g.shown.main.focus.control, Control::AmountBox);
        EXPECT_EQ(g.shown.main.focus.serial, serial + 1);
        CancelOrder(g);
        EXPECT_EQ(g.shown.main.activePanel, Panel::TopMenu);
    }
}

TEST(CommandPanels, TypedAmountIsReadBeforeTheOrderAndRefusalsReturnToTheMenu) {
    const std::pair<const char*, const char*> cases[] = {// typed, box (nullptr: carried out)
                                                         {"12.5", nullptr},
                                                         {"13.5", nullptr},
                                                         {"５０", nullptr},
                                                         {"１２０", "投資は100までです"},
                                                         {"abc", "整数を入力してください"},
                                                         {"", "整数を入力してください"},
                                                         {"99999999999", "整数を入力してください"},
                                                         {"-5", "0以上の数を入力してください"},
                                                         {"5", "金が足りません"}};
    const int goldAfter[] = {188, 186, 150};  // 12, 14 and 50 spent
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto [typed, box] = cases[i];
        TestGame t;
        Session& g = LondonsTurn(t);
        g.Cities[kLondon].Gold = 200;
        StartCommand(g, kInvestPower);
        g.shown.main.amountText = typed;
        ConfirmOrder(g);
        EXPECT_EQ(t.screen.Boxes(), box ? std::vector<std::string>{box} : std::vector<std::string>{}) << typed;
        EXPECT_EQ(g.PlayerActed, box == nullptr) << typed;
        if (box) {
            EXPECT_EQ(g.Cities[kLondon].Gold, 200) << typed;
            EXPECT_EQ(g.shown.main.activePanel, Panel::TopMenu) << typed;
            EXPECT_EQ(g.shown.main.topMenuCity, "ロンドン") << typed;
            EXPECT_TRUE(g.shown.main.delegationMenu) << typed;
        } else {
            EXPECT_EQ(g.Cities[kLondon].Gold, goldAfter[i]) << typed;
            EXPECT_EQ(g.shown.main.activePanel, Panel::IdlePanel) << typed;
            EXPECT_EQ(g.shown.main.topMenuCity, "") << typed;
            EXPECT_FALSE(g.shown.main.delegationMenu) << typed;
        }
    }
}

TEST(CommandPanels, NegativeAmountIsRefusedForEveryAmountOrder) {
    for (int kind = kRaiseTroops; kind <= kBuyFood; ++kind) {
        TestGame t;
        Session& g = LondonsTurn(t);
        g.Cities[kLondon].Food = g.Cities[kLondon].Gold = 300;
        const City before = g.Cities[kLondon];
        StartCommand(g, kind);
        g.shown.main.amountText = "-30";
        ExecuteCommand(g);
        EXPECT_EQ(g.Cities[kLondon], before) << kind;
        EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{"0以上の数を入力してください"}) << kind;
        EXPECT_TRUE(t.screen.Lines(2).empty()) << kind;
    }
}

TEST(CommandPanels, DoNothingAsksFirst) {
    TestGame t;
    Session& g = LondonsTurn(t);
    t.screen.answers = {Answer::Cancel, Answer::Ok};
    ChooseDoNothing(g);
    EXPECT_EQ(g.shown.main.activePanel, Panel::TopMenu);
    EXPECT_FALSE(g.PlayerActed);
    ChooseDoNothing(g);
    EXPECT_EQ(t.screen.Boxes(), (std::vector<std::string>{"何もしない", "何もしない"}));
    EXPECT_EQ(t.screen.Lines(2), std::vector<std::string>{"何もしない"});
    EXPECT_EQ(g.shown.main.activePanel, Panel::IdlePanel);
    EXPECT_TRUE(g.PlayerActed);
}

TEST(CommandPanels, OrderIsFinishedOnceOnly) {
    TestGame t;
    Session& g = LondonsTurn(t);
    g.Cities[kLondon].Gold = 1005;  // out of range: every refresh reports it
    FinishCommand(g);
    FinishCommand(g);  // as the battle's settlement and then the attack order do
    EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{"MAXエラー金 1005:999"});
    // A click that arrives after the finish gives no second order.
    g.Cities[kLondon].Gold = 200;
    g.CommandKind = kInvestPower;
    g.shown.main.amountText = "50";
    ExecuteCommand(g);
    EXPECT_EQ(g.Cities[kLondon].Gold, 200);
}

TEST(CommandPanels, MoveThroughTheTargetPanelOrBackToTheMenu) {
    TestGame t;
    Session& g = LondonsTurn(t);
    OpenMilitaryMenu(g);
    StartCommand(g, kMove);
    EXPECT_EQ(g.shown.main.activePanel, Panel::TargetPanel);
    EXPECT_EQ(g.shown.main.targetTitle, "移動:ロンドン");
    g.shown.main.orderAmounts = {"5", "0", "0"};
    ConfirmOrder(g);
    EXPECT_EQ(g.Cities[2].Troops, 15);  // ヨーク, the first destination
    EXPECT_EQ(g.shown.main.activePanel, Panel::IdlePanel);

    TestGame alone("スコットランド王国");
    alone.game.CurrentCity = 3;  // エディンバラ: no friendly neighbour
    OpenCommandMenu(alone.game);
    StartCommand(alone.game, kMove);
    EXPECT_EQ(alone.screen.Boxes(), std::vector<std::string>{"隣に味方の領土がありません"});
    EXPECT_EQ(alone.game.shown.main.activePanel, Panel::TopMenu);
}

}  // namespace
}  // namespace tarvex
