// What the battle screen shows and how its buttons, keys and menus drive the battle.
#include "screens/battle/battle_screen.h"

#include <algorithm>

#include "rules/combat/battle.h"
#include "rules/combat/odds.h"
#include "rules/combat/tables.h"
#include "rules/port/screen.h"
#include "rules/turn/messages.h"
#include "rules/world/numbers.h"
#include "screens/session/keycodes.h"

namespace tarvex {

namespace {

void ShowTactics(Session& game) {
    game.shown.battle.attacker[0] = TacticName(game.Battle.AttackTactic);
    game.shown.battle.defender[0] = TacticName(game.Battle.DefendTactic);
}

// Each tactic's chance for the player's side, from what he has been shown: in
// his attack the defender's tactic is hidden and reckoned as the computer
// chooses; in his defence the attacker's has been announced.
void ShowTacticOdds(Session& game) {
    BattleShown& s = game.shown.battle;
    const BattleState& b = game.Battle;
    const bool defending = IsPlayers(game, b.DefendCity);
    const City& own = game.Cities[defending ? b.DefendCity : b.AttackCity];
    for (int t = 1; t <= kTacticCount; ++t) {
        const BattlePlan plan{b.AttackCity, b.DefendCity, b.AttackTroops, defending ? b.AttackTactic : t,
                              defending ? t : kComputersTactic};
        const AttackOdds odds = EstimateBattle(game, plan);
        const int wins = defending ? odds.runs - odds.wins : odds.wins;
        // A defence the city cannot pay for is refused; an attack is paid whatever it costs.
        const bool refused = defending && !CanPayTactic(own, own.Troops, t);
        s.tacticOdds[t - 1] = odds.runs == 0 ? std::string() : refused ? "払えない" : ShareText(wins, odds.runs);
    }
    s.oddsNote = defending ? "守りきる見込み（敵の" + TacticName(b.AttackTactic) + "に対して）"
                           : "勝つ見込み（相手の戦法はコンピュータの選び方で）";
}

// Beside "エラー": what the key could not do.
void SayWhatIsMissing(Session& game) {
    game.shown.battle.missing =
        game.shown.battle.tacticsEnabled ? "態勢を 1〜5 で選んでください" : "OK（Enter）で戦いを進めてください";
}

}  // namespace

void OpenBattleScreen(Session& game) {
    BattleShown& s = game.shown.battle;
    s.open = true;
    s.tacticsEnabled = true;
    s.okEnabled = false;
    // The tactic fields stay blank ("0") until the player has chosen.
    s.attacker[0] = "0";
    s.defender[0] = "0";
    s.missing.clear();
    StartBattle(game);
    ShowTacticOdds(game);
}

void ChoosePlayerTactic(Session& game, int index) {
    if (index < 0 || index >= kTacticCount) {
        SayWhatIsMissing(game);
        Tell(game, "エラー");
        return;
    }
    BattleShown& s = game.shown.battle;
    if (!s.tacticsEnabled) return;  // the tactic is chosen once for the whole battle
    if (!TakePlayerSideTactic(game, index + 1)) return;
    s.tacticsEnabled = false;
    s.okEnabled = true;
    s.missing.clear();
    ShowTactics(game);
}

void FightNextRound(Session& game) {
    if (!game.shown.battle.okEnabled || game.Battle.BattleOver) return;
    FightRound(game);
    // The battle is over: the screen closes and the main window is back in front.
    if (game.Battle.BattleOver) game.shown.battle.open = false;
}

void PressBattleKey(Session& game, int key) {
    const int digit = KeyPadDigit(key);
    if (digit >= 1 && digit <= kTacticCount) {
        if (game.shown.battle.tacticsEnabled) ChoosePlayerTactic(game, digit - 1);
        return;
    }
    // Enter is the OK key everywhere in the game; without it a battle could
    // not be fought to its end from the keyboard. Before the tactic is chosen
    // there is no round to fight, and Enter is an error like any other key.
    if (key == kKeyEnter && game.shown.battle.okEnabled) {
        FightNextRound(game);
        return;
    }
    SayWhatIsMissing(game);
    Tell(game, "エラー");
}

void ShowNationsInBattle(Session& game) { game.screen->ShowNationScreen(game, true); }

void QuitInBattle(Session& game) {
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
