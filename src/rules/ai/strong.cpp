// The stronger computer: the bot's orders for a computer city, kept within
// what the city can hold so that no order hands anything back.
#include "rules/ai/strong.h"

#include <algorithm>
#include <array>

#include "rules/ai/bot.h"
#include "rules/combat/battle.h"
#include "rules/combat/tables.h"
#include "rules/orders/order.h"
#include "rules/world/numbers.h"

namespace tarvex {

namespace {

// Battles of the first look at each tactic of an attack.
constexpr int kScreenRuns = 8;

PlayStyle StyleOf(int level) {
    PlayStyle style;
    style.attackShare = 0.6;
    style.runs = kStrongOddsRuns;
    style.plausibleOnly = true;
    style.screenRuns = kScreenRuns;
    style.holdsGround = true;
    // A city without gold defends itself only with 防御, which a charge breaks at even
    // numbers; with the gold for a charge of its own it holds.
    style.defenceFund = 0.75;
    // Behind the front a few stay, so that a broken front does not open an empty land.
    style.rearKeeps = 0.3;
    // The strong computer keeps its cities held against every neighbour and so wages
    // its wars slowly; the strongest holds them against the stronger nations only and
    // falls on the weaker with all it has.
    style.guard = level >= kStrongest ? PlayStyle::Guard::StrongerNation : PlayStyle::Guard::AnyNeighbour;
    // The strongest turns on the nation that leads whenever it has a good attack on it.
    style.mainEnemyFirst = level >= kStrongest;
    return style;
}

// The amounts trimmed to what the city can take: an investment that stops at
// the top, a sale the purse can hold, a purchase the granary can. Nothing left: no order.
void KeepUnderTop(const Game& game, int city, Order& o) {
    const City& c = game.Cities[city];
    const auto room = [](int value) { return std::max(0, kMaxValue - value) * 10; };
    switch (o.kind) {
        case kInvestPower:
            o.amount = std::min(o.amount, room(c.Power));
            break;
        case kBuildTown:
            o.amount = std::min(o.amount, room(c.Town));
            break;
        case kWorkOnCastle:
            o.amount = std::min(o.amount, room(c.Castle));
            break;
        case kSellFood:
            if (game.FoodPrice > 0) o.amount = std::min(o.amount, Floor((kMaxValue - c.Gold) / game.FoodPrice));
            if (o.amount <= 0) o = Order{};
            break;
        case kBuyFood:
            o.amount = std::min(o.amount, Floor(std::max(0, kMaxValue - c.Food) * game.FoodPrice));
            if (o.amount <= 0) o = Order{};
            break;
        default:
            break;
    }
}

}  // namespace

CityPlan PlanStrongOrder(const Game& game, int city, int level) {
    CityPlan plan = PlanCityOrder(game, city, StyleOf(level));
    KeepUnderTop(game, city, plan.order);
    return plan;
}

void RunStrongComputerCity(Game& game, int city, int level) {
    CityPlan plan = PlanStrongOrder(game, city, level);
    // A refusal would be a fault of the reckoning: the city lets the season pass.
    if (CheckOrder(game, city, plan.order)) plan.order = Order{};
    if (plan.order.kind == kAttack)
        GiveComputerAttack(game, city, plan.order, plan.tactic);
    else
        GiveOrder(game, city, plan.order);
}

int DefenceTactic(Game& game, int defendCity, int attackCity, int troops) {
    if (StrengthOf(game, defendCity) <= kStandardStrength) return ChooseTactic(game, defendCity, attackCity);
    // Whatever the defence costs is paid from the city's own stores; defending costs nothing.
    const City& d = game.Cities[defendCity];
    std::array<bool, kTacticCount + 1> allowed{};
    for (int tactic = 1; tactic <= kTacticCount; ++tactic) {
        const double cost = TacticCost(tactic) * d.Troops / 100.0;
        allowed[tactic] = tactic == kDefence || (cost < d.Gold && cost < d.Food);
    }
    // The attacker is expected to fight as his nation's record says he does.
    return BestTactic(game, attackCity, defendCity, troops, true, kHabitualTactic, allowed, kStrongOddsRuns);
}

}  // namespace tarvex
