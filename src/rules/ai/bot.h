// The bot: a player that plays well, by the player's orders and what the player
// sees, the yardstick the computer's strength is measured against.
#pragma once

#include <optional>

#include "rules/orders/player.h"

namespace tarvex {

// Battles played for each estimate the bot makes: enough to tell a good attack
// from a doubtful one, few enough for a whole game in seconds.
inline constexpr int kBotOddsRuns = 200;

class BotPlayer : public PlayerPolicy {
public:
    // It attacks where it wins at least `attackShare` of its estimates.
    explicit BotPlayer(double attackShare = 0.7, int runs = kBotOddsRuns) : attackShare_(attackShare), runs_(runs) {}
    std::optional<Decision> Decide(const Game& game, Asked asked, const Refusal* refused) override;

private:
    Decision DecideOrder(const Game& game) const;
    Decision DecideTactic(const Game& game) const;
    double attackShare_;
    int runs_;
};

}  // namespace tarvex
