// The autosave: at every season's start the game is also written to "Autosave.dt"
// and its chronicle beside the save file, never in the save's place;
// "オートセーブから再開" loads it as a save is loaded.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

// Writes the autosave when the season's start allows saving and the screen keeps one.
// Silent when it works; a failure is told once a run, and the last autosave stays as it was.
void Autosave(Session& game);
// "オートセーブから再開": the same checks and messages as "ロード(&L)".
void LoadAutosave(Session& game);

}  // namespace tarvex
