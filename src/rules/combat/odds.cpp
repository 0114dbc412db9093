// The odds of an attack, by playing the battle model to its end with dice of its own.
#include "rules/combat/odds.h"

#include <algorithm>
#include <cstdint>

#include "rules/combat/battle.h"
#include "rules/combat/round.h"
#include "rules/combat/tables.h"
#include "rules/port/random.h"
#include "rules/world/numbers.h"

namespace tarvex {

namespace {

// Mixes the numbers of a position into a seed, so that the same position shows
// the same odds however often the panel is redrawn.
std::uint64_t Mix(std::uint64_t seed, std::int64_t value) {
    std::uint64_t z = seed + 0x9e3779b97f4a7c15ULL + static_cast<std::uint64_t>(value);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

std::uint64_t SeedOf(const Game& game, int city, int target, int troops) {
    const City& a = game.Cities[city];
    const City& d = game.Cities[target];
    std::uint64_t seed = 0;
    for (const std::int64_t v :
         {std::int64_t{city}, std::int64_t{target}, std::int64_t{troops}, std::int64_t{a.Arms},
          std::int64_t{a.Civility}, std::int64_t{d.Troops}, std::int64_t{d.Arms}, std::int64_t{d.Castle},
          std::int64_t{d.Civility}, std::int64_t{d.Gold}, std::int64_t{d.Food}})
        seed = Mix(seed, v);
    return seed;
}

// The attacker's tactic from his nation's record: each tactic as often as he has fought with it.
int HabitualTactic(const Nation* nation, RandomSource& dice) {
    long long total = 0;
    if (nation)
        for (int t = 1; t <= kTacticCount; ++t) total += std::max(nation->TacticCount[t], 0);
    if (total <= 0) return Floor(dice.Next() * kTacticCount + 1);
    long long pick = static_cast<long long>(dice.Next() * static_cast<double>(total));
    for (int t = 1; t <= kTacticCount; ++t) {
        pick -= std::max(nation->TacticCount[t], 0);
        if (pick < 0) return t;
    }
    return kTacticCount;
}

}  // namespace

AttackOdds EstimateAttack(const Game& game, int city, int target, int troops, int runs) {
    return EstimateBattle(game, {city, target, troops, kHabitualTactic, kComputersTactic}, runs);
}

bool CanPayTactic(const City& payer, int troops, int tactic) {
    const double cost = TacticCost(tactic) * troops / 100.0;
    return cost <= payer.Gold && cost <= payer.Food;
}

std::string ShareText(int wins, int runs) {
    if (runs <= 0 || wins <= 0) return "ほぼなし";
    if (wins >= runs) return "ほぼ確実";
    const int percent = Nearest(100.0 * wins / runs);
    if (percent < 1) return "1%未満";
    if (percent > 99) return "99%超";
    return "約" + Str(percent) + "%";
}

AttackOdds EstimateBattle(const Game& game, const BattlePlan& plan, int runs) {
    AttackOdds odds;
    const int city = plan.city, target = plan.target, troops = plan.troops;
    if (!IsValidCity(city) || !IsValidCity(target) || city == target || troops <= 0 || runs <= 0) return odds;
    const City& attacker = game.Cities[city];
    // As the order does: someone always holds the walls.
    City defender = game.Cities[target];
    defender.Troops = std::max(defender.Troops, 1);
    const auto [attackFavourite, defendFavourite] = BattleFavourites(game, city, target);
    const Nation* attackNation = NationOf(game, city);

    // A tactic given is part of the position: each tactic has dice of its own.
    std::uint64_t seed = SeedOf(game, city, target, troops);
    if (plan.attackTactic != kHabitualTactic || plan.defendTactic != kComputersTactic)
        seed = Mix(Mix(seed, plan.attackTactic), plan.defendTactic);
    MersenneRandom dice(seed);
    const auto draw = [&dice] { return dice.Next(); };
    long long attackersLeft = 0, defendersLeft = 0;
    for (int run = 0; run < runs; ++run) {
        BattleSides s;
        s.defendTactic = plan.defendTactic != kComputersTactic
                             ? plan.defendTactic
                             : ChooseTacticAgainst(game, target, city, defender, dice);
        if (plan.attackTactic == kHabitualTactic)
            s.attackTactic = HabitualTactic(attackNation, dice);
        else if (plan.attackTactic == kComputersTactic)
            s.attackTactic = ChooseTacticAgainst(game, city, target, defender, dice);
        else
            s.attackTactic = plan.attackTactic;
        s.attackTroops = troops;
        s.attackArms = attacker.Arms;
        s.attackMorale = std::max(OpeningMorale(attacker.Civility), 0);
        s.attackFavourite = attackFavourite;
        s.defendTroops = defender.Troops;
        s.defendArms = defender.Arms;
        s.defendCastle = defender.Castle;
        s.defendMorale = std::max(OpeningMorale(defender.Civility), 0);
        s.defendFavourite = defendFavourite;
        int attackReserve = 0, defendReserve = 0;
        if (s.attackTactic == kSiege) HoldBackHalf(s.attackTroops, attackReserve);
        if (s.defendTactic == kSiege) HoldBackHalf(s.defendTroops, defendReserve);

        RoundResult result;
        result.after = s;
        for (int round = 0; round < kRoundGuard && !result.over; ++round)
            result = ResolveRound(result.after, DrawRound(draw));
        if (result.won) ++odds.wins;
        attackersLeft += result.after.attackTroops + attackReserve;
        defendersLeft += result.after.defendTroops + defendReserve;
    }
    odds.runs = runs;
    odds.attackersLeft = static_cast<double>(attackersLeft) / runs;
    odds.defendersLeft = static_cast<double>(defendersLeft) / runs;
    return odds;
}

}  // namespace tarvex
