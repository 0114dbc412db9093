// One round of a battle as a calculation: both sides and the dice in, both sides out.
// The battle applies it to the cities; the odds of an attack play it many times over.
#pragma once

#include "rules/combat/tables.h"
#include "rules/world/numbers.h"

namespace tarvex {

// What decides a round: each side's fighting troops, arms, morale, tactic and its
// nation's favourite (0 for none); the defender's castle; the round about to be fought.
struct BattleSides {
    int attackTroops = 0, attackArms = 0, attackMorale = 0, attackTactic = kNormal, attackFavourite = 0;
    int defendTroops = 0, defendArms = 0, defendCastle = 0, defendMorale = 0, defendTactic = kNormal,
        defendFavourite = 0;
    // The battle's round counter as it stands before the round (1 when the battle opens).
    int round = 1;
};

// A round's four draws, in the order the battle makes them: the attacker's die and
// where his blow falls between half and all of it, then the defender's.
struct RoundDraws {
    int attackDie = 1;
    double attackSpread = 0;
    int defendDie = 1;
    double defendSpread = 0;
};

struct RoundResult {
    BattleSides after;
    // The battle is decided: a side broke, or the last round is fought.
    bool over = false;
    // Decided for the attacker: the defence broke and the attack did not.
    bool won = false;
};

// A battle is decided in at most four rounds; loops over its rounds stop after
// this many all the same, so that a fault cannot run them for ever.
inline constexpr int kRoundGuard = 16;

// Both sides' morale as the battle opens, before half of each city's civility is added.
inline constexpr int kStartingMorale = 50;
inline int OpeningMorale(int civility) { return Nearest(kStartingMorale + civility / 2.0); }
// Halves a besieging side's fighting troops; the other half waits in reserve.
void HoldBackHalf(int& troops, int& reserve);

RoundResult ResolveRound(const BattleSides& before, const RoundDraws& draws);

// The draws of a round from a source of numbers in [0, 1), in the battle's order.
template <class Draw>
RoundDraws DrawRound(Draw&& draw) {
    RoundDraws d;
    d.attackDie = Floor(draw() * 6 + 1);
    d.attackSpread = draw();
    d.defendDie = Floor(draw() * 6 + 1);
    d.defendSpread = draw();
    return d;
}

}  // namespace tarvex
