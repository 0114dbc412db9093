// The turn cycle: OK steps, the shuffled turn order, seasons, harvest, unification.
#include "turn/cycle.h"

#include <algorithm>
#include <utility>

#include "ai/computer.h"
#include "commands/panels.h"
#include "events/historical.h"
#include "events/seasonal.h"
#include "state/newgame.h"
#include "state/numbers.h"
#include "state/refresh.h"
#include "turn/messages.h"

namespace tarvex {

namespace {

constexpr int kSeasonAdvanceStep = kCityCount + 1;
constexpr int kSpring = 1;
constexpr int kAutumn = 3;
constexpr int kWinter = 4;

// Marks an OK step as running for as long as it lives, so that a timer tick,
// click or Enter arriving from inside one of the step's modal boxes finds the
// step busy and does nothing.
class OkStepScope {
public:
    explicit OkStepScope(Game& game) : game_(game) { game_.InOkStep = true; }
    ~OkStepScope() { game_.InOkStep = false; }
    OkStepScope(const OkStepScope&) = delete;
    OkStepScope& operator=(const OkStepScope&) = delete;

private:
    Game& game_;
};

}  // namespace

int ShuffleCoin(Game& game) {
    // The single-precision draw's seven-digit decimal form, rounded halves to
    // even, is 1 exactly when the draw itself exceeds 0.5: the floats nearest
    // below 0.5 print as 0.5000000 and round to 0, the one just above prints
    // as 0.5000001. Comparing directly spares two number conversions a coin.
    return static_cast<float>(Rnd(game)) > 0.5f ? 1 : 0;
}

namespace {

// The autumn income of one value: never below nothing, and only up to 999.
void Gather(int& value, int civility, int base) {
    if (value >= kMaxValue) return;
    // A city whose people have turned against it yields nothing, it does not pay.
    const double income = std::max(0.0, static_cast<double>(civility) * base / 50.0);
    value = std::min(kMaxValue, Nearest(value + income));
}

}  // namespace

void Form1_cmdOk_Click(Game& game) {
    if (game.InOkStep || game.Ended) return;
    OkStepScope running(game);
    MainWindowShown& main = game.shown.main;

    game.TurnStart = false;
    if (game.TurnStep > kCityCount) {
        game.TurnStep = 1;
        RequestSeasonAdvance(game);
        return;
    }
    if (game.OkLock >= 1) return;

    if (game.TurnStep < 1) game.TurnStep = 1;
    if (game.TurnStep == 1) BuildTurnOrder(game);
    main.lblOkVisible = false;
    RunCityTurn(game, game.TurnStep);
    if (game.Ended) return;
    ++game.TurnStep;
    main.tmrOkclick = game.TurnStep <= kCityCount;
    RefreshAllCities(game);
    if (game.Ended) return;
    game.OkLock = 0;
    // The button is disabled and enabled again to drop its keyboard focus; it ends enabled.
    main.cmdOkEnabled = true;
    // The prompt stands whenever the next step waits for the player: every step
    // when he asked to confirm each, at the season's end, and after his own
    // order or his defence, when the timer stays still until he presses OK.
    main.lblOkVisible = game.EnterAdvance || game.TurnStep > kCityCount || !game.AdvanceReady || !game.AutoAdvance;
}

void RunCityTurn(Game& game, int step) {
    if (game.PlayerActed) game.AdvanceReady = true;
    game.PlayerActed = false;
    if (step < 1 || step > kCityCount) return;
    const int city = game.TurnOrder[step];
    if (city < 1 || city > kCityCount) return;
    const City& c = game.Cities[city];
    ShowMsg(game, Str(city) + " " + c.Name + " " + c.Owner);
    if (game.Ended) return;
    if (!IsPlayerRun(game, city)) {
        RunComputerCity(game, city);
        return;
    }
    ShowMsg(game, "あなたの番です " + c.Name + "国");
    if (game.Ended) return;
    game.shown.main.mnuIninKaijyo = true;
    game.PlayerTurn = true;
    game.CurrentCity = city;
    OpenCommandMenu(game);
}

void BuildTurnOrder(Game& game) {
    for (int i = 1; i <= kCityCount; ++i) game.TurnOrder[i] = i;
    for (int round = 0; round < 3; ++round)
        for (int i = kCityCount; i >= 2; --i)
            if (ShuffleCoin(game) == 1) std::swap(game.TurnOrder[i], game.TurnOrder[1]);
}

void RequestSeasonAdvance(Game& game) {
    ++game.AdvanceGuard;
    if (game.AdvanceGuard == 1) AdvanceSeason(game);
}

void AdvanceSeason(Game& game) {
    game.TurnStart = true;
    game.AdvanceGuard = 0;
    if (game.Season >= kWinter) {
        game.Season = kSpring;
        ++game.Year;
    } else {
        ++game.Season;
    }
    SetMainCaption(game);
    game.shown.main.lblOkVisible = true;

    if (game.Season == kSpring) {
        RunHistoricalEvents(game);
        if (game.Ended) return;
    }
    if (game.Season == kAutumn) {
        Harvest(game);
        // The season starts with a wait for OK, when the player reads the
        // panels and may save: they must show what the harvest brought.
        RefreshAllCities(game);
        if (game.Ended) return;
        DrawPrices(game);
        RunSeasonalEvent(game);
        if (game.Ended) return;
    }
    ShowMsg(game, SeasonCaption(game) + "です");
    if (game.Ended) return;
    CheckUnification(game);
}

void Harvest(Game& game) {
    for (int city = 1; city <= kCityCount; ++city) {
        City& c = game.Cities[city];
        Gather(c.Gold, c.Civility, c.Town);
        Gather(c.Food, c.Civility, c.Power);
    }
}

bool CheckUnification(Game& game) {
    for (int city = 1; city < kCityCount; ++city)
        if (game.Cities[city].Owner != game.Cities[city + 1].Owner) return false;
    ShowMsg(game, game.Cities[1].Owner + "が統一しました");
    EndGame(game);
    return true;
}

void Form1_tmrOkclick_Timer(Game& game) {
    // A tick left over after the timer was switched off must not take a step.
    if (!game.shown.main.tmrOkclick) return;
    if (game.AdvanceReady && game.AutoAdvance) Form1_cmdOk_Click(game);
}

void Form1_tmrOk_Timer(Game& game) {
    game.OkLock = 0;
    game.shown.main.tmrOk = false;
}

}  // namespace tarvex
