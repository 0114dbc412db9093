// Keyboard control of the main window: Enter, the keypad digits and point, the arrows.
#pragma once

#include "state/game.h"

namespace tarvex {

inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyPad1 = 97;   // keypad 1..6 are 97..102
inline constexpr int kKeyPadPoint = 110;

// The main window sees every key first. Returns the key code that goes on to
// the focused control: 0 when the key is swallowed.
int Form1_Form_KeyDown(Game& game, int key);
void FocusNextAmount(Game& game, int key);
void SelectNextTarget(Game& game, int key);

}  // namespace tarvex
