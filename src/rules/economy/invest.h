// The five orders that turn a city's gold into power, town, castle, armament or troops.
#pragma once

#include "rules/world/game.h"

namespace tarvex {

bool InvestPower(Game& game, int city);
bool BuildTown(Game& game, int city);
bool WorkOnCastle(Game& game, int city);
bool StrengthenArms(Game& game, int city);
bool ReinforceTroops(Game& game, int city);

// Shared steps.
bool CheckInvestRoom(Game& game, int city, int gold, int field, int limit);
bool InvestGold(Game& game, int city, int& field, int limit, bool halve);
int TrimToMaximum(Game& game, int value, int amount, int limit);
bool CheckGoldForInput(Game& game, int city, int amount, double minimum);
// Points gained by spending this much gold on power, town or castle.
int GainFor(int spent);

}  // namespace tarvex
