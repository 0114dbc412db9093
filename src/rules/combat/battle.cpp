// The battle model: set-up, rounds, the end, the settlement and the computer's tactics.
#include "rules/combat/battle.h"

#include <algorithm>
#include <string>

#include "rules/chronicle/chronicle.h"
#include "rules/combat/round.h"
#include "rules/combat/tables.h"
#include "rules/orders/order.h"
#include "rules/turn/cycle.h"
#include "rules/turn/messages.h"
#include "rules/world/march.h"
#include "rules/world/numbers.h"
#include "rules/world/refresh.h"

namespace tarvex {

namespace {

// A side cannot fall below nothing; whatever shows the battle is told of the change.
void ClampBattleSides(Game& game);
// Settles the battle and uses the acting city's order; BattleOver from then on.
void EndBattle(Game& game, bool won);

// Tactics the computer draws before it settles for defence, which its stores can always pay.
constexpr int kTacticTries = 20;

// Pays a tactic's share of the starting troops out of a stock.
void Pay(int& stock, int tactic, int troopsAtStart) {
    stock = Nearest(stock - TacticCost(tactic) * troopsAtStart / 100.0);
}

// A nation's favourite tactic 1..5, or 0 for none.
int FavouriteOf(const Nation& nation) { return static_cast<int>(nation.BestTactic.Value()); }

}  // namespace

void StartBattle(Game& game) {
    BattleState& b = game.Battle;
    b.AttackMorale = kStartingMorale;
    b.DefendMorale = kStartingMorale;
    b.BattleRound = 1;
    b.BattleOver = false;
    const City& attacker = game.Cities[b.AttackCity];
    const City& defender = game.Cities[b.DefendCity];
    // The player's defending tactic stands at 通常 until he chooses.
    if (IsPlayers(game, b.DefendCity)) b.DefendTactic = kNormal;
    if (!IsPlayers(game, b.AttackCity)) {
        ShowMsg2(game, {attacker.Name, "が", defender.Name, "に攻め込んだ"});
        ShowMsg2(game, {attacker.Name, "は", TacticName(b.AttackTactic), "、", defender.Name, "は",
                        TacticName(b.DefendTactic)});
    }
    b.AttackMorale = OpeningMorale(attacker.Civility);
    b.DefendMorale = OpeningMorale(defender.Civility);
    // The tactic and results tables are fixed for the whole run; nothing to fill.
    ClampBattleSides(game);
}

namespace {
void ClampBattleSides(Game& game) {
    BattleState& b = game.Battle;
    City& defender = game.Cities[b.DefendCity];
    // A side cannot fall below nothing.
    b.AttackMorale = std::max(b.AttackMorale, 0);
    b.DefendMorale = std::max(b.DefendMorale, 0);
    b.AttackTroops = std::max(b.AttackTroops, 0);
    defender.Troops = std::max(defender.Troops, 0);
    game.BattleChanged();
}

}  // namespace

void SplitForSiege(Game& game) {
    BattleState& b = game.Battle;
    b.AttackReserve = 0;
    b.DefendReserve = 0;
    if (b.AttackTactic == kSiege) HoldBackHalf(b.AttackTroops, b.AttackReserve);
    if (b.DefendTactic == kSiege) HoldBackHalf(game.Cities[b.DefendCity].Troops, b.DefendReserve);
    ClampBattleSides(game);
}

bool TakePlayerSideTactic(Game& game, int tactic) {
    if (const auto refusal = GiveTactic(game, tactic)) {
        Tell(game, refusal->text);
        return false;
    }
    return true;
}

void FightForAbsentPlayer(Game& game) {
    StartBattle(game);
    FightOnForAbsentPlayer(game);
}

void FightOnForAbsentPlayer(Game& game) {
    const BattleState& b = game.Battle;
    // The player's side is given the computer's own choice of tactic.
    const bool playerDefends = IsPlayers(game, b.DefendCity) && !IsPlayerRun(game, b.AttackCity);
    const int tactic =
        playerDefends ? ChooseTactic(game, b.DefendCity, b.AttackCity) : ChooseTactic(game, b.AttackCity, b.DefendCity);
    // Refused: defend, which costs nothing.
    if (!TakePlayerSideTactic(game, tactic) && !TakePlayerSideTactic(game, kDefence)) return;
    FightToTheLastRound(game);
}

void FightToTheLastRound(Game& game) {
    for (int round = 0; round < kRoundGuard && !game.Battle.BattleOver; ++round) FightRound(game);
}

std::pair<int, int> BattleFavourites(const Game& game, int attackCity, int defendCity) {
    // An owner that names no nation has none, and neither has a defender of the attacker's own nation.
    const int attackNation = game.Cities[attackCity].OwnerIndex;
    const int defendNation = game.Cities[defendCity].OwnerIndex;
    return {attackNation != 0 ? FavouriteOf(game.Nations[attackNation]) : 0,
            defendNation != 0 && defendNation != attackNation ? FavouriteOf(game.Nations[defendNation]) : 0};
}

namespace {

// The two sides as they stand before a round.
BattleSides SidesNow(const Game& game) {
    const BattleState& b = game.Battle;
    const City& attacker = game.Cities[b.AttackCity];
    const City& defender = game.Cities[b.DefendCity];
    const auto [attackFavourite, defendFavourite] = BattleFavourites(game, b.AttackCity, b.DefendCity);
    BattleSides sides;
    sides.attackTroops = b.AttackTroops;
    sides.attackArms = attacker.Arms;
    sides.attackMorale = b.AttackMorale;
    sides.attackTactic = b.AttackTactic;
    sides.attackFavourite = attackFavourite;
    sides.defendTroops = defender.Troops;
    sides.defendArms = defender.Arms;
    sides.defendCastle = defender.Castle;
    sides.defendMorale = b.DefendMorale;
    sides.defendTactic = b.DefendTactic;
    sides.defendFavourite = defendFavourite;
    sides.round = b.BattleRound;
    return sides;
}

// Each nation's record of the decided battle: a win or a loss, and the tactic it fought with.
void RecordOutcome(Game& game, int attackNation, int defendNation, bool won) {
    const BattleState& b = game.Battle;
    if (attackNation != 0) {
        Nation& nation = game.Nations[attackNation];
        ++(won ? nation.Wins : nation.Losses);
        ++nation.TacticCount[std::clamp(b.AttackTactic, 1, kTacticCount)];
    }
    if (defendNation != 0) {
        Nation& nation = game.Nations[defendNation];
        ++(won ? nation.Losses : nation.Wins);
        ++nation.TacticCount[std::clamp(b.DefendTactic, 1, kTacticCount)];
    }
}

// Who won, told as the player's part in the battle asks, and kept in the chronicle when he took part.
void TellOutcome(Game& game, bool won) {
    const BattleState& b = game.Battle;
    const City& attacker = game.Cities[b.AttackCity];
    const std::string report = attacker.Name + (won ? "の勝ちです" : "の負けです");
    if (IsPlayerRun(game, b.AttackCity)) {
        Tell(game, report);
    } else if (IsPlayerRun(game, b.DefendCity)) {
        ShowMsg2(game, report);
        Tell(game, report);
    } else {
        ShowMsg2(game, report);
    }
    if (IsPlayers(game, b.AttackCity) || IsPlayers(game, b.DefendCity)) {
        const City& defender = game.Cities[b.DefendCity];
        RecordEntry(game, EntryKind::Battle,
                    attacker.Name + "（" + attacker.Owner + "）が" + defender.Name + "（" + defender.Owner +
                        "）を攻め、" + (won ? "勝ちました" : "敗れました"),
                    {b.DefendCity, b.AttackCity}, {attacker.OwnerIndex, defender.OwnerIndex});
    }
}

}  // namespace

void FightRound(Game& game) {
    BattleState& b = game.Battle;
    if (b.BattleOver) return;
    City& defender = game.Cities[b.DefendCity];
    const int attackNation = game.Cities[b.AttackCity].OwnerIndex;
    const int defendNation = defender.OwnerIndex;

    const RoundResult result = ResolveRound(SidesNow(game), DrawRound([&game] { return Rnd(game); }));
    b.BattleRound = result.after.round;
    b.AttackTroops = result.after.attackTroops;
    b.AttackMorale = result.after.attackMorale;
    defender.Troops = result.after.defendTroops;
    b.DefendMorale = result.after.defendMorale;
    ClampBattleSides(game);

    if (!result.over) return;
    // A broken attack loses even if the defence broke too; four rounds without
    // a decision, and the attack has failed.
    const bool won = result.won;
    RecordOutcome(game, attackNation, defendNation, won);
    TellOutcome(game, won);
    EndBattle(game, won);
}

namespace {
void EndBattle(Game& game, bool won) {
    SettleBattle(game, won);
    // The battle used the order of the city whose turn it is.
    CompleteOrder(game);
    // The battle screen closes itself on seeing this; the main window is back in front.
    game.Battle.BattleOver = true;
}

}  // namespace

void SettleBattle(Game& game, bool won) {
    BattleState& b = game.Battle;
    City& attacker = game.Cities[b.AttackCity];
    City& defender = game.Cities[b.DefendCity];

    // The siege reserves rejoin their side, whatever the outcome.
    b.AttackTroops += b.AttackReserve;
    defender.Troops += b.DefendReserve;

    Pay(attacker.Gold, b.AttackTactic, b.AttackTroopsAtStart);
    Pay(attacker.Food, b.AttackTactic, b.AttackTroopsAtStart);
    Pay(defender.Gold, b.DefendTactic, b.DefendTroopsAtStart);
    Pay(defender.Food, b.DefendTactic, b.DefendTroopsAtStart);

    const int defendersLeft = defender.Troops;
    if (won) {
        // The survivors move in; the defenders left join them under the new owner.
        defender.Troops = defendersLeft + b.AttackTroops;
        MergeArmament(attacker, defender, defendersLeft, b.AttackTroops);
        if (defender.Troops > kMaxValue) {
            // What the city cannot hold goes home, as far as home can hold it; the rest disbands.
            const int excess = defender.Troops - kMaxValue;
            defender.Troops = kMaxValue;
            attacker.Troops = std::max(attacker.Troops, std::min(kMaxValue, attacker.Troops + excess));
        }
        const std::string loser = defender.Owner;
        const int loserIndex = defender.OwnerIndex;
        SetOwnerAs(game, b.DefendCity, b.AttackCity);
        RecordConquest(game, b.DefendCity, loser, loserIndex, "");
    } else if (!IsPlayers(game, b.AttackCity)) {
        // The computer's beaten army marches home; the player's is scattered.
        attacker.Troops = std::max(attacker.Troops, std::min(kMaxValue, attacker.Troops + b.AttackTroops));
    }

    NoNegative(attacker.Gold);
    NoNegative(attacker.Food);
    NoNegative(defender.Gold);
    NoNegative(defender.Food);

    // War wears the people down, but never below nothing.
    if (attacker.Civility > 0) --attacker.Civility;
    if (defender.Civility > 0) --defender.Civility;

    RefreshCity(game, b.AttackCity);
    RefreshCity(game, b.DefendCity);
}

namespace {

// The record's choice: the opponent nation's most used tactic, or a guess.
template <class Draw>
int ReadRecord(const Game& game, int opponent, Draw& draw) {
    const Nation* nation = NationOf(game, opponent);
    // Counts of a long game, or of a file, may be large: their sum is kept wide.
    long long sum = 0;
    if (nation)
        for (int t = 1; t <= kTacticCount; ++t) sum += nation->TacticCount[t];
    // Fewer than ten battles tell nothing: guess.
    if (sum < 10) return Floor(draw() * kTacticCount + 1);
    int best = 1;
    for (int t = 1; t <= kTacticCount; ++t)
        if (nation->TacticCount[t] >= nation->TacticCount[best]) best = t;
    return best;
}

template <class Draw>
int ChooseTacticFrom(const Game& game, int city, int opponent, const City& defender, Draw& draw) {
    const Nation* nation = NationOf(game, city);
    const StanceKind stance = nation ? nation->Stance.Value() : StanceKind::Other;
    const int favourite = nation ? FavouriteOf(*nation) : 0;
    const auto upTo = [&draw](int n) { return Floor(draw() * n + 1); };

    for (int attempt = 0; attempt < kTacticTries; ++attempt) {
        int t = upTo(kTacticCount);
        const bool ordinary = stance == StanceKind::Ordinary, headlong = stance == StanceKind::Headlong,
                   careful = stance == StanceKind::Careful;
        if (ordinary || headlong || careful) {
            const int r = upTo(10);
            // Which of chance, habit and the opponent's record decides, by stance.
            enum Source { kChance, kHabit, kRecord } source;
            if (r <= 5)
                source = ordinary ? kChance : headlong ? kHabit : kRecord;
            else if (r <= 8)
                source = ordinary ? kHabit : kChance;
            else
                source = careful ? kHabit : kRecord;
            switch (source) {
                case kChance:
                    t = upTo(kTacticCount);
                    break;
                case kHabit:
                    if (favourite != 0) t = favourite;
                    break;
                case kRecord:
                    t = ReadRecord(game, opponent, draw);
                    break;
            }
        }
        // The campaign is paid from the defending city's stores, whichever side chooses.
        const double cost = TacticCost(t) * defender.Troops / 100.0;
        if (cost >= defender.Gold || cost >= defender.Food) continue;
        return t;
    }
    return kDefence;
}

}  // namespace

int ChooseTactic(Game& game, int city, int opponent) {
    const auto draw = [&game] { return Rnd(game); };
    return ChooseTacticFrom(game, city, opponent, game.Cities[game.Battle.DefendCity], draw);
}

int ChooseTacticAgainst(const Game& game, int city, int opponent, const City& defender, RandomSource& source) {
    const auto draw = [&source] { return source.Next(); };
    return ChooseTacticFrom(game, city, opponent, defender, draw);
}

int ReadOpponentTactic(Game& game, int opponent) {
    const auto draw = [&game] { return Rnd(game); };
    return ReadRecord(game, opponent, draw);
}

void FightToTheEnd(Game& game) {
    StartBattle(game);
    SplitForSiege(game);
    while (!game.Battle.BattleOver) FightRound(game);
}

}  // namespace tarvex
