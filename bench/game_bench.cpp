// What the game logic costs: a computer city's turn, a season, a century, the save file, the panels.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "rules/ai/computer.h"
#include "rules/chronicle/chronicle_file.h"
#include "rules/combat/odds.h"
#include "rules/port/random.h"
#include "rules/port/screen.h"
#include "rules/save/savefile.h"
#include "rules/turn/cycle.h"
#include "rules/turn/step.h"
#include "rules/world/newgame.h"
#include "rules/world/refresh.h"
#include "rules/world/scenario.h"
#include "screens/main/autosave.h"
#include "screens/session/session.h"

namespace tarvex {
namespace {

// A computer-only game at a season start, messages without a hold.
struct HeadlessGame {
    explicit HeadlessGame(std::uint64_t seed, int strength = kStandardStrength)
        : strength(strength), random(seed), game(screen, random) {
        Start();
    }
    // Not copied: a copy's game would go on drawing from the original's source and screen.
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;
    // A new game from another seed, on this screen and source.
    void Restart(std::uint64_t seed) {
        random.Seed(seed);
        game = Game(screen, random);
        Start();
    }
    void Start() {
        game.PlayerNation = "*";
        game.AutoAdvance = true;
        game.Strength.fill(strength);
        NewGame(game);
    }
    void PlaySeason() {
        const int season = game.Season;
        try {
            while (game.Season == season) AdvanceOneStep(game);
        } catch (const ProgramEnded&) {
            // Unified: the game is over.
        }
    }
    int strength;
    NullScreen screen;
    MersenneRandom random;
    Game game;
};

void BM_ComputerCityTurn(benchmark::State& state) {
    HeadlessGame h(1);
    int city = 1;
    for (auto _ : state) {
        RunComputerCity(h.game, city);
        city = city % kCityCount + 1;
        if (city == 1) {
            state.PauseTiming();
            h.Restart(static_cast<std::uint64_t>(state.iterations()));
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_ComputerCityTurn);

// A season at each of the computer's strength levels (the argument).
void BM_ComputerSeason(benchmark::State& state) {
    HeadlessGame h(2, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        h.PlaySeason();
        if (h.game.Ended || h.game.Year > 50) {
            state.PauseTiming();
            h.Restart(static_cast<std::uint64_t>(state.iterations()));
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_ComputerSeason)->DenseRange(kStandardStrength, kStrongest)->Unit(benchmark::kMicrosecond);

void BM_HundredYearGame(benchmark::State& state) {
    std::uint64_t seed = 3;
    for (auto _ : state) {
        HeadlessGame h(seed++);
        while (h.game.Year <= 100 && !h.game.Ended) h.PlaySeason();
        benchmark::DoNotOptimize(h.game.Year);
    }
}
BENCHMARK(BM_HundredYearGame)->Unit(benchmark::kMillisecond);

void BM_WriteSave(benchmark::State& state) {
    HeadlessGame h(4);
    for (auto _ : state) benchmark::DoNotOptimize(WriteSaveBytes(h.game));
}
BENCHMARK(BM_WriteSave)->Unit(benchmark::kMicrosecond);

void BM_ReadSave(benchmark::State& state) {
    HeadlessGame h(5);
    const std::string bytes = WriteSaveBytes(h.game);
    Game into = h.game;
    for (auto _ : state) benchmark::DoNotOptimize(ReadSaveBytes(bytes, into));
}
BENCHMARK(BM_ReadSave)->Unit(benchmark::kMicrosecond);

// The chronicle of a thousand-year game (seed 10 plays them all without a unifier):
// its files written, and the memory its entries and season rows hold.
void BM_ChronicleOfAThousandYears(benchmark::State& state) {
    HeadlessGame h(10);
    while (h.game.Year <= 1000 && !h.game.Ended) h.PlaySeason();
    const Chronicle& c = h.game.chronicle;
    std::size_t bytes = c.entries.capacity() * sizeof(ChronicleEntry) + c.seasons.capacity() * sizeof(SeasonRecord);
    for (const ChronicleEntry& e : c.entries)
        bytes += e.text.capacity() + (e.cities.capacity() + e.nations.capacity()) * sizeof(int);
    std::size_t written = 0;
    for (auto _ : state) {
        const std::string saved = EncodeChronicle(h.game), entries = ChronicleTable(c), rows = SeasonTable(h.game);
        written = saved.size() + entries.size() + rows.size();
        benchmark::DoNotOptimize(written);
    }
    state.counters["entries"] = static_cast<double>(c.entries.size());
    state.counters["seasons"] = static_cast<double>(c.seasons.size());
    state.counters["held_KiB"] = static_cast<double>(bytes) / 1024.0;
    state.counters["written_KiB"] = static_cast<double>(written) / 1024.0;
}
BENCHMARK(BM_ChronicleOfAThousandYears)->Unit(benchmark::kMillisecond);

void BM_RefreshAllPanels(benchmark::State& state) {
    HeadlessGame h(6);
    Session windows(h.screen, h.random);
    static_cast<Game&>(windows) = h.game;
    windows.shown.main.loaded = true;  // the window's panels are written
    for (auto _ : state) RefreshAllCities(windows);
}
BENCHMARK(BM_RefreshAllPanels)->Unit(benchmark::kMicrosecond);

// What a season's start adds to a windows' game: the autosave and its chronicle, each
// written whole beside the last and synced to the disk, after `years` years of war.
// `window`: 1 times only the window's part (the save composed, the history copied,
// the writer started), the writer's work waited for outside the timing; 0 the whole write.
void BM_Autosave(benchmark::State& state) {
    struct AutosaveScreen : NullScreen {
        std::string path;
        std::string AutosavePath(Game&) override { return path; }
    };
    HeadlessGame h(3);
    while (h.game.Year <= state.range(0) && !h.game.Ended) h.PlaySeason();
    const bool windowOnly = state.range(1) != 0;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tarvex-bench-autosave-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    AutosaveScreen screen;
    screen.path = (dir / "Autosave.dt").string();
    Session windows(screen, h.random);
    static_cast<Game&>(windows) = h.game;
    windows.screen = &screen;
    windows.shown.main.loaded = true;
    windows.TurnStart = true;
    for (auto _ : state) {
        Autosave(windows);
        if (windowOnly) state.PauseTiming();
        FinishAutosave(windows, true);
        if (windowOnly) state.ResumeTiming();
    }
    state.counters["chronicle_KiB"] =
        static_cast<double>(std::filesystem::file_size(dir / "Autosave.chronicle")) / 1024.0;
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Autosave)->ArgsProduct({{1, 100, 300}, {0, 1}})->Unit(benchmark::kMillisecond);
// The attack panel's odds for a city and its first neighbour of another owner,
// thirty years into a game (records of tactics filled in).
void BM_AttackOdds(benchmark::State& state) {
    HeadlessGame h(7);
    for (int season = 0; season < 120; ++season) h.PlaySeason();
    std::vector<std::pair<int, int>> fronts;
    for (int city = 1; city <= kCityCount; ++city)
        for (int other = 1; other <= kCityCount; ++other)
            if (IsNeighbour(city, other) && !SameOwner(h.game, city, other) && h.game.Cities[city].Troops > 0) {
                fronts.emplace_back(city, other);
                break;
            }
    std::size_t next = 0;
    for (auto _ : state) {
        const auto [city, target] = fronts[next++ % fronts.size()];
        benchmark::DoNotOptimize(EstimateAttack(h.game, city, target, h.game.Cities[city].Troops));
    }
    state.counters["fronts"] = static_cast<double>(fronts.size());
}
BENCHMARK(BM_AttackOdds)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvex
