// The main window's OK step: one city's step a press, the lock of a held-down
// Enter, the timer, the prompt, and the same game as the rules' step alone.
#include "screens/main/ok_step.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "rules/turn/cycle.h"
#include "rules/turn/step.h"
#include "rules/world/numbers.h"
#include "rules/world/scenario.h"
#include "screens/orders/panels.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

using testing::TestGame;

TEST(TurnCycle, TheRulesStepAloneGivesTheSameGameAsTheOkButton) {
    // Two seasons a year for three years, harvests and events among them: the
    // bare rules step, as the simulator drives it, and the main window's OK step.
    TestGame windows("*", 11);
    testing::ScriptedScreen bareScreen;
    MersenneRandom bareRandom = windows.mersenne;
    Game bare(bareScreen, bareRandom);
    static_cast<Game&>(bare) = windows.game;
    bare.screen = &bareScreen;
    bare.random = &bareRandom;
    for (int step = 0; step < 12 * (kCityCount + 1); ++step) {
        TakeNextStep(windows.game);
        AdvanceOneStep(bare);
        ASSERT_EQ(bare.TurnStep, windows.game.TurnStep) << step;
    }
    EXPECT_EQ(MainCaption(windows.game), "4年目の春");
    EXPECT_TRUE(static_cast<const World&>(bare) == static_cast<const World&>(windows.game));
    EXPECT_TRUE(bare.chronicle == windows.game.chronicle);
    for (int line = 1; line <= 3; ++line) EXPECT_EQ(bareScreen.Lines(line), windows.screen.Lines(line)) << line;
    EXPECT_EQ(bareScreen.Boxes(), windows.screen.Boxes());
}

TEST(OkStep, SeasonOfComputerTurnsThenAdvance) {
    TestGame t("*");
    Session& g = t.game;
    g.EnterAdvance = true;
    g.OkLock = 1;  // a locked step only closes the season start
    TakeNextStep(g);
    EXPECT_FALSE(g.TurnStart);
    EXPECT_EQ(g.TurnStep, 1);
    ReleaseEnterLock(g);
    for (int step = 1; step <= kCityCount; ++step) {
        TakeNextStep(g);
        ASSERT_EQ(g.TurnStep, step + 1);
        EXPECT_EQ(g.shown.main.stepTimer, step < kCityCount);
        EXPECT_TRUE(g.shown.main.okPrompt);
        const City& c = g.Cities[g.TurnOrder[step]];
        EXPECT_EQ(t.screen.Lines(1).back(), Str(c.Id) + " " + c.Name + " " + c.Owner);
    }
    g.OkLock = 1;  // the lock never holds back the season's end
    TakeNextStep(g);
    EXPECT_EQ(g.TurnStep, 1);
    EXPECT_TRUE(g.TurnStart);
    EXPECT_EQ(MainCaption(g), "1年目の夏");
    EXPECT_EQ(t.screen.Lines(1).back(), "1年目の夏です");
}

TEST(OkStep, TimerStepsOnlyWhenReadyAutomaticAndRunning) {
    const bool cases[][4] = {
        {true, true, true, true}, {false, true, true, false}, {true, false, true, false}, {true, true, false, false}};
    for (auto [ready, automatic, running, steps] : cases) {
        TestGame t("*");
        t.game.TurnStep = 5;
        t.game.AdvanceReady = ready;
        t.game.AutoAdvance = automatic;
        t.game.shown.main.stepTimer = running;
        StepOnTimer(t.game);
        EXPECT_EQ(t.game.TurnStep, steps ? 6 : 5) << ready << automatic << running;
    }
}

TEST(OkStep, PlayerCityHoldsTheTimerUntilItsOrderIsFinishedAndOkPressed) {
    TestGame t;
    Session& g = t.game;
    g.AutoAdvance = true;
    for (int i = 1; i <= kCityCount; ++i) g.TurnOrder[i] = i;
    g.TurnOrder[2] = 4;   // サザンプトン, the player's
    g.TurnOrder[3] = 64;  // アンティオキア, far away
    g.TurnStep = 2;
    TakeNextStep(g);
    EXPECT_EQ(t.screen.Lines(1),
              (std::vector<std::string>{"4 サザンプトン イングランド王国", "あなたの番です サザンプトン国"}));
    EXPECT_EQ(g.CurrentCity, 4);
    EXPECT_TRUE(g.PlayerTurn && g.shown.main.delegationMenu && !g.AdvanceReady);
    EXPECT_EQ(g.shown.main.activePanel, Panel::TopMenu);
    StartCommand(g, kDoNothing);
    StepOnTimer(g);
    EXPECT_EQ(g.TurnStep, 3);  // waits for the player's OK
    TakeNextStep(g);
    EXPECT_EQ(g.TurnStep, 4);
    EXPECT_TRUE(g.AdvanceReady);
}

TEST(OkStep, OkPromptStandsWheneverTheNextStepWaitsForThePlayer) {
    TestGame t;
    Session& g = t.game;
    g.AutoAdvance = true;
    g.EnterAdvance = false;
    for (int i = 1; i <= kCityCount; ++i) g.TurnOrder[i] = i;
    // サザンプトン gives its order, アンティオキア acts by itself, then ダブリン
    // marches on サザンプトン, its only foreign neighbour, and the player defends.
    g.TurnOrder[2] = 4;
    g.TurnOrder[3] = 64;
    g.TurnOrder[4] = 5;
    for (int i : NeighboursOf(5))
        if (i != 4) SetOwnerAs(g, i, 5);
    City& dublin = g.Cities[5];
    dublin.Troops = dublin.Food = dublin.Gold = 300;
    g.Cities[4].Troops = 10;

    g.TurnStep = 2;
    TakeNextStep(g);
    ASSERT_EQ(g.shown.main.activePanel, Panel::TopMenu);
    StartCommand(g, kDoNothing);
    EXPECT_EQ(g.shown.main.activePanel, Panel::IdlePanel);
    EXPECT_TRUE(g.shown.main.okPrompt) << "after the player's own order";

    TakeNextStep(g);
    EXPECT_TRUE(g.AdvanceReady);
    EXPECT_FALSE(g.shown.main.okPrompt) << "the timer carries the computer's steps";

    TakeNextStep(g);
    ASSERT_TRUE(std::any_of(t.screen.log.begin(), t.screen.log.end(),
                            [](const testing::Shown& s) { return s.kind == testing::Shown::Battle; }));
    EXPECT_FALSE(g.AdvanceReady);
    EXPECT_TRUE(g.shown.main.okPrompt) << "after the player's defence";

    // His OK after the defence lets the timer carry the computer's steps again.
    TakeNextStep(g);
    EXPECT_TRUE(g.AdvanceReady);
    EXPECT_TRUE(g.shown.main.stepTimer);
    const int step = g.TurnStep;
    StepOnTimer(g);
    EXPECT_EQ(g.TurnStep, step + 1);
}

// Modal boxes that let the window's timer and button fire, as a real window does.
class BusyScreen : public testing::ScriptedScreen {
public:
    std::function<void(Session&)> whileOpen;
    void Message(Game& game, const std::string& text, const std::string& title) override {
        ScriptedScreen::Message(game, text, title);
        if (whileOpen) whileOpen(*SessionOf(game));
    }
};

TEST(OkStep, StepNeverStartsInsideARunningStep) {
    BusyScreen screen;
    TestGame setup("*");
    Session g = setup.game;
    g.screen = &screen;
    g.AutoAdvance = g.AdvanceReady = true;
    g.shown.main.stepTimer = true;
    g.Cities[64].Castle = 1005;  // every step's refresh reports it in a box
    int boxes = 0;
    screen.whileOpen = [&](Session& game) {
        ++boxes;
        StepOnTimer(game);
        TakeNextStep(game);
    };
    TakeNextStep(g);
    TakeNextStep(g);
    EXPECT_EQ(g.TurnStep, 3);
    EXPECT_GE(boxes, 2);
    screen.whileOpen = nullptr;
    StepOnTimer(g);
    EXPECT_EQ(g.TurnStep, 4);
}

TEST(OkStep, AutumnPanelsShowTheHarvestBeforeTheFirstStep) {
    TestGame t("*");
    Session& g = t.game;
    City& c = g.Cities[10];
    c.Civility = 50;
    c.Town = 25;
    c.Gold = 10;
    g.Season = 2;
    g.TurnStep = 76;
    t.UseScripted();
    for (int i = 0; i < 3; ++i) t.scripted.Push(0.0);  // the prices
    t.scripted.PushFace(10, 10);                       // no event this year
    TakeNextStep(g);
    ASSERT_EQ(g.Season, 3);
    ASSERT_EQ(c.Gold, 35);
    EXPECT_EQ(g.shown.main.panels[10].gold, "35");
    for (int i = 1; i <= kCityCount; ++i) {
        EXPECT_EQ(g.shown.main.panels[i].gold, Str(g.Cities[i].Gold)) << i;
        EXPECT_EQ(g.shown.main.panels[i].food, Str(g.Cities[i].Food)) << i;
    }
}

}  // namespace
}  // namespace tarvex
