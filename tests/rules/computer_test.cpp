// The computer's reflexes, its policy-weighted choice, its supplies and its attacks.
#include "rules/ai/computer.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::RulesGame;
using testing::Shown;

void SetStock(City& c, int food, int gold, int troops, int arms = 20) {
    c.Food = food;
    c.Gold = gold;
    c.Troops = troops;
    c.Arms = arms;
}

// Scripts PercentDraw to give each of `draws` in turn.
void PushPercents(testing::ScriptedRandom& r, std::initializer_list<int> draws) {
    for (int d : draws) r.PushFace(d, 99);
}

int BattleScreensOpened(const testing::ScriptedScreen& s) {
    int n = 0;
    for (const auto& e : s.log) n += e.kind == Shown::Battle;
    return n;
}

TEST(PercentDraw, SpansOneToNinetyNineNeverHundred) {
    RulesGame t;
    t.UseScripted();
    for (auto [rnd, want] : {std::pair{0.0, 1}, {0.5, 50}, {0.999999, 99}, {1.0 / 99, 2}}) {
        t.scripted.Push(rnd);
        EXPECT_EQ(PercentDraw(t.game), want) << rnd;
    }
}

TEST(PickByPercent, SplitsTheDrawEvenlyAndBoundariesGoToTheLowerCandidate) {
    struct Case {
        int n, draw, pick;  // pick is 1-based, 0 for none
    };
    const std::vector<int> cities{10, 20, 30, 40, 50, 60, 70};
    RulesGame t;
    t.UseScripted();
    for (const Case& c :
         {Case{1, 1, 1}, {1, 99, 1}, {2, 50, 1}, {2, 51, 2}, {2, 99, 2}, {3, 33, 1}, {3, 34, 2}, {3, 66, 2}, {3, 67, 3},
          {3, 99, 3},    {4, 25, 1}, {4, 26, 2}, {4, 75, 3}, {4, 76, 4}, {5, 20, 1}, {5, 21, 2}, {5, 80, 4}, {5, 81, 5},
          {5, 99, 5},    {6, 17, 1}, {6, 18, 2}, {6, 85, 5}, {6, 86, 6}, {6, 99, 6}, {7, 98, 7}, {7, 99, 0}}) {
        PushPercents(t.scripted, {c.draw});
        const std::vector<int> candidates(cities.begin(), cities.begin() + c.n);
        const int want = c.pick == 0 ? 0 : cities[c.pick - 1];
        EXPECT_EQ(PickByPercent(t.game, candidates), want) << c.n << " candidates, draw " << c.draw;
    }
    // Nothing to choose from: no draw at all.
    EXPECT_EQ(PickByPercent(t.game, {}), 0);
    EXPECT_EQ(t.scripted.Left(), 0u);
}

// シラクサ (37) has a single neighbour, パレルモ (36): a frontier city that never
// supplies, whose reflexes stay quiet with this stock.
struct QuietFrontier {
    explicit QuietFrontier(const std::string& policy, const std::string& owner = "シチリア王国") {
        Game& g = t.game;
        g.Nations[12].Policy = policy;  // シチリア王国
        SetOwner(g, 37, owner);
        SetOwner(g, 36, "ナポリ王国");
        SetStock(g.Cities[37], 60, 150, 100, 50);  // food below troops: every attack is refused
        g.Cities[37].Town = g.Cities[37].Power = g.Cities[37].Castle = 100;
        SetStock(g.Cities[36], 10, 10, 50);
        g.FoodPrice = 1.0;
        g.TroopsPrice = 5.0;
        g.ArmsPrice = 7.0;
        t.UseScripted();
    }
    RulesGame t;
};

TEST(ComputerTurn, PolicyBandsSplitTheDrawAtTheirEdges) {
    enum Band { Attack, Domestic, Military };
    struct Case {
        std::string policy;
        int draw;
        Band band;
    };
    const std::string town = "シラクサで町を建設しました";
    const std::string troops = "シラクサにて兵増強";
    for (const Case& c : {Case{"内政", 20, Attack},
                          {"内政", 21, Domestic},
                          {"内政", 71, Domestic},
                          {"内政", 72, Military},
                          {"普通", 30, Attack},
                          {"普通", 31, Domestic},
                          {"普通", 66, Domestic},
                          {"普通", 67, Military},
                          {"戦争", 40, Attack},
                          {"戦争", 41, Domestic},
                          {"戦争", 61, Domestic},
                          {"戦争", 62, Military},
                          // Any other policy plays as an ordinary nation.
                          {"平和", 30, Attack},
                          {"平和", 31, Domestic},
                          {"平和", 67, Military},
                          {"", 66, Domestic},
                          {"", 99, Military}}) {
        QuietFrontier f(c.policy);
        // An attack is refused for want of food and the next try (50: domestic
        // under every policy) builds the town; 30 picks the town, 60 the troops.
        if (c.band == Attack) PushPercents(f.t.scripted, {c.draw, 50, 30});
        if (c.band == Domestic) PushPercents(f.t.scripted, {c.draw, 30});
        if (c.band == Military) PushPercents(f.t.scripted, {c.draw, 60});
        RunComputerCity(f.t.game, 37);
        const auto line2 = f.t.screen.Lines(2);
        ASSERT_FALSE(line2.empty()) << c.policy << " " << c.draw;
        EXPECT_EQ(line2.back(), c.band == Military ? troops : town) << c.policy << " " << c.draw;
        EXPECT_EQ(f.t.scripted.Left(), 0u) << c.policy << " " << c.draw;
    }
    // A city whose owner names no nation has no policy either.
    QuietFrontier stray("戦争", "どこでもない国");
    PushPercents(stray.t.scripted, {31, 30});
    RunComputerCity(stray.t.game, 37);
    EXPECT_EQ(stray.t.screen.Lines(2).back(), town);
}

TEST(ComputerTurn, SecondDrawPicksTheOrderWithinTheBand) {
    struct Case {
        int band, order;
        std::string notice;
    };
    for (const Case& c : {Case{50, 16, "シラクサで町を建設しました"},
                          {50, 50, "シラクサで町を建設しました"},
                          {50, 51, "シラクサで開墾されました"},
                          {50, 99, "シラクサで開墾されました"},
                          {99, 1, "シラクサで城の普請がありました"},
                          {99, 25, "シラクサで城の普請がありました"},
                          {99, 26, "シラクサで武装強化がありました"},
                          {99, 50, "シラクサで武装強化がありました"},
                          {99, 51, "シラクサにて兵増強"}}) {
        QuietFrontier f("普通");
        PushPercents(f.t.scripted, {c.band, c.order});
        RunComputerCity(f.t.game, 37);
        EXPECT_EQ(f.t.screen.Lines(2).back(), c.notice) << c.band << "/" << c.order;
    }
    // 1..15 is the food trade: at a middling price it refuses, so the next try runs.
    QuietFrontier f("普通");
    PushPercents(f.t.scripted, {50, 15, 50, 30});
    RunComputerCity(f.t.game, 37);
    EXPECT_EQ(f.t.screen.Lines(2), std::vector<std::string>{"シラクサで町を建設しました"});
    EXPECT_EQ(f.t.scripted.Left(), 0u);
}

TEST(ComputerTurn, TwentyRefusedTriesEndInDoingNothing) {
    QuietFrontier f("普通");
    Game& g = f.t.game;
    g.Cities[37].Gold = 2;  // too poor for any investment, troops or food trade
    const City before = g.Cities[37];
    // Every kind of refusal in turn: an attack (no second draw), the food trade,
    // the town, power, the castle, armament and troops.
    const std::vector<std::vector<int>> kinds{{1}, {50, 10}, {50, 30}, {50, 60}, {99, 10}, {99, 30}, {99, 60}};
    std::vector<std::vector<int>> tries;
    for (int i = 0; i < 20; ++i) tries.push_back(kinds[i % kinds.size()]);
    for (const auto& draws : tries)
        for (int d : draws) f.t.scripted.PushFace(d, 99);
    f.t.scripted.PushFace(50, 99);  // a 21st try would take this
    RunComputerCity(g, 37);
    EXPECT_EQ(f.t.screen.Lines(2), std::vector<std::string>{"何もしない"});
    EXPECT_EQ(f.t.scripted.Left(), 1u);
    EXPECT_EQ(g.Cities[37], before);
}

TEST(ComputerTurn, FoodBelowTroopsStopsTheAttackReflexAndSurplusGoldBuysTroops) {
    RulesGame t;
    Game& g = t.game;
    SetOwner(g, 36, "ナポリ王国");
    SetStock(g.Cities[36], 10, 10, 100);  // fewer troops: the sheer-numbers trigger fires
    SetStock(g.Cities[37], 299, 700, 300);
    g.TroopsPrice = 5.0;
    t.UseScripted();  // no draw may be taken
    RunComputerCity(g, 37);
    EXPECT_EQ(BattleScreensOpened(t.screen), 0);
    EXPECT_EQ(t.screen.Lines(2), std::vector<std::string>{"シラクサにて兵増強"});
    EXPECT_EQ(g.Cities[37].Troops, 300 + 70);  // half of 700 gold at 5 a soldier
}

TEST(ReinforceIfRich, BuysTroopsOnlyWhenGoldExceedsTwiceTheTroops) {
    for (auto [gold, buys] : {std::pair{100, false}, {101, true}}) {
        RulesGame t;
        Game& g = t.game;
        g.TroopsPrice = 5.0;
        SetStock(g.Cities[37], 10, gold, 50);
        EXPECT_EQ(ReinforceIfRich(g, 37), buys) << gold;
        EXPECT_EQ(g.Cities[37].Troops, buys ? 60 : 50) << gold;
    }
}

// シラクサ (37) next to a city of the player: an attack opens the battle screen,
// which here only looks at the set-up and leaves.
struct AttackOnPlayer {
    AttackOnPlayer() {
        Game& g = t.game;
        SetOwner(g, 36, "イングランド王国");
        g.AdvanceReady = true;
        t.screen.battle = [this](Game& game) {
            homeTroops = game.Cities[37].Troops;
            advanceReady = game.AdvanceReady;
            battle = game.Battle;
        };
        t.UseScripted();
        t.scripted.fallback = &t.mersenne;  // tactic choice
    }
    RulesGame t;
    int homeTroops = -1;
    bool advanceReady = true;
    BattleState battle;
};

TEST(AttackIfWeakNeighbour, FiresOnFiveFoldOrSheerNumbers) {
    struct Case {
        int troops, other;
        bool attacks;
    };
    for (const Case& c : {Case{60, 11, true},
                          {60, 12, false},
                          {250, 249, true},
                          {250, 250, false},
                          {200, 199, false},
                          {201, 200, true}}) {
        AttackOnPlayer a;
        Game& g = a.t.game;
        SetStock(g.Cities[37], c.troops, c.troops, c.troops);
        SetStock(g.Cities[36], 10, 10, c.other);
        EXPECT_EQ(AttackIfWeakNeighbour(g, 37), c.attacks) << c.troops << " vs " << c.other;
        EXPECT_EQ(BattleScreensOpened(a.t.screen), c.attacks ? 1 : 0);
        if (!c.attacks) {
            EXPECT_EQ(g.Cities[37].Troops, c.troops);
            continue;
        }
        EXPECT_EQ(a.homeTroops, 5);
        EXPECT_EQ(a.battle.AttackTroops, c.troops - 5);
        EXPECT_EQ(a.battle.AttackTroopsAtStart, c.troops - 5);
        EXPECT_EQ(a.battle.DefendTroopsAtStart, c.other);
    }
}

TEST(ComputerAttack, TheWeakCityMayBeAFriendTheTargetIsAlwaysForeign) {
    RulesGame t("スコットランド王国");
    Game& g = t.game;
    SetStock(g.Cities[1], 10, 10, 1);    // ロンドン, own nation, weak
    SetStock(g.Cities[4], 10, 10, 300);  // サザンプトン, own nation
    SetStock(g.Cities[3], 10, 10, 500);  // エディンバラ, the player's and strong
    SetStock(g.Cities[2], 60, 60, 60);
    int defender = 0;
    t.screen.battle = [&](Game& game) { defender = game.Battle.DefendCity; };
    t.UseScripted();
    t.scripted.fallback = &t.mersenne;
    RunComputerCity(g, 2);
    EXPECT_EQ(defender, 3);
    EXPECT_EQ(g.Cities[2].Troops, 5);
}

TEST(ComputerAttack, RefusesWithoutFoodGoldTroopsOrAForeignNeighbour) {
    struct Case {
        std::string name;
        int food, gold, troops;
        bool friendlyNeighbour;
        unsigned drawsTaken;
    };
    for (const Case& c : {Case{"food", 59, 60, 60, false, 0},
                          {"gold", 60, 59, 60, false, 0},
                          {"troops", 5, 5, 5, false, 1},
                          {"friends only", 60, 60, 60, true, 1}}) {
        RulesGame t;
        Game& g = t.game;
        SetOwner(g, 36, c.friendlyNeighbour ? g.Cities[37].Owner : "ナポリ王国");
        SetStock(g.Cities[37], c.food, c.gold, c.troops);
        t.UseScripted();
        PushPercents(t.scripted, {50, 50});
        EXPECT_FALSE(ComputerAttack(g, 37)) << c.name;
        EXPECT_EQ(2 - t.scripted.Left(), c.drawsTaken) << c.name;
        EXPECT_EQ(g.Cities[37].Troops, c.troops) << c.name;
    }
}

TEST(ComputerAttack, PlayersCityIsDefendedOnTheBattleScreenDelegatedOrNot) {
    for (bool delegated : {false, true}) {
        AttackOnPlayer a;
        Game& g = a.t.game;
        g.Delegated[36] = delegated;
        SetStock(g.Cities[37], 80, 90, 70);
        SetStock(g.Cities[36], 10, 10, 40);
        EXPECT_TRUE(ComputerAttack(g, 37));
        EXPECT_EQ(BattleScreensOpened(a.t.screen), 1);
        EXPECT_FALSE(a.advanceReady);
        EXPECT_EQ(a.homeTroops, 5);
        EXPECT_EQ(a.battle.AttackCity, 37);
        EXPECT_EQ(a.battle.DefendCity, 36);
        EXPECT_EQ(a.battle.AttackTroops, 65);
        EXPECT_GE(a.battle.AttackTactic, 1);
        EXPECT_LE(a.battle.AttackTactic, 5);
    }
}

TEST(ComputerAttack, BattleBetweenComputerCitiesIsFoughtToTheEndAtOnce) {
    RulesGame t;
    Game& g = t.game;
    SetOwner(g, 36, "ナポリ王国");
    SetStock(g.Cities[37], 600, 600, 500, 500);
    SetStock(g.Cities[36], 10, 10, 10, 0);
    g.Cities[36].Castle = 0;
    RunComputerCity(g, 37);
    EXPECT_EQ(BattleScreensOpened(t.screen), 0);
    EXPECT_TRUE(g.Battle.BattleOver);
    const auto line2 = t.screen.Lines(2);
    ASSERT_FALSE(line2.empty());
    EXPECT_EQ(line2.front(), "シラクサがパレルモに攻め込んだ");
    // The overwhelming attacker takes the city; the five left at home stay there.
    EXPECT_EQ(g.Cities[36].Owner, "シチリア王国");
    EXPECT_EQ(g.Cities[37].Troops, 5);
}

// ヨーク (2) between ロンドン (1), エディンバラ (3) and サザンプトン (4), all one nation.
struct Interior {
    Interior() {
        Game& g = t.game;
        for (int i = 1; i <= 5; ++i) SetOwner(g, i, "イングランド王国");
        SetStock(g.Cities[2], 100, 100, 100, 50);
        SetStock(g.Cities[1], 10, 10, 30);
        SetStock(g.Cities[3], 10, 10, 30);
        SetStock(g.Cities[4], 5, 995, 30, 20);
        t.UseScripted();
    }
    RulesGame t{""};
};

TEST(SupplyNeighbour, InteriorCityPassesGoldFoodAndTenSoldiersForward) {
    Interior in;
    Game& g = in.t.game;
    PushPercents(in.t.scripted, {80});  // the third of three candidates: サザンプトン
    RunComputerCity(g, 2);
    EXPECT_EQ(in.t.scripted.Left(), 0u);
    EXPECT_EQ(in.t.screen.Lines(2), std::vector<std::string>{"ヨークからサザンプトンへ「10」移動"});
    EXPECT_EQ(in.t.screen.Lines(3), std::vector<std::string>{"金「4」と食料「90」移動"});
    const City& from = g.Cities[2];
    const City& to = g.Cities[4];
    EXPECT_EQ(from.Gold, 96);
    EXPECT_EQ(from.Food, 10);
    EXPECT_EQ(from.Troops, 90);
    EXPECT_EQ(from.Arms, 50);
    EXPECT_EQ(to.Gold, 999);
    EXPECT_EQ(to.Food, 95);
    EXPECT_EQ(to.Troops, 40);
    EXPECT_EQ(to.Arms, 28);  // (30 x 20 + 10 x 50) / 40 = 27.5, half to even
}

TEST(SupplyNeighbour, FrontierCityNeverSupplies) {
    Interior in;
    Game& g = in.t.game;
    SetOwner(g, 3, "スコットランド王国");
    const auto before = g.Cities;
    EXPECT_FALSE(SupplyNeighbour(g, 2));  // no draw taken
    EXPECT_EQ(g.Cities, before);
    in.t.scripted.fallback = &in.t.mersenne;
    for (int season = 0; season < 20 && g.Cities[3].Owner != "イングランド王国"; ++season) RunComputerCity(g, 2);
    EXPECT_TRUE(in.t.screen.Lines(3).empty());
}

TEST(SupplyNeighbour, AmountsStopAtTheLimitsAndArmamentIsAveraged) {
    struct Case {
        std::string name;
        City from, to;  // Food, Gold, Troops, Arms as used here
        bool used;
        int troops, gold, food, toArms, fromArms;
    };
    auto stock = [](int food, int gold, int troops, int arms) {
        City c;
        SetStock(c, food, gold, troops, arms);
        return c;
    };
    for (const Case& c : {
             Case{"ten soldiers stay", stock(100, 100, 10, 20), stock(0, 0, 0, 20), false, 0, 0, 0, 20, 20},
             Case{"few soldiers, no surplus", stock(10, 10, 15, 20), stock(0, 0, 5, 20), true, 5, 0, 0, 20, 20},
             Case{"target full", stock(100, 100, 100, 20), stock(999, 999, 999, 20), false, 0, 0, 0, 20, 20},
             Case{"target over the top", stock(100, 100, 100, 20), stock(1005, 1005, 999, 20), false, 0, 0, 0, 20, 20},
             Case{"near the top", stock(500, 500, 50, 20), stock(990, 980, 995, 20), true, 4, 19, 9, 20, 20},
             Case{"unarmed on both sides", stock(10, 10, 30, 0), stock(10, 10, 0, -3), true, 10, 0, 0, 1, 1},
             Case{"armed into unarmed", stock(10, 10, 30, 90), stock(10, 10, 10, 0), true, 10, 0, 0, 46, 90},
         }) {
        RulesGame t("");
        Game& g = t.game;
        SetOwnerAs(g, 36, 37);
        SetStock(g.Cities[37], c.from.Food, c.from.Gold, c.from.Troops, c.from.Arms);
        SetStock(g.Cities[36], c.to.Food, c.to.Gold, c.to.Troops, c.to.Arms);
        t.UseScripted();
        PushPercents(t.scripted, {50});
        EXPECT_EQ(SupplyNeighbour(g, 37), c.used) << c.name;
        if (!c.used) {
            EXPECT_EQ(g.Cities[37].Troops, c.from.Troops) << c.name;
            EXPECT_TRUE(t.screen.Lines(2).empty()) << c.name;
            continue;
        }
        EXPECT_EQ(t.screen.Lines(2),
                  std::vector<std::string>{"シラクサからパレルモへ「" + std::to_string(c.troops) + "」移動"})
            << c.name;
        EXPECT_EQ(t.screen.Lines(3), std::vector<std::string>{"金「" + std::to_string(c.gold) + "」と食料「" +
                                                              std::to_string(c.food) + "」移動"})
            << c.name;
        EXPECT_EQ(g.Cities[37].Troops, c.from.Troops - c.troops) << c.name;
        EXPECT_EQ(g.Cities[36].Troops, c.to.Troops + c.troops) << c.name;
        EXPECT_EQ(g.Cities[36].Arms, c.toArms) << c.name;
        EXPECT_EQ(g.Cities[37].Arms, c.fromArms) << c.name;
        for (int i : {36, 37}) {
            EXPECT_GE(g.Cities[i].Gold, 0);
            EXPECT_LE(g.Cities[i].Gold, 999);
            EXPECT_GE(g.Cities[i].Food, 0);
            EXPECT_LE(g.Cities[i].Food, 999);
        }
    }
}

}  // namespace
}  // namespace tarvex
