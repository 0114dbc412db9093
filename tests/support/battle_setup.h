// Setting a battle up by hand in tests: a city's stock, the engagement, one round's draws.
#pragma once

#include "rules/world/game.h"
#include "support/scripted_screen.h"

namespace tarvex::testing {

inline void Stock(City& c, int troops, int arms, int castle, int gold, int food, int civility) {
    c.Troops = troops;
    c.Arms = arms;
    c.Castle = castle;
    c.Gold = gold;
    c.Food = food;
    c.Civility = civility;
}

// Fills the battle as an attack order does; the force has already left home.
inline void Engage(Game& g, int attacker, int defender, int force, int attackTactic, int defendTactic) {
    BattleState& b = g.Battle;
    b.AttackCity = attacker;
    b.DefendCity = defender;
    b.AttackTroops = force;
    b.AttackTroopsAtStart = force;
    b.DefendTroopsAtStart = g.Cities[defender].Troops;
    b.AttackTactic = attackTactic;
    b.DefendTactic = defendTactic;
}

// One round's draws: the attacker's die and loss, then the defender's.
inline void PushRound(ScriptedRandom& r, int attackDie, double attackRnd, int defendDie, double defendRnd) {
    r.PushFace(attackDie, 6);
    r.Push(attackRnd);
    r.PushFace(defendDie, 6);
    r.Push(defendRnd);
}

}  // namespace tarvex::testing
