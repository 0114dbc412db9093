// The autumn's chance events and the event window.
#pragma once

#include <string>

#include "state/game.h"

namespace tarvex {

void RunSeasonalEvent(Game& game);
void ApplySeasonalEvent(Game& game, int number, const std::string& name);
// The event window's OK: refreshes every city, clears the list, closes.
void frmEvent_Command1_Click(Game& game);
// Draws 1..10.
int TenSided(Game& game);

}  // namespace tarvex
