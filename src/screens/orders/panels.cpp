// The player's command menus and input panels, and the dispatch of an order.
#include "screens/orders/panels.h"

#include "rules/orders/order.h"
#include "rules/port/screen.h"
#include "rules/turn/messages.h"
#include "rules/world/numbers.h"
#include "screens/main/main_window.h"
#include "screens/orders/attack.h"
#include "screens/orders/move.h"

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

// The order in the panel's boxes; a refusal when an entry reads as no whole number.
std::optional<Refusal> ReadOrder(const Session& game, int kind, int city, Order& order) {
    const MainWindowShown& main = game.shown.main;
    order.kind = kind;
    if (kind == kMove || kind == kAttack) {
        order.target = SelectedTarget(game);
        // Without a chosen target the check refuses before any box is read.
        if (order.target == 0 || order.target == city) return std::nullopt;
        int* fields[] = {&order.troops, &order.food, &order.gold};
        for (int i = 0; i < 3; ++i) {
            const std::optional<int> amount = ParseFlooredAmount(main.orderAmounts[i]);
            if (!amount) return Refusal{RefusalCode::NotANumber, "整数を入力してください", {}};
            *fields[i] = *amount;
        }
    } else if (AmountOrderFor(kind)) {
        const std::optional<int> amount = ParseRoundedAmount(main.amountText);
        if (!amount) return Refusal{RefusalCode::NotANumber, "整数を入力してください", {}};
        order.amount = *amount;
    }
    return std::nullopt;
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
        GiveOrder(game, game.CurrentCity, Order{});
        FinishCommand(game);
    }
}

void ExecuteCommand(Session& game) {
    const int city = game.CurrentCity;
    if (!IsValidCity(city) || game.PlayerActed) return;
    if (GiveOrderFromPanel(game, game.CommandKind, city))
        FinishCommand(game);
    else
        ReturnToTopMenu(game);
}

bool GiveOrderFromPanel(Session& game, int kind, int city) {
    if (!IsValidCity(city)) return false;
    Order order;
    std::optional<Refusal> refusal = ReadOrder(game, kind, city, order);
    if (!refusal) refusal = CheckOrder(game, city, order);
    // A Cancel to the attack's question is no refusal: nothing to explain.
    if (!refusal && kind == kAttack && !ConfirmAttack(game, order.target)) {
        LeaveHint(game, kind, {});
        return false;
    }
    if (!refusal) refusal = GiveOrder(game, city, order);
    if (!refusal) return true;
    Tell(game, refusal->text);
    LeaveHint(game, kind, refusal->hint);
    return false;
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
