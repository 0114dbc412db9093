// The OK step, the shuffled turn order, the season advance, the harvest and the game's end.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <set>

#include "rules/turn/cycle.h"
#include "rules/turn/step.h"
#include "rules/world/numbers.h"
#include "rules/world/scenario.h"
#include "screens/main/ok_step.h"
#include "screens/orders/panels.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::TestGame;

TEST(TurnOrder, PermutationSwappingWhenTheSingleDrawReadsAboveOneHalf) {
    TestGame shuffled("*", 3);
    BuildTurnOrder(shuffled.game);
    EXPECT_EQ(std::set<int>(shuffled.game.TurnOrder.begin() + 1, shuffled.game.TurnOrder.end()).size(), 75u);
    // The first draw decides whether position 75 trades places with the front.
    const std::pair<double, bool> cases[] = {{0.4999999, false}, {0.5, false},      {0.50000001, false},
                                             {0.50000004, true}, {0.5000001, true}, {0.99999999, true}};
    for (auto [draw, swaps] : cases) {
        TestGame t;
        t.UseScripted();
        t.scripted.Push(draw);
        for (int i = 1; i < 3 * 74; ++i) t.scripted.Push(0.0);
        BuildTurnOrder(t.game);
        EXPECT_EQ(t.game.TurnOrder[1], swaps ? 75 : 1) << draw;
    }
}

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
        Form1_cmdOk_Click(windows.game);
        AdvanceOneStep(bare);
        ASSERT_EQ(bare.TurnStep, windows.game.TurnStep) << step;
    }
    EXPECT_EQ(MainCaption(windows.game), "4年目の春");
    EXPECT_TRUE(static_cast<const World&>(bare) == static_cast<const World&>(windows.game));
    EXPECT_TRUE(bare.chronicle == windows.game.chronicle);
    for (int line = 1; line <= 3; ++line) EXPECT_EQ(bareScreen.Lines(line), windows.screen.Lines(line)) << line;
    EXPECT_EQ(bareScreen.Boxes(), windows.screen.Boxes());
}

TEST(TurnCycle, SeasonOfComputerTurnsThenAdvance) {
    TestGame t("*");
    Session& g = t.game;
    g.EnterAdvance = true;
    g.OkLock = 1;  // a locked step only closes the season start
    Form1_cmdOk_Click(g);
    EXPECT_FALSE(g.TurnStart);
    EXPECT_EQ(g.TurnStep, 1);
    Form1_tmrOk_Timer(g);
    for (int step = 1; step <= kCityCount; ++step) {
        Form1_cmdOk_Click(g);
        ASSERT_EQ(g.TurnStep, step + 1);
        EXPECT_EQ(g.shown.main.tmrOkclick, step < kCityCount);
        EXPECT_TRUE(g.shown.main.lblOkVisible);
        const City& c = g.Cities[g.TurnOrder[step]];
        EXPECT_EQ(t.screen.Lines(1).back(), Str(c.Id) + " " + c.Name + " " + c.Owner);
    }
    g.OkLock = 1;  // the lock never holds back the season's end
    Form1_cmdOk_Click(g);
    EXPECT_EQ(g.TurnStep, 1);
    EXPECT_TRUE(g.TurnStart);
    EXPECT_EQ(MainCaption(g), "1年目の夏");
    EXPECT_EQ(t.screen.Lines(1).back(), "1年目の夏です");
}

TEST(TurnCycle, TimerStepsOnlyWhenReadyAutomaticAndRunning) {
    const bool cases[][4] = {
        {true, true, true, true}, {false, true, true, false}, {true, false, true, false}, {true, true, false, false}};
    for (auto [ready, automatic, running, steps] : cases) {
        TestGame t("*");
        t.game.TurnStep = 5;
        t.game.AdvanceReady = ready;
        t.game.AutoAdvance = automatic;
        t.game.shown.main.tmrOkclick = running;
        Form1_tmrOkclick_Timer(t.game);
        EXPECT_EQ(t.game.TurnStep, steps ? 6 : 5) << ready << automatic << running;
    }
}

TEST(TurnCycle, PlayerCityHoldsTheTimerUntilItsOrderIsFinishedAndOkPressed) {
    TestGame t;
    Session& g = t.game;
    g.AutoAdvance = true;
    for (int i = 1; i <= kCityCount; ++i) g.TurnOrder[i] = i;
    g.TurnOrder[2] = 4;   // サザンプトン, the player's
    g.TurnOrder[3] = 64;  // アンティオキア, far away
    g.TurnStep = 2;
    Form1_cmdOk_Click(g);
    EXPECT_EQ(t.screen.Lines(1),
              (std::vector<std::string>{"4 サザンプトン イングランド王国", "あなたの番です サザンプトン国"}));
    EXPECT_EQ(g.CurrentCity, 4);
    EXPECT_TRUE(g.PlayerTurn && g.shown.main.mnuIninKaijyo && !g.AdvanceReady);
    EXPECT_EQ(g.shown.main.activePanel, Panel::Pic2);
    StartCommand(g, kDoNothing);
    Form1_tmrOkclick_Timer(g);
    EXPECT_EQ(g.TurnStep, 3);  // waits for the player's OK
    Form1_cmdOk_Click(g);
    EXPECT_EQ(g.TurnStep, 4);
    EXPECT_TRUE(g.AdvanceReady);
}

TEST(TurnCycle, OkPromptStandsWheneverTheNextStepWaitsForThePlayer) {
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
    Form1_cmdOk_Click(g);
    ASSERT_EQ(g.shown.main.activePanel, Panel::Pic2);
    StartCommand(g, kDoNothing);
    EXPECT_EQ(g.shown.main.activePanel, Panel::Pic1);
    EXPECT_TRUE(g.shown.main.lblOkVisible) << "after the player's own order";

    Form1_cmdOk_Click(g);
    EXPECT_TRUE(g.AdvanceReady);
    EXPECT_FALSE(g.shown.main.lblOkVisible) << "the timer carries the computer's steps";

    Form1_cmdOk_Click(g);
    ASSERT_TRUE(std::any_of(t.screen.log.begin(), t.screen.log.end(),
                            [](const testing::Shown& s) { return s.kind == testing::Shown::Battle; }));
    EXPECT_FALSE(g.AdvanceReady);
    EXPECT_TRUE(g.shown.main.lblOkVisible) << "after the player's defence";

    // His OK after the defence lets the timer carry the computer's steps again.
    Form1_cmdOk_Click(g);
    EXPECT_TRUE(g.AdvanceReady);
    EXPECT_TRUE(g.shown.main.tmrOkclick);
    const int step = g.TurnStep;
    Form1_tmrOkclick_Timer(g);
    EXPECT_EQ(g.TurnStep, step + 1);
}

TEST(Unification, OneOwnerOfAllSeventyFiveEndsTheGameAndAnyOtherOwnerDoesNot) {
    for (int odd : {0, 1, 38, 75}) {
        TestGame t;
        Session& g = t.game;
        for (int i = 1; i <= kCityCount; ++i) SetOwner(g, i, "フランス王国");
        if (odd) SetOwner(g, odd, "イングランド王国");
        EXPECT_EQ(testing::EndsProgram([&] { CheckUnification(g); }), odd == 0) << odd;
        EXPECT_EQ(t.screen.Boxes(), odd ? std::vector<std::string>{} : std::vector<std::string>{"終了です"}) << odd;
    }
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

TEST(TurnCycle, StepNeverStartsInsideARunningStep) {
    BusyScreen screen;
    TestGame setup("*");
    Session g = setup.game;
    g.screen = &screen;
    g.AutoAdvance = g.AdvanceReady = true;
    g.shown.main.tmrOkclick = true;
    g.Cities[64].Castle = 1005;  // every step's refresh reports it in a box
    int boxes = 0;
    screen.whileOpen = [&](Session& game) {
        ++boxes;
        Form1_tmrOkclick_Timer(game);
        Form1_cmdOk_Click(game);
    };
    Form1_cmdOk_Click(g);
    Form1_cmdOk_Click(g);
    EXPECT_EQ(g.TurnStep, 3);
    EXPECT_GE(boxes, 2);
    screen.whileOpen = nullptr;
    Form1_tmrOkclick_Timer(g);
    EXPECT_EQ(g.TurnStep, 4);
}

TEST(Harvest, AutumnIncomeRoundsTheTotalAndNeverLowers) {
    const int cases[][4] = {// civility, town or power, before, after
                            {50, 25, 10, 35},   {25, 15, 10, 18},     {25, 15, 11, 18},   {50, 30, 990, 999},
                            {50, 30, 999, 999}, {50, 30, 1005, 1005}, {-10, 50, 100, 100}};
    for (auto [civility, base, before, after] : cases) {
        TestGame t;
        City& c = t.game.Cities[10];
        c.Civility = civility;
        c.Town = c.Power = base;
        c.Gold = c.Food = before;
        Harvest(t.game);
        EXPECT_EQ(c.Gold, after) << civility << " " << base << " " << before;
        EXPECT_EQ(c.Food, after) << civility << " " << base << " " << before;
    }
}

TEST(SeasonAdvance, AutumnPanelsShowTheHarvestBeforeTheFirstStep) {
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
    Form1_cmdOk_Click(g);
    ASSERT_EQ(g.Season, 3);
    ASSERT_EQ(c.Gold, 35);
    EXPECT_EQ(g.shown.main.panels[10].Kin, "35");
    for (int i = 1; i <= kCityCount; ++i) {
        EXPECT_EQ(g.shown.main.panels[i].Kin, Str(g.Cities[i].Gold)) << i;
        EXPECT_EQ(g.shown.main.panels[i].Kome, Str(g.Cities[i].Food)) << i;
    }
}

TEST(SeasonAdvance, NewYearNewPricesAndUnification) {
    TestGame t("*");
    Session& g = t.game;
    g.Season = 4;
    g.TurnStep = 76;
    Form1_cmdOk_Click(g);
    EXPECT_EQ(g.Year, 2);
    EXPECT_EQ(MainCaption(g), "2年目の春");

    g.Season = 2;
    t.UseScripted();
    t.scripted.fallback = &t.mersenne;
    for (int i = 0; i < 3; ++i) t.scripted.Push(0.0);
    AdvanceSeason(g);
    EXPECT_EQ(ShownPrices(g).kome, "0.4");
    EXPECT_EQ(ShownPrices(g).hei, "2.1");

    for (int i = 1; i <= kCityCount; ++i) SetOwner(g, i, "フランス王国");
    EXPECT_FALSE(g.Ended);  // the conquest itself ends nothing
    g.TurnStep = 76;
    EXPECT_TRUE(testing::EndsProgram([&] { Form1_cmdOk_Click(g); }));
    EXPECT_EQ(t.screen.Lines(1).back(), "フランス王国が統一しました");
    EXPECT_EQ(t.screen.Boxes().back(), "終了です");
}

TEST(TurnOrder, CoinAgreesWithTheSevenDigitReadingOfTheDraw) {
    // The coin compares the draw with 0.5; the rule reads the draw as seven
    // significant digits and rounds halves to even. They must agree everywhere,
    // most of all on the floats next to 0.5 and next to 1.
    auto byText = [](float draw) {
        char text[32];
        auto written = std::to_chars(text, text + sizeof text, draw, std::chars_format::general, 7);
        double shown = 0;
        std::from_chars(text, written.ptr, shown);
        return Nearest(shown);
    };
    std::vector<float> draws;
    for (float edge : {0.5f, 1.0f, 0.0f, 0.25f, 0.75f}) {
        float f = edge;
        for (int i = 0; i < 64; ++i) f = std::nextafter(f, 0.0f);
        for (int i = 0; i < 128; ++i, f = std::nextafter(f, 2.0f))
            if (f >= 0.0f && f < 1.0f) draws.push_back(f);
    }
    for (int i = 0; i < 200000; ++i) draws.push_back(static_cast<float>(i / 200000.0));
    testing::ScriptedScreen screen;
    testing::ScriptedRandom random;
    Session game(screen, random);
    for (float draw : draws) {
        random.Push(draw);
        ASSERT_EQ(ShuffleCoin(game), byText(draw)) << draw;
    }
}

}  // namespace
}  // namespace tarvex
