// The settings screen: its controls and defaults, accepting, the defaults
// button, its keypad and F1 keys, and closing it by the frame.
#include "ui/settings/settings_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

#include "qt_test_support.h"
#include "rules/port/random.h"
#include "screens/settings/settings.h"
#include "ui/qt/preferences.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {
namespace {

// Typing as an input method delivers it: the whole text in one key event.
void Type(QWidget* edit, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(edit, &press);
}

// The start of a run: defaults set and the settings screen shown, nothing accepted yet.
struct SettingsGame {
    SettingsGame() : random(3), game(screen, random) {
        EnsureApplication();
        AnswerFromQueue(screen, answers, ends);
        screen.onShowSettings = [this] {
            if (!window) window = std::make_unique<SettingsWindow>(game, screen);
            window->ShowForward();
        };
        SetDefaultSettings(game);
        if (window) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(window.get(), 2000));
        }
    }

    template <class T = QWidget>
    T* Find(const char* name) {
        T* widget = window->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Click(const char* button) {
        auto* b = Find<QAbstractButton>(button);
        if (!b) return;
        // Option and check boxes take a click on their mark, not on the empty room beside the caption.
        const bool marked = qobject_cast<QRadioButton*>(b) || qobject_cast<QCheckBox*>(b);
        QTest::mouseClick(b, Qt::LeftButton, {}, marked ? QPoint(8, b->height() / 2) : b->rect().center());
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = window->focusWidget() ? window->focusWidget() : window.get();
        QTest::keyClick(target, key, modifiers);
    }
    int ChosenOption() {
        for (int i = 0; i < 4; ++i)
            if (Find<QRadioButton>(QString("SpeedChoice%1").arg(i).toUtf8().constData())->isChecked()) return i;
        return -1;
    }

    QtScreen screen;
    MersenneRandom random;
    Session game;
    std::deque<Answer> answers;
    int ends = 0;
    std::unique_ptr<SettingsWindow> window;
};

TEST(SettingsWindow, OpensWithTheDefaultsLoaded) {
    SettingsGame t;
    ASSERT_TRUE(t.window);
    EXPECT_TRUE(t.window->isVisible());
    EXPECT_EQ(t.window->windowTitle(), "設定画面");
    ExpectTidy(t.window.get());
    EXPECT_FALSE(t.game.SettingsPending);
    EXPECT_EQ(t.Find<QLineEdit>("NationNameBox")->text(), "イングランド王国");
    EXPECT_EQ(t.ChosenOption(), 2);
    EXPECT_FALSE(t.Find<QCheckBox>("EnterAdvanceCheck")->isChecked());
    EXPECT_TRUE(t.Find<QPushButton>("OkButton")->isDefault());
    ExpectTextsFit(t.window.get());
}

// The name is ready to be typed over at start; Enter, of either keyboard,
// accepts from anywhere but another button, which it presses instead.
TEST(SettingsWindow, StartsInTheNameAndEnterAccepts) {
    const std::pair<Qt::Key, Qt::KeyboardModifiers> enters[] = {{Qt::Key_Return, Qt::NoModifier},
                                                                {Qt::Key_Enter, Qt::KeypadModifier}};
    for (const auto& [key, modifiers] : enters) {
        for (const char* focus : {"NationNameBox", "SpeedChoice0", "EnterAdvanceCheck", "OkButton"}) {
            SettingsGame t;
            auto* name = t.Find<QLineEdit>("NationNameBox");
            EXPECT_TRUE(name->hasFocus());  // the chooser that holds the box has it for the box
            EXPECT_EQ(name->selectedText(), "イングランド王国");
            t.Find(focus)->setFocus();
            QSignalSpy accepted(t.window.get(), &SettingsWindow::accepted);
            t.Key(key, modifiers);
            EXPECT_EQ(accepted.count(), 1) << focus;
            EXPECT_FALSE(t.window->isVisible()) << focus;
            EXPECT_EQ(t.game.PlayerNation, "イングランド王国");
        }
        SettingsGame t;
        t.answers = {Answer::Cancel};
        t.Find("DefaultsButton")->setFocus();
        t.Key(key, modifiers);
        ASSERT_FALSE(t.screen.boxLog.empty());
        EXPECT_EQ(t.screen.boxLog.back(), "初期設定に戻します。\nよろしいですか?");
        EXPECT_TRUE(t.window->isVisible());
    }
}

TEST(SettingsWindow, AcceptTakesWhatThePlayerChoseAndClosesTheScreen) {
    struct Case {
        QString typed;
        int option;
        bool tick;
        std::string nation;
        double wait;
    };
    const Case cases[] = {
        {"フランス王国", 0, true, "フランス王国", 0.1},
        {"", 3, false, "*", 1.0},  // an empty name: nobody's nation
        {"どこか", 1, false, "どこか", 0.2},
    };
    for (const Case& c : cases) {
        SettingsGame t;
        QSignalSpy accepted(t.window.get(), &SettingsWindow::accepted);
        auto* name = t.Find<QLineEdit>("NationNameBox");
        name->selectAll();
        QTest::keyClick(name, Qt::Key_Delete);
        if (!c.typed.isEmpty()) Type(name, c.typed);
        t.Click(QString("SpeedChoice%1").arg(c.option).toUtf8().constData());
        if (c.tick) t.Click("EnterAdvanceCheck");
        EXPECT_EQ(t.game.EnterAdvance, c.tick);  // the tick counts at once, before the accept
        t.Click("OkButton");
        EXPECT_EQ(t.game.PlayerNation, c.nation);
        EXPECT_EQ(t.game.NationChoice, c.nation);
        EXPECT_DOUBLE_EQ(t.game.MessageWait, c.wait);
        EXPECT_EQ(t.game.MessageSpeed, c.option);
        EXPECT_EQ(t.game.AutoAdvance, !c.tick);
        EXPECT_EQ(t.game.EnterAdvanceSetting, c.tick ? 1 : 0);
        EXPECT_FALSE(t.window->isVisible());
        EXPECT_EQ(accepted.count(), 1);

        // While the game runs it gives its window back; opened again from the main window,
        // it shows what was accepted and takes the keys as before.
        t.window->Release();
        EXPECT_EQ(t.window->windowHandle(), nullptr);
        OpenSettingsScreen(t.game);
        t.screen.ShowSettings(t.game);
        EXPECT_TRUE(t.window->isVisible());
        EXPECT_NE(t.window->windowHandle(), nullptr);
        EXPECT_EQ(t.Find<QLineEdit>("NationNameBox")->text().toStdString(), c.nation);
        EXPECT_EQ(t.ChosenOption(), c.option);
        EXPECT_EQ(t.Find<QCheckBox>("EnterAdvanceCheck")->isChecked(), c.tick);
        t.Key(Qt::Key_2, Qt::KeypadModifier);
        EXPECT_EQ(t.ChosenOption(), 1);
    }
}

TEST(SettingsWindow, DefaultsButtonAsksAndRestoresOnlyOnOk) {
    for (Answer answer : {Answer::Ok, Answer::Cancel}) {
        SettingsGame t;
        auto* name = t.Find<QLineEdit>("NationNameBox");
        name->selectAll();
        Type(name, "ローマ");
        t.Click("SpeedChoice0");
        t.Click("EnterAdvanceCheck");
        t.answers = {answer};
        t.Click("DefaultsButton");
        ASSERT_FALSE(t.screen.boxLog.empty());
        EXPECT_EQ(t.screen.boxLog.back(), "初期設定に戻します。\nよろしいですか?");
        const bool restored = answer == Answer::Ok;
        EXPECT_EQ(name->text(), restored ? "イングランド王国" : "ローマ");
        EXPECT_EQ(t.ChosenOption(), restored ? 2 : 0);
        EXPECT_EQ(t.Find<QCheckBox>("EnterAdvanceCheck")->isChecked(), !restored);
    }
    SettingsGame t;
    t.Click("SettingsHelpButton");
    ASSERT_FALSE(t.screen.boxLog.empty());
    EXPECT_EQ(t.screen.boxLog.back(), "ボタン、チェックボックスを選ぶときテンキーでも選べます");
}

TEST(SettingsWindow, KeypadKeysChooseWhereverTheFocusIsAndAreNotTyped) {
    SettingsGame t;
    auto* name = t.Find<QLineEdit>("NationNameBox");
    name->setFocus();
    name->setCursorPosition(name->text().length());
    const std::pair<Qt::Key, int> options[] = {{Qt::Key_1, 0}, {Qt::Key_4, 3}, {Qt::Key_2, 1}, {Qt::Key_3, 2}};
    for (auto [key, option] : options) {
        t.Key(key, Qt::KeypadModifier);
        EXPECT_EQ(t.ChosenOption(), option);
    }
    t.Key(Qt::Key_5, Qt::KeypadModifier);
    EXPECT_TRUE(t.Find<QCheckBox>("EnterAdvanceCheck")->isChecked());
    EXPECT_TRUE(t.game.EnterAdvance);
    t.Key(Qt::Key_5, Qt::KeypadModifier);
    EXPECT_FALSE(t.Find<QCheckBox>("EnterAdvanceCheck")->isChecked());
    EXPECT_FALSE(t.game.EnterAdvance);
    EXPECT_EQ(name->text(), "イングランド王国");  // not one digit typed into the name

    // Keypad 6 takes the focus to the name with all of it chosen, so typing replaces it.
    t.Find("OkButton")->setFocus();
    t.Key(Qt::Key_6, Qt::KeypadModifier);
    EXPECT_TRUE(name->hasFocus());  // the chooser that holds the box has it for the box
    EXPECT_EQ(name->selectedText(), name->text());
    EXPECT_EQ(name->text(), "イングランド王国");
    // The main keyboard's digits are ordinary typing.
    t.Key(Qt::Key_1);
    EXPECT_EQ(name->text(), "1");
    EXPECT_EQ(t.ChosenOption(), 2);
}

TEST(SettingsWindow, F1OffersToQuitAndEndsOnlyWhenThePlayerSaysSo) {
    SettingsGame t;
    t.answers = {Answer::Cancel, Answer::Cancel};
    t.Key(Qt::Key_F1);
    ASSERT_EQ(t.screen.boxLog.size(), 2u);
    EXPECT_EQ(t.screen.boxLog[0], "セーブして終了しますか?");
    EXPECT_EQ(t.screen.boxLog[1], "終了します。よろしいですか?");
    EXPECT_EQ(t.ends, 0);
    t.answers = {Answer::Cancel, Answer::Ok};
    t.Key(Qt::Key_F1);
    EXPECT_EQ(t.ends, 1);
}

TEST(SettingsWindow, ClosingTheFrameEndsTheProgramOnlyBeforeTheFirstAccept) {
    {
        SettingsGame t;
        t.window->close();
        EXPECT_EQ(t.ends, 1);
        EXPECT_TRUE(t.game.Ended);
    }
    SettingsGame t;
    t.Click("OkButton");
    OpenSettingsScreen(t.game);
    t.screen.ShowSettings(t.game);
    t.Click("EnterAdvanceCheck");
    t.window->close();
    EXPECT_EQ(t.ends, 0);
    EXPECT_FALSE(t.game.Ended);
    EXPECT_FALSE(t.window->isVisible());
    EXPECT_TRUE(t.game.EnterAdvance);  // the tick took effect without an accept
    EXPECT_EQ(t.game.EnterAdvanceSetting, 0);
}

TEST(SettingsWindow, NameIsChosenWholeWhenItTakesTheFocus) {
    SettingsGame t;
    auto* name = t.Find<QLineEdit>("NationNameBox");
    t.Find("OkButton")->setFocus();
    QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(4, name->height() / 2));
    QTest::qWait(0);
    QApplication::processEvents();
    EXPECT_EQ(name->selectedText(), "イングランド王国");
    Type(name, "ローマ");
    EXPECT_EQ(t.game.shown.settings.nationName, "ローマ");
}

// A name of no nation is asked about, by Return, the keypad's Enter and the
// button alike; the box stays until answered; a part of one nation's name offers it.
TEST(SettingsWindow, AnUnknownNameIsAskedOnEveryKeyAndAPartOfANameOffersTheNation) {
    struct Case {
        const char* typed;
        std::function<void(SettingsGame&)> press;
        const char* asked;
        const char* answer;  // the button the player presses
        const char* accepted;
    };
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers m) {
        return [k, m](SettingsGame& t) { QTest::keyClick(t.Find("NationNameBox"), k, m); };
    };
    const Case cases[] = {
        {"France", key(Qt::Key_Return, Qt::NoModifier), "「France」という国はありません。", "Cancel", nullptr},
        {"France", key(Qt::Key_Enter, Qt::KeypadModifier), "「France」という国はありません。", "Cancel", nullptr},
        {"France", [](SettingsGame& t) { t.Click("OkButton"); }, "「France」という国はありません。", "Ok", "France"},
        {"フランス", key(Qt::Key_Return, Qt::NoModifier), "「フランス」はフランス王国のことですか?", "Choice0",
         "フランス王国"},
        {"フランス", key(Qt::Key_Enter, Qt::KeypadModifier), "「フランス」はフランス王国のことですか?", "Choice2",
         nullptr},
        {"フランス", [](SettingsGame& t) { t.Click("OkButton"); }, "「フランス」はフランス王国のことですか?", "Choice1",
         "フランス"},
    };
    for (const Case& c : cases) {
        SettingsGame t;
        t.screen.autoAnswer = nullptr;  // the real box, waiting for the player
        auto* name = t.Find<QLineEdit>("NationNameBox");
        name->setFocus();
        name->selectAll();
        Type(name, c.typed);
        QString shown;
        bool stillOpen = false;
        QTimer::singleShot(0, [&] {
            QTest::qWait(50);
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            // The key that asked, held a moment too long, repeats into the box: it answers nothing.
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(box->focusWidget() ? box->focusWidget() : box, &repeat);
            QTest::qWait(100);
            stillOpen = box->isVisible();
            shown = box->text();
            const QString pressed = c.answer;
            QAbstractButton* button = pressed == "Ok"       ? box->button(QMessageBox::Ok)
                                      : pressed == "Cancel" ? box->button(QMessageBox::Cancel)
                                                            : box->findChild<QAbstractButton*>(pressed);
            if (button) button->click();
        });
        c.press(t);
        EXPECT_TRUE(stillOpen) << c.typed << " " << c.answer;
        EXPECT_TRUE(shown.startsWith(c.asked)) << shown.toStdString();
        EXPECT_EQ(t.window->isVisible(), c.accepted == nullptr) << c.typed << " " << c.answer;
        if (c.accepted) {
            EXPECT_EQ(t.game.PlayerNation, c.accepted);
        }
    }
}

// After a crash the autosave is newer than the last orderly end: the settings screen
// offers to go on from it, and one click starts the game with it; after an orderly
// end it is not offered.
TEST(SettingsWindow, AnAutosaveNewerThanTheLastOrderlyEndIsOfferedToGoOn) {
    EnsureApplication();
    ForgetPreferences();
    QTemporaryDir dir;
    const QString autosave = dir.filePath("Autosave.dt");
    EXPECT_FALSE(AutosaveOutlivedTheLastEnd(autosave));  // none kept
    QFile file(autosave);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.flush();
    EXPECT_TRUE(AutosaveOutlivedTheLastEnd(autosave));  // no orderly end yet
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-60), QFileDevice::FileModificationTime));
    NoteOrderlyEnd();
    EXPECT_FALSE(AutosaveOutlivedTheLastEnd(autosave));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(60), QFileDevice::FileModificationTime));
    EXPECT_TRUE(AutosaveOutlivedTheLastEnd(autosave));
    file.close();

    SettingsGame t;  // keeps no autosave: nothing to offer
    EXPECT_FALSE(t.Find("ResumeButton")->isVisible());
    ForgetPreferences();
}

// "コンピュータの強さ" beside the speed: a fresh profile offers the standard level;
// the level a game was started with is offered again in the next run.
TEST(SettingsWindow, TheStrengthOfTheLastGameIsOfferedAgainAndAFreshProfileOffersTheStandard) {
    EnsureApplication();
    ForgetPreferences();
    {
        SettingsGame t;
        EXPECT_TRUE(t.Find<QRadioButton>("StrengthChoice1")->isChecked());
        ExpectTextsFit(t.window.get());
        t.Click("StrengthChoice3");
        t.Key(Qt::Key_8, Qt::KeypadModifier);
        EXPECT_EQ(RememberedStrength(), kStandardStrength);  // nothing kept before a game starts
        t.Click("OkButton");
        EXPECT_EQ(t.game.StrengthChoice, 2);
    }
    SettingsGame next;
    EXPECT_TRUE(next.Find<QRadioButton>("StrengthChoice2")->isChecked());
    EXPECT_EQ(next.game.StrengthChoice, 2);
    ForgetPreferences();
}

}  // namespace
}  // namespace tarvex::ui
