// Handing the player's cities to the computer and taking them back.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

void OpenDelegation(Session& game);     // "委任(&I)"
void OpenEndDelegation(Session& game);  // "委任解除(&K)"
void ApplyDelegation(Session& game);    // OK of the delegation panel

// At a season's start: a player whose cities are all delegated would never
// again have a turn of his own, where the delegation menu opens. They come
// back to him, with a box that names them.
void EndStrandedDelegation(Session& game);

}  // namespace tarvex
