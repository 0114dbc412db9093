// The settings screen and the new game the main window starts from it.
#include "screens/settings/settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "rules/world/numbers.h"
#include "rules/world/strength.h"
#include "screens/main/main_window.h"
#include "screens/main/status_bar.h"
#include "screens/session/keycodes.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

using testing::TestGame;

TEST(NewGame, StartsAtYearOneSpringWithTheFirstHeadline) {
    testing::ScriptedScreen screen;
    MersenneRandom random(3);
    Session g(screen, random);
    SetDefaultSettings(g);
    OpenSettingsScreen(g);
    AcceptSettings(g);
    StartGame(g);
    EXPECT_EQ(g.Year, 1);
    EXPECT_EQ(g.Season, 1);
    EXPECT_EQ(MainCaption(g), "1年目の春");
    EXPECT_TRUE(g.TurnStart);
    EXPECT_TRUE(g.AdvanceReady);
    EXPECT_EQ(g.TurnStep, 1);
    EXPECT_EQ(g.Title, "Tarvex");
    EXPECT_EQ(screen.Lines(1), std::vector<std::string>{"1年目、春です"});
    EXPECT_TRUE(g.shown.main.okPrompt);
    EXPECT_EQ(g.shown.main.activePanel, Panel::IdlePanel);
    EXPECT_FALSE(g.shown.main.delegationMenu);
    for (int i = 1; i <= kCityCount; ++i) EXPECT_FALSE(g.shown.main.panels[i].expanded);
    EXPECT_EQ(ShownPrices(g).food, FormatNumber(g.FoodPrice));
}

// The rules' tests set their games up without the settings screen: the same
// world, headline, chronicle and draws to come as the player's way there.
TEST(NewGame, TheRulesAloneStartTheSameGameAsTheSettingsScreenAndTheMainWindow) {
    for (const auto& [player, seed] : {std::pair<std::string, std::uint64_t>{"イングランド王国", 7},
                                       {"", 3},
                                       {"*", 11},
                                       {"フランス王国", 20240917},
                                       {"どこでもない国", 1}}) {
        testing::RulesGame rules(player, seed);
        TestGame windows(player, seed);
        EXPECT_TRUE(static_cast<const World&>(rules.game) == static_cast<const World&>(windows.game)) << player;
        EXPECT_TRUE(rules.game.chronicle == windows.game.chronicle) << player;
        EXPECT_EQ(rules.game.TurnStep, windows.game.TurnStep) << player;
        for (int line = 0; line < 3; ++line) {
            EXPECT_EQ(rules.game.Lines[line].text, windows.game.Lines[line].text) << player << line;
            EXPECT_EQ(rules.game.Lines[line].visible, windows.game.Lines[line].visible) << player << line;
        }
        for (int draw = 0; draw < 8; ++draw) EXPECT_EQ(rules.mersenne.Next(), windows.mersenne.Next()) << player;
    }
}

TEST(Settings, AcceptAppliesNameSpeedAndCheckBox) {
    struct Case {
        std::string typed;
        int option;
        int check;
        std::string player;
        double wait;
        bool autoAdvance;
    };
    for (const Case& c : {Case{"", 2, 0, "*", 0.5, true}, Case{"ナポリ王国", 0, 1, "ナポリ王国", 0.1, false},
                          Case{"どこでもない国", 1, 0, "どこでもない国", 0.2, true},
                          Case{"フランス王国", 3, 0, "フランス王国", 1.0, true},
                          Case{"フランス王国", -1, 0, "フランス王国", 1.0, true}}) {
        TestGame t;
        Session& g = t.game;
        OpenSettingsScreen(g);
        TypeNationName(g, c.typed);
        ChooseMessageSpeed(g, c.option);
        SetEnterAdvance(g, c.check);
        AcceptSettings(g);
        EXPECT_EQ(g.PlayerNation, c.player);
        EXPECT_EQ(g.NationChoice, c.player);
        EXPECT_DOUBLE_EQ(g.MessageWait, c.wait);
        EXPECT_EQ(g.AutoAdvance, c.autoAdvance);
        EXPECT_EQ(g.EnterAdvanceSetting, c.check);
        // Reopening shows what was accepted.
        OpenSettingsScreen(g);
        EXPECT_EQ(g.shown.settings.nationName, c.player);
        EXPECT_EQ(g.shown.settings.option, c.option);
        EXPECT_EQ(g.shown.settings.check, c.check);
    }
}

TEST(Settings, CheckBoxActsAtOnceAndDefaultsAskFirst) {
    TestGame t;
    Session& g = t.game;
    OpenSettingsScreen(g);
    SetEnterAdvance(g, 1);
    EXPECT_TRUE(g.EnterAdvance);
    EXPECT_EQ(g.EnterAdvanceSetting, 0);  // nothing else until accept
    TypeNationName(g, "トルコ");
    t.screen.answers = {Answer::Cancel};
    RestoreDefaultSettings(g);
    EXPECT_EQ(g.shown.settings.nationName, "トルコ");
    RestoreDefaultSettings(g);
    EXPECT_EQ(t.screen.Boxes().back(), "初期設定に戻します。\nよろしいですか?");
    EXPECT_EQ(g.shown.settings.nationName, "イングランド王国");
    EXPECT_EQ(g.shown.settings.option, 2);
    EXPECT_EQ(g.shown.settings.check, 0);
    // Keypad: 1..4 choose a speed, 5 toggles the box, 6 focuses the name.
    PressSettingsKey(g, KeyPad(1));
    EXPECT_EQ(g.shown.settings.option, 0);
    PressSettingsKey(g, KeyPad(4));
    EXPECT_EQ(g.shown.settings.option, 3);
    PressSettingsKey(g, KeyPad(5));
    EXPECT_EQ(g.shown.settings.check, 1);
    PressSettingsKey(g, KeyPad(5));
    EXPECT_EQ(g.shown.settings.check, 0);
    const int serial = g.shown.settings.focus.serial;
    PressSettingsKey(g, KeyPad(6));
    EXPECT_EQ(g.shown.settings.focus.control, Control::NationName);
    EXPECT_EQ(g.shown.settings.focus.serial, serial + 1);
}

TEST(Settings, ClosingBeforeTheFirstAcceptEndsTheProgram) {
    testing::ScriptedScreen screen;
    MersenneRandom random(1);
    Session g(screen, random);
    SetDefaultSettings(g);
    OpenSettingsScreen(g);
    EXPECT_TRUE(testing::EndsProgram([&] { CloseSettings(g); }));
    TestGame later;
    OpenSettingsScreen(later.game);
    EXPECT_FALSE(testing::EndsProgram([&] { CloseSettings(later.game); }));
}

// The level chosen on the settings screen plays every nation the computer commands in
// the new game (the player's own plays as the rules' computer when he delegates). Once
// the game runs the screen takes no other level, and a player who takes up another
// nation hands his old one to the computer at the others' level.
TEST(Settings, TheStrengthChosenPlaysEveryComputerNationOfTheNewGame) {
    for (const std::string player : {"フランス王国", ""}) {
        for (int level = kStandardStrength; level <= kStrongest; ++level) {
            testing::ScriptedScreen screen;
            MersenneRandom random(3);
            Session g(screen, random);
            SetDefaultSettings(g);
            OpenSettingsScreen(g);
            TypeNationName(g, player);
            PressSettingsKey(g, KeyPad(6 + level));
            AcceptSettings(g);
            StartGame(g);
            const int own = NationIndex(g, player);
            for (int n = 1; n <= kNationCount; ++n)
                EXPECT_EQ(g.Strength[n], n == own ? kStandardStrength : level) << player << n;
            EXPECT_EQ(ShownStatus(g).strength, std::string("コンピュータ: ") + StrengthName(level));

            OpenSettings(g);
            ChooseStrength(g, level % 3 + 1);
            screen.answers = {Answer::Ok};
            RestoreDefaultSettings(g);
            EXPECT_EQ(g.shown.settings.strength, level);
            TypeNationName(g, "ナポリ王国");
            AcceptSettings(g);
            EXPECT_EQ(g.StrengthChoice, level);
            EXPECT_EQ(g.Strength[NationIndex(g, "ナポリ王国")], kStandardStrength);
            EXPECT_EQ(ComputerStrength(g), level);
        }
    }
}

}  // namespace
}  // namespace tarvex
