// Working the main window from the keyboard: Enter, keypad digits and point, arrows.
#include "screens/main/keys.h"

#include <gtest/gtest.h>

#include "rules/turn/cycle.h"
#include "screens/main/main_window.h"
#include "screens/main/ok_step.h"
#include "screens/orders/delegation.h"
#include "screens/orders/panels.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::TestGame;

// London, England's capital, begins its turn: the top menu is up.
void BeginLondonsTurn(TestGame& t) {
    t.game.CurrentCity = 1;
    t.game.PlayerTurn = true;
    t.game.shown.main.mnuIninKaijyo = true;
    OpenCommandMenu(t.game);
}

// The target panel with three destinations, as a fresh turn shows it.
void ShowThreeTargets(TestGame& t) {
    BeginLondonsTurn(t);
    t.game.shown.main.activePanel = Panel::Pic6;
    t.game.shown.main.lstPic6 = {"ヨーク", "サザンプトン", "エディンバラ"};
    t.game.shown.main.lstPic6Selected = 0;
}

TEST(Keys, EnterOnTheIdlePanelTakesOneStepUntilTheLockIsReleased) {
    TestGame t("*");  // every city is the computer's: the idle panel stays up
    Session& g = t.game;
    ASSERT_EQ(g.shown.main.activePanel, Panel::Pic1);
    EXPECT_EQ(Form1_Form_KeyDown(g, kKeyEnter), 0);
    EXPECT_EQ(g.TurnStep, 2);
    EXPECT_EQ(g.OkLock, 1);
    EXPECT_TRUE(g.shown.main.tmrOk);

    // Held down: the repeat arrives before tmrOk has fired.
    EXPECT_EQ(Form1_Form_KeyDown(g, kKeyEnter), 0);
    EXPECT_EQ(g.TurnStep, 2);
    // Other keys, the main keyboard's digits among them, only arm the timer.
    EXPECT_EQ(Form1_Form_KeyDown(g, '1'), 0);
    EXPECT_EQ(Form1_Form_KeyDown(g, KeyPad(1)), 0);
    EXPECT_EQ(g.TurnStep, 2);

    Form1_tmrOk_Timer(g);
    EXPECT_EQ(g.OkLock, 0);
    EXPECT_FALSE(g.shown.main.tmrOk);
    EXPECT_EQ(Form1_Form_KeyDown(g, kKeyEnter), 0);
    EXPECT_EQ(g.TurnStep, 3);
}

TEST(Keys, EnterThatOpensThePlayersMenuGoesOnToTheMenu) {
    TestGame t;
    Session& g = t.game;
    int returned = -1;
    for (int guard = 0; guard < kCityCount && g.shown.main.activePanel == Panel::Pic1; ++guard) {
        Form1_tmrOk_Timer(g);
        returned = Form1_Form_KeyDown(g, kKeyEnter);
    }
    ASSERT_EQ(g.shown.main.activePanel, Panel::Pic2);
    EXPECT_EQ(returned, kKeyEnter);
    EXPECT_TRUE(IsPlayerRun(g, g.CurrentCity));
    // Enter on the menu itself takes no OK step.
    const int step = g.TurnStep;
    EXPECT_EQ(Form1_Form_KeyDown(g, kKeyEnter), kKeyEnter);
    EXPECT_EQ(g.TurnStep, step);
    EXPECT_EQ(g.shown.main.activePanel, Panel::Pic2);
}

TEST(Keys, KeypadDigitsPressTheMenuButtonsOfTheVisiblePanel) {
    struct Case {
        std::vector<int> keys;
        Panel panel;   // shown after the last key
        int passedOn;  // what the last key leaves for the focused control
        int kind;      // CommandKind afterwards (0: none started)
    };
    const Case cases[] = {
        {{KeyPad(1)}, Panel::Pic3, KeyPad(1), 0},
        {{KeyPad(1), KeyPad(1)}, Panel::Pic6, KeyPad(1), kMove},
        {{KeyPad(1), KeyPad(3)}, Panel::Pic5, KeyPad(3), kRaiseTroops},
        {{KeyPad(1), KeyPad(4)}, Panel::Pic5, KeyPad(4), kStrengthenArms},
        {{KeyPad(1), KeyPad(5)}, Panel::Pic2, 0, 0},  // back to the top menu, key swallowed
        {{KeyPad(1), KeyPad(6)}, Panel::Pic3, 0, 0},
        {{KeyPad(1), kKeyEnter}, Panel::Pic3, 0, 0},
        {{KeyPad(2)}, Panel::Pic4, KeyPad(2), 0},
        {{KeyPad(2), KeyPad(1)}, Panel::Pic5, KeyPad(1), kInvestPower},
        {{KeyPad(2), KeyPad(2)}, Panel::Pic5, KeyPad(2), kBuildTown},
        {{KeyPad(2), KeyPad(3)}, Panel::Pic5, KeyPad(3), kWorkOnCastle},
        {{KeyPad(2), KeyPad(4)}, Panel::Pic5, KeyPad(4), kSellFood},
        {{KeyPad(2), KeyPad(5)}, Panel::Pic5, KeyPad(5), kBuyFood},
        {{KeyPad(2), KeyPad(6)}, Panel::Pic2, KeyPad(6), 0},
        {{KeyPad(2), '1'}, Panel::Pic4, '1', 0},
        {{'1'}, Panel::Pic2, '1', 0},  // only the keypad's 1 means "1.軍事系"
        {{KeyPad(5)}, Panel::Pic2, KeyPad(5), 0},
        {{KeyPad(1), KeyPad(1), kKeyPadPoint}, Panel::Pic2, kKeyPadPoint, kMove},
        {{KeyPad(2), KeyPad(1), kKeyPadPoint}, Panel::Pic2, kKeyPadPoint, kInvestPower},
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
            passedOn = Form1_Form_KeyDown(g, key);
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
    EXPECT_EQ(Form1_Form_KeyDown(g, KeyPad(3)), KeyPad(3));
    EXPECT_EQ(g.shown.main.activePanel, Panel::Pic2);
    EXPECT_FALSE(g.PlayerActed);

    Session focused = g;
    FocusCity(focused, 1);
    g.shown.main.hScroll = g.shown.main.vScroll = kScrollMax;
    EXPECT_EQ(Form1_Form_KeyDown(g, KeyPad(4)), KeyPad(4));
    EXPECT_EQ(g.shown.main.hScroll, focused.shown.main.hScroll);
    EXPECT_EQ(g.shown.main.vScroll, focused.shown.main.vScroll);
    EXPECT_EQ(g.shown.main.activePanel, Panel::Pic2);

    EXPECT_EQ(Form1_Form_KeyDown(g, KeyPad(3)), KeyPad(3));
    EXPECT_EQ(t.screen.Boxes(), (std::vector<std::string>{"何もしない", "何もしない"}));
    EXPECT_EQ(g.shown.main.activePanel, Panel::Pic1);
    EXPECT_TRUE(g.PlayerActed);
}

TEST(Keys, EnterAndPointConfirmOrCancelTheInputPanels) {
    TestGame t;
    Session& g = t.game;
    BeginLondonsTurn(t);
    Form1_Form_KeyDown(g, KeyPad(2));
    Form1_Form_KeyDown(g, KeyPad(1));
    ASSERT_EQ(g.shown.main.activePanel, Panel::Pic5);
    g.shown.main.txtPic5 = "たくさん";
    EXPECT_EQ(Form1_Form_KeyDown(g, kKeyEnter), kKeyEnter);
    EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{"整数を入力してください"});
    EXPECT_EQ(g.shown.main.activePanel, Panel::Pic2);

    // The delegation panel: Enter hands the chosen city over, the point leaves.
    t.screen.Clear();
    Form1_mnuInin_Click(g);
    ASSERT_EQ(g.shown.main.activePanel, Panel::Pic7);
    EXPECT_EQ(Form1_Form_KeyDown(g, kKeyEnter), kKeyEnter);
    EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{"ロンドンを委任しました"});
    EXPECT_TRUE(g.Delegated[1]);
    EXPECT_EQ(g.shown.main.activePanel, Panel::Pic7);
    EXPECT_EQ(Form1_Form_KeyDown(g, kKeyPadPoint), kKeyPadPoint);
    EXPECT_EQ(g.shown.main.activePanel, Panel::Pic2);
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
        for (int key : c.keys) passedOn = Form1_Form_KeyDown(g, key);
        EXPECT_EQ(g.shown.main.lstPic6Selected, c.selected) << c.keys.size() << " keys";
        EXPECT_EQ(passedOn, c.keys.back());
        EXPECT_FALSE(g.PlayerTurn);
    }

    // Within the same turn the cursor goes on where it was, even if the list
    // was chosen with the mouse or the panel reopened.
    TestGame t;
    Session& g = t.game;
    ShowThreeTargets(t);
    Form1_Form_KeyDown(g, kKeyRight);
    g.shown.main.lstPic6Selected = 0;
    Form1_Form_KeyDown(g, kKeyRight);
    EXPECT_EQ(g.shown.main.lstPic6Selected, 2);

    // A one-entry list always selects its entry; an empty one selects nothing.
    g.shown.main.lstPic6 = {"ヨーク"};
    Form1_Form_KeyDown(g, kKeyLeft);
    EXPECT_EQ(g.shown.main.lstPic6Selected, 0);
    g.shown.main.lstPic6.clear();
    g.shown.main.lstPic6Selected = -1;
    Form1_Form_KeyDown(g, kKeyRight);
    EXPECT_EQ(g.shown.main.lstPic6Selected, -1);
}

TEST(Keys, UpAndDownFocusTheAmountBoxesInTurn) {
    struct Case {
        std::vector<int> keys;
        std::vector<Control> focused;
    };
    const Case cases[] = {
        {{kKeyDown, kKeyDown, kKeyDown, kKeyUp},
         {Control::TxtPic6_0, Control::TxtPic6_1, Control::TxtPic6_2, Control::TxtPic6_0}},
        {{kKeyUp, kKeyUp, kKeyUp}, {Control::TxtPic6_0, Control::TxtPic6_2, Control::TxtPic6_1}},
        // The first arrow of the turn starts both cursors afresh, whichever it moves.
        {{kKeyLeft, kKeyDown}, {Control::TxtPic6_0}},
    };
    for (const Case& c : cases) {
        TestGame t;
        Session& g = t.game;
        g.AmountCursor = 2;  // left over from an earlier turn
        ShowThreeTargets(t);
        std::vector<Control> focused;
        for (int key : c.keys) {
            const int serial = g.shown.main.focus.serial;
            EXPECT_EQ(Form1_Form_KeyDown(g, key), key);
            if (g.shown.main.focus.serial != serial) focused.push_back(g.shown.main.focus.control);
        }
        EXPECT_EQ(focused, c.focused) << c.keys.size() << " keys";
        EXPECT_EQ(g.shown.main.activePanel, Panel::Pic6);
    }
}

TEST(Keys, ArrowsOutsideTheTargetPanelMoveNothing) {
    TestGame t;
    Session& g = t.game;
    BeginLondonsTurn(t);
    g.shown.main.lstPic6 = {"ヨーク", "サザンプトン"};
    g.shown.main.lstPic6Selected = 0;
    for (int key : {kKeyLeft, kKeyRight, kKeyUp, kKeyDown}) EXPECT_EQ(Form1_Form_KeyDown(g, key), key);
    EXPECT_EQ(g.shown.main.lstPic6Selected, 0);
    EXPECT_TRUE(g.PlayerTurn);  // the cursors still wait for the target panel
    EXPECT_EQ(g.shown.main.focus.control, Control::None);
}

}  // namespace
}  // namespace tarvex
