// The order "1.移動": troops, food and gold to a neighbouring city of the same owner.
#include "screens/orders/move.h"

#include "rules/orders/order.h"
#include "rules/turn/messages.h"
#include "rules/world/numbers.h"
#include "screens/orders/panels.h"

namespace tarvex {

bool PrepareMove(Session& game, int city) {
    MainWindowShown& main = game.shown.main;
    main.orderAmounts = {"0", "0", "0"};
    game.TargetCount = 0;
    main.targets.clear();
    main.targetSelected = -1;
    if (city < 1 || city > kCityCount) return false;
    const City& source = game.Cities[city];
    for (int j : OrderTargets(game, city, kMove)) {
        game.TargetList[game.TargetCount++] = j;
        main.targets.push_back(game.Cities[j].Name);
    }
    if (const auto refusal = CheckOrderOpens(game, city, kMove)) {
        Tell(game, refusal->text);
        return false;
    }
    main.targetSelected = 0;
    main.orderAmounts = {Str(source.Troops), Str(source.Food), Str(source.Gold)};
    return true;
}

int SelectedTarget(const Session& game) {
    // The list shows the names of TargetList's cities in its order; two cities
    // of one name are still two places, so the choice goes by its position.
    const int selected = game.shown.main.targetSelected;
    if (selected < 0 || selected >= game.TargetCount || selected >= static_cast<int>(game.shown.main.targets.size()))
        return 0;
    const int city = game.TargetList[selected];
    return IsValidCity(city) ? city : 0;
}

bool ExecuteMove(Session& game, int city) { return GiveOrderFromPanel(game, kMove, city); }

}  // namespace tarvex
