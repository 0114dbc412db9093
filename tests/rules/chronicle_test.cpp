// The chronicle: what the rules record as they play, in order and once each, the
// season rows, and the second file's round trip and refusals.
#include "rules/chronicle/chronicle.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>

#include "rules/chronicle/chronicle_file.h"
#include "rules/combat/battle.h"
#include "rules/events/historical.h"
#include "rules/events/seasonal.h"
#include "rules/turn/cycle.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::RulesGame;

constexpr int kLondon = 1, kParis = 15, kRouen = 16, kBruges = 18, kBordeaux = 21;

std::vector<EntryKind> Kinds(const Game& g) {
    std::vector<EntryKind> kinds;
    for (const ChronicleEntry& e : g.chronicle.entries) kinds.push_back(e.kind);
    return kinds;
}

TEST(Chronicle, EveryKindIsRecordedOnceAndInOrderWithItsSeason) {
    RulesGame t;
    Game& g = t.game;
    ASSERT_TRUE(g.chronicle.entries.empty());
    ASSERT_EQ(g.chronicle.seasons.size(), 1u);  // the new game's first spring
    g.Year = 12;
    g.Season = 1;

    // The player's attack from London takes an empty Rouen: his battle, then the conquest.
    g.Cities[kRouen].Troops = 0;
    g.Battle = BattleState{};
    g.Battle.AttackCity = kLondon, g.Battle.DefendCity = kRouen;
    g.Battle.AttackTroops = g.Battle.AttackTroopsAtStart = 500;
    g.Battle.BattleOver = false;
    FightToTheEnd(g);
    ASSERT_EQ(g.Cities[kRouen].Owner, "イングランド王国");
    // Paris takes Bordeaux, the Guyenne's only city: the conquest, then its fall.
    g.Battle.AttackCity = kParis, g.Battle.DefendCity = kBordeaux;
    SettleBattle(g, true);
    // The Dutch rise at Bruges: the year's history, then the city changing hands by it.
    RunHistoricalEvents(g);
    // An autumn's event names the cities it reached.
    g.Season = 3;
    ApplySeasonalEvent(g, 1, "豊作");
    // One owner of all: the unification, the last entry.
    for (int c = 1; c <= kCityCount; ++c) SetOwner(g, c, "オランダ");
    ASSERT_TRUE(testing::EndsProgram([&] { CheckUnification(g); }));

    EXPECT_EQ(Kinds(g), (std::vector<EntryKind>{EntryKind::Battle, EntryKind::Conquest, EntryKind::Conquest,
                                                EntryKind::Fall, EntryKind::History, EntryKind::Conquest,
                                                EntryKind::Event, EntryKind::Unification}));
    const auto& e = g.chronicle.entries;
    EXPECT_EQ(e[0].text, "ロンドン（イングランド王国）がルーアン（フランス王国）を攻め、勝ちました");
    EXPECT_EQ(e[1].text, "イングランド王国がフランス王国からルーアンを奪いました");
    EXPECT_EQ(e[1].cities, std::vector<int>{kRouen});
    EXPECT_EQ(e[1].nations, (std::vector<int>{1, 8}));
    EXPECT_EQ(e[3].text, "ギエンヌ公国は最後の都市ボルドーを失い、滅びました");
    EXPECT_EQ(e[5].text, "「新興国家の成立」: オランダがフランス王国からブリュージュを得ました");
    EXPECT_EQ(e[5].cities, std::vector<int>{kBruges});
    EXPECT_EQ(e[7].text, "オランダがヨーロッパを統一しました");
    for (std::size_t i = 0; i < e.size(); ++i) {
        EXPECT_EQ(e[i].year, 12);
        EXPECT_EQ(e[i].season, i < 6 ? 1 : 3);
        EXPECT_EQ(e[i].text.find('\n'), std::string::npos);
    }
    // The event's cities are exactly those it changed.
    EXPECT_FALSE(e[6].cities.empty());
    EXPECT_EQ(std::set<int>(e[6].nations.begin(), e[6].nations.end()).size(), e[6].nations.size());
    EXPECT_EQ(e[6].text.rfind("「豊作」: ", 0), 0u);
}

TEST(Chronicle, EachSeasonStartKeepsOneRowOfEveryNationsCitiesAndTroops) {
    RulesGame t;
    Game& g = t.game;
    for (int step = 0; step < 6; ++step) AdvanceSeason(g);
    const auto& rows = g.chronicle.seasons;
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(std::pair(rows.back().year, rows.back().season), std::pair(g.Year, g.Season));
    for (const SeasonRecord& row : rows)
        EXPECT_EQ(std::accumulate(row.cities.begin(), row.cities.end(), 0), kCityCount) << row.year << row.season;
    int englishTroops = 0;
    for (int c = 1; c <= kCityCount; ++c)
        if (g.Cities[c].Owner == "イングランド王国") englishTroops += g.Cities[c].Troops;
    EXPECT_EQ(rows.back().troops[1], englishTroops);
    // The same season recorded again replaces its row.
    RecordSeasonStart(g);
    EXPECT_EQ(rows.size(), 7u);
}

TEST(ChronicleFile, RoundTripsAndRefusesWhatIsDamagedOrAnotherSeasons) {
    RulesGame t;
    Game& g = t.game;
    RecordEntry(g, EntryKind::History, "一行目\n二行目\tタブ", {kParis}, {8, 0});
    RecordEntry(g, EntryKind::Fall, "滅亡", {}, {9});
    AdvanceSeason(g);
    const std::string text = EncodeChronicle(g);
    Chronicle read;
    ASSERT_EQ(DecodeChronicle(text, g, read), std::nullopt);
    EXPECT_EQ(read, g.chronicle);
    EXPECT_EQ(read.entries[0].text, "一行目二行目 タブ");  // one line, and no nation 0
    EXPECT_EQ(read.entries[0].nations, std::vector<int>{8});

    const auto replace = [&text](const std::string& from, const std::string& to) {
        std::string damaged = text;
        damaged.replace(damaged.find(from), from.size(), to);
        return damaged;
    };
    const std::pair<std::string, const char*> cases[] = {
        {"", "年代記のファイルではありません"},
        {replace("tarvex-chronicle 2", "tarvex-chronicle 3"), "年代記のファイルではありません"},
        {replace("tarvex-chronicle 2", "tarvex-chronicle 0"), "年代記のファイルではありません"},
        {replace("save\t1\t2", "save\t1\t1"), "別の季節"},
        {replace("entry\t1\t1\thistory", "entry\t1\t1\tpoem"), "記録が読めません"},
        {replace("entry\t1\t1\thistory\t15", "entry\t1\t1\thistory\t76"), "記録が読めません"},
        {replace("entry\t1\t1\tfall", "entry\t0\t1\tfall"), "年と季節が読めません"},
        {replace("season\t1\t1\t3,", "season\t1\t1\t99,"), "季節の数が読めません"},
        {replace("season\t1\t1\t3,", "season\t1\t1\t30,"), "都市の数が多すぎます"},
        {text + "garbage\n", "読めない行です"},
        // A kind of line a later version adds is passed over; version 1 knew none.
        {text + "owners\t1\t1\t3,4\n", ""},
        {replace("tarvex-chronicle 2", "tarvex-chronicle 1") + "owners\t1\t1\t3,4\n", "読めない行です"},
        {replace("tarvex-chronicle 2", "tarvex-chronicle 1"), ""},
        {text + "saved\t1\t2\tnot-hex-at-all!!\t0\t0\n", "セーブの記録が読めません"},
        {text.substr(0, text.find("entry")), ""},  // no entries: fine
    };
    for (const auto& [damaged, reason] : cases) {
        Chronicle into = g.chronicle;
        into.entries.push_back({});
        const Chronicle before = into;
        const auto problem = DecodeChronicle(damaged, g, into);
        if (*reason == '\0') {
            EXPECT_EQ(problem, std::nullopt);
            continue;
        }
        ASSERT_TRUE(problem) << reason;
        EXPECT_NE(problem->find(reason), std::string::npos) << *problem << " / " << reason;
        EXPECT_EQ(into, before);
    }
    EXPECT_EQ(ChroniclePath("/a/b/Game.dt"), "/a/b/Game.chronicle");
    EXPECT_EQ(ChroniclePath("save"), "save.chronicle");
}

}  // namespace
}  // namespace tarvex
