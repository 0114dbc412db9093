// Investments of gold and the food market, for the player's cities and the computer's.
#include <gtest/gtest.h>

#include "rules/economy/invest.h"
#include "rules/economy/market.h"
#include "rules/orders/order.h"
#include "rules/turn/messages.h"
#include "rules/world/march.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::RulesGame;

constexpr int kPlayers = 1;     // ロンドン
constexpr int kComputers = 15;  // パリ

// The computer's order, or the player's order of this kind with the amount typed.
struct Action {
    Action(bool (*computer)(Game&, int)) : computer(computer) {}
    Action(int kind) : kind(kind) {}
    bool Run(Game& game, int city, int typed) const {
        if (computer) return computer(game, city);
        Order order;
        order.kind = kind;
        order.amount = typed;
        const auto refusal = GiveOrder(game, city, order);
        if (refusal) Tell(game, refusal->text);
        return !refusal;
    }
    bool (*computer)(Game&, int) = nullptr;
    int kind = 0;
};

// One order on one city: the field it raises or trades, the city's gold before
// and after, the typed amount (for the player's city) and the one box expected.
struct Case {
    const char* what;
    Action order;
    int city;
    int City::*field;
    int fieldBefore, gold, typed;
    bool done;
    int fieldAfter, goldAfter;
    const char* box;
};

void RunCases(const std::vector<Case>& cases, double price = 5.0, int troops = 100) {
    for (const Case& c : cases) {
        RulesGame t;
        Game& g = t.game;
        g.ArmsPrice = g.TroopsPrice = g.FoodPrice = price;
        City& city = g.Cities[c.city];
        city.Troops = troops;
        city.Arms = 80;
        city.Food = 300;
        city.*c.field = c.fieldBefore;
        city.Gold = c.gold;
        EXPECT_EQ(c.order.Run(g, c.city, c.typed), c.done) << c.what;
        EXPECT_EQ(city.*c.field, c.fieldAfter) << c.what;
        EXPECT_EQ(city.Gold, c.goldAfter) << c.what;
        EXPECT_EQ(t.screen.Boxes(), c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{}) << c.what;
    }
}

TEST(Investment, GoldIntoPowerTownAndCastle) {
    RunCases({
        {"power 100", kInvestPower, kPlayers, &City::Power, 500, 200, 100, true, 520, 100, nullptr},
        {"power 99", kInvestPower, kPlayers, &City::Power, 500, 200, 99, true, 512, 101, nullptr},
        {"castle at half", kWorkOnCastle, kPlayers, &City::Castle, 30, 200, 100, true, 40, 100, nullptr},
        {"near the top", kInvestPower, kPlayers, &City::Power, 995, 200, 100, true, 999, 160,
         "最大値を越します、金40だけでよいです。金60は返金します。"},
        {"nine gold", kBuildTown, kPlayers, &City::Town, 500, 9, 9, false, 500, 9, "金が足りません"},
        {"over 100", kInvestPower, kPlayers, &City::Power, 500, 200, 150, false, 500, 200, "投資は100までです"},
        {"more than held", kBuildTown, kPlayers, &City::Town, 30, 50, 60, false, 30, 50, "金50しか持っていません"},
        {"castle full", kWorkOnCastle, kPlayers, &City::Castle, 999, 200, 100, false, 999, 200, "これ以上増やせません"},
        {"computer: half in tens, at most 100", InvestPower, kComputers, &City::Power, 100, 250, 0, true, 120, 150,
         nullptr},
        {"computer: 10 when poor", BuildTown, kComputers, &City::Town, 100, 15, 0, true, 105, 5, nullptr},
        {"computer: silent refusal", WorkOnCastle, kComputers, &City::Castle, 999, 100, 0, false, 999, 100, nullptr},
    });
    RulesGame t;
    t.game.Cities[kComputers].Gold = 100;
    const int civility = t.game.Cities[kComputers].Civility;
    ASSERT_TRUE(BuildTown(t.game, kComputers));
    EXPECT_EQ(t.game.Cities[kComputers].Civility, civility + 1);
    EXPECT_EQ(t.screen.Lines(2), std::vector<std::string>{"パリで町を建設しました"});
}

TEST(Investment, ArmsAndTroopsAtTheirPriceCappedWithRefund) {
    RunCases(
        {
            {"arms: points rounded", kStrengthenArms, kPlayers, &City::Arms, 20, 100, 8, true, 22, 92, nullptr},
            {"arms: below the price", kStrengthenArms, kPlayers, &City::Arms, 20, 100, 4, false, 20, 100,
             "金が足りません"},
            {"arms: capped", kStrengthenArms, kPlayers, &City::Arms, 990, 100, 100, true, 999, 55,
             "兵を999におさめます。(あとは返金)"},
            {"arms: computer half in units", StrengthenArms, kComputers, &City::Arms, 20, 100, 0, true, 29, 54,
             nullptr},
            {"troops: 999 is full", kRaiseTroops, kPlayers, &City::Troops, 999, 600, 100, false, 999, 600,
             "これ以上増やせません"},
            {"troops: 998 capped", kRaiseTroops, kPlayers, &City::Troops, 998, 600, 100, true, 999, 594,
             "兵を999におさめます。(あとは返金)"},
            {"troops: not one soldier's gold", kRaiseTroops, kPlayers, &City::Troops, 100, 5, 5, false, 100, 5,
             "金が足りません"},
            {"troops: computer half", ReinforceTroops, kComputers, &City::Troops, 100, 100, 0, true, 109, 54, nullptr},
            {"troops: computer too poor", ReinforceTroops, kComputers, &City::Troops, 100, 4, 0, false, 100, 4,
             nullptr},
        },
        5.1);
    // 100 unarmed soldiers into 100 with armament 80 leave 200 at 40; a refused entry
    // announces no call to arms.
    RulesGame t;
    Game& g = t.game;
    g.TroopsPrice = 5;
    City& london = g.Cities[kPlayers];
    london.Troops = 100, london.Arms = 80, london.Gold = 600;
    ASSERT_TRUE(Action(kRaiseTroops).Run(g, kPlayers, 500));
    EXPECT_EQ(london.Troops, 200);
    EXPECT_EQ(london.Arms, 40);
    EXPECT_EQ(london.Gold, 100);
    EXPECT_FALSE(Action(kRaiseTroops).Run(g, kPlayers, 4));
    EXPECT_EQ(t.screen.Lines(2), (std::vector<std::string>{"ロンドンにて兵増強"}));
}

TEST(Investment, GainStepsUpAtTwentyFortySixtyEightyAndAHundredGold) {
    const std::pair<int, int> gains[] = {{10, 5},  {19, 5},  {20, 6},  {39, 6},  {40, 8},  {59, 8},
                                         {60, 10}, {79, 10}, {80, 12}, {99, 12}, {100, 20}};
    std::vector<Case> cases;
    for (const auto& [spent, gain] : gains)
        cases.push_back(
            {"power", kInvestPower, kPlayers, &City::Power, 500, 200, spent, true, 500 + gain, 200 - spent, nullptr});
    // The castle gains half, rounded down.
    cases.push_back({"castle", kWorkOnCastle, kPlayers, &City::Castle, 500, 200, 19, true, 502, 181, nullptr});
    RunCases(cases);
}

TEST(FoodMarket, PlayerSellsAndBuys) {
    RunCases(
        {
            {"sell, gold capped", kSellFood, kPlayers, &City::Food, 300, 950, 100, true, 202, 999, "一部返金します"},
            {"sell more than held", kSellFood, kPlayers, &City::Food, 30, 100, 31, false, 30, 100,
             "食料30しか持っていません"},
            {"sell, purse full", kSellFood, kPlayers, &City::Food, 300, 999, 10, false, 300, 999,
             "これ以上金を増やせません"},
            {"buy", kBuyFood, kPlayers, &City::Food, 100, 100, 50, true, 200, 50, nullptr},
            {"buy more than held", kBuyFood, kPlayers, &City::Food, 100, 40, 50, false, 100, 40,
             "金40しか持っていません"},
            {"buy, granary full", kBuyFood, kPlayers, &City::Food, 999, 500, 50, false, 999, 500,
             "これ以上食料を増やせません"},
            {"buy past the top", kBuyFood, kPlayers, &City::Food, 980, 500, 100, true, 999, 490, "一部返品します"},
        },
        0.5);
    // Less gold than one unit of food costs buys nothing, whatever was typed.
    RunCases(
        {
            {"buy below the price", kBuyFood, kPlayers, &City::Food, 100, 1, 1, false, 100, 1, "金が足りません"},
            {"buy nothing below the price", kBuyFood, kPlayers, &City::Food, 100, 1, 0, false, 100, 1,
             "金が足りません"},
            {"buy at the price", kBuyFood, kPlayers, &City::Food, 100, 2, 2, true, 101, 0, nullptr},
        },
        1.5);
}

TEST(FoodMarket, ComputerTradesKeepTheirReserves) {
    // At price 2 with 40 troops: the emergency purchase and the price-driven sale.
    RunCases(
        {
            {"emergency buy", ComputerBuyFood, kComputers, &City::Food, 10, 100, 0, true, 58, 5, nullptr},
            {"emergency: fed enough", ComputerBuyFood, kComputers, &City::Food, 20, 100, 0, false, 20, 100, nullptr},
            {"sale capped at 999 gold", ComputerTradeFood, kComputers, &City::Food, 200, 900, 0, true, 21, 999,
             nullptr},
            {"surplus sale when poor", ComputerSellFood, kComputers, &City::Food, 300, 5, 0, true, 21, 563, nullptr},
        },
        2.0, 40);
    RunCases({{"units above gold", ComputerBuyFood, kComputers, &City::Food, 10, 100, 0, false, 10, 100, nullptr},
              {"buy at 0.5", ComputerTradeFood, kComputers, &City::Food, 900, 500, 0, true, 999, 10, nullptr}},
             0.5, 40);
    RunCases({{"sell at 1.5", ComputerTradeFood, kComputers, &City::Food, 200, 50, 0, true, 51, 274, nullptr}}, 1.5);
    RunCases({{"no trade at 0.9", ComputerTradeFood, kComputers, &City::Food, 200, 50, 0, false, 200, 50, nullptr}},
             0.9);
    // Nothing to spare is no sale: it would pay gold for food.
    RunCases({{"empty granary", ComputerTradeFood, kComputers, &City::Food, 0, 50, 0, false, 0, 50, nullptr}}, 2.0, 0);
    EXPECT_EQ(FitUnderLimit(1005, 10, 999), 0);  // a value past the top is never lowered
}

// The computer's choices on either side of each threshold, at prices as the market draws them.
TEST(ComputerChoices, TradeAndInvestExactlyAtTheirThresholds) {
    const double food08 = 5 / 10.0 + 0.3, food09 = 6 / 10.0 + 0.3, food14 = 11 / 10.0 + 0.3, food15 = 12 / 10.0 + 0.3;
    const auto food = &City::Food;
    // Cheap food (0.8 or less) is bought with all but 10 gold once a city holds more than 20.
    RunCases({{"buy at 0.8, 21 gold", ComputerTradeFood, kComputers, food, 200, 21, 0, true, 214, 10, nullptr},
              {"no buy at 0.8, 20 gold", ComputerTradeFood, kComputers, food, 200, 20, 0, false, 200, 20, nullptr}},
             food08);
    RunCases({{"no buy at 0.9", ComputerTradeFood, kComputers, food, 200, 21, 0, false, 200, 21, nullptr}}, food09);
    // Dear food (1.5 or more) is sold down to half the troops' share while the granary holds the troops'.
    RunCases({{"sale at 1.5", ComputerTradeFood, kComputers, food, 100, 50, 0, true, 51, 124, nullptr},
              {"no sale below the troops", ComputerTradeFood, kComputers, food, 99, 50, 0, false, 99, 50, nullptr}},
             food15);
    RunCases({{"no sale at 1.4", ComputerTradeFood, kComputers, food, 100, 50, 0, false, 100, 50, nullptr}}, food14);
    // Under 10 gold with more food than troops: a sale; under half the troops' food with more than 5 gold: a purchase.
    RunCases({{"poor: sells", ComputerSellFood, kComputers, food, 101, 9, 0, true, 51, 109, nullptr},
              {"10 gold: keeps", ComputerSellFood, kComputers, food, 101, 10, 0, false, 101, 10, nullptr},
              {"food as troops: keeps", ComputerSellFood, kComputers, food, 100, 9, 0, false, 100, 9, nullptr},
              {"hungry: buys", ComputerBuyFood, kComputers, food, 49, 6, 0, true, 49, 5, nullptr},
              {"half fed: no", ComputerBuyFood, kComputers, food, 50, 6, 0, false, 50, 6, nullptr},
              {"5 gold: no", ComputerBuyFood, kComputers, food, 49, 5, 0, false, 49, 5, nullptr}},
             2.0);
    // Investment: 10 gold up to 20 held, then half the gold in tens, at most 100; nothing under 10.
    const auto power = &City::Power;
    RunCases({
        {"9 gold", InvestPower, kComputers, power, 100, 9, 0, false, 100, 9, nullptr},
        {"10 gold", InvestPower, kComputers, power, 100, 10, 0, true, 105, 0, nullptr},
        {"20 gold", InvestPower, kComputers, power, 100, 20, 0, true, 105, 10, nullptr},
        {"21 gold", InvestPower, kComputers, power, 100, 21, 0, true, 105, 11, nullptr},
        {"40 gold", InvestPower, kComputers, power, 100, 40, 0, true, 106, 20, nullptr},
        {"199 gold", InvestPower, kComputers, power, 100, 199, 0, true, 112, 109, nullptr},
        {"200 gold", InvestPower, kComputers, power, 100, 200, 0, true, 120, 100, nullptr},
        {"room for 100", InvestPower, kComputers, power, 989, 300, 0, true, 999, 200, nullptr},
        {"room for 90", InvestPower, kComputers, power, 990, 300, 0, true, 999, 210,
         "最大値を越します、金90だけでよいです。金10は返金します。"},
    });
}

}  // namespace
}  // namespace tarvex
