// Brings a city's map panel up to date and reports values out of range.
#include "rules/world/refresh.h"

#include <algorithm>

#include "rules/port/screen.h"
#include "rules/world/numbers.h"
#include "rules/world/scenario.h"

namespace tarvex {

namespace {
bool AllInRange(const City& c) {
    // One branch-free test rather than ten: the comparisons ORed, not a maximum over a list.
    constexpr int m = kMaxValue;
    return !((c.Troops > m) | (c.Power > m) | (c.Town > m) | (c.Castle > m) | (c.Food > m) | (c.Gold > m) |
             (c.Arms > m) | (c.Civility > m) | (c.Gold < 0) | (c.Food < 0));
}

// Every value of every city within 0..999, as after nearly every step of a
// headless game: then no city has anything to report. One pass over the cities,
// without a branch a city. A value v lies outside 0..999 exactly when v or 999 - v
// is below nothing, that is when the top bit of the two ORed together is set.
bool EveryCityPlainlyInRange(const Game& game) {
    constexpr unsigned kTop = kMaxValue;
#if defined(__GNUC__)
    // Four values at a time: the eight of a city stand side by side.
    using Lanes = unsigned __attribute__((vector_size(16)));
    Lanes outside{};
    for (int i = 1; i <= kCityCount; ++i) {
        const City& c = game.Cities[i];
        const Lanes a{unsigned(c.Power), unsigned(c.Town), unsigned(c.Castle), unsigned(c.Food)};
        const Lanes b{unsigned(c.Gold), unsigned(c.Troops), unsigned(c.Arms), unsigned(c.Civility)};
        outside |= a | (kTop - a) | b | (kTop - b);
    }
    const unsigned any = outside[0] | outside[1] | outside[2] | outside[3];
#else
    unsigned any = 0;
    for (int i = 1; i <= kCityCount; ++i) {
        const City& c = game.Cities[i];
        for (int v : {c.Power, c.Town, c.Castle, c.Food, c.Gold, c.Troops, c.Arms, c.Civility})
            any |= unsigned(v) | (kTop - unsigned(v));
    }
#endif
    return (any >> 31) == 0;
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
    if (!keepsPanels && EveryCityPlainlyInRange(game)) return;
    for (int i = 1; i <= kCityCount; ++i) {
        // The same early return as RefreshCity's, checked here without a call per city.
        if (!keepsPanels && AllInRange(game.Cities[i])) continue;
        RefreshCity(game, i);
    }
}

void RefreshAfterOrder(Game& game, int city) {
    if (game.KeepsCityPanels() || !IsValidCity(city)) return RefreshAllCities(game);
    // RefreshCity's own early return, checked here without a call per city.
    const auto check = [&game](int c) {
        if (!AllInRange(game.Cities[c])) RefreshCity(game, c);
    };
    bool cityChecked = false;
    for (int j : NeighboursOf(city)) {
        if (!cityChecked && city < j) {
            check(city);
            cityChecked = true;
        }
        if (j != city) check(j);
    }
    if (!cityChecked) check(city);
}

}  // namespace tarvex
