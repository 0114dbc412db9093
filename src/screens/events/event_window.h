// The event window: the autumn's chance event, line by line, until its OK.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

// The window opens on the lines of Game::EventLines.
void OpenEventWindow(Session& game);
// OK: the window closes; the event then shows every city as it left it.
void CloseEventWindow(Session& game);

}  // namespace tarvex
