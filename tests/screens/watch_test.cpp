// Watching the war: the view aimed at the player's nation and following the acting
// city, the game pressing its own OK and pausing, help panels kept closed, the autosave.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "rules/save/savefile.h"
#include "rules/world/scenario.h"
#include "screens/main/auto_play.h"
#include "screens/main/autosave.h"
#include "screens/main/main_window.h"
#include "screens/main/ok_step.h"
#include "screens/map/follow.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

namespace fs = std::filesystem;
using testing::TestGame;

TEST(Watch, TheFirstViewIsAimedAtTheMiddleOfThePlayersCitiesOrOfTheMap) {
    const struct {
        const char* nation;
        int viewWidth, viewHeight;
    } cases[] = {{"イングランド王国", 14775, 6915},
                 {"イングランド王国", 18900, 13500},
                 {"トルコ", 14775, 6915},
                 {"トルコ", 23400, 16800},
                 {"*", 18900, 13500},
                 {"フランス王国", 9000, 6000}};
    for (const auto& c : cases) {
        TestGame t(c.nation);
        Session& g = t.game;
        g.shown.main.viewWidth = c.viewWidth;
        g.shown.main.viewHeight = c.viewHeight;
        StartGame(g);
        long x = 0, y = 0, n = 0;
        for (int city = 1; city <= kCityCount; ++city) {
            if (!IsPlayers(g, city)) continue;
            x += kPanelPositions[city].left + kPanelWidth / 2;
            y += kPanelPositions[city].top + kPanelCollapsed / 2;
            ++n;
        }
        const int wantX = n ? static_cast<int>(x / n) : kMapWidth / 2;
        const int wantY = n ? static_cast<int>(y / n) : kMapHeight / 2;
        const MainWindowShown& m = g.shown.main;
        // The middle of the view below the side panel is the middle of his cities, unless the bars end first.
        const int midX = -m.hScroll + c.viewWidth / 2, midY = -m.vScroll + (kSidePanelBottom + c.viewHeight) / 2;
        if (m.hScroll != 0 && m.hScroll != kScrollMax) {
            EXPECT_NEAR(midX, wantX, 1) << c.nation;
        }
        if (m.vScroll != 0 && m.vScroll != kScrollMax) {
            EXPECT_NEAR(midY, wantY, 1) << c.nation;
        }
        for (int city = 1; city <= kCityCount; ++city)
            if (IsPlayers(g, city) && n <= 3) {
                EXPECT_TRUE(CityInView(g, city)) << c.nation << " " << city;
            }
        // The help panels stand in that first view.
        EXPECT_EQ(std::make_pair(m.helpLeft, m.helpTop), std::make_pair(-m.hScroll, -m.vScroll));
    }
}

TEST(Watch, TheViewFollowsAComputerCityOutOfViewButNeverThePlayersOwnOrder) {
    const struct {
        bool follow;
        int city;  // acting at step 2, from a view at the map's top left
        bool moves;
    } cases[] = {{true, 64, true}, {false, 64, false}, {true, 4, false}, {true, 3, false}};
    for (const auto& c : cases) {
        TestGame t;
        Session& g = t.game;
        for (int i = 1; i <= kCityCount; ++i) g.TurnOrder[i] = i;
        std::swap(g.TurnOrder[2], g.TurnOrder[c.city]);
        g.TurnStep = 2;
        g.shown.main.followWar = c.follow;
        g.shown.main.hScroll = g.shown.main.vScroll = 0;
        const int glides = g.shown.main.glideSerial;
        if (c.city == 3) {
            // A city already in view: the view stays.
            g.shown.main.hScroll = -(kPanelPositions[3].left - 6000);
            g.shown.main.vScroll = -(kPanelPositions[3].top - 4000);
        }
        const int h = g.shown.main.hScroll, v = g.shown.main.vScroll;
        TakeNextStep(g);
        const bool moved = g.shown.main.hScroll != h || g.shown.main.vScroll != v;
        EXPECT_EQ(moved, c.moves) << c.city << c.follow;
        EXPECT_EQ(g.shown.main.glideSerial > glides, c.moves);
        if (c.follow && c.city != 4) {
            EXPECT_TRUE(CityInView(g, c.city)) << c.city;
        }
    }
}

// Runs the step timer as its ticks would, up to `ticks` of them.
void Tick(Session& g, int ticks) {
    for (int i = 0; i < ticks; ++i) StepOnTimer(g);
}

TEST(Watch, AWatchedGamePlaysSeasonsByItselfUntilPausedAndOnAfterIt) {
    TestGame t("*");
    Session& g = t.game;
    Tick(g, 5);
    EXPECT_EQ(g.TurnStep, 1) << "without the entry the season's start waits for OK";
    g.shown.main.autoPlay = true;
    EXPECT_TRUE(StepTimerRuns(g));
    // Two seasons: 75 cities and the season's end each, and nothing else pressed.
    Tick(g, 2 * (kCityCount + 1));
    EXPECT_EQ(MainCaption(g), "1年目の秋");
    Tick(g, 10);
    TogglePause(g);
    EXPECT_EQ(MainCaption(g), "1年目の秋（一時停止中）");
    const int step = g.TurnStep;
    Tick(g, 200);
    EXPECT_EQ(g.TurnStep, step) << "no step runs while paused";
    TogglePause(g);
    Tick(g, 1);
    EXPECT_EQ(g.TurnStep, step + 1);
}

TEST(Watch, AGameWithACityOfHisOwnStillWaitsForHisOk) {
    TestGame t;
    Session& g = t.game;
    g.shown.main.autoPlay = true;
    Tick(g, 5);
    EXPECT_EQ(g.TurnStep, 1);
    // All his cities delegated: nothing is his to command, and the game goes on by itself.
    for (int city = 1; city <= kCityCount; ++city) g.Delegated[city] = IsPlayers(g, city);
    Tick(g, 1);
    EXPECT_EQ(g.TurnStep, 2);
}

TEST(Watch, HelpPanelsClosedStayClosedInANewGameAndAfterALoadTillTheirEntryShowsThem) {
    TestGame t;
    Session& g = t.game;
    const fs::path dir = fs::temp_directory_path() / ("tarvex-help-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    t.screen.savePath = (dir / "Game.dt").string();
    ASSERT_TRUE(SaveFromMenu(g));
    CloseHelpPanel(g, kHelpNation);
    CloseHelpPanel(g, kHelpInput);
    StartGame(g);
    const std::array<bool, kHelpPanelCount> shown{true, false, true, false};
    EXPECT_EQ(g.shown.main.helpVisible, shown);
    LoadFromMenu(g);
    EXPECT_EQ(g.shown.main.helpVisible, shown);
    ShowHelpPanel(g, kHelpInput);
    StartGame(g);
    EXPECT_TRUE(g.shown.main.helpVisible[kHelpInput]);
    fs::remove_all(dir);
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(Autosave, WrittenAtEachSeasonsStartLoadedBackEqualNeverInTheSavesPlace) {
    TestGame t("*");
    Session& g = t.game;
    const fs::path dir = fs::temp_directory_path() / ("tarvex-autosave-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    t.screen.savePath = (dir / "Game.dt").string();
    t.screen.autosavePath = (dir / "Autosave.dt").string();
    std::ofstream(dir / "Game.dt") << "the player's own save";
    g.shown.main.autoPlay = true;

    Tick(g, kCityCount + 1);
    ASSERT_TRUE(g.TurnStart);
    ASSERT_TRUE(fs::exists(dir / "Autosave.dt"));
    EXPECT_TRUE(fs::exists(dir / "Autosave.chronicle"));
    const World summer = g;
    const std::string summerBytes = Bytes(dir / "Autosave.dt");

    // A crash in the middle of the next autosave leaves its temporary file; a game that
    // cannot be written fails. Neither touches the last autosave.
    std::ofstream(dir / "Autosave.dt.tmp-crashed") << "half a save";
    g.Cities[1].Name = "\"ロンドン\"";
    Tick(g, kCityCount + 1);
    EXPECT_EQ(Bytes(dir / "Autosave.dt"), summerBytes);
    EXPECT_EQ(t.screen.Boxes().size(), 1u);
    Tick(g, kCityCount + 1);
    EXPECT_EQ(t.screen.Boxes().size(), 1u) << "a failing autosave is told once";

    TestGame other("*");
    other.screen.savePath = t.screen.savePath;
    other.screen.autosavePath = t.screen.autosavePath;
    LoadAutosave(other.game);
    EXPECT_TRUE(other.game.Cities == summer.Cities && other.game.Nations == summer.Nations);
    EXPECT_EQ(std::tie(other.game.Year, other.game.Season, other.game.TurnOrder),
              std::tie(summer.Year, summer.Season, summer.TurnOrder));
    EXPECT_EQ(WriteSaveBytes(other.game), summerBytes);
    EXPECT_EQ(other.screen.Boxes().back(), "ロードしました");
    EXPECT_EQ(Bytes(dir / "Game.dt"), "the player's own save");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tarvex
