// The computer's order for every city the player does not command.
#pragma once

#include <vector>

#include "rules/world/game.h"

namespace tarvex {

void RunComputerCity(Game& game, int city);
bool AttackIfWeakNeighbour(Game& game, int city);
bool ReinforceIfRich(Game& game, int city);
bool SupplyNeighbour(Game& game, int city);
bool ComputerAttack(Game& game, int city);
// One of the candidates by a percent draw, or 0 when none is picked.
int PickByPercent(Game& game, const std::vector<int>& candidates);
// Whole number 1..99.
int PercentDraw(Game& game);

}  // namespace tarvex
