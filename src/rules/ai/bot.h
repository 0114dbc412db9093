// The bot: a player that plays well, by the player's orders and what the player
// sees, the yardstick the computer's strength is measured against. Its
// reckoning is shared with the stronger computer (rules/ai/strong.h).
#pragma once

#include <array>
#include <optional>

#include "rules/combat/odds.h"
#include "rules/orders/player.h"

namespace tarvex {

// Battles played for each estimate the bot makes: enough to tell a good attack
// from a doubtful one, few enough for a whole game in seconds.
inline constexpr int kBotOddsRuns = 200;

// How a city is played by the bot's reckoning.
struct PlayStyle {
    double attackShare = 0.7;  // it attacks where it wins at least this share of its estimates
    int runs = kBotOddsRuns;   // battles an estimate plays
    // Estimates only attacks the city's strength could plausibly carry, and
    // only the tactics it can pay for: the computer plays every city every season.
    bool plausibleOnly = false;
    // Battles of a first look at each tactic of an attack, when not 0: only the
    // best of them is then estimated with `runs`.
    int screenRuns = 0;
    // A city a stronger enemy borders spends its gold beyond the defence fund on
    // soldiers and walls, keeping none for a march.
    bool holdsGround = false;
    // Whom a city keeps troops at home against when its army marches out.
    enum class Guard {
        Few,             // a few soldiers while another enemy borders it
        AnyNeighbour,    // as many as the strongest other enemy neighbour has under arms
        StrongerNation,  // the same, counting only neighbours of a nation stronger than its own
    };
    Guard guard = Guard::Few;
    // Gold kept on the front for every soldier, so that the defence can pay for
    // any tactic (a charge costs 0.7 a soldier); 0 spends it all on soldiers.
    double defenceFund = 0;
    // Share of its troops a city behind the front keeps when it sends the rest forward.
    double rearKeeps = 0;
    // Among the attacks good enough, one on the main enemy's cities comes first: the
    // enemy nation with the most troops and arms, the one that wins if nobody stops it.
    // It never makes an attack good enough that is not.
    bool mainEnemyFirst = false;
};

// An order for `city` and, for an attack, the tactic its estimate was best with.
struct CityPlan {
    Order order;
    int tactic = 0;
};
CityPlan PlanCityOrder(const Game& game, int city, const PlayStyle& style);

// The tactic of `allowed` with the best estimate for the side of the battle
// (`troops` of `attackCity` against `defendCity`) that chooses it, the other side
// playing `otherTactic` (one of the five, or drawn as a BattlePlan draws it).
// Defence when nothing is allowed.
int BestTactic(const Game& game, int attackCity, int defendCity, int troops, bool defending, int otherTactic,
               const std::array<bool, kTacticCount + 1>& allowed, int runs);

class BotPlayer : public PlayerPolicy {
public:
    explicit BotPlayer(double attackShare = 0.7, int runs = kBotOddsRuns) {
        style_.attackShare = attackShare;
        style_.runs = runs;
    }
    std::optional<Decision> Decide(const Game& game, Asked asked, const Refusal* refused) override;

private:
    Decision DecideTactic(const Game& game) const;
    PlayStyle style_;
};

}  // namespace tarvex
