// A new game: the calendar's first spring, the starting world, the first prices.
#pragma once

#include "rules/world/game.h"

namespace tarvex {

void NewGame(Game& game);

}  // namespace tarvex
