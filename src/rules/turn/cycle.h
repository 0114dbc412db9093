// The turn cycle: the shuffled turn order, a city's turn, seasons, harvest, unification.
#pragma once

#include <string>

#include "rules/world/game.h"

namespace tarvex {

// The orders a city can give (CommandKind), and "do nothing".
enum CommandKindCode {
    kMove = 1,
    kAttack = 2,
    kRaiseTroops = 3,
    kStrengthenArms = 4,
    kInvestPower = 5,
    kBuildTown = 6,
    kWorkOnCastle = 7,
    kSellFood = 8,
    kBuyFood = 9,
    kDoNothing = 10,
};

// The step after the last city's turn: the season ends.
inline constexpr int kSeasonEndStep = kCityCount + 1;

// Lets the city at TurnOrder[step] act. The computer's cities act at once;
// true when the player's own city is to give its order (CurrentCity), which
// the windows then ask him for.
bool RunCityTurn(Game& game, int step);
// The order of the city whose turn it is has been used: its values are
// checked, and the next step may move the season on. False when it was used
// already (a battle's settlement uses the attack order before the order
// itself returns) or the game has ended.
bool CompleteOrder(Game& game);
void BuildTurnOrder(Game& game);
// One swap decision of the shuffle: 1 when the single-precision draw reads more than 0.5.
int ShuffleCoin(Game& game);
void RequestSeasonAdvance(Game& game);
void AdvanceSeason(Game& game);
// The autumn income of every city.
void Harvest(Game& game);
// True when every city has one owner; then the headline and EndGame follow.
bool CheckUnification(Game& game);
// Year & "年目の" & season name: the main window's caption.
std::string SeasonCaption(const Game& game);

}  // namespace tarvex
