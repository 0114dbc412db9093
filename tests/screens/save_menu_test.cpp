// The main window's save and load entries: the panel they leave up and what
// the window shows of a loaded game.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "rules/save/savefile.h"
#include "screens/main/main_window.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

namespace fs = std::filesystem;
using testing::TestGame;

// A windows' game whose save slot lies in a folder of its own, gone afterwards.
struct SlotGame : TestGame {
    fs::path dir;
    SlotGame() {
        static int count = 0;
        dir = fs::temp_directory_path() / ("tarvex-menu-" + std::to_string(::getpid()) + "-" + std::to_string(++count));
        fs::remove_all(dir);
        fs::create_directories(dir);
        screen.savePath = (dir / "Game.dt").string();
    }
    ~SlotGame() { fs::remove_all(dir); }
};

TEST(SaveMenu, LoadPutsUpTheIdlePanelAndShowsTheLoadedSeasonPricesAndCities) {
    SlotGame saved;
    Session& s = saved.game;
    s.Year = 12;
    s.Season = 3;
    s.FoodPrice = 0.6 + 0.3;  // shown as the 0.9 the player saw
    s.ArmsPrice = 9.9;
    SetOwner(s, 15, "イングランド王国");
    ASSERT_TRUE(SaveFromMenu(s));

    SlotGame other;
    other.screen.savePath = saved.screen.savePath;
    other.game.shown.main.activePanel = Panel::AmountPanel;
    LoadFromMenu(other.game);
    const Session& g = other.game;
    EXPECT_EQ(g.shown.main.activePanel, Panel::IdlePanel);
    EXPECT_EQ(MainCaption(g), "12年目の秋");
    EXPECT_EQ(std::make_tuple(ShownPrices(g).food, ShownPrices(g).arms), std::make_tuple("0.9", "9.9"));
    EXPECT_TRUE(g.shown.main.panels[15].playerColour);
}

TEST(SaveMenu, TheIdlePanelStandsWhileTheGameIsSavedAtTheSeasonsStartEvenWhenRefused) {
    const struct {
        bool seasonStart;
        bool slotThere;
        bool saved;
    } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const auto& c : cases) {
        SlotGame t;
        if (!c.slotThere) t.screen.savePath = (t.dir / "gone" / "Game.dt").string();
        t.game.TurnStart = c.seasonStart;
        t.game.shown.main.activePanel = Panel::MilitaryMenu;
        EXPECT_EQ(SaveFromMenu(t.game), c.saved);
        EXPECT_EQ(t.game.shown.main.activePanel, c.seasonStart ? Panel::IdlePanel : Panel::MilitaryMenu)
            << c.seasonStart << c.slotThere;
    }
}

}  // namespace
}  // namespace tarvex
