// The foot of the main window: the newest entry of the chronicle that concerns
// the player's nation (his battles, cities taken or lost, events on his cities),
// standing until a newer one comes.
#pragma once

#include <string>

#include "screens/session/session.h"

namespace tarvex {

struct StatusShown {
    int entry = -1;    // its place in the chronicle; -1 while none concerns him
    std::string text;  // "3年目の夏 【戦闘】 ロンドン（イングランド王国）が…"
    // How well the computer plays this game ("コンピュータ: 強い"), at the foot's right end.
    std::string strength;
};

StatusShown ShownStatus(const Session& game);

}  // namespace tarvex
