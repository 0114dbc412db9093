// Watching without a hand: the game's own OK, the pause and the message speed.
#include "screens/main/auto_play.h"

#include <algorithm>

#include "rules/turn/messages.h"

namespace tarvex {

bool CommandsNoCity(const Game& game) {
    for (int city = 1; city <= kCityCount; ++city)
        if (IsPlayerRun(game, city)) return false;
    return true;
}

bool PlaysItself(const Session& game) {
    const MainWindowShown& m = game.shown.main;
    return m.loaded && m.autoPlay && !m.paused && CommandsNoCity(game);
}

double OwnOkSeconds(const Game& game) { return std::max(1.0, 4 * game.MessageWait); }

bool StepTimerRuns(const Session& game) { return game.shown.main.stepTimer || PlaysItself(game); }

void ToggleAutoPlay(Session& game) { game.shown.main.autoPlay = !game.shown.main.autoPlay; }

void TogglePause(Session& game) { game.shown.main.paused = !game.shown.main.paused; }

void ChooseSpeedInGame(Session& game, int index) {
    if (index < 0 || index >= static_cast<int>(kMessageWaits.size())) return;
    game.MessageSpeed = index;
    game.MessageWait = kMessageWaits[index];
    // The settings screen shows the speed the game goes at.
    game.shown.settings.option = index;
}

}  // namespace tarvex
