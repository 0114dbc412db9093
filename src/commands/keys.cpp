// Keyboard control of the main window: Enter, the keypad digits and point, the arrows. (placeholder until built)
#include "commands/keys.h"

namespace tarvex {

int Form1_Form_KeyDown(Game&, int) { return 0; }
void FocusNextAmount(Game&, int) {}
void SelectNextTarget(Game&, int) {}

}  // namespace tarvex
