// What the battle screen shows and how its buttons, keys and menus drive the battle.
#include "combat/battle_screen.h"

#include <algorithm>

#include "combat/battle.h"
#include "combat/tables.h"
#include "state/numbers.h"
#include "state/screen.h"
#include "turn/messages.h"

namespace tarvex {

namespace {

constexpr int kEnter = 13;
constexpr int kKeypad1 = 97;
constexpr int kKeypad5 = 101;

void ShowTactics(Game& game) {
    game.shown.battle.lblAt[0] = TacticName(game.Battle.AttackTactic);
    game.shown.battle.lblDef[0] = TacticName(game.Battle.DefendTactic);
}

}  // namespace

void ShowBattleState(Game& game) {
    BattleState& b = game.Battle;
    City& attacker = game.Cities[b.AttackCity];
    City& defender = game.Cities[b.DefendCity];
    // A side cannot fall below nothing.
    b.AttackMorale = std::max(b.AttackMorale, 0);
    b.DefendMorale = std::max(b.DefendMorale, 0);
    b.AttackTroops = std::max(b.AttackTroops, 0);
    defender.Troops = std::max(defender.Troops, 0);

    BattleShown& s = game.shown.battle;
    s.lblAt[1] = Str(b.AttackMorale);
    s.lblAt[2] = Str(b.AttackTroops);
    s.lblAt[3] = attacker.Owner;
    s.lblAt[4] = attacker.Name;
    s.lblDef[1] = Str(b.DefendMorale);
    s.lblDef[2] = Str(defender.Troops);
    s.lblDef[3] = defender.Owner;
    s.lblDef[4] = defender.Name;
}

void frmCombat_Form_Load(Game& game) {
    BattleShown& s = game.shown.battle;
    s.open = true;
    s.comEnabled = true;
    s.okEnabled = false;
    // The tactic fields stay blank ("0") until the player has chosen.
    s.lblAt[0] = "0";
    s.lblDef[0] = "0";
    StartBattle(game);
}

void frmCombat_com_Click(Game& game, int index) {
    if (index < 0 || index >= kTacticCount) {
        game.screen->Message(game, "エラー", "");
        return;
    }
    BattleShown& s = game.shown.battle;
    if (!s.comEnabled) return;  // the tactic is chosen once for the whole battle
    BattleState& b = game.Battle;
    const int tactic = index + 1;
    const bool playerDefends = game.Cities[b.DefendCity].Owner == game.PlayerNation;
    if (playerDefends) {
        // The defence is paid from the city's own stores: refuse what it cannot afford.
        const City& city = game.Cities[b.DefendCity];
        const double cost = TacticTable[6][tactic] * city.Troops / 100.0;
        if (cost > city.Gold) {
            game.screen->Message(game, "金が足りません", "");
            return;
        }
        if (cost > city.Food) {
            game.screen->Message(game, "米がたりません", "");
            return;
        }
        b.DefendTactic = tactic;
        SplitForSiege(game);
    } else {
        SetAttackTactic(game, index);
    }
    s.comEnabled = false;
    s.okEnabled = true;
    ShowTactics(game);
}

void frmCombat_cmdComOk_Click(Game& game) {
    if (!game.shown.battle.okEnabled || game.Battle.BattleOver) return;
    FightRound(game);
}

void frmCombat_Form_KeyDown(Game& game, int key) {
    if (key >= kKeypad1 && key <= kKeypad5) {
        if (game.shown.battle.comEnabled) frmCombat_com_Click(game, key - kKeypad1);
        return;
    }
    // Enter is the OK key everywhere in the game; without it a battle could
    // not be fought to its end from the keyboard. Before the tactic is chosen
    // there is no round to fight, and Enter is an error like any other key.
    if (key == kEnter && game.shown.battle.okEnabled) {
        frmCombat_cmdComOk_Click(game);
        return;
    }
    game.screen->Message(game, "エラー", "");
}

void frmCombat_mnuNation_Click(Game& game) { game.screen->ShowNationScreen(game, true); }

void frmCombat_mnuCombatQuit_Click(Game& game) {
    Question q;
    q.text = "ゲーム全体を強制終了します。セーブはされません";
    q.defaultButton = Answer::Cancel;
    q.warning = true;
    if (game.screen->Ask(game, q) != Answer::Ok) return;
    game.shown.battle.open = false;
    EndGame(game);
}

int MoraleBarWidth(int morale, int boxWidth) {
    if (boxWidth <= 0) return 0;
    const int width = Nearest(boxWidth / 100.0 * morale);
    return std::clamp(width, 0, boxWidth);
}

}  // namespace tarvex
