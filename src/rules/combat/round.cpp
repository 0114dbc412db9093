// A battle's round as a calculation of its own.
#include "rules/combat/round.h"

#include <algorithm>

namespace tarvex {

namespace {

// Four rounds without a decision, and the attack has failed.
constexpr int kRoundLimit = 4;

int Power(int tactic) { return TacticTable[kPowerRow][std::clamp(tactic, 1, kTacticCount)]; }

// Troops a side loses to a force of `troops` fighting with `tactic`:
// floor(power × troops / 100 + 0.9), in whole numbers so no rounding slips in.
// A broken force (none left) inflicts nothing.
int TroopLoss(int tactic, int troops) {
    if (troops <= 0) return 0;
    return static_cast<int>((static_cast<long long>(Power(tactic)) * troops + 90) / 100);
}

}  // namespace

void HoldBackHalf(int& troops, int& reserve) {
    const int fighting = Nearest(troops / 2.0);
    reserve = troops - fighting;
    troops = fighting;
}

RoundResult ResolveRound(const BattleSides& before, const RoundDraws& draws) {
    RoundResult result;
    BattleSides& s = result.after;
    s = before;
    ++s.round;
    const int lossToDefender = MoraleLoss(static_cast<long long>(s.attackTroops) + s.attackArms,
                                          static_cast<long long>(s.defendTroops) + s.defendArms + s.defendCastle,
                                          draws.attackDie, draws.attackSpread, s.attackTactic, s.defendTactic,
                                          PreferenceBonus(s.attackFavourite, s.attackTactic));
    // The castle shelters the defenders; it does not strike.
    const int lossToAttacker =
        MoraleLoss(static_cast<long long>(s.defendTroops) + s.defendArms,
                   static_cast<long long>(s.attackTroops) + s.attackArms, draws.defendDie, draws.defendSpread,
                   s.defendTactic, s.attackTactic, PreferenceBonus(s.defendFavourite, s.defendTactic));
    s.defendMorale -= lossToDefender;
    s.attackMorale -= lossToAttacker;

    // The defenders strike first; the attackers hit back with what is left of them.
    s.attackTroops -= TroopLoss(s.defendTactic, s.defendTroops);
    s.defendTroops -= TroopLoss(s.attackTactic, s.attackTroops);
    // A side cannot fall below nothing.
    s.attackMorale = std::max(s.attackMorale, 0);
    s.defendMorale = std::max(s.defendMorale, 0);
    s.attackTroops = std::max(s.attackTroops, 0);
    s.defendTroops = std::max(s.defendTroops, 0);

    const bool attackBroken = s.attackMorale <= 0 || s.attackTroops <= 0;
    const bool defenceBroken = s.defendMorale <= 0 || s.defendTroops <= 0;
    result.over = attackBroken || defenceBroken || s.round > kRoundLimit;
    // A broken attack loses even if the defence broke too.
    result.won = result.over && !attackBroken && defenceBroken;
    return result;
}

}  // namespace tarvex
