// The player's command menus and input panels, and the dispatch of an order.
#include "commands/panels.h"

#include "commands/attack.h"
#include "commands/move.h"
#include "economy/invest.h"
#include "economy/market.h"
#include "state/mapview.h"
#include "state/numbers.h"
#include "state/refresh.h"
#include "state/screen.h"
#include "turn/messages.h"

namespace tarvex {

namespace {

bool IsValidCity(int city) { return city >= 1 && city <= kCityCount; }

std::string CurrentName(const Game& game) {
    return IsValidCity(game.CurrentCity) ? game.Cities[game.CurrentCity].Name : std::string();
}

// What the amount panel says about the order, and the price the player pays.
struct AmountOrder {
    const char* summary;
    const char* priceLabel;  // nullptr: no price for this order
    double Game::*price;
};

const AmountOrder* AmountOrderFor(int kind) {
    static const AmountOrder kOrders[] = {
        {"兵増強:", "兵:", &Game::TroopsPrice},    // kRaiseTroops
        {"武装強化:", "武器:", &Game::ArmsPrice},  // kStrengthenArms
        {"国力増大:", nullptr, nullptr},           // kInvestPower
        {"町建設:", nullptr, nullptr},             // kBuildTown
        {"城普請:", nullptr, nullptr},             // kWorkOnCastle
        {"食料売り:", "食料:", &Game::FoodPrice},  // kSellFood
        {"食料買い:", "食料:", &Game::FoodPrice},  // kBuyFood
    };
    if (kind < kRaiseTroops || kind > kBuyFood) return nullptr;
    return &kOrders[kind - kRaiseTroops];
}

bool RunOrder(Game& game, int kind, int city) {
    switch (kind) {
        case kMove:
            return ExecuteMove(game, city);
        case kAttack:
            return ExecuteAttack(game, city);
        case kRaiseTroops:
            return ReinforceTroops(game, city);
        case kStrengthenArms:
            return StrengthenArms(game, city);
        case kInvestPower:
            return InvestPower(game, city);
        case kBuildTown:
            return BuildTown(game, city);
        case kWorkOnCastle:
            return WorkOnCastle(game, city);
        case kSellFood:
            return SellFood(game, city);
        case kBuyFood:
            return BuyFood(game, city);
        default:
            return false;
    }
}

}  // namespace

void ShowPanel(Game& game, Panel panel) {
    MainWindowShown& main = game.shown.main;
    main.lblSouba.clear();
    // Every panel stands where the idle panel stands; the window places it there.
    main.activePanel = panel;
}

void OpenCommandMenu(Game& game) {
    game.AdvanceReady = false;
    ShowPanel(game, Panel::Pic2);
    game.shown.main.lblPic2 = CurrentName(game);
}

void ReturnToTopMenu(Game& game) {
    ShowPanel(game, Panel::Pic2);
    game.shown.main.lblPic2 = CurrentName(game);
}

void StartCommand(Game& game, int kind) {
    MainWindowShown& main = game.shown.main;
    const int city = game.CurrentCity;
    // A button of a panel that has already given way to the idle panel: the
    // city's order is finished and a second one must not follow.
    if (!IsValidCity(city) || game.PlayerActed) return;
    if (kind == kMove || kind == kAttack) {
        game.CommandKind = kind;
        ShowPanel(game, Panel::Pic6);
        main.lblPic6 = (kind == kMove ? "移動:" : "戦闘:") + CurrentName(game);
        const bool ready = kind == kMove ? PrepareMove(game, city) : PrepareAttack(game, city);
        if (!ready && !game.Ended) ReturnToTopMenu(game);
        return;
    }
    if (const AmountOrder* order = AmountOrderFor(kind)) {
        game.CommandKind = kind;
        ShowPanel(game, Panel::Pic5);
        PresetAmount(game);
        main.lblPic5 = order->summary + CurrentName(game);
        if (order->priceLabel) main.lblSouba = order->priceLabel + FormatNumber(game.*(order->price));
        return;
    }
    if (kind == kDoNothing) {
        Question question;
        question.text = "何もしない";
        if (game.screen->Ask(game, question) == Answer::Cancel) {
            if (!game.Ended) ReturnToTopMenu(game);
            return;
        }
        if (game.Ended) return;
        ShowMsg2(game, "何もしない");
        FinishCommand(game);
    }
}

void ExecuteCommand(Game& game) {
    const int kind = game.CommandKind;
    const int city = game.CurrentCity;
    if (!IsValidCity(city) || game.PlayerActed) return;
    if (AmountOrderFor(kind)) {
        const auto amount = ParseRoundedAmount(game.shown.main.txtPic5);
        if (!amount) {
            game.screen->Message(game, "整数を入力してください", "");
            if (!game.Ended) ReturnToTopMenu(game);
            return;
        }
        // A negative amount would run every order backwards (selling gold for food,
        // investing to lose power); it is refused like any other unreadable entry.
        if (*amount < 0) {
            game.screen->Message(game, "0以上の数を入力してください", "");
            if (!game.Ended) ReturnToTopMenu(game);
            return;
        }
        game.Pic5Amount = *amount;
    }
    const bool done = RunOrder(game, kind, city);
    if (game.Ended) return;
    if (done)
        FinishCommand(game);
    else
        ReturnToTopMenu(game);
}

void FinishCommand(Game& game) {
    // The battle's settlement finishes the order, and the attack order finishes it
    // again when it returns: only the first finish of a city's turn counts.
    if (game.PlayerActed) return;
    MainWindowShown& main = game.shown.main;
    main.lblPic2.clear();
    main.lblPic5.clear();
    if (IsValidCity(game.CurrentCity)) RefreshCity(game, game.CurrentCity);
    if (game.Ended) return;
    ShowPanel(game, Panel::Pic1);
    // The next city acts only when the player presses OK: say so.
    main.lblOkVisible = true;
    main.mnuIninKaijyo = false;
    game.PlayerActed = true;
}

void PresetAmount(Game& game) {
    const City& c = game.Cities[game.CurrentCity];
    game.shown.main.txtPic5 = Str(game.CommandKind == kSellFood ? c.Food : c.Gold);
    RequestFocus(game, Control::TxtPic5);
}

void RequestFocus(Game& game, Control control) {
    FocusRequest& focus = game.shown.main.focus;
    focus.control = control;
    ++focus.serial;
}

void Form1_cmdGunji_Click(Game& game) { ShowPanel(game, Panel::Pic3); }

void Form1_cmdSeiji_Click(Game& game) { ShowPanel(game, Panel::Pic4); }

void Form1_cmdNothing_Click(Game& game) { StartCommand(game, kDoNothing); }

void Form1_cmdFocus_Click(Game& game) {
    if (IsValidCity(game.CurrentCity)) FocusCity(game, game.CurrentCity);
}

void Form1_cmdReturn_Click(Game& game) { ShowPanel(game, Panel::Pic2); }

void Form1_cmdCancel_Click(Game& game) { ShowPanel(game, Panel::Pic2); }

void Form1_cmdOkpic_Click(Game& game) { ExecuteCommand(game); }

void Form1_cmdSentoHelp_Click(Game& game) { game.screen->Message(game, "方向キーでタブ移動します", ""); }

}  // namespace tarvex
