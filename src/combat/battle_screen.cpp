// What the battle screen shows and how its buttons, keys and menus drive the battle. (placeholder until built)
#include "combat/battle_screen.h"

namespace tarvex {

void ShowBattleState(Game&) {}
void frmCombat_Form_Load(Game&) {}
void frmCombat_com_Click(Game&, int) {}
void frmCombat_cmdComOk_Click(Game&) {}
void frmCombat_Form_KeyDown(Game&, int) {}
void frmCombat_mnuNation_Click(Game&) {}
void frmCombat_mnuCombatQuit_Click(Game&) {}
int MoraleBarWidth(int, int) { return 0; }

}  // namespace tarvex
