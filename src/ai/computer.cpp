// The computer's order for every city the player does not command. (placeholder until built)
#include "ai/computer.h"

namespace tarvex {

void RunComputerCity(Game&, int) {}
bool AttackIfWeakNeighbour(Game&, int) { return false; }
bool ReinforceIfRich(Game&, int) { return false; }
bool SupplyNeighbour(Game&, int) { return false; }
bool ComputerAttack(Game&, int) { return false; }
int PickByPercent(Game&, const std::vector<int>&) { return 0; }
int PercentDraw(Game&) { return 0; }
void TransferValue(int&, int&, int) {}

}  // namespace tarvex
