// The turn and the battle of a player's nation played by a policy.
#include "rules/orders/player.h"

#include "rules/combat/battle.h"
#include "rules/turn/cycle.h"

namespace tarvex {

std::optional<Refusal> GiveDecision(Game& game, Asked asked, const Decision& decision) {
    const bool forTactic = decision.kind == Decision::Kind::Tactic;
    if (forTactic != (asked == Asked::Tactic)) return Refusal{RefusalCode::BadOrder, "エラー", {}};
    switch (decision.kind) {
        case Decision::Kind::Order:
            return GiveOrder(game, game.CurrentCity, decision.order);
        case Decision::Kind::Tactic:
            return GiveTactic(game, decision.tactic);
        case Decision::Kind::Delegate:
            return GiveDelegation(game, decision.city, true);
        case Decision::Kind::EndDelegation:
            return GiveDelegation(game, decision.city, false);
    }
    return Refusal{RefusalCode::BadOrder, "エラー", {}};
}

bool PlayTurnBy(Game& game, PlayerPolicy& policy) {
    std::optional<Refusal> refused;
    for (;;) {
        const std::optional<Decision> decision = policy.Decide(game, Asked::Order, refused ? &*refused : nullptr);
        if (!decision) return false;
        refused = GiveDecision(game, Asked::Order, *decision);
        if (!refused && decision->kind == Decision::Kind::Order) break;
    }
    // An attack's order was already used by the battle's settlement.
    CompleteOrder(game);
    return true;
}

bool FightBattleBy(Game& game, PlayerPolicy& policy) {
    StartBattle(game);
    std::optional<Refusal> refused;
    for (;;) {
        const std::optional<Decision> decision = policy.Decide(game, Asked::Tactic, refused ? &*refused : nullptr);
        if (!decision) {
            FightOnForAbsentPlayer(game);
            return false;
        }
        refused = GiveDecision(game, Asked::Tactic, *decision);
        if (!refused) break;
    }
    FightToTheLastRound(game);
    return true;
}

}  // namespace tarvex
