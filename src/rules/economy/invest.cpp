// The five orders that turn a city's gold into power, town, castle, armament or troops.
#include "rules/economy/invest.h"

#include <algorithm>

#include "rules/turn/messages.h"
#include "rules/world/numbers.h"

namespace tarvex {

namespace {

// Points gained by spending this much gold on power, town or castle.
int GainFor(int spent);
// Shared steps.
bool CheckInvestRoom(Game& game, int city, int gold, int field, int limit);
bool CheckGoldForInput(Game& game, int city, int amount, double minimum);
int TrimToMaximum(Game& game, int value, int amount, int limit);
bool InvestGold(Game& game, int city, int& field, int limit, bool halve);

constexpr int kMinimumInvestment = 10;
constexpr int kMaximumInvestment = 100;

// Investing in the land or the town wins the people over, but only up to the top of the scale.
void RaiseCivility(City& c) {
    if (c.Civility < kMaxValue) ++c.Civility;
}

// Power and town share every step; only the field and the notice differ.
bool InvestInLand(Game& game, int city, int City::*field, const char* notice) {
    City& c = game.Cities[city];
    if (!CheckInvestRoom(game, city, c.Gold, c.*field, kMaxValue)) return false;
    if (!InvestGold(game, city, c.*field, kMaxValue, false)) return false;
    NoNegative(c.Gold);
    ShowMsg2(game, {c.Name, notice});
    RaiseCivility(c);
    return true;
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

int GainFor(int spent) {
    if (spent >= 10 && spent < 20) return 5;
    if (spent >= 20 && spent < 40) return 6;
    if (spent >= 40 && spent < 60) return 8;
    if (spent >= 60 && spent < 80) return 10;
    if (spent >= 80 && spent < 100) return 12;
    return 20;
}

bool CheckInvestRoom(Game& game, int city, int gold, int field, int limit) {
    const bool player = IsPlayerRun(game, city);
    if (field < limit) {
        if (gold >= kMinimumInvestment) return true;
        if (player) Tell(game, "金が足りません");
        return false;
    }
    if (player) Tell(game, "これ以上増やせません");
    return false;
}

bool CheckGoldForInput(Game& game, int city, int amount, double minimum) {
    const City& c = game.Cities[city];
    if (c.Gold < amount) {
        Tell(game, "金" + Str(c.Gold) + "しか持っていません");
        return false;
    }
    if (amount >= minimum) return true;
    Tell(game, "金が足りません");
    return false;
}

int TrimToMaximum(Game& game, int value, int amount, int limit) {
    if (Nearest(amount / 10.0 + value) <= limit) return amount;
    const int allowed = (limit - value) * 10;
    Tell(game,
         "最大値を越します、金" + Str(allowed) + "だけでよいです。" + "金" + Str(amount - allowed) + "は返金します。");
    return allowed;
}

bool InvestGold(Game& game, int city, int& field, int limit, bool halve) {
    City& c = game.Cities[city];
    int amount = 0;
    if (!IsPlayerRun(game, city)) {
        if (c.Gold < 0) return false;
        amount = c.Gold <= 20 ? kMinimumInvestment : std::min(kMaximumInvestment, Floor(c.Gold / 2.0 / 10.0) * 10);
    } else {
        amount = game.OrderAmount;
        if (amount > kMaximumInvestment) {
            Tell(game, "投資は" + Str(kMaximumInvestment) + "までです");
            return false;
        }
        if (!CheckGoldForInput(game, city, amount, kMinimumInvestment)) return false;
    }
    const int spent = TrimToMaximum(game, field, amount, limit);
    int gain = GainFor(spent);
    if (halve) gain /= 2;
    field = std::min(limit, field + gain);
    c.Gold -= spent;
    NoNegative(c.Food);
    NoNegative(c.Gold);
    return true;
}

}  // namespace

bool InvestPower(Game& game, int city) { return InvestInLand(game, city, &City::Power, "で開墾されました"); }

bool BuildTown(Game& game, int city) { return InvestInLand(game, city, &City::Town, "で町を建設しました"); }

bool WorkOnCastle(Game& game, int city) {
    City& c = game.Cities[city];
    if (!CheckInvestRoom(game, city, c.Gold, c.Castle, kMaxValue)) return false;
    if (!InvestGold(game, city, c.Castle, kMaxValue, true)) return false;
    NoNegative(c.Gold);
    ShowMsg2(game, {c.Name, "で城の普請がありました"});
    return true;
}

bool StrengthenArms(Game& game, int city) {
    City& c = game.Cities[city];
    const double price = game.ArmsPrice;
    if (!CheckInvestRoom(game, city, c.Gold, c.Arms, kMaxValue)) return false;
    // No market, no weapons: a price that was never drawn cannot be paid.
    if (!(price > 0)) return false;
    if (Floor(price * 0.9) > c.Gold) {
        if (IsPlayerRun(game, city)) Tell(game, "金が足りません");
        return false;
    }
    int amount = 0;
    if (!IsPlayerRun(game, city)) {
        if (2 * price >= c.Gold)
            amount = Floor(price + 0.9);
        else
            amount = Floor(Floor(c.Gold / 2.0 / price) * price + 0.9);
    } else {
        amount = game.OrderAmount;
        if (!CheckGoldForInput(game, city, amount, price)) return false;
    }
    c.Arms += Nearest(amount / price);
    c.Gold -= amount;
    CapAndRefund(game, city, &City::Arms, price);
    NoNegative(c.Gold);
    ShowMsg2(game, {c.Name, "で武装強化がありました"});
    return true;
}

bool ReinforceTroops(Game& game, int city) {
    City& c = game.Cities[city];
    const double price = game.TroopsPrice;
    if (c.Troops == kMaxValue) {
        if (IsPlayerRun(game, city)) Tell(game, "これ以上増やせません");
        return false;
    }
    if (!(price > 0)) return false;
    if (Floor(price + 0.9) > c.Gold) {
        // Not the gold for one soldier.
        if (IsPlayerRun(game, city)) Tell(game, "金が足りません");
        return false;
    }
    // The call to arms is announced before the player's purse is looked at.
    ShowMsg2(game, {c.Name, "にて兵増強"});
    int soldiers = 0;
    if (!IsPlayerRun(game, city)) {
        soldiers = Floor(c.Gold / 2.0 / price);
    } else {
        const int amount = game.OrderAmount;
        if (!CheckGoldForInput(game, city, amount, price)) return false;
        soldiers = Floor(amount / price);
    }
    c.Troops += soldiers;
    c.Gold = Nearest(c.Gold - Floor(soldiers * price + 0.9));
    CapAndRefund(game, city, &City::Troops, price);
    // The new soldiers come unarmed and thin out the city's armament.
    if (c.Arms > 0 && c.Troops > 0)
        c.Arms = Nearest(static_cast<double>(c.Troops - soldiers) / c.Troops * c.Arms);
    else
        c.Arms = 0;
    NoNegative(c.Gold);
    return true;
}

}  // namespace tarvex
