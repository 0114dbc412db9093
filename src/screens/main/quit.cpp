// The player's way out: offers to save first, then asks to end.
#include "screens/main/quit.h"

#include "rules/port/screen.h"
#include "rules/turn/messages.h"
#include "screens/main/main_window.h"

namespace tarvex {

namespace {
Answer AskTitled(Session& game, const char* text, Answer defaultButton) {
    Question question;
    question.text = text;
    question.title = game.Title;
    question.defaultButton = defaultButton;
    return game.screen->Ask(game, question);
}

}  // namespace

void ConfirmQuit(Session& game) {
    if (!game.TurnStart) {
        // Saving is out of reach now, so the safe answer is the default.
        const Answer save = AskTitled(game, "セーブして終了しますか?", Answer::Cancel);
        if (save == Answer::Ok) {
            Tell(game, "セーブはターンのはじめしかできません");
            return;
        }
    } else {
        const Answer save = AskTitled(game, "セーブして終了しますか?", Answer::Ok);
        // A save that did not happen must not end the game that was not kept.
        if (save == Answer::Ok && !SaveFromMenu(game)) return;
    }
    if (AskTitled(game, "終了します。よろしいですか?", Answer::Ok) == Answer::Cancel) return;
    EndProgramNow(game);
}

void QuitFromMenu(Session& game) { ConfirmQuit(game); }

}  // namespace tarvex
