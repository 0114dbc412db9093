// The three message lines that pace the game, and the end-of-game notice.
#include "rules/turn/messages.h"

#include "rules/port/screen.h"

namespace tarvex {

namespace {
void Post(Game& game, int line, const std::string& text) {
    auto& lines = game.Lines;
    if (line == 1) {
        lines[1].visible = false;
        lines[2].visible = false;
    }
    lines[line - 1].visible = true;
    lines[line - 1].text = text;
    game.screen->Hold(game, line, game.MessageWait);
}

}  // namespace

void ShowMsg(Game& game, const std::string& text) { Post(game, 1, text); }
void ShowMsg2(Game& game, const std::string& text) { Post(game, 2, text); }
void ShowMsg3(Game& game, const std::string& text) { Post(game, 3, text); }

void Tell(Game& game, const std::string& text) { game.screen->Message(game, text, ""); }

void EndGame(Game& game) {
    game.screen->Message(game, "終了です", game.Title);
    EndProgramNow(game);
}

}  // namespace tarvex
