// The numbers of combat: tactics, the results table, odds bands and the dice. (placeholder until built)
#include "combat/tables.h"

namespace tarvex {

const std::array<std::string, kTacticCount + 1> TacticNames = {"", "通常", "突撃", "包囲", "射撃", "防御"};
const std::array<std::array<int, kTacticCount + 1>, 7> TacticTable{};
const std::array<std::array<int, 9>, 7> ResultsTable{};

const std::string& TacticName(int) { static const std::string s; return s; }
int OddsBand(long long, long long) { return 0; }
int RandomUpTo(Game&, int) { return 0; }
bool RandomChance(Game&, int) { return false; }
int RollDie(Game&) { return 0; }
int PreferenceBonus(const std::string&, int) { return 0; }
int ComputeMoraleLoss(Game&, long long, long long, int, int, int, int) { return 0; }

}  // namespace tarvex
