// The game's own key codes, as the window layer translates Qt's keys into them.
#pragma once

namespace tarvex {

inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyPad0 = 96;  // keypad 0..9 are 96..105
inline constexpr int kKeyPadPoint = 110;
inline constexpr int kKeyF1 = 112;

// The keypad key of digit 0..9.
constexpr int KeyPad(int digit) { return kKeyPad0 + digit; }
inline constexpr int kKeyPad1 = KeyPad(1);
// The digit 0..9 of a keypad key, or -1 for any other key.
constexpr int KeyPadDigit(int key) { return key >= KeyPad(0) && key <= KeyPad(9) ? key - kKeyPad0 : -1; }

}  // namespace tarvex
