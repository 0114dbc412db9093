// Who decides for a player's nation: a policy that is asked at every decision
// the player would make at the window, and the turn and the battle played by it.
#pragma once

#include <optional>

#include "rules/orders/order.h"

namespace tarvex {

// What the player is asked for: the order of the acting city (CurrentCity),
// or his side's tactic in the battle in progress (Battle).
enum class Asked { Order, Tactic };

// One answer: an order, a tactic, or a city delegated or taken back (which
// leaves the acting city's order still to give).
struct Decision {
    enum class Kind { Order, Tactic, Delegate, EndDelegation } kind = Kind::Order;
    Order order;
    int tactic = 0;
    int city = 0;
    bool operator==(const Decision&) const = default;
};

class PlayerPolicy {
public:
    virtual ~PlayerPolicy() = default;
    // The answer to `asked` as the game stands; `refused` is the refusal of this
    // policy's last answer to the same question, if it was refused. Nothing when
    // the player has gone: what remains of the step is played for him, and the
    // game stops at its end.
    virtual std::optional<Decision> Decide(const Game& game, Asked asked, const Refusal* refused) = 0;
    // The game ended or stopped; a policy with a partner says goodbye.
    virtual void GameOver(const Game& /*game*/) {}
};

// Whether the decision fits the question (an order or delegation for a city's
// turn, a tactic for a battle), then the check and the decision given.
std::optional<Refusal> GiveDecision(Game& game, Asked asked, const Decision& decision);

// The acting city's turn played by `policy`: decisions until its order is
// given and the turn completed. False when the policy has gone first.
bool PlayTurnBy(Game& game, PlayerPolicy& policy);
// The player's battle on the battle screen (already set up by the attack)
// played by `policy`: its tactic, then every round. False when the policy has
// gone; his side then takes the computer's choice, as for a player away.
bool FightBattleBy(Game& game, PlayerPolicy& policy);

}  // namespace tarvex
