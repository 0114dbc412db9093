// The program's end, and the headless screen's battle: the player's side lets the computer choose.
#include "rules/port/screen.h"

#include "rules/combat/battle.h"
#include "rules/world/game.h"

namespace tarvex {

void EndProgramNow(Game& game) {
    game.Ended = true;
    game.screen->EndProgram(game);
    throw ProgramEnded{};
}

void NullScreen::RunBattleScreen(Game& game) { FightForAbsentPlayer(game); }

}  // namespace tarvex
