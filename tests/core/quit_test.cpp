// Leaving the game: the offer to save, the last question, and what ends the program.
#include "turn/quit.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "save/savefile.h"
#include "state/newgame.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

namespace fs = std::filesystem;
using testing::Shown;
using testing::TestGame;

constexpr const char* kSaveAndQuit = "セーブして終了しますか?";
constexpr const char* kQuit = "終了します。よろしいですか?";

struct Step {
    Shown::Kind kind;
    std::string text;
    std::string title;
    Answer defaultButton;
};

std::vector<Step> StepsOf(const testing::ScriptedScreen& screen) {
    std::vector<Step> out;
    for (const auto& s : screen.log) out.push_back({s.kind, s.text, s.title, s.defaultButton});
    return out;
}

bool operator==(const Step& a, const Step& b) {
    return a.kind == b.kind && a.text == b.text && a.title == b.title &&
           (a.kind != Shown::QuestionBox || a.defaultButton == b.defaultButton);
}

std::ostream& operator<<(std::ostream& out, const Step& s) {
    return out << "{" << s.kind << ", " << s.text << ", '" << s.title << "', "
               << (s.defaultButton == Answer::Ok ? "Ok" : "Cancel") << "}";
}

class SaveSlot {
public:
    SaveSlot() {
        dir_ = fs::temp_directory_path() / ("tarvex-quit-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    ~SaveSlot() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    std::string Path() const { return (dir_ / "Game.dt").string(); }

private:
    fs::path dir_;
};

TEST(Quit, AsksToSaveThenToEndWithTheRightDefaults) {
    const Step askSaveOk{Shown::QuestionBox, kSaveAndQuit, "Tarvex", Answer::Ok};
    const Step askSaveCancel{Shown::QuestionBox, kSaveAndQuit, "Tarvex", Answer::Cancel};
    const Step askQuit{Shown::QuestionBox, kQuit, "Tarvex", Answer::Ok};
    const Step tooLate{Shown::Box, "セーブはターンのはじめしかできません", "", Answer::Ok};
    const Step saved{Shown::Box, "セーブしました", "", Answer::Ok};
    const Step end{Shown::End, "", "", Answer::Ok};
    struct Case {
        const char* what;
        bool turnStart;
        std::vector<Answer> answers;
        std::vector<Step> seen;
        bool ended;
        bool fileWritten;
    };
    const std::vector<Case> cases = {
        {"mid-turn, wants to save: refused, game goes on", false, {Answer::Ok}, {askSaveCancel, tooLate}, false, false},
        {"mid-turn, quits without saving",
         false,
         {Answer::Cancel, Answer::Ok},
         {askSaveCancel, askQuit, end},
         true,
         false},
        {"mid-turn, changes its mind", false, {Answer::Cancel, Answer::Cancel}, {askSaveCancel, askQuit}, false, false},
        {"turn start, saves and quits", true, {Answer::Ok, Answer::Ok}, {askSaveOk, saved, askQuit, end}, true, true},
        {"turn start, saves and stays", true, {Answer::Ok, Answer::Cancel}, {askSaveOk, saved, askQuit}, false, true},
        {"turn start, quits without saving",
         true,
         {Answer::Cancel, Answer::Ok},
         {askSaveOk, askQuit, end},
         true,
         false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        SaveSlot slot;
        TestGame t;
        t.screen.savePath = slot.Path();
        t.game.TurnStart = k.turnStart;
        t.screen.answers.assign(k.answers.begin(), k.answers.end());

        const bool ended = ConfirmQuit(t.game);
        EXPECT_EQ(ended, k.ended);
        EXPECT_EQ(t.game.Ended, k.ended);
        EXPECT_EQ(StepsOf(t.screen), k.seen);
        EXPECT_EQ(fs::exists(slot.Path()), k.fileWritten);
        EXPECT_TRUE(t.screen.answers.empty());
    }
}

TEST(Quit, FailedSaveKeepsTheProgramRunningWithoutTheLastQuestion) {
    SaveSlot slot;
    TestGame t;
    t.screen.savePath = slot.Path() + ".missing/Game.dt";
    t.screen.answers = {Answer::Ok};
    EXPECT_FALSE(ConfirmQuit(t.game));
    EXPECT_FALSE(t.game.Ended);
    const auto boxes = t.screen.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], kSaveAndQuit);
    EXPECT_EQ(boxes[1].rfind("セーブできませんでした: ", 0), 0u) << boxes[1];
}

TEST(Quit, EveryWayOutRunsTheSameConfirmation) {
    // The frame's close box: a close cancelled at the last question keeps the window.
    {
        TestGame t;
        t.screen.answers = {Answer::Cancel, Answer::Cancel};
        EXPECT_FALSE(Form1_QueryUnload(t.game));
        EXPECT_FALSE(t.game.Ended);
        EXPECT_EQ(t.screen.Boxes(), (std::vector<std::string>{kSaveAndQuit, kQuit}));
    }
    {
        TestGame t;
        t.screen.answers = {Answer::Cancel, Answer::Ok};
        EXPECT_TRUE(Form1_QueryUnload(t.game));
        EXPECT_TRUE(t.game.Ended);
    }
    // The program closing its own windows as it ends is not asked again.
    {
        TestGame t;
        t.game.Ended = true;
        EXPECT_TRUE(Form1_QueryUnload(t.game));
        EXPECT_TRUE(t.screen.log.empty());
    }
    // The menu entry and the settings screen's F1.
    {
        TestGame t;
        t.game.TurnStart = false;
        t.screen.answers = {Answer::Cancel, Answer::Ok};
        Form1_mnuEnd_Click(t.game);
        EXPECT_TRUE(t.game.Ended);
    }
    {
        TestGame t;
        t.game.TurnStart = false;
        t.screen.answers = {Answer::Cancel, Answer::Cancel};
        SetGame_Form_KeyDown(t.game, kKeyF1);
        EXPECT_EQ(t.screen.Boxes(), (std::vector<std::string>{kSaveAndQuit, kQuit}));
        EXPECT_FALSE(t.game.Ended);
    }
}

}  // namespace
}  // namespace tarvex
