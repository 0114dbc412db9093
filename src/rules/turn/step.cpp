// One step of the season: the next city gives its order, or the season ends.
#include "rules/turn/step.h"

#include "rules/turn/cycle.h"
#include "rules/world/refresh.h"

namespace tarvex {

StepResult AdvanceOneStep(Game& game) {
    game.TurnStart = false;
    if (game.TurnStep >= kSeasonEndStep) {
        game.TurnStep = 1;
        game.ActingCityChanged(0);
        RequestSeasonAdvance(game);
        return StepResult::SeasonStarted;
    }
    if (game.TurnStep < 1) game.TurnStep = 1;
    if (game.TurnStep == 1) BuildTurnOrder(game);
    // The map marks the city while it gives its order, and until the next one does.
    const int city = game.TurnOrder[game.TurnStep];
    game.ActingCityChanged(city);
    const bool playerOrders = RunCityTurn(game, game.TurnStep);
    ++game.TurnStep;
    RefreshAfterOrder(game, city);
    return playerOrders ? StepResult::PlayerToOrder : StepResult::CityActed;
}

}  // namespace tarvex
