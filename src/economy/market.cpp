// The food market: the player's sales and purchases and the computer's food trades. (placeholder until built)
#include "economy/market.h"

namespace tarvex {

bool SellFood(Game&, int) { return false; }
bool BuyFood(Game&, int) { return false; }
bool ComputerBuyFood(Game&, int) { return false; }
bool ComputerSellFood(Game&, int) { return false; }
bool ComputerTradeFood(Game&, int) { return false; }
int FitUnderLimit(int, int, int) { return 0; }

}  // namespace tarvex
