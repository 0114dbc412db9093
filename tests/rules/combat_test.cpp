// Combat: the tables and dice, the battle model's rounds and settlement, and the
// computer's choice of tactic.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "rules/combat/battle.h"
#include "rules/combat/tables.h"
#include "support/battle_setup.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::Engage;
using testing::PushRound;
using testing::RulesGame;
using testing::ScriptedRandom;
using testing::Stock;

constexpr int kLondon = 1;     // イングランド王国, the player's
constexpr int kParis = 15;     // フランス王国: 慎重, favourite 射撃
constexpr int kRouen = 16;     // フランス王国, next to London
constexpr int kGranada = 10;   // ナスル朝: 猛進, favourite 突撃
constexpr int kBordeaux = 21;  // ギエンヌ公国: 慎重, favourite 包囲

// ---- Tables and dice --------------------------------------------------------

TEST(CombatTables, BetterOddsNeverCostLessAndABetterRollNeverMore) {
    for (int band = 1; band <= 8; ++band)
        for (int die = 1; die <= 6; ++die) {
            const int loss = ResultsTable[die][band];
            EXPECT_TRUE(loss >= 5 && loss <= 50 && loss % 5 == 0) << "die " << die << " band " << band;
            // Down a band's column the roll worsens for the enemy's morale.
            if (die > 1) {
                EXPECT_LE(loss, ResultsTable[die - 1][band]) << "die " << die << " band " << band;
            }
            // Along the best roll's row the odds improve.
            if (die == 1 && band > 1) {
                EXPECT_GE(loss, ResultsTable[1][band - 1]) << "band " << band;
            }
        }
}

TEST(CombatTables, OddsBandBoundsAreExactAndANothingEnemyIsTheTopBand) {
    struct Case {
        long long own, enemy;
        int band;
    } cases[] = {
        {29, 100, 1},  {3, 10, 2},   {49, 100, 2}, {1, 2, 3},     {99, 100, 3}, {1, 1, 4},
        {199, 100, 4}, {2, 1, 5},    {3, 1, 6},    {399, 100, 6}, {4, 1, 7},    {499, 100, 7},
        {5, 1, 8},     {1000, 1, 8}, {0, 5, 1},    {5, 0, 8},     {0, 0, 8},    {5, -3, 8},
    };
    for (const Case& c : cases) EXPECT_EQ(OddsBand(c.own, c.enemy), c.band) << c.own << "/" << c.enemy;
}

TEST(CombatTables, MoraleLossLiesBetweenHalfAndAllOfTheBase) {
    RulesGame t;
    t.UseScripted();
    struct Case {
        long long own, enemy;
        int die, ownTactic, enemyTactic, bonus;
        double rnd;
        int loss;
    } cases[] = {
        // Base 5 (die 6, hopeless odds): only 2 or 4.
        {1, 100, 6, kDefence, kNormal, 0, 0.0, 2},
        {1, 100, 6, kDefence, kNormal, 0, 0.5, 4},
        {1, 100, 6, kDefence, kNormal, 0, 0.999, 4},
        // Base 50 (die 1, five times the strength): 25 to 49.
        {5, 1, 1, kNormal, kNormal, 0, 0.0, 25},
        {5, 1, 1, kNormal, kNormal, 0, 0.999, 49},
        // Equal strength, die 1 is 30; die 4 is 5.
        {7, 7, 1, kNormal, kNormal, 0, 0.0, 15},
        {7, 7, 4, kNormal, kNormal, 0, 0.0, 2},
        // Siege against 通常 adds 10; the favourite adds 10 more.
        {5, 1, 1, kSiege, kNormal, 0, 0.0, 30},
        {5, 1, 1, kSiege, kNormal, 10, 0.0, 35},
        // Against a defence the tactic adds nothing.
        {5, 1, 1, kSiege, kDefence, 0, 0.0, 25},
    };
    for (const Case& c : cases) {
        t.scripted.Push(c.rnd);
        EXPECT_EQ(ComputeMoraleLoss(t.game, c.own, c.enemy, c.die, c.ownTactic, c.enemyTactic, c.bonus), c.loss)
            << c.own << "/" << c.enemy << " die " << c.die << " rnd " << c.rnd;
    }
}

// ---- The battle -----------------------------------------------------------------

// Sets up the battle as the computer's attack does, ready for scripted rounds.
void Begin(RulesGame& t) {
    t.UseScripted();
    StartBattle(t.game);
    SplitForSiege(t.game);
    t.screen.Clear();
}

void Round(RulesGame& t, int attackDie, double attackRnd, int defendDie, double defendRnd) {
    PushRound(t.scripted, attackDie, attackRnd, defendDie, defendRnd);
    FightRound(t.game);
}

TEST(Battle, MoraleStartsFromHalfTheCivilityWhichNeverFallsBelowNothing) {
    for (auto [civility, morale] : {std::pair{100, 100}, {0, 50}, {41, 70}, {43, 72}}) {
        RulesGame t;
        Stock(t.game.Cities[kParis], 5, 10, 10, 50, 50, civility);
        Engage(t.game, kParis, kBordeaux, 30, kCharge, kShooting);
        StartBattle(t.game);
        EXPECT_EQ(t.game.Battle.AttackMorale, morale) << civility;
        EXPECT_EQ(t.game.Battle.DefendMorale, 75);
        // A computer's attack is announced with both tactics.
        EXPECT_EQ(t.screen.Lines(2),
                  (std::vector<std::string>{"パリがボルドーに攻め込んだ", "パリは突撃、ボルドーは射撃"}));
    }
    RulesGame t;
    Game& g = t.game;
    Stock(g.Cities[kParis], 5, 10, 0, 100, 100, 0);
    Stock(g.Cities[kBordeaux], 50, 10, 0, 100, 100, 1);
    Engage(g, kParis, kBordeaux, 20, kNormal, kNormal);
    SettleBattle(g, false);
    SettleBattle(g, false);
    EXPECT_EQ(g.Cities[kParis].Civility, 0);
    EXPECT_EQ(g.Cities[kBordeaux].Civility, 0);
}

TEST(Battle, SiegeHoldsBackHalfOfEachBesiegingSideUntilTheEnd) {
    RulesGame t;
    Game& g = t.game;
    Stock(g.Cities[kParis], 5, 10, 10, 500, 500, 50);
    Stock(g.Cities[kBordeaux], 103, 10, 10, 500, 500, 50);
    Engage(g, kParis, kBordeaux, 101, kSiege, kSiege);
    Begin(t);
    EXPECT_EQ(g.Battle.AttackTroops, 50);
    EXPECT_EQ(g.Battle.AttackReserve, 51);
    EXPECT_EQ(g.Cities[kBordeaux].Troops, 52);
    EXPECT_EQ(g.Battle.DefendReserve, 51);
    // The reserves come back whatever the outcome; the beaten computer force marches home.
    SettleBattle(g, false);
    EXPECT_EQ(g.Cities[kBordeaux].Troops, 103);
    EXPECT_EQ(g.Cities[kParis].Troops, 5 + 101);
}

TEST(Battle, BothSidesBrokenInOneRoundIsTheAttackersDefeatAndGoesOnTheRecord) {
    RulesGame t;
    Game& g = t.game;
    const auto before = g.Nations;
    Stock(g.Cities[kParis], 5, 0, 0, 500, 500, 50);
    Stock(g.Cities[kBordeaux], 10, 0, 0, 500, 500, 50);
    Engage(g, kParis, kBordeaux, 100, kCharge, kNormal);
    Begin(t);
    g.Battle.AttackMorale = 3;
    Round(t, 6, 0.0, 1, 0.99);

    EXPECT_EQ(g.Battle.DefendMorale, 75 - 8);  // base 10 + 5 for 突撃 against 通常
    EXPECT_EQ(g.Battle.AttackMorale, 0);       // 3 − 19, shown as 0
    EXPECT_EQ(g.Cities[kBordeaux].Troops, 0);  // 10 − 30
    EXPECT_TRUE(g.Battle.BattleOver);
    EXPECT_EQ(g.Cities[kBordeaux].Owner, "ギエンヌ公国");
    EXPECT_EQ(t.screen.Lines(2), std::vector<std::string>{"パリの負けです"});
    EXPECT_TRUE(t.screen.Boxes().empty());

    // One loss and one win, each with the tactic used; nobody else changes.
    EXPECT_EQ(g.Nations[8].Losses, 1);
    EXPECT_EQ(g.Nations[8].TacticCount[kCharge], 1);
    EXPECT_EQ(g.Nations[9].Wins, 1);
    EXPECT_EQ(g.Nations[9].TacticCount[kNormal], 1);
    int results = 0, counts = 0;
    for (int n = 1; n <= kNationCount; ++n) {
        if (n != 8 && n != 9) {
            EXPECT_EQ(g.Nations[n], before[n]) << n;
        }
        results += g.Nations[n].Wins + g.Nations[n].Losses;
        for (int k = 1; k <= 5; ++k) counts += g.Nations[n].TacticCount[k];
    }
    EXPECT_EQ(results, 2);
    EXPECT_EQ(counts, 2);
}

TEST(Battle, FourRoundsWithoutABreakAreTheAttackersDefeat) {
    RulesGame t;
    Game& g = t.game;
    Stock(g.Cities[kParis], 5, 0, 0, 100, 100, 50);
    Stock(g.Cities[kBordeaux], 100, 0, 0, 100, 100, 50);
    Engage(g, kParis, kBordeaux, 100, kDefence, kDefence);
    t.UseScripted();
    for (int round = 0; round < 4; ++round) PushRound(t.scripted, 6, 0.0, 6, 0.0);
    FightToTheEnd(g);

    EXPECT_EQ(t.scripted.Left(), 0u);
    EXPECT_EQ(g.Battle.BattleRound, 5);
    EXPECT_EQ(g.Battle.AttackMorale, 75 - 4 * 2);
    // Troops after each round: 90/91, 80/83, 71/75, 63/68.
    EXPECT_EQ(g.Cities[kBordeaux].Troops, 68);
    EXPECT_EQ(g.Cities[kParis].Troops, 5 + 63);
    EXPECT_EQ(t.screen.Lines(2).back(), "パリの負けです");
    EXPECT_EQ(g.Cities[kParis].Civility, 49);
}

TEST(Battle, ConquestJoinsBothSidesAndSendsWhatTheCityCannotHoldHome) {
    struct Case {
        int home, force, defenders, attackArms, defendArms;
        int garrison, arms, homeAfter;
    } cases[] = {
        // 56 attackers and 28 defenders left: (56 × 10 + 28 × 30) / 84 = 16.7.
        {5, 60, 40, 10, 30, 84, 17, 5},
        // 300 and 840: 141 too many; home holds at most 999, the rest disbands.
        {600, 390, 900, 0, 0, 999, 1, 741},
        {900, 390, 900, 0, 0, 999, 1, 999},
    };
    for (const Case& c : cases) {
        RulesGame t;
        Game& g = t.game;
        Stock(g.Cities[kParis], c.home, c.attackArms, 0, 500, 500, 50);
        Stock(g.Cities[kBordeaux], c.defenders, c.defendArms, 0, 100, 100, 50);
        Engage(g, kParis, kBordeaux, c.force, kNormal, kDefence);
        Begin(t);
        g.Battle.DefendMorale = 1;
        Round(t, 6, 0.0, 6, 0.0);
        EXPECT_EQ(g.Cities[kBordeaux].Owner, "フランス王国");
        EXPECT_EQ(g.Cities[kBordeaux].Troops, c.garrison) << c.force;
        EXPECT_EQ(g.Cities[kBordeaux].Arms, c.arms) << c.force;
        EXPECT_EQ(g.Cities[kParis].Troops, c.homeAfter) << c.force;
        EXPECT_EQ(t.screen.Lines(2).back(), "パリの勝ちです");
    }
}

TEST(Battle, FailedAttackLosesThePlayersSurvivorsButBringsTheComputersHome) {
    struct Case {
        const char* owner;
        bool delegated;
        int homeAfter;
        bool box;
    } cases[] = {
        {"イングランド王国", false, 5, true},
        {"イングランド王国", true, 5, false},
        {"スコットランド王国", false, 5 + 40, false},
    };
    for (const Case& c : cases) {
        RulesGame t;
        Game& g = t.game;
        SetOwner(g, kLondon, c.owner);
        g.Delegated[kLondon] = c.delegated;
        Stock(g.Cities[kLondon], 5, 0, 0, 100, 100, 50);
        Stock(g.Cities[kRouen], 50, 0, 0, 100, 100, 50);
        Engage(g, kLondon, kRouen, 50, kNormal, kNormal);
        Begin(t);
        g.Battle.AttackMorale = 1;
        Round(t, 6, 0.0, 6, 0.0);
        EXPECT_EQ(g.Cities[kLondon].Troops, c.homeAfter) << c.owner << c.delegated;
        EXPECT_EQ(g.Cities[kRouen].Troops, 42);
        const std::vector<std::string> report{"ロンドンの負けです"}, none;
        EXPECT_EQ(t.screen.Boxes(), c.box ? report : none);
        EXPECT_EQ(t.screen.Lines(2), c.box ? none : report);
    }
}

TEST(Battle, EachTacticCostsItsShareOfTheStartingTroops) {
    struct Case {
        int tactic, attackStart, defendStart, stock, attackerAfter, defenderAfter;
    } cases[] = {
        {kNormal, 100, 50, 200, 170, 185},  {kCharge, 100, 50, 200, 130, 165},
        {kSiege, 100, 50, 200, 150, 175},   {kShooting, 100, 50, 200, 130, 165},
        {kDefence, 100, 50, 200, 200, 200}, {kNormal, 5, 15, 10, 8, 6},  // 8.5 and 5.5 round to the even neighbour
        {kCharge, 100, 100, 10, 0, 0},  // what cannot be paid leaves nothing, not a debt
    };
    for (const Case& c : cases) {
        RulesGame t;
        Game& g = t.game;
        Stock(g.Cities[kParis], 5, 10, 0, c.stock, c.stock, 50);
        Stock(g.Cities[kBordeaux], c.defendStart, 10, 0, c.stock, c.stock, 50);
        Engage(g, kParis, kBordeaux, 0, c.tactic, c.tactic);
        g.Battle.AttackTroopsAtStart = c.attackStart;
        SettleBattle(g, false);
        EXPECT_EQ(g.Cities[kParis].Gold, c.attackerAfter) << c.tactic;
        EXPECT_EQ(g.Cities[kParis].Food, c.attackerAfter) << c.tactic;
        EXPECT_EQ(g.Cities[kBordeaux].Gold, c.defenderAfter) << c.tactic;
        EXPECT_EQ(g.Cities[kBordeaux].Food, c.defenderAfter) << c.tactic;
    }
}

TEST(Battle, ForcesOfNothingNeitherBreakTheOddsNorStrikeBack) {
    // A city with no troops, armament or castle: the attacker's roll is at the top odds.
    RulesGame t;
    Game& g = t.game;
    Stock(g.Cities[kParis], 5, 0, 0, 100, 100, 50);
    Stock(g.Cities[kBordeaux], 0, 0, 0, 100, 100, 50);
    Engage(g, kParis, kBordeaux, 10, kNormal, kNormal);
    Begin(t);
    Round(t, 1, 0.0, 6, 0.0);
    EXPECT_EQ(g.Battle.DefendMorale, 75 - 25);  // band 8, die 1: base 50
    EXPECT_EQ(g.Cities[kBordeaux].Owner, "フランス王国");
    EXPECT_EQ(g.Cities[kBordeaux].Troops, 10);

    // A single attacker cut down by 30 leaves nobody to strike with.
    RulesGame u;
    Stock(u.game.Cities[kParis], 5, 0, 0, 100, 100, 50);
    Stock(u.game.Cities[kBordeaux], 100, 0, 0, 100, 100, 50);
    Engage(u.game, kParis, kBordeaux, 1, kNormal, kCharge);
    Begin(u);
    Round(u, 6, 0.0, 6, 0.0);
    EXPECT_EQ(u.game.Cities[kBordeaux].Troops, 100);
    EXPECT_EQ(u.game.Cities[kParis].Troops, 5);
    EXPECT_EQ(u.game.Cities[kBordeaux].Owner, "ギエンヌ公国");
}

// ---- The computer's tactics ---------------------------------------------------------

TEST(Tactics, StanceDecidesBetweenChanceHabitAndTheOpponentsRecord) {
    enum Source { kChance, kHabit, kRecord, kAsDrawn };
    struct Case {
        const char* stance;
        int r;
        Source source;
    } cases[] = {
        {"普通", 1, kChance},  {"普通", 5, kChance}, {"普通", 6, kHabit}, {"普通", 8, kHabit},  {"普通", 9, kRecord},
        {"普通", 10, kRecord}, {"猛進", 1, kHabit},  {"猛進", 5, kHabit}, {"猛進", 6, kChance}, {"猛進", 9, kRecord},
        {"慎重", 1, kRecord},  {"慎重", 8, kChance}, {"慎重", 9, kHabit}, {"慎重", 10, kHabit}, {"戦争", 1, kAsDrawn},
    };
    for (const Case& c : cases) {
        RulesGame t;
        Game& g = t.game;
        Nation& chooser = g.Nations[9];  // owns Bordeaux
        chooser.Stance = c.stance;
        chooser.BestTactic = "包囲";
        g.Nations[8].TacticCount = {0, 3, 0, 0, 7, 0};  // France has shot most
        Stock(g.Cities[kBordeaux], 10, 0, 0, 100, 100, 50);
        g.Battle.DefendCity = kBordeaux;
        t.UseScripted();
        t.scripted.PushFace(1, 5);  // the first draw: 通常
        if (c.source != kAsDrawn) t.scripted.PushFace(c.r, 10);
        if (c.source == kChance) t.scripted.PushFace(5, 5);
        const int expected[] = {kDefence, kSiege, kShooting, kNormal};
        EXPECT_EQ(ChooseTactic(g, kBordeaux, kParis), expected[c.source]) << c.stance << " r " << c.r;
        EXPECT_EQ(t.scripted.Left(), 0u);
    }
    // A favourite that names no tactic keeps the first draw.
    RulesGame t;
    t.game.Nations[9].Stance = "猛進";
    t.game.Nations[9].BestTactic = "";
    Stock(t.game.Cities[kBordeaux], 10, 0, 0, 100, 100, 50);
    t.game.Battle.DefendCity = kBordeaux;
    t.UseScripted();
    t.scripted.PushFace(4, 5);
    t.scripted.PushFace(1, 10);
    EXPECT_EQ(ChooseTactic(t.game, kBordeaux, kParis), kShooting);
}

TEST(Tactics, AnUnaffordableChoiceIsDrawnAgainAndTwentyRefusalsDefend) {
    for (auto [gold, food] : {std::pair{0, 100}, {100, 0}}) {
        RulesGame t;
        Stock(t.game.Cities[kBordeaux], 100, 0, 0, gold, food, 50);
        t.game.Battle.DefendCity = kBordeaux;
        // Even 防御 costs 0, which is not below an empty store.
        for (int i = 0; i < 50; ++i) EXPECT_EQ(ChooseTactic(t.game, kBordeaux, kParis), kDefence);
        // The stores measured are the defender's, whichever side chooses.
        EXPECT_EQ(ChooseTactic(t.game, kParis, kBordeaux), kDefence);
    }
}

TEST(Tactics, TheFirstChoiceOfAFreshGameSeesFavouritesAndCosts) {
    RulesGame t;  // no battle has been fought yet
    Game& g = t.game;
    Stock(g.Cities[kGranada], 100, 0, 0, 60, 100, 50);
    g.Battle.DefendCity = kGranada;
    t.UseScripted();
    t.scripted.PushFace(1, 5);
    t.scripted.PushFace(1, 10);  // 猛進 takes its favourite 突撃: 70 gold, refused
    t.scripted.PushFace(3, 5);
    t.scripted.PushFace(6, 10);  // then chance: 通常, 30 gold, taken
    t.scripted.PushFace(1, 5);
    EXPECT_EQ(ChooseTactic(g, kGranada, kParis), kNormal);
    EXPECT_EQ(t.scripted.Left(), 0u);

    g.Cities[kGranada].Gold = 100;
    t.scripted.PushFace(1, 5);
    t.scripted.PushFace(1, 10);
    EXPECT_EQ(ChooseTactic(g, kGranada, kParis), kCharge);
}

TEST(Tactics, OpponentsRecordNeedsTenBattlesAndTiesGoToTheLaterTactic) {
    struct Case {
        std::array<int, 6> counts;
        int expected;
        bool guessed;
    } cases[] = {
        {{0, 2, 2, 2, 2, 1}, 2, true},   // 9 battles: a guess (face 2 scripted)
        {{0, 1, 0, 5, 0, 4}, 3, false},  // exactly 10: read
        {{0, 5, 0, 5, 0, 0}, 3, false},  // tie between 通常 and 包囲
        {{0, 2, 2, 2, 2, 2}, 5, false}, {{0, 12, 0, 0, 0, 0}, 1, false},
    };
    for (const Case& c : cases) {
        RulesGame t;
        t.game.Nations[8].TacticCount = c.counts;
        t.UseScripted();
        if (c.guessed) t.scripted.PushFace(c.expected, 5);
        EXPECT_EQ(ReadOpponentTactic(t.game, kParis), c.expected);
        EXPECT_EQ(t.scripted.Left(), 0u);
    }
}

}  // namespace
}  // namespace tarvex
