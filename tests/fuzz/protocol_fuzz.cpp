// Arbitrary lines offered to the line protocol at a player's turn as answers:
// every line is read as a decision or answered with an error, nothing crashes
// or hangs, and no city changes unless the rules accepted the decision.
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
    // Each line is read as the protocol reads an answer; the request itself is
    // left out, as its making costs a hundred times the answer under the sanitizers.
    for (std::string line; std::getline(in, line);) {
        sim::LineError error;
        const auto decision = sim::ParseDecision(line, error);
        if (!decision) {
            if (error.code.empty() || error.text.empty()) std::abort();  // every error is answered
            continue;
        }
        const World before = game;
        const auto refused = GiveDecision(game, Asked::Order, *decision);
        if (refused && (!(before == static_cast<const World&>(game)) || refused->text.empty())) std::abort();
        // An order taken ends the turn: the next line meets the same turn afresh.
        if (!refused && decision->kind == Decision::Kind::Order) game = AtPlayersTurn();
    }
    return 0;
}
