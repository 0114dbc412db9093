// The order "2.戦闘": an attack on a neighbouring city of another owner.
#pragma once

#include "state/game.h"

namespace tarvex {

bool PrepareAttack(Game& game, int city);
bool ExecuteAttack(Game& game, int city);

}  // namespace tarvex
