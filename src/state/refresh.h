// Brings a city's map panel up to date and reports values out of range.
#pragma once

#include "state/game.h"

namespace tarvex {

// Reports any value above 999 (and gold or food below 0) in a box, without
// changing it, then rewrites the city's panel and ownership colour.
void RefreshCity(Game& game, int city);
// RefreshCity for 1..75 in order.
void RefreshAllCities(Game& game);

}  // namespace tarvex
