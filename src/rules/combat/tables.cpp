// The numbers of combat: tactics, the results table, odds bands and the dice.
#include "rules/combat/tables.h"

#include <algorithm>

#include "rules/world/numbers.h"

namespace tarvex {

// A nation's favourite tactic is numbered as the tables number tactics.
static_assert(WordsOf<TacticKind>::words.size() == kTacticCount + 1);
static_assert(static_cast<int>(TacticKind::Normal) == kNormal && static_cast<int>(TacticKind::Charge) == kCharge &&
              static_cast<int>(TacticKind::Siege) == kSiege && static_cast<int>(TacticKind::Shooting) == kShooting &&
              static_cast<int>(TacticKind::Defence) == kDefence);

// Fixed from the program's start, so the computer's first choice of a run
// already sees the real costs and favourites.
const std::array<std::string, kTacticCount + 1> TacticNames = [] {
    std::array<std::string, kTacticCount + 1> names;
    for (int t = 0; t <= kTacticCount; ++t) names[t] = WordsOf<TacticKind>::words[t];
    return names;
}();

const std::array<std::array<int, kTacticCount + 1>, 7> TacticTable = {{
    //  -  通常 突撃 包囲 射撃 防御
    {0, 20, 30, 10, 20, 10},  // power: % of own troops the enemy loses per round
    {0, 0, 5, 10, 5, 0},      // morale bonus against 通常
    {0, 0, 5, 10, 10, 0},     // against 突撃: shooting is strong here
    {0, 0, 5, 10, 5, 0},      // against 包囲
    {0, 0, 5, 10, 0, 0},      // against 射撃
    {0, 0, 0, 0, 0, 0},       // against 防御: nothing gets through
    {0, 30, 70, 50, 70, 0},   // gold and food spent, % of starting troops
}};

const std::array<std::array<int, 9>, 7> ResultsTable = {{
    //  -  odds band 1..8
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 20, 20, 20, 30, 30, 40, 40, 50},  // die 1
    {0, 5, 10, 20, 20, 30, 30, 40, 40},   // die 2
    {0, 5, 5, 10, 10, 20, 30, 30, 40},    // die 3
    {0, 5, 5, 5, 5, 20, 20, 30, 30},      // die 4
    {0, 5, 5, 5, 5, 10, 20, 20, 20},      // die 5
    {0, 5, 5, 5, 5, 5, 10, 20, 10},       // die 6
}};

const std::string& TacticName(int tactic) {
    static const std::string none;
    if (tactic < 1 || tactic > kTacticCount) return none;
    return TacticNames[tactic];
}

int TacticCost(int tactic) { return TacticTable[kCostRow][std::clamp(tactic, 1, kTacticCount)]; }

int OddsBand(long long own, long long enemy) {
    // Nothing left to stand against the roll: the strongest odds.
    if (enemy <= 0) return 8;
    const double x = static_cast<double>(own) / static_cast<double>(enemy);
    if (x < 0.3) return 1;
    if (x < 0.5) return 2;
    if (x < 1) return 3;
    if (x < 2) return 4;
    if (x < 3) return 5;
    if (x < 4) return 6;
    if (x < 5) return 7;
    return 8;
}

bool RandomChance(Game& game, int p) { return p >= Floor(Rnd(game) * 99 + 1); }

int PreferenceBonus(int favourite, int tactic) {
    if (tactic < 1 || tactic > kTacticCount) return 0;
    return favourite == tactic ? 10 : 0;
}

int MoraleLoss(long long own, long long enemy, int die, double spread, int ownTactic, int enemyTactic, int bonus) {
    die = std::clamp(die, 1, 6);
    ownTactic = std::clamp(ownTactic, 1, kTacticCount);
    enemyTactic = std::clamp(enemyTactic, 1, kTacticCount);
    const int base = ResultsTable[die][OddsBand(own, enemy)] + TacticTable[enemyTactic][ownTactic] + bonus;
    // Somewhere between half the base and the whole of it.
    const double half = base / 2.0;
    return Nearest(Floor(spread * base / 2) + half);
}

int ComputeMoraleLoss(Game& game, long long own, long long enemy, int die, int ownTactic, int enemyTactic, int bonus) {
    return MoraleLoss(own, enemy, die, Rnd(game), ownTactic, enemyTactic, bonus);
}

}  // namespace tarvex
