// What the chronicle window and its charts show, without Qt: the entries the
// filters let through, the seasons the replay runs over and its pace, the season
// nearest a point of a chart, and the order of the charts' nations.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "rules/chronicle/record.h"
#include "rules/world/game.h"

namespace tarvex {

// "12年目の春": a season as the chronicle names it; an unknown season reads as spring.
std::string SeasonName(const Game& game, int year, int season);
// Where a season stands on the charts' time axis: its year, and a quarter for each season.
double SeasonTime(const SeasonRecord& row);
// The recorded season nearest a point of the time axis (the pointer over a chart); null when none is.
const SeasonRecord* NearestSeason(const std::vector<SeasonRecord>& seasons, double time);

// ---- The entries' list ----------------------------------------------------------

// The nation whose entries pass (0: every nation) and the kinds that pass.
struct EntryFilter {
    int nation = 0;
    std::array<bool, kEntryKindCount> kinds{true, true, true, true, true, true};
    bool Passes(const ChronicleEntry& entry) const;
    bool operator==(const EntryFilter&) const = default;
};

// The places of the entries a filter lets through, ascending, kept up with a
// chronicle that grows at its end, so that a long chronicle filters at once.
class FilteredEntries {
public:
    const EntryFilter& Filter() const { return filter_; }
    // A new filter: Rebuild follows.
    void SetFilter(const EntryFilter& filter) { filter_ = filter; }
    // Lists the whole chronicle anew.
    void Rebuild(const std::vector<ChronicleEntry>& entries);
    // The places `entries` gained since they were last taken in that the filter
    // lets through; none when another chronicle took their place (a load): Rebuild then.
    std::optional<std::vector<int>> Gained(const std::vector<ChronicleEntry>& entries) const;
    // Takes in what Gained found.
    void Append(const std::vector<int>& gained, const std::vector<ChronicleEntry>& entries);

    int Rows() const { return static_cast<int>(rows_.size()); }
    // The entry at a row, and the row of an entry (-1 when the filter leaves it out).
    int EntryAt(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    int RowOf(int entry) const;
    // The entries of the chronicle as last taken in, shown or not.
    int Total() const { return static_cast<int>(listed_); }

private:
    EntryFilter filter_;
    std::vector<int> rows_;
    std::size_t listed_ = 0;
    ChronicleEntry lastListed_;
};

// ---- The replay -----------------------------------------------------------------

// The seasons a replay runs over (those whose owners the chronicle kept) and its
// pace: the whole war in about `wholeWarMs`, a tick no faster than `fastestTickMs`.
struct ReplayPlan {
    std::vector<int> kept;  // indices into the chronicle's seasons
    int stride = 1;         // seasons a tick
    int tickMs = 0;         // between ticks
};
ReplayPlan PlanReplay(const std::vector<SeasonRecord>& seasons, int wholeWarMs, int fastestTickMs);
// The replay's position of a season, or -1 when the chronicle kept no owners for it.
int ReplayPosition(const ReplayPlan& plan, const std::vector<SeasonRecord>& seasons, int year, int season);
// The caption beside the replay: "12年目の春", and "（現在）" at the present.
std::string ReplayCaption(const Game& game, const SeasonRecord& row, bool present);
// The owners of a past season, and their names, by city, as the map shows them.
struct PastOwners {
    std::array<int, kCityCount + 1> owners{};
    std::array<std::string, kCityCount + 1> names{};
};
PastOwners OwnersOf(const Game& game, const SeasonRecord& row);

// ---- The charts -----------------------------------------------------------------

enum class ChartMeasure { Cities, Troops };
int ChartValue(const SeasonRecord& row, int nation, ChartMeasure measure);
// Each nation's highest value over the recorded seasons (slot 0 unused).
std::array<int, kNationCount + 1> Peaks(const std::vector<SeasonRecord>& seasons, ChartMeasure measure);
// The nations shown before the player chooses: the `count` highest peaks (ties
// in the nations' order) and the player's own nation (`player`, 0 for none).
std::array<bool, kNationCount + 1> Leaders(const std::array<int, kNationCount + 1>& peaks, int count, int player);
// The shown nations' lines as drawn: the player's first, so that the legend names
// it first, then by peak, ties in the nations' order.
std::vector<int> LineOrder(const std::array<bool, kNationCount + 1>& shown,
                           const std::array<int, kNationCount + 1>& peaks, int player);
// The nations that held a city in some recorded season, in the nations' order,
// which runs across the map: stacked so, neighbours' bands lie near.
std::vector<int> BandOrder(const std::vector<SeasonRecord>& seasons);

}  // namespace tarvex
