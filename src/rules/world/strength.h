// How well the computer plays: the levels' names and the level of a game's
// computer nations as a whole.
#pragma once

#include <string>

#include "rules/world/game.h"

namespace tarvex {

// "標準", "強い", "最強"; empty for a level that is none of them.
const char* StrengthName(int level);
inline bool IsStrength(int level) { return level >= kStandardStrength && level <= kStrongest; }

// Every nation the computer plays takes `level`; the player's own nation, whose
// cities the computer only runs when he delegates them, plays as the rules' computer.
void SetComputerStrength(Game& game, int level);
// The one level of every nation the computer plays (all but the player's), or 0
// when they differ (a tournament's save).
int ComputerStrength(const Game& game);
// What the windows show of it: "コンピュータ: 強い", "コンピュータ: 国ごとに異なる".
std::string StrengthCaption(const Game& game);

}  // namespace tarvex
