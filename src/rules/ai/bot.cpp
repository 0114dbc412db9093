// The bot's choices: attack where the estimate is good with the tactic that
// makes it so, keep a garrison, turn gold into soldiers and spare food into
// gold, send troops and stores from behind the front towards it, keep the
// food and gold a march needs, and build castles and towns with what is left.
#include "rules/ai/bot.h"

#include <algorithm>
#include <array>
#include <deque>

#include "rules/combat/odds.h"
#include "rules/combat/tables.h"
#include "rules/economy/invest.h"
#include "rules/world/march.h"
#include "rules/world/numbers.h"
#include "rules/world/scenario.h"

namespace tarvex {

namespace {

constexpr int kFar = 1000;
// Troops a city keeps at home when it attacks while another enemy borders it.
constexpr int kGarrison = 8;
// Food a city keeps beyond its troops' before it sells, and the price worth selling at behind the front.
constexpr int kSpareFood = 100;
constexpr double kGoodFoodPrice = 1.0;

Decision OrderOf(int kind, int amount = 0) {
    Decision d;
    d.order.kind = kind;
    d.order.amount = amount;
    return d;
}

bool Foreign(const Game& game, int a, int b) { return !SameOwner(game, a, b); }

// A city on the front: an enemy can attack it, or it can attack an enemy.
bool OnFront(const Game& game, int city) {
    for (int j : NeighboursOf(city))
        if (Foreign(game, city, j)) return true;
    for (int j = 1; j <= kCityCount; ++j)
        if (Foreign(game, city, j) && IsNeighbour(j, city)) return true;
    return false;
}

// Steps from each of the owner's cities to his nearest city on the front, over his own land.
std::array<int, kCityCount + 1> StepsToFront(const Game& game, int city) {
    std::array<int, kCityCount + 1> steps;
    steps.fill(kFar);
    std::deque<int> queue;
    for (int c = 1; c <= kCityCount; ++c)
        if (SameOwner(game, c, city) && OnFront(game, c)) {
            steps[c] = 0;
            queue.push_back(c);
        }
    while (!queue.empty()) {
        const int c = queue.front();
        queue.pop_front();
        // Whoever can march into c is one step further.
        for (int j = 1; j <= kCityCount; ++j)
            if (steps[j] == kFar && SameOwner(game, j, city) && IsNeighbour(j, c)) {
                steps[j] = steps[c] + 1;
                queue.push_back(j);
            }
    }
    return steps;
}

// The strongest force an enemy neighbour could bring against the city.
int StrongestThreat(const Game& game, int city) {
    int strongest = 0;
    for (int j = 1; j <= kCityCount; ++j)
        if (Foreign(game, city, j) && IsNeighbour(j, city))
            strongest = std::max(strongest, game.Cities[j].Troops + game.Cities[j].Arms);
    return strongest;
}

// Troops that stay home when the city attacks `target`: a few, while another
// enemy can fall on it; a city emptied by its own attack is the computer's prey.
int GarrisonAgainst(const Game& game, int city, int target) {
    for (int j = 1; j <= kCityCount; ++j)
        if (j != target && Foreign(game, city, j) && IsNeighbour(j, city))
            return std::min(kGarrison, game.Cities[city].Troops);
    return 0;
}

}  // namespace

std::optional<Decision> BotPlayer::Decide(const Game& game, Asked asked, const Refusal* refused) {
    if (asked == Asked::Tactic) {
        Decision d = DecideTactic(game);
        // A defence the city cannot pay for: defending costs nothing.
        if (refused) d.tactic = kDefence;
        return d;
    }
    // A refused order is a fault of the bot's reckoning: it lets the season pass rather than guess again.
    if (refused) return OrderOf(kDoNothing);
    return DecideOrder(game);
}

Decision BotPlayer::DecideOrder(const Game& game) const {
    const int city = game.CurrentCity;
    const City& c = game.Cities[city];

    // The best attack with everything that can march, each target with each
    // tactic, a garrison staying at home.
    const int marching = std::min({c.Troops, c.Food, c.Gold});
    if (marching >= 1 && !CheckOrderOpens(game, city, kAttack)) {
        double bestShare = -1;
        Decision attack = OrderOf(kAttack);
        for (int target : NeighboursOf(city)) {
            if (!Foreign(game, city, target)) continue;
            const int sent = std::min(marching, c.Troops - GarrisonAgainst(game, city, target));
            if (sent < 1) continue;
            for (int tactic = 1; tactic <= kTacticCount; ++tactic) {
                const double share =
                    EstimateBattle(game, {city, target, sent, tactic, kComputersTactic}, runs_).WinShare();
                if (share <= bestShare) continue;
                bestShare = share;
                attack.order.target = target;
                attack.order.troops = attack.order.food = attack.order.gold = sent;
            }
        }
        if (bestShare >= attackShare_) return attack;
    }

    const double foodPrice = game.FoodPrice, troopsPrice = game.TroopsPrice;
    const int soldier = troopsPrice > 0 ? Floor(troopsPrice + 0.9) : kMaxValue + 1;
    // Gold for soldiers that leaves each of them his gold for the march.
    const auto recruit = [&](int gold) {
        return OrderOf(kRaiseTroops, std::max(soldier, Floor(gold * troopsPrice / (1 + troopsPrice))));
    };
    const auto steps = StepsToFront(game, city);
    if (steps[city] > 0) {
        // Behind the front: soldiers from the gold, gold from spare food, and all of it forward.
        int forward = 0;
        for (int j : NeighboursOf(city))
            if (SameOwner(game, city, j) && steps[j] < steps[city] && (forward == 0 || steps[j] < steps[forward]))
                forward = j;
        if (forward != 0 && c.Troops > 0) {
            const City& t = game.Cities[forward];
            Decision d = OrderOf(kMove);
            d.order.target = forward;
            d.order.troops = FitUnderLimit(t.Troops, c.Troops, kMaxValue);
            d.order.food = FitUnderLimit(t.Food, c.Food, kMaxValue);
            d.order.gold = FitUnderLimit(t.Gold, c.Gold, kMaxValue);
            if (d.order.troops + d.order.food + d.order.gold > 0) return d;
        }
        if (c.Troops < kMaxValue && c.Gold >= 2 * soldier) return recruit(c.Gold);
        if (c.Food > kSpareFood && foodPrice >= kGoodFoodPrice && c.Gold < kMaxValue)
            return OrderOf(kSellFood, c.Food - kSpareFood / 2);
        if (c.Gold >= kMinimumInvestment && c.Town < kMaxValue)
            return OrderOf(kBuildTown, std::min(c.Gold, kMaximumInvestment));
        return OrderOf(kDoNothing);
    }

    // On the front: soldiers from the gold a march does not need, food for the march, gold from spare food.
    if (c.Troops < kMaxValue && c.Gold - c.Troops >= 2 * soldier) return recruit(c.Gold - c.Troops);
    if (c.Food < c.Troops && c.Gold > c.Troops && c.Food < kMaxValue && foodPrice > 0 && c.Gold >= foodPrice) {
        const int gold = std::min(c.Gold - c.Troops, static_cast<int>((c.Troops - c.Food) * foodPrice) + 1);
        if (gold >= foodPrice) return OrderOf(kBuyFood, gold);
    }
    if (c.Food > c.Troops + kSpareFood && c.Gold < kMaxValue && foodPrice > 0)
        return OrderOf(kSellFood, c.Food - c.Troops - kSpareFood / 2);
    // What is left over, beyond the march's gold, builds the castle where a stronger enemy threatens, else the town.
    const int spare = std::min(c.Gold - c.Troops, kMaximumInvestment);
    if (spare >= kMinimumInvestment) {
        const bool threatened = StrongestThreat(game, city) > c.Troops + c.Arms + c.Castle;
        if (threatened && c.Castle < kMaxValue) return OrderOf(kWorkOnCastle, spare);
        if (c.Town < kMaxValue) return OrderOf(kBuildTown, spare);
    }
    return OrderOf(kDoNothing);
}

Decision BotPlayer::DecideTactic(const Game& game) const {
    const BattleState& b = game.Battle;
    const bool defending = IsPlayers(game, b.DefendCity);
    Decision d;
    d.kind = Decision::Kind::Tactic;
    d.tactic = kDefence;
    double best = -1;
    for (int tactic = 1; tactic <= kTacticCount; ++tactic) {
        if (CheckTactic(game, tactic)) continue;
        const BattlePlan plan = defending
                                    ? BattlePlan{b.AttackCity, b.DefendCity, b.AttackTroops, kComputersTactic, tactic}
                                    : BattlePlan{b.AttackCity, b.DefendCity, b.AttackTroops, tactic, kComputersTactic};
        const double wins = EstimateBattle(game, plan, runs_).WinShare();
        const double share = defending ? 1 - wins : wins;
        if (share > best) best = share, d.tactic = tactic;
    }
    return d;
}

}  // namespace tarvex
