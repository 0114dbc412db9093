// Watching without a hand: a game the player commands no city of presses its own
// OK ("自動で進める"), the automatic steps pause and go on, the message speed changes.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

// No city is the player's to command: he watches, or has delegated or lost them all.
bool CommandsNoCity(const Game& game);
// The game presses its own OK now: "自動で進める" is on, nothing is paused and no city is his.
bool PlaysItself(const Session& game);
// How long a box that only informs (an event, a notice) stays before a game that
// plays itself presses its OK: a few messages' time, a second at least.
double OwnOkSeconds(const Game& game);
// The step timer ticks: for the steps within a season, or for a game that plays itself.
bool StepTimerRuns(const Session& game);
// "自動で進める".
void ToggleAutoPlay(Session& game);
// Space or Pause: the automatic steps stand still, or go on.
void TogglePause(Session& game);
// The speeds of the settings screen, chosen during the game; the next message line holds so long.
void ChooseSpeedInGame(Session& game, int index);

}  // namespace tarvex
