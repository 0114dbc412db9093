// The battle screen, the event window and the nation information screen:
// what they show, which keys and buttons they take, and when they close.
#include "ui/qt/dialogs.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "qt_test_support.h"
#include "rules/combat/battle.h"
#include "rules/combat/tables.h"
#include "rules/events/seasonal.h"
#include "rules/port/random.h"
#include "rules/world/scenario.h"
#include "screens/main/main_window.h"
#include "screens/nation/nation_list.h"
#include "screens/settings/settings.h"
#include "support/scripted_screen.h"
#include "ui/battle/battle_window.h"
#include "ui/events/event_window.h"
#include "ui/main/main_window.h"
#include "ui/nation/nation_window.h"
#include "ui/qt/application.h"
#include "ui/qt/common.h"
#include "ui/qt/preferences.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {
namespace {

// A new game on the Qt screen: boxes are answered without a person and holds cost nothing.
struct QtGame {
    QtGame() : random(7), game(screen, random) {
        EnsureApplication();
        screen.autoAnswer = [this](const Question&) { return answer; };
        screen.holdWait = [](double) {};
        screen.onEnd = [this] { ++ends; };
        SetDefaultSettings(game);
        OpenSettingsScreen(game);
        TypeNationName(game, "イングランド王国");
        AcceptSettings(game);
        StartGame(game);
        screen.boxLog.clear();
    }

    // A neighbouring pair: `from` owned by `owner`, `to` by someone else.
    std::pair<int, int> Frontier(const std::string& owner) const {
        for (int from = 1; from <= kCityCount; ++from) {
            if (game.Cities[from].Owner != owner) continue;
            for (int to = 1; to <= kCityCount; ++to)
                if (IsNeighbour(from, to) && game.Cities[to].Owner != owner) return {from, to};
        }
        return {0, 0};
    }

    // A battle on the frontier set up as the attack order (the player attacks)
    // or the computer's turn (the player defends) sets it up.
    void SetUpBattle(bool playerAttacks, int troops = 20) {
        auto [mine, theirs] = Frontier(game.PlayerNation);
        const int from = playerAttacks ? mine : theirs, to = playerAttacks ? theirs : mine;
        game.Cities[from].Troops = std::max(game.Cities[from].Troops, troops) - troops;
        game.Cities[to].Troops = std::max(game.Cities[to].Troops, 1);
        game.Battle = {.AttackCity = from,
                       .DefendCity = to,
                       .AttackTroops = troops,
                       .AttackTroopsAtStart = troops,
                       .DefendTroopsAtStart = game.Cities[to].Troops};
        if (playerAttacks)
            game.Battle.DefendTactic = ChooseTactic(game, to, from);
        else
            game.Battle.AttackTactic = ChooseTactic(game, from, to);
    }

    // Leaves a window without finishing it: every window closes when the program's end begins.
    void Leave() {
        game.Ended = true;
        screen.Out().Begin();
    }

    QtScreen screen;
    MersenneRandom random;
    Session game;
    Answer answer = Answer::Ok;
    int ends = 0;
};

// Runs `steps` inside the next modal window's own event loop, while `open`
// waits in it. Should a window outlive its steps, the game is ended so that
// it closes and the test fails instead of hanging.
template <class Window>
void WithModal(QtGame& t, const std::function<void()>& open, const std::function<void(Window*)>& steps) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        ran = true;
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (!window) {
            ADD_FAILURE() << "no modal window of the expected kind";
        } else {
            steps(window);
        }
        if (QApplication::activeModalWidget() == window && window && window->isVisible()) {
            ADD_FAILURE() << "the window stayed open";
            t.Leave();
        }
    });
    open();
    EXPECT_TRUE(ran);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

QString Text(QWidget* window, const char* name) {
    auto* label = window->findChild<QLabel*>(name);
    return label ? label->text() : QString("<no %1>").arg(name);
}

QPushButton* Button(QWidget* window, const QString& name) { return window->findChild<QPushButton*>(name); }

int EnabledTacticButtons(QWidget* window) {
    int enabled = 0;
    for (int i = 0; i < 5; ++i) enabled += Button(window, QString("TacticButton%1").arg(i))->isEnabled();
    return enabled;
}

QAction* Menu(QWidget* window, const char* name) { return window->findChild<QAction*>(name); }

void RunBattle(QtGame& t, const std::function<void(BattleWindow*)>& steps) {
    WithModal<BattleWindow>(
        t, [&] { RunBattleWindow(t.game, t.screen, nullptr); }, steps);
}

// ---- The battle screen ---------------------------------------------------------

TEST(BattleWindow, ShowsTheTableBothSidesAndMoraleBarsBeforeTheChoice) {
    QtGame t;
    t.SetUpBattle(true);
    t.game.Cities[t.game.Battle.AttackCity].Civility = 400;  // morale 250: more than the bar can show
    t.game.Cities[t.game.Battle.DefendCity].Civility = 0;    // morale 50: half the bar
    const City attacker = t.game.Cities[t.game.Battle.AttackCity];
    const City defender = t.game.Cities[t.game.Battle.DefendCity];
    RunBattle(t, [&](BattleWindow* w) {
        EXPECT_EQ(w->windowTitle(), "戦闘画面");
        ExpectTidy(w);
        // Every cell of the tactic table, own tactic by row, power to cost by column.
        for (int row = 1; row <= 5; ++row)
            for (int index = 0; index <= 6; ++index)
                EXPECT_EQ(Text(w, qPrintable(QString("TacticCell%1_%2").arg(row).arg(index))),
                          QString::number(TacticTable[index][row]))
                    << row << "," << index;
        EXPECT_EQ(EnabledTacticButtons(w), 5);
        EXPECT_FALSE(Button(w, "FightButton")->isEnabled());
        EXPECT_EQ(Text(w, "AttackerValue0"), "0");
        EXPECT_EQ(Text(w, "DefenderValue0"), "0");
        EXPECT_EQ(Text(w, "AttackerValue2"), "20");
        EXPECT_EQ(Text(w, "AttackerValue3").toStdString(), attacker.Owner);
        EXPECT_EQ(Text(w, "AttackerValue4").toStdString(), attacker.Name);
        EXPECT_EQ(Text(w, "DefenderValue2"), QString::number(defender.Troops));
        EXPECT_EQ(Text(w, "DefenderValue3").toStdString(), defender.Owner);
        EXPECT_EQ(Text(w, "DefenderValue4").toStdString(), defender.Name);
        EXPECT_EQ(w->findChild<QWidget*>("AttackerMoraleBar")->width(),
                  w->findChild<QWidget*>("AttackerMoraleBox")->width());
        EXPECT_NEAR(w->findChild<QWidget*>("DefenderMoraleBar")->width(),
                    w->findChild<QWidget*>("DefenderMoraleBox")->width() / 2, 1);
        t.Leave();
    });
}

TEST(BattleWindow, KeypadDigitsChooseOnceEnterFightsAndEveryOtherKeyIsAnError) {
    QtGame t;
    t.SetUpBattle(true);
    RunBattle(t, [&](BattleWindow* w) {
        // The digits of the main keyboard are not the tactic keys.
        QTest::keyClick(w, Qt::Key_3);
        QTest::keyClick(Button(w, "TacticButton0"), Qt::Key_A);
        QTest::keyClick(w, Qt::Key_Return);
        EXPECT_EQ(t.screen.boxLog, (std::vector<std::string>{"エラー", "エラー", "エラー"}));
        EXPECT_EQ(EnabledTacticButtons(w), 5);
        EXPECT_EQ(Text(w, "AttackerValue0"), "0");

        // Keypad 3 is 包囲, whichever control has the focus.
        t.screen.boxLog.clear();
        QTest::keyClick(Button(w, "TacticButton0"), Qt::Key_3, Qt::KeypadModifier);
        EXPECT_TRUE(t.screen.boxLog.empty());
        EXPECT_EQ(t.game.Battle.AttackTactic, kSiege);
        EXPECT_EQ(EnabledTacticButtons(w), 0);
        EXPECT_TRUE(Button(w, "FightButton")->isEnabled());
        EXPECT_EQ(Text(w, "AttackerValue0"), "包囲");
        EXPECT_EQ(Text(w, "DefenderValue0").toStdString(), TacticName(t.game.Battle.DefendTactic));

        // Once chosen, the keypad changes nothing; a modifier alone says nothing.
        QTest::keyClick(w, Qt::Key_1, Qt::KeypadModifier);
        QTest::keyClick(w, Qt::Key_Shift);
        EXPECT_EQ(t.game.Battle.AttackTactic, kSiege);
        EXPECT_TRUE(t.screen.boxLog.empty());

        // Enter, on the main keyboard or the keypad, now fights a round as OK does.
        QTest::keyClick(w, Qt::Key_Return);
        EXPECT_EQ(t.game.Battle.BattleRound, 2);
        QTest::keyClick(w, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_TRUE(t.game.Battle.BattleRound == 3 || t.game.Battle.BattleOver);
        EXPECT_EQ(std::count(t.screen.boxLog.begin(), t.screen.boxLog.end(), "エラー"), 0);
        if (w->isVisible()) t.Leave();
    });
}

TEST(BattleWindow, CloseBoxAndEscapeAreRefusedAndTheLastRoundClosesTheWindow) {
    QtGame t;
    t.SetUpBattle(true);
    RunBattle(t, [&](BattleWindow* w) {
        EXPECT_FALSE(w->close());
        w->reject();
        EXPECT_TRUE(w->isVisible());
        QTest::mouseClick(Button(w, "TacticButton0"), Qt::LeftButton);
        EXPECT_EQ(Text(w, "AttackerValue0"), "通常");
        EXPECT_FALSE(w->close());
        EXPECT_TRUE(w->isVisible());

        // One round per OK until the result box; then the screen goes by itself.
        QPushButton* ok = Button(w, "FightButton");
        for (int round = 0; round < 8 && w->isVisible(); ++round) QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_FALSE(w->isVisible());
    });
    EXPECT_TRUE(t.game.Battle.BattleOver);
    EXPECT_FALSE(t.game.Ended);
    ASSERT_FALSE(t.screen.boxLog.empty());
    const std::string result = t.screen.boxLog.back();
    const std::string name = t.game.Cities[t.game.Battle.AttackCity].Name;
    EXPECT_TRUE(result == name + "の勝ちです" || result == name + "の負けです") << result;
}

TEST(BattleWindow, DefenderCannotChooseWhatTheCityCannotPay) {
    struct Case {
        int gold, food, option;
        const char* box;  // nullptr: accepted
    };
    // 100 troops: 通常 costs 30, 突撃 and 射撃 70, 包囲 50, 防御 nothing.
    const Case cases[] = {
        {60, 999, 1, "金が足りません"}, {60, 40, 2, "米がたりません"}, {30, 30, 0, nullptr}, {0, 0, 4, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "gold " << c.gold << " food " << c.food << " option " << c.option);
        QtGame t;
        t.SetUpBattle(false);
        City& mine = t.game.Cities[t.game.Battle.DefendCity];
        mine.Troops = 100;
        t.game.Battle.DefendTroopsAtStart = 100;
        mine.Gold = c.gold;
        mine.Food = c.food;
        RunBattle(t, [&](BattleWindow* w) {
            t.screen.boxLog.clear();
            QTest::mouseClick(Button(w, QString("TacticButton%1").arg(c.option)), Qt::LeftButton);
            if (c.box) {
                EXPECT_EQ(t.screen.boxLog, std::vector<std::string>{c.box});
                EXPECT_EQ(EnabledTacticButtons(w), 5);
                EXPECT_FALSE(Button(w, "FightButton")->isEnabled());
                EXPECT_EQ(Text(w, "DefenderValue0"), "0");
            } else {
                EXPECT_TRUE(t.screen.boxLog.empty());
                EXPECT_EQ(EnabledTacticButtons(w), 0);
                EXPECT_TRUE(Button(w, "FightButton")->isEnabled());
                EXPECT_EQ(Text(w, "DefenderValue0").toStdString(), TacticName(c.option + 1));
            }
            t.Leave();
        });
    }
}

TEST(BattleWindow, EmergencyQuitAsksFirstAndEndsTheGameOnOk) {
    QtGame t;
    t.SetUpBattle(true);
    RunBattle(t, [&](BattleWindow* w) {
        t.answer = Answer::Cancel;
        Menu(w, "QuitEntry")->trigger();
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(t.ends, 0);
        t.answer = Answer::Ok;
        Menu(w, "QuitEntry")->trigger();
        EXPECT_FALSE(w->isVisible());
    });
    EXPECT_TRUE(t.game.Ended);
    EXPECT_EQ(t.ends, 1);
    ASSERT_GE(t.screen.boxLog.size(), 2u);
    EXPECT_EQ(t.screen.boxLog[0], "ゲーム全体を強制終了します。セーブはされません");
}

// ---- The way out -----------------------------------------------------------------

// The program's end taken inside a modal window's loop, as the player takes it,
// in the program's own main loop: the window closes, the game's call that opened
// it goes no further, the main loop returns, and the steps on the way out run
// after it: the main window's place and the orderly end are kept.
TEST(WayOut, TheEndUnwindsFromTheBattleScreenOutOfTheMainLoop) {
    ForgetPreferences();
    QtGame t;
    MainWindow window(t.game, t.screen);
    window.show();
    t.SetUpBattle(true);
    bool unwound = false, afterBattle = false, actReturned = false, stepAfterAct = false;
    t.screen.Out().AddStep([&] { stepAfterAct = actReturned; });
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            auto* battle = qobject_cast<BattleWindow*>(QApplication::activeModalWidget());
            ASSERT_NE(battle, nullptr);
            Menu(battle, "QuitEntry")->trigger();
        });
        t.screen.Act(&window, t.game, [&] {
            try {
                t.screen.RunBattleScreen(t.game);
                afterBattle = true;
            } catch (const ProgramEnded&) {
                unwound = true;
                throw;
            }
        });
        actReturned = true;
    });
    // Should the end not stop the loop, the test fails instead of hanging.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(20000);
    EXPECT_EQ(RunMainLoop(t.screen), 0);
    EXPECT_TRUE(unwound);
    EXPECT_FALSE(afterBattle);
    EXPECT_TRUE(stepAfterAct);
    EXPECT_EQ(t.ends, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(SavedWindowGeometry().isEmpty());
    EXPECT_TRUE(LastOrderlyEnd().isValid());
    // Nothing of the game runs after the end: a later call does nothing.
    bool ran = false;
    t.screen.Act(&window, t.game, [&] { ran = true; });
    EXPECT_FALSE(ran);
}

// ---- The nation information screen ------------------------------------------------

NationWindow* OpenNationWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<NationWindow*>(widget); window && window->isVisible()) return window;
    return nullptr;
}

void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

TEST(NationWindow, ListsHeaderAndEveryNationWithColumnsLinedUp) {
    QtGame t;
    t.game.Nations[11].Wins = 1234;  // a record wider than three digits still fits
    NationWindow window(t.game, t.screen);
    window.show();
    EXPECT_EQ(window.windowTitle(), "国家情報");
    ExpectTidy(&window);
    auto* header = window.findChild<QListWidget*>("NationListHeader");
    auto* list = window.findChild<QListWidget*>("NationList");
    ASSERT_EQ(header->count(), 1);
    EXPECT_EQ(header->item(0)->text().toStdString(), NationHeaderLine());
    ASSERT_EQ(list->count(), kNationCount);
    const std::vector<std::string> lines = NationLines(t.game);
    for (int n = 0; n < kNationCount; ++n) EXPECT_EQ(list->item(n)->text().toStdString(), lines[n]);

    // With the screen's tab stops every nation's policy starts where the
    // header's "政治" does (the fixed-width font lines up the rest).
    const QFont font = list->font();
    auto width = [&](const QString& text) {
        return QFontMetrics(font).size(Qt::TextSingleLine | Qt::TextExpandTabs, text, qRound(window.TabStop())).width();
    };
    const QString head = header->item(0)->text();
    const int policyColumn = width(head.left(head.indexOf("政治")));
    for (int n = 0; n < kNationCount; ++n) {
        const QString line = list->item(n)->text();
        const int tab = line.indexOf('\t');
        EXPECT_EQ(width(line.left(tab + 1)), policyColumn) << line.toStdString();
        // Nothing of a line is cut off at the right.
        EXPECT_LE(width(line), list->viewport()->width()) << line.toStdString();
    }
}

// The middles of the runs of dark pixels along a list row as drawn; runs
// closer than `gap` pixels count as one (the letters of one word).
std::vector<double> InkRuns(const QImage& row, int gap) {
    std::vector<double> runs;
    int start = -1, last = -1;
    for (int x = 0; x < row.width(); ++x) {
        bool ink = false;
        for (int y = 0; y < row.height() && !ink; ++y) ink = row.pixelColor(x, y).lightness() < 110;
        if (!ink) continue;
        if (start >= 0 && x - last > gap) {
            runs.push_back((start + last) / 2.0);
            start = -1;
        }
        if (start < 0) start = x;
        last = x;
    }
    if (start >= 0) runs.push_back((start + last) / 2.0);
    return runs;
}

TEST(NationWindow, RecordTitlesStandOverTheirNumbers) {
    QtGame t;
    NationWindow window(t.game, t.screen);
    window.show();
    auto* header = window.findChild<QListWidget*>("NationListHeader");
    auto* list = window.findChild<QListWidget*>("NationList");
    list->setCurrentRow(-1);
    list->clearSelection();
    const QImage head = header->viewport()->grab(header->visualItemRect(header->item(0))).toImage();
    const QImage line = list->viewport()->grab(list->visualItemRect(list->item(0))).toImage();
    const int cell = QFontMetrics(list->font()).horizontalAdvance(QLatin1Char(' '));
    const std::vector<double> titles = InkRuns(head, cell - 1);
    const std::vector<double> numbers = InkRuns(line, cell - 1);
    // The last seven runs of each: 勝 負 通 突 包 射 防 over the seven counts.
    ASSERT_GE(titles.size(), 7u);
    ASSERT_GE(numbers.size(), 7u);
    const char* names[] = {"勝", "負", "通", "突", "包", "射", "防"};
    for (int k = 0; k < 7; ++k) {
        const double title = titles[titles.size() - 7 + k];
        const double number = numbers[numbers.size() - 7 + k];
        EXPECT_LE(std::abs(title - number), cell * 0.75)
            << names[k] << " at " << title << ", its numbers at " << number;
    }
}

TEST(NationWindow, OneModelessScreenWhoseChoiceMovesTheMapAndCloses) {
    QtGame t;
    // The map ends on the nation's last city, as the main window shows it.
    Session expected = t.game;
    int last = 0;
    for (int i = 1; i <= kCityCount; ++i)
        if (expected.Cities[i].Owner == "ローマ") last = i;
    FocusCity(expected, last);
    ASSERT_TRUE(expected.shown.main.hScroll != 0 || expected.shown.main.vScroll != 0);
    int mainSyncs = 0;
    QObject mainWindow;
    t.screen.AddView(&mainWindow, [&] { ++mainSyncs; });

    // Asking again, modeless or modal, brings the same screen forward (a
    // second modal one would hang this test).
    ShowNationWindow(t.game, t.screen, nullptr, false);
    QPointer<NationWindow> window = OpenNationWindow();
    ASSERT_TRUE(window);
    ShowNationWindow(t.game, t.screen, nullptr, false);
    ShowNationWindow(t.game, t.screen, nullptr, true);
    int open = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) open += qobject_cast<NationWindow*>(widget) != nullptr;
    EXPECT_EQ(open, 1);

    auto* list = window->findChild<QListWidget*>("NationList");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(10)).center());
    FlushDeletes();
    EXPECT_TRUE(window.isNull());  // a modeless screen is gone once closed
    EXPECT_EQ(t.game.shown.main.hScroll, expected.shown.main.hScroll);
    EXPECT_EQ(t.game.shown.main.vScroll, expected.shown.main.vScroll);
    EXPECT_GE(mainSyncs, 1);
    t.screen.RemoveView(&mainWindow);
}

TEST(NationWindow, OverTheBattleScreenItIsModalAndTheBattleGoesOn) {
    QtGame t;
    t.SetUpBattle(true);
    RunBattle(t, [&](BattleWindow* w) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* nation = qobject_cast<NationWindow*>(QApplication::activeModalWidget());
            ASSERT_NE(nation, nullptr);
            seen = true;
            EXPECT_EQ(nation->parentWidget(), w);
            Menu(nation, "CloseEntry")->trigger();
        });
        Menu(w, "NationEntry")->trigger();
        EXPECT_TRUE(seen);
        EXPECT_TRUE(w->isVisible());

        // A modeless screen left open would stand blocked behind the battle
        // screen; asked for from the battle, it becomes modal over it.
        ShowNationWindow(t.game, t.screen, nullptr, false);
        QPointer<NationWindow> modeless = OpenNationWindow();
        ASSERT_TRUE(modeless);
        Menu(w, "NationEntry")->trigger();
        EXPECT_EQ(modeless->windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(QApplication::activeModalWidget(), modeless.data());
        modeless->close();
        FlushDeletes();
        EXPECT_TRUE(modeless.isNull());

        QTest::mouseClick(Button(w, "TacticButton4"), Qt::LeftButton);
        EXPECT_EQ(t.game.Battle.AttackTactic, kDefence);
        t.Leave();
    });
}

// ---- The event window ------------------------------------------------------------

TEST(EventWindow, ListsTheEventAndOnlyOkClosesIt) {
    QtGame t;
    const std::vector<std::string> lines = {"「豊作」です", "ロンドンで豊作「12」増えました"};
    t.game.EventLines = lines;
    t.game.shown.event.open = true;
    WithModal<EventWindow>(
        t, [&] { RunEventWindow(t.game, t.screen, nullptr); },
        [&](EventWindow* w) {
            EXPECT_EQ(w->windowTitle(), "イベント");
            ExpectTidy(w);
            auto* list = w->findChild<QListWidget*>("EventLines");
            ASSERT_EQ(list->count(), 2);
            EXPECT_EQ(list->item(0)->text().toStdString(), lines[0]);
            EXPECT_EQ(list->item(1)->text().toStdString(), lines[1]);
            EXPECT_FALSE(w->close());
            QTest::keyClick(list, Qt::Key_Escape);
            EXPECT_TRUE(w->isVisible());
            QTest::mouseClick(Button(w, "OkButton"), Qt::LeftButton);
            EXPECT_FALSE(w->isVisible());
        });
    EXPECT_FALSE(t.game.shown.event.open);
    EXPECT_FALSE(t.game.Ended);
}

// ---- Long names -------------------------------------------------------------------

// Constantinople, held by the longest-named nation, fights its longest-named
// neighbour; a typhoon reaches every city at full force.
TEST(LongNames, AreSeenWholeInTheBattleEventAndNationWindows) {
    QtGame t;
    int neighbour = 0;
    for (int n = 1; n <= kCityCount; ++n)
        if (IsNeighbour(60, n) && (!neighbour || t.game.Cities[n].Name.size() > t.game.Cities[neighbour].Name.size()))
            neighbour = n;
    SetOwner(t.game, 60, "キプチャク＝ハン国");
    SetOwner(t.game, neighbour, "フィレンツェ共和国");
    // The attacker's column is the narrower: Constantinople stands there.
    t.game.Cities[60].Troops = t.game.Cities[neighbour].Troops = kMaxValue;
    t.game.Battle = {.AttackCity = 60,
                     .DefendCity = neighbour,
                     .AttackTroops = kMaxValue,
                     .AttackTroopsAtStart = kMaxValue,
                     .DefendTroopsAtStart = kMaxValue};
    RunBattle(t, [&](BattleWindow* w) {
        ExpectTextsFit(w);
        t.Leave();
    });
    t.game.Ended = false;

    QtGame e;
    testing::ScriptedRandom strongest;
    for (int i = 0; i < 4 * kCityCount; ++i) strongest.Push(0.99);
    e.game.random = &strongest;
    WithModal<EventWindow>(
        e, [&] { ApplySeasonalEvent(e.game, 8, "大型台風"); },
        [&](EventWindow* w) {
            auto* list = w->findChild<QListWidget*>("EventLines");
            ASSERT_EQ(list->count(), kCityCount + 1);
            EXPECT_EQ(list->item(60)->text().toStdString(),
                      "コンスタンティノープルで大型台風国力、町、城の値が「10」「10」「10」減りました");
            ExpectTextsFit(w);
            QTest::mouseClick(Button(w, "OkButton"), Qt::LeftButton);
        });

    NationWindow nations(t.game, t.screen);
    nations.show();
    ExpectTextsFit(&nations);
}

}  // namespace
}  // namespace tarvex::ui
