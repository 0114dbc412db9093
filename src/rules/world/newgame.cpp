// A new game: the calendar's first spring, the starting world, the first prices.
#include "rules/world/newgame.h"

#include "rules/chronicle/chronicle.h"
#include "rules/economy/market.h"
#include "rules/world/refresh.h"
#include "rules/world/scenario.h"

namespace tarvex {

void NewGame(Game& game) {
    game.CurrentCity = 1;
    game.Year = 1;
    game.Title = "Tarvex";
    game.Season = 1;
    game.SeasonNames = {"", "春", "夏", "秋", "冬"};
    game.FoodPrice = 1.0;
    game.ArmsPrice = 1.5;
    game.TroopsPrice = 5.0;
    game.TurnStep = 1;
    game.AdvanceReady = true;
    game.TurnStart = true;
    game.Delegated.fill(false);
    InitCities(game);
    InitNations(game);
    RestartChronicle(game);
    RefreshAllCities(game);
    DrawPrices(game);
}

}  // namespace tarvex
