// The order "2.戦闘": an attack on a neighbouring city of another owner.
#include "screens/orders/attack.h"

#include <algorithm>

#include "rules/orders/order.h"
#include "rules/port/screen.h"
#include "rules/turn/messages.h"
#include "rules/world/numbers.h"
#include "screens/orders/panels.h"

namespace tarvex {

bool PrepareAttack(Session& game, int city) {
    const City& c = game.Cities[city];
    auto& shown = game.shown.main;
    game.TargetCount = 0;
    shown.targets.clear();
    shown.targetSelected = -1;
    for (int i : OrderTargets(game, city, kAttack)) {
        game.TargetList[game.TargetCount++] = i;
        shown.targets.push_back(game.Cities[i].Name);
    }
    // The campaign needs as much food and gold as troops: offer the most that can go.
    const std::string most = Str(std::min({c.Food, c.Gold, c.Troops}));
    shown.orderAmounts = {most, most, most};
    if (const auto refusal = CheckOrderOpens(game, city, kAttack)) {
        Tell(game, refusal->text);
        return false;
    }
    shown.targetSelected = 0;
    return true;
}

bool ConfirmAttack(Session& game, int target) {
    Question confirm;
    confirm.text = game.shown.main.panels[target].name + "へ攻める";
    return game.screen->Ask(game, confirm) == Answer::Ok;
}

bool ExecuteAttack(Session& game, int city) { return GiveOrderFromPanel(game, kAttack, city); }

}  // namespace tarvex
