// Checks a city's values, reports those out of range and announces the city to its panel.
#pragma once

#include "rules/world/game.h"

namespace tarvex {

// Reports any value above 999 (and gold or food below 0) in a box, without
// changing it, then announces the city so that its panel shows it.
void RefreshCity(Game& game, int city);
// RefreshCity for 1..75 in order.
void RefreshAllCities(Game& game);
// The same after `city` gave its order: only the city and the neighbours an
// order reaches can have changed, so a game without panels checks those alone
// (in the same order); one with panels announces every city as before.
void RefreshAfterOrder(Game& game, int city);

}  // namespace tarvex
