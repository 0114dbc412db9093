// Events tied to the calendar, at the start of certain years.
#pragma once

#include "state/game.h"

namespace tarvex {

void RunHistoricalEvents(Game& game);

}  // namespace tarvex
