// Nobody at the keys: a box that only informs does not stop a game that plays
// itself, and a save that waits for another program says so and can be given up.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "main_game.h"
#include "rules/save/files.h"
#include "rules/save/savefile.h"
#include "rules/world/newgame.h"

namespace tarvex::ui {
namespace {

TEST(Unattended, ABoxThatOnlyInformsClosesItselfInAGameThatPlaysItselfAQuestionWaits) {
    MainGame t("");
    t.Trigger("AutoPlayEntry");
    t.window->Run([](Session& g) { g.MessageWait = 0.1; });
    // Shown for real, with nobody to press OK.
    t.screen.autoAnswer = nullptr;
    QElapsedTimer clock;
    clock.start();
    t.screen.Message(t.game, "「啓蒙主義」が広まりました。", "");
    EXPECT_LT(clock.elapsed(), 5000);
    // A question is the player's to answer: still open long after a box would have gone.
    // (The game may meanwhile play on and show boxes of its own.)
    QTimer::singleShot(2500, Qt::PreciseTimer, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (box && box->isVisible() && box->text() == "続けますか" && box->button(QMessageBox::Cancel))
                box->button(QMessageBox::Cancel)->click();
        }
    });
    clock.restart();
    EXPECT_EQ(t.screen.Ask(t.game, Question{"続けますか", "", Answer::Ok, false}), Answer::Cancel);
    // Well past the second a box that only informs would have stayed.
    EXPECT_GE(clock.elapsed(), 2000);
}

// Another program holds the save: the game says it waits, the window's events run
// meanwhile, and the player may give up; or it saves once the other is done.
TEST(Unattended, ASaveWaitingForAnotherProgramSaysSoAndCanBeGivenUp) {
    EnsureApplication();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const Answer answer : {Answer::Cancel, Answer::Ok}) {
        QtScreen screen;
        screen.programDir = folder.path();
        screen.autoAnswer = [answer](const Question&) { return answer; };
        MersenneRandom random(1);
        Game game(screen, random);
        NewGame(game);
        game.TurnStart = true;
        auto other = std::make_unique<SaveLock>();
        ASSERT_FALSE(other->Take(screen.SaveFilePath(game)).has_value());
        // The other program is done in a moment: only a window that answers lets it say so.
        QTimer::singleShot(600, [&other] { other.reset(); });
        EXPECT_EQ(SaveGame(game), answer == Answer::Ok);
        ASSERT_GE(screen.boxLog.size(), 2u);
        EXPECT_EQ(screen.boxLog[0], "ほかのプログラムがこのセーブを使っています。終わるのを待っています…");
        EXPECT_EQ(
            screen.boxLog.back().rfind(answer == Answer::Ok ? "セーブしました"
                                                            : "セーブできませんでした: ほかのプログラムが使い終わる"
                                                              "のを待たずにやめました",
                                       0),
            0u)
            << screen.boxLog.back();
        QTest::qWait(700);
    }
}

}  // namespace
}  // namespace tarvex::ui
