// How well the computer plays, by level and for a game's computer nations.
#include "rules/world/strength.h"

namespace tarvex {

namespace {

// The nation the player commands: 0 while he watches the computer play itself.
int PlayersNation(const Game& game) { return game.PlayerNation.empty() ? 0 : NationIndex(game, game.PlayerNation); }

}  // namespace

const char* StrengthName(int level) {
    switch (level) {
        case 1:
            return "標準";
        case 2:
            return "強い";
        case 3:
            return "最強";
        default:
            return "";
    }
}

void SetComputerStrength(Game& game, int level) {
    if (!IsStrength(level)) level = kStandardStrength;
    const int player = PlayersNation(game);
    for (int n = 1; n <= kNationCount; ++n) game.Strength[n] = n == player ? kStandardStrength : level;
}

int ComputerStrength(const Game& game) {
    const int player = PlayersNation(game);
    int level = 0;
    for (int n = 1; n <= kNationCount; ++n) {
        if (n == player) continue;
        if (level != 0 && game.Strength[n] != level) return 0;
        level = game.Strength[n];
    }
    return level;
}

std::string StrengthCaption(const Game& game) {
    const int level = ComputerStrength(game);
    return std::string("コンピュータ: ") + (IsStrength(level) ? StrengthName(level) : "国ごとに異なる");
}

}  // namespace tarvex
