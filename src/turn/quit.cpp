// The player's way out: offers to save first, then asks to end. (placeholder until built)
#include "turn/quit.h"

namespace tarvex {

bool ConfirmQuit(Game&) { return false; }
void Form1_mnuEnd_Click(Game&) {}
bool Form1_QueryUnload(Game&) { return false; }

}  // namespace tarvex
