// The player's attack order: the target list, the checks of the typed campaign,
// the confirmation and the battle it opens.
#include "screens/orders/attack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "screens/battle/battle_screen.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

using testing::TestGame;

constexpr int kLondon = 1;  // the player's; neighbours York, Southampton and Rouen
constexpr int kYork = 2;
constexpr int kRouen = 16;  // フランス王国

void Stores(City& c, int troops, int food, int gold) {
    c.Troops = troops;
    c.Food = food;
    c.Gold = gold;
}

void Type(Session& g, const char* troops, const char* food, const char* gold) {
    g.shown.main.orderAmounts = {troops, food, gold};
}

TEST(AttackOrder, PreparationListsForeignNeighboursAndOffersTheSmallestStore) {
    TestGame t;
    Session& g = t.game;
    Stores(g.Cities[kLondon], 100, 60, 80);
    SetOwner(g, kYork, "スコットランド王国");
    ASSERT_TRUE(PrepareAttack(g, kLondon));
    EXPECT_EQ(g.shown.main.targets, (std::vector<std::string>{"ヨーク", "ルーアン"}));
    EXPECT_EQ(g.TargetCount, 2);
    EXPECT_EQ(g.TargetList[0], kYork);
    EXPECT_EQ(g.TargetList[1], kRouen);
    EXPECT_EQ(g.shown.main.targetSelected, 0);
    EXPECT_EQ(g.shown.main.orderAmounts, (std::array<std::string, 3>{"60", "60", "60"}));
    EXPECT_TRUE(t.screen.Boxes().empty());
}

TEST(AttackOrder, PreparationRefusesWithoutTargetOrTroops) {
    struct Case {
        bool friendlyRouen;
        int troops;
        const char* refusal;
    } cases[] = {
        {true, 50, "戦闘可能都市がありません"},
        {true, 0, "戦闘可能都市がありません"},  // the missing target is told first
        {false, 0, "兵力が0です"},
    };
    for (const Case& c : cases) {
        TestGame t;
        Session& g = t.game;
        if (c.friendlyRouen) SetOwner(g, kRouen, "イングランド王国");
        Stores(g.Cities[kLondon], c.troops, 40, 40);
        EXPECT_FALSE(PrepareAttack(g, kLondon));
        EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{c.refusal});
        EXPECT_EQ(g.shown.main.orderAmounts[0], std::to_string(std::min(c.troops, 40)));
    }
}

TEST(AttackOrder, TypedCampaignIsCheckedBeforeAnythingMarches) {
    struct Case {
        int food, gold;
        const char *troopsText, *foodText, *goldText;
        const char* refusal;  // nullptr: the battle is fought
    } cases[] = {
        {60, 80, "60", "60", "60", nullptr},
        {60, 80, "70", "70", "70", "食料が足りません"},  // 70 food needed, only 60 held
        {100, 50, "60", "60", "60", "金が足りません"},
        {100, 50, "60", "60", "50", "金が足りません"},     // gold below the troops
        {100, 100, "50", "40", "50", "食料が足りません"},  // food below the troops
        {100, 100, "0", "0", "0", "足りません"},
        {100, 100, "101", "101", "101", "足りません"},
        {100, 100, "", "10", "10", "整数を入力してください"},
        {100, 100, "10", "ten", "10", "整数を入力してください"},
        {100, 100, "-5", "0", "0", "0以上の数を入力してください"},
        {100, 100, "10", "10", "-0.5", "0以上の数を入力してください"},
        {100, 100, "2.9", "2", "2", nullptr},  // whole part: 2 troops
    };
    for (const Case& c : cases) {
        TestGame t;
        Session& g = t.game;
        Stores(g.Cities[kLondon], 100, c.food, c.gold);
        ASSERT_TRUE(PrepareAttack(g, kLondon));
        Type(g, c.troopsText, c.foodText, c.goldText);
        const City before = g.Cities[kLondon];
        const bool fought = ExecuteAttack(g, kLondon);
        const std::string label = std::string(c.troopsText) + "/" + c.foodText + "/" + c.goldText;
        EXPECT_EQ(fought, c.refusal == nullptr) << label;
        if (c.refusal) {
            EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{c.refusal}) << label;
            EXPECT_EQ(g.Cities[kLondon], before) << label;
        } else {
            EXPECT_EQ(t.screen.Boxes().front(), "ルーアンへ攻める") << label;
            EXPECT_TRUE(g.Battle.BattleOver) << label;
            EXPECT_EQ(g.Battle.AttackTroopsAtStart, std::atoi(c.troopsText)) << label;
        }
    }
}

TEST(AttackOrder, CancellingTheConfirmationChangesNothing) {
    TestGame t;
    Session& g = t.game;
    Stores(g.Cities[kLondon], 100, 100, 100);
    ASSERT_TRUE(PrepareAttack(g, kLondon));
    t.screen.answers = {Answer::Cancel};
    const auto before = g.Cities;
    EXPECT_FALSE(ExecuteAttack(g, kLondon));
    EXPECT_EQ(g.Cities, before);
    ASSERT_EQ(t.screen.log.size(), 1u);
    EXPECT_EQ(t.screen.log[0].kind, testing::Shown::QuestionBox);
    EXPECT_EQ(t.screen.log[0].text, "ルーアンへ攻める");
    EXPECT_EQ(t.screen.log[0].title, "");
}

TEST(AttackOrder, TheBattleOpensWithTheForceOutAndAnEmptyTargetHeldByOne) {
    TestGame t;
    Session& g = t.game;
    Stores(g.Cities[kLondon], 100, 100, 100);
    g.Cities[kRouen].Troops = 0;
    ASSERT_TRUE(PrepareAttack(g, kLondon));
    Type(g, "40", "40", "40");
    BattleState atOpening;
    int homeAtOpening = -1;
    int defendersAtOpening = -1;
    t.screen.battle = [&](Game&) {
        atOpening = g.Battle;
        homeAtOpening = g.Cities[kLondon].Troops;
        defendersAtOpening = g.Cities[kRouen].Troops;
        OpenBattleScreen(g);
        ChoosePlayerTactic(g, 1);
        while (g.shown.battle.open && !g.Ended) FightNextRound(g);
    };
    EXPECT_TRUE(ExecuteAttack(g, kLondon));
    EXPECT_EQ(homeAtOpening, 60);
    EXPECT_EQ(defendersAtOpening, 1);
    EXPECT_EQ(atOpening.AttackCity, kLondon);
    EXPECT_EQ(atOpening.DefendCity, kRouen);
    EXPECT_EQ(atOpening.AttackTroops, 40);
    EXPECT_EQ(atOpening.DefendTroopsAtStart, 1);
    EXPECT_GE(atOpening.DefendTactic, 1);
    EXPECT_LE(atOpening.DefendTactic, 5);
    // 40 soldiers against one: the city falls at once and the player hears it in a box.
    EXPECT_TRUE(g.Battle.BattleOver);
    EXPECT_EQ(g.Cities[kRouen].Owner, "イングランド王国");
    EXPECT_EQ(t.screen.Boxes().back(), "ロンドンの勝ちです");
    EXPECT_EQ(g.Battle.AttackTactic, 2);
    EXPECT_EQ(g.Cities[kLondon].Gold, 100 - 28);  // 突撃: 70 % of 40
}

}  // namespace
}  // namespace tarvex
