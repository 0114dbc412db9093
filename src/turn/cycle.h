// The turn cycle: OK steps, the shuffled turn order, seasons, harvest, unification.
#pragma once

#include "state/game.h"

namespace tarvex {

// The OK step: button, Enter key and timer all run it. Never re-entered: a call
// that comes while a step is running does nothing.
void Form1_cmdOk_Click(Game& game);
// Lets the city at TurnOrder[step] act.
void RunCityTurn(Game& game, int step);
void BuildTurnOrder(Game& game);
// One swap decision of the shuffle: 1 when the single-precision draw reads more than 0.5.
int ShuffleCoin(Game& game);
void RequestSeasonAdvance(Game& game);
void AdvanceSeason(Game& game);
// The autumn income of every city.
void Harvest(Game& game);
// True when every city has one owner; then the headline and EndGame follow.
bool CheckUnification(Game& game);
void Form1_tmrOkclick_Timer(Game& game);
void Form1_tmrOk_Timer(Game& game);

}  // namespace tarvex
