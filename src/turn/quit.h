// The player's way out: offers to save first, then asks to end.
#pragma once

#include "state/game.h"

namespace tarvex {

// Ends the program (Ended set; does not return in the window layer) or returns false.
bool ConfirmQuit(Game& game);
// "終了(&E)".
void Form1_mnuEnd_Click(Game& game);
// The main window's frame close box: true when the window may close.
bool Form1_QueryUnload(Game& game);

}  // namespace tarvex
