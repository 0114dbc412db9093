// The player's way out: offers to save first, then asks to end.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

// Ends the program (Ended set; does not come back in the window layer) and
// returns true, or returns false and the game goes on.
bool ConfirmQuit(Session& game);
// "終了(&E)".
void Form1_mnuEnd_Click(Session& game);
// The main window's frame close box: true when the window may close (the program
// is ending), false when the close is cancelled and the game goes on.
bool Form1_QueryUnload(Session& game);

}  // namespace tarvex
