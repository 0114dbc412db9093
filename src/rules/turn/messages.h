// The three message lines that pace the game, and the end-of-game notice.
#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

#include "rules/world/game.h"

namespace tarvex {

// How long a posting holds the game, in seconds, by the settings' message speed 0..3.
inline constexpr std::array<double, 4> kMessageWaits{0.1, 0.2, 0.5, 1.0};

// Headline on line 1; hides lines 2 and 3. Holds the game for MessageWait.
void ShowMsg(Game& game, const std::string& text);
// Result on line 2, made visible; line 3 unchanged.
void ShowMsg2(Game& game, const std::string& text);
// Second report line on line 3, made visible.
void ShowMsg3(Game& game, const std::string& text);
// The same, the text given in pieces that are joined in the line itself: the line
// keeps its room, and the messages every city gives every season allocate
// nothing. No piece may be a message line's own text.
void ShowMsg(Game& game, std::initializer_list<std::string_view> pieces);
void ShowMsg2(Game& game, std::initializer_list<std::string_view> pieces);
void ShowMsg3(Game& game, std::initializer_list<std::string_view> pieces);
// "終了です", then the program ends (EndProgramNow: nothing after it runs).
[[noreturn]] void EndGame(Game& game);
// A box with an OK button and the application's own title.
void Tell(Game& game, const std::string& text);

}  // namespace tarvex
