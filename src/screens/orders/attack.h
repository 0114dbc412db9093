// The order "2.戦闘": an attack on a neighbouring city of another owner.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

bool PrepareAttack(Session& game, int city);
bool ExecuteAttack(Session& game, int city);
// "…へ攻める": true when the player answers OK.
bool ConfirmAttack(Session& game, int target);

}  // namespace tarvex
