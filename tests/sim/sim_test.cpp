// The command-line player of computer-only games: arguments, determinism, checks, replay.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "rules/chronicle/chronicle.h"
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
                                                           {"--chronicle", ""},
                                                           {"--stats"},
                                                           {"--load", "/nonexistent/Game.dt"},
                                                           {"--random-from", "/nonexistent/draws"},
                                                           {"--strength", "0"},
                                                           {"--strength", "4"},
                                                           {"--strength", "2.5"},
                                                           {"--strength-of", "フランス王国"},
                                                           {"--strength-of", "=2"},
                                                           {"--strength-of", "フランス王国=9"},
                                                           {"--years", "0", "--strength-of", "どこでもない国=2"}}) {
        Result r = RunSim(args);
        EXPECT_EQ(r.status, 2) << args[0] << " " << args.back();
        EXPECT_FALSE(r.err.empty()) << args[0] << " " << args.back();
    }
    EXPECT_EQ(RunSim({"--years", "0", "--seed", "18446744073709551615"}).status, 0);
    // Each option once: a second value would quietly replace the first.
    for (auto args : std::vector<std::vector<std::string>>{
             {"--years", "1", "--years", "2"}, {"--log", "--check", "--log"}, {"--save", "a.dt", "--save", "b.dt"}}) {
        Result r = RunSim(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_NE(r.err.find(args[0] + " is given more than once"), std::string::npos) << r.err;
    }
}

// A stream whose every write fails, as a full disk makes standard output.
class FullDisk : public std::streambuf {
    int overflow(int) override { return traits_type::eof(); }
};

TEST(Sim, EachTableIsWrittenOnItsOwnAndOutputThatFailsFailsTheRun) {
    const auto file = TempFile("alone.table");
    const std::pair<const char*, const char*> tables[] = {{"--chronicle", "year\tseason\tkind\ttext\n"},
                                                          {"--stats", "year,season,"}};
    for (const auto& [option, head] : tables) {
        std::filesystem::remove(file);
        const Result r = RunSim({"--years", "2", option, file.string()});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadAll(file).rfind(head, 0), 0u) << option;
    }
    std::filesystem::remove(file);
    // Nothing reached the output: the run failed, whatever it played.
    FullDisk full;
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(sim::Main({"--years", "1", "--log"}, out, err), 2);
    EXPECT_NE(err.str().find("cannot write the output"), std::string::npos) << err.str();
}

// Rows of a CSV or TSV table, split into fields.
std::vector<std::vector<std::string>> Table(const std::string& text, char separator) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        rows.emplace_back();
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, separator);) rows.back().push_back(field);
    }
    return rows;
}

TEST(Sim, StatsRowsHoldEveryCityAndEndAsTheSummaryAndTheChronicleIsOneEntryALine) {
    const auto draws = TempFile("draws.txt"), saved = TempFile("stats-game.dt");
    {
        std::ofstream out(draws);
        for (long long i = 0; i < 400000; ++i) out << (i * 7919 % 10007) / 10007.0 << '\n';
    }
    ASSERT_EQ(RunSim({"--years", "3", "--seed", "4", "--save", saved.string()}).status, 0);
    // The save's chronicle lies beside it, and the loaded game goes on from it.
    const auto savedChronicle = TempFile("stats-game.chronicle");
    ASSERT_TRUE(std::filesystem::exists(savedChronicle));
    const std::vector<std::vector<std::string>> runs = {
        {"--years", "40", "--seed", "5"},
        {"--years", "10", "--random-from", draws.string()},
        {"--years", "5", "--load", saved.string()},
    };
    for (std::vector<std::string> args : runs) {
        const auto stats = TempFile("stats.csv"), chronicle = TempFile("chronicle.tsv");
        args.insert(args.end(), {"--stats", stats.string(), "--chronicle", chronicle.string()});
        const Result r = RunSim(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto rows = Table(ReadAll(stats), ',');
        ASSERT_GE(rows.size(), 2u);
        ASSERT_EQ(rows[0].size(), 2u + kNationCount);
        EXPECT_EQ(rows[0][0], "year");
        EXPECT_EQ(rows[0][2], "イングランド王国");
        for (std::size_t i = 1; i < rows.size(); ++i) {
            int sum = 0;
            for (std::size_t n = 2; n < rows[i].size(); ++n) sum += std::stoi(rows[i][n]);
            EXPECT_EQ(sum, kCityCount) << args[1] << " row " << i;
        }
        // The last row is the game the summary describes.
        const auto& last = rows.back();
        EXPECT_NE(r.out.find("year " + last[0] + " season " + last[1] + " "), std::string::npos) << r.out;
        for (int n = 1; n <= kNationCount; ++n)
            EXPECT_NE(r.out.find(rows[0][n + 1] + " cities " + last[n + 1] + " "), std::string::npos) << rows[0][n + 1];

        const auto entries = Table(ReadAll(chronicle), '\t');
        ASSERT_GE(entries.size(), 2u);
        EXPECT_EQ(entries[0], (std::vector<std::string>{"year", "season", "kind", "text"}));
        for (std::size_t i = 1; i < entries.size(); ++i) {
            ASSERT_EQ(entries[i].size(), 4u) << i;
            EntryKind kind;
            EXPECT_TRUE(KindFromName(entries[i][2], &kind)) << entries[i][2];
        }
        std::filesystem::remove(stats);
        std::filesystem::remove(chronicle);
    }
    std::filesystem::remove(draws);
    std::filesystem::remove(saved);
    std::filesystem::remove(savedChronicle);
}

TEST(Sim, YearsZeroChecksAndRewritesASaveByteForByte) {
    const auto path = TempFile("played.dt"), copy = TempFile("copy.dt");
    ASSERT_EQ(RunSim({"--years", "2", "--seed", "9", "--save", path.string()}).status, 0);
    // Make the player's nation one that holds cities: playing would hand them to the computer.
    Game game;
    ASSERT_FALSE(ReadGameFile(path.string(), game).has_value());
    game.PlayerNation = game.Cities[1].Owner;
    ASSERT_FALSE(WriteGameFile(path.string(), game).has_value());
    // The chronicle beside it names the save as it was before: a load would refuse it.
    std::filesystem::remove(std::filesystem::path(path).replace_extension(".chronicle"));
    Result r = RunSim({"--load", path.string(), "--years", "0", "--check", "--save", copy.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadAll(copy), ReadAll(path));
    for (const auto& file : {path, copy}) {
        std::filesystem::remove(file);
        std::filesystem::remove(std::filesystem::path(file).replace_extension(".chronicle"));
    }
}

TEST(Sim, TheFirstStrengthIsTheStandardComputerAndAStrongerOnePlaysAnotherGame) {
    const Result standard = RunSim({"--years", "20", "--seed", "6", "--log", "--check"});
    const Result first = RunSim({"--years", "20", "--seed", "6", "--log", "--check", "--strength", "1"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, standard.out);
    for (const std::vector<std::string>& level :
         std::vector<std::vector<std::string>>{{"--strength", "3"}, {"--strength-of", "フランス王国=2"}}) {
        std::vector<std::string> args{"--years", "20", "--seed", "6", "--log", "--check"};
        args.insert(args.end(), level.begin(), level.end());
        const Result stronger = RunSim(args);
        EXPECT_EQ(stronger.status, 0) << stronger.err;
        EXPECT_NE(stronger.out, standard.out) << level[0];
    }
}

// A save made at a stronger level keeps it beside the file, and a load plays on at
// it unless asked otherwise.
TEST(Sim, ALoadedGamePlaysOnAtTheLevelSavedBesideIt) {
    const auto save = TempFile("strong.dt");
    const auto levels = std::filesystem::path(save).replace_extension(".strength");
    ASSERT_EQ(RunSim({"--years", "3", "--seed", "5", "--strength", "3", "--save", save.string()}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(levels));
    const Result kept = RunSim({"--load", save.string(), "--years", "10", "--log"});
    const Result first = RunSim({"--load", save.string(), "--years", "10", "--log", "--strength", "1"});
    EXPECT_EQ(kept.status, 0) << kept.err;
    EXPECT_NE(kept.out, first.out);
    // Damaged levels: the standard computer, said on stderr.
    std::ofstream(levels, std::ios::binary) << "tarvex-strength 1\nsave 0\n";
    const Result damaged = RunSim({"--load", save.string(), "--years", "10", "--log"});
    EXPECT_EQ(damaged.status, 0);
    EXPECT_EQ(damaged.out, first.out);
    EXPECT_NE(damaged.err.find("levels beside it cannot be read"), std::string::npos) << damaged.err;
    for (const char* extension : {".dt", ".chronicle", ".strength"})
        std::filesystem::remove(std::filesystem::path(save).replace_extension(extension));
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
    Game loaded;
    EXPECT_FALSE(ReadSaveBytes(bytes, loaded).has_value());
    EXPECT_TRUE(loaded.TurnStart);
    EXPECT_EQ(loaded.Year, 4);
    EXPECT_EQ(loaded.Season, 1);
    // And the simulator goes on from it.
    Result again = RunSim({"--load", path.string(), "--years", "2", "--check"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("year 6 season 1"), std::string::npos) << again.out;
    std::filesystem::remove(path);
    std::filesystem::remove(std::filesystem::path(path).replace_extension(".chronicle"));
}

TEST(Sim, CheckCatchesABrokenState) {
    testing::RulesGame t("*");
    EXPECT_FALSE(sim::CheckInvariants(t.game, false).has_value());
    t.game.Cities[12].Gold = 1000;
    auto breach = sim::CheckInvariants(t.game, false);
    ASSERT_TRUE(breach.has_value());
    EXPECT_NE(breach->find("city 12"), std::string::npos);
    t.game.Cities[12].Gold = 10;
    t.game.Cities[3].Civility = -1;
    EXPECT_TRUE(sim::CheckInvariants(t.game, false).has_value());
    t.game.Cities[3].Civility = 0;
    SetOwner(t.game, 4, "どこでもない国");
    EXPECT_TRUE(sim::CheckInvariants(t.game, false).has_value());
    t.game.Cities[4].Owner = "フランス王国";  // the name alone, its number left behind
    EXPECT_TRUE(sim::CheckInvariants(t.game, false).has_value());
    SetOwner(t.game, 4, "イングランド王国");
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
    std::filesystem::remove(std::filesystem::path(path).replace_extension(".chronicle"));
}

}  // namespace
}  // namespace tarvex
