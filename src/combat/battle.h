// The battle model: set-up, rounds, the end, the settlement and the computer's tactics.
#pragma once

#include "state/game.h"

namespace tarvex {

void StartBattle(Game& game);
void SplitForSiege(Game& game);
void SetAttackTactic(Game& game, int option);
void FightRound(Game& game);
void EndBattle(Game& game, bool won);
void SettleBattle(Game& game, bool won);
int ChooseTactic(Game& game, int city, int opponent);
int ReadOpponentTactic(Game& game, int opponent);
// Runs a battle between two computer-run sides to its end (tactics already chosen).
void FightToTheEnd(Game& game);

}  // namespace tarvex
