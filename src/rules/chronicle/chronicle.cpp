// Recording the chronicle as the rules play: appends only, no draw and no box.
#include "rules/chronicle/chronicle.h"

#include <algorithm>
#include <cstring>

namespace tarvex {

namespace {

struct KindNames {
    EntryKind kind;
    const char* name;
    const char* label;
};

constexpr KindNames kKinds[kEntryKindCount] = {
    {EntryKind::Conquest, "conquest", "占領"},
    {EntryKind::Fall, "fall", "滅亡"},
    {EntryKind::Unification, "unification", "統一"},
    {EntryKind::History, "history", "歴史"},
    {EntryKind::Event, "event", "事件"},
    {EntryKind::Battle, "battle", "戦闘"},
};

// One line of the chronicle: the files keep an entry on one line, its fields
// between tabs. A box's line break joins its halves, as Japanese needs no blank.
std::string OneLine(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }), text.end());
    std::replace(text.begin(), text.end(), '\t', ' ');
    return text;
}

// The cities held by the owner of that name and index: by the index when it names
// a nation, by the name only when it does not.
int CitiesOf(const Game& game, const std::string& owner, int index) {
    return static_cast<int>(std::count_if(game.Cities.begin() + 1, game.Cities.end(), [&](const City& c) {
        return index != 0 ? c.OwnerIndex == index : c.Owner == owner;
    }));
}

}  // namespace

const char* KindName(EntryKind kind) { return kKinds[static_cast<int>(kind)].name; }
const char* KindLabel(EntryKind kind) { return kKinds[static_cast<int>(kind)].label; }

bool KindFromName(const std::string& name, EntryKind* kind) {
    for (const KindNames& k : kKinds)
        if (name == k.name) {
            *kind = k.kind;
            return true;
        }
    return false;
}

void RecordEntry(Game& game, EntryKind kind, std::string text, std::vector<int> cities, std::vector<int> nations) {
    // Each nation once, in the order named, and none for an owner that is no nation.
    std::vector<int> distinct;
    for (int n : nations)
        if (n != 0 && std::find(distinct.begin(), distinct.end(), n) == distinct.end()) distinct.push_back(n);
    nations = std::move(distinct);
    game.chronicle.entries.push_back(
        {game.Year, game.Season, kind, OneLine(std::move(text)), std::move(cities), std::move(nations)});
}

void RecordConquest(Game& game, int city, const std::string& from, int fromIndex, const std::string& cause) {
    if (!IsValidCity(city)) return;
    const City& taken = game.Cities[city];
    const std::string& to = taken.Owner;
    const int loser = fromIndex, winner = taken.OwnerIndex;
    if (loser == winner && (loser != 0 || from == to)) return;
    const std::string& name = taken.Name;
    RecordEntry(game, EntryKind::Conquest,
                cause.empty() ? to + "が" + from + "から" + name + "を奪いました"
                              : cause + ": " + to + "が" + from + "から" + name + "を得ました",
                {city}, {winner, loser});
    if (!from.empty() && CitiesOf(game, from, loser) == 0)
        RecordEntry(game, EntryKind::Fall, from + "は最後の都市" + name + "を失い、滅びました", {city}, {loser});
}

void RecordSeasonStart(Game& game) {
    SeasonRecord row;
    row.year = game.Year;
    row.season = game.Season;
    for (int c = 1; c <= kCityCount; ++c) {
        const City& city = game.Cities[c];
        const int nation = city.OwnerIndex;
        row.owners[c] = static_cast<std::uint8_t>(nation);
        if (nation == 0) continue;
        ++row.cities[nation];
        row.troops[nation] += city.Troops;
    }
    std::vector<SeasonRecord>& seasons = game.chronicle.seasons;
    if (!seasons.empty() && seasons.back().year == row.year && seasons.back().season == row.season)
        seasons.back() = row;
    else
        seasons.push_back(row);
}

void RestartChronicle(Game& game) {
    game.chronicle = Chronicle{};
    RecordSeasonStart(game);
}

}  // namespace tarvex
