// The battle model: set-up, rounds, the end, the settlement and the computer's tactics.
#pragma once

#include <utility>

#include "rules/port/random.h"
#include "rules/world/game.h"

namespace tarvex {

void StartBattle(Game& game);
void SplitForSiege(Game& game);
void FightRound(Game& game);
// What the battle's outcome does to both cities: reserves, costs, the conquest.
void SettleBattle(Game& game, bool won);
int ChooseTactic(Game& game, int city, int opponent);
// The computer's choice as ChooseTactic makes it, with `defender` paying for the
// campaign and the draws taken from `source` instead of the game's.
int ChooseTacticAgainst(const Game& game, int city, int opponent, const City& defender, RandomSource& source);
// The favourite tactics the attacking and the defending city fight best with (0 for none).
std::pair<int, int> BattleFavourites(const Game& game, int attackCity, int defendCity);
int ReadOpponentTactic(Game& game, int opponent);
// Runs a battle between two computer-run sides to its end (tactics already chosen).
void FightToTheEnd(Game& game);

// The player's side of the battle takes `tactic` 1..5: his defence when his
// city is attacked, otherwise his attack. False, after a box, when his
// defending city cannot pay for it.
bool TakePlayerSideTactic(Game& game, int tactic);
// The player's battle without a window: his side takes the computer's choice
// (defence when that cannot be paid), and the rounds are fought to the end.
void FightForAbsentPlayer(Game& game);
// The same for a battle already started.
void FightOnForAbsentPlayer(Game& game);
// The rounds of a battle whose tactics are chosen, to its end.
void FightToTheLastRound(Game& game);

}  // namespace tarvex
