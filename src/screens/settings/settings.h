// The settings screen: the player's nation, the message speed, Enter to advance.
#pragma once

#include <string>

#include "screens/session/session.h"

namespace tarvex {

// Defaults of the settings screen, then shows it.
void SetDefaultSettings(Session& game);
// Settings screen events.
void SetGame_Form_Load(Session& game);
void SetGame_Check1_Click(Session& game, int value);
void SetGame_Option1_Click(Session& game, int index);
void SetGame_Text1_Change(Session& game, const std::string& text);
void SetGame_Text1_GotFocus(Session& game);
// Accept: applies the settings and closes the screen. The window layer then
// shows the main window, loading it (Form1_Form_Load) on the first accept.
void SetGame_Command1_Click(Session& game);
void SetGame_Command2_Click(Session& game);
void SetGame_cmdSetGameHelp_Click(Session& game);
// Keys seen by the settings screen first (game key codes).
void SetGame_Form_KeyDown(Session& game, int key);
// The frame's close box: before the first accept there is no game, so the program ends.
void SetGame_Form_Close(Session& game);

}  // namespace tarvex
