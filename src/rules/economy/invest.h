// The five orders that turn a city's gold into power, town, castle, armament or troops.
#pragma once

#include "rules/world/game.h"

namespace tarvex {

// The lowest and highest gold an investment in power, town or castle takes.
inline constexpr int kMinimumInvestment = 10;
inline constexpr int kMaximumInvestment = 100;

// The computer's orders: each city chooses its own amount; false, silently,
// when it cannot afford one.
bool InvestPower(Game& game, int city);
bool BuildTown(Game& game, int city);
bool WorkOnCastle(Game& game, int city);
bool StrengthenArms(Game& game, int city);
bool ReinforceTroops(Game& game, int city);

// The player's orders with the gold he gave them, already checked (GiveOrder):
// the gold goes in and the notices follow.
void SpendOnPower(Game& game, int city, int gold);
void SpendOnTown(Game& game, int city, int gold);
void SpendOnCastle(Game& game, int city, int gold);
void SpendOnArms(Game& game, int city, int gold);
void SpendOnTroops(Game& game, int city, int gold);

}  // namespace tarvex
