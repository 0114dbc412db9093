// Brings a city's map panel up to date and reports values out of range.
#include "rules/world/refresh.h"

#include <algorithm>

#include "rules/port/screen.h"
#include "rules/world/numbers.h"

namespace tarvex {

namespace {
bool AllInRange(const City& c) {
    // One branch-free test rather than ten: this runs for every city after every step.
    const int highest = std::max({c.Troops, c.Power, c.Town, c.Castle, c.Food, c.Gold, c.Arms, c.Civility});
    return (highest <= kMaxValue) & (c.Gold >= 0) & (c.Food >= 0);
}

}  // namespace

void RefreshCity(Game& game, int city) {
    City& c = game.Cities[city];
    // The turn cycle refreshes every city after every step: keep the common case cheap.
    if (!game.KeepsCityPanels() && AllInRange(c)) return;
    struct Limit {
        int value;
        const char* prefix;
    };
    const Limit upper[] = {
        {c.Troops, "MAXエラー兵 "}, {c.Power, "MAXエラー国力 "},    {c.Town, "MAXエラー町 "},
        {c.Castle, "MAXエラー城 "}, {c.Food, "MAXエラー食料 "},     {c.Gold, "MAXエラー金 "},
        {c.Arms, "MAXエラー武装 "}, {c.Civility, "MAXエラー民度 "},
    };
    for (const Limit& l : upper) {
        if (l.value > kMaxValue) game.screen->Message(game, l.prefix + Str(l.value) + ":999", "");
    }
    const Limit lower[] = {{c.Gold, "MINエラー金"}, {c.Food, "MINエラー米"}};
    for (const Limit& l : lower) {
        if (l.value < 0) game.screen->Message(game, l.prefix + Str(l.value) + ":999", "");
    }
    game.CityRefreshed(city);
}

void RefreshAllCities(Game& game) {
    const bool keepsPanels = game.KeepsCityPanels();
    for (int i = 1; i <= kCityCount; ++i) {
        // The same early return as RefreshCity's, checked here without a call per city:
        // every step of a headless game passes over all 75.
        if (!keepsPanels && AllInRange(game.Cities[i])) continue;
        RefreshCity(game, i);
    }
}

}  // namespace tarvex
