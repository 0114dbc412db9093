// The battle screen: the player's choice of tactic, OK round by round, the
// keypad, the emergency quit and the morale bars.
#include "screens/battle/battle_screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "rules/combat/tables.h"
#include "screens/session/keycodes.h"
#include "support/battle_setup.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

using testing::Engage;
using testing::PushRound;
using testing::ScriptedRandom;
using testing::Stock;
using testing::TestGame;

constexpr int kLondon = 1;  // イングランド王国, the player's
constexpr int kRouen = 16;  // フランス王国, next to London

// The computer's Rouen attacks the player's London with 突撃.
void OpenDefence(TestGame& t, int gold, int food) {
    Session& g = t.game;
    Stock(g.Cities[kLondon], 100, 10, 10, gold, food, 50);
    Stock(g.Cities[kRouen], 5, 10, 10, 200, 200, 50);
    Engage(g, kRouen, kLondon, 50, kCharge, kShooting);
    OpenBattleScreen(g);
    t.screen.Clear();
}

TEST(BattleScreen, TheDefenderMustAffordTheChosenTactic) {
    struct Case {
        int gold, food, index;
        const char* refusal;
    } cases[] = {
        {60, 100, 1, "金が足りません"},
        {60, 100, 3, "金が足りません"},
        {60, 100, 2, nullptr},
        {60, 100, 0, nullptr},
        {0, 0, 4, nullptr},
        {30, 100, 0, nullptr},
        {100, 49, 2, "米がたりません"},
        {100, 50, 2, nullptr},
        {10, 10, 1, "金が足りません"},
    };
    for (const Case& c : cases) {
        TestGame t;
        OpenDefence(t, c.gold, c.food);
        Session& g = t.game;
        EXPECT_EQ(g.Battle.DefendTactic, kNormal) << "preset until the player chooses";
        EXPECT_EQ(g.shown.battle.defender[0], "0");
        ChoosePlayerTactic(g, c.index);
        const auto shortage = c.refusal ? std::vector<std::string>{c.refusal} : std::vector<std::string>{};
        EXPECT_EQ(t.screen.Boxes(), shortage) << c.gold << "/" << c.food << " option " << c.index;
        EXPECT_EQ(g.shown.battle.tacticsEnabled, c.refusal != nullptr);
        EXPECT_EQ(g.shown.battle.okEnabled, c.refusal == nullptr);
        EXPECT_EQ(g.Battle.DefendTactic, c.refusal ? kNormal : c.index + 1);
        EXPECT_EQ(g.shown.battle.defender[0], c.refusal ? "0" : TacticName(c.index + 1));
        EXPECT_EQ(g.shown.battle.attacker[0], c.refusal ? "0" : "突撃");
    }
}

TEST(BattleScreen, KeypadChoosesOnceEnterFightsAndOtherKeysAreErrors) {
    TestGame t;
    Session& g = t.game;
    Stock(g.Cities[kLondon], 5, 10, 10, 200, 200, 50);
    Stock(g.Cities[kRouen], 30, 10, 10, 200, 200, 50);
    Engage(g, kLondon, kRouen, 101, kNormal, kShooting);
    OpenBattleScreen(g);
    EXPECT_TRUE(g.shown.battle.open);
    EXPECT_FALSE(g.shown.battle.okEnabled);
    EXPECT_EQ(g.shown.battle.attacker[0], "0");
    EXPECT_EQ(g.shown.battle.attacker[4], "ロンドン");
    EXPECT_EQ(g.shown.battle.defender[3], "フランス王国");
    FightNextRound(g);             // OK is disabled until the choice
    PressBattleKey(g, kKeyEnter);  // and so is Enter: there is no round to fight yet
    EXPECT_EQ(g.Battle.BattleRound, 1);
    EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{"エラー"});
    EXPECT_EQ(g.shown.battle.missing, "態勢を 1〜5 で選んでください") << "the screen says what is missing";
    // Before the choice each tactic's chance stands beside its button.
    for (const std::string& odds : g.shown.battle.tacticOdds) EXPECT_FALSE(odds.empty());
    t.screen.Clear();

    PressBattleKey(g, KeyPad(3));
    EXPECT_TRUE(g.shown.battle.missing.empty());
    EXPECT_EQ(g.Battle.AttackTactic, kSiege);
    EXPECT_EQ(g.Battle.AttackTroops, 50);
    EXPECT_EQ(g.shown.battle.attacker[2], "50") << "the troops shown are those left after the siege split";
    EXPECT_EQ(g.shown.battle.attacker[0], "包囲");
    EXPECT_EQ(g.shown.battle.defender[0], "射撃");
    PressBattleKey(g, KeyPad(1));
    EXPECT_EQ(g.Battle.AttackTactic, kSiege);
    EXPECT_EQ(g.Battle.AttackTroops, 50) << "no second siege split";
    EXPECT_TRUE(t.screen.Boxes().empty());

    for (int key : {65, 96, 102}) PressBattleKey(g, key);
    for (int index : {-1, 5}) ChoosePlayerTactic(g, index);
    EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>(5, "エラー"));

    // Once chosen, Enter is the OK button: one round a press.
    t.screen.Clear();
    PressBattleKey(g, kKeyEnter);
    EXPECT_EQ(g.Battle.BattleRound, 2);
    const std::vector<std::string> boxes = t.screen.Boxes();
    EXPECT_EQ(std::count(boxes.begin(), boxes.end(), "エラー"), 0);
}

TEST(BattleScreen, ThePlayersDefenceIsReportedOnTheLineAndInABox) {
    TestGame t;
    Session& g = t.game;
    Stock(g.Cities[kLondon], 50, 0, 0, 100, 100, 50);
    Stock(g.Cities[kRouen], 5, 0, 0, 100, 100, 50);
    Engage(g, kRouen, kLondon, 50, kShooting, kNormal);
    t.screen.battle = [&](Game&) {
        OpenBattleScreen(g);
        ChoosePlayerTactic(g, 0);
        g.Battle.AttackMorale = 1;
        t.UseScripted();
        PushRound(t.scripted, 6, 0.0, 6, 0.0);
        FightNextRound(g);
    };
    g.screen->RunBattleScreen(g);
    EXPECT_FALSE(g.shown.battle.open);
    EXPECT_TRUE(g.Battle.BattleOver);
    EXPECT_EQ(t.screen.Lines(2), (std::vector<std::string>{"ルーアンがロンドンに攻め込んだ",
                                                           "ルーアンは射撃、ロンドンは通常", "ルーアンの負けです"}));
    ASSERT_EQ(t.screen.log.back().kind, testing::Shown::Box);
    EXPECT_EQ(t.screen.log.back().text, "ルーアンの負けです");
    EXPECT_EQ(g.Cities[kLondon].Owner, "イングランド王国");
}

TEST(BattleScreen, EmergencyQuitAsksFirstAndEndsWithoutSettling) {
    TestGame t;
    OpenDefence(t, 100, 100);
    Session& g = t.game;
    t.screen.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_FALSE(testing::EndsProgram([&] { QuitInBattle(g); }));
    EXPECT_TRUE(g.shown.battle.open);
    ASSERT_EQ(t.screen.log.size(), 1u);
    EXPECT_EQ(t.screen.log[0].text, "ゲーム全体を強制終了します。セーブはされません");
    EXPECT_EQ(t.screen.log[0].defaultButton, Answer::Cancel);
    EXPECT_TRUE(t.screen.log[0].warning);

    EXPECT_TRUE(testing::EndsProgram([&] { QuitInBattle(g); }));
    EXPECT_FALSE(g.shown.battle.open);
    EXPECT_EQ(t.screen.log.back().kind, testing::Shown::End);
    EXPECT_FALSE(g.Battle.BattleOver);
    EXPECT_EQ(g.Nations[1].Wins + g.Nations[1].Losses, 0);

    ShowNationsInBattle(g);
    EXPECT_EQ(t.screen.log.back().kind, testing::Shown::Nation);
    EXPECT_EQ(t.screen.log.back().text, "modal");
}

// The rules' tests fight the player's battles without this screen: they must
// come out as his option and OK here make them, refusals and errors included.
TEST(BattleScreen, TheRulesAloneFightThePlayersBattleAsHisOptionAndOkDo) {
    for (bool defends : {false, true})
        for (int option = -1; option <= kTacticCount; ++option) {
            testing::RulesGame rules;
            TestGame windows;
            for (Game* g : {&rules.game, static_cast<Game*>(&windows.game)}) {
                Stock(g->Cities[kLondon], 60, 10, 10, 40, 100, 50);  // too poor to defend by 突撃 or 射撃
                Stock(g->Cities[kRouen], 60, 10, 10, 200, 200, 50);
                if (defends)
                    Engage(*g, kRouen, kLondon, 55, kCharge, kNormal);
                else
                    Engage(*g, kLondon, kRouen, 55, kNormal, kShooting);
            }
            rules.screen.battleTactic = windows.screen.battleTactic = option;
            rules.screen.RunBattleScreen(rules.game);
            windows.screen.RunBattleScreen(windows.game);
            const std::string which = (defends ? "defence, option " : "attack, option ") + std::to_string(option);
            EXPECT_TRUE(static_cast<const World&>(rules.game) == static_cast<const World&>(windows.game)) << which;
            EXPECT_EQ(rules.game.Battle.BattleOver, windows.game.Battle.BattleOver) << which;
            EXPECT_EQ(rules.game.Battle.BattleRound, windows.game.Battle.BattleRound) << which;
            EXPECT_EQ(rules.screen.Boxes(), windows.screen.Boxes()) << which;
            for (int line = 1; line <= 3; ++line)
                EXPECT_EQ(rules.screen.Lines(line), windows.screen.Lines(line)) << which;
        }
}

TEST(BattleScreen, MoraleBarFillsItsBoxAtMost) {
    for (auto [morale, width] : {std::pair{0, 0}, {-5, 0}, {1, 15}, {50, 728}, {100, 1455}, {150, 1455}})
        EXPECT_EQ(MoraleBarWidth(morale, 1455), width) << morale;
}

}  // namespace
}  // namespace tarvex
