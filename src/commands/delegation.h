// Handing the player's cities to the computer and taking them back.
#pragma once

#include "state/game.h"

namespace tarvex {

void Form1_mnuInin_Click(Game& game);     // "委任(&I)"
void Form1_mnuKaijyo_Click(Game& game);   // "委任解除(&K)"
void ApplyDelegation(Game& game);         // cmdOkPic7

}  // namespace tarvex
