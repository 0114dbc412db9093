// Every decision a player can make: its checks, in the order the player meets
// them, with the numbers behind each refusal, and the order carried out.
#include "rules/orders/order.h"

#include <algorithm>

#include "rules/ai/strong.h"
#include "rules/combat/battle.h"
#include "rules/combat/tables.h"
#include "rules/economy/invest.h"
#include "rules/economy/market.h"
#include "rules/port/screen.h"
#include "rules/turn/messages.h"
#include "rules/world/march.h"
#include "rules/world/numbers.h"
#include "rules/world/refresh.h"
#include "rules/world/scenario.h"

namespace tarvex {

namespace {

using Outcome = std::optional<Refusal>;

Outcome Refuse(RefusalCode code, std::string text, std::string hint = {}) {
    return Refusal{code, std::move(text), std::move(hint)};
}

// "食料: 必要 15 / あり 5": more asked than the city holds.
std::string Need(const char* what, const std::string& needed, int held) {
    return std::string(what) + ": 必要 " + needed + " / あり " + Str(held);
}
std::string Need(const char* what, int needed, int held) { return Need(what, Str(needed), held); }
// "食料: 必要 20 / 入力 5": the amount given is below what the order needs.
std::string Typed(const char* what, const std::string& needed, int typed) {
    return std::string(what) + ": 必要 " + needed + " / 入力 " + Str(typed);
}
// "国力: 上限 999 / 現在 999": nothing more can be added.
std::string AtLimit(const char* what, int value) {
    return std::string(what) + ": 上限 " + Str(kMaxValue) + " / 現在 " + Str(value);
}

// "金50しか持っていません": the amount is more than the purse or the granary holds.
Outcome HeldOnly(RefusalCode code, const char* what, int amount, int held) {
    return Refuse(code, std::string(what) + Str(held) + "しか持っていません", Need(what, amount, held));
}

Outcome NoMarket() { return Refuse(RefusalCode::NoMarket, "相場が立っていません"); }

bool IsTarget(const Game& game, int city, int target, bool friendly) {
    return IsValidCity(target) && target != city && IsNeighbour(city, target) &&
           (game.Cities[target].Owner == game.Cities[city].Owner) == friendly;
}

bool HasNeighbour(const Game& game, int city, bool friendly) {
    for (int j : NeighboursOf(city))
        if (IsTarget(game, city, j, friendly)) return true;
    return false;
}

Outcome CheckMove(const Game& game, int city, const Order& o) {
    if (!IsTarget(game, city, o.target, true)) return Refuse(RefusalCode::BadTarget, "移動先を選んでください");
    if (o.troops < 0 || o.food < 0 || o.gold < 0)
        return Refuse(RefusalCode::NegativeAmount, "0以上の数を入力してください");
    const City& s = game.Cities[city];
    const City& t = game.Cities[o.target];
    if (s.Troops < o.troops) return Refuse(RefusalCode::TroopsShort, "兵が足りません", Need("兵", o.troops, s.Troops));
    if (s.Food < o.food) return Refuse(RefusalCode::FoodShort, "食料が足りません", Need("食料", o.food, s.Food));
    if (s.Gold < o.gold) return Refuse(RefusalCode::GoldShort, "金が足りません", Need("金", o.gold, s.Gold));
    // What the destination can take of each; a shipment of nothing at all is no order.
    if (FitUnderLimit(t.Troops, o.troops, kMaxValue) <= 0 && FitUnderLimit(t.Food, o.food, kMaxValue) <= 0 &&
        FitUnderLimit(t.Gold, o.gold, kMaxValue) <= 0)
        return Refuse(RefusalCode::NothingToMove, "どれかは1以上の数字を入力してください(0ならキャンセルを)");
    return std::nullopt;
}

// An attack takes as much food and as much gold as troops, and no more than the city holds.
std::string SupplyHint(const char* what, int troops, int given, int held) {
    if (given > held) return Need(what, given, held);
    return held < troops ? Need(what, troops, held) : Typed(what, Str(troops), given);
}

Outcome CheckAttack(const Game& game, int city, const Order& o) {
    if (!IsTarget(game, city, o.target, false)) return Refuse(RefusalCode::BadTarget, "攻める都市を選んでください");
    if (o.troops < 0 || o.food < 0 || o.gold < 0)
        return Refuse(RefusalCode::NegativeAmount, "0以上の数を入力してください");
    const City& a = game.Cities[city];
    if (o.troops > a.Troops) return Refuse(RefusalCode::TroopsShort, "足りません", Need("兵", o.troops, a.Troops));
    if (o.troops == 0) return Refuse(RefusalCode::TroopsShort, "足りません", Typed("兵", "1", 0));
    if (o.food < o.troops || o.food > a.Food)
        return Refuse(RefusalCode::FoodShort, "食料が足りません", SupplyHint("食料", o.troops, o.food, a.Food));
    if (o.gold < o.troops || o.gold > a.Gold)
        return Refuse(RefusalCode::GoldShort, "金が足りません", SupplyHint("金", o.troops, o.gold, a.Gold));
    return std::nullopt;
}

// Power, town and castle: room left, ten gold at least, then the amount between 10 and 100 and in the purse.
Outcome CheckInvestment(const City& c, int field, const char* what, int amount) {
    if (field >= kMaxValue) return Refuse(RefusalCode::AtLimit, "これ以上増やせません", AtLimit(what, field));
    if (c.Gold < kMinimumInvestment)
        return Refuse(RefusalCode::GoldShort, "金が足りません", Need("金", kMinimumInvestment, c.Gold));
    if (amount > kMaximumInvestment)
        return Refuse(RefusalCode::OverMaximum, "投資は" + Str(kMaximumInvestment) + "までです",
                      "投資: 上限 " + Str(kMaximumInvestment) + " / 入力 " + Str(amount));
    if (c.Gold < amount) return HeldOnly(RefusalCode::GoldShort, "金", amount, c.Gold);
    if (amount < kMinimumInvestment)
        return Refuse(RefusalCode::BelowMinimum, "金が足りません",
                      "投資: 最低 " + Str(kMinimumInvestment) + " / 入力 " + Str(amount));
    return std::nullopt;
}

// Troops and arms are bought at the market's price: the amount in the purse and worth one unit at least.
Outcome CheckPurchase(const City& c, double price, int amount) {
    if (c.Gold < amount) return HeldOnly(RefusalCode::GoldShort, "金", amount, c.Gold);
    if (amount < price)
        return Refuse(RefusalCode::BelowMinimum, "金が足りません", Typed("金", FormatNumber(price), amount));
    return std::nullopt;
}

Outcome CheckArms(const Game& game, const City& c, int amount) {
    const double price = game.ArmsPrice;
    if (c.Arms >= kMaxValue) return Refuse(RefusalCode::AtLimit, "これ以上増やせません", AtLimit("武装", c.Arms));
    if (c.Gold < kMinimumInvestment)
        return Refuse(RefusalCode::GoldShort, "金が足りません", Need("金", kMinimumInvestment, c.Gold));
    if (!(price > 0)) return NoMarket();
    if (Floor(price * 0.9) > c.Gold)
        return Refuse(RefusalCode::GoldShort, "金が足りません", Need("金", Floor(price * 0.9), c.Gold));
    return CheckPurchase(c, price, amount);
}

Outcome CheckTroops(const Game& game, const City& c, int amount) {
    const double price = game.TroopsPrice;
    if (c.Troops >= kMaxValue) return Refuse(RefusalCode::AtLimit, "これ以上増やせません", AtLimit("兵", c.Troops));
    if (!(price > 0)) return NoMarket();
    // Not the gold for one soldier.
    if (Floor(price + 0.9) > c.Gold)
        return Refuse(RefusalCode::GoldShort, "金が足りません", Need("金", Floor(price + 0.9), c.Gold));
    return CheckPurchase(c, price, amount);
}

Outcome CheckSale(const Game& game, const City& c, int amount) {
    if (!(game.FoodPrice > 0)) return NoMarket();
    if (c.Food < amount) return HeldOnly(RefusalCode::FoodShort, "食料", amount, c.Food);
    if (c.Gold >= kMaxValue) return Refuse(RefusalCode::AtLimit, "これ以上金を増やせません", AtLimit("金", c.Gold));
    return std::nullopt;
}

Outcome CheckPurchaseOfFood(const Game& game, const City& c, int amount) {
    const double price = game.FoodPrice;
    if (!(price > 0)) return NoMarket();
    if (c.Gold < amount) return HeldOnly(RefusalCode::GoldShort, "金", amount, c.Gold);
    if (c.Food >= kMaxValue) return Refuse(RefusalCode::AtLimit, "これ以上食料を増やせません", AtLimit("食料", c.Food));
    if (c.Gold < price)
        return Refuse(RefusalCode::GoldShort, "金が足りません", Need("金", FormatNumber(price), c.Gold));
    return std::nullopt;
}

void CarryOutMove(Game& game, int city, const Order& o) {
    City& s = game.Cities[city];
    City& t = game.Cities[o.target];
    const Shipment sent{FitUnderLimit(t.Troops, o.troops, kMaxValue), FitUnderLimit(t.Food, o.food, kMaxValue),
                        FitUnderLimit(t.Gold, o.gold, kMaxValue)};
    MoveBetweenCities(game, city, o.target, sent);
    RefreshCity(game, city);
    RefreshCity(game, o.target);
    if (!IsPlayers(game, city)) {
        // The computer's march is reported on the message lines, as its supplies are.
        ShowMsg2(game, {s.Name, "から", t.Name, "へ「", Str(sent.troops), "」移動"});
        ShowMsg3(game, {"金「", Str(sent.gold), "」と食料「", Str(sent.food), "」移動"});
        return;
    }
    Tell(game, s.Name + "から" + t.Name + "へ " + "\r" + "兵[" + Str(sent.troops) + "]" + "\r" + "食料[" +
                   Str(sent.food) + "]" + "\r" + "金[" + Str(sent.gold) + "]移動しました");
}

// The troops march out against the target.
void MarchOut(Game& game, int city, const Order& o) {
    City& a = game.Cities[city];
    City& d = game.Cities[o.target];
    if (d.Troops < 1) d.Troops = 1;  // someone always holds the walls
    BattleState& b = game.Battle;
    b.AttackCity = city;
    b.AttackTroops = o.troops;
    b.DefendCity = o.target;
    b.AttackTroopsAtStart = o.troops;
    b.DefendTroopsAtStart = d.Troops;
    a.Troops -= o.troops;
}

// The battle is fought to its end on the battle screen.
void CarryOutAttack(Game& game, int city, const Order& o) {
    MarchOut(game, city, o);
    game.Battle.DefendTactic = DefenceTactic(game, o.target, city, o.troops);
    game.screen->RunBattleScreen(game);
}

}  // namespace

const char* RefusalCodeName(RefusalCode code) {
    switch (code) {
        case RefusalCode::BadCity:
            return "bad_city";
        case RefusalCode::BadOrder:
            return "bad_order";
        case RefusalCode::NoFriendlyNeighbour:
            return "no_friendly_neighbour";
        case RefusalCode::NoEnemyNeighbour:
            return "no_enemy_neighbour";
        case RefusalCode::NoTroops:
            return "no_troops";
        case RefusalCode::BadTarget:
            return "bad_target";
        case RefusalCode::NegativeAmount:
            return "negative_amount";
        case RefusalCode::TroopsShort:
            return "troops_short";
        case RefusalCode::FoodShort:
            return "food_short";
        case RefusalCode::GoldShort:
            return "gold_short";
        case RefusalCode::BelowMinimum:
            return "below_minimum";
        case RefusalCode::OverMaximum:
            return "over_maximum";
        case RefusalCode::AtLimit:
            return "at_limit";
        case RefusalCode::NothingToMove:
            return "nothing_to_move";
        case RefusalCode::NoMarket:
            return "no_market";
        case RefusalCode::LastCity:
            return "last_city";
        case RefusalCode::NoBattle:
            return "no_battle";
        case RefusalCode::NotANumber:
            return "not_a_number";
    }
    return "unknown";
}

std::vector<int> OrderTargets(const Game& game, int city, int kind) {
    std::vector<int> targets;
    if (!IsValidCity(city) || (kind != kMove && kind != kAttack)) return targets;
    for (int j : NeighboursOf(city))
        if (IsTarget(game, city, j, kind == kMove)) targets.push_back(j);
    return targets;
}

std::optional<Refusal> CheckOrderOpens(const Game& game, int city, int kind) {
    if (!IsValidCity(city)) return Refuse(RefusalCode::BadCity, "エラー");
    if (kind < kMove || kind > kDoNothing) return Refuse(RefusalCode::BadOrder, "エラー");
    if (kind == kMove && !HasNeighbour(game, city, true))
        return Refuse(RefusalCode::NoFriendlyNeighbour, "隣に味方の領土がありません");
    if (kind == kAttack) {
        if (!HasNeighbour(game, city, false)) return Refuse(RefusalCode::NoEnemyNeighbour, "戦闘可能都市がありません");
        if (game.Cities[city].Troops <= 0) return Refuse(RefusalCode::NoTroops, "兵力が0です");
    }
    return std::nullopt;
}

std::optional<Refusal> CheckOrder(const Game& game, int city, const Order& order) {
    if (auto refusal = CheckOrderOpens(game, city, order.kind)) return refusal;
    const City& c = game.Cities[city];
    // An amount below nothing would run every order backwards (selling gold for food, investing to lose power).
    if (order.kind >= kRaiseTroops && order.kind <= kBuyFood && order.amount < 0)
        return Refuse(RefusalCode::NegativeAmount, "0以上の数を入力してください");
    switch (order.kind) {
        case kMove:
            return CheckMove(game, city, order);
        case kAttack:
            return CheckAttack(game, city, order);
        case kRaiseTroops:
            return CheckTroops(game, c, order.amount);
        case kStrengthenArms:
            return CheckArms(game, c, order.amount);
        case kInvestPower:
            return CheckInvestment(c, c.Power, "国力", order.amount);
        case kBuildTown:
            return CheckInvestment(c, c.Town, "町", order.amount);
        case kWorkOnCastle:
            return CheckInvestment(c, c.Castle, "城", order.amount);
        case kSellFood:
            return CheckSale(game, c, order.amount);
        case kBuyFood:
            return CheckPurchaseOfFood(game, c, order.amount);
        default:
            return std::nullopt;
    }
}

std::optional<Refusal> GiveOrder(Game& game, int city, const Order& order) {
    if (auto refusal = CheckOrder(game, city, order)) return refusal;
    switch (order.kind) {
        case kMove:
            CarryOutMove(game, city, order);
            break;
        case kAttack:
            CarryOutAttack(game, city, order);
            break;
        case kRaiseTroops:
            SpendOnTroops(game, city, order.amount);
            break;
        case kStrengthenArms:
            SpendOnArms(game, city, order.amount);
            break;
        case kInvestPower:
            SpendOnPower(game, city, order.amount);
            break;
        case kBuildTown:
            SpendOnTown(game, city, order.amount);
            break;
        case kWorkOnCastle:
            SpendOnCastle(game, city, order.amount);
            break;
        case kSellFood:
            SellFood(game, city, order.amount);
            break;
        case kBuyFood:
            BuyFood(game, city, order.amount);
            break;
        default:
            ShowMsg2(game, "何もしない");
            break;
    }
    return std::nullopt;
}

std::optional<Refusal> GiveComputerAttack(Game& game, int city, const Order& order, int tactic) {
    if (order.kind != kAttack) return Refuse(RefusalCode::BadOrder, "エラー");
    if (auto refusal = CheckOrder(game, city, order)) return refusal;
    MarchOut(game, city, order);
    BattleState& b = game.Battle;
    b.AttackTactic = std::clamp(tactic, 1, kTacticCount);
    b.DefendTactic = DefenceTactic(game, order.target, city, order.troops);
    if (IsPlayers(game, order.target)) {
        // The player defends his own city, delegated or not, on the battle screen.
        game.AdvanceReady = false;
        game.screen->RunBattleScreen(game);
    } else {
        FightToTheEnd(game);
    }
    return std::nullopt;
}

std::optional<Refusal> CheckTactic(const Game& game, int tactic) {
    const BattleState& b = game.Battle;
    if (b.BattleOver || !IsValidCity(b.AttackCity) || !IsValidCity(b.DefendCity))
        return Refuse(RefusalCode::NoBattle, "エラー");
    if (tactic < 1 || tactic > kTacticCount) return Refuse(RefusalCode::BadOrder, "エラー");
    if (!IsPlayers(game, b.DefendCity)) return std::nullopt;
    // The defence is paid from the city's own stores: refuse what it cannot afford.
    const City& city = game.Cities[b.DefendCity];
    const double cost = TacticCost(tactic) * city.Troops / 100.0;
    if (cost > city.Gold)
        return Refuse(RefusalCode::GoldShort, "金が足りません", Need("金", FormatNumber(cost), city.Gold));
    if (cost > city.Food)
        return Refuse(RefusalCode::FoodShort, "米がたりません", Need("食料", FormatNumber(cost), city.Food));
    return std::nullopt;
}

std::optional<Refusal> GiveTactic(Game& game, int tactic) {
    if (auto refusal = CheckTactic(game, tactic)) return refusal;
    BattleState& b = game.Battle;
    (IsPlayers(game, b.DefendCity) ? b.DefendTactic : b.AttackTactic) = tactic;
    SplitForSiege(game);
    return std::nullopt;
}

std::optional<Refusal> CheckDelegation(const Game& game, int city, bool delegate) {
    if (delegate) {
        // The player keeps at least one city in his own hands.
        int ownHands = 0;
        for (int c = 1; c <= kCityCount; ++c) ownHands += IsPlayerRun(game, c) ? 1 : 0;
        if (ownHands <= 1) return Refuse(RefusalCode::LastCity, "一都市だけなので委任できません");
    }
    if (!IsValidCity(city) || !IsPlayers(game, city) || game.Delegated[city] == delegate)
        return Refuse(RefusalCode::BadCity, "その都市は選べません");
    return std::nullopt;
}

std::optional<Refusal> GiveDelegation(Game& game, int city, bool delegate) {
    if (auto refusal = CheckDelegation(game, city, delegate)) return refusal;
    game.Delegated[city] = delegate;
    Tell(game, game.Cities[city].Name + (delegate ? "を委任しました" : "を委任解除しました"));
    return std::nullopt;
}

}  // namespace tarvex
