// The food market: the player's sales and purchases and the computer's food trades.
#pragma once

#include "state/game.h"

namespace tarvex {

bool SellFood(Game& game, int city);
bool BuyFood(Game& game, int city);
bool ComputerBuyFood(Game& game, int city);
bool ComputerSellFood(Game& game, int city);
bool ComputerTradeFood(Game& game, int city);
// The part of `amount` that can be added to `current` without passing `limit`.
int FitUnderLimit(int current, int amount, int limit);

}  // namespace tarvex
