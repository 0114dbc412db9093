// One step of the season: the next city gives its order, or the season ends.
#pragma once

#include "rules/world/game.h"

namespace tarvex {

// What a step did, for whoever shows it.
enum class StepResult {
    SeasonStarted,  // the season ended and the next one began
    CityActed,      // a computer-run city gave its order
    PlayerToOrder,  // one of the player's own cities waits for his order (CurrentCity)
};

// What the OK button, Enter and the timer do to the game, and what the
// simulator repeats: the city at TurnOrder[TurnStep] acts (the order is drawn
// afresh at the season's first step), or, after the last city, the season
// advances. The program's end unwinds with ProgramEnded.
StepResult AdvanceOneStep(Game& game);

}  // namespace tarvex
