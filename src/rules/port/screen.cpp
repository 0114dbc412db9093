// The program's end, a wait for the save without a window, and the headless screen's battle: the
// player's side lets the computer choose.
#include "rules/port/screen.h"

#include <chrono>
#include <thread>

#include "rules/combat/battle.h"
#include "rules/world/game.h"

namespace tarvex {

void EndProgramNow(Game& game) {
    game.Ended = true;
    // The autosave on disk is whole, and older than the end the screen notes.
    game.FinishBackgroundSaves(false);
    game.screen->EndProgram(game);
    throw ProgramEnded{};
}

bool Screen::WaitForSave(Game&, double) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return true;
}

void NullScreen::RunBattleScreen(Game& game) { FightForAbsentPlayer(game); }

}  // namespace tarvex
