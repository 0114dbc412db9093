// The numbers of combat: tactics, the results table, odds bands and the dice.
#pragma once

#include <array>
#include <string>

#include "rules/world/game.h"

namespace tarvex {

enum Tactic { kNormal = 1, kCharge = 2, kSiege = 3, kShooting = 4, kDefence = 5 };

// Fixed for the whole run: names 1..5 ("通常", "突撃", "包囲", "射撃", "防御").
extern const std::array<std::string, kTacticCount + 1> TacticNames;
// TacticTable[row 0..6][own tactic 1..5]: row 0 power, rows 1..5 morale bonus
// against the enemy's tactic 1..5, row 6 gold and food spent in % of troops.
extern const std::array<std::array<int, kTacticCount + 1>, 7> TacticTable;
inline constexpr int kPowerRow = 0;
inline constexpr int kCostRow = 6;
// ResultsTable[die 1..6][odds band 1..8]: base morale loss of a roll.
extern const std::array<std::array<int, 9>, 7> ResultsTable;

const std::string& TacticName(int tactic);
// Gold and food a tactic spends, in % of the side's starting troops.
int TacticCost(int tactic);
// Odds band 1..8 of own / enemy strength; an enemy of strength 0 (or less) is band 8.
int OddsBand(long long own, long long enemy);
bool RandomChance(Game& game, int p);
// The morale bonus of fighting with the nation's favourite tactic (1..5; 0 for none).
int PreferenceBonus(int favourite, int tactic);
// The morale a side's blow takes from the enemy: own and enemy strength, the die, both
// tactics and the favourite's bonus give a base; `spread` in [0, 1) places the loss
// between half the base and the whole of it.
int MoraleLoss(long long own, long long enemy, int die, double spread, int ownTactic, int enemyTactic, int bonus);
// The same with the spread drawn from the game's random source.
int ComputeMoraleLoss(Game& game, long long own, long long enemy, int die, int ownTactic, int enemyTactic, int bonus);

}  // namespace tarvex
