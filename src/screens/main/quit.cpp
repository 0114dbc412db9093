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

bool ConfirmQuit(Session& game) {
    if (game.Ended) return true;
    if (!game.TurnStart) {
        // Saving is out of reach now, so the safe answer is the default.
        const Answer save = AskTitled(game, "セーブして終了しますか?", Answer::Cancel);
        if (game.Ended) return true;
        if (save == Answer::Ok) {
            Tell(game, "セーブはターンのはじめしかできません");
            return game.Ended;
        }
    } else {
        const Answer save = AskTitled(game, "セーブして終了しますか?", Answer::Ok);
        if (game.Ended) return true;
        // A save that did not happen must not end the game that was not kept.
        if (save == Answer::Ok && !Form1_mnuSave_Click(game)) return game.Ended;
        if (game.Ended) return true;
    }
    if (AskTitled(game, "終了します。よろしいですか?", Answer::Ok) == Answer::Cancel) return game.Ended;
    game.Ended = true;
    game.screen->EndProgram(game);
    return true;
}

void Form1_mnuEnd_Click(Session& game) { ConfirmQuit(game); }

bool Form1_QueryUnload(Session& game) {
    // The program closing its own windows as it ends asks nothing more.
    if (game.Ended) return true;
    return ConfirmQuit(game);
}

}  // namespace tarvex
