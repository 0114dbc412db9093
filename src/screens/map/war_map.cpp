// The war map's state, read from the game.
#include "screens/map/war_map.h"

namespace tarvex {

WarMapShown ShownWarMap(const Session& game) {
    WarMapShown map;
    map.playerNation = NationIndex(game, game.PlayerNation);
    for (int city = 1; city <= kCityCount; ++city) {
        const City& c = game.Cities[city];
        map.nation[city] = NationIndex(game, c.Owner);
        map.landName[city] = c.Owner.empty() ? c.Name : c.Name + "（" + c.Owner + "）";
        // A city lost while delegated keeps its flag; the mark is only for what he still holds.
        map.delegated[city] = game.Delegated[city] && IsPlayers(game, city);
    }
    if (IsValidCity(game.shown.main.actingCity)) map.actingCity = game.shown.main.actingCity;
    const BattleState& b = game.Battle;
    if (!b.BattleOver && IsValidCity(b.AttackCity) && IsValidCity(b.DefendCity) && b.AttackCity != b.DefendCity) {
        map.battleFrom = b.AttackCity;
        map.battleTo = b.DefendCity;
    }
    return map;
}

void ToggleOverview(Session& game) { game.shown.main.overviewVisible = !game.shown.main.overviewVisible; }

}  // namespace tarvex
