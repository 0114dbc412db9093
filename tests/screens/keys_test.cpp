// Working the main window from the keyboard: Enter, keypad digits and point, arrows.
#include "screens/main/keys.h"

#include <gtest/gtest.h>

#include "rules/turn/cycle.h"
#include "screens/main/main_window.h"
#include "screens/main/ok_step.h"
#include "screens/orders/delegation.h"
#include "screens/orders/panels.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

using testing::TestGame;

// London, England's capital, begins its turn: the top menu is up.
void BeginLondonsTurn(TestGame& t) {
    t.game.CurrentCity = 1;
    t.game.PlayerTurn = true;
    t.game.shown.main.delegationMenu = true;
    OpenCommandMenu(t.game);
}

// The target panel with three destinations, as a fresh turn shows it.
void ShowThreeTargets(TestGame& t) {
    BeginLondonsTurn(t);
    t.game.shown.main.activePanel = Panel::TargetPanel;
    t.game.shown.main.targets = {"ヨーク", "サザンプトン", "エディンバラ"};
    t.game.shown.main.targetSelected = 0;
}

TEST(Keys, EnterOnTheIdlePanelTakesOneStepUntilTheLockIsReleased) {
    TestGame t("*");  // every city is the computer's: the idle panel stays up
    Session& g = t.game;
    ASSERT_EQ(g.shown.main.activePanel, Panel::IdlePanel);
    EXPECT_EQ(PressMainWindowKey(g, kKeyEnter), 0);
    EXPECT_EQ(g.TurnStep, 2);
    EXPECT_EQ(g.OkLock, 1);
    EXPECT_TRUE(g.shown.main.enterLockTimer);

    // Held down: the repeat arrives before enterLockTimer has fired.
    EXPECT_EQ(PressMainWindowKey(g, kKeyEnter), 0);
    EXPECT_EQ(g.TurnStep, 2);
    // Other keys, the main keyboard's digits among them, only arm the timer.
    EXPECT_EQ(PressMainWindowKey(g, '1'), 0);
    EXPECT_EQ(PressMainWindowKey(g, KeyPad(1)), 0);
    EXPECT_EQ(g.TurnStep, 2);

    ReleaseEnterLock(g);
    EXPECT_EQ(g.OkLock, 0);
    EXPECT_FALSE(g.shown.main.enterLockTimer);
    EXPECT_EQ(PressMainWindowKey(g, kKeyEnter), 0);
    EXPECT_EQ(g.TurnStep, 3);
}

TEST(Keys, EnterThatOpensThePlayersMenuGoesOnToTheMenu) {
    TestGame t;
    Session& g = t.game;
    int returned = -1;
    for (int guard = 0; guard < kCityCount && g.shown.main.activePanel == Panel::IdlePanel; ++guard) {
        ReleaseEnterLock(g);
        returned = PressMainWindowKey(g, kKeyEnter);
    }
    ASSERT_EQ(g.shown.main.activePanel, Panel::TopMenu);
    EXPECT_EQ(returned, kKeyEnter);
    EXPECT_TRUE(IsPlayerRun(g, g.CurrentCity));
    // Enter on the menu itself takes no OK step.
    const int step = g.TurnStep;
    EXPECT_EQ(PressMainWindowKey(g, kKeyEnter), kKeyEnter);
    EXPECT_EQ(g.TurnStep, step);
    EXPECT_EQ(g.shown.main.activePanel, Panel::TopMenu);
}

TEST(Keys, KeypadDigitsPressTheMenuButtonsOfTheVisiblePanel) {
    struct Case {
        std::vector<int> keys;
        Panel panel;   // shown after the last key
        int passedOn;  // what the last key leaves for the focused control
        int kind;      // CommandKind afterwards (0: none started)
    };
    const Case cases[] = {
        {{KeyPad(1)}, Panel::MilitaryMenu, KeyPad(1), 0},
        {{KeyPad(1), KeyPad(1)}, Panel::TargetPanel, KeyPad(1), kMove},
        {{KeyPad(1), KeyPad(3)}, Panel::AmountPanel, KeyPad(3), kRaiseTroops},
        {{KeyPad(1), KeyPad(4)}, Panel::AmountPanel, KeyPad(4), kStrengthenArms},
        {{KeyPad(1), KeyPad(5)}, Panel::TopMenu, 0, 0},  // back to the top menu, key swallowed
        {{KeyPad(1), KeyPad(6)}, Panel::MilitaryMenu, 0, 0},
        {{KeyPad(1), kKeyEnter}, Panel::MilitaryMenu, 0, 0},
        {{KeyPad(2)}, Panel::PoliticsMenu, KeyPad(2), 0},
        {{KeyPad(2), KeyPad(1)}, Panel::AmountPanel, KeyPad(1), kInvestPower},
        {{KeyPad(2), KeyPad(2)}, Panel::AmountPanel, KeyPad(2), kBuildTown},
        {{KeyPad(2), KeyPad(3)}, Panel::AmountPanel, KeyPad(3), kWorkOnCastle},
        {{KeyPad(2), KeyPad(4)}, Panel::AmountPanel, KeyPad(4), kSellFood},
        {{KeyPad(2), KeyPad(5)}, Panel::AmountPanel, KeyPad(5), kBuyFood},
        {{KeyPad(2), KeyPad(6)}, Panel::TopMenu, KeyPad(6), 0},
        {{KeyPad(2), '1'}, Panel::PoliticsMenu, '1', 0},
        {{'1'}, Panel::TopMenu, '1', 0},  // only the keypad's 1 means "1.軍事系"
        {{KeyPad(5)}, Panel::TopMenu, KeyPad(5), 0},
        {{KeyPad(1), KeyPad(1), kKeyPadPoint}, Panel::TopMenu, kKeyPadPoint, kMove},
        {{KeyPad(2), KeyPad(1), kKeyPadPoint}, Panel::TopMenu, kKeyPadPoint, kInvestPower},
    };
    for (const Case& c : cases) {
        TestGame t;
        Session& g = t.game;
        BeginLondonsTurn(t);
        g.CommandKind = 0;
        int passedOn = -1;
        std::string trace;
        for (int key : c.keys) {
            trace += std::to_string(key) + " ";
            passedOn = PressMainWindowKey(g, key);
        }
        SCOPED_TRACE(trace);
        EXPECT_EQ(g.shown.main.activePanel, c.panel);
        EXPECT_EQ(passedOn, c.passedOn);
        EXPECT_EQ(g.CommandKind, c.kind);
        EXPECT_TRUE(t.screen.Boxes().empty());
        EXPECT_FALSE(g.PlayerActed);
    }
}

TEST(Keys, TopMenuDoNothingAndFocusWorkAsTheirButtons) {
    TestGame t;
    Session& g = t.game;
    BeginLondonsTurn(t);
    t.screen.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_EQ(PressMainWindowKey(g, KeyPad(3)), KeyPad(3));
    EXPECT_EQ(g.shown.main.activePanel, Panel::TopMenu);
    EXPECT_FALSE(g.PlayerActed);

    Session focused = g;
    FocusCity(focused, 1);
    g.shown.main.hScroll = g.shown.main.vScroll = kScrollMax;
    EXPECT_EQ(PressMainWindowKey(g, KeyPad(4)), KeyPad(4));
    EXPECT_EQ(g.shown.main.hScroll, focused.shown.main.hScroll);
    EXPECT_EQ(g.shown.main.vScroll, focused.shown.main.vScroll);
    EXPECT_EQ(g.shown.main.activePanel, Panel::TopMenu);

    EXPECT_EQ(PressMainWindowKey(g, KeyPad(3)), KeyPad(3));
    EXPECT_EQ(t.screen.Boxes(), (std::vector<std::string>{"何もしない", "何もしない"}));
    EXPECT_EQ(g.shown.main.activePanel, Panel::IdlePanel);
    EXPECT_TRUE(g.PlayerActed);
}

TEST(Keys, EnterAndPointConfirmOrCancelTheInputPanels) {
    TestGame t;
    Session& g = t.game;
    BeginLondonsTurn(t);
    PressMainWindowKey(g, KeyPad(2));
    PressMainWindowKey(g, KeyPad(1));
    ASSERT_EQ(g.shown.main.activePanel, Panel::AmountPanel);
    g.shown.main.amountText = "たくさん";
    EXPECT_EQ(PressMainWindowKey(g, kKeyEnter), kKeyEnter);
    EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{"整数を入力してください"});
    EXPECT_EQ(g.shown.main.activePanel, Panel::TopMenu);

    // The delegation panel: Enter hands the chosen city over, the point leaves.
    t.screen.Clear();
    OpenDelegation(g);
    ASSERT_EQ(g.shown.main.activePanel, Panel::DelegationPanel);
    EXPECT_EQ(PressMainWindowKey(g, kKeyEnter), kKeyEnter);
    EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{"ロンドンを委任しました"});
    EXPECT_TRUE(g.Delegated[1]);
    EXPECT_EQ(g.shown.main.activePanel, Panel::DelegationPanel);
    EXPECT_EQ(PressMainWindowKey(g, kKeyPadPoint), kKeyPadPoint);
    EXPECT_EQ(g.shown.main.activePanel, Panel::TopMenu);
    EXPECT_FALSE(g.PlayerActed);
}

TEST(Keys, LeftAndRightWalkTheTargetListFromAFreshCursor) {
    struct Case {
        std::vector<int> keys;
        int selected;
    };
    const Case cases[] = {
        {{kKeyLeft}, 2},  // right after the turn began: the last entry
        {{kKeyRight}, 1}, {{kKeyRight, kKeyRight, kKeyRight}, 0}, {{kKeyLeft, kKeyLeft}, 1}, {{kKeyLeft, kKeyRight}, 0},
    };
    for (const Case& c : cases) {
        TestGame t;
        Session& g = t.game;
        g.ListCursor = 1;  // left over from an earlier turn
        ShowThreeTargets(t);
        int passedOn = -1;
        for (int key : c.keys) passedOn = PressMainWindowKey(g, key);
        EXPECT_EQ(g.shown.main.targetSelected, c.selected) << c.keys.size() << " keys";
        EXPECT_EQ(passedOn, c.keys.back());
        EXPECT_FALSE(g.PlayerTurn);
    }

    // Within the same turn the cursor goes on where it was, even if the list
    // was chosen with the mouse or the panel reopened.
    TestGame t;
    Session& g = t.game;
    ShowThreeTargets(t);
    PressMainWindowKey(g, kKeyRight);
    g.shown.main.targetSelected = 0;
    PressMainWindowKey(g, kKeyRight);
    EXPECT_EQ(g.shown.main.targetSelected, 2);

    // A one-entry list always selects its entry; an empty one selects nothing.
    g.shown.main.targets = {"ヨーク"};
    PressMainWindowKey(g, kKeyLeft);
    EXPECT_EQ(g.shown.main.targetSelected, 0);
    g.shown.main.targets.clear();
    g.shown.main.targetSelected = -1;
    PressMainWindowKey(g, kKeyRight);
    EXPECT_EQ(g.shown.main.targetSelected, -1);
}

TEST(Keys, UpAndDownFocusTheAmountBoxesInTurn) {
    struct Case {
        std::vector<int> keys;
        std::vector<Control> focused;
    };
    const Case cases[] = {
        {{kKeyDown, kKeyDown, kKeyDown, kKeyUp},
         {Control::TroopsBox, Control::FoodBox, Control::GoldBox, Control::TroopsBox}},
        {{kKeyUp, kKeyUp, kKeyUp}, {Control::TroopsBox, Control::GoldBox, Control::FoodBox}},
        // The first arrow of the turn starts both cursors afresh, whichever it moves.
        {{kKeyLeft, kKeyDown}, {Control::TroopsBox}},
    };
    for (const Case& c : cases) {
        TestGame t;
        Session& g = t.game;
        g.AmountCursor = 2;  // left over from an earlier turn
        ShowThreeTargets(t);
        std::vector<Control> focused;
        for (int key : c.keys) {
            const int serial = g.shown.main.focus.serial;
            EXPECT_EQ(PressMainWindowKey(g, key), key);
            if (g.shown.main.focus.serial != serial) focused.push_back(g.shown.main.focus.control);
        }
        EXPECT_EQ(focused, c.focused) << c.keys.size() << " keys";
        EXPECT_EQ(g.shown.main.activePanel, Panel::TargetPanel);
    }
}

TEST(Keys, ArrowsOutsideTheTargetPanelMoveNothing) {
    TestGame t;
    Session& g = t.game;
    BeginLondonsTurn(t);
    g.shown.main.targets = {"ヨーク", "サザンプトン"};
    g.shown.main.targetSelected = 0;
    for (int key : {kKeyLeft, kKeyRight, kKeyUp, kKeyDown}) EXPECT_EQ(PressMainWindowKey(g, key), key);
    EXPECT_EQ(g.shown.main.targetSelected, 0);
    EXPECT_TRUE(g.PlayerTurn);  // the cursors still wait for the target panel
    EXPECT_EQ(g.shown.main.focus.control, Control::None);
}

}  // namespace
}  // namespace tarvex
