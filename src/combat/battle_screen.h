// What the battle screen shows and how its buttons, keys and menus drive the battle.
#pragma once

#include "state/game.h"

namespace tarvex {

void ShowBattleState(Game& game);
void frmCombat_Form_Load(Game& game);
void frmCombat_com_Click(Game& game, int index);
void frmCombat_cmdComOk_Click(Game& game);
// Game key codes; keypad 1..5 choose a tactic before the choice, other keys say "エラー".
void frmCombat_Form_KeyDown(Game& game, int key);
void frmCombat_mnuNation_Click(Game& game);
void frmCombat_mnuCombatQuit_Click(Game& game);
// Width in twips of a morale bar inside its box of `boxWidth`.
int MoraleBarWidth(int morale, int boxWidth);

}  // namespace tarvex
