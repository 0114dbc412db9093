// The player's way out: offers to save first, then asks to end.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

// Ends the program (EndProgramNow) when the player confirms; otherwise returns
// and the game goes on. The menu's "終了(&E)" and the window's close box both ask so.
void ConfirmQuit(Session& game);
// "終了(&E)".
void QuitFromMenu(Session& game);

}  // namespace tarvex
