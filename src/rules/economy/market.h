// The market: its prices, the player's food sales and purchases, the computer's food trades.
#pragma once

#include "rules/world/game.h"

namespace tarvex {

// The prices DrawPrices can draw, in tenths: food 0.4 to 2.3, troops 2.1 to 7.0,
// arms 5.1 to 10.0. The orders' amounts rely on them (a soldier for next to no
// gold would outnumber the city's own troops), so a save holds nothing else.
inline constexpr double kFoodPriceLowest = 0.4, kFoodPriceHighest = 2.3;
inline constexpr double kTroopsPriceLowest = 2.1, kTroopsPriceHighest = 7.0;
inline constexpr double kArmsPriceLowest = 5.1, kArmsPriceHighest = 10.0;

// The autumn's new prices of food, troops and arms.
void DrawPrices(Game& game);
// The player's sale and purchase of food for `amount` food (gold), already checked (GiveOrder).
void SellFood(Game& game, int city, int amount);
void BuyFood(Game& game, int city, int amount);
bool ComputerBuyFood(Game& game, int city);
bool ComputerSellFood(Game& game, int city);
bool ComputerTradeFood(Game& game, int city);

}  // namespace tarvex
