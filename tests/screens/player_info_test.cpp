// What the player is shown to decide by: the question about a name that is no
// nation, and the numbers behind a refused order.
#include <gtest/gtest.h>

#include "rules/turn/cycle.h"
#include "screens/main/ok_step.h"
#include "screens/orders/order_info.h"
#include "screens/orders/panels.h"
#include "screens/settings/settings.h"
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

// One refused order each: the box it gives and the numbers the hint keeps.
TEST(OrderNumbers, ARefusalLeavesTheNumbersThatDecidedIt) {
    struct Case {
        int kind;
        std::array<int, 4> london;  // troops, food, gold, town
        std::vector<std::string> typed;
        const char* box;
        const char* hint;
    } cases[] = {
        {kMove, {20, 5, 30, 10}, {"30", "0", "0"}, "兵が足りません", "兵: 必要 30 / あり 20"},
        {kMove, {20, 5, 30, 10}, {"5", "15", "0"}, "食料が足りません", "食料: 必要 15 / あり 5"},
        {kAttack, {20, 5, 30, 10}, {"10", "5", "10"}, "食料が足りません", "食料: 必要 10 / あり 5"},
        {kAttack, {20, 50, 30, 10}, {"10", "60", "10"}, "食料が足りません", "食料: 必要 60 / あり 50"},
        {kAttack, {20, 50, 30, 10}, {"10", "10", "8"}, "金が足りません", "金: 必要 10 / 入力 8"},
        {kAttack, {20, 50, 30, 10}, {"0", "0", "0"}, "足りません", "兵: 必要 1 / 入力 0"},
        {kInvestPower, {20, 5, 300, 10}, {"120"}, "投資は100までです", "投資: 上限 100 / 入力 120"},
        {kInvestPower, {20, 5, 30, 10}, {"50"}, "金30しか持っていません", "金: 必要 50 / あり 30"},
        {kInvestPower, {20, 5, 30, 10}, {"5"}, "金が足りません", "投資: 最低 10 / 入力 5"},
        {kBuildTown, {20, 5, 30, 999}, {"20"}, "これ以上増やせません", "町: 上限 999 / 現在 999"},
        {kStrengthenArms, {20, 5, 5, 10}, {"5"}, "金が足りません", "金: 必要 10 / あり 5"},
        {kRaiseTroops, {20, 5, 30, 10}, {"1"}, "金が足りません", "金: 必要 2.5 / 入力 1"},
        {kSellFood, {20, 5, 30, 10}, {"50"}, "食料5しか持っていません", "食料: 必要 50 / あり 5"},
        {kBuyFood, {20, 5, 0, 10}, {"0"}, "金が足りません", "金: 必要 1.5 / あり 0"},
        {kBuyFood, {20, 5, 30, 10}, {"abc"}, "整数を入力してください", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hint);
        TestGame t;
        Session& g = t.game;
        g.TurnOrder[1] = 1;  // London's turn
        PlayCityTurn(g, 1);
        t.screen.Clear();
        City& london = g.Cities[1];
        london.Troops = c.london[0], london.Food = c.london[1], london.Gold = c.london[2], london.Town = c.london[3];
        g.TroopsPrice = 2.5, g.ArmsPrice = 7.5, g.FoodPrice = 1.5;
        StartCommand(g, c.kind);
        if (c.typed.size() == 1)
            g.shown.main.amountText = c.typed[0];
        else
            std::copy(c.typed.begin(), c.typed.end(), g.shown.main.orderAmounts.begin());
        ConfirmOrder(g);
        EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{c.box});
        EXPECT_EQ(g.shown.main.activePanel, Panel::TopMenu);
        EXPECT_EQ(g.shown.main.orderHint, c.hint);
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
