// The numbers beside an order: the city's stock, the target's, the odds of an attack.
#include "screens/orders/order_info.h"

#include <optional>

#include "rules/combat/odds.h"
#include "rules/turn/cycle.h"
#include "rules/world/numbers.h"
#include "screens/orders/move.h"

namespace tarvex {

namespace {

// "約62%", never a flat 0 or 100 for a battle that can still go either way.
std::string Share(const AttackOdds& odds) {
    if (odds.wins == 0) return "ほぼなし";
    if (odds.wins == odds.runs) return "ほぼ確実";
    const int percent = Nearest(100.0 * odds.WinShare());
    if (percent < 1) return "1%未満";
    if (percent > 99) return "99%超";
    return "約" + Str(percent) + "%";
}

void ShowOdds(const Session& game, const City& c, int target, OrderNumbers& n) {
    const std::optional<int> troops = ParseFlooredAmount(game.shown.main.orderAmounts[0]);
    if (!troops || *troops < 1 || *troops > c.Troops) return;
    const AttackOdds odds = EstimateAttack(game, game.CurrentCity, target, *troops);
    n.odds = "勝つ見込み " + Share(odds);
    n.oddsLeft = "残る兵 味方 約" + Str(Nearest(odds.attackersLeft)) + "・敵 約" + Str(Nearest(odds.defendersLeft));
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
