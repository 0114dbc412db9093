// The turn cycle: the shuffled turn order, a city's turn, seasons, harvest, unification.
#include "rules/turn/cycle.h"

#include <algorithm>
#include <utility>

#include "rules/ai/computer.h"
#include "rules/chronicle/chronicle.h"
#include "rules/economy/market.h"
#include "rules/events/historical.h"
#include "rules/events/seasonal.h"
#include "rules/port/screen.h"
#include "rules/turn/messages.h"
#include "rules/world/numbers.h"
#include "rules/world/refresh.h"

namespace tarvex {

namespace {

constexpr int kSpring = 1;
constexpr int kAutumn = 3;
constexpr int kWinter = 4;

}  // namespace

int ShuffleCoin(Game& game) {
    // The single-precision draw's seven-digit decimal form, rounded halves to
    // even, is 1 exactly when the draw itself exceeds 0.5: the floats nearest
    // below 0.5 print as 0.5000000 and round to 0, the one just above prints
    // as 0.5000001. Comparing directly spares two number conversions a coin.
    return static_cast<float>(Rnd(game)) > 0.5f ? 1 : 0;
}

namespace {

// The autumn income of one value: never below nothing, and only up to 999.
void Gather(int& value, int civility, int base) {
    if (value >= kMaxValue) return;
    // A city whose people have turned against it yields nothing, it does not pay.
    const double income = std::max(0.0, static_cast<double>(civility) * base / 50.0);
    value = std::min(kMaxValue, Nearest(value + income));
}

}  // namespace

bool RunCityTurn(Game& game, int step) {
    if (game.PlayerActed) game.AdvanceReady = true;
    game.PlayerActed = false;
    if (step < 1 || step > kCityCount) return false;
    const int city = game.TurnOrder[step];
    if (!IsValidCity(city)) return false;
    const City& c = game.Cities[city];
    ShowMsg(game, {Str(city), " ", c.Name, " ", c.Owner});
    if (!IsPlayerRun(game, city)) {
        RunComputerCity(game, city);
        return false;
    }
    ShowMsg(game, "あなたの番です " + c.Name + "国");
    game.PlayerTurn = true;
    game.CurrentCity = city;
    // The season waits for his order.
    game.AdvanceReady = false;
    return true;
}

bool CompleteOrder(Game& game) {
    if (game.PlayerActed) return false;
    if (IsValidCity(game.CurrentCity)) RefreshCity(game, game.CurrentCity);
    game.PlayerActed = true;
    return true;
}

void BuildTurnOrder(Game& game) {
    for (int i = 1; i <= kCityCount; ++i) game.TurnOrder[i] = i;
    for (int round = 0; round < 3; ++round)
        for (int i = kCityCount; i >= 2; --i)
            if (ShuffleCoin(game) == 1) std::swap(game.TurnOrder[i], game.TurnOrder[1]);
}

void RequestSeasonAdvance(Game& game) {
    ++game.AdvanceGuard;
    if (game.AdvanceGuard == 1) AdvanceSeason(game);
}

void AdvanceSeason(Game& game) {
    game.TurnStart = true;
    game.AdvanceGuard = 0;
    if (game.Season >= kWinter) {
        game.Season = kSpring;
        ++game.Year;
    } else {
        ++game.Season;
    }

    if (game.Season == kSpring) {
        RunHistoricalEvents(game);
    }
    if (game.Season == kAutumn) {
        Harvest(game);
        // The season starts with a wait for OK, when the player reads the
        // panels and may save: they must show what the harvest brought.
        RefreshAllCities(game);
        DrawPrices(game);
        RunSeasonalEvent(game);
    }
    ShowMsg(game, SeasonCaption(game) + "です");
    RecordSeasonStart(game);
    CheckUnification(game);
}

void Harvest(Game& game) {
    for (int city = 1; city <= kCityCount; ++city) {
        City& c = game.Cities[city];
        Gather(c.Gold, c.Civility, c.Town);
        Gather(c.Food, c.Civility, c.Power);
    }
}

bool CheckUnification(Game& game) {
    for (int city = 1; city < kCityCount; ++city)
        if (game.Cities[city].Owner != game.Cities[city + 1].Owner) return false;
    ShowMsg(game, game.Cities[1].Owner + "が統一しました");
    RecordEntry(game, EntryKind::Unification, game.Cities[1].Owner + "がヨーロッパを統一しました", {},
                {NationIndex(game, game.Cities[1].Owner)});
    // How the war went, before the end.
    game.screen->ShowWarChart(game);
    EndGame(game);
    return true;
}

std::string SeasonCaption(const Game& game) {
    const int season = game.Season >= 1 && game.Season <= 4 ? game.Season : 1;
    return Str(game.Year) + "年目の" + game.SeasonNames[season];
}

}  // namespace tarvex
