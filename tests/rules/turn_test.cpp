// The season's steps, the shuffled turn order, the season advance, the harvest and the game's end.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "rules/turn/cycle.h"
#include "rules/turn/step.h"
#include "rules/world/numbers.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::RulesGame;

TEST(TurnOrder, PermutationSwappingWhenTheSingleDrawReadsAboveOneHalf) {
    RulesGame shuffled("*", 3);
    BuildTurnOrder(shuffled.game);
    EXPECT_EQ(std::set<int>(shuffled.game.TurnOrder.begin() + 1, shuffled.game.TurnOrder.end()).size(), 75u);
    // The first draw decides whether position 75 trades places with the front.
    const std::pair<double, bool> cases[] = {{0.4999999, false}, {0.5, false},      {0.50000001, false},
                                             {0.50000004, true}, {0.5000001, true}, {0.99999999, true}};
    for (auto [draw, swaps] : cases) {
        RulesGame t;
        t.UseScripted();
        t.scripted.Push(draw);
        for (int i = 1; i < 3 * 74; ++i) t.scripted.Push(0.0);
        BuildTurnOrder(t.game);
        EXPECT_EQ(t.game.TurnOrder[1], swaps ? 75 : 1) << draw;
    }
}

TEST(TurnCycle, SeasonOfComputerTurnsThenAdvance) {
    RulesGame t("*");
    Game& g = t.game;
    for (int step = 1; step <= kCityCount; ++step) {
        EXPECT_EQ(AdvanceOneStep(g), StepResult::CityActed);
        EXPECT_FALSE(g.TurnStart);
        ASSERT_EQ(g.TurnStep, step + 1);
        const City& c = g.Cities[g.TurnOrder[step]];
        EXPECT_EQ(t.screen.Lines(1).back(), Str(c.Id) + " " + c.Name + " " + c.Owner);
    }
    EXPECT_EQ(AdvanceOneStep(g), StepResult::SeasonStarted);
    EXPECT_EQ(g.TurnStep, 1);
    EXPECT_TRUE(g.TurnStart);
    EXPECT_EQ(SeasonCaption(g), "1年目の夏");
    EXPECT_EQ(t.screen.Lines(1).back(), "1年目の夏です");
}

TEST(TurnCycle, ThePlayersCityWaitsForHisOrder) {
    RulesGame t;
    Game& g = t.game;
    for (int i = 1; i <= kCityCount; ++i) g.TurnOrder[i] = i;
    g.TurnOrder[2] = 4;  // サザンプトン, the player's
    g.TurnStep = 2;
    EXPECT_EQ(AdvanceOneStep(g), StepResult::PlayerToOrder);
    EXPECT_EQ(t.screen.Lines(1),
              (std::vector<std::string>{"4 サザンプトン イングランド王国", "あなたの番です サザンプトン国"}));
    EXPECT_EQ(g.CurrentCity, 4);
    EXPECT_EQ(g.TurnStep, 3);
    EXPECT_TRUE(g.PlayerTurn && !g.AdvanceReady);
}

TEST(Unification, OneOwnerOfAllSeventyFiveEndsTheGameAndAnyOtherOwnerDoesNot) {
    for (int odd : {0, 1, 38, 75}) {
        RulesGame t;
        Game& g = t.game;
        for (int i = 1; i <= kCityCount; ++i) SetOwner(g, i, "フランス王国");
        if (odd) SetOwner(g, odd, "イングランド王国");
        EXPECT_EQ(testing::EndsProgram([&] { CheckUnification(g); }), odd == 0) << odd;
        EXPECT_EQ(t.screen.Boxes(), odd ? std::vector<std::string>{} : std::vector<std::string>{"終了です"}) << odd;
    }
}

TEST(Harvest, AutumnIncomeRoundsTheTotalAndNeverLowers) {
    const int cases[][4] = {// civility, town or power, before, after
                            {50, 25, 10, 35},   {25, 15, 10, 18},     {25, 15, 11, 18},   {50, 30, 990, 999},
                            {50, 30, 999, 999}, {50, 30, 1005, 1005}, {-10, 50, 100, 100}};
    for (auto [civility, base, before, after] : cases) {
        RulesGame t;
        City& c = t.game.Cities[10];
        c.Civility = civility;
        c.Town = c.Power = base;
        c.Gold = c.Food = before;
        Harvest(t.game);
        EXPECT_EQ(c.Gold, after) << civility << " " << base << " " << before;
        EXPECT_EQ(c.Food, after) << civility << " " << base << " " << before;
    }
}

TEST(SeasonAdvance, NewYearNewPricesAndUnification) {
    RulesGame t("*");
    Game& g = t.game;
    g.Season = 4;
    g.TurnStep = 76;
    AdvanceOneStep(g);
    EXPECT_EQ(g.Year, 2);
    EXPECT_EQ(SeasonCaption(g), "2年目の春");

    g.Season = 2;
    t.UseScripted();
    t.scripted.fallback = &t.mersenne;
    for (int i = 0; i < 3; ++i) t.scripted.Push(0.0);
    AdvanceSeason(g);
    EXPECT_EQ(FormatNumber(g.FoodPrice), "0.4");
    EXPECT_EQ(FormatNumber(g.TroopsPrice), "2.1");

    for (int i = 1; i <= kCityCount; ++i) SetOwner(g, i, "フランス王国");
    EXPECT_FALSE(g.Ended);  // the conquest itself ends nothing
    g.TurnStep = 76;
    EXPECT_TRUE(testing::EndsProgram([&] { AdvanceOneStep(g); }));
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
    Game game(screen, random);
    for (float draw : draws) {
        random.Push(draw);
        ASSERT_EQ(ShuffleCoin(game), byText(draw)) << draw;
    }
}

}  // namespace
}  // namespace tarvex
