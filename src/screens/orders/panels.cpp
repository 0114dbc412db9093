// The player's command menus and input panels, and the dispatch of an order.
#include "screens/orders/panels.h"

#include "rules/economy/invest.h"
#include "rules/economy/market.h"
#include "rules/port/screen.h"
#include "rules/turn/messages.h"
#include "rules/world/numbers.h"
#include "screens/main/main_window.h"
#include "screens/orders/attack.h"
#include "screens/orders/move.h"
#include "screens/orders/order_info.h"

namespace tarvex {

namespace {

void ReturnToTopMenu(Session& game);
void PresetAmount(Session& game);

// The numbers behind a refusal stay in view, or what an earlier refusal left goes.
void LeaveHint(Session& game, int kind, std::string hint) {
    MainWindowShown& main = game.shown.main;
    main.orderHint = std::move(hint);
    main.orderHintKind = main.orderHint.empty() ? 0 : kind;
}

std::string CurrentName(const Session& game) {
    return IsValidCity(game.CurrentCity) ? game.Cities[game.CurrentCity].Name : std::string();
}

// What the amount panel says about the order, and the price the player pays.
struct AmountOrder {
    const char* summary;
    const char* priceLabel;  // nullptr: no price for this order
    double World::*price;
};

const AmountOrder* AmountOrderFor(int kind) {
    static const AmountOrder kOrders[] = {
        {"兵増強:", "兵:", &World::TroopsPrice},    // kRaiseTroops
        {"武装強化:", "武器:", &World::ArmsPrice},  // kStrengthenArms
        {"国力増大:", nullptr, nullptr},            // kInvestPower
        {"町建設:", nullptr, nullptr},              // kBuildTown
        {"城普請:", nullptr, nullptr},              // kWorkOnCastle
        {"食料売り:", "食料:", &World::FoodPrice},  // kSellFood
        {"食料買い:", "食料:", &World::FoodPrice},  // kBuyFood
    };
    if (kind < kRaiseTroops || kind > kBuyFood) return nullptr;
    return &kOrders[kind - kRaiseTroops];
}

bool RunOrder(Session& game, int kind, int city) {
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

void ShowPanel(Session& game, Panel panel) {
    MainWindowShown& main = game.shown.main;
    main.amountPrice.clear();
    // Every panel stands where the idle panel stands; the window places it there.
    main.activePanel = panel;
}

void OpenCommandMenu(Session& game) {
    ShowPanel(game, Panel::TopMenu);
    game.shown.main.topMenuCity = CurrentName(game);
    // A new city's turn: an earlier city's refusal says nothing about this one.
    LeaveHint(game, 0, {});
}

namespace {
void ReturnToTopMenu(Session& game) {
    ShowPanel(game, Panel::TopMenu);
    game.shown.main.topMenuCity = CurrentName(game);
}

}  // namespace

void StartCommand(Session& game, int kind) {
    MainWindowShown& main = game.shown.main;
    const int city = game.CurrentCity;
    // A button of a panel that has already given way to the idle panel: the
    // city's order is finished and a second one must not follow.
    if (!IsValidCity(city) || game.PlayerActed) return;
    if (kind != main.orderHintKind) LeaveHint(game, 0, {});
    if (kind == kMove || kind == kAttack) {
        game.CommandKind = kind;
        ShowPanel(game, Panel::TargetPanel);
        main.targetTitle = (kind == kMove ? "移動:" : "戦闘:") + CurrentName(game);
        const bool ready = kind == kMove ? PrepareMove(game, city) : PrepareAttack(game, city);
        if (!ready) ReturnToTopMenu(game);
        return;
    }
    if (const AmountOrder* order = AmountOrderFor(kind)) {
        game.CommandKind = kind;
        ShowPanel(game, Panel::AmountPanel);
        PresetAmount(game);
        main.amountTitle = order->summary + CurrentName(game);
        if (order->priceLabel) main.amountPrice = order->priceLabel + FormatNumber(game.*(order->price));
        return;
    }
    if (kind == kDoNothing) {
        Question question;
        question.text = "何もしない";
        if (game.screen->Ask(game, question) == Answer::Cancel) {
            ReturnToTopMenu(game);
            return;
        }
        ShowMsg2(game, "何もしない");
        FinishCommand(game);
    }
}

void ExecuteCommand(Session& game) {
    const int kind = game.CommandKind;
    const int city = game.CurrentCity;
    if (!IsValidCity(city) || game.PlayerActed) return;
    if (AmountOrderFor(kind)) {
        const auto amount = ParseRoundedAmount(game.shown.main.amountText);
        if (!amount) {
            LeaveHint(game, kind, {});
            Tell(game, "整数を入力してください");
            ReturnToTopMenu(game);
            return;
        }
        // A negative amount would run every order backwards (selling gold for food,
        // investing to lose power); it is refused like any other unreadable entry.
        if (*amount < 0) {
            LeaveHint(game, kind, {});
            Tell(game, "0以上の数を入力してください");
            ReturnToTopMenu(game);
            return;
        }
        game.OrderAmount = *amount;
    }
    const bool done = RunOrder(game, kind, city);
    if (done) {
        FinishCommand(game);
    } else {
        LeaveHint(game, kind, RefusalHint(game, kind, city));
        ReturnToTopMenu(game);
    }
}

void FinishCommand(Session& game) {
    // An attack's order was already used by the battle's settlement.
    CompleteOrder(game);
    MainWindowShown& main = game.shown.main;
    main.topMenuCity.clear();
    main.amountTitle.clear();
    LeaveHint(game, 0, {});
    ShowPanel(game, Panel::IdlePanel);
    // The next city acts only when the player presses OK: say so.
    main.okPrompt = true;
    main.delegationMenu = false;
}

namespace {
void PresetAmount(Session& game) {
    const City& c = game.Cities[game.CurrentCity];
    game.shown.main.amountText = Str(game.CommandKind == kSellFood ? c.Food : c.Gold);
    RequestFocus(game, Control::AmountBox);
}

}  // namespace

void RequestFocus(Session& game, Control control) {
    FocusRequest& focus = game.shown.main.focus;
    focus.control = control;
    ++focus.serial;
}

void OpenMilitaryMenu(Session& game) { ShowPanel(game, Panel::MilitaryMenu); }

void OpenPoliticsMenu(Session& game) { ShowPanel(game, Panel::PoliticsMenu); }

void ChooseDoNothing(Session& game) { StartCommand(game, kDoNothing); }

void FocusOnActingCity(Session& game) {
    if (IsValidCity(game.CurrentCity)) FocusCity(game, game.CurrentCity);
}

void BackToTopMenu(Session& game) { ShowPanel(game, Panel::TopMenu); }

void CancelOrder(Session& game) { ShowPanel(game, Panel::TopMenu); }

void ConfirmOrder(Session& game) { ExecuteCommand(game); }

void ShowAttackHelp(Session& game) { Tell(game, "方向キーでタブ移動します"); }

}  // namespace tarvex
