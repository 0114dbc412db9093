// A game accepted on the settings screen and loaded into a shown main window,
// with the helpers the window tests drive it by.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <memory>
#include <string>

#include "qt_test_support.h"
#include "rules/port/random.h"
#include "screens/main/main_window.h"
#include "screens/orders/panels.h"
#include "screens/settings/settings.h"
#include "ui/main/main_window.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {

// A game accepted on the settings screen and loaded into a shown main window.
// Boxes are answered from `answers` (OK when it runs out); holds cost nothing.
struct MainGame {
    // `firstRun`: nothing is remembered from an earlier run of the program.
    explicit MainGame(const std::string& nation = "イングランド王国", bool firstRun = true)
        : random(7), game(screen, random) {
        EnsureApplication();
        if (firstRun) ForgetPreferences();
        AnswerFromQueue(screen, answers, ends);
        SetDefaultSettings(game);
        OpenSettingsScreen(game);
        TypeNationName(game, nation);
        AcceptSettings(game);
        window = std::make_unique<MainWindow>(game, screen);
        screen.SetOwner(window.get());
        window->show();
        window->Run(StartGame);
        screen.boxLog.clear();
    }

    template <class T = QWidget>
    T* Find(const QString& name) {
        T* widget = window->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    void Click(const QString& button) {
        if (auto* b = Find<QPushButton>(button)) QTest::mouseClick(b, Qt::LeftButton);
    }
    void Trigger(const QString& entry) {
        if (auto* a = Find<QAction>(entry)) a->trigger();
    }
    // A key as the player presses it: to whichever control has the focus.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = window->focusWidget() ? window->focusWidget() : window.get();
        QTest::keyClick(target, key, modifiers);
    }
    // The turn of one of the player's cities begins, as the turn cycle begins it.
    void PlayersTurn(int city) {
        window->Run([city](Session& g) {
            g.CurrentCity = city;
            g.PlayerTurn = true;
            g.PlayerActed = false;
            g.shown.main.delegationMenu = true;
            OpenCommandMenu(g);
        });
    }
    int VisiblePanel() {
        int shown = 0;
        for (int i = 1; i <= 7; ++i)
            if (Find(PanelName(static_cast<Panel>(i)))->isVisible()) shown = shown ? -1 : i;
        return shown;
    }
    QString Text(const QString& name) {
        if (auto* label = window->findChild<QLabel*>(name)) return label->text();
        if (auto* edit = window->findChild<QLineEdit*>(name)) return edit->text();
        return "<none>";
    }

    QtScreen screen;
    MersenneRandom random;
    Session game;
    std::deque<Answer> answers;
    int ends = 0;
    std::unique_ptr<MainWindow> window;
};

}  // namespace tarvex::ui
