// The settings screen: the player's nation, the message speed, Enter to advance.
#pragma once

#include <string>

#include "screens/session/session.h"

namespace tarvex {

// Defaults of the settings screen, then shows it.
void SetDefaultSettings(Session& game);
// Settings screen events.
void OpenSettingsScreen(Session& game);
void SetEnterAdvance(Session& game, int value);
void ChooseMessageSpeed(Session& game, int index);
void TypeNationName(Session& game, const std::string& text);
void FocusNationName(Session& game);
// Accept: applies the settings and closes the screen. The window layer then
// shows the main window, loading it (StartGame) on the first accept.
void AcceptSettings(Session& game);
void RestoreDefaultSettings(Session& game);
void ShowSettingsHelp(Session& game);
// Keys seen by the settings screen first (game key codes).
void PressSettingsKey(Session& game, int key);
// The frame's close box: before the first accept there is no game, so the program ends.
void CloseSettings(Session& game);

}  // namespace tarvex
