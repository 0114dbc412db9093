// The headless screen's battle: the player's side lets the computer choose.
#include "rules/port/screen.h"

#include "rules/combat/battle.h"

namespace tarvex {

void NullScreen::RunBattleScreen(Game& game) { FightForAbsentPlayer(game); }

}  // namespace tarvex
