// What a save and a load of a long game cost: the peak memory above the running
// game and the time, with a chronicle near its file's cap and one past it.
// Usage: tarvex_save_memory FOLDER [MiB]   (MiB: the chronicle's size, default 60)
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "rules/chronicle/chronicle_file.h"
#include "rules/port/random.h"
#include "rules/port/screen.h"
#include "rules/save/savefile.h"
#include "sim/simulation.h"

namespace {

using namespace tarvex;

// A figure of /proc/self/status in kB ("VmRSS", "VmHWM").
long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
    return -1;
}

// The peak is measured from here.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double Mib(long kb) { return static_cast<double>(kb) / 1024; }

// A thousand-year game's history, repeated at later years until its file would hold `bytes`.
void GrowHistory(Game& game, std::size_t bytes) {
    const Chronicle one = game.chronicle;
    int shift = 0;
    while (EncodeChronicle(game.chronicle, game.Year, game.Season).size() < bytes) {
        shift += 1000;
        for (ChronicleEntry e : one.entries) {
            e.year += shift;
            game.chronicle.entries.push_back(std::move(e));
        }
        for (SeasonRecord s : one.seasons) {
            s.year += shift;
            game.chronicle.seasons.push_back(s);
        }
    }
    game.chronicle.marks.clear();
}

struct Measure {
    double seconds;
    double peakMib;  // above the memory in use before
};

template <class Call>
Measure Measured(const Call& call) {
    const long before = StatusKb("VmRSS");
    ResetPeak();
    const auto start = std::chrono::steady_clock::now();
    call();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return {took.count(), Mib(StatusKb("VmHWM") - before)};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tarvex_save_memory FOLDER [MiB]\n");
        return 2;
    }
    const std::string save = std::string(argv[1]) + "/Game.dt";
    const std::size_t mib = argc > 2 ? std::stoul(argv[2]) : 60;
    NullScreen screen;
    MersenneRandom random(5);
    Game game(screen, random);
    {
        // A played game, so that its history reads as a real one does.
        std::ostringstream out, err;
        const std::string seed = save + ".seed.dt";
        if (sim::Main({"--years", "1000", "--seed", "4", "--save", seed}, out, err) != 0) return 1;
        ChronicleLoad ignored;
        if (ReadSavePair(seed, game, false, ignored)) return 1;
    }
    const long bare = StatusKb("VmRSS");
    GrowHistory(game, mib << 20);
    const double held = Mib(StatusKb("VmRSS") - bare);
    const std::size_t fileBytes = EncodeChronicle(game.chronicle, game.Year, game.Season).size();
    const std::size_t entries = game.chronicle.entries.size(), seasons = game.chronicle.seasons.size();
    const Measure encoded = Measured([&] { EncodeChronicle(game.chronicle, game.Year, game.Season); });
    bool trimmed = false;
    const Measure saved = Measured([&] {
        if (auto problem = WriteSavePair(save, game, &trimmed)) std::fprintf(stderr, "%s\n", problem->c_str());
    });
    ChronicleLoad history;
    const Measure loaded = Measured([&] {
        if (auto problem = ReadSavePair(save, game, false, history)) std::fprintf(stderr, "%s\n", problem->c_str());
    });
    std::printf("chronicle file %.1f MiB (%zu entries, %zu seasons), held in memory %.1f MiB%s\n",
                static_cast<double>(fileBytes) / (1 << 20), entries, seasons, held,
                trimmed ? ", trimmed by the save" : "");
    std::printf("its text alone: %.2f s, peak %.1f MiB\n", encoded.seconds, encoded.peakMib);
    std::printf("save: %.2f s, peak %.1f MiB above the running game\n", saved.seconds, saved.peakMib);
    std::printf("load: %.2f s, peak %.1f MiB above the running game%s\n", loaded.seconds, loaded.peakMib,
                history.problem ? (" (" + *history.problem + ")").c_str() : "");
    return 0;
}
