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

Order OrderOf(int kind, int amount = 0, int target = 0) {
    Order o;
    o.kind = kind;
    o.amount = amount;
    o.target = target;
    return o;
}

Decision DecisionOf(int kind) {
    Decision d;
    d.order.kind = kind;
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

// Troops and arms of every nation.
std::array<int, kNationCount + 1> NationPower(const Game& game) {
    std::array<int, kNationCount + 1> power{};
    for (int k = 1; k <= kCityCount; ++k)
        power[game.Cities[k].OwnerIndex] += game.Cities[k].Troops + game.Cities[k].Arms;
    return power;
}

// The enemy nation with the most troops and arms (`power`), the first of them on a tie.
int MainEnemy(const Game& game, int city, const std::array<int, kNationCount + 1>& power) {
    int enemy = 0;
    for (int n = 1; n <= kNationCount; ++n)
        if (n != game.Cities[city].OwnerIndex && (enemy == 0 || power[n] > power[enemy])) enemy = n;
    return enemy;
}

// Troops that stay home when the city attacks `target`: a few for the bot; for the
// stronger computer, as many as the strongest other enemy neighbour has under arms,
// counting at the strongest level only nations stronger than its own (`power`, troops
// and arms by nation): an army that marches out leaves the city as the bot's prey.
int KeptAtHome(const Game& game, int city, int target, const PlayStyle& style,
               const std::array<int, kNationCount + 1>& power) {
    const int few = GarrisonAgainst(game, city, target);
    if (style.guard == PlayStyle::Guard::Few || few == 0) return few;
    const City& c = game.Cities[city];
    int threat = 0;
    for (int j = 1; j <= kCityCount; ++j) {
        if (j == target || !Foreign(game, city, j) || !IsNeighbour(j, city)) continue;
        const City& e = game.Cities[j];
        if (style.guard == PlayStyle::Guard::StrongerNation && power[e.OwnerIndex] <= power[c.OwnerIndex]) continue;
        threat = std::max(threat, e.Troops + e.Arms);
    }
    return std::min(c.Troops, std::max(few, threat));
}

// Strength below this share of the defender's (troops, arms and walls) is not worth an estimate.
constexpr double kPlausibleStrength = 0.6;

// The best attack with everything that can march, each target with each
// tactic, a garrison staying at home; nothing when none is good enough.
std::optional<CityPlan> PlanAttack(const Game& game, int city, const PlayStyle& style) {
    const City& c = game.Cities[city];
    const int marching = std::min({c.Troops, c.Food, c.Gold});
    if (marching < 1 || CheckOrderOpens(game, city, kAttack)) return std::nullopt;
    // Troops and arms by nation, for a guard against the stronger nations only and for the main enemy.
    const bool byPower = style.guard == PlayStyle::Guard::StrongerNation || style.mainEnemyFirst;
    const auto power = byPower ? NationPower(game) : std::array<int, kNationCount + 1>{};
    const int mainEnemy = style.mainEnemyFirst ? MainEnemy(game, city, power) : 0;
    double best = -1, bestOnMain = -1;
    CityPlan attack{OrderOf(kAttack), kNormal}, onMain = attack;
    for (int target : NeighboursOf(city)) {
        if (!Foreign(game, city, target)) continue;
        const int kept = KeptAtHome(game, city, target, style, power);
        const int sent = std::min(marching, c.Troops - kept);
        if (sent < 1) continue;
        const City& d = game.Cities[target];
        if (style.plausibleOnly && sent + c.Arms < kPlausibleStrength * (d.Troops + d.Arms + d.Castle)) continue;
        // The march pays for its tactic out of the city's stores.
        std::array<bool, kTacticCount + 1> affordable{};
        for (int tactic = 1; tactic <= kTacticCount; ++tactic)
            affordable[tactic] = !style.plausibleOnly || TacticCost(tactic) * sent <= 100 * std::min(c.Gold, c.Food);
        int first = 1, last = kTacticCount;
        // A quick look at every tactic first, the full estimate for the best of them only.
        if (style.screenRuns > 0)
            first = last = BestTactic(game, city, target, sent, false, kComputersTactic, affordable, style.screenRuns);
        for (int tactic = first; tactic <= last; ++tactic) {
            if (!affordable[tactic]) continue;
            const double share =
                EstimateBattle(game, {city, target, sent, tactic, kComputersTactic}, style.runs).WinShare();
            const auto keep = [&](double& bestShare, CityPlan& plan) {
                if (share <= bestShare) return;
                bestShare = share;
                plan.order.target = target;
                plan.order.troops = plan.order.food = plan.order.gold = sent;
                plan.tactic = tactic;
            };
            keep(best, attack);
            if (mainEnemy != 0 && d.OwnerIndex == mainEnemy) keep(bestOnMain, onMain);
        }
    }
    // The main enemy's city first, when that attack is good enough on its own estimate.
    if (bestOnMain >= style.attackShare) return onMain;
    if (best >= style.attackShare) return attack;
    return std::nullopt;
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
    if (refused) return DecisionOf(kDoNothing);
    Decision d;
    d.order = PlanCityOrder(game, game.CurrentCity, style_).order;
    return d;
}

namespace {

// What a city's purse buys at this season's prices, for the orders a plan may give.
struct Purse {
    const City& c;
    const PlayStyle& style;
    double foodPrice, troopsPrice;
    int soldier;

    Purse(const Game& game, int city, const PlayStyle& playStyle)
        : c(game.Cities[city]),
          style(playStyle),
          foodPrice(game.FoodPrice),
          troopsPrice(game.TroopsPrice),
          soldier(troopsPrice > 0 ? Floor(troopsPrice + 0.9) : kMaxValue + 1) {}

    // Gold for soldiers that leaves each of them his gold for the march.
    CityPlan Recruit(int gold) const {
        return CityPlan{OrderOf(kRaiseTroops, std::max(soldier, Floor(gold * troopsPrice / (1 + troopsPrice))))};
    }
    // Gold for soldiers that leaves the defence fund for them all, the new ones too.
    int KeepingFund() const {
        const double fund = style.defenceFund;
        if (!(troopsPrice > 0)) return 0;
        return Floor((c.Gold - fund * c.Troops) * troopsPrice / (troopsPrice + fund));
    }
};

CityPlan Give(int kind, int amount = 0) { return CityPlan{OrderOf(kind, amount)}; }

// Behind the front: soldiers from the gold, gold from spare food, and all of it forward.
CityPlan PlanBehindFront(const Game& game, int city, const Purse& p) {
    const City& c = p.c;
    const auto steps = StepsToFront(game, city);
    int forward = 0;
    for (int j : NeighboursOf(city))
        if (SameOwner(game, city, j) && steps[j] < steps[city] && (forward == 0 || steps[j] < steps[forward]))
            forward = j;
    if (forward != 0 && c.Troops > 0) {
        const City& t = game.Cities[forward];
        CityPlan move{OrderOf(kMove, 0, forward)};
        const int kept = static_cast<int>(p.style.rearKeeps * c.Troops);
        move.order.troops = FitUnderLimit(t.Troops, c.Troops - kept, kMaxValue);
        move.order.food = FitUnderLimit(t.Food, c.Food, kMaxValue);
        move.order.gold = FitUnderLimit(t.Gold, c.Gold, kMaxValue);
        if (move.order.troops + move.order.food + move.order.gold > 0) return move;
    }
    if (p.style.defenceFund > 0) {
        if (c.Troops < kMaxValue && p.KeepingFund() >= 2 * p.soldier)
            return CityPlan{OrderOf(kRaiseTroops, p.KeepingFund())};
    } else if (c.Troops < kMaxValue && c.Gold >= 2 * p.soldier) {
        return p.Recruit(c.Gold);
    }
    if (c.Food > kSpareFood && p.foodPrice >= kGoodFoodPrice && c.Gold < kMaxValue)
        return Give(kSellFood, c.Food - kSpareFood / 2);
    if (c.Gold >= kMinimumInvestment && c.Town < kMaxValue)
        return Give(kBuildTown, std::min(c.Gold, kMaximumInvestment));
    return Give(kDoNothing);
}

// On the front: soldiers from the gold a march does not need, food for the march, gold from spare food.
CityPlan PlanOnFront(const Purse& p, bool threatened) {
    const City& c = p.c;
    if (c.Troops < kMaxValue && c.Gold - c.Troops >= 2 * p.soldier) return p.Recruit(c.Gold - c.Troops);
    if (c.Food < c.Troops && c.Gold > c.Troops && c.Food < kMaxValue && p.foodPrice > 0 && c.Gold >= p.foodPrice) {
        const int gold = std::min(c.Gold - c.Troops, static_cast<int>((c.Troops - c.Food) * p.foodPrice) + 1);
        if (gold >= p.foodPrice) return Give(kBuyFood, gold);
    }
    if (c.Food > c.Troops + kSpareFood && c.Gold < kMaxValue && p.foodPrice > 0)
        return Give(kSellFood, c.Food - c.Troops - kSpareFood / 2);
    // What is left over, beyond the march's gold, builds the castle where a stronger enemy threatens, else the town.
    const int spare = std::min(c.Gold - c.Troops, kMaximumInvestment);
    if (spare >= kMinimumInvestment) {
        if (threatened && c.Castle < kMaxValue) return Give(kWorkOnCastle, spare);
        if (c.Town < kMaxValue) return Give(kBuildTown, spare);
    }
    return Give(kDoNothing);
}

}  // namespace

CityPlan PlanCityOrder(const Game& game, int city, const PlayStyle& style) {
    if (auto attack = PlanAttack(game, city, style)) return *attack;
    const Purse p(game, city, style);
    const City& c = p.c;
    // The way to the front is only sought from behind it.
    if (!OnFront(game, city)) return PlanBehindFront(game, city, p);

    // A city a stronger enemy borders, when it holds its ground: every coin beyond the
    // defence fund on soldiers, then on the walls.
    const bool threatened = StrongestThreat(game, city) > c.Troops + c.Arms + c.Castle;
    if (style.holdsGround && threatened) {
        const int spend = p.KeepingFund();
        if (c.Troops < kMaxValue && spend >= 2 * p.soldier)
            return style.defenceFund > 0 ? CityPlan{OrderOf(kRaiseTroops, spend)} : p.Recruit(c.Gold);
        const int spare = std::min(Floor(c.Gold - style.defenceFund * c.Troops), kMaximumInvestment);
        if (spare >= kMinimumInvestment && c.Castle < kMaxValue) return Give(kWorkOnCastle, spare);
    }
    return PlanOnFront(p, threatened);
}

int BestTactic(const Game& game, int attackCity, int defendCity, int troops, bool defending, int otherTactic,
               const std::array<bool, kTacticCount + 1>& allowed, int runs) {
    int chosen = kDefence;
    double best = -1;
    for (int tactic = 1; tactic <= kTacticCount; ++tactic) {
        if (!allowed[tactic]) continue;
        const BattlePlan plan = defending ? BattlePlan{attackCity, defendCity, troops, otherTactic, tactic}
                                          : BattlePlan{attackCity, defendCity, troops, tactic, otherTactic};
        const double wins = EstimateBattle(game, plan, runs).WinShare();
        const double share = defending ? 1 - wins : wins;
        if (share > best) best = share, chosen = tactic;
    }
    return chosen;
}

Decision BotPlayer::DecideTactic(const Game& game) const {
    const BattleState& b = game.Battle;
    std::array<bool, kTacticCount + 1> allowed{};
    for (int tactic = 1; tactic <= kTacticCount; ++tactic) allowed[tactic] = !CheckTactic(game, tactic);
    Decision d;
    d.kind = Decision::Kind::Tactic;
    d.tactic = BestTactic(game, b.AttackCity, b.DefendCity, b.AttackTroops, IsPlayers(game, b.DefendCity),
                          kComputersTactic, allowed, style_.runs);
    return d;
}

}  // namespace tarvex
