// The five orders that turn a city's gold into power, town, castle, armament or troops.
#pragma once

#include "rules/world/game.h"

namespace tarvex {

bool InvestPower(Game& game, int city);
bool BuildTown(Game& game, int city);
bool WorkOnCastle(Game& game, int city);
bool StrengthenArms(Game& game, int city);
bool ReinforceTroops(Game& game, int city);

}  // namespace tarvex
