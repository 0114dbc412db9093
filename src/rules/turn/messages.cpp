// The three message lines that pace the game, and the end-of-game notice.
#include "rules/turn/messages.h"

#include "rules/port/screen.h"

namespace tarvex {

namespace {
// The line's text is in place: show it, and hold the game.
void Post(Game& game, int line) {
    auto& lines = game.Lines;
    if (line == 1) {
        lines[1].visible = false;
        lines[2].visible = false;
    }
    lines[line - 1].visible = true;
    game.screen->Hold(game, line, game.MessageWait);
}

void Post(Game& game, int line, const std::string& text) {
    if (game.screen->ShowsLines()) game.Lines[line - 1].text = text;
    Post(game, line);
}

void Post(Game& game, int line, std::initializer_list<std::string_view> pieces) {
    // The messages every city gives every season are a fifth of a computer game's work.
    if (!game.screen->ShowsLines()) return Post(game, line);
    std::string& text = game.Lines[line - 1].text;
    text.clear();
    for (std::string_view piece : pieces) text += piece;
    Post(game, line);
}

}  // namespace

void ShowMsg(Game& game, const std::string& text) { Post(game, 1, text); }
void ShowMsg2(Game& game, const std::string& text) { Post(game, 2, text); }
void ShowMsg3(Game& game, const std::string& text) { Post(game, 3, text); }
void ShowMsg(Game& game, std::initializer_list<std::string_view> pieces) { Post(game, 1, pieces); }
void ShowMsg2(Game& game, std::initializer_list<std::string_view> pieces) { Post(game, 2, pieces); }
void ShowMsg3(Game& game, std::initializer_list<std::string_view> pieces) { Post(game, 3, pieces); }

void Tell(Game& game, const std::string& text) { game.screen->Message(game, text, ""); }

void EndGame(Game& game) {
    game.screen->Message(game, "終了です", game.Title);
    EndProgramNow(game);
}

}  // namespace tarvex
