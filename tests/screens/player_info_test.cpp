// What the player is shown to decide by: the question about a name that is no
// nation, and the numbers behind a refused order.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "rules/orders/player.h"
#include "rules/turn/cycle.h"
#include "rules/world/scenario.h"
#include "screens/main/ok_step.h"
#include "screens/orders/order_info.h"
#include "screens/orders/panels.h"
#include "screens/settings/settings.h"
#include "sim/protocol.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

using testing::TestGame;

TEST(NationChooser, ANameThatIsNoNationIsAskedAboutOnce) {
    struct Case {
        std::string typed;
        Answer answer;
        bool asked, accepted;
        std::string player;
    } cases[] = {
        {"France", Answer::Ok, true, true, "France"},  // the computer plays every city, as the rules say
        {"France", Answer::Cancel, true, false, "イングランド王国"},
        {"", Answer::Cancel, false, true, "*"},
        {"*", Answer::Cancel, false, true, "*"},
        {"フランス王国", Answer::Cancel, false, true, "フランス王国"},
    };
    for (const Case& c : cases) {
        TestGame t;
        Session& g = t.game;
        OpenSettingsScreen(g);
        TypeNationName(g, c.typed);
        const int focus = g.shown.settings.focus.serial;
        t.screen.answers = {c.answer};
        AcceptSettings(g);
        const std::string question = "「France」という国はありません。コンピュータ同士の対戦を観戦しますか?";
        EXPECT_EQ(t.screen.Boxes(), c.asked ? std::vector<std::string>{question} : std::vector<std::string>{});
        EXPECT_TRUE(!c.asked || t.screen.log.back().defaultButton == Answer::Cancel);  // Enter: back to the name
        EXPECT_EQ(g.shown.settings.open, !c.accepted) << c.typed;
        EXPECT_EQ(g.PlayerNation, c.player) << c.typed;
        // Cancel: back in the name box, its text chosen to be typed over.
        EXPECT_EQ(g.shown.settings.focus.serial, focus + !c.accepted) << c.typed;
    }
}

// What the line protocol answers to the order the panel's boxes hold, given by a
// program at the same moment: the refusal's code and text, or an error's code.
std::pair<std::string, std::string> ThroughTheProtocol(Session& g, int kind, const std::vector<std::string>& typed) {
    static const char* names[] = {
        "",           "move",           "attack",    "raise_troops", "strengthen_arms", "invest_power",
        "build_town", "work_on_castle", "sell_food", "buy_food"};
    nlohmann::json order = {{"order", names[kind]}};
    const auto number = [](const std::string& text) {
        const auto value = nlohmann::json::parse(text, nullptr, false);
        return value.is_discarded() ? nlohmann::json(text) : value;
    };
    if (typed.size() == 1) {
        order["amount"] = number(typed[0]);
    } else {
        // The panel's first entry: the first neighbour of the right kind.
        for (int j : NeighboursOf(g.CurrentCity))
            if ((g.Cities[j].Owner == g.Cities[g.CurrentCity].Owner) == (kind == kMove)) {
                order["target"] = j;
                break;
            }
        order["troops"] = number(typed[0]), order["food"] = number(typed[1]), order["gold"] = number(typed[2]);
    }
    std::istringstream in(order.dump() + "\n");
    std::ostringstream out;
    sim::PostedLines posted;
    sim::LinePolicy program(in, out, posted);
    if (const auto decision = program.Decide(g, Asked::Order, nullptr)) {
        const auto refusal = GiveDecision(g, Asked::Order, *decision);
        if (!refusal) return {"accepted", ""};
        program.Decide(g, Asked::Order, &*refusal);
    }
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        const auto j = nlohmann::json::parse(line);
        if (j["type"] == "refused") return {j["code"], j["text"]};
        if (j["type"] == "error") return {j["code"], ""};
    }
    return {};
}

// One refused order each: the box it gives, the numbers the hint keeps, and
// the same refusal when a program gives the order through the line protocol.
TEST(OrderNumbers, ARefusalLeavesTheNumbersThatDecidedIt) {
    struct Case {
        int kind;
        std::array<int, 4> london;  // troops, food, gold, town
        std::vector<std::string> typed;
        const char* box;
        const char* hint;
        const char* code;  // the protocol's reason (or error) code
    } cases[] = {
        {kMove, {20, 5, 30, 10}, {"30", "0", "0"}, "兵が足りません", "兵: 必要 30 / あり 20", "troops_short"},
        {kMove, {20, 5, 30, 10}, {"5", "15", "0"}, "食料が足りません", "食料: 必要 15 / あり 5", "food_short"},
        {kMove, {20, 5, 30, 10}, {"0", "0", "40"}, "金が足りません", "金: 必要 40 / あり 30", "gold_short"},
        {kMove,
         {20, 5, 30, 10},
         {"0", "0", "0"},
         "どれかは1以上の数字を入力してください(0ならキャンセルを)",
         "",
         "nothing_to_move"},
        {kMove, {20, 5, 30, 10}, {"-1", "0", "0"}, "0以上の数を入力してください", "", "negative_amount"},
        {kAttack, {20, 5, 30, 10}, {"10", "5", "10"}, "食料が足りません", "食料: 必要 10 / あり 5", "food_short"},
        {kAttack, {20, 50, 30, 10}, {"10", "60", "10"}, "食料が足りません", "食料: 必要 60 / あり 50", "food_short"},
        {kAttack, {20, 50, 30, 10}, {"10", "10", "8"}, "金が足りません", "金: 必要 10 / 入力 8", "gold_short"},
        {kAttack, {20, 50, 30, 10}, {"0", "0", "0"}, "足りません", "兵: 必要 1 / 入力 0", "troops_short"},
        {kAttack, {20, 50, 30, 10}, {"25", "25", "25"}, "足りません", "兵: 必要 25 / あり 20", "troops_short"},
        {kAttack, {0, 50, 30, 10}, {"1", "1", "1"}, "兵力が0です", "", "no_troops"},
        {kInvestPower, {20, 5, 300, 10}, {"120"}, "投資は100までです", "投資: 上限 100 / 入力 120", "over_maximum"},
        {kInvestPower, {20, 5, 30, 10}, {"50"}, "金30しか持っていません", "金: 必要 50 / あり 30", "gold_short"},
        {kInvestPower, {20, 5, 30, 10}, {"5"}, "金が足りません", "投資: 最低 10 / 入力 5", "below_minimum"},
        {kInvestPower, {20, 5, 5, 10}, {"5"}, "金が足りません", "金: 必要 10 / あり 5", "gold_short"},
        {kBuildTown, {20, 5, 30, 999}, {"20"}, "これ以上増やせません", "町: 上限 999 / 現在 999", "at_limit"},
        {kWorkOnCastle, {20, 5, 30, 10}, {"-10"}, "0以上の数を入力してください", "", "negative_amount"},
        {kStrengthenArms, {20, 5, 5, 10}, {"5"}, "金が足りません", "金: 必要 10 / あり 5", "gold_short"},
        {kStrengthenArms, {20, 5, 30, 10}, {"7"}, "金が足りません", "金: 必要 7.5 / 入力 7", "below_minimum"},
        {kRaiseTroops, {20, 5, 30, 10}, {"1"}, "金が足りません", "金: 必要 2.5 / 入力 1", "below_minimum"},
        {kRaiseTroops, {999, 5, 30, 10}, {"10"}, "これ以上増やせません", "兵: 上限 999 / 現在 999", "at_limit"},
        {kRaiseTroops, {20, 5, 2, 10}, {"2"}, "金が足りません", "金: 必要 3 / あり 2", "gold_short"},
        {kSellFood, {20, 5, 30, 10}, {"50"}, "食料5しか持っていません", "食料: 必要 50 / あり 5", "food_short"},
        {kSellFood, {20, 5, 999, 10}, {"1"}, "これ以上金を増やせません", "金: 上限 999 / 現在 999", "at_limit"},
        {kBuyFood, {20, 5, 0, 10}, {"0"}, "金が足りません", "金: 必要 1.5 / あり 0", "gold_short"},
        {kBuyFood, {20, 999, 30, 10}, {"3"}, "これ以上食料を増やせません", "食料: 上限 999 / 現在 999", "at_limit"},
        {kBuyFood, {20, 5, 30, 10}, {"abc"}, "整数を入力してください", "", "bad_value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box + std::string(" ") + c.hint);
        TestGame t;
        Session& g = t.game;
        g.TurnOrder[1] = 1;  // London's turn
        PlayCityTurn(g, 1);
        t.screen.Clear();
        City& london = g.Cities[1];
        london.Troops = c.london[0], london.Food = c.london[1], london.Gold = c.london[2], london.Town = c.london[3];
        g.TroopsPrice = 2.5, g.ArmsPrice = 7.5, g.FoodPrice = 1.5;
        const auto [code, text] = ThroughTheProtocol(g, c.kind, c.typed);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(text, code == "bad_value" ? "" : c.box);
        StartCommand(g, c.kind);
        if (g.shown.main.activePanel == Panel::TopMenu) {  // refused as it opens
            EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{c.box});
            continue;
        }
        if (c.typed.size() == 1)
            g.shown.main.amountText = c.typed[0];
        else
            std::copy(c.typed.begin(), c.typed.end(), g.shown.main.orderAmounts.begin());
        ConfirmOrder(g);
        EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{c.box});
        EXPECT_EQ(g.shown.main.activePanel, Panel::TopMenu);
        EXPECT_EQ(g.shown.main.orderHint, c.hint);
        if (*c.hint == '\0') continue;
        // The same order again keeps it under its boxes; another order, or the next city, does not.
        StartCommand(g, c.kind);
        EXPECT_EQ(g.shown.main.orderHint, c.hint);
        StartCommand(g, c.kind == kBuyFood ? kSellFood : kBuyFood);
        EXPECT_EQ(g.shown.main.orderHint, "");
    }
}

// The attack panel shows the odds once a target and a possible number of troops are
// chosen, follows the troops typed, and says nothing for a number the order refuses.
TEST(OrderNumbers, TheAttackPanelShowsTheOddsOfWhatIsTyped) {
    TestGame t;
    Session& g = t.game;
    g.TurnOrder[1] = 1;
    PlayCityTurn(g, 1);
    g.Cities[1].Troops = 200;
    StartCommand(g, kAttack);
    ASSERT_EQ(g.shown.main.activePanel, Panel::TargetPanel);
    const auto oddsOf = [&g](const char* troops) {
        g.shown.main.orderAmounts[0] = troops;
        const OrderNumbers n = ShownOrderNumbers(g);
        return n.odds + (n.odds.empty() ? "" : "|" + n.oddsLeft);
    };
    const std::string few = oddsOf("1"), many = oddsOf("200");
    EXPECT_EQ(few.rfind("勝つ見込み ", 0), 0U) << few;
    EXPECT_NE(many.find("残る兵 味方 約"), std::string::npos) << many;
    EXPECT_NE(few, many);
    for (const char* refused : {"0", "201", "-5", "abc", ""}) EXPECT_EQ(oddsOf(refused), "") << refused;
    // A move has no odds.
    CancelOrder(g);
    StartCommand(g, kMove);
    EXPECT_EQ(oddsOf("10"), "");
}

}  // namespace
}  // namespace tarvex
