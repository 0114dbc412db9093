// Keyboard control of the main window: Enter, the keypad digits and point, the arrows.
#include "screens/main/keys.h"

#include "rules/turn/cycle.h"
#include "screens/main/ok_step.h"
#include "screens/orders/delegation.h"
#include "screens/orders/panels.h"

namespace tarvex {

namespace {

void FocusNextAmount(Session& game, int key);
void SelectNextTarget(Session& game, int key);

constexpr int kKeyPad2 = KeyPad(2);
constexpr int kKeyPad3 = KeyPad(3);
constexpr int kKeyPad4 = KeyPad(4);
constexpr int kKeyPad5 = KeyPad(5);
constexpr int kKeyPad6 = KeyPad(6);
constexpr int kAmountBoxes = 3;  // troops, food, gold

bool Visible(const Session& game, Panel panel) { return game.shown.main.activePanel == panel; }

// The top menu: the four numbered buttons.
void TopMenuKey(Session& game, int key) {
    switch (key) {
        case kKeyPad1:
            Form1_cmdGunji_Click(game);
            break;
        case kKeyPad2:
            Form1_cmdSeiji_Click(game);
            break;
        case kKeyPad3:
            Form1_cmdNothing_Click(game);
            break;
        case kKeyPad4:
            Form1_cmdFocus_Click(game);
            break;
        default:
            break;
    }
}

void MilitaryMenuKey(Session& game, int key) {
    switch (key) {
        case kKeyPad1:
            StartCommand(game, kMove);
            break;
        case kKeyPad2:
            StartCommand(game, kAttack);
            break;
        case kKeyPad3:
            StartCommand(game, kRaiseTroops);
            break;
        case kKeyPad4:
            StartCommand(game, kStrengthenArms);
            break;
        case kKeyPad5:
            Form1_cmdReturn_Click(game);
            break;
        default:
            break;
    }
}

void PoliticsMenuKey(Session& game, int key) {
    switch (key) {
        case kKeyPad1:
            StartCommand(game, kInvestPower);
            break;
        case kKeyPad2:
            StartCommand(game, kBuildTown);
            break;
        case kKeyPad3:
            StartCommand(game, kWorkOnCastle);
            break;
        case kKeyPad4:
            StartCommand(game, kSellFood);
            break;
        case kKeyPad5:
            StartCommand(game, kBuyFood);
            break;
        case kKeyPad6:
            Form1_cmdReturn_Click(game);
            break;
        default:
            break;
    }
}

// The first arrow key of a city's turn starts both cursors afresh, whichever
// of the two it moves; otherwise the other would carry over from an earlier turn.
void ResetCursorsAtTurnStart(Session& game) {
    if (!game.PlayerTurn) return;
    game.AmountCursor = 0;
    game.ListCursor = 0;
}

}  // namespace

int Form1_Form_KeyDown(Session& game, int key) {
    // Each panel is looked at only when its turn comes, so a key that changes
    // the panel meets the new one further down.
    if (Visible(game, Panel::Pic1)) {
        game.shown.main.tmrOk = true;
        if (key == kKeyEnter) {
            Form1_cmdOk_Click(game);
            // A held-down Enter makes one step: the lock lasts until tmrOk fires.
            game.OkLock += 1;
        }
    }
    if (Visible(game, Panel::Pic2)) {
        TopMenuKey(game, key);
        return key;
    }
    if (Visible(game, Panel::Pic3)) {
        MilitaryMenuKey(game, key);
    }
    if (Visible(game, Panel::Pic4)) {
        PoliticsMenuKey(game, key);
        return key;
    }
    if (Visible(game, Panel::Pic5)) {
        if (key == kKeyEnter) Form1_cmdOkpic_Click(game);
        if (key == kKeyPadPoint) Form1_cmdCancel_Click(game);
        return key;
    }
    if (Visible(game, Panel::Pic6)) {
        if (key == kKeyEnter) Form1_cmdOkpic_Click(game);
        if (key == kKeyPadPoint) Form1_cmdCancel_Click(game);
        if (key == kKeyDown || key == kKeyUp) FocusNextAmount(game, key);
        if (key == kKeyLeft || key == kKeyRight) SelectNextTarget(game, key);
        return key;
    }
    if (Visible(game, Panel::Pic7)) {
        if (key == kKeyEnter) ApplyDelegation(game);
        if (key == kKeyPadPoint) Form1_cmdCancel_Click(game);
        return key;
    }
    // The idle panel and the military menu keep their keys to themselves.
    return 0;
}

namespace {
void FocusNextAmount(Session& game, int key) {
    ResetCursorsAtTurnStart(game);
    // Keep the cursor on one of the three boxes whatever it held before.
    game.AmountCursor = ((game.AmountCursor % kAmountBoxes) + kAmountBoxes) % kAmountBoxes;
    RequestFocus(game, static_cast<Control>(static_cast<int>(Control::TxtPic6_0) + game.AmountCursor));
    if (key == kKeyDown) game.AmountCursor += 1;
    if (key == kKeyUp) game.AmountCursor -= 1;
    if (game.AmountCursor < 0) game.AmountCursor = kAmountBoxes - 1;
    if (game.AmountCursor > kAmountBoxes - 1) game.AmountCursor = 0;
    game.PlayerTurn = false;
}

void SelectNextTarget(Session& game, int key) {
    const int n = static_cast<int>(game.shown.main.lstPic6.size());
    ResetCursorsAtTurnStart(game);
    if (key == kKeyLeft) game.ListCursor -= 1;
    if (key == kKeyRight) game.ListCursor += 1;
    if (game.ListCursor < 0) game.ListCursor = n - 1;
    if (game.ListCursor > n - 1) game.ListCursor = 0;
    // An empty list has no entry to select.
    if (n > 0)
        game.shown.main.lstPic6Selected = game.ListCursor;
    else
        game.ListCursor = 0;
    game.PlayerTurn = false;
}

}  // namespace

}  // namespace tarvex
