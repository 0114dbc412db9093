// The battle's round as a calculation, and the odds of an attack built on it: the
// calculation is the battle, the odds come true, and the game's dice stay untouched.
#include "rules/combat/odds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <random>

#include "rules/combat/battle.h"
#include "rules/combat/round.h"
#include "support/battle_setup.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::Engage;
using testing::PushRound;
using testing::RulesGame;
using testing::Stock;

constexpr int kLondon = 1;     // イングランド王国, the player's
constexpr int kGranada = 10;   // ナスル朝: 猛進, favourite 突撃
constexpr int kParis = 15;     // フランス王国: 慎重, favourite 射撃
constexpr int kRouen = 16;     // フランス王国
constexpr int kBordeaux = 21;  // ギエンヌ公国: 慎重, favourite 包囲

// Every tactic against every tactic, every odds band of the attacker's roll and both
// dice: the round the battle fights is the round the calculation gives.
TEST(BattleRound, TheCalculationIsTheRoundTheBattleFights) {
    RulesGame t;
    Game& g = t.game;
    t.UseScripted();
    const Game fresh = g;
    // Against 100 defenders these forces put the attacker's roll in bands 1..8.
    constexpr std::array<int, 8> kForces{20, 40, 80, 150, 250, 350, 450, 600};
    int cases = 0;
    for (int attackTactic = 1; attackTactic <= kTacticCount; ++attackTactic)
        for (int defendTactic = 1; defendTactic <= kTacticCount; ++defendTactic)
            for (const int force : kForces)
                for (int attackDie = 1; attackDie <= 6; ++attackDie)
                    for (int defendDie = 1; defendDie <= 6; ++defendDie) {
                        g = fresh;
                        Stock(g.Cities[kParis], 0, 30, 0, 500, 500, 40);
                        Stock(g.Cities[kBordeaux], 70, 30, 60, 500, 500, 60);
                        Engage(g, kParis, kBordeaux, force, attackTactic, defendTactic);
                        StartBattle(g);
                        // Morale low enough that some rounds decide, and every round of the four.
                        g.Battle.AttackMorale = 10 + 7 * attackDie;
                        g.Battle.DefendMorale = 10 + 7 * defendDie;
                        g.Battle.BattleRound = 1 + (attackDie + defendDie + force) % 4;
                        const RoundDraws draws{attackDie, std::fmod(0.37 * (attackDie + force), 1.0), defendDie,
                                               std::fmod(0.61 * (defendDie + attackTactic), 1.0)};
                        const auto [attackFavourite, defendFavourite] = BattleFavourites(g, kParis, kBordeaux);
                        BattleSides sides{g.Battle.AttackTroops,    g.Cities[kParis].Arms,
                                          g.Battle.AttackMorale,    attackTactic,
                                          attackFavourite,          g.Cities[kBordeaux].Troops,
                                          g.Cities[kBordeaux].Arms, g.Cities[kBordeaux].Castle,
                                          g.Battle.DefendMorale,    defendTactic,
                                          defendFavourite,          g.Battle.BattleRound};
                        const RoundResult expected = ResolveRound(sides, draws);
                        const int winsBefore = g.Nations[g.Cities[kParis].OwnerIndex].Wins;

                        PushRound(t.scripted, draws.attackDie, draws.attackSpread, draws.defendDie, draws.defendSpread);
                        FightRound(g);
                        ASSERT_EQ(t.scripted.Left(), 0U);
                        const BattleState& b = g.Battle;
                        const auto at = [&] {
                            return ::testing::Message() << attackTactic << "/" << defendTactic << " force " << force
                                                        << " dice " << attackDie << defendDie;
                        };
                        EXPECT_EQ(b.AttackMorale, expected.after.attackMorale) << at();
                        EXPECT_EQ(b.DefendMorale, expected.after.defendMorale) << at();
                        EXPECT_EQ(b.BattleOver, expected.over) << at();
                        EXPECT_EQ(g.Nations[g.Cities[kParis].OwnerIndex].Wins - winsBefore,
                                  expected.over && expected.won ? 1 : 0)
                            << at();
                        // Settlement moves troops about; before it, they are the round's.
                        if (!expected.over) {
                            EXPECT_EQ(b.AttackTroops, expected.after.attackTroops) << at();
                            EXPECT_EQ(g.Cities[kBordeaux].Troops, expected.after.defendTroops) << at();
                            EXPECT_EQ(b.BattleRound, expected.after.round) << at();
                        }
                        ++cases;
                    }
    EXPECT_EQ(cases, 25 * 8 * 36);
}

// The player's attack as the order and the battle screen fight it, with his tactic
// drawn from his record, as the odds assume.
bool FightAsThePlayer(Game& g, int target, int troops, std::mt19937_64& hand) {
    City& d = g.Cities[target];
    if (d.Troops < 1) d.Troops = 1;
    Engage(g, kLondon, target, troops, kNormal, kNormal);
    g.Cities[kLondon].Troops -= troops;
    g.Battle.DefendTactic = ChooseTactic(g, target, kLondon);
    const auto& record = g.Nations[g.Cities[kLondon].OwnerIndex].TacticCount;
    std::discrete_distribution<int> habit(record.begin() + 1, record.end());
    StartBattle(g);
    EXPECT_TRUE(TakePlayerSideTactic(g, habit(hand) + 1));
    for (int round = 0; round < 16 && !g.Battle.BattleOver; ++round) FightRound(g);
    return d.OwnerIndex == g.Cities[kLondon].OwnerIndex;
}

// Over positions of every kind, the battles predicted to be won one time in N are won
// one time in N: in each band of predictions the share of real victories lies within
// a few points of the predicted one.
TEST(AttackOdds, PredictionsComeTrueBandByBand) {
    RulesGame t;
    Game& g = t.game;
    const Game fresh = g;
    std::mt19937_64 hand(2024);
    const auto upTo = [&hand](int n) { return static_cast<int>(hand() % static_cast<unsigned>(n + 1)); };
    constexpr int kPositions = 2000;
    constexpr int kBands = 10;
    std::array<double, kBands> predicted{};
    std::array<int, kBands> won{}, fought{};
    for (int i = 0; i < kPositions; ++i) {
        g = fresh;
        t.screen.Clear();
        const int target = std::array{kRouen, kBordeaux, kGranada}[i % 3];
        Stock(g.Cities[kLondon], 300, upTo(300), upTo(200), 500, 500, upTo(100));
        Stock(g.Cities[target], upTo(400), upTo(300), upTo(500), upTo(300), upTo(300), upTo(100));
        auto& record = g.Nations[g.Cities[kLondon].OwnerIndex].TacticCount;
        for (int k = 1; k <= kTacticCount; ++k) record[k] = upTo(3) == 0 ? 0 : upTo(20);
        if (std::accumulate(record.begin() + 1, record.end(), 0) == 0) record[kCharge] = 1;
        const int troops = 1 + upTo(299);

        const double p = EstimateAttack(g, kLondon, target, troops, 1000).WinShare();
        const int band = std::min(static_cast<int>(p * kBands), kBands - 1);
        predicted[band] += p;
        ++fought[band];
        won[band] += FightAsThePlayer(g, target, troops, hand) ? 1 : 0;
    }
    int bandsJudged = 0;
    for (int band = 0; band < kBands; ++band) {
        if (fought[band] < 60) continue;
        ++bandsJudged;
        const double expect = predicted[band] / fought[band];
        const double seen = static_cast<double>(won[band]) / fought[band];
        const double spread = std::sqrt(std::max(expect * (1 - expect), 0.01) / fought[band]);
        EXPECT_NEAR(seen, expect, 3.5 * spread + 0.02) << "band " << band << " of " << fought[band] << " battles";
    }
    EXPECT_GE(bandsJudged, 6);
}

// A few positions each fought many times over: the estimate is the share actually won,
// and the troops it expects are the troops actually left.
TEST(AttackOdds, AnEstimateIsTheShareOfManyBattlesWon) {
    RulesGame t;
    Game& g = t.game;
    std::mt19937_64 hand(77);
    struct Position {
        int target, troops, arms, civility, defenders, defenceArms, castle;
    };
    for (const Position& p : {Position{kRouen, 150, 40, 60, 120, 30, 400}, Position{kBordeaux, 80, 0, 20, 40, 60, 100},
                              Position{kGranada, 250, 100, 80, 200, 150, 0}}) {
        Stock(g.Cities[kLondon], 300, p.arms, 50, 500, 500, p.civility);
        Stock(g.Cities[p.target], p.defenders, p.defenceArms, p.castle, 200, 200, 50);
        auto& record = g.Nations[g.Cities[kLondon].OwnerIndex].TacticCount;
        record = {0, 4, 9, 2, 6, 1};
        const Game fresh = g;
        const AttackOdds odds = EstimateAttack(g, kLondon, p.target, p.troops);
        constexpr int kBattles = 3000;
        int won = 0;
        double left = 0;
        for (int i = 0; i < kBattles; ++i) {
            g = fresh;
            t.screen.Clear();
            won += FightAsThePlayer(g, p.target, p.troops, hand) ? 1 : 0;
            left += g.Battle.AttackTroops;
        }
        const double share = static_cast<double>(won) / kBattles;
        EXPECT_NEAR(odds.WinShare(), share, 0.035) << "against " << p.target;
        // What the battle leaves the attacker, siege reserve home again (as the settlement counts it).
        EXPECT_NEAR(odds.attackersLeft, left / kBattles, 0.05 * p.troops + 1) << "against " << p.target;
    }
}

// Each tactic's estimate comes true for battles fought with that tactic, in an
// attack (the defender choosing as the computer does) and in a defence against a
// known attacking tactic; the tactic matters, so a single habit's figure would not do.
TEST(AttackOdds, EachTacticsEstimateIsTheShareWonWithThatTactic) {
    RulesGame t;
    Game& g = t.game;
    Stock(g.Cities[kLondon], 300, 40, 50, 500, 500, 40);
    Stock(g.Cities[kBordeaux], 290, 60, 120, 400, 400, 60);
    const Game fresh = g;
    struct Side {
        int attacker, target, troops;
        bool playerDefends;
    };
    double lowest = 1, highest = 0;
    for (const Side side : {Side{kLondon, kBordeaux, 120, false}, Side{kBordeaux, kLondon, 200, true}}) {
        for (int tactic = 1; tactic <= kTacticCount; ++tactic) {
            g = fresh;
            const BattlePlan plan{side.attacker, side.target, side.troops, side.playerDefends ? kCharge : tactic,
                                  side.playerDefends ? tactic : kComputersTactic};
            const double p = EstimateBattle(g, plan).WinShare();
            constexpr int kBattles = 1500;
            int won = 0;
            for (int i = 0; i < kBattles; ++i) {
                g = fresh;
                t.screen.Clear();
                Engage(g, side.attacker, side.target, side.troops, kNormal, kNormal);
                g.Cities[side.attacker].Troops -= side.troops;
                if (side.playerDefends) {
                    g.Battle.AttackTactic = kCharge;
                } else {
                    g.Battle.DefendTactic = ChooseTactic(g, side.target, side.attacker);
                    g.Battle.AttackTactic = tactic;
                }
                StartBattle(g);
                if (side.playerDefends) g.Battle.DefendTactic = tactic;
                SplitForSiege(g);
                for (int round = 0; round < 16 && !g.Battle.BattleOver; ++round) FightRound(g);
                won += g.Cities[side.target].OwnerIndex == g.Cities[side.attacker].OwnerIndex ? 1 : 0;
            }
            const double seen = static_cast<double>(won) / kBattles;
            const double spread = std::sqrt(std::max(p * (1 - p), 0.01) / kBattles);
            EXPECT_NEAR(seen, p, 3.5 * spread + 0.015) << "tactic " << tactic << " attacker " << side.attacker;
            lowest = std::min(lowest, p);
            highest = std::max(highest, p);
        }
    }
    // The positions are ones where the choice of tactic decides.
    EXPECT_GT(highest - lowest, 0.2);
}

// The odds draw on dice of their own: the game's next numbers, its cities and its
// records are as they were, and the same position gives the same odds.
TEST(AttackOdds, NeverTouchTheGamesDiceAndRepeatThemselves) {
    RulesGame a, b;
    Stock(a.game.Cities[kLondon], 200, 50, 20, 300, 300, 50);
    Stock(b.game.Cities[kLondon], 200, 50, 20, 300, 300, 50);
    const auto citiesBefore = a.game.Cities;
    const AttackOdds first = EstimateAttack(a.game, kLondon, kRouen, 150);
    for (const int target : {kRouen, kParis, kBordeaux, kGranada}) EstimateAttack(a.game, kLondon, target, 120);
    const AttackOdds again = EstimateAttack(a.game, kLondon, kRouen, 150);
    EXPECT_EQ(first.wins, again.wins);
    EXPECT_EQ(first.attackersLeft, again.attackersLeft);
    EXPECT_EQ(first.runs, kOddsRuns);
    EXPECT_EQ(a.game.Cities, citiesBefore);
    EXPECT_EQ(a.game.Nations, b.game.Nations);
    for (int draw = 0; draw < 8; ++draw) EXPECT_EQ(Rnd(a.game), Rnd(b.game)) << draw;
    // Nothing to estimate: no troops, no target, the city itself.
    EXPECT_EQ(EstimateAttack(a.game, kLondon, kRouen, 0).runs, 0);
    EXPECT_EQ(EstimateAttack(a.game, kLondon, 0, 10).runs, 0);
    EXPECT_EQ(EstimateAttack(a.game, kLondon, kLondon, 10).runs, 0);
}

// The share as the panel words it: a flat "none" or "certain" only for what never
// or always happened, and the ends of the scale said as such, not rounded to 0 or 100.
TEST(AttackOdds, TheShareIsWordedWithoutAFlatNoneOrCertainForWhatCanGoEitherWay) {
    const struct {
        int wins, runs;
        const char* text;
    } cases[] = {{0, 4000, "ほぼなし"}, {0, 0, "ほぼなし"},       {1, 4000, "1%未満"},   {19, 4000, "1%未満"},
                 {21, 4000, "約1%"},    {2480, 4000, "約62%"},    {3979, 4000, "約99%"}, {3981, 4000, "99%超"},
                 {3999, 4000, "99%超"}, {4000, 4000, "ほぼ確実"}, {1, 1, "ほぼ確実"}};
    for (const auto& c : cases) EXPECT_EQ(ShareText(c.wins, c.runs), c.text) << c.wins << " of " << c.runs;
}

// A besieging side's reserve never fights: whatever befalls the half that does, the
// troops the estimate expects back include the reserve, and never more than were sent.
TEST(AttackOdds, TheSiegeReserveComesBackInTheTroopsLeft) {
    RulesGame t;
    Game& g = t.game;
    struct Case {
        int troops, defenders, attackTactic, defendTactic;
    };
    // A besieging attacker crushed, then a besieged defence crushed.
    for (const Case c : {Case{100, 1000, kSiege, kNormal}, Case{1000, 100, kCharge, kSiege}}) {
        Stock(g.Cities[kParis], 2000, 20, 0, 5000, 5000, 40);
        Stock(g.Cities[kBordeaux], c.defenders, 20, 0, 5000, 5000, 40);
        const AttackOdds odds = EstimateBattle(g, {kParis, kBordeaux, c.troops, c.attackTactic, c.defendTactic});
        // The besieging side's whole force, then its half that fights and its reserve.
        int troops = c.attackTactic == kSiege ? c.troops : c.defenders, reserve = 0;
        HoldBackHalf(troops, reserve);
        const double left = c.attackTactic == kSiege ? odds.attackersLeft : odds.defendersLeft;
        // The half that fights is all but gone; the reserve is all there.
        EXPECT_GE(left, reserve) << c.troops << " against " << c.defenders;
        EXPECT_LT(left, reserve + troops / 2.0) << c.troops << " against " << c.defenders;
    }
}

// The castle shelters the defenders and does not strike: in every round, more castle
// never costs the defence morale, never touches the attacker, and in an even fight saves
// the defence some morale.
TEST(BattleRound, TheCastleShieldsTheDefenceAndNeverStrikes) {
    int sheltered = 0;
    for (int attackTactic = 1; attackTactic <= kTacticCount; ++attackTactic)
        for (int defendTactic = 1; defendTactic <= kTacticCount; ++defendTactic)
            for (const int attackers : {50, 150, 400})
                for (int die = 1; die <= 6; ++die) {
                    BattleSides open{attackers, 30, 80, attackTactic, 0, 150, 30, 0, 80, defendTactic, 0, 1};
                    const RoundDraws draws{die, 0.5, 7 - die, 0.5};
                    const RoundResult bare = ResolveRound(open, draws);
                    open.defendCastle = 300;
                    const RoundResult walled = ResolveRound(open, draws);
                    EXPECT_GE(walled.after.defendMorale, bare.after.defendMorale) << attackTactic << defendTactic;
                    EXPECT_EQ(walled.after.attackMorale, bare.after.attackMorale) << attackTactic << defendTactic;
                    EXPECT_EQ(walled.after.attackTroops, bare.after.attackTroops);
                    EXPECT_EQ(walled.after.defendTroops, bare.after.defendTroops);
                    sheltered += walled.after.defendMorale > bare.after.defendMorale;
                }
    EXPECT_GT(sheltered, 25 * 3 * 6 / 3);
    // And the battle fights with the city's own castle.
    RulesGame t;
    Game& g = t.game;
    t.UseScripted();
    int shelteredInBattle = 0;
    for (const int attackers : {50, 150, 400})
        for (int die = 1; die <= 6; ++die) {
            int morale[2] = {};
            for (const int castle : {0, 300}) {
                Stock(g.Cities[kParis], 0, 30, 0, 500, 500, 80);
                Stock(g.Cities[kBordeaux], 150, 30, castle, 500, 500, 80);
                Engage(g, kParis, kBordeaux, attackers, kNormal, kNormal);
                StartBattle(g);
                PushRound(t.scripted, die, 0.5, 7 - die, 0.5);
                FightRound(g);
                morale[castle ? 1 : 0] = g.Battle.DefendMorale;
            }
            EXPECT_GE(morale[1], morale[0]) << attackers << " attackers, die " << die;
            shelteredInBattle += morale[1] > morale[0];
        }
    EXPECT_GT(shelteredInBattle, 3);
}

}  // namespace
}  // namespace tarvex
