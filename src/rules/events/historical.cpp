// Events tied to the calendar, at the start of certain years.
#include "rules/events/historical.h"

#include <array>

#include "rules/chronicle/chronicle.h"
#include "rules/port/screen.h"
#include "rules/world/refresh.h"

namespace tarvex {

namespace {

constexpr int kGain = 10;
constexpr int kBruges = 18;
constexpr int kIndependenceYear = 12;
// The cities the named developments favour, whoever holds them.
constexpr int kParis = 15;
constexpr int kVenice = 42;
constexpr int kDanzig = 50;

struct Development {
    int year;
    int city;
    std::array<int City::*, 2> fields;  // unused slots are null
    const char* text;
};

// A named development strengthens one city, whoever holds it by then.
const Development kDevelopments[] = {
    {5, kParis, {&City::Food, &City::Civility}, "「啓蒙主義」パリで食料が+10、\n民度が+10されました。"},
    {7, kDanzig, {&City::Troops, nullptr}, "「傭兵」ダンチヒで\n兵が+10されました。"},
    {10, kVenice, {&City::Arms, nullptr}, "「発明家」ヴェネツイアで\n武装度が+10されました。"},
};

}  // namespace

void RunHistoricalEvents(Game& game) {
    for (const Development& d : kDevelopments) {
        if (d.year != game.Year) continue;
        game.screen->Message(game, d.text, "");
        City& city = game.Cities[d.city];
        RecordEntry(game, EntryKind::History, d.text, {d.city}, {city.OwnerIndex});
        for (int City::*field : d.fields) {
            if (field == nullptr) continue;
            city.*field += kGain;
            if (city.*field > kMaxValue) city.*field = kMaxValue;
        }
        RefreshCity(game, d.city);
    }
    if (game.Year == kIndependenceYear) {
        // The Dutch rise at Bruges and take it from whoever holds it, the player included.
        game.screen->Message(game, "「新興国家の成立」\nブリュージュで「オランダ」が独立しました", "");
        const std::string before = game.Cities[kBruges].Owner;
        const int beforeIndex = game.Cities[kBruges].OwnerIndex;
        SetOwner(game, kBruges, "オランダ");
        RecordEntry(game, EntryKind::History, "「新興国家の成立」ブリュージュで「オランダ」が独立しました", {kBruges},
                    {game.Cities[kBruges].OwnerIndex});
        RecordConquest(game, kBruges, before, beforeIndex, "「新興国家の成立」");
        RefreshCity(game, kBruges);
    }
}

}  // namespace tarvex
