// Events tied to the calendar, at the start of certain years.
#pragma once

#include "rules/world/game.h"

namespace tarvex {

void RunHistoricalEvents(Game& game);

}  // namespace tarvex
