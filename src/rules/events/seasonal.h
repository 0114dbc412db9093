// The autumn's chance events.
#pragma once

#include <string>

#include "rules/world/game.h"

namespace tarvex {

void RunSeasonalEvent(Game& game);
// Applies event 1..8, lists what it did in EventLines, shows the event window,
// then refreshes every city.
void ApplySeasonalEvent(Game& game, int number, const std::string& name);

}  // namespace tarvex
