// The main window's side panels: the idle panel with the message lines and the
// market, the command menus, the amount, target and delegation panels; built once
// and brought up to date with the game's shown state.
#include "screens/orders/panels.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

#include "screens/main/main_window.h"
#include "screens/main/ok_step.h"
#include "screens/orders/delegation.h"
#include "screens/orders/order_info.h"
#include "ui/main/main_window.h"
#include "ui/main/panel_layout.h"
#include "ui/qt/common.h"
#include "ui/qt/fit_text.h"

namespace tarvex::ui {

namespace {

// Under the odds of an attack: how they are reckoned, then the troops each side keeps.
constexpr const char* kOddsExplained =
    "この攻撃を戦法ごとに何千回も戦ってみた見込みです（相手はコンピュータの選び方で戦法を選ぶとして）\n";

// A refusal's numbers, dark red on the panels' cyan.
const QColor kHintText(170, 20, 20);

// The game's buttons are small: a caption that does not fit takes a smaller size.
void FitCaption(QPushButton* button) {
    const int room = button->width() - 6;
    button->setFont(ShrinkToFit(
        button->font(), [&](const QFont& f) { return QFontMetrics(f).horizontalAdvance(button->text()) <= room; }));
}

// A wrapped label whose text must be read whole: the largest size at which it fits.
void FitWrapped(QLabel* label) {
    const QSize room = label->contentsRect().size();
    label->setFont(ShrinkToFit(label->font(), [&](const QFont& f) { return WrapsWithin(f, label->text(), room); }));
}

constexpr const char* kRoomRight = "tarvexRoomRight";

// A label that sizes itself to its text, up to the panel's margin or the next
// control on its line; with nothing to say it takes no room.
void SetAutoSizeText(QLabel* label, const std::string& text, bool visible = true) {
    const QString q = Qs(text);
    const QVariant roomRight = label->property(kRoomRight);
    const int right = roomRight.isValid() ? roomRight.toInt() : label->parentWidget()->width() - Twips(kPanelMargin);
    const int room = right - label->x();
    SetFittedAutoSizeText(label, q, room);
    label->setVisible(visible && !q.isEmpty());
}

// The target and delegation lists are narrow. A city's name must be read
// whole, and a short list must show every entry: no sideways bar may take the
// room of the rows. Rows are as tall as their letters need; the type is
// narrowed, then made smaller, until the longest name fits.
void FitListToNames(QListWidget* list) {
    QFont font = list->font();
    int pixels = QFontInfo(GameFont()).pixelSize();
    font.setPixelSize(pixels);
    font.setStretch(QFont::Unstretched);
    const int margin = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
    const int inside = list->width() - 2 * list->frameWidth();
    const int bar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    // Rows keep the full type's height however small long names make the letters, so
    // that each stays as easy to hit as in the other lists.
    const int height = (QFontInfo(font).pixelSize() * 6 + 4) / 5;
    const auto fits = [&](const QFont& f) {
        const bool scrolled = list->count() * height > list->height() - 2 * list->frameWidth();
        const int room = inside - margin - (scrolled ? bar : 0);
        const QFontMetrics metrics(f);
        for (int row = 0; row < list->count(); ++row)
            if (metrics.horizontalAdvance(list->item(row)->text()) > room) return false;
        return true;
    };
    font = ShrinkToFit(font, fits);
    list->setFont(font);
    for (int row = 0; row < list->count(); ++row) list->item(row)->setSizeHint(QSize(0, height));
}

// A label that says what refused an order: dark red on the panel's cyan, hidden while empty.
void MarkAsHint(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kHintText);
    label->setPalette(palette);
}

// A name or number in the order panels' columns: kept to its cell, whatever its length.
void SetCellText(QLabel* label, const std::string& text) { SetFittedText(label, Qs(text)); }

void SetEditText(QLineEdit* edit, const std::string& text) {
    const QString q = Qs(text);
    if (edit->text() != q) edit->setText(q);
}

}  // namespace

QWidget* MainWindow::MakePanel(QWidget* client, Panel panel, int width, int height) {
    auto* frame = new QFrame(client);
    frame->setObjectName(PanelName(panel));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(kPanelBorder);
    Paint(frame, QApplication::palette().color(QPalette::Button));
    Place(frame, kPanelLeft, kPanelTop, width, height);
    // The controls are laid out from the inside of the border.
    auto* contents = new QWidget(frame);
    contents->setGeometry(kPanelBorder, kPanelBorder, frame->width() - 2 * kPanelBorder,
                          frame->height() - 2 * kPanelBorder);
    panels_[static_cast<int>(panel)] = frame;
    frame->hide();
    return contents;
}

QPushButton* MainWindow::MakeButton(QWidget* parent, const char* name, const char* caption, int left, int top,
                                    int width, int height, const std::function<void(Session&)>& handler) {
    auto* button = new QPushButton(Qs(caption), parent);
    button->setObjectName(name);
    Place(button, left, top, width, height);
    FitCaption(button);
    connect(button, &QPushButton::clicked, this, [this, handler] { Run(handler); });
    return button;
}

QLabel* MainWindow::MakePanelLabel(QWidget* parent, const char* name, const char* caption, int left, int top, int width,
                                   int height, bool cyan) {
    auto* label = new QLabel(Qs(caption), parent);
    label->setObjectName(name);
    if (width > 0) {
        Place(label, left, top, width, height);
    } else {
        // Sized by its text; one standing on the 240-twip grid of its panel keeps that height.
        label->move(Twips(left), Twips(top));
        if (height > 0) label->setFixedHeight(Twips(height));
        label->adjustSize();
    }
    if (cyan) Paint(label, kPaleCyan);
    return label;
}

void MainWindow::BuildPanels(QWidget* client) {
    BuildIdlePanel(client);
    BuildTopMenu(client);
    BuildCommandMenus(client);
    BuildAmountPanel(client);
    BuildTargetPanel(client);
    BuildDelegationPanel(client);
}

void MainWindow::BuildIdlePanel(QWidget* client) {
    // The idle panel with the message lines, the OK button and the market box.
    QWidget* p = MakePanel(client, Panel::IdlePanel, kIdlePanelWidth, kIdlePanelHeight);
    const std::array<const char*, 3> msgNames{"Line1", "Line2", "Line3"};
    for (int i = 0; i < 3; ++i) {
        msg_[i] = MakePanelLabel(p, msgNames[i], "", 120, 120 + 360 * i, 0, 0, false);
        Paint(msg_[i], kPaleOrange);
    }
    auto* market = new QFrame(p);
    market->setObjectName("MarketBox");
    market->setFrameStyle(QFrame::Box | QFrame::Plain);
    Place(market, kIdlePanelWidth - kPanelMargin - 1215 - 2 * 15 * kPanelBorder, 1200, 1215, 1335);
    MakePanelLabel(market, "MarketHead", "相場", 720, 120, 0, 240, false);
    MakePanelLabel(market, "MarketFoodLabel", "食料", 120, 360, 495, 255, false);
    MakePanelLabel(market, "MarketArmsLabel", "武器", 120, 720, 495, 255, false);
    MakePanelLabel(market, "MarketTroopsLabel", "兵", 120, 1080, 495, 255, false);
    foodPrice_ = MakePanelLabel(market, "FoodPrice", "", 720, 360, 495, 255, false);
    armsPrice_ = MakePanelLabel(market, "ArmsPrice", "", 720, 720, 495, 255, false);
    troopsPrice_ = MakePanelLabel(market, "TroopsPrice", "", 720, 1080, 495, 255, false);
    okButton_ = MakeButton(p, "OkButton", "OK", 120, 1440, 1215, 375, TakeNextStep);
    okPrompt_ = MakePanelLabel(p, "OkPrompt", "OKをおしてください", 120, 1920, 0, 0, false);
}

void MainWindow::BuildTopMenu(QWidget* client) {
    // The top menu of the player's city.
    QWidget* p = MakePanel(client, Panel::TopMenu, kCommandPanelWidth, kSidePanelHeight);
    MakePanelLabel(p, "TopMenuHead", "プレイヤーの番です", 120, 0, 0, 240, true);
    topMenuCity_ = MakePanelLabel(p, "TopMenuCity", "", 120, 240, 0, 240, true);
    MakeButton(p, "MilitaryButton", "1.軍事系", 0, 600, 1095, 375, OpenMilitaryMenu);
    MakeButton(p, "PoliticsButton", "2.政治系", 1200, 600, 1095, 375, OpenPoliticsMenu);
    MakeButton(p, "DoNothingButton", "3.何もしない", 0, 1080, 1095, 375, ChooseDoNothing);
    MakeButton(p, "FocusButton", "4.フォーカス", 1200, 1080, 1095, 375, FocusOnActingCity);
    // After a refused order, the numbers that refused it, where the player lands.
    topMenuHint_ = MakePanelLabel(p, "TopMenuHint", "", 120, 1680, 0, 240, true);
    MarkAsHint(topMenuHint_);
}

void MainWindow::BuildCommandMenus(QWidget* client) {
    const auto start = [](int kind) { return [kind](Session& g) { StartCommand(g, kind); }; };
    // The military menu.
    QWidget* p = MakePanel(client, Panel::MilitaryMenu, kCommandPanelWidth, kSidePanelHeight);
    MakeButton(p, "MoveButton", "1.移動", 120, 120, 975, 255, start(kMove));
    MakeButton(p, "AttackButton", "2.戦闘", 120, 480, 975, 255, start(kAttack));
    MakeButton(p, "RaiseTroopsButton", "3.兵増強", 1320, 120, 975, 255, start(kRaiseTroops));
    MakeButton(p, "StrengthenArmsButton", "4.武装強化", 1320, 480, 975, 255, start(kStrengthenArms));
    MakeButton(p, "MilitaryBackButton", "5.戻る", 120, 840, 975, 255, BackToTopMenu);

    // The politics menu.
    p = MakePanel(client, Panel::PoliticsMenu, kCommandPanelWidth, kSidePanelHeight);
    MakeButton(p, "InvestPowerButton", "1.国力増大", 120, 120, 975, 255, start(kInvestPower));
    MakeButton(p, "BuildTownButton", "2.町増築", 120, 480, 975, 255, start(kBuildTown));
    MakeButton(p, "WorkOnCastleButton", "3.城普請", 120, 840, 975, 255, start(kWorkOnCastle));
    MakeButton(p, "SellFoodButton", "4.食料売り", 1320, 120, 975, 255, start(kSellFood));
    MakeButton(p, "BuyFoodButton", "5.食料買い", 1320, 480, 975, 255, start(kBuyFood));
    MakeButton(p, "PoliticsBackButton", "6.戻る", 1320, 840, 975, 255, BackToTopMenu);
}

void MainWindow::BuildAmountPanel(QWidget* client) {
    // The amount panel: the amount of an investment or a market order.
    QWidget* p = MakePanel(client, Panel::AmountPanel, kCommandPanelWidth, kAmountPanelHeight);
    amountTitle_ = MakePanelLabel(p, "AmountTitle", "", 120, 240, 0, 240, true);
    amountPrice_ = MakePanelLabel(p, "AmountPrice", "", 120, 600, 0, 240, true);
    MakePanelLabel(p, "AmountLabel", "投資額", 360, 840, 555, 270, true);
    amountBox_ = new QLineEdit(p);
    amountBox_->setObjectName("AmountBox");
    Place(amountBox_, 960, 840, 1095, 270);
    connect(amountBox_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!syncing_) game_.shown.main.amountText = text.toStdString();
    });
    MakeButton(p, "AmountOkButton", "OK", 960, 1200, 1095, 375, ConfirmOrder);
    MakeButton(p, "AmountCancelButton", "Cancel", 960, 1680, 1095, 375, CancelOrder);
    amountStock_ = MakePanelLabel(p, "AmountStock", "", 120, 2160, 0, 240, true);
    amountHint_ = MakePanelLabel(p, "AmountHint", "", 120, 2400, 0, 240, true);
    MarkAsHint(amountHint_);
}

void MainWindow::BuildTargetPanel(QWidget* client) {
    // The target panel: the target, troops, food and gold of a move or an attack; under
    // them the numbers the order goes by.
    QWidget* p = MakePanel(client, Panel::TargetPanel, kTargetPanelWidth, kTargetPanelHeight);
    constexpr int kLeftWidth = 1755;    // the list and the buttons
    constexpr int kRightColumn = 2460;  // the amount boxes and their questions
    targetTitle_ = MakePanelLabel(p, "TargetTitle", "", 120, 0, 0, 240, true);
    // The title keeps clear of "兵力数は?" beside it.
    targetTitle_->setProperty(kRoomRight, Twips(kRightColumn - kPanelMargin));
    MakePanelLabel(p, "TargetLabel", "移動先は?", 120, 360, kLeftWidth, 240, true);
    targetList_ = new QListWidget(p);
    targetList_->setObjectName("TargetList");
    Place(targetList_, 120, 600, kLeftWidth, 600);
    targetList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(targetList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (syncing_) return;
        game_.shown.main.targetSelected = row;
        // The chosen target's numbers follow the choice at once.
        SyncOrderNumbers();
    });
    const std::array<const char*, 3> amountLabels{"TroopsLabel", "FoodLabel", "GoldLabel"};
    const std::array<const char*, 3> amountCaptions{"兵力数は?", "食料の数は?", "金の数は?"};
    const std::array<int, 3> labelTops{120, 720, 1560};
    const std::array<int, 3> boxTops{360, 1080, 1800};
    for (int i = 0; i < 3; ++i) {
        MakePanelLabel(p, amountLabels[i], amountCaptions[i], kRightColumn, labelTops[i], 1095, 240, true);
        QLineEdit* edit = new QLineEdit(p);
        edit->setObjectName(QString("AmountBox%1").arg(i));
        Place(edit, kRightColumn, boxTops[i], 1095, 270);
        connect(edit, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (syncing_) return;
            game_.shown.main.orderAmounts[i] = text.toStdString();
            // The odds of an attack follow the troops as they are typed.
            if (i == 0) SyncOrderNumbers();
        });
        amountBoxes_[i] = edit;
    }
    MakeButton(p, "TargetOkButton", "OK", 120, 1200, kLeftWidth, 330, ConfirmOrder);
    MakeButton(p, "TargetCancelButton", "Cancel", 120, 1560, kLeftWidth, 330, CancelOrder);
    // A pixel higher than laid out, so that its bottom edge stays inside the panel's border.
    MakeButton(p, "AttackHelpButton", "ヘルプ", 120, 1905, kLeftWidth, 330, ShowAttackHelp);

    BuildOrderNumbers(p);
}

void MainWindow::BuildOrderNumbers(QWidget* p) {
    // The numbers: a heading row, the acting city, the chosen target, its owner. Each
    // city shows what its order needs: the acting city what it sends, the target what it
    // holds against an attack. Below them a refusal's numbers, then room for one line more.
    constexpr int kNameWidth = 1230;
    constexpr int kColumnLeft = 1410, kColumnStep = 435, kColumnWidth = 405;
    constexpr int kHeadTop = 2340, kCityTop = 2580, kTargetTop = 2820, kOwnerTop = 3060, kHintTop = 3300,
                  kOddsTop = 3540;
    enum Column { kTroops, kFood, kGold, kArms, kCastle, kColumns };
    const std::array<const char*, kColumns> heads{"兵", "食料", "金", "武装", "城"};
    const std::array<const char*, kColumns> headNames{"OrderHeadTroops", "OrderHeadFood", "OrderHeadGold",
                                                      "OrderHeadArms", "OrderHeadCastle"};
    const auto cell = [&](const char* name, int column, int top, const char* caption) {
        QLabel* label =
            MakePanelLabel(p, name, caption, kColumnLeft + column * kColumnStep, top, kColumnWidth, 240, true);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    };
    for (int c = 0; c < kColumns; ++c) cell(headNames[c], c, kHeadTop, heads[c]);
    orderCity_ = MakePanelLabel(p, "OrderCity", "", 120, kCityTop, kNameWidth, 240, true);
    orderTarget_ = MakePanelLabel(p, "OrderTarget", "", 120, kTargetTop, kNameWidth, 240, true);
    orderCityValues_ = {cell("OrderCityTroops", kTroops, kCityTop, ""), cell("OrderCityFood", kFood, kCityTop, ""),
                        cell("OrderCityGold", kGold, kCityTop, ""), cell("OrderCityArms", kArms, kCityTop, "")};
    orderTargetValues_ = {
        cell("OrderTargetTroops", kTroops, kTargetTop, ""), cell("OrderTargetFood", kFood, kTargetTop, ""),
        cell("OrderTargetArms", kArms, kTargetTop, ""), cell("OrderTargetCastle", kCastle, kTargetTop, "")};
    MakePanelLabel(p, "OrderOwnerLabel", "領主", 120, kOwnerTop, kNameWidth, 240, true);
    orderOwner_ = MakePanelLabel(p, "OrderOwner", "", kColumnLeft, kOwnerTop,
                                 kColumnStep * (kColumns - 1) + kColumnWidth, 240, true);
    targetHint_ = MakePanelLabel(p, "TargetHint", "", 120, kHintTop, 0, 240, true);
    MarkAsHint(targetHint_);
    attackOdds_ = MakePanelLabel(p, "AttackOdds", "", 120, kOddsTop, 0, 240, true);
    attackOddsHabit_ = MakePanelLabel(p, "AttackOddsHabit", "", 120, kOddsTop + 240, 0, 240, true);
}

void MainWindow::BuildDelegationPanel(QWidget* client) {
    // The delegation panel: delegating cities to the computer and taking them back.
    QWidget* p = MakePanel(client, Panel::DelegationPanel, kCommandPanelWidth, kSidePanelHeight);
    delegationMode_ = MakePanelLabel(p, "DelegationMode", "", 120, 240, 0, 240, true);
    delegationList_ = new QListWidget(p);
    delegationList_->setObjectName("DelegationList");
    Place(delegationList_, 120, 600, 1335, 1320);
    delegationList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(delegationList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!syncing_) game_.shown.main.delegationSelected = row;
    });
    MakeButton(p, "DelegationOkButton", "OK", 1680, 360, 1215, 375, ApplyDelegation);
    MakeButton(p, "DelegationCancelButton", "Cancel", 1680, 960, 1215, 375, CancelOrder);
    QLabel* hint = MakePanelLabel(p, "DelegationHint", "設定したらCancelでもどります", 1680, 1440, 1335, 780, true);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FitWrapped(hint);
}

void MainWindow::SyncList(QListWidget* list, std::vector<std::string>& cache, const std::vector<std::string>& items,
                          int selected) {
    if (cache != items) {
        list->clear();
        for (const std::string& item : items) list->addItem(Qs(item));
        FitListToNames(list);
        cache = items;
    }
    const int row = selected >= 0 && selected < list->count() ? selected : -1;
    if (list->currentRow() != row) list->setCurrentRow(row);
    if (row < 0) list->clearSelection();
}

void MainWindow::SyncPanels() {
    const MainWindowShown& m = game_.shown.main;
    for (int i = 1; i <= 7; ++i) {
        const bool shown = i == static_cast<int>(m.activePanel);
        if (panels_[i]->isHidden() == shown) panels_[i]->setVisible(shown);
    }
    for (int i = 0; i < 3; ++i) SetAutoSizeText(msg_[i], game_.Lines[i].text, game_.Lines[i].visible);
    okPrompt_->setVisible(m.okPrompt);
    okButton_->setEnabled(m.okEnabled);
    const PriceTexts prices = ShownPrices(game_);
    foodPrice_->setText(Qs(prices.food));
    armsPrice_->setText(Qs(prices.arms));
    troopsPrice_->setText(Qs(prices.troops));

    SetAutoSizeText(topMenuCity_, m.topMenuCity);
    SetAutoSizeText(amountTitle_, m.amountTitle);
    SetAutoSizeText(amountPrice_, m.amountPrice);
    SetEditText(amountBox_, m.amountText);
    SetAutoSizeText(targetTitle_, m.targetTitle);
    SyncList(targetList_, targetItems_, m.targets, m.targetSelected);
    for (int i = 0; i < 3; ++i) SetEditText(amountBoxes_[i], m.orderAmounts[i]);
    SetAutoSizeText(delegationMode_, m.delegationMode);
    SyncList(delegationList_, delegationItems_, m.delegationNames, m.delegationSelected);
    for (QLabel* hint : {topMenuHint_, amountHint_, targetHint_}) SetAutoSizeText(hint, m.orderHint);
    SyncOrderNumbers();
}

void MainWindow::SyncOrderNumbers() {
    const OrderNumbers n = ShownOrderNumbers(game_);
    SetAutoSizeText(amountStock_, n.stock);
    SetCellText(orderCity_, n.city);
    const std::array<const std::string*, 4> city{&n.troops, &n.food, &n.gold, &n.arms};
    for (std::size_t i = 0; i < city.size(); ++i) SetCellText(orderCityValues_[i], *city[i]);
    SetCellText(orderTarget_, n.target);
    const std::array<const std::string*, 4> target{&n.targetTroops, &n.targetFood, &n.targetArms, &n.targetCastle};
    for (std::size_t i = 0; i < target.size(); ++i) SetCellText(orderTargetValues_[i], *target[i]);
    SetCellText(orderOwner_, n.owner);
    // Narrowed to the panel's width when the numbers run long; the tooltip says how they are reckoned.
    SetAutoSizeText(attackOdds_, n.odds);
    SetAutoSizeText(attackOddsHabit_, n.oddsHabit);
    const QString tip = n.odds.empty() ? QString() : Qs(kOddsExplained) + Qs(n.oddsEach) + "\n" + Qs(n.oddsLeft);
    for (QLabel* label : {attackOdds_, attackOddsHabit_})
        if (label->toolTip() != tip) label->setToolTip(tip);
}

void MainWindow::ApplyFocusRequest() {
    const FocusRequest& f = game_.shown.main.focus;
    if (f.serial == appliedFocusSerial_) return;
    appliedFocusSerial_ = f.serial;
    QWidget* target = nullptr;
    switch (f.control) {
        case Control::AmountBox:
            target = amountBox_;
            break;
        case Control::TroopsBox:
            target = amountBoxes_[0];
            break;
        case Control::FoodBox:
            target = amountBoxes_[1];
            break;
        case Control::GoldBox:
            target = amountBoxes_[2];
            break;
        case Control::TargetList:
            target = targetList_;
            break;
        default:
            break;
    }
    if (!target) return;
    target->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(target)) {
        // The caret at the start and the whole text chosen, so that typing replaces it.
        const int length = static_cast<int>(edit->text().length());
        edit->setSelection(length, -length);
    }
}

}  // namespace tarvex::ui
