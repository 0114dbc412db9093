// The five orders that turn a city's gold into power, town, castle, armament or troops. (placeholder until built)
#include "economy/invest.h"

namespace tarvex {

bool InvestPower(Game&, int) { return false; }
bool BuildTown(Game&, int) { return false; }
bool WorkOnCastle(Game&, int) { return false; }
bool StrengthenArms(Game&, int) { return false; }
bool ReinforceTroops(Game&, int) { return false; }
bool CheckInvestRoom(Game&, int, int, int, int) { return false; }
bool InvestGold(Game&, int, int&, int, bool) { return false; }
int TrimToMaximum(Game&, int, int, int) { return 0; }
bool CheckGoldForInput(Game&, int, int, double) { return false; }
int GainFor(int) { return 0; }

}  // namespace tarvex
