// The autosave beside the save file, written at every season's start.
#include "screens/main/autosave.h"

#include <optional>
#include <string>
#include <utility>

#include "rules/port/screen.h"
#include "rules/save/savefile.h"
#include "rules/turn/messages.h"

namespace tarvex {

namespace {

// Silent when it works; history dropped or a chronicle kept aside is told each time it
// happens, as a manual save tells it: rarely.
void TellOutcome(Session& game, const SavePairOutcome& outcome) {
    const std::string notes = SaveNotes(outcome.trimmed, outcome.keptAt);
    if (!outcome.problem) {
        if (!notes.empty()) Tell(game, "オートセーブしました" + notes);
        return;
    }
    // Once is enough: a box every season would stop a watched game each time.
    if (game.shown.main.autosaveFailureTold) {
        if (!notes.empty()) Tell(game, notes.substr(1));
        return;
    }
    game.shown.main.autosaveFailureTold = true;
    Tell(game, "オートセーブできませんでした: " + *outcome.problem + notes);
}

}  // namespace

void Autosave(Session& game) {
    if (!game.TurnStart || !game.shown.main.loaded) return;
    const std::string path = game.screen->AutosavePath(game);
    if (path.empty()) return;
    // The last season's, should the disk still hold it up.
    FinishAutosave(game, true);
    // The window's part is the save's bytes, the computer's levels and a copy of the history;
    // the disk's is the writer's: the levels and the chronicle first, then the save, under its lock.
    SavePairJob job;
    if (auto problem = ComposeSavePair(path, game, job)) {
        SavePairOutcome refused;
        refused.problem = problem;
        TellOutcome(game, refused);
        return;
    }
    game.autosaveWriter.Start(std::move(job));
}

void FinishAutosave(Session& game, bool tell) {
    std::optional<BackgroundPairWriter::Finished> finished = game.autosaveWriter.Finish(!tell);
    if (!finished) return;
    SettleSavePair(game, finished->job, finished->outcome);
    if (tell) TellOutcome(game, finished->outcome);
}

void LoadAutosave(Session& game) {
    const std::string path = game.screen->AutosavePath(game);
    if (path.empty()) return;
    if (LoadGame(game, path)) game.shown.main.activePanel = Panel::IdlePanel;
}

}  // namespace tarvex
