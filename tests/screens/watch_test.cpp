// Watching the war: the view aimed at the player's nation and following the acting
// city, the game pressing its own OK and pausing, help panels kept closed, the autosave.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "rules/chronicle/chronicle.h"
#include "rules/chronicle/chronicle_file.h"
#include "rules/save/files.h"
#include "rules/save/savefile.h"
#include "rules/world/numbers.h"
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
    g.FinishBackgroundSaves(true);
    ASSERT_TRUE(g.TurnStart && fs::exists(dir / "Autosave.chronicle"));
    const std::string summer = Bytes(dir / "Autosave.dt");
    EXPECT_EQ(summer, WriteSaveBytes(g));

    // A crash in the middle of an autosave leaves its temporary file; a game that cannot
    // be written fails, told once. Neither touches the last autosave.
    std::ofstream(dir / "Autosave.dt.tmp-crashed") << "half a save";
    g.Cities[1].Name = "\"ロンドン\"";
    Tick(g, 2 * (kCityCount + 1));
    g.FinishBackgroundSaves(true);
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

// The pair an autosave left at `path` loads whole: the save, and the history up to it.
void ExpectWholePair(const std::string& path, const std::string& what) {
    TestGame reader("*");
    ChronicleLoad history;
    const auto problem = ReadSavePair(path, reader.game, false, history);
    EXPECT_FALSE(problem.has_value()) << what << ": " << problem.value_or("");
    EXPECT_FALSE(history.problem.has_value()) << what << ": " << history.problem.value_or("");
}

// The autosave is written by a thread of its own while the season goes on; the
// program killed at any moment of it leaves the last one whole.
TEST(Autosave, KilledAtAnyMomentTheLastAutosaveStaysWhole) {
    const fs::path dir = fs::temp_directory_path() / ("tarvex-autosave-kill-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "Autosave.dt").string();
    TestGame t("*");
    Session& g = t.game;
    t.screen.autosavePath = path;
    g.shown.main.autoPlay = true;
    // A long history, so that a write takes a while.
    for (int i = 0; i < 3000; ++i) RecordEntry(g, EntryKind::Battle, "戦闘" + Str(i), {1 + i % 75}, {1});
    Tick(g, kCityCount + 1);
    g.FinishBackgroundSaves(true);
    ExpectWholePair(path, "before");
    for (int kill = 0; kill < 12; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Season after season, each start writing the next autosave, till the signal comes.
            try {
                for (;;) Tick(g, kCityCount + 1);
            } catch (...) {
            }
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(2000 + kill * 7919 % 60000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ExpectWholePair(path, "killed " + Str(kill));
    }
    fs::remove_all(dir);
}

// The player saving into the autosave's own file at the season's start, while the autosave
// is held up by another holder of the file: his save waits for it and comes out after it.
TEST(Autosave, AManualSaveRacingTheAutosaveComesOutWholeAndAfterIt) {
    const fs::path dir = fs::temp_directory_path() / ("tarvex-autosave-race-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TestGame t("*");
    Session& g = t.game;
    t.screen.autosavePath = t.screen.savePath = (dir / "Autosave.dt").string();
    g.shown.main.autoPlay = true;
    auto held = std::make_unique<SaveLock>();
    ASSERT_FALSE(held->Take(t.screen.autosavePath).has_value());
    Tick(g, kCityCount + 1);
    ASSERT_TRUE(g.TurnStart && g.autosaveWriter.Running());
    g.Cities[1].Gold += 1;
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        held.reset();
    });
    EXPECT_TRUE(SaveFromMenu(g));
    release.join();
    EXPECT_EQ(Bytes(dir / "Autosave.dt"), WriteSaveBytes(g));
    ExpectWholePair(t.screen.savePath, "race");
    EXPECT_EQ(t.screen.Boxes().back().rfind("セーブしました", 0), 0u);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tarvex
