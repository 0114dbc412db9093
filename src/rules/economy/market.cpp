// The market: its prices, the player's food sales and purchases, the computer's food trades.
#include "rules/economy/market.h"

#include "rules/turn/messages.h"
#include "rules/world/march.h"
#include "rules/world/numbers.h"

namespace tarvex {

namespace {

// The computer's sale keeps half the troops' food and one unit more.
int SurplusFood(const City& c) { return Nearest(c.Food - c.Troops / 2.0 - 1); }

}  // namespace

void DrawPrices(Game& game) {
    game.FoodPrice = Floor(Rnd(game) * 20 + 1) / 10.0 + 0.3;
    game.TroopsPrice = Floor(Rnd(game) * 50 + 1) / 10.0 + 2;
    game.ArmsPrice = Floor(Rnd(game) * 50 + 1) / 10.0 + 5;
}

void SellFood(Game& game, int city, int amount) {
    City& c = game.Cities[city];
    const double price = game.FoodPrice;
    int gold = Nearest(amount * price);
    if (c.Gold + gold > kMaxValue) {
        gold = kMaxValue - c.Gold;
        Tell(game, "一部返金します");
    }
    // The food taken is worked back from the gold paid, so a capped sale takes less.
    c.Food = Nearest(c.Food - gold / price);
    NoNegative(c.Food);
    c.Gold += gold;
    // A computer's sale, by the player's order, reads as the computer's own.
    ShowMsg2(game, {c.Name, IsPlayers(game, city) ? "で食料を換金されました" : "で食料の換金がされました"});
}

void BuyFood(Game& game, int city, int amount) {
    City& c = game.Cities[city];
    const double price = game.FoodPrice;
    int food = Nearest(amount / price);
    if (c.Food + food > kMaxValue) {
        food = kMaxValue - c.Food;
        Tell(game, "一部返品します");
    }
    // The gold paid is worked back from the food received.
    c.Gold = Nearest(c.Gold - food * price);
    NoNegative(c.Gold);
    c.Food += food;
    ShowMsg2(game, {c.Name, IsPlayers(game, city) ? "で食料を買われました" : "で食料が買われました"});
}

bool ComputerBuyFood(Game& game, int city) {
    City& c = game.Cities[city];
    const double price = game.FoodPrice;
    if (!(price > 0)) return false;
    if (!(c.Troops / 2.0 > c.Food && c.Gold > 5)) return false;
    const int food = FitUnderLimit(c.Food, Nearest((c.Gold - 5) / price), kMaxValue);
    if (c.Gold < food) return false;
    // Everything but a reserve of 5 gold goes on food, even when the granary was full first.
    c.Gold = 5;
    c.Food += food;
    NoNegative(c.Food);
    NoNegative(c.Gold);
    ShowMsg2(game, {c.Name, "で食料が買われました"});
    return true;
}

bool ComputerSellFood(Game& game, int city) {
    City& c = game.Cities[city];
    if (!(c.Gold < 10 && c.Food > c.Troops && c.Food != 0)) return false;
    const int food = SurplusFood(c);
    int gold = Nearest(food * game.FoodPrice);
    if (c.Food < food) return false;
    gold = FitUnderLimit(c.Gold, gold, kMaxValue);
    c.Food -= food;
    NoNegative(c.Food);
    NoNegative(c.Gold);
    c.Gold += gold;
    ShowMsg2(game, {c.Name, "で食料の換金がされました"});
    return true;
}

bool ComputerTradeFood(Game& game, int city) {
    City& c = game.Cities[city];
    const double price = game.FoodPrice;
    if (!(price > 0)) return false;
    if (c.Gold > 20 && price <= 0.8) {
        const int food = FitUnderLimit(c.Food, Nearest((c.Gold - 10) / price), kMaxValue);
        c.Gold = 10;
        c.Food += food;
        NoNegative(c.Food);
        NoNegative(c.Gold);
        ShowMsg2(game, {c.Name, "で食料が買われました"});
        return true;
    }
    // A city with no food to spare has nothing to sell: selling a negative
    // quantity would make it pay gold for food under the name of a sale.
    if (price >= 1.5 && c.Food >= c.Troops && SurplusFood(c) > 0) {
        const int food = SurplusFood(c);
        const int gold = FitUnderLimit(c.Gold, Nearest(food * price), kMaxValue);
        c.Food -= food;
        c.Gold += gold;
        NoNegative(c.Food);
        NoNegative(c.Gold);
        ShowMsg2(game, {c.Name, "で食料の換金がされました"});
        return true;
    }
    return false;
}

}  // namespace tarvex
