// The autosave beside the save file, written at every season's start.
#include "screens/main/autosave.h"

#include <optional>

#include "rules/port/screen.h"
#include "rules/save/savefile.h"
#include "rules/turn/messages.h"

namespace tarvex {

void Autosave(Session& game) {
    if (!game.TurnStart || !game.shown.main.loaded) return;
    const std::string path = game.screen->AutosavePath(game);
    if (path.empty()) return;
    // The save's own pair writer: the chronicle first, then the save, under the save's lock.
    const std::optional<std::string> problem = WriteSavePair(path, game);
    if (!problem) return;
    // Once is enough: a box every season would stop a watched game each time.
    if (game.shown.main.autosaveFailureTold) return;
    game.shown.main.autosaveFailureTold = true;
    Tell(game, "オートセーブできませんでした: " + *problem);
}

void LoadAutosave(Session& game) {
    const std::string path = game.screen->AutosavePath(game);
    if (path.empty()) return;
    if (LoadGame(game, path)) game.shown.main.activePanel = Panel::IdlePanel;
}

}  // namespace tarvex
