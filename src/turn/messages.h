// The three message lines that pace the game, and the end-of-game notice.
#pragma once

#include <string>

#include "state/game.h"

namespace tarvex {

// Headline on line 1; hides lines 2 and 3. Holds the game for MessageWait.
void ShowMsg(Game& game, const std::string& text);
// Result on line 2, made visible; line 3 unchanged.
void ShowMsg2(Game& game, const std::string& text);
// Second report line on line 3, made visible.
void ShowMsg3(Game& game, const std::string& text);
// "終了です", then the program ends. In headless runs it returns with Ended set.
void EndGame(Game& game);

}  // namespace tarvex
