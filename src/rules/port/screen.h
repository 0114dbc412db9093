// The port through which the rules reach what only a window can do:
// modal boxes, the message hold, modal windows, the browser and the program's end.
#pragma once

#include <string>
#include <vector>

namespace tarvex {

struct Game;

// Thrown by EndProgramNow when the program is to end: every step of the game
// unwinds to the call that entered it (a window's handler, the simulator's
// loop), which catches it. Nothing of the game runs after it.
struct ProgramEnded {};

// A question box's answer and default button.
enum class Answer { Ok, Cancel };

struct Question {
    std::string text;
    std::string title;  // empty: the application's default title
    Answer defaultButton = Answer::Ok;
    bool warning = false;  // warning icon
};

class Screen {
public:
    virtual ~Screen() = default;

    // A modal box with an OK button only. An empty title means the application's default.
    virtual void Message(Game& game, const std::string& text, const std::string& title) = 0;
    // A modal box with OK and Cancel.
    virtual Answer Ask(Game& game, const Question& question) = 0;
    // A modal box with a button for each of `buttons`: the index of the one
    // pressed, -1 when the box is closed without one. The question's default
    // button Ok stands for the first, Cancel for closing. Screens without their
    // own take the first for OK.
    virtual int Choose(Game& game, const Question& question, const std::vector<std::string>& buttons) {
        return Ask(game, question) == Answer::Ok && !buttons.empty() ? 0 : -1;
    }
    // A posting on message line 1..3: show it now, then hold the game for `seconds`
    // without running any other event.
    virtual void Hold(Game& game, int line, double seconds) = 0;
    // Whether anything reads the message lines' texts (a window, a log): a game no one
    // watches holds for them all the same but leaves their texts unwritten.
    virtual bool ShowsLines() const { return true; }
    // The modal battle screen: returns when the battle is over (or the program ends).
    virtual void RunBattleScreen(Game& game) = 0;
    // The modal event window with Game::EventLines: returns when it is closed by its OK.
    virtual void RunEventWindow(Game& game) = 0;
    // The nation information screen; modal or modeless.
    virtual void ShowNationScreen(Game& game, bool modal) = 0;
    // The settings screen, modeless, brought forward.
    virtual void ShowSettings(Game& game) = 0;
    // Opens a web page in the user's browser; failures are ignored.
    virtual void OpenWebPage(Game& game, const std::string& url) = 0;
    // The screen's part of ending the program, without asking or saving (the
    // windows stop waiting); it returns, and EndProgramNow then unwinds the game.
    virtual void EndProgram(Game& game) = 0;
    // Where the save file lives.
    virtual std::string SaveFilePath(Game& game) = 0;
    // Where the autosave lives, beside the save file; empty: the game keeps none.
    virtual std::string AutosavePath(Game& /*game*/) { return {}; }
    // What to add under "セーブしました" when the file went where the player
    // may not look for it; empty when there is nothing to add.
    virtual std::string SavedWhere(Game& /*game*/) { return {}; }
    // The charts of the whole game, when a nation has unified the map, before the end.
    virtual void ShowWarChart(Game& /*game*/) {}
    // Another program holds the save being loaded or written: asked about every
    // tenth of a second while it does, with the seconds waited so far. Passes
    // that time (the window answering meanwhile); false when the player gives up.
    // Default: waits on without a word.
    virtual bool WaitForSave(Game& game, double waited);
    // The wait is over: the save was had, or given up.
    virtual void SaveWaitOver(Game& /*game*/) {}
};

// Ends the program: marks the game Ended, lets the screen do its part, and
// unwinds with ProgramEnded.
[[noreturn]] void EndProgramNow(Game& game);

// A screen that shows nothing: every box is answered OK, holds do not wait,
// the player's battles are fought with the computer's choice, and the event
// window closes at once. For games without a window.
class NullScreen : public Screen {
public:
    void Message(Game&, const std::string&, const std::string&) override {}
    Answer Ask(Game&, const Question&) override { return Answer::Ok; }
    void Hold(Game&, int, double) override {}
    bool ShowsLines() const override { return false; }
    void RunBattleScreen(Game& game) override;
    void RunEventWindow(Game&) override {}
    void ShowNationScreen(Game&, bool) override {}
    void ShowSettings(Game&) override {}
    void OpenWebPage(Game&, const std::string&) override {}
    void EndProgram(Game&) override {}
    std::string SaveFilePath(Game&) override { return "Game.dt"; }
};

}  // namespace tarvex
