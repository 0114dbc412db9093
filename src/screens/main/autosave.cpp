// The autosave beside the save file, written at every season's start.
#include "screens/main/autosave.h"

#include <optional>

#include "rules/chronicle/chronicle_file.h"
#include "rules/port/screen.h"
#include "rules/save/savefile.h"
#include "rules/turn/messages.h"

namespace tarvex {

namespace {

// A save and its chronicle, each written whole beside the old one by the save's own writer.
std::optional<std::string> WriteSaveWithChronicle(const std::string& path, const Game& game) {
    if (auto problem = WriteGameFile(path, game)) return problem;
    return WriteChronicleFile(ChroniclePath(path), game);
}

}  // namespace

void Autosave(Session& game) {
    if (!game.TurnStart || !game.shown.main.loaded) return;
    const std::string path = game.screen->AutosavePath(game);
    if (path.empty()) return;
    const std::optional<std::string> problem = WriteSaveWithChronicle(path, game);
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
