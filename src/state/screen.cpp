// The headless screen's answers to the modal windows.
#include "state/screen.h"

#include "combat/battle.h"
#include "combat/battle_screen.h"
#include "events/seasonal.h"
#include "state/game.h"

namespace tarvex {

void NullScreen::RunBattleScreen(Game& game) {
    frmCombat_Form_Load(game);
    // The player's side is given the computer's own choice of tactic.
    const bool playerDefends = IsPlayers(game, game.Battle.DefendCity) &&
                               !IsPlayerRun(game, game.Battle.AttackCity);
    const int tactic = playerDefends ? ChooseTactic(game, game.Battle.DefendCity, game.Battle.AttackCity)
                                     : ChooseTactic(game, game.Battle.AttackCity, game.Battle.DefendCity);
    frmCombat_com_Click(game, tactic - 1);
    if (game.shown.battle.comEnabled) frmCombat_com_Click(game, 4);  // refused: defend, which costs nothing
    for (int guard = 0; guard < 16 && game.shown.battle.open && !game.Ended; ++guard) frmCombat_cmdComOk_Click(game);
}

void NullScreen::RunEventWindow(Game& game) { frmEvent_Command1_Click(game); }

}  // namespace tarvex
