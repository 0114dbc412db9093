// The order "1.移動": troops, food and gold to a neighbouring city of the same owner.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

bool PrepareMove(Session& game, int city);
bool ExecuteMove(Session& game, int city);
// The city whose name is the selected entry of targets, or 0.
int SelectedTarget(const Session& game);

}  // namespace tarvex
