// The numbers beside an order, and the numbers behind its refusal.
#include "screens/orders/order_info.h"

#include <array>
#include <optional>

#include "rules/combat/odds.h"
#include "rules/combat/tables.h"
#include "rules/turn/cycle.h"
#include "rules/world/numbers.h"
#include "screens/orders/move.h"

namespace tarvex {

namespace {

// The lowest and highest amounts of an investment, as the rules take them.
constexpr int kLeastInvestment = 10;
constexpr int kMostInvestment = 100;

// "食料: 必要 15 / あり 5": more asked than the city holds.
std::string Need(const char* what, const std::string& needed, int held) {
    return std::string(what) + ": 必要 " + needed + " / あり " + Str(held);
}
std::string Need(const char* what, int needed, int held) { return Need(what, Str(needed), held); }
// "食料: 必要 20 / 入力 5": the amount typed is below what the order needs.
std::string Typed(const char* what, const std::string& needed, int typed) {
    return std::string(what) + ": 必要 " + needed + " / 入力 " + Str(typed);
}
// "国力: 上限 999 / 現在 999": nothing more can be added.
std::string AtLimit(const char* what, int value) {
    return std::string(what) + ": 上限 " + Str(kMaxValue) + " / 現在 " + Str(value);
}

// The three boxes of a move or an attack, read as the orders read them; nothing when one is unreadable or negative.
std::optional<std::array<int, 3>> TypedAmounts(const Session& game) {
    std::array<int, 3> amounts{};
    for (int i = 0; i < 3; ++i) {
        const std::optional<int> a = ParseFlooredAmount(game.shown.main.orderAmounts[i]);
        if (!a || *a < 0) return std::nullopt;
        amounts[i] = *a;
    }
    return amounts;
}

std::string MoveHint(const Session& game, const City& s, int city) {
    const int target = SelectedTarget(game);
    const auto amounts = TypedAmounts(game);
    if (target == 0 || target == city || !amounts) return {};
    const auto [troops, food, gold] = *amounts;
    if (s.Troops < troops) return Need("兵", troops, s.Troops);
    if (s.Food < food) return Need("食料", food, s.Food);
    if (s.Gold < gold) return Need("金", gold, s.Gold);
    return {};
}

// An attack takes as much food and as much gold as troops, and no more than the city holds.
std::string SupplyHint(const char* what, int troops, int typed, int held) {
    if (typed > held) return Need(what, typed, held);
    if (typed >= troops) return {};
    return held < troops ? Need(what, troops, held) : Typed(what, Str(troops), typed);
}

std::string AttackHint(const Session& game, const City& a, int city) {
    const int target = SelectedTarget(game);
    const auto amounts = TypedAmounts(game);
    if (target == 0 || target == city || !amounts) return {};
    const auto [troops, food, gold] = *amounts;
    if (troops > a.Troops) return Need("兵", troops, a.Troops);
    if (troops == 0) return Typed("兵", "1", 0);
    const std::string shortOfFood = SupplyHint("食料", troops, food, a.Food);
    return !shortOfFood.empty() ? shortOfFood : SupplyHint("金", troops, gold, a.Gold);
}

// Power, town and castle: room left, ten gold at least, then the amount between 10 and 100 and in the purse.
std::string InvestHint(const City& c, int field, const char* what, int amount) {
    if (field >= kMaxValue) return AtLimit(what, field);
    if (c.Gold < kLeastInvestment) return Need("金", kLeastInvestment, c.Gold);
    if (amount > kMostInvestment) return "投資: 上限 " + Str(kMostInvestment) + " / 入力 " + Str(amount);
    if (c.Gold < amount) return Need("金", amount, c.Gold);
    if (amount < kLeastInvestment) return "投資: 最低 " + Str(kLeastInvestment) + " / 入力 " + Str(amount);
    return {};
}

// Troops and arms are bought at the market's price: the gold for one at least, then the amount in the purse.
std::string PurchaseHint(const City& c, int leastGold, double price, int amount) {
    if (leastGold > c.Gold) return Need("金", leastGold, c.Gold);
    if (c.Gold < amount) return Need("金", amount, c.Gold);
    if (amount < price) return Typed("金", FormatNumber(price), amount);
    return {};
}

std::string Share(const AttackOdds& odds) { return ShareText(odds.wins, odds.runs); }

void ShowOdds(const Session& game, const City& c, int target, OrderNumbers& n) {
    const std::optional<int> troops = ParseFlooredAmount(game.shown.main.orderAmounts[0]);
    if (!troops || *troops < 1 || *troops > c.Troops) return;
    const AttackOdds habit = EstimateAttack(game, game.CurrentCity, target, *troops);
    // The tactic decides most battles: each of the five, the defender choosing as the computer does.
    int best = 0;
    AttackOdds bestOdds;
    bool anyWins = false;
    for (int t = 1; t <= kTacticCount; ++t) {
        const AttackOdds odds = EstimateBattle(game, game.CurrentCity, target, *troops, {t, 0});
        const bool payable = CanPayTactic(c, *troops, t);
        anyWins = anyWins || odds.wins > 0;
        n.oddsEach += (t > 1 ? "\n" : "") + Str(t) + "." + TacticName(t) + " " + Share(odds) +
                      (payable ? "" : "（金か食料が足りません）");
        if (payable && (best == 0 || odds.wins > bestOdds.wins)) {
            best = t;
            bestOdds = odds;
        }
    }
    const AttackOdds& shown = best != 0 ? bestOdds : habit;
    if (!anyWins && habit.wins == 0) {
        n.odds = "勝つ見込み ほぼなし（どの戦法でも）";
    } else if (best != 0) {
        n.odds = "勝つ見込み " + TacticName(best) + "なら" + Share(bestOdds);
        n.oddsHabit = "（いつもの戦法なら" + Share(habit) + "）";
    } else {
        n.odds = "勝つ見込み " + Share(habit) + "（いつもの戦法で）";
    }
    n.oddsLeft = "残る兵 味方 約" + Str(Nearest(shown.attackersLeft)) + "・敵 約" + Str(Nearest(shown.defendersLeft));
}

}  // namespace

OrderNumbers ShownOrderNumbers(const Session& game) {
    OrderNumbers n;
    const Panel panel = game.shown.main.activePanel;
    if (!IsValidCity(game.CurrentCity)) return n;
    const City& c = game.Cities[game.CurrentCity];
    if (panel == Panel::AmountPanel) {
        n.stock = "手持ち　金 " + Str(c.Gold) + "　食料 " + Str(c.Food);
    } else if (panel == Panel::TargetPanel) {
        n.city = c.Name;
        n.troops = Str(c.Troops);
        n.food = Str(c.Food);
        n.gold = Str(c.Gold);
        n.arms = Str(c.Arms);
        if (const int target = SelectedTarget(game)) {
            const City& t = game.Cities[target];
            n.target = t.Name;
            n.owner = t.Owner;
            n.targetTroops = Str(t.Troops);
            n.targetArms = Str(t.Arms);
            n.targetCastle = Str(t.Castle);
            n.targetFood = Str(t.Food);
            if (game.CommandKind == kAttack && target != game.CurrentCity) ShowOdds(game, c, target, n);
        }
    }
    return n;
}

std::string RefusalHint(const Session& game, int kind, int city) {
    if (!IsValidCity(city)) return {};
    const City& c = game.Cities[city];
    const int amount = game.OrderAmount;
    switch (kind) {
        case kMove:
            return MoveHint(game, c, city);
        case kAttack:
            return AttackHint(game, c, city);
        case kInvestPower:
            return InvestHint(c, c.Power, "国力", amount);
        case kBuildTown:
            return InvestHint(c, c.Town, "町", amount);
        case kWorkOnCastle:
            return InvestHint(c, c.Castle, "城", amount);
        case kStrengthenArms: {
            const double price = game.ArmsPrice;
            if (c.Arms >= kMaxValue) return AtLimit("武装", c.Arms);
            if (c.Gold < kLeastInvestment) return Need("金", kLeastInvestment, c.Gold);
            return price > 0 ? PurchaseHint(c, Floor(price * 0.9), price, amount) : std::string();
        }
        case kRaiseTroops: {
            const double price = game.TroopsPrice;
            if (c.Troops == kMaxValue) return AtLimit("兵", c.Troops);
            return price > 0 ? PurchaseHint(c, Floor(price + 0.9), price, amount) : std::string();
        }
        case kSellFood:
            if (!(game.FoodPrice > 0)) return {};
            if (c.Food < amount) return Need("食料", amount, c.Food);
            if (c.Gold >= kMaxValue) return AtLimit("金", c.Gold);
            return {};
        case kBuyFood:
            if (!(game.FoodPrice > 0)) return {};
            if (c.Gold < amount) return Need("金", amount, c.Gold);
            if (c.Food >= kMaxValue) return AtLimit("食料", c.Food);
            if (c.Gold < game.FoodPrice) return Need("金", FormatNumber(game.FoodPrice), c.Gold);
            return {};
        default:
            return {};
    }
}

}  // namespace tarvex
