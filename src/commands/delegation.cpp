// Handing the player's cities to the computer and taking them back. (placeholder until built)
#include "commands/delegation.h"

namespace tarvex {

void Form1_mnuInin_Click(Game&) {}
void Form1_mnuKaijyo_Click(Game&) {}
void ApplyDelegation(Game&) {}

}  // namespace tarvex
