// A screen for tests: records every box and posting in order and answers
// questions from a script; a scripted random source for fixed draws.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "rules/port/random.h"
#include "rules/port/screen.h"
#include "screens/session/session.h"

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
    // What the modal battle screen does; default: the player picks `battleTactic`
    // (option 0..4) and presses OK until the battle ends.
    std::function<void(Session&)> battle;
    int battleTactic = 0;
    // What the event window does; default: presses OK.
    std::function<void(Session&)> eventWindow;
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

// A game on a scripted screen with a fixed-seed generator, after a new game
// with the given player's nation; message holds cost nothing.
struct TestGame {
    explicit TestGame(const std::string& player = "イングランド王国", std::uint64_t seed = 7);
    ScriptedScreen screen;
    MersenneRandom mersenne;
    ScriptedRandom scripted;
    Session game;
    // Routes Rnd() through `scripted` (falling back to the seeded generator when it runs out).
    void UseScripted();
};

}  // namespace tarvex::testing
