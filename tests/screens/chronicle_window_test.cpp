// The chronicle window without Qt: the filtered list kept up with a growing
// chronicle, the replay's seasons and pace, the season under the pointer and
// the order of the charts' nations.
#include "screens/chronicle/chronicle_window.h"

#include <gtest/gtest.h>

#include <random>

namespace tarvex {
namespace {

Game Seasons() {
    Game g;
    g.SeasonNames = {"", "春", "夏", "秋", "冬"};
    return g;
}

SeasonRecord Season(int year, int season, bool owners = true) {
    SeasonRecord row{.year = year, .season = season};
    if (owners) row.owners[1] = 1;
    return row;
}

// Whatever the growth, loads and filters, the list is the brute-force filter of
// the chronicle, and rows and entries map to each other.
TEST(ChronicleList, AlwaysListsWhatTheFilterLetsThroughAsTheChronicleGrowsOrIsReplaced) {
    std::mt19937 dice(5);
    std::vector<ChronicleEntry> entries;
    FilteredEntries list;
    list.Rebuild(entries);
    for (int step = 0; step < 400; ++step) {
        const int roll = static_cast<int>(dice() % 20);
        if (roll == 0) {  // a load: another chronicle of the same length in its place
            for (ChronicleEntry& e : entries) e.text += "'";
        } else if (roll == 1) {
            EntryFilter filter;
            filter.nation = static_cast<int>(dice() % 4);
            for (bool& kind : filter.kinds) kind = dice() % 3 != 0;
            list.SetFilter(filter);
            list.Rebuild(entries);
        } else {
            entries.push_back({.year = step,
                               .season = 1,
                               .kind = static_cast<EntryKind>(dice() % kEntryKindCount),
                               .text = "e" + std::to_string(step),
                               .cities = {},
                               .nations = {static_cast<int>(dice() % 4), static_cast<int>(dice() % 4)}});
        }
        if (const auto gained = list.Gained(entries))
            list.Append(*gained, entries);
        else
            list.Rebuild(entries);
        std::vector<int> expected;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (list.Filter().Passes(entries[i])) expected.push_back(static_cast<int>(i));
        ASSERT_EQ(list.Rows(), static_cast<int>(expected.size())) << "step " << step;
        ASSERT_EQ(list.Total(), static_cast<int>(entries.size()));
        for (int row = 0; row < list.Rows(); ++row) {
            ASSERT_EQ(list.EntryAt(row), expected[static_cast<std::size_t>(row)]);
            ASSERT_EQ(list.RowOf(expected[static_cast<std::size_t>(row)]), row);
        }
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (!list.Filter().Passes(entries[i])) {
                ASSERT_EQ(list.RowOf(static_cast<int>(i)), -1);
            }
        }
    }
}

TEST(Replay, RunsOverTheSeasonsWithOwnersInAboutTheWholeWarsTime) {
    const Game g = Seasons();
    struct Case {
        int kept;
        int stride;
    };
    for (const Case c : {Case{0, 1}, Case{1, 1}, Case{2, 1}, Case{500, 1}, Case{501, 2}, Case{2400, 5}}) {
        std::vector<SeasonRecord> seasons;
        seasons.push_back(Season(1, 1, false));  // kept before the owners were
        for (int i = 0; i < c.kept; ++i) seasons.push_back(Season(2 + i / 4, 1 + i % 4));
        const ReplayPlan plan = PlanReplay(seasons, 20000, 40);
        ASSERT_EQ(static_cast<int>(plan.kept.size()), c.kept);
        if (c.kept > 0) {
            EXPECT_EQ(plan.kept.front(), 1);
        }
        EXPECT_EQ(plan.stride, c.stride) << c.kept;
        EXPECT_GE(plan.tickMs, 40) << c.kept;
        if (c.kept >= 2) {
            const int ticks = (c.kept + plan.stride - 1) / plan.stride;
            EXPECT_NEAR(ticks * plan.tickMs, 20000, 2000) << c.kept;
        }
        if (c.kept >= 6) {
            EXPECT_EQ(ReplayPosition(plan, seasons, 3, 2), 5);
            EXPECT_EQ(ReplayPosition(plan, seasons, 1, 1), -1);  // no owners kept for it
        }
    }
    SeasonRecord row = Season(12, 3);
    EXPECT_EQ(ReplayCaption(g, row, false), "12年目の秋");
    EXPECT_EQ(ReplayCaption(g, row, true), "12年目の秋（現在）");
    row.season = 9;  // damaged: read as spring
    EXPECT_EQ(SeasonName(g, row.year, row.season), "12年目の春");
}

TEST(Charts, TheTipTakesTheNearestSeasonAndTheLinesPutThePlayerFirst) {
    const std::vector<SeasonRecord> none;
    EXPECT_EQ(NearestSeason(none, 3), nullptr);
    const std::vector<SeasonRecord> rows = {Season(1, 1), Season(1, 3), Season(2, 1)};
    EXPECT_EQ(NearestSeason(rows, 0.5), &rows[0]);
    EXPECT_EQ(NearestSeason(rows, 1.4), &rows[1]);
    EXPECT_EQ(NearestSeason(rows, 1.75), &rows[1]);  // a tie goes to the earlier season
    EXPECT_EQ(NearestSeason(rows, 9), &rows[2]);

    std::vector<SeasonRecord> war(2);
    war[0].cities[3] = 5;
    war[1].cities[3] = 1;
    war[0].cities[7] = 5;
    war[1].cities[9] = 8;
    war[1].troops[2] = 100;
    const auto peaks = Peaks(war, ChartMeasure::Cities);
    EXPECT_EQ(peaks[3], 5);
    EXPECT_EQ(Peaks(war, ChartMeasure::Troops)[2], 100);
    const auto two = Leaders(peaks, 2, 12);
    std::vector<int> shown;
    for (int n = 1; n <= kNationCount; ++n)
        if (two[n]) shown.push_back(n);
    EXPECT_EQ(shown, (std::vector<int>{3, 9, 12}));  // 3 and 7 tie: the nations' order decides
    EXPECT_EQ(LineOrder(two, peaks, 12), (std::vector<int>{12, 9, 3}));
    EXPECT_EQ(BandOrder(war), (std::vector<int>{3, 7, 9}));
}

}  // namespace
}  // namespace tarvex
