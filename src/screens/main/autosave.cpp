// The autosave beside the save file, written at every season's start.
#include "screens/main/autosave.h"

#include <optional>
#include <string>

#include "rules/port/screen.h"
#include "rules/save/savefile.h"
#include "rules/turn/messages.h"

namespace tarvex {

void Autosave(Session& game) {
    if (!game.TurnStart || !game.shown.main.loaded) return;
    const std::string path = game.screen->AutosavePath(game);
    if (path.empty()) return;
    // The save's own pair writer: the computer's levels and the chronicle first, then the save, under its lock.
    bool trimmed = false;
    std::string kept;
    const std::optional<std::string> problem = WriteSavePair(path, game, &trimmed, {}, &kept);
    // History dropped or a chronicle kept aside is told each time it happens, as a manual save tells it: rarely.
    const std::string notes = SaveNotes(trimmed, kept);
    if (!problem) {
        if (!notes.empty()) Tell(game, "オートセーブしました" + notes);
        return;
    }
    // Once is enough: a box every season would stop a watched game each time.
    if (game.shown.main.autosaveFailureTold) {
        if (!notes.empty()) Tell(game, notes.substr(1));
        return;
    }
    game.shown.main.autosaveFailureTold = true;
    Tell(game, "オートセーブできませんでした: " + *problem + notes);
}

void LoadAutosave(Session& game) {
    const std::string path = game.screen->AutosavePath(game);
    if (path.empty()) return;
    if (LoadGame(game, path)) game.shown.main.activePanel = Panel::IdlePanel;
}

}  // namespace tarvex
