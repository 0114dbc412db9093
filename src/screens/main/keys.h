// Keyboard control of the main window: Enter, the keypad digits and point, the arrows.
#pragma once

#include "screens/session/keycodes.h"
#include "screens/session/session.h"

namespace tarvex {

// The main window sees every key first. Returns the key code that goes on to
// the focused control: 0 when the key is swallowed.
int PressMainWindowKey(Session& game, int key);

}  // namespace tarvex
