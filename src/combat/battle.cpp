// The battle model: set-up, rounds, the end, the settlement and the computer's tactics. (placeholder until built)
#include "combat/battle.h"

namespace tarvex {

void StartBattle(Game&) {}
void SplitForSiege(Game&) {}
void SetAttackTactic(Game&, int) {}
void FightRound(Game&) {}
void EndBattle(Game&, bool) {}
void SettleBattle(Game&, bool) {}
int ChooseTactic(Game&, int, int) { return 0; }
int ReadOpponentTactic(Game&, int) { return 0; }
void FightToTheEnd(Game&) {}

}  // namespace tarvex
