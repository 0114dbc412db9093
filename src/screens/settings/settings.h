// The settings screen: the player's nation, the message speed, Enter to advance,
// and how well the computer plays a new game.
#pragma once

#include <string>
#include <vector>

#include "screens/session/session.h"

namespace tarvex {

// One entry of the nation chooser under the name box.
struct NationEntry {
    int nation = 0;     // 1..34; 0 for watching the computer play itself
    std::string name;   // what choosing it puts in the name box: the bare name, empty for watching
    std::string label;  // what the list shows: "イングランド王国（3都市）"
};

// Watching first, then the 34 nations in the order of the map, each with the
// cities it holds when a game begins.
std::vector<NationEntry> NationChoices();
// Whether a name is one of the game's nations.
bool NamesANation(const Game& game, const std::string& name);

// Defaults of the settings screen, then shows it.
void SetDefaultSettings(Session& game);
// Settings screen events.
void OpenSettingsScreen(Session& game);
void SetEnterAdvance(Session& game, int value);
void ChooseMessageSpeed(Session& game, int index);
// "コンピュータの強さ": a level 1..3 for the new game; nothing once a game runs.
void ChooseStrength(Session& game, int level);
void TypeNationName(Session& game, const std::string& text);
void FocusNationName(Session& game);
// Accept: applies the settings and closes the screen. The window layer then
// shows the main window, loading it (StartGame) on the first accept. A name that
// is no nation is asked about first; Cancel leaves the screen open at the name.
void AcceptSettings(Session& game);
void RestoreDefaultSettings(Session& game);
void ShowSettingsHelp(Session& game);
// Keys seen by the settings screen first (game key codes).
void PressSettingsKey(Session& game, int key);
// The frame's close box: before the first accept there is no game, so the program ends.
void CloseSettings(Session& game);

}  // namespace tarvex
