// What the chronicle window and its charts show, worked out without Qt.
#include "screens/chronicle/chronicle_window.h"

#include <algorithm>
#include <cmath>

namespace tarvex {

std::string SeasonName(const Game& game, int year, int season) {
    const int s = season >= 1 && season <= 4 ? season : 1;
    return std::to_string(year) + "年目の" + game.SeasonNames[s];
}

double SeasonTime(const SeasonRecord& row) { return row.year + (row.season - 1) / 4.0; }

const SeasonRecord* NearestSeason(const std::vector<SeasonRecord>& seasons, double time) {
    const auto nearest = std::min_element(seasons.begin(), seasons.end(), [time](const auto& a, const auto& b) {
        return std::abs(SeasonTime(a) - time) < std::abs(SeasonTime(b) - time);
    });
    return nearest == seasons.end() ? nullptr : &*nearest;
}

bool EntryFilter::Passes(const ChronicleEntry& entry) const {
    if (!kinds[static_cast<int>(entry.kind)]) return false;
    return nation == 0 || std::find(entry.nations.begin(), entry.nations.end(), nation) != entry.nations.end();
}

void FilteredEntries::Rebuild(const std::vector<ChronicleEntry>& entries) {
    rows_.clear();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (filter_.Passes(entries[i])) rows_.push_back(static_cast<int>(i));
    listed_ = entries.size();
    lastListed_ = entries.empty() ? ChronicleEntry{} : entries.back();
}

std::optional<std::vector<int>> FilteredEntries::Gained(const std::vector<ChronicleEntry>& entries) const {
    const bool grown = entries.size() >= listed_ && (listed_ == 0 || entries[listed_ - 1] == lastListed_);
    if (!grown) return std::nullopt;
    std::vector<int> gained;
    for (std::size_t i = listed_; i < entries.size(); ++i)
        if (filter_.Passes(entries[i])) gained.push_back(static_cast<int>(i));
    return gained;
}

void FilteredEntries::Append(const std::vector<int>& gained, const std::vector<ChronicleEntry>& entries) {
    listed_ = entries.size();
    lastListed_ = entries.empty() ? ChronicleEntry{} : entries.back();
    rows_.insert(rows_.end(), gained.begin(), gained.end());
}

int FilteredEntries::RowOf(int entry) const {
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), entry);
    return at != rows_.end() && *at == entry ? static_cast<int>(at - rows_.begin()) : -1;
}

ReplayPlan PlanReplay(const std::vector<SeasonRecord>& seasons, int wholeWarMs, int fastestTickMs) {
    ReplayPlan plan;
    for (std::size_t i = 0; i < seasons.size(); ++i)
        if (seasons[i].HasOwners()) plan.kept.push_back(static_cast<int>(i));
    const int count = static_cast<int>(plan.kept.size());
    plan.stride = std::max(1, (count * fastestTickMs + wholeWarMs - 1) / wholeWarMs);
    plan.tickMs = count == 0 ? wholeWarMs : wholeWarMs * plan.stride / count;
    return plan;
}

int ReplayPosition(const ReplayPlan& plan, const std::vector<SeasonRecord>& seasons, int year, int season) {
    for (std::size_t k = 0; k < plan.kept.size(); ++k) {
        const SeasonRecord& row = seasons[static_cast<std::size_t>(plan.kept[k])];
        if (row.year == year && row.season == season) return static_cast<int>(k);
    }
    return -1;
}

std::string ReplayCaption(const Game& game, const SeasonRecord& row, bool present) {
    return SeasonName(game, row.year, row.season) + (present ? "（現在）" : "");
}

PastOwners OwnersOf(const Game& game, const SeasonRecord& row) {
    PastOwners past;
    for (int c = 1; c <= kCityCount; ++c) {
        past.owners[c] = row.owners[c];
        if (past.owners[c] >= 1 && past.owners[c] <= kNationCount) past.names[c] = game.Nations[past.owners[c]].Name;
    }
    return past;
}

int ChartValue(const SeasonRecord& row, int nation, ChartMeasure measure) {
    return measure == ChartMeasure::Cities ? row.cities[nation] : row.troops[nation];
}

std::array<int, kNationCount + 1> Peaks(const std::vector<SeasonRecord>& seasons, ChartMeasure measure) {
    std::array<int, kNationCount + 1> peak{};
    for (const SeasonRecord& row : seasons)
        for (int n = 1; n <= kNationCount; ++n) peak[n] = std::max(peak[n], ChartValue(row, n, measure));
    return peak;
}

std::array<bool, kNationCount + 1> Leaders(const std::array<int, kNationCount + 1>& peaks, int count, int player) {
    std::vector<int> order;
    for (int n = 1; n <= kNationCount; ++n)
        if (peaks[n] > 0) order.push_back(n);
    std::stable_sort(order.begin(), order.end(), [&peaks](int a, int b) { return peaks[a] > peaks[b]; });
    std::array<bool, kNationCount + 1> shown{};
    for (int i = 0; i < count && i < static_cast<int>(order.size()); ++i) shown[order[i]] = true;
    if (player > 0) shown[player] = true;
    return shown;
}

std::vector<int> LineOrder(const std::array<bool, kNationCount + 1>& shown,
                           const std::array<int, kNationCount + 1>& peaks, int player) {
    std::vector<int> order;
    for (int n = 1; n <= kNationCount; ++n)
        if (shown[n]) order.push_back(n);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if ((a == player) != (b == player)) return a == player;
        return peaks[a] > peaks[b];
    });
    return order;
}

std::vector<int> BandOrder(const std::vector<SeasonRecord>& seasons) {
    std::vector<int> order;
    for (int n = 1; n <= kNationCount; ++n)
        if (std::any_of(seasons.begin(), seasons.end(), [n](const SeasonRecord& r) { return r.cities[n] > 0; }))
            order.push_back(n);
    return order;
}

}  // namespace tarvex
