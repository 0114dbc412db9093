// The turn cycle: OK steps, the shuffled turn order, seasons, harvest, unification. (placeholder until built)
#include "turn/cycle.h"

namespace tarvex {

void Form1_cmdOk_Click(Game&) {}
void RunCityTurn(Game&, int) {}
void BuildTurnOrder(Game&) {}
void RequestSeasonAdvance(Game&) {}
void AdvanceSeason(Game&) {}
void Harvest(Game&) {}
bool CheckUnification(Game&) { return false; }
void Form1_tmrOkclick_Timer(Game&) {}
void Form1_tmrOk_Timer(Game&) {}

}  // namespace tarvex
