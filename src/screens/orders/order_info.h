// What the order panels show beside their boxes: the numbers the order is
// decided by. The numbers behind a refusal come with the refusal itself.
#pragma once

#include <string>

#include "screens/session/session.h"

namespace tarvex {

struct OrderNumbers {
    // The acting city's stock (move, attack).
    std::string city, troops, food, gold, arms;
    // The target chosen in the list, as every city panel shows it; empty while none is chosen.
    std::string target, owner, targetTroops, targetArms, targetCastle, targetFood;
    // An attack's chances once its target and troops are chosen: "勝つ見込み 約62%", and
    // the troops each side keeps when the battle ends ("残る兵 味方 約120・敵 約35").
    // The chance with the best tactic the city can pay for ("勝つ見込み 突撃なら約85%"),
    // the habit's under it ("（いつもの戦法なら1%未満）"); the troops left are the best
    // tactic's; `oddsEach` holds all five, one a line.
    std::string odds, oddsHabit, oddsLeft, oddsEach;
    // Gold and food at hand (investment and market orders): "手持ち　金 10　食料 5".
    std::string stock;
};

// The numbers for the order panel that stands now; all empty for any other panel.
OrderNumbers ShownOrderNumbers(const Session& game);

}  // namespace tarvex
