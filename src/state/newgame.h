// How a game comes into being: the settings screen, the new game, the prices.
#pragma once

#include <string>

#include "state/game.h"

namespace tarvex {

inline constexpr int kKeyF1 = 112;

// Defaults of the settings screen, then shows it.
void SetDefaultSettings(Game& game);
// Settings screen events.
void SetGame_Form_Load(Game& game);
void SetGame_Check1_Click(Game& game, int value);
void SetGame_Option1_Click(Game& game, int index);
void SetGame_Text1_Change(Game& game, const std::string& text);
void SetGame_Text1_GotFocus(Game& game);
// Accept: applies the settings and closes the screen. The window layer then
// shows the main window, loading it (Form1_Form_Load) on the first accept.
void SetGame_Command1_Click(Game& game);
void SetGame_Command2_Click(Game& game);
void SetGame_cmdSetGameHelp_Click(Game& game);
// Keys seen by the settings screen first (game key codes).
void SetGame_Form_KeyDown(Game& game, int key);
// The frame's close box: before the first accept there is no game, so the program ends.
void SetGame_Form_Close(Game& game);

// The main window's start: window set-up, a new game, the first headline.
void Form1_Form_Load(Game& game);
void NewGame(Game& game);
void DrawPrices(Game& game);
// Shows the three prices in the market box.
void ShowPrices(Game& game);
// Year & "年目の" & season name.
std::string SeasonCaption(const Game& game);
void SetMainCaption(Game& game);

}  // namespace tarvex
