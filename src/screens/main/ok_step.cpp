// The OK step that moves the game on: the button, Enter and the timers all run it;
// the step itself is the rules' AdvanceOneStep, this is what the main window shows of it.
#include "screens/main/ok_step.h"

#include "rules/turn/cycle.h"
#include "rules/turn/step.h"
#include "screens/main/auto_play.h"
#include "screens/main/autosave.h"
#include "screens/orders/delegation.h"
#include "screens/orders/panels.h"

namespace tarvex {

namespace {

// Marks an OK step as running for as long as it lives, so that a timer tick,
// click or Enter arriving from inside one of the step's modal boxes finds the
// step busy and does nothing.
class OkStepScope {
public:
    explicit OkStepScope(Session& game) : game_(game) { game_.InOkStep = true; }
    ~OkStepScope() { game_.InOkStep = false; }
    OkStepScope(const OkStepScope&) = delete;
    OkStepScope& operator=(const OkStepScope&) = delete;

private:
    Session& game_;
};

}  // namespace

void TakeNextStep(Session& game) {
    if (game.InOkStep) return;
    OkStepScope running(game);
    // The season's autosave is told of once written, at the next step.
    if (game.autosaveWriter.Done()) FinishAutosave(game, true);
    MainWindowShown& main = game.shown.main;

    const bool seasonEnds = game.TurnStep >= kSeasonEndStep;
    // A held-down Enter makes one city's step, not several.
    if (!seasonEnds && game.OkLock >= 1) {
        game.TurnStart = false;
        return;
    }
    // The new season opens with a wait for OK; a city's step takes the prompt away while it acts.
    main.okPrompt = seasonEnds;
    const StepResult result = AdvanceOneStep(game);
    if (result == StepResult::SeasonStarted) {
        EndStrandedDelegation(game);
        Autosave(game);
        return;
    }
    if (result == StepResult::PlayerToOrder) OfferOrders(game);
    main.stepTimer = game.TurnStep <= kCityCount;
    game.OkLock = 0;
    // The button is disabled and enabled again to drop its keyboard focus; it ends enabled.
    main.okEnabled = true;
    // The prompt stands whenever the next step waits for the player: every step
    // when he asked to confirm each, at the season's end, and after his own
    // order or his defence, when the timer stays still until he presses OK.
    main.okPrompt = game.EnterAdvance || game.TurnStep > kCityCount || !game.AdvanceReady || !game.AutoAdvance;
}

void OfferOrders(Session& game) {
    // The delegation menu is live while one of his own cities chooses its order.
    game.shown.main.delegationMenu = true;
    OpenCommandMenu(game);
}

void PlayCityTurn(Session& game, int step) {
    if (step >= 1 && step <= kCityCount) game.ActingCityChanged(game.TurnOrder[step]);
    if (RunCityTurn(game, step)) OfferOrders(game);
}

void StepOnTimer(Session& game) {
    if (game.shown.main.paused) return;
    // A game the player commands no city of presses its own OK, at the season's start and end too.
    if (PlaysItself(game)) {
        TakeNextStep(game);
        return;
    }
    // A tick left over after the timer was switched off must not take a step.
    if (!game.shown.main.stepTimer) return;
    if (game.AdvanceReady && game.AutoAdvance) TakeNextStep(game);
}

void ReleaseEnterLock(Session& game) {
    game.OkLock = 0;
    game.shown.main.enterLockTimer = false;
}

}  // namespace tarvex
