// The autumn's chance events.
#include "rules/events/seasonal.h"

#include <algorithm>
#include <array>
#include <vector>

#include "rules/chronicle/chronicle.h"
#include "rules/port/screen.h"
#include "rules/world/numbers.h"
#include "rules/world/refresh.h"

namespace tarvex {

namespace {

// Draws 1..10.
int TenSided(Game& game);

constexpr int kEventCount = 8;
constexpr int kBadHarvest = 2;
constexpr int kTyphoon = 8;
constexpr int kBadHarvestFloor = 5;

// Names as the event window announces them, by event number 1..8.
constexpr std::array<const char*, kEventCount + 1> kEventNames{
    "", "豊作", "凶作", "開墾技術の向上", "町の繁栄", "築城技術の進歩", "義兵の参加", "新兵器の開発", "大型台風",
};

// The city value each of events 1..7 moves.
int* EventField(City& city, int number) {
    switch (number) {
        case 1:
        case 2:
            return &city.Food;
        case 3:
            return &city.Power;
        case 4:
            return &city.Town;
        case 5:
            return &city.Castle;
        case 6:
            return &city.Troops;
        case 7:
            return &city.Arms;
        default:
            return nullptr;
    }
}

// 6..20: how far a harvest, a technique or volunteers move one city's value.
int EventAmount(Game& game) { return Floor(Rnd(game) * 15) + 6; }

std::string Bracketed(int n) { return "「" + Str(n) + "」"; }

int TenSided(Game& game) { return Floor(Rnd(game) * 10) + 1; }
}  // namespace

void RunSeasonalEvent(Game& game) {
    // Two draws: most autumns pass quietly, and no event is likelier than the others.
    if (TenSided(game) >= 9) return;
    const int number = TenSided(game);
    if (number > kEventCount) return;
    ApplySeasonalEvent(game, number, kEventNames[number]);
}

void ApplySeasonalEvent(Game& game, int number, const std::string& name) {
    if (number < 1 || number > kEventCount) return;
    std::vector<std::string>& lines = game.EventLines;
    lines.push_back("「" + name + "」です");
    const char* result = (number == kBadHarvest || number == kTyphoon) ? "減りました" : "増えました";
    std::vector<int> touched;
    for (int i = 1; i <= kCityCount; ++i) {
        // Chance, not ownership, decides which cities the event reaches.
        if (TenSided(game) < 5) continue;
        touched.push_back(i);
        City& city = game.Cities[i];
        if (number == kTyphoon) {
            const int a = TenSided(game);
            const int b = TenSided(game);
            const int c = TenSided(game);
            city.Power = std::max(city.Power - a, 0);
            city.Town = std::max(city.Town - b, 0);
            city.Castle = std::max(city.Castle - c, 0);
            // The list shows the storm's force, not what was left to lose.
            lines.push_back(city.Name + "で" + name + "国力、町、城の値が" + Bracketed(a) + Bracketed(b) +
                            Bracketed(c) + result);
            continue;
        }
        const int n = EventAmount(game);
        int& value = *EventField(city, number);
        if (number == kBadHarvest) {
            // A bad harvest never starves a city outright.
            value -= n;
            if (value < kBadHarvestFloor) value = kBadHarvestFloor;
        } else {
            value += n;
            if (value > kMaxValue) value = kMaxValue;
        }
        lines.push_back(city.Name + "で" + name + Bracketed(n) + result);
    }
    // The chronicle names the event and every city it reached, as its window lists them.
    std::vector<int> owners;
    std::string names;
    for (int i : touched) {
        owners.push_back(game.Cities[i].OwnerIndex);
        names += (names.empty() ? "" : "、") + game.Cities[i].Name;
    }
    RecordEntry(game, EntryKind::Event, "「" + name + "」" + (names.empty() ? std::string("") : ": " + names), touched,
                owners);
    game.screen->RunEventWindow(game);
    // Closing the window shows every city as the event left it.
    RefreshAllCities(game);
    lines.clear();
}

}  // namespace tarvex
