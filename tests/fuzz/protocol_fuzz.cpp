// Arbitrary lines offered to the line protocol at a player's turn: every line
// is answered, nothing crashes or hangs, and no city changes unless the rules
// accepted the decision.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "rules/orders/player.h"
#include "rules/port/random.h"
#include "rules/port/screen.h"
#include "rules/turn/messages.h"
#include "rules/turn/step.h"
#include "rules/world/newgame.h"
#include "sim/protocol.h"

namespace {

using namespace tarvex;

NullScreen gScreen;
MersenneRandom gRandom(1);

// France at the turn of one of its cities, made once.
const Game& AtPlayersTurn() {
    static const Game ready = [] {
        Game game(gScreen, gRandom);
        game.PlayerNation = game.NationChoice = "フランス王国";
        NewGame(game);
        while (AdvanceOneStep(game) != StepResult::PlayerToOrder) {
        }
        return game;
    }();
    return ready;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Game game = AtPlayersTurn();
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    sim::PostedLines posted;
    sim::LinePolicy program(in, out, posted);
    std::optional<Refusal> refused;
    // Each turn of the loop reads one line at least; a decision the rules take ends the turn.
    while (const auto decision = program.Decide(game, Asked::Order, refused ? &*refused : nullptr)) {
        const World before = game;
        refused = GiveDecision(game, Asked::Order, *decision);
        if (refused && !(before == static_cast<const World&>(game))) std::abort();
        if (!refused) break;
    }
    return 0;
}
