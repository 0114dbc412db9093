// The market: its prices, the player's food sales and purchases, the computer's food trades.
#pragma once

#include "rules/world/game.h"

namespace tarvex {

// The autumn's new prices of food, troops and arms.
void DrawPrices(Game& game);
bool SellFood(Game& game, int city);
bool BuyFood(Game& game, int city);
bool ComputerBuyFood(Game& game, int city);
bool ComputerSellFood(Game& game, int city);
bool ComputerTradeFood(Game& game, int city);

}  // namespace tarvex
