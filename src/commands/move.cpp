// The order "1.移動": troops, food and gold to a neighbouring city of the same owner. (placeholder until built)
#include "commands/move.h"

namespace tarvex {

bool PrepareMove(Game&, int) { return false; }
bool ExecuteMove(Game&, int) { return false; }
int FitToDestination(int, int) { return 0; }
int SelectedTarget(const Game&) { return 0; }

}  // namespace tarvex
