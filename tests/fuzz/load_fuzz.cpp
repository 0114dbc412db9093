// Arbitrary bytes offered to the save-file loader: it must refuse them or take them,
// never crash, hang or misbehave; what it takes must save and read back unchanged.
// With TARVEX_FUZZ_PLAY=1 in the environment, every game it takes is also played
// for a season by the computer, to show that whatever loads can be played.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "rules/port/random.h"
#include "rules/port/screen.h"
#include "rules/save/savefile.h"
#include "rules/world/refresh.h"
#include "screens/main/main_window.h"
#include "screens/main/ok_step.h"
#include "screens/settings/settings.h"

namespace {

using namespace tarvex;

NullScreen gScreen;
MersenneRandom gRandom(1);

const Session& NewGameOnce() {
    static const Session fresh = [] {
        Session game(gScreen, gRandom);
        SetDefaultSettings(game);
        OpenSettingsScreen(game);
        AcceptSettings(game);
        StartGame(game);
        return game;
    }();
    return fresh;
}

[[noreturn]] void Fault(const char* what) {
    std::fprintf(stderr, "load fuzz: %s\n", what);
    std::abort();
}

// One season and its advance, every city run by the computer.
void PlaySeason(Session& game) {
    game.PlayerNation = "*";
    game.TurnStart = true;
    game.AdvanceReady = true;
    try {
        for (int step = 0; step <= kCityCount; ++step) TakeNextStep(game);
    } catch (const ProgramEnded&) {
        // A unification ends the game; the load was played as far as it goes.
    }
}

const bool gPlay = [] {
    const char* play = std::getenv("TARVEX_FUZZ_PLAY");
    return play && *play == '1';
}();

// This process's own scratch files, so that parallel fuzzing jobs do not meet.
const std::string& Scratch(const char* name) {
    static const std::string dir = [] {
        const std::string d = std::filesystem::temp_directory_path() / ("tarvex-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    static std::string in = dir + "/in.dt", out = dir + "/out.dt";
    return name[0] == 'i' ? in : out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Session& fresh = NewGameOnce();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Through the file functions as the game uses them: the file, its reader's
    // cap and checks, a load into a running game, then a save of it.
    {
        std::FILE* file = std::fopen(Scratch("in").c_str(), "wb");
        if (!file) Fault("cannot write the input file");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    Session game = fresh;
    const Session before = game;
    if (ReadGameFile(Scratch("in"), game)) {
        // A refused file leaves the running game as it was.
        if (!(static_cast<const World&>(game) == before)) Fault("a refused file changed the game");
        return 0;
    }

    if (auto problem = WriteGameFile(Scratch("out"), game)) Fault("a loaded game cannot be saved");
    Session again = fresh;
    if (ReadGameFile(Scratch("out"), again)) Fault("a saved game does not load");
    const std::string written = WriteSaveBytes(game);
    if (WriteSaveBytes(again) != written) Fault("a saved game loads back different");

    // What LoadGame does with it next.
    RefreshAllCities(game);
    (void)MainCaption(game);
    (void)ShownPrices(game);
    if (gPlay) PlaySeason(game);
    return 0;
}
