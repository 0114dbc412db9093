// Leaving the game: the offer to save, the last question, and what ends the program.
#include "screens/main/quit.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "screens/session/keycodes.h"
#include "screens/settings/settings.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

namespace fs = std::filesystem;
using testing::Shown;
using testing::TestGame;

// What the player met, one entry a box: "?" questions with their default button
// and title, "!" boxes with their title, "END" the program's end.
std::vector<std::string> Met(const testing::ScriptedScreen& screen) {
    std::vector<std::string> out;
    for (const auto& s : screen.log) {
        if (s.kind == Shown::QuestionBox)
            out.push_back(std::string("?") + (s.defaultButton == Answer::Ok ? "ok " : "cancel ") + s.text + " @" +
                          s.title);
        else if (s.kind == Shown::Box)
            out.push_back("! " + s.text + " @" + s.title);
        else if (s.kind == Shown::End)
            out.push_back("END");
    }
    return out;
}

TEST(Quit, AsksToSaveThenToEndWithTheRightDefaults) {
    const std::string askSaveOk = "?ok セーブして終了しますか? @Tarvex";
    const std::string askSaveCancel = "?cancel セーブして終了しますか? @Tarvex";
    const std::string askQuit = "?ok 終了します。よろしいですか? @Tarvex";
    const std::string tooLate = "! セーブはターンのはじめしかできません @";
    const std::string saved = "! セーブしました @";
    const auto ok = Answer::Ok, cancel = Answer::Cancel;
    struct Case {
        bool turnStart;
        std::deque<Answer> answers;
        std::vector<std::string> met;
        bool written;
    };
    const std::vector<Case> cases = {
        {false, {ok}, {askSaveCancel, tooLate}, false},
        {false, {cancel, ok}, {askSaveCancel, askQuit, "END"}, false},
        {false, {cancel, cancel}, {askSaveCancel, askQuit}, false},
        {true, {ok, ok}, {askSaveOk, saved, askQuit, "END"}, true},
        {true, {ok, cancel}, {askSaveOk, saved, askQuit}, true},
        {true, {cancel, ok}, {askSaveOk, askQuit, "END"}, false},
    };
    const fs::path dir = fs::temp_directory_path() / ("tarvex-quit-" + std::to_string(::getpid()));
    for (const auto& k : cases) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        TestGame t;
        t.screen.savePath = (dir / "Game.dt").string();
        t.game.TurnStart = k.turnStart;
        t.screen.answers = k.answers;
        const bool ended = k.met.back() == "END";
        EXPECT_EQ(testing::EndsProgram([&] { ConfirmQuit(t.game); }), ended);
        EXPECT_EQ(t.game.Ended, ended);
        EXPECT_EQ(Met(t.screen), k.met);
        EXPECT_EQ(fs::exists(t.screen.savePath), k.written);
    }
    fs::remove_all(dir);

    // A save that fails keeps the program running, without the last question.
    TestGame t;
    t.screen.savePath = (dir / "missing" / "Game.dt").string();
    t.screen.answers = {ok};
    EXPECT_FALSE(testing::EndsProgram([&] { ConfirmQuit(t.game); }));
    EXPECT_FALSE(t.game.Ended);
    ASSERT_EQ(t.screen.Boxes().size(), 2u);
    EXPECT_EQ(t.screen.Boxes()[1].rfind("セーブできませんでした: ", 0), 0u) << t.screen.Boxes()[1];
}

TEST(Quit, EveryWayOutRunsTheSameConfirmation) {
    const std::vector<std::string> asked{"セーブして終了しますか?", "終了します。よろしいですか?"};
    TestGame menu;  // Cancel at the last question keeps the game going
    menu.screen.answers = {Answer::Cancel, Answer::Cancel};
    EXPECT_FALSE(testing::EndsProgram([&] { QuitFromMenu(menu.game); }));
    EXPECT_EQ(menu.screen.Boxes(), asked);
    menu.screen.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_TRUE(testing::EndsProgram([&] { QuitFromMenu(menu.game); }));
    EXPECT_TRUE(menu.game.Ended);

    TestGame settings;  // F1 on the settings screen
    settings.screen.answers = {Answer::Cancel, Answer::Cancel};
    PressSettingsKey(settings.game, kKeyF1);
    EXPECT_EQ(settings.screen.Boxes(), asked);
}

}  // namespace
}  // namespace tarvex
