// The odds of an attack: the battle the player is about to order, played to its
// end many times over with dice of its own, before a single die of the game is cast.
#pragma once

#include <string>

#include "rules/world/game.h"

namespace tarvex {

// Battles played for one estimate: a win share to within about a point and a half.
inline constexpr int kOddsRuns = 4000;

struct AttackOdds {
    int runs = 0;
    int wins = 0;
    // Troops each side has when the battle ends (its siege reserve back), on average.
    double attackersLeft = 0;
    double defendersLeft = 0;
    double WinShare() const { return runs > 0 ? static_cast<double>(wins) / runs : 0.0; }
};

// `troops` of `city` attack `target` as the attack order would send them: the
// defender's tactic is the computer's choice as the rules make it, the attacker's
// is drawn from his nation's record of tactics (his habit; any of the five while
// it holds none). The same position always gives the same estimate; the game's
// random source is never drawn from.
AttackOdds EstimateAttack(const Game& game, int city, int target, int troops, int runs = kOddsRuns);

// Tactics of an estimated battle: one of the five, or how it is drawn.
inline constexpr int kHabitualTactic = 0;    // from the side's nation's record (the attacker only)
inline constexpr int kComputersTactic = -1;  // as the computer would choose it

// `troops` of `city` against `target`, each side's tactic given or drawn as
// stated; the same position and tactics always give the same estimate.
struct BattlePlan {
    int city = 0;
    int target = 0;
    int troops = 0;
    int attackTactic = kHabitualTactic;
    int defendTactic = kComputersTactic;
};
AttackOdds EstimateBattle(const Game& game, const BattlePlan& plan, int runs = kOddsRuns);
// Whether `payer`'s gold and food cover `tactic` for `troops`, as a defence is
// refused when they do not.
bool CanPayTactic(const City& payer, int troops, int tactic);
// "約62%" for `wins` of `runs`; never a flat 0 or 100 for a battle that can still go either way.
std::string ShareText(int wins, int runs);

}  // namespace tarvex
