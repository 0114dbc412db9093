// The computer's order for every city the player does not command.
#include "rules/ai/computer.h"

#include <array>
#include <string>

#include "rules/ai/strong.h"
#include "rules/combat/battle.h"
#include "rules/combat/tables.h"
#include "rules/economy/invest.h"
#include "rules/economy/market.h"
#include "rules/port/screen.h"
#include "rules/turn/messages.h"
#include "rules/world/march.h"
#include "rules/world/numbers.h"
#include "rules/world/scenario.h"

namespace tarvex {

namespace {

void TransferValue(int& source, int& target, int amount);

// How a nation's policy splits the computer's free choice between attack,
// domestic work and military build-up. Each set adds up to 100, but the draw
// runs 1..99 and TryPolicyOrder lays the bands end to end with the domestic one
// a draw wider: attack takes `attack` of the 99 draws, domestic work
// `domestic` + 1 and military build-up the rest, `military` - 2. Every draw
// falls in one of them.
struct PolicyWeights {
    int attack;
    int domestic;
    int military;
};

constexpr PolicyWeights kOrdinaryWeights{30, 35, 35};
constexpr PolicyWeights kDomesticWeights{20, 50, 30};
constexpr PolicyWeights kWarWeights{40, 20, 40};

// A nation without one of the three policies (or a city whose owner names no
// nation) behaves as an ordinary one rather than sitting idle every season.
PolicyWeights WeightsFor(const Game& game, int city) {
    const Nation* nation = NationOf(game, city);
    const PolicyKind policy = nation ? nation->Policy.Value() : PolicyKind::Other;
    if (policy == PolicyKind::Domestic) return kDomesticWeights;
    if (policy == PolicyKind::War) return kWarWeights;
    return kOrdinaryWeights;
}

// One try of the free choice: the band of the draw picks the kind of order,
// a second draw picks the order itself.
bool TryPolicyOrder(Game& game, int city, const PolicyWeights& w) {
    const int r = PercentDraw(game);
    if (r <= w.attack) return ComputerAttack(game, city);
    if (r >= w.attack + 1 && r <= w.attack + w.domestic + 1) {
        const int r2 = PercentDraw(game);
        if (r2 <= 15) return ComputerTradeFood(game, city);
        if (r2 <= 50) return BuildTown(game, city);
        return InvestPower(game, city);
    }
    if (r >= w.attack + w.domestic + 2 && r <= w.attack + w.domestic + w.military + 2) {
        const int r2 = PercentDraw(game);
        if (r2 <= 25) return WorkOnCastle(game, city);
        if (r2 <= 50) return StrengthenArms(game, city);
        return ReinforceTroops(game, city);
    }
    return false;
}

// The cities a decision chooses among: at most a city's neighbours, kept on the
// stack because the computer builds one for nearly every order of every season.
struct Candidates {
    std::array<int, kCityCount> city{};
    int count = 0;
    void Add(int i) { city[count++] = i; }
    bool Empty() const { return count == 0; }
};

int PickFrom(Game& game, const int* candidates, int n) {
    if (n == 0) return 0;
    const int step = Nearest(100.0 / n);
    const int r = PercentDraw(game);
    for (int k = 1; k <= n; ++k)
        if (step * (k - 1) <= r && r <= step * k) return candidates[k - 1];
    return 0;
}

// Tries of the free choice before the city gives up for the season: a city
// that can afford nothing does not draw for ever.
constexpr int kPolicyTries = 20;
constexpr int kHomeGuard = 5;  // soldiers that always stay behind when the computer attacks
// A neighbour with less than a fifth of the city's troops invites an attack.
constexpr int kWeakNeighbourRatio = 5;
// An army above this size attacks any neighbour smaller than itself.
constexpr int kLargeArmy = 200;
// A supplying city keeps this much of its troops, gold and food at home...
constexpr int kSupplyKept = 10;
// ...and sends at most this many soldiers a season.
constexpr int kMostSoldiersSent = 10;

}  // namespace

void RunComputerCity(Game& game, int city) {
    if (const int level = StrengthOf(game, city); level > kStandardStrength) {
        RunStrongComputerCity(game, city, level);
        return;
    }
    const PolicyWeights weights = WeightsFor(game, city);

    // Reflexes first: a weak neighbour, surplus gold, food or gold running out,
    // supplies for the front.
    for (bool (*reflex)(Game&, int) :
         {AttackIfWeakNeighbour, ReinforceIfRich, ComputerSellFood, ComputerBuyFood, SupplyNeighbour}) {
        const bool used = reflex(game, city);
        if (used) return;
    }

    for (int attempt = 0; attempt < kPolicyTries; ++attempt) {
        const bool used = TryPolicyOrder(game, city, weights);
        if (used) return;
    }
    ShowMsg2(game, "何もしない");
}

bool AttackIfWeakNeighbour(Game& game, int city) {
    const int troops = game.Cities[city].Troops;
    for (int i : NeighboursOf(city)) {
        const int other = game.Cities[i].Troops;
        // Any neighbour counts, even one of the same nation: the attack itself
        // then looks for a foreign target.
        if (kWeakNeighbourRatio * other < troops || (troops > kLargeArmy && troops > other))
            return ComputerAttack(game, city);
    }
    return false;
}

bool ReinforceIfRich(Game& game, int city) {
    const City& c = game.Cities[city];
    if (2 * c.Troops < c.Gold) return ReinforceTroops(game, city);
    return false;
}

bool SupplyNeighbour(Game& game, int city) {
    City& from = game.Cities[city];
    if (from.Troops <= kSupplyKept) return false;

    // A frontier city keeps its stock.
    for (int i : NeighboursOf(city))
        if (!SameOwner(game, i, city)) return false;

    Candidates candidates;
    for (int i : NeighboursOf(city))
        if (i != city && SameOwner(game, i, city)) candidates.Add(i);
    const int target = PickFrom(game, candidates.city.data(), candidates.count);
    if (target == 0) return false;
    City& to = game.Cities[target];

    int gold = 0;
    if (from.Gold > kSupplyKept)
        gold = to.Gold >= kMaxValue ? 0 : FitUnderLimit(to.Gold, from.Gold - kSupplyKept, kMaxValue);
    int food = 0;
    if (from.Food > kSupplyKept)
        food = to.Food >= kMaxValue ? 0 : FitUnderLimit(to.Food, from.Food - kSupplyKept, kMaxValue);
    const int send = from.Troops > kSupplyKept + kMostSoldiersSent ? kMostSoldiersSent : from.Troops - kSupplyKept;
    const int troops = to.Troops >= kMaxValue ? 0 : FitUnderLimit(to.Troops, send, kMaxValue);
    if (gold == 0 && food == 0 && troops == 0) return false;

    TransferValue(from.Gold, to.Gold, gold);
    TransferValue(from.Food, to.Food, food);
    TransferValue(from.Troops, to.Troops, troops);
    NoNegative(from.Food);
    NoNegative(from.Gold);

    ShowMsg2(game, {from.Name, "から", to.Name, "へ「", Str(troops), "」移動"});
    ShowMsg3(game, {"金「", Str(gold), "」と食料「", Str(food), "」移動"});

    if (from.Troops > 0) MergeArmament(from, to, to.Troops - troops, troops);
    return true;
}

bool ComputerAttack(Game& game, int city) {
    City& attacker = game.Cities[city];
    if (attacker.Food < attacker.Troops || attacker.Gold < attacker.Troops) return false;
    // The dice are consulted, though with 99 in 99 they never say no.
    if (!RandomChance(game, 99)) return false;

    Candidates candidates;
    if (attacker.Troops > kHomeGuard)
        for (int i : NeighboursOf(city))
            if (!SameOwner(game, i, city)) candidates.Add(i);
    if (candidates.Empty()) return false;
    const int target = PickFrom(game, candidates.city.data(), candidates.count);
    if (target == 0) return false;

    BattleState& b = game.Battle;
    b.AttackCity = city;
    b.DefendCity = target;
    b.AttackTroops = attacker.Troops - kHomeGuard;
    attacker.Troops = kHomeGuard;
    b.AttackTroopsAtStart = b.AttackTroops;
    b.DefendTroopsAtStart = game.Cities[target].Troops;

    if (!IsPlayers(game, target)) {
        b.AttackTactic = ChooseTactic(game, city, target);
        b.DefendTactic = DefenceTactic(game, target, city, b.AttackTroops);
        FightToTheEnd(game);
    } else {
        // The player defends his own city, delegated or not, on the battle screen.
        b.AttackTactic = ChooseTactic(game, city, target);
        game.AdvanceReady = false;
        game.screen->RunBattleScreen(game);
    }
    return true;
}

int PickByPercent(Game& game, const std::vector<int>& candidates) {
    return PickFrom(game, candidates.data(), static_cast<int>(candidates.size()));
}

int PercentDraw(Game& game) { return Floor(Rnd(game) * 99 + 1); }

namespace {
void TransferValue(int& source, int& target, int amount) {
    source -= amount;
    target += amount;
}

}  // namespace

}  // namespace tarvex
