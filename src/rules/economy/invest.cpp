// The five orders that turn a city's gold into power, town, castle, armament or troops.
#include "rules/economy/invest.h"

#include <algorithm>

#include "rules/turn/messages.h"
#include "rules/world/numbers.h"

namespace tarvex {

namespace {

// Points gained by spending this much gold on power, town or castle.
int GainFor(int spent) {
    if (spent >= 10 && spent < 20) return 5;
    if (spent >= 20 && spent < 40) return 6;
    if (spent >= 40 && spent < 60) return 8;
    if (spent >= 60 && spent < 80) return 10;
    if (spent >= 80 && spent < 100) return 12;
    return 20;
}

// Investing in the land or the town wins the people over, but only up to the top of the scale.
void RaiseCivility(City& c) {
    if (c.Civility < kMaxValue) ++c.Civility;
}

// What buying past 999 gives back: the points over the top at the price paid, less a little.
void CapAndRefund(Game& game, int city, int City::*field, double price) {
    City& c = game.Cities[city];
    if (c.*field <= kMaxValue) return;
    if (IsPlayers(game, city)) Tell(game, "兵を" + Str(kMaxValue) + "におさめます。(あとは返金)");
    const int excess = c.*field - kMaxValue;
    c.*field = kMaxValue;
    c.Gold = Nearest(excess * price - 0.9 + c.Gold);
}

// Gold that would lift a value past the top: only what reaches it is spent.
int TrimToMaximum(Game& game, int value, int amount, int limit) {
    if (Nearest(amount / 10.0 + value) <= limit) return amount;
    const int allowed = (limit - value) * 10;
    Tell(game,
         "最大値を越します、金" + Str(allowed) + "だけでよいです。" + "金" + Str(amount - allowed) + "は返金します。");
    return allowed;
}

// The gold goes into the field; the castle, harder work, gains half.
void SpendGold(Game& game, int city, int& field, int amount, bool halve) {
    City& c = game.Cities[city];
    const int spent = TrimToMaximum(game, field, amount, kMaxValue);
    int gain = GainFor(spent);
    if (halve) gain /= 2;
    field = std::min(kMaxValue, field + gain);
    c.Gold -= spent;
    NoNegative(c.Food);
    NoNegative(c.Gold);
}

// The computer's investment: ten gold when poor, else half its gold in tens, at most a hundred.
bool ComputerCanInvest(const City& c, int field) { return field < kMaxValue && c.Gold >= kMinimumInvestment; }
int ComputerInvestment(const City& c) {
    return c.Gold <= 20 ? kMinimumInvestment : std::min(kMaximumInvestment, Floor(c.Gold / 2.0 / 10.0) * 10);
}

// Power and town share every step; only the field and the notice differ.
void InvestInLand(Game& game, int city, int City::*field, int amount, const char* notice) {
    City& c = game.Cities[city];
    SpendGold(game, city, c.*field, amount, false);
    NoNegative(c.Gold);
    ShowMsg2(game, {c.Name, notice});
    RaiseCivility(c);
}

void InvestInCastle(Game& game, int city, int amount) {
    City& c = game.Cities[city];
    SpendGold(game, city, c.Castle, amount, true);
    NoNegative(c.Gold);
    ShowMsg2(game, {c.Name, "で城の普請がありました"});
}

void BuyArms(Game& game, int city, int amount) {
    City& c = game.Cities[city];
    const double price = game.ArmsPrice;
    c.Arms += Nearest(amount / price);
    c.Gold -= amount;
    CapAndRefund(game, city, &City::Arms, price);
    NoNegative(c.Gold);
    ShowMsg2(game, {c.Name, "で武装強化がありました"});
}

void EnlistSoldiers(Game& game, int city, int soldiers) {
    City& c = game.Cities[city];
    const double price = game.TroopsPrice;
    c.Troops += soldiers;
    c.Gold = Nearest(c.Gold - Floor(soldiers * price + 0.9));
    CapAndRefund(game, city, &City::Troops, price);
    // The new soldiers come unarmed and thin out the city's armament.
    if (c.Arms > 0 && c.Troops > 0)
        c.Arms = Nearest(static_cast<double>(c.Troops - soldiers) / c.Troops * c.Arms);
    else
        c.Arms = 0;
    NoNegative(c.Gold);
}

constexpr const char* kPowerNotice = "で開墾されました";
constexpr const char* kTownNotice = "で町を建設しました";

}  // namespace

bool InvestPower(Game& game, int city) {
    const City& c = game.Cities[city];
    if (!ComputerCanInvest(c, c.Power)) return false;
    InvestInLand(game, city, &City::Power, ComputerInvestment(c), kPowerNotice);
    return true;
}

bool BuildTown(Game& game, int city) {
    const City& c = game.Cities[city];
    if (!ComputerCanInvest(c, c.Town)) return false;
    InvestInLand(game, city, &City::Town, ComputerInvestment(c), kTownNotice);
    return true;
}

bool WorkOnCastle(Game& game, int city) {
    const City& c = game.Cities[city];
    if (!ComputerCanInvest(c, c.Castle)) return false;
    InvestInCastle(game, city, ComputerInvestment(c));
    return true;
}

bool StrengthenArms(Game& game, int city) {
    const City& c = game.Cities[city];
    const double price = game.ArmsPrice;
    if (!ComputerCanInvest(c, c.Arms)) return false;
    // No market, no weapons: a price that was never drawn cannot be paid.
    if (!(price > 0)) return false;
    if (Floor(price * 0.9) > c.Gold) return false;
    const int amount = 2 * price >= c.Gold ? Floor(price + 0.9) : Floor(Floor(c.Gold / 2.0 / price) * price + 0.9);
    BuyArms(game, city, amount);
    return true;
}

bool ReinforceTroops(Game& game, int city) {
    const City& c = game.Cities[city];
    const double price = game.TroopsPrice;
    if (c.Troops == kMaxValue) return false;
    if (!(price > 0)) return false;
    // Not the gold for one soldier.
    if (Floor(price + 0.9) > c.Gold) return false;
    ShowMsg2(game, {c.Name, "にて兵増強"});
    EnlistSoldiers(game, city, Floor(c.Gold / 2.0 / price));
    return true;
}

void SpendOnPower(Game& game, int city, int gold) { InvestInLand(game, city, &City::Power, gold, kPowerNotice); }

void SpendOnTown(Game& game, int city, int gold) { InvestInLand(game, city, &City::Town, gold, kTownNotice); }

void SpendOnCastle(Game& game, int city, int gold) { InvestInCastle(game, city, gold); }

void SpendOnArms(Game& game, int city, int gold) { BuyArms(game, city, gold); }

void SpendOnTroops(Game& game, int city, int gold) {
    ShowMsg2(game, {game.Cities[city].Name, "にて兵増強"});
    EnlistSoldiers(game, city, Floor(gold / game.TroopsPrice));
}

}  // namespace tarvex
