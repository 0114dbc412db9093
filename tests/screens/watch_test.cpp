// Watching the war: the view aimed at the player's nation and following the acting
// city, the game pressing its own OK and pausing, help panels kept closed, the autosave.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "rules/chronicle/chronicle_file.h"
#include "rules/save/savefile.h"
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

TEST(Watch, TheFirstViewShowsEveryCityOfThePlayersNationOrTheMapsMiddle) {
    for (const char* nation : {"イングランド王国", "トルコ", "*"})
        for (const auto& [width, height] : {std::pair{14775, 6600}, {18900, 13500}}) {
            TestGame t(nation);
            Session& g = t.game;
            g.shown.main.viewWidth = width;
            g.shown.main.viewHeight = height;
            StartGame(g);
            for (int city = 1; city <= kCityCount; ++city)
                EXPECT_TRUE(!IsPlayers(g, city) || CityInView(g, city)) << nation << " " << city << " " << width;
            if (g.PlayerNation == "*") {
                EXPECT_NEAR(-g.shown.main.hScroll + width / 2, kMapWidth / 2, 1);
            }
        }
}

// A computer city out of view is followed while "戦況を追う" is on; the player's own
// city about to give its order is brought into view whether or not, unless he has
// just moved the view himself.
TEST(Watch, TheViewFollowsAComputerCityAndBringsThePlayersOwnUnlessHeJustMovedIt) {
    const struct {
        bool follow;
        int city;  // acting at step 2, from a view at the map's top left (Edinburgh in it)
        bool playerMoved;
        bool moves;
    } cases[] = {{true, 64, false, true}, {false, 64, false, false}, {true, 4, false, true},
                 {false, 4, false, true}, {true, 4, true, false},    {true, 3, false, false}};
    for (const auto& c : cases) {
        TestGame t;
        Session& g = t.game;
        for (int i = 1; i <= kCityCount; ++i) g.TurnOrder[i] = i;
        std::swap(g.TurnOrder[2], g.TurnOrder[c.city]);
        g.TurnStep = 2;
        g.shown.main.followWar = c.follow;
        ScrollMapHorizontally(g, -7000);
        ScrollMapVertically(g, -1200);
        if (!c.playerMoved) g.shown.main.viewMovedByPlayer = false;
        TakeNextStep(g);
        const auto at = [&] {
            return ::testing::Message() << c.city << " follow " << c.follow << " moved " << c.playerMoved;
        };
        EXPECT_EQ(g.shown.main.hScroll != -7000 || g.shown.main.vScroll != -1200, c.moves) << at();
        EXPECT_EQ(g.shown.main.glideSerial > 0, c.moves) << at();
        if (c.moves) {
            EXPECT_TRUE(CityInView(g, c.city)) << at();
        }
    }
}

void Tick(Session& g, int ticks) {
    for (int i = 0; i < ticks; ++i) StepOnTimer(g);  // as the step timer's ticks would
}

TEST(Watch, AGameHeCommandsNoCityOfPlaysSeasonsByItselfUntilPaused) {
    TestGame t;
    Session& g = t.game;
    g.shown.main.autoPlay = true;
    Tick(g, 5);
    EXPECT_EQ(g.TurnStep, 1) << "a city of his own: the season's start waits for his OK";
    // All his cities lost: nothing is his to command.
    for (int city = 1; city <= kCityCount; ++city)
        if (IsPlayers(g, city)) SetOwner(g, city, "スコットランド王国");
    // Two seasons: 75 cities and the season's end each, and nothing pressed.
    Tick(g, 2 * (kCityCount + 1) + 10);
    EXPECT_EQ(MainCaption(g), "1年目の秋");
    TogglePause(g);
    EXPECT_EQ(MainCaption(g), "1年目の秋（一時停止中）");
    Tick(g, 200);
    EXPECT_EQ(g.TurnStep, 11) << "no step runs while paused";
    TogglePause(g);
    Tick(g, 1);
    EXPECT_EQ(g.TurnStep, 12);
}

TEST(Watch, HelpPanelsClosedStayClosedInANewGameAndAfterALoadTillTheirEntryShowsThem) {
    TestGame t;
    Session& g = t.game;
    t.screen.savePath = (fs::temp_directory_path() / ("tarvex-help-" + std::to_string(::getpid()) + ".dt")).string();
    ASSERT_TRUE(SaveFromMenu(g));
    CloseHelpPanel(g, kHelpNation);
    StartGame(g);
    LoadFromMenu(g);
    EXPECT_EQ(g.shown.main.helpVisible, (std::array<bool, kHelpPanelCount>{true, false, true, true}));
    ShowHelpPanel(g, kHelpNation);
    StartGame(g);
    EXPECT_TRUE(g.shown.main.helpVisible[kHelpNation]);
    fs::remove(t.screen.savePath);
    fs::remove(ChroniclePath(t.screen.savePath));
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
    fs::create_directories(dir);
    t.screen.savePath = (dir / "Game.dt").string();
    t.screen.autosavePath = (dir / "Autosave.dt").string();
    std::ofstream(dir / "Game.dt") << "the player's own save";
    g.shown.main.autoPlay = true;
    Tick(g, kCityCount + 1);
    ASSERT_TRUE(g.TurnStart && fs::exists(dir / "Autosave.chronicle"));
    const std::string summer = Bytes(dir / "Autosave.dt");
    EXPECT_EQ(summer, WriteSaveBytes(g));

    // A crash in the middle of an autosave leaves its temporary file; a game that cannot
    // be written fails, told once. Neither touches the last autosave.
    std::ofstream(dir / "Autosave.dt.tmp-crashed") << "half a save";
    g.Cities[1].Name = "\"ロンドン\"";
    Tick(g, 2 * (kCityCount + 1));
    EXPECT_EQ(Bytes(dir / "Autosave.dt"), summer);
    EXPECT_EQ(t.screen.Boxes().size(), 1u);

    TestGame other("*");
    other.screen.autosavePath = t.screen.autosavePath;
    LoadAutosave(other.game);
    EXPECT_EQ(WriteSaveBytes(other.game), summer);
    EXPECT_EQ(other.screen.Boxes().back(), "ロードしました");
    EXPECT_EQ(Bytes(dir / "Game.dt"), "the player's own save");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tarvex
