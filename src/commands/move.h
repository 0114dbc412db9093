// The order "1.移動": troops, food and gold to a neighbouring city of the same owner.
#pragma once

#include "state/game.h"

namespace tarvex {

bool PrepareMove(Game& game, int city);
bool ExecuteMove(Game& game, int city);
// What a destination holding `value` can take of `amount`.
int FitToDestination(int amount, int value);
// The city whose name is the selected entry of lstPic6, or 0.
int SelectedTarget(const Game& game);

}  // namespace tarvex
