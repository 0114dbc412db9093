// Arbitrary bytes offered to the save-file loader: it must refuse them or take them,
// never crash, hang or misbehave; what it takes must save and read back unchanged.
// With TARVEX_FUZZ_PLAY=1 in the environment, every game it takes is also played
// for a season by the computer, to show that whatever loads can be played.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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
        SetGame_Form_Load(game);
        SetGame_Command1_Click(game);
        Form1_Form_Load(game);
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
    for (int step = 0; step <= kCityCount && !game.Ended; ++step) Form1_cmdOk_Click(game);
}

const bool gPlay = [] {
    const char* play = std::getenv("TARVEX_FUZZ_PLAY");
    return play && *play == '1';
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Session& fresh = NewGameOnce();
    Session game = fresh;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (ReadSaveBytes(bytes, game)) return 0;

    const std::string written = WriteSaveBytes(game);
    if (written.empty()) Fault("a loaded game cannot be saved");
    Session again = fresh;
    if (ReadSaveBytes(written, again)) Fault("a saved game does not load");
    if (WriteSaveBytes(again) != written) Fault("a saved game loads back different");

    // What LoadGame does with it next.
    game.TurnStep = 1;
    RefreshAllCities(game);
    (void)MainCaption(game);
    (void)ShownPrices(game);
    if (gPlay) PlaySeason(game);
    return 0;
}
