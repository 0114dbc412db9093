// The stronger computer: the bot's reckoning (rules/ai/bot.h) playing a
// computer nation's cities by the player's orders and within their limits,
// quietly, as the computer's cities play.
#pragma once

#include "rules/world/game.h"

namespace tarvex {

// Battles played for each of the stronger computer's estimates: a season of
// every city's reckoning stays within a couple of milliseconds.
inline constexpr int kStrongOddsRuns = 24;

struct CityPlan;
// The order the city gives at `level` (above the rules' own computer), with
// its tactic for an attack: the bot's plan, its amounts kept within what the city can take.
CityPlan PlanStrongOrder(const Game& game, int city, int level);
// The city's order at `level`, given.
void RunStrongComputerCity(Game& game, int city, int level);
// The tactic `defendCity` defends with against `troops` of `attackCity`, as its
// nation's computer chooses: the rules' own choice (from the game's dice) at the
// first level, the best estimate among what its stores can pay for above it.
int DefenceTactic(Game& game, int defendCity, int attackCity, int troops);

}  // namespace tarvex
