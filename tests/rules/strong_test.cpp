// The stronger computer plays by the player's orders, within the values'
// limits, without a box meant for the player, and the same game twice.
#include "rules/ai/strong.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/ai/bot.h"
#include "rules/combat/tables.h"
#include "rules/orders/order.h"
#include "rules/orders/player.h"
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

// Whether the city's gold would pay for a charge of all its troops, as a defence must.
bool PaysACharge(const City& c) { return TacticCost(kCharge) * c.Troops < 100 * c.Gold; }

// A game at `level` for every computer nation, the bot commanding `player` (none:
// a computer-only game), each strong city's order checked as the player's would
// be before it is given, every value after every step.
Played Play(std::uint64_t seed, int level, int years, const std::string& player = "") {
    RulesGame t(player, seed);
    t.game.Strength.fill(level);
    // The bot with fewer battles to an estimate: the same choices, near enough, in a test's time.
    BotPlayer bot(0.7, 40);
    t.screen.battle = [&bot](Game& game) { FightBattleBy(game, bot); };
    Played p;
    try {
        while (t.game.Year <= years) {
            const int step = t.game.TurnStep;
            // The first step draws the season's order afresh: the acting city is known from the second on.
            int city = 0;
            bool couldPay = false;
            if (step > 1 && step <= kCityCount && !IsPlayerRun(t.game, t.game.TurnOrder[step])) {
                city = t.game.TurnOrder[step];
                const CityPlan plan = PlanStrongOrder(t.game, city, level);
                ++p.ordersChecked;
                if (const auto refusal = CheckOrder(t.game, city, plan.order))
                    p.faults.push_back(Where(t.game, city) + " refused: " + refusal->text);
                if (plan.order.kind == kAttack && (plan.tactic < 1 || plan.tactic > kTacticCount))
                    p.faults.push_back(Where(t.game, city) + " tactic " + std::to_string(plan.tactic));
                // Soldiers are bought only with the gold a defence does not need.
                couldPay = plan.order.kind == kRaiseTroops && PaysACharge(t.game.Cities[city]);
            }
            const std::size_t boxes = t.screen.Boxes().size();
            if (AdvanceOneStep(t.game) == StepResult::PlayerToOrder && !PlayTurnBy(t.game, bot))
                p.faults.push_back(Where(t.game, t.game.CurrentCity) + " the bot gave up");
            if (couldPay && !PaysACharge(t.game.Cities[city]))
                p.faults.push_back(Where(t.game, city) + " recruited away the gold of its defence");
            // A computer city's step shows no box: every order was the computer's, told on the message lines.
            if (player.empty() && step >= 1 && step <= kCityCount && t.screen.Boxes().size() != boxes)
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
    // Computer-only games, and games against the bot, which attacks the strong cities and defends against them.
    for (const std::string player : {"", "フランス王国", "スコットランド王国"})
        for (int level : {2, kStrongest})
            for (std::uint64_t seed : {1, 2, 3, 4}) {
                if (!player.empty() && seed > 2) continue;
                SCOPED_TRACE(player + " level " + std::to_string(level) + " seed " + std::to_string(seed));
                const int years = player.empty() ? 30 : 15;
                const Played first = Play(seed, level, years, player);
                EXPECT_GT(first.ordersChecked, 1000);
                EXPECT_EQ(first.faults, std::vector<std::string>{});
                const Played again = Play(seed, level, years, player);
                EXPECT_EQ(first.lines, again.lines);
                EXPECT_TRUE(first.world == again.world);
            }
}

}  // namespace
}  // namespace tarvex
