// Troops, food and gold marching from one city to another.
#pragma once

#include "rules/world/game.h"

namespace tarvex {

// The part of `amount` (0 or more) that can be added to `current` without
// passing `limit`; a value already at or past the limit takes nothing.
int FitUnderLimit(int current, int amount, int limit);
// Soldiers carry their weapons: `to`, where `stayed` soldiers stood and `came`
// soldiers from `from` join them, takes the head-count average armament. Both
// sides count as armed at 1 at least; with nobody there afterwards nothing is averaged.
void MergeArmament(City& from, City& to, int stayed, int came);
struct Shipment {
    int troops = 0;
    int food = 0;
    int gold = 0;
};
// Moves `sent` (within what `from` holds and `to` can take) and the
// armament the marching troops carry.
void MoveBetweenCities(Game& game, int from, int to, const Shipment& sent);

}  // namespace tarvex
