// The hold's order of input at its end, and what the game remembers on a first run.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "qt_test_support.h"
#include "ui/qt/hold_gate.h"
#include "ui/qt/preferences.h"

namespace tarvex::ui {
namespace {

// A click kept during a hold acts before one given the moment the hold ends, even
// before the kept input has had its turn: the player's input acts in the order given.
TEST(HoldGate, InputRightAfterAHoldWaitsBehindWhatWasKeptDuringIt) {
    EnsureApplication();
    HoldGate gate;
    QWidget window;
    auto* first = new QPushButton("first", &window);
    auto* second = new QPushButton("second", &window);
    second->move(0, 40);
    window.show();
    gate.AddGameWindow(&window);
    std::vector<std::string> pressed;
    QObject::connect(first, &QPushButton::clicked, [&] { pressed.push_back("first"); });
    QObject::connect(second, &QPushButton::clicked, [&] { pressed.push_back("second"); });

    // Delivered as soon as the hold's event loop runs, long before its end.
    QMetaObject::invokeMethod(
        first, [first] { QTest::mouseClick(first, Qt::LeftButton); }, Qt::QueuedConnection);
    gate.Hold(0.05);
    EXPECT_TRUE(pressed.empty());
    ASSERT_EQ(gate.Waiting(), 2U);  // the press and the release, kept
    // The hold is over and nothing has been handed on yet: the next click queues behind.
    QTest::mouseClick(second, Qt::LeftButton);
    EXPECT_TRUE(pressed.empty());
    QTRY_COMPARE(gate.Waiting(), 0U);
    EXPECT_EQ(pressed, (std::vector<std::string>{"first", "second"}));
}

// On a first run the remembered choices are the game's own defaults: every help
// panel shown, the map following the war, the game not playing by itself; once
// changed, they come back as they were left.
TEST(Preferences, AFirstRunStartsFromTheDefaultsAndLaterRunsFromWhatWasLeft) {
    EnsureApplication();
    ForgetPreferences();
    MainWindowShown flipped;
    flipped.helpClosed.fill(true);
    flipped.followWar = false;
    flipped.autoPlay = true;
    MainWindowShown fresh = flipped;
    LoadPreferences(fresh);
    for (const bool closed : fresh.helpClosed) EXPECT_FALSE(closed);
    EXPECT_TRUE(fresh.followWar);
    EXPECT_FALSE(fresh.autoPlay);
    EXPECT_TRUE(SavedWindowGeometry().isEmpty());
    EXPECT_FALSE(LastOrderlyEnd().isValid());

    SavePreferences(flipped);
    MainWindowShown later;
    LoadPreferences(later);
    EXPECT_EQ(later.helpClosed, flipped.helpClosed);
    EXPECT_FALSE(later.followWar);
    EXPECT_TRUE(later.autoPlay);
    ForgetPreferences();
}

}  // namespace
}  // namespace tarvex::ui
