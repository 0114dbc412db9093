// The numbers beside an order: the city's stock, the target's, the odds of an attack.
#include "screens/orders/order_info.h"

#include <optional>

#include "rules/combat/odds.h"
#include "rules/combat/tables.h"
#include "rules/turn/cycle.h"
#include "rules/world/numbers.h"
#include "screens/orders/move.h"

namespace tarvex {

namespace {

// "約62%", never a flat 0 or 100 for a battle that can still go either way.
std::string Share(const AttackOdds& odds) { return ShareText(odds.wins, odds.runs); }

void ShowOdds(const Session& game, const City& c, int target, OrderNumbers& n) {
    const std::optional<int> troops = ParseFlooredAmount(game.shown.main.orderAmounts[0]);
    if (!troops || *troops < 1 || *troops > c.Troops) return;
    const AttackOdds habit = EstimateAttack(game, game.CurrentCity, target, *troops);
    // The tactic decides most battles: each of the five, the defender choosing as the computer does.
    int best = 0;
    AttackOdds bestOdds;
    bool anyWins = false;
    for (int t = 1; t <= kTacticCount; ++t) {
        const AttackOdds odds = EstimateBattle(game, {game.CurrentCity, target, *troops, t, kComputersTactic});
        const bool payable = CanPayTactic(c, *troops, t);
        anyWins = anyWins || odds.wins > 0;
        n.oddsEach += (t > 1 ? "\n" : "") + Str(t) + "." + TacticName(t) + " " + Share(odds) +
                      (payable ? "" : "（金か食料が足りません）");
        if (payable && (best == 0 || odds.wins > bestOdds.wins)) {
            best = t;
            bestOdds = odds;
        }
    }
    const AttackOdds& shown = best != 0 ? bestOdds : habit;
    if (!anyWins && habit.wins == 0) {
        n.odds = "勝つ見込み ほぼなし（どの戦法でも）";
    } else if (best != 0) {
        n.odds = "勝つ見込み " + TacticName(best) + "なら" + Share(bestOdds);
        n.oddsHabit = "（いつもの戦法なら" + Share(habit) + "）";
    } else {
        n.odds = "勝つ見込み " + Share(habit) + "（いつもの戦法で）";
    }
    n.oddsLeft = "残る兵 味方 約" + Str(Nearest(shown.attackersLeft)) + "・敵 約" + Str(Nearest(shown.defendersLeft));
}

}  // namespace

OrderNumbers ShownOrderNumbers(const Session& game) {
    OrderNumbers n;
    const Panel panel = game.shown.main.activePanel;
    if (!IsValidCity(game.CurrentCity)) return n;
    const City& c = game.Cities[game.CurrentCity];
    if (panel == Panel::AmountPanel) {
        n.stock = "手持ち　金 " + Str(c.Gold) + "　食料 " + Str(c.Food);
    } else if (panel == Panel::TargetPanel) {
        n.city = c.Name;
        n.troops = Str(c.Troops);
        n.food = Str(c.Food);
        n.gold = Str(c.Gold);
        n.arms = Str(c.Arms);
        if (const int target = SelectedTarget(game)) {
            const City& t = game.Cities[target];
            n.target = t.Name;
            n.owner = t.Owner;
            n.targetTroops = Str(t.Troops);
            n.targetArms = Str(t.Arms);
            n.targetCastle = Str(t.Castle);
            n.targetFood = Str(t.Food);
            if (game.CommandKind == kAttack && target != game.CurrentCity) ShowOdds(game, c, target, n);
        }
    }
    return n;
}

}  // namespace tarvex
