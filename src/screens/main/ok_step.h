// The OK step that moves the game on: the button, Enter and the timers all run it.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

// Lets the next city act, or ends the season. Never re-entered: a call that
// comes while a step is running does nothing.
void TakeNextStep(Session& game);
// The city at TurnOrder[step] acts; the player's own city gets its command menu.
void PlayCityTurn(Session& game, int step);
// The player's city is to give its order: the command menu, and delegation within reach.
void OfferOrders(Session& game);
void StepOnTimer(Session& game);
void ReleaseEnterLock(Session& game);

}  // namespace tarvex
