// The command-line player of computer-only games: arguments, determinism, checks, replay.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "rules/save/savefile.h"
#include "sim/simulation.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result RunSim(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = sim::Main(args, out, err);
    return {status, out.str(), err.str()};
}

std::filesystem::path TempFile(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("tarvex-sim-test-" + std::to_string(::getpid()) + "-" + name);
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(Sim, HelpAndBadArguments) {
    Result help = RunSim({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--random-from"), std::string::npos);
    // Numbers in plain digits only, within their range; no value may be empty.
    for (auto args : std::vector<std::vector<std::string>>{{"--years"},
                                                           {"--years", "ten"},
                                                           {"--years", ""},
                                                           {"--years", " 5"},
                                                           {"--years", "+5"},
                                                           {"--years", "5 "},
                                                           {"--years", "1000001"},
                                                           {"--seed", "-1"},
                                                           {"--seed", "18446744073709551616"},
                                                           {"--seed", "0x10"},
                                                           {"--bogus"},
                                                           {"--load", ""},
                                                           {"--save", ""},
                                                           {"--random-from", ""},
                                                           {"--load", "/nonexistent/Game.dt"},
                                                           {"--random-from", "/nonexistent/draws"}}) {
        Result r = RunSim(args);
        EXPECT_EQ(r.status, 2) << args[0] << " " << args.back();
        EXPECT_FALSE(r.err.empty()) << args[0] << " " << args.back();
    }
    EXPECT_EQ(RunSim({"--years", "0", "--seed", "18446744073709551615"}).status, 0);
}

TEST(Sim, YearsZeroChecksAndRewritesASaveByteForByte) {
    const auto path = TempFile("played.dt"), copy = TempFile("copy.dt");
    ASSERT_EQ(RunSim({"--years", "2", "--seed", "9", "--save", path.string()}).status, 0);
    // Make the player's nation one that holds cities: playing would hand them to the computer.
    Session game;
    ASSERT_FALSE(ReadGameFile(path.string(), game).has_value());
    game.PlayerNation = game.Cities[1].Owner;
    ASSERT_FALSE(WriteGameFile(path.string(), game).has_value());
    Result r = RunSim({"--load", path.string(), "--years", "0", "--check", "--save", copy.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadAll(copy), ReadAll(path));
    std::filesystem::remove(path);
    std::filesystem::remove(copy);
}

TEST(Sim, SameSeedSameGameAndSummary) {
    Result a = RunSim({"--years", "15", "--seed", "11", "--log", "--check"});
    Result b = RunSim({"--years", "15", "--seed", "11", "--log", "--check"});
    Result c = RunSim({"--years", "15", "--seed", "12", "--log", "--check"});
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out, c.out);
    EXPECT_NE(a.out.find("1.1 L1 1年目、春です\n"), std::string::npos);
    EXPECT_NE(a.out.find("unified: "), std::string::npos);
    EXPECT_NE(a.out.find("イングランド王国 cities "), std::string::npos);
}

TEST(Sim, LogLinesNameYearSeasonAndKind) {
    Result r = RunSim({"--years", "6", "--seed", "3", "--log"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    bool sawHistory = false;
    while (std::getline(lines, line)) {
        if (line.rfind("year ", 0) == 0) break;  // the summary follows the log
        // "<year>.<season> <kind> <text>"
        const auto dot = line.find('.');
        const auto space = line.find(' ');
        ASSERT_NE(dot, std::string::npos) << line;
        ASSERT_LT(dot, space) << line;
        const std::string kind = line.substr(space + 1, line.find(' ', space + 1) - space - 1);
        EXPECT_TRUE(kind == "L1" || kind == "L2" || kind == "L3" || kind == "BOX" || kind == "EV") << line;
        EXPECT_EQ(line.find('\n'), std::string::npos);
        if (line == "5.1 BOX 「啓蒙主義」パリで食料が+10、\\n民度が+10されました。") sawHistory = true;
    }
    EXPECT_TRUE(sawHistory);
}

TEST(Sim, SavedGameLoadsInTheGameLibrary) {
    const auto path = TempFile("save.dt");
    Result r = RunSim({"--years", "3", "--seed", "5", "--save", path.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string bytes = ReadAll(path);
    Session loaded;
    EXPECT_FALSE(ReadSaveBytes(bytes, loaded).has_value());
    EXPECT_TRUE(loaded.TurnStart);
    EXPECT_EQ(loaded.Year, 4);
    EXPECT_EQ(loaded.Season, 1);
    // And the simulator goes on from it.
    Result again = RunSim({"--load", path.string(), "--years", "2", "--check"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("year 6 season 1"), std::string::npos) << again.out;
    std::filesystem::remove(path);
}

TEST(Sim, CheckCatchesABrokenState) {
    testing::TestGame t("*");
    EXPECT_FALSE(sim::CheckInvariants(t.game, false).has_value());
    t.game.Cities[12].Gold = 1000;
    auto breach = sim::CheckInvariants(t.game, false);
    ASSERT_TRUE(breach.has_value());
    EXPECT_NE(breach->find("city 12"), std::string::npos);
    t.game.Cities[12].Gold = 10;
    t.game.Cities[3].Civility = -1;
    EXPECT_TRUE(sim::CheckInvariants(t.game, false).has_value());
    t.game.Cities[3].Civility = 0;
    t.game.Cities[4].Owner = "どこでもない国";
    EXPECT_TRUE(sim::CheckInvariants(t.game, false).has_value());
    t.game.Cities[4].Owner = "イングランド王国";
    for (int i = 1; i <= kCityCount; ++i) t.game.TurnOrder[i] = i;
    EXPECT_FALSE(sim::CheckInvariants(t.game, true).has_value());
    t.game.TurnOrder[5] = 6;
    EXPECT_TRUE(sim::CheckInvariants(t.game, true).has_value());
    t.game.TurnOrder[5] = 5;
    t.game.Nations[1].Wins = 1;
    EXPECT_TRUE(sim::CheckInvariants(t.game, true).has_value());
    t.game.Nations[2].Losses = 1;
    t.game.Nations[1].TacticCount[1] = 1;
    t.game.Nations[2].TacticCount[5] = 1;
    EXPECT_FALSE(sim::CheckInvariants(t.game, true).has_value());
}

TEST(Sim, RandomFromFileReplaysAndStopsWhenItRunsOut) {
    const auto path = TempFile("draws.txt");
    {
        std::ofstream f(path);
        // Enough draws for the new game and some turns; the run then runs out.
        for (int i = 0; i < 4000; ++i) f << ((i * 7919) % 1000) / 1000.0 << "\n";
    }
    Result a = RunSim({"--random-from", path.string(), "--years", "50", "--log"});
    Result b = RunSim({"--random-from", path.string(), "--years", "50", "--log"});
    EXPECT_EQ(a.status, 3) << a.err;
    EXPECT_NE(a.err.find("ran out"), std::string::npos);
    EXPECT_EQ(a.out, b.out);
    EXPECT_FALSE(a.out.empty());
    {
        std::ofstream f(path);
        f << "0.5\n1.0\n";
    }
    EXPECT_EQ(RunSim({"--random-from", path.string()}).status, 2);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace tarvex
