// The scripted screen as the windows' game meets it: the battle screen and the
// event window worked through their own handlers; and a game set up through
// the settings screen and the main window's start.
#pragma once

#include <cstdint>
#include <string>

#include "screens/session/session.h"
#include "support/scripted_screen.h"

namespace tarvex::testing {

// For a windows' game the battle screen opens, the player chooses
// `battleTactic` and presses OK until it closes; the event window opens and
// its OK closes it. The hooks, when set, run with the screen open. A game
// without windows is played as ScriptedScreen plays it.
class WindowScreen : public ScriptedScreen {
public:
    void RunBattleScreen(Game& game) override;
    void RunEventWindow(Game& game) override;
};

// A windows' game after the settings screen's OK with the given player's
// nation and the main window's start; message holds cost nothing.
struct TestGame : ScriptedGame<Session, WindowScreen> {
    explicit TestGame(const std::string& player = "イングランド王国", std::uint64_t seed = 7);
};

}  // namespace tarvex::testing
