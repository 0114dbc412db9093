// Every decision a player can make, as a value, and the one function that
// checks and carries out each: the command panels, the line protocol and the
// bot all give their orders here, and all meet the same refusals.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rules/turn/cycle.h"
#include "rules/world/game.h"

namespace tarvex {

// A city's order for its turn: `kind` is a CommandKindCode (kMove .. kDoNothing).
struct Order {
    int kind = kDoNothing;
    // Move and attack: the neighbour, and what goes there.
    int target = 0;
    int troops = 0, food = 0, gold = 0;
    // Investments and the market: the gold spent (the food sold).
    int amount = 0;
    bool operator==(const Order&) const = default;
};

// Why a decision was refused, in a form a program can act on.
enum class RefusalCode {
    BadCity,              // the city is not one this decision can name
    BadOrder,             // no such order or tactic
    NoFriendlyNeighbour,  // a move with nowhere to go
    NoEnemyNeighbour,     // an attack with nobody to attack
    NoTroops,             // an attack from an empty city
    BadTarget,            // the target is not one the order can reach
    NegativeAmount,
    TroopsShort,
    FoodShort,
    GoldShort,
    BelowMinimum,  // less than an investment's least amount, or than one unit's price
    OverMaximum,   // more than an investment may be
    AtLimit,       // the value is at its top already
    NothingToMove,
    NoMarket,   // no price was ever drawn
    LastCity,   // the player keeps one city in his own hands
    NoBattle,   // a tactic with no battle of the player's in progress
    NotANumber  // an entry that reads as no whole number (the panels' boxes)
};

// The code as the line protocol spells it ("gold_short").
const char* RefusalCodeName(RefusalCode code);

struct Refusal {
    RefusalCode code;
    std::string text;  // the box the player sees: "金が足りません"
    std::string hint;  // the numbers that decided it: "金: 必要 15 / あり 5"; may be empty
};

// The cities a move (friendly) or an attack (enemy) of `city` can reach, in ascending order.
std::vector<int> OrderTargets(const Game& game, int city, int kind);
// The order `kind` cannot even be started by `city` now (a move with no
// friendly neighbour, an attack with no enemy or no troops).
std::optional<Refusal> CheckOrderOpens(const Game& game, int city, int kind);
// Whether `city` may give `order` now; nothing changes either way.
std::optional<Refusal> CheckOrder(const Game& game, int city, const Order& order);
// Checks the order and, when it passes, carries it out exactly as the city's
// turn does (an attack fights its battle through the screen). A refusal
// changes nothing. The city's turn is completed by the caller.
std::optional<Refusal> GiveOrder(Game& game, int city, const Order& order);

// A computer city's attack by the player's order, its side fighting with
// `tactic`: against a computer's city to the end at once, against the player's
// on the battle screen. A refusal changes nothing.
std::optional<Refusal> GiveComputerAttack(Game& game, int city, const Order& order, int tactic);

// The player's side of the battle in progress takes `tactic` 1..5: his
// defence when his city is attacked, otherwise his attack. A defending city
// must be able to pay for it.
std::optional<Refusal> CheckTactic(const Game& game, int tactic);
std::optional<Refusal> GiveTactic(Game& game, int tactic);

// Hands one of the player's cities to the computer (`delegate`) or takes it back.
std::optional<Refusal> CheckDelegation(const Game& game, int city, bool delegate);
std::optional<Refusal> GiveDelegation(Game& game, int city, bool delegate);

}  // namespace tarvex
