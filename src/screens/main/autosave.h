// The autosave: at every season's start the game is also written to "Autosave.dt"
// and its chronicle beside the save file, never in the save's place;
// "オートセーブから再開" loads it as a save is loaded.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

// Starts the autosave when the season's start allows saving and the screen keeps one:
// composed here, written by a thread of its own while the season goes on.
// Silent when it works; a failure is told once a run, and the last autosave stays as it was.
void Autosave(Session& game);
// Waits for the autosave still being written and settles the game's history by it;
// `tell`: a failure (or history dropped) is told now; otherwise the game is ending, and
// an autosave still waiting for another program's hold on its file is given up.
// Nothing when none is running.
void FinishAutosave(Session& game, bool tell);
// "オートセーブから再開": the same checks and messages as "ロード(&L)".
void LoadAutosave(Session& game);

}  // namespace tarvex
