// Autumn's chance events and the events of fixed years.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "rules/events/historical.h"
#include "rules/events/seasonal.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::RulesGame;

// Scripts one city-by-city pass: cities in `touched` are reached and take the
// given amount draws (as faces of the given die); every other city is missed.
void ScriptPass(RulesGame& t, const std::map<int, std::vector<int>>& touched, int sides) {
    for (int i = 1; i <= kCityCount; ++i) {
        auto it = touched.find(i);
        if (it == touched.end()) {
            t.scripted.PushFace(4, 10);  // 4 or less: the event passes the city by
            continue;
        }
        t.scripted.PushFace(5, 10);
        for (int face : it->second) t.scripted.PushFace(face, sides);
    }
}

// Amount n of events 1..7 is floor(Rnd * 15) + 6: face n - 5 of a fifteen-sided die.
std::vector<int> Amount(int n) { return {n - 5}; }

struct WindowSeen {
    int opened = 0;
    std::vector<std::string> lines;
};

// Records what the event window held when it came up; it then closes.
void WatchEventWindow(RulesGame& t, WindowSeen& seen) {
    t.screen.eventWindow = [&seen](Game& g) {
        ++seen.opened;
        seen.lines = g.EventLines;
    };
}

TEST(SeasonalEvent, EachEventMovesItsFieldWithinItsLimitsAndListsTheDrawnAmount) {
    struct Case {
        int number;
        int City::*field;
        int before;
        int drawn;
        int after;
        std::string line;
    };
    const Case cases[] = {
        {1, &City::Food, 990, 12, 999, "ロンドンで豊作「12」増えました"},
        {2, &City::Food, 8, 12, 5, "ロンドンで凶作「12」減りました"},
        {2, &City::Food, 30, 20, 10, "ロンドンで凶作「20」減りました"},
        {3, &City::Power, 15, 6, 21, "ロンドンで開墾技術の向上「6」増えました"},
        {4, &City::Town, 25, 20, 45, "ロンドンで町の繁栄「20」増えました"},
        {5, &City::Castle, 998, 6, 999, "ロンドンで築城技術の進歩「6」増えました"},
        {6, &City::Troops, 20, 9, 29, "ロンドンで義兵の参加「9」増えました"},
        {7, &City::Arms, 35, 15, 50, "ロンドンで新兵器の開発「15」増えました"},
    };
    const char* names[] = {"",         "豊作",           "凶作",       "開墾技術の向上",
                           "町の繁栄", "築城技術の進歩", "義兵の参加", "新兵器の開発"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        RulesGame t;
        Game& g = t.game;
        t.UseScripted();
        WindowSeen seen;
        WatchEventWindow(t, seen);
        g.Cities[1].*c.field = c.before;
        const City york = g.Cities[2];
        t.scripted.PushFace(3, 10);         // an event this year
        t.scripted.PushFace(c.number, 10);  // which one
        ScriptPass(t, {{1, Amount(c.drawn)}}, 15);
        RunSeasonalEvent(g);
        EXPECT_EQ(t.scripted.Left(), 0u);
        EXPECT_EQ(g.Cities[1].*c.field, c.after);
        EXPECT_EQ(g.Cities[2], york);
        EXPECT_EQ(seen.opened, 1);
        EXPECT_EQ(seen.lines, (std::vector<std::string>{std::string("「") + names[c.number] + "」です", c.line}));
        // Closing the window empties the list.
        EXPECT_TRUE(g.EventLines.empty());
    }
}

TEST(SeasonalEvent, TyphoonListsTheStormsForceEvenWhereLessWasLeftToLose) {
    RulesGame t;
    Game& g = t.game;
    t.UseScripted();
    WindowSeen seen;
    WatchEventWindow(t, seen);
    City& paris = g.Cities[15];
    paris.Power = 3;
    paris.Town = 50;
    paris.Castle = 0;
    g.Cities[40].Power = 500;
    g.Cities[40].Town = 10;
    g.Cities[40].Castle = 10;
    ScriptPass(t, {{15, {7, 4, 9}}, {40, {1, 10, 10}}}, 10);
    ApplySeasonalEvent(g, 8, "大型台風");
    EXPECT_EQ(t.scripted.Left(), 0u);
    EXPECT_EQ(paris.Power, 0);
    EXPECT_EQ(paris.Town, 46);
    EXPECT_EQ(paris.Castle, 0);
    EXPECT_EQ(g.Cities[40].Power, 499);
    EXPECT_EQ(g.Cities[40].Town, 0);
    EXPECT_EQ(g.Cities[40].Castle, 0);
    EXPECT_EQ(paris.Food, 10);  // the storm spares the granaries
    const std::string city40 = g.Cities[40].Name;
    EXPECT_EQ(seen.lines, (std::vector<std::string>{
                              "「大型台風」です",
                              "パリで大型台風国力、町、城の値が「7」「4」「9」減りました",
                              city40 + "で大型台風国力、町、城の値が「1」「10」「10」減りました",
                          }));
}

TEST(SeasonalEvent, QuietAutumnsShowNoWindowAndTouchNothing) {
    for (auto draws : {std::vector<int>{9}, {10}, {1, 9}, {8, 10}}) {
        RulesGame t;
        Game& g = t.game;
        t.UseScripted();
        for (int face : draws) t.scripted.PushFace(face, 10);
        const auto before = g.Cities;
        RunSeasonalEvent(g);
        EXPECT_EQ(t.scripted.Left(), 0u) << draws[0];
        EXPECT_TRUE(t.screen.log.empty());
        EXPECT_EQ(g.Cities, before);
        EXPECT_TRUE(g.EventLines.empty());
    }
}

TEST(SeasonalEvent, OverManyAutumnsEventsAndTouchedCitiesFollowTheirOdds) {
    RulesGame t("イングランド王国", 20240917);
    Game& g = t.game;
    constexpr int kAutumns = 10000;
    std::map<std::string, int> byEvent;
    long touched = 0;
    int events = 0;
    bool duplicate = false;
    t.screen.eventWindow = [&](Game& game) {
        ++events;
        const auto& lines = game.EventLines;
        ++byEvent[lines.front()];
        std::set<std::string> cities;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::string city = lines[i].substr(0, lines[i].find("で"));
            duplicate |= !cities.insert(city).second;
        }
        touched += static_cast<long>(lines.size()) - 1;
    };
    for (int i = 0; i < kAutumns; ++i) RunSeasonalEvent(g);
    EXPECT_FALSE(duplicate);
    EXPECT_NEAR(1.0 - static_cast<double>(events) / kAutumns, 0.36, 0.03);
    EXPECT_EQ(byEvent.size(), 8u);
    for (const auto& [line, count] : byEvent) EXPECT_NEAR(static_cast<double>(count) / kAutumns, 0.08, 0.015) << line;
    EXPECT_NEAR(static_cast<double>(touched) / (static_cast<double>(events) * kCityCount), 0.6, 0.02);
    EXPECT_TRUE(t.screen.Boxes().empty());  // every value stayed within its range
}

TEST(HistoricalEvent, FixedYearsStrengthenTheirCityWhoeverHoldsIt) {
    struct Case {
        int year;
        int city;
        std::vector<int City::*> fields;
        int before;
        int after;
        std::string box;
    };
    const Case cases[] = {
        {5, 15, {&City::Food, &City::Civility}, 20, 30, "「啓蒙主義」パリで食料が+10、\n民度が+10されました。"},
        {5, 15, {&City::Food, &City::Civility}, 995, 999, "「啓蒙主義」パリで食料が+10、\n民度が+10されました。"},
        {7, 50, {&City::Troops}, 15, 25, "「傭兵」ダンチヒで\n兵が+10されました。"},
        {10, 42, {&City::Arms}, 990, 999, "「発明家」ヴェネツイアで\n武装度が+10されました。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.year);
        RulesGame t;
        Game& g = t.game;
        g.Year = c.year;
        SetOwner(g, c.city, "イングランド王国");  // conquered long ago
        for (auto field : c.fields) g.Cities[c.city].*field = c.before;
        auto expected = g.Cities;
        for (auto field : c.fields) expected[c.city].*field = c.after;
        RunHistoricalEvents(g);
        EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{c.box});
        EXPECT_EQ(g.Cities, expected);
    }
}

TEST(HistoricalEvent, OtherYearsBringNothing) {
    for (int year : {1, 2, 3, 4, 6, 8, 9, 11, 13, 20, 100}) {
        RulesGame t;
        Game& g = t.game;
        g.Year = year;
        const auto before = g.Cities;
        RunHistoricalEvents(g);
        EXPECT_TRUE(t.screen.log.empty()) << year;
        EXPECT_EQ(g.Cities, before) << year;
    }
}

TEST(HistoricalEvent, YearTwelveTheDutchTakeBrugesFromWhoeverHoldsIt) {
    for (bool delegated : {false, true}) {
        RulesGame t("フランス王国");
        Game& g = t.game;
        g.Delegated[18] = delegated;
        EXPECT_TRUE(IsPlayers(g, 18));
        const City before = g.Cities[18];
        g.Year = 12;
        RunHistoricalEvents(g);
        EXPECT_EQ(t.screen.Boxes(),
                  std::vector<std::string>{"「新興国家の成立」\nブリュージュで「オランダ」が独立しました"});
        City expected = before;
        expected.Owner = "オランダ";
        expected.OwnerIndex = NationIndex(g, "オランダ");
        EXPECT_EQ(g.Cities[18], expected);  // the garrison and stores go with the city
        EXPECT_FALSE(IsPlayers(g, 18));
        EXPECT_EQ(NationOf(g, 18), &g.Nations[34]);
    }
}

}  // namespace
}  // namespace tarvex
