// The map view: the city panels as the rules leave the cities, folding them,
// the help panels and scrolling a city into view.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "rules/events/historical.h"
#include "rules/events/seasonal.h"
#include "rules/world/refresh.h"
#include "rules/world/scenario.h"
#include "screens/events/event_window.h"
#include "screens/main/main_window.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

using testing::TestGame;

TEST(RefreshCity, PanelShowsValuesAndMarksThePlayersCities) {
    TestGame t;
    Session& g = t.game;
    const CityPanel& london = g.shown.main.panels[1];
    EXPECT_TRUE(london.playerColour);
    EXPECT_EQ(london.id, "1");
    EXPECT_EQ(london.name, "ロンドン");
    EXPECT_EQ(london.owner, "イングランド王国");
    EXPECT_EQ(london.troops, "20");
    EXPECT_EQ(london.arms, "35");
    EXPECT_FALSE(g.shown.main.panels[3].playerColour);
    SetOwner(g, 3, "イングランド王国");  // conquered
    SetOwner(g, 1, "フランス王国");      // lost
    RefreshCity(g, 3);
    RefreshCity(g, 1);
    EXPECT_TRUE(g.shown.main.panels[3].playerColour);
    EXPECT_FALSE(g.shown.main.panels[1].playerColour);
    // Delegation does not change the colour.
    g.Delegated[2] = true;
    RefreshCity(g, 2);
    EXPECT_TRUE(g.shown.main.panels[2].playerColour);
    // A value out of range is reported and shown as it stands.
    g.Cities[5].Food = -3;
    RefreshCity(g, 5);
    EXPECT_EQ(g.shown.main.panels[5].food, "-3");
}

// Before the main window has loaded there are no panels to keep: what the
// rules announce is not shown anywhere.
TEST(RefreshCity, NoPanelsBeforeTheMainWindowLoads) {
    TestGame t;
    Session& g = t.game;
    g.shown.main.loaded = false;
    g.Cities[3].Troops = 1001;
    g.Cities[3].Name = "changed";
    RefreshAllCities(g);
    EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{"MAXエラー兵 1001:999"});
    EXPECT_NE(g.shown.main.panels[3].name, "changed");
}

// The typhoon of an autumn: the window is open while it lists the cities, and
// its OK closes it and brings the map up to date.
TEST(EventWindow, OpenWhileItListsTheEventAndItsOkShowsTheMapAsTheEventLeftIt) {
    TestGame t;
    Session& g = t.game;
    t.UseScripted();
    bool openWhileShown = false;
    std::size_t linesShown = 0;
    t.screen.eventWindow = [&](Game&) {
        openWhileShown = g.shown.event.open;
        linesShown = g.EventLines.size();
        CloseEventWindow(g);
    };
    g.Cities[15].Power = 3;
    g.Cities[15].Town = 50;
    g.Cities[15].Castle = 0;
    // Only Paris is reached: its power, town and castle fall by 7, 4 and 9.
    for (int i = 1; i <= kCityCount; ++i) {
        t.scripted.PushFace(i == 15 ? 5 : 4, 10);
        if (i == 15)
            for (int face : {7, 4, 9}) t.scripted.PushFace(face, 10);
    }
    ApplySeasonalEvent(g, 8, "大型台風");
    EXPECT_TRUE(openWhileShown);
    EXPECT_EQ(linesShown, 2u);
    EXPECT_FALSE(g.shown.event.open);
    EXPECT_EQ(g.shown.main.panels[15].power, "0");
    EXPECT_EQ(g.shown.main.panels[15].town, "46");
}

// The events of fixed years show on the map at once: the city they strengthen
// in its owner's colour, Bruges in the colour of the Dutch.
TEST(HistoricalEvent, TheMapShowsTheCitiesTheFixedYearsChange) {
    for (auto [year, city] : {std::pair{5, 15}, {7, 50}, {10, 42}}) {
        TestGame t;
        Session& g = t.game;
        g.Year = year;
        SetOwner(g, city, "イングランド王国");  // conquered long ago
        RunHistoricalEvents(g);
        EXPECT_TRUE(g.shown.main.panels[city].playerColour) << year;
    }
    for (bool delegated : {false, true}) {
        TestGame t("フランス王国");
        Session& g = t.game;
        g.Delegated[18] = delegated;
        EXPECT_TRUE(g.shown.main.panels[18].playerColour);
        g.Year = 12;
        RunHistoricalEvents(g);
        EXPECT_FALSE(g.shown.main.panels[18].playerColour);
        EXPECT_EQ(g.shown.main.panels[18].owner, "オランダ");
    }
}

TEST(FocusCity, ThePanelIsWhollyInViewAndStandsOffTheEdgesWhereTheMapAllows) {
    TestGame t;
    Session& g = t.game;
    // The default window, and a large one.
    for (const auto& [width, height] : {std::pair{14775, 6915}, std::pair{28500, 15000}}) {
        g.shown.main.viewWidth = width;
        g.shown.main.viewHeight = height;
        for (bool expanded : {false, true})
            for (int city = 1; city <= kCityCount; ++city) {
                g.shown.main.panels[city].expanded = expanded;
                FocusCity(g, city);
                const int x = kPanelPositions[city].left + g.shown.main.hScroll;
                const int y = kPanelPositions[city].top + g.shown.main.vScroll;
                const int h = expanded ? kPanelExpanded : kPanelCollapsed;
                EXPECT_TRUE(x >= 0 && x + kPanelWidth <= width && y >= 0 && y + h <= height)
                    << city << " at " << x << "," << y << " in " << width << "x" << height;
                // Off the edges by the focus offset unless the bars or the view stop it.
                if (g.shown.main.hScroll < 0 && g.shown.main.hScroll > kScrollMax && x + kPanelWidth < width) {
                    EXPECT_EQ(x, kFocusOffset) << city;
                }
                if (g.shown.main.vScroll < 0 && g.shown.main.vScroll > kScrollMax && y + h < height) {
                    EXPECT_EQ(y, kFocusOffset) << city;
                }
            }
    }
    // Lisbon lies near the map's left edge and far down: only its top stands off the edge.
    g.shown.main.viewWidth = 14775;
    g.shown.main.viewHeight = 6915;
    g.shown.main.panels[7].expanded = false;
    FocusCity(g, 7);
    EXPECT_EQ(g.shown.main.hScroll, 0);
    EXPECT_EQ(g.shown.main.vScroll, kFocusOffset - kPanelPositions[7].top);
}

TEST(MapView, PanelsFoldOneByOneAndAllAtOnce) {
    TestGame t;
    Session& g = t.game;
    TogglePanel(g, 3);
    EXPECT_TRUE(g.shown.main.panels[3].expanded);
    TogglePanel(g, 3);
    EXPECT_FALSE(g.shown.main.panels[3].expanded);
    TogglePanel(g, 4);
    OpenAllCityPanels(g);
    EXPECT_FALSE(g.shown.main.openAllEnabled);
    EXPECT_TRUE(g.shown.main.closeAllEnabled);
    for (int i = 1; i <= kCityCount; ++i) EXPECT_TRUE(g.shown.main.panels[i].expanded);
    CloseAllCityPanels(g);
    EXPECT_TRUE(g.shown.main.openAllEnabled);
    EXPECT_FALSE(g.shown.main.closeAllEnabled);
    for (int i = 1; i <= kCityCount; ++i) EXPECT_FALSE(g.shown.main.panels[i].expanded);
    CloseHelpPanel(g, kHelpInput);
    EXPECT_FALSE(g.shown.main.helpVisible[kHelpInput]);
    ShowHelpPanel(g, kHelpInput);
    EXPECT_TRUE(g.shown.main.helpVisible[kHelpInput]);
}

}  // namespace
}  // namespace tarvex
