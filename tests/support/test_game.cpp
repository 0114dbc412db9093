// The scripted screen through the windows' own handlers, and a game set up as the player does.
#include "support/test_game.h"

#include "screens/battle/battle_screen.h"
#include "screens/events/event_window.h"
#include "screens/main/main_window.h"
#include "screens/settings/settings.h"

namespace tarvex::testing {

void WindowScreen::RunBattleScreen(Game& bare) {
    Session* session = SessionOf(bare);
    if (!session) return ScriptedScreen::RunBattleScreen(bare);
    Session& game = *session;
    log.push_back({Shown::Battle, "", ""});
    game.shown.battle.open = true;
    if (battle) {
        battle(game);
        return;
    }
    OpenBattleScreen(game);
    ChoosePlayerTactic(game, battleTactic);
    for (int guard = 0; guard < 16 && game.shown.battle.open; ++guard) FightNextRound(game);
}

void WindowScreen::RunEventWindow(Game& bare) {
    Session* session = SessionOf(bare);
    if (!session) return ScriptedScreen::RunEventWindow(bare);
    log.push_back({Shown::EventWindow, "", ""});
    OpenEventWindow(*session);
    if (eventWindow) {
        eventWindow(*session);
        return;
    }
    CloseEventWindow(*session);
}

TestGame::TestGame(const std::string& player, std::uint64_t seed) : ScriptedGame(seed) {
    SetDefaultSettings(game);
    OpenSettingsScreen(game);
    TypeNationName(game, player);
    AcceptSettings(game);
    StartGame(game);
    screen.Clear();
}

}  // namespace tarvex::testing
