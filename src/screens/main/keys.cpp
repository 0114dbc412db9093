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
            OpenMilitaryMenu(game);
            break;
        case kKeyPad2:
            OpenPoliticsMenu(game);
            break;
        case kKeyPad3:
            ChooseDoNothing(game);
            break;
        case kKeyPad4:
            FocusOnActingCity(game);
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
            BackToTopMenu(game);
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
            BackToTopMenu(game);
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

int PressMainWindowKey(Session& game, int key) {
    // Each panel is looked at only when its turn comes, so a key that changes
    // the panel meets the new one further down.
    if (Visible(game, Panel::IdlePanel)) {
        game.shown.main.enterLockTimer = true;
        if (key == kKeyEnter) {
            TakeNextStep(game);
            // A held-down Enter makes one step: the lock lasts until enterLockTimer fires.
            game.OkLock += 1;
        }
    }
    if (Visible(game, Panel::TopMenu)) {
        TopMenuKey(game, key);
        return key;
    }
    if (Visible(game, Panel::MilitaryMenu)) {
        MilitaryMenuKey(game, key);
    }
    if (Visible(game, Panel::PoliticsMenu)) {
        PoliticsMenuKey(game, key);
        return key;
    }
    if (Visible(game, Panel::AmountPanel)) {
        if (key == kKeyEnter) ConfirmOrder(game);
        if (key == kKeyPadPoint) CancelOrder(game);
        return key;
    }
    if (Visible(game, Panel::TargetPanel)) {
        if (key == kKeyEnter) ConfirmOrder(game);
        if (key == kKeyPadPoint) CancelOrder(game);
        if (key == kKeyDown || key == kKeyUp) FocusNextAmount(game, key);
        if (key == kKeyLeft || key == kKeyRight) SelectNextTarget(game, key);
        return key;
    }
    if (Visible(game, Panel::DelegationPanel)) {
        if (key == kKeyEnter) ApplyDelegation(game);
        if (key == kKeyPadPoint) CancelOrder(game);
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
    RequestFocus(game, static_cast<Control>(static_cast<int>(Control::TroopsBox) + game.AmountCursor));
    if (key == kKeyDown) game.AmountCursor += 1;
    if (key == kKeyUp) game.AmountCursor -= 1;
    if (game.AmountCursor < 0) game.AmountCursor = kAmountBoxes - 1;
    if (game.AmountCursor > kAmountBoxes - 1) game.AmountCursor = 0;
    game.PlayerTurn = false;
}

void SelectNextTarget(Session& game, int key) {
    const int n = static_cast<int>(game.shown.main.targets.size());
    ResetCursorsAtTurnStart(game);
    if (key == kKeyLeft) game.ListCursor -= 1;
    if (key == kKeyRight) game.ListCursor += 1;
    if (game.ListCursor < 0) game.ListCursor = n - 1;
    if (game.ListCursor > n - 1) game.ListCursor = 0;
    // An empty list has no entry to select.
    if (n > 0)
        game.shown.main.targetSelected = game.ListCursor;
    else
        game.ListCursor = 0;
    game.PlayerTurn = false;
}

}  // namespace

}  // namespace tarvex
