// What the battle screen shows and how its buttons, keys and menus drive the battle.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

void frmCombat_Form_Load(Session& game);
void frmCombat_com_Click(Session& game, int index);
void frmCombat_cmdComOk_Click(Session& game);
// Game key codes; keypad 1..5 choose a tactic before the choice, other keys say "エラー".
void frmCombat_Form_KeyDown(Session& game, int key);
void frmCombat_mnuNation_Click(Session& game);
void frmCombat_mnuCombatQuit_Click(Session& game);
// Width in twips of a morale bar inside its box of `boxWidth`.
int MoraleBarWidth(int morale, int boxWidth);

}  // namespace tarvex
