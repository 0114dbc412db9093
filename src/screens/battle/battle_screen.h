// What the battle screen shows and how its buttons, keys and menus drive the battle.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

void OpenBattleScreen(Session& game);
void ChoosePlayerTactic(Session& game, int index);
void FightNextRound(Session& game);
// Game key codes; keypad 1..5 choose a tactic before the choice, other keys say "エラー".
void PressBattleKey(Session& game, int key);
void ShowNationsInBattle(Session& game);
void QuitInBattle(Session& game);
// Width in twips of a morale bar inside its box of `boxWidth`.
int MoraleBarWidth(int morale, int boxWidth);

}  // namespace tarvex
