// The order "2.戦闘": an attack on a neighbouring city of another owner. (placeholder until built)
#include "commands/attack.h"

namespace tarvex {

bool PrepareAttack(Game&, int) { return false; }
bool ExecuteAttack(Game&, int) { return false; }

}  // namespace tarvex
