// A screen for tests: records every box and posting in order and answers
// questions from a script; a scripted random source for fixed draws; a new
// game of the rules alone, without any window.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "rules/port/random.h"
#include "rules/port/screen.h"
#include "rules/world/game.h"

namespace tarvex::testing {

struct Shown {
    enum Kind { Box, QuestionBox, Line1, Line2, Line3, Battle, EventWindow, Nation, Settings, WebPage, End } kind;
    std::string text;
    std::string title;
    Answer defaultButton = Answer::Ok;
    bool warning = false;
};

class ScriptedScreen : public Screen {
public:
    // Answers for questions, in order; when empty every question is answered OK.
    std::deque<Answer> answers;
    // What the modal battle screen does; default: the player's side takes
    // `battleTactic` (option 0..4) and the rounds are fought until the battle ends.
    std::function<void(Game&)> battle;
    int battleTactic = 0;
    // What the event window does; default: its OK, at once.
    std::function<void(Game&)> eventWindow;
    std::string savePath = "Game.dt";

    std::vector<Shown> log;

    void Message(Game& game, const std::string& text, const std::string& title) override;
    Answer Ask(Game& game, const Question& question) override;
    void Hold(Game& game, int line, double seconds) override;
    void RunBattleScreen(Game& game) override;
    void RunEventWindow(Game& game) override;
    void ShowNationScreen(Game& game, bool modal) override;
    void ShowSettings(Game& game) override;
    void OpenWebPage(Game& game, const std::string& url) override;
    void EndProgram(Game& game) override;
    std::string SaveFilePath(Game&) override { return savePath; }
    std::string autosavePath;  // empty: no autosave
    std::string AutosavePath(Game&) override { return autosavePath; }

    // Texts of the message boxes (OK-only and questions), in order.
    std::vector<std::string> Boxes() const;
    // Texts posted on a message line 1..3, in order.
    std::vector<std::string> Lines(int line) const;
    void Clear() { log.clear(); }
};

// Runs a call into the game as a window does: true when it ended the program.
bool EndsProgram(const std::function<void()>& call);

// Rnd() from a list of values in order; fails the test when it runs out.
class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(std::vector<double> values) : values_(values.begin(), values.end()) {}
    void Push(double value) { values_.push_back(value); }
    // Pushes the Rnd value that makes floor(Rnd * sides) + 1 == face.
    void PushFace(int face, int sides) { Push((face - 0.5) / sides); }
    double Next() override;
    std::size_t Left() const { return values_.size(); }
    // When set, a run-out falls back to this generator instead of failing.
    RandomSource* fallback = nullptr;

private:
    std::deque<double> values_;
};

// A new game for the player's nation ("" plays as "*") with the settings as
// they stand after the first OK of the settings screen: the middle message
// speed, every step taken by itself. Then the first spring's headline, as
// the main window opens on it.
void StartNewGame(Game& game, const std::string& player);

// A game of type G on a screen of type S with a fixed-seed generator.
template <class G, class S>
struct ScriptedGame {
    explicit ScriptedGame(std::uint64_t seed) : mersenne(seed), game(screen, mersenne) {}
    S screen;
    MersenneRandom mersenne;
    ScriptedRandom scripted;
    G game;
    // Routes Rnd() through `scripted` (failing when it runs out, unless a fallback is set).
    void UseScripted() {
        scripted.fallback = nullptr;
        game.random = &scripted;
    }
};

// The rules' game on a scripted screen after a new game with the given
// player's nation; message holds cost nothing.
struct RulesGame : ScriptedGame<Game, ScriptedScreen> {
    explicit RulesGame(const std::string& player = "イングランド王国", std::uint64_t seed = 7);
};

}  // namespace tarvex::testing
