// The stronger computer plays by the player's orders, within the values'
// limits, without a box meant for the player, and the same game twice.
#include "rules/ai/strong.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/ai/bot.h"
#include "rules/orders/order.h"
#include "rules/port/screen.h"
#include "rules/turn/step.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::RulesGame;

struct Played {
    std::vector<std::string> faults;
    std::vector<std::string> lines;
    World world;
    int ordersChecked = 0;
};

std::string Where(const Game& g, int city) {
    return "year " + std::to_string(g.Year) + " season " + std::to_string(g.Season) + " city " + std::to_string(city);
}

// A computer-only game at `level` for every nation, each strong city's order
// checked as the player's would be before it is given, every value after every step.
Played Play(std::uint64_t seed, int level, int years) {
    RulesGame t("", seed);
    t.game.Strength.fill(level);
    Played p;
    try {
        while (t.game.Year <= years) {
            const int step = t.game.TurnStep;
            // The first step draws the season's order afresh: the acting city is known from the second on.
            if (step > 1 && step <= kCityCount) {
                const int city = t.game.TurnOrder[step];
                const CityPlan plan = PlanStrongOrder(t.game, city, level);
                ++p.ordersChecked;
                if (const auto refusal = CheckOrder(t.game, city, plan.order))
                    p.faults.push_back(Where(t.game, city) + " refused: " + refusal->text);
                if (plan.order.kind == kAttack && (plan.tactic < 1 || plan.tactic > kTacticCount))
                    p.faults.push_back(Where(t.game, city) + " tactic " + std::to_string(plan.tactic));
            }
            const std::size_t boxes = t.screen.Boxes().size();
            AdvanceOneStep(t.game);
            // A city's step shows no box: every order was the computer's, told on the message lines.
            if (step >= 1 && step <= kCityCount && t.screen.Boxes().size() != boxes)
                p.faults.push_back("step " + std::to_string(step) + " box " + t.screen.Boxes().back());
            for (int c = 1; c <= kCityCount; ++c) {
                const City& x = t.game.Cities[c];
                for (int v : {x.Power, x.Town, x.Castle, x.Food, x.Gold, x.Troops, x.Arms, x.Civility})
                    if (v < 0 || v > kMaxValue) p.faults.push_back(Where(t.game, c) + " value " + std::to_string(v));
            }
        }
    } catch (const ProgramEnded&) {
        // A nation unified the map.
    }
    for (int line = 1; line <= 3; ++line)
        for (const auto& text : t.screen.Lines(line)) p.lines.push_back(text);
    p.world = t.game;
    return p;
}

TEST(StrongComputer, GivesOnlyThePlayersOrdersQuietlyWithinLimitsAndReplays) {
    for (int level : {2, kStrongest})
        for (std::uint64_t seed : {1, 2, 3, 4}) {
            SCOPED_TRACE("level " + std::to_string(level) + " seed " + std::to_string(seed));
            const Played first = Play(seed, level, 30);
            EXPECT_GT(first.ordersChecked, 1000);
            EXPECT_EQ(first.faults, std::vector<std::string>{});
            const Played again = Play(seed, level, 30);
            EXPECT_EQ(first.lines, again.lines);
            EXPECT_TRUE(first.world == again.world);
        }
}

}  // namespace
}  // namespace tarvex
