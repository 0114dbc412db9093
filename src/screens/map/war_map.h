// What the map shows of the war: who holds each city's land, the player's nation,
// the city giving its order and the battle being fought.
#pragma once

#include <array>
#include <string>

#include "screens/session/session.h"

namespace tarvex {

struct WarMapShown {
    std::array<int, kCityCount + 1> nation{};  // the owner of each city, 1..34; 0 when no nation has that name
    int playerNation = 0;                      // 0 when the player leads no nation
    int actingCity = 0;                        // the city whose turn it is, 0 for none
    int battleFrom = 0;                        // attacking and defending city while a battle lasts
    int battleTo = 0;
    std::array<std::string, kCityCount + 1> landName{};  // "ロンドン（イングランド）": city and owner
    std::array<bool, kCityCount + 1> delegated{};        // the player's cities he has handed to the computer
};

// The war map as the game stands now: owners are read from the cities themselves,
// so a conquest, an event, a load or a new player nation shows at once.
WarMapShown ShownWarMap(const Session& game);

// "全体地図(&W)": shows or hides the small map of the whole of Europe.
void ToggleOverview(Session& game);

}  // namespace tarvex
