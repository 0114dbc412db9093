// The main window: map, side panels, menus, scroll bars, timers and keys.
#include "ui/main/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QVariantAnimation>
#include <algorithm>

#include "rules/save/savefile.h"
#include "rules/turn/cycle.h"
#include "screens/main/auto_play.h"
#include "screens/main/autosave.h"
#include "screens/main/keys.h"
#include "screens/main/main_window.h"
#include "screens/main/ok_step.h"
#include "screens/main/quit.h"
#include "screens/main/status_bar.h"
#include "screens/map/follow.h"
#include "screens/map/war_map.h"
#include "screens/orders/delegation.h"
#include "screens/orders/order_info.h"
#include "screens/orders/panels.h"
#include "screens/session/keycodes.h"
#include "screens/settings/settings.h"
#include "ui/chronicle/chronicle_window.h"
#include "ui/map/map_view.h"
#include "ui/qt/common.h"
#include "ui/qt/fit_text.h"
#include "ui/qt/key_preview.h"
#include "ui/qt/preferences.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {

namespace {

constexpr int kPanelLeft = 240;  // every side panel stands here, over the map
constexpr int kPanelTop = 240;
constexpr int kIdlePanelWidth = 3735;
constexpr int kCommandPanelWidth = 3135;
constexpr int kSidePanelHeight = 2295;
// The idle panel is taller: its market box stands below the third message line.
constexpr int kIdlePanelHeight = 2700;
constexpr int kPanelMargin = 120;   // the room the panels leave at the sides of their texts
constexpr int kMapBeside = 160;     // pixels of map the smallest window keeps right of the idle panel
constexpr int kMapBelow = 120;      // and below it
constexpr int kTimerInterval = 10;  // milliseconds
constexpr int kPanelBorder = 2;     // pixels of the sunken frame around a side panel's contents

// Under the odds of an attack: how they are reckoned, then the troops each side keeps.
constexpr const char* kOddsExplained =
    "この攻撃を戦法ごとに何千回も戦ってみた見込みです（相手はコンピュータの選び方で戦法を選ぶとして）\n";

// The amount panel's foot holds the gold and food at hand and a refused amount's numbers.
constexpr int kAmountPanelHeight = 2760;
// The move and attack panel is wider and taller: both cities' numbers stand under its
// boxes, in columns, with a line for a refusal's numbers and a line to spare.
constexpr int kTargetPanelWidth = 3735;
constexpr int kTargetPanelHeight = 4140;
constexpr int kTallestPanel = std::max({kIdlePanelHeight, kAmountPanelHeight, kTargetPanelHeight});
constexpr int kWidestPanel = std::max(kIdlePanelWidth, kTargetPanelWidth);
// A refusal's numbers, dark red on the panels' cyan.
const QColor kHintText(170, 20, 20);

// The game's buttons are small: a caption that does not fit takes a smaller size.
void FitCaption(QPushButton* button) {
    QFont font = button->font();
    const int room = button->width() - 6;
    for (qreal size = font.pointSizeF(); size >= 7; size -= 0.5) {
        font.setPointSizeF(size);
        if (QFontMetrics(font).horizontalAdvance(button->text()) <= room) break;
    }
    button->setFont(font);
}

// A wrapped label whose text must be read whole: the largest size at which it fits.
void FitWrapped(QLabel* label) {
    QFont font = label->font();
    const QRect room = label->contentsRect();
    for (qreal size = font.pointSizeF(); size >= 7; size -= 0.5) {
        font.setPointSizeF(size);
        const QRect needed =
            QFontMetrics(font).boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, label->text());
        if (needed.height() <= room.height()) break;
    }
    label->setFont(font);
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

// The key code handed to the game: the shared map's, else the platform's usual
// code, so that a key with no meaning in the game is still told apart from a
// swallowed one (0). -1 for keys that pass unseen: focus moves and modifiers.
int PreviewCode(const QKeyEvent* event) {
    const int code = GameKeyCode(event);
    if (code != 0) return code;
    switch (event->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_unknown:
            return -1;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        default:
            return 255;
    }
}

}  // namespace

MainWindow::MainWindow(Session& game, QtScreen& screen, QWidget* parent)
    : QMainWindow(parent), game_(game), screen_(screen) {
    setObjectName("MainWindow");
    setFont(GameFont());
    BuildMenus();

    client_ = new QWidget(this);
    client_->setObjectName("client");
    setCentralWidget(client_);
    client_->installEventFilter(this);

    map_ = new MapView(client_);
    // The help panels stand in a strip under the map, never over a city or the side panel.
    helpDock_ = new QWidget(client_);
    helpDock_->setObjectName("HelpDock");
    map_->DockHelpPanels(helpDock_);
    hScroll_ = new QScrollBar(Qt::Horizontal, client_);
    hScroll_->setObjectName("HorizontalBar");
    vScroll_ = new QScrollBar(Qt::Vertical, client_);
    vScroll_->setObjectName("VerticalBar");
    for (QScrollBar* bar : {hScroll_, vScroll_}) {
        // The bars run from 0 down to -32300 in the game; Qt's run upwards.
        bar->setRange(0, -kScrollMax);
        bar->setFocusPolicy(Qt::NoFocus);
    }
    // The player moving the view takes it over from a glide.
    const auto barMoved = [this] {
        if (syncing_) return;
        StopGlide();
        const int h = -hScroll_->value(), v = -vScroll_->value();
        Show([h, v](Session& g) {
            ScrollMapHorizontally(g, h);
            ScrollMapVertically(g, v);
        });
    };
    connect(hScroll_, &QScrollBar::valueChanged, this, barMoved);
    connect(vScroll_, &QScrollBar::valueChanged, this, barMoved);
    glide_ = new QVariantAnimation(this);
    glide_->setDuration(250);  // a quarter of a second at most: the war moves on meanwhile
    glide_->setEasingCurve(QEasingCurve::OutCubic);
    connect(glide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const QPoint at = value.toPointF().toPoint();
        const bool wasSyncing = syncing_;
        syncing_ = true;
        hScroll_->setValue(-at.x());
        vScroll_->setValue(-at.y());
        syncing_ = wasSyncing;
        map_->ScrollTo(at.x(), at.y());
    });
    connect(glide_, &QVariantAnimation::finished, this, [this] {
        map_->HoldScroll(false);
        Sync();
    });
    map_->SetScrollBars(hScroll_, vScroll_);
    connect(map_, &MapView::panelClicked, this,
            [this](int city) { Show([city](Session& g) { TogglePanel(g, city); }); });
    connect(map_, &MapView::helpClosed, this,
            [this](int panel) { Show([panel](Session& g) { CloseHelpPanel(g, static_cast<HelpPanel>(panel)); }); });
    connect(map_, &MapView::nationRequested, this, [this] { Run(ShowNationScreenFromHelp); });
    // The small map puts the point clicked in the middle of the view, as far as the bars reach.
    connect(map_, &MapView::centreRequested, this, [this](QPoint twips) {
        const MainWindowShown& m = game_.shown.main;
        hScroll_->setValue(std::clamp(twips.x() - m.viewWidth / 2, 0, -kScrollMax));
        vScroll_->setValue(std::clamp(twips.y() - m.viewHeight / 2, 0, -kScrollMax));
    });

    BuildPanels(client_);

    stepTimer_ = new QTimer(this);
    stepTimer_->setObjectName("StepTimer");
    stepTimer_->setInterval(kTimerInterval);
    // The game's timers do not tick while it holds, nor while input kept from the hold waits its turn.
    connect(stepTimer_, &QTimer::timeout, this, [this] {
        if (!screen_.Gate().MustWait(this)) Run(StepOnTimer);
    });
    enterLockTimer_ = new QTimer(this);
    enterLockTimer_->setObjectName("EnterLockTimer");
    enterLockTimer_->setInterval(kTimerInterval);
    connect(enterLockTimer_, &QTimer::timeout, this, [this] {
        if (!screen_.Gate().MustWait(this)) Run(ReleaseEnterLock);
    });

    keys_ = new KeyPreview(this, [this](QKeyEvent* event, QWidget* receiver) { return PreviewKey(event, receiver); });

    // The foot: the newest entry of the chronicle that concerns the player; a click opens it there.
    statusEntry_ = new QLabel(statusBar());
    statusEntry_->setObjectName("StatusEntry");
    statusEntry_->setCursor(Qt::PointingHandCursor);
    statusEntry_->setIndent(4);
    statusEntry_->installEventFilter(this);
    statusBar()->setObjectName("StatusBar");
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addPermanentWidget(statusEntry_, 1);
    // While the automatic steps stand still, the foot says so too (a window may show no caption).
    pauseLabel_ = new QLabel(QStringLiteral("一時停止中"), statusBar());
    pauseLabel_->setObjectName("PauseLabel");
    QFont pauseFont = pauseLabel_->font();
    pauseFont.setBold(true);
    pauseLabel_->setFont(pauseFont);
    pauseLabel_->hide();
    statusBar()->insertPermanentWidget(0, pauseLabel_);

    // Never so small that the menu bar folds, a side panel is cut or no map is left beside and below it.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setMinimumSize(std::max(menuBar()->sizeHint().width() + Twips(kPanelMargin),
                            Twips(kPanelLeft + kWidestPanel) + kMapBeside + bar),
                   menuBar()->sizeHint().height() + Twips(kPanelTop + kTallestPanel) + kMapBelow + bar +
                       statusBar()->sizeHint().height());
    map_->SetSidePanelArea(TwipRect(kPanelLeft, kPanelTop, kWidestPanel, kTallestPanel).adjusted(0, 0, 6, 6));
    keepGeometry_ = new QTimer(this);
    keepGeometry_->setSingleShot(true);
    keepGeometry_->setInterval(500);
    connect(keepGeometry_, &QTimer::timeout, this, [this] {
        if (isVisible()) SaveWindowGeometry(saveGeometry());
    });
    PlaceAtStart();
    LoadPreferences(game_.shown.main);
    screen_.AddView(this, [this] { Sync(); });
    // The map, its bars and the menus live through a hold; the panels and keys wait.
    screen_.Gate().AddGameWindow(this, {map_, hScroll_, vScroll_, menuBar()});
    Sync();
}

MainWindow::~MainWindow() { screen_.RemoveView(this); }

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    const auto addMenu = [bar](const char* name, const char* caption) {
        QMenu* menu = bar->addMenu(Qs(caption));
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(QString(name) + "Action");
        return menu;
    };
    // An entry of the game waits through a hold; one that only shows acts at once.
    enum Kind { kGame, kShowing };
    const auto addEntry = [this](QMenu* menu, const char* name, const char* caption,
                                 const std::function<void(Session&)>& handler, Kind kind = kGame) {
        QAction* action = menu->addAction(Qs(caption));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, handler, kind] {
            if (kind == kGame)
                Run(handler);
            else
                Show(handler);
        });
        return action;
    };

    QMenu* saveLoad = addMenu("SaveLoadMenu", "セーブ/ロード(&A)");
    addEntry(saveLoad, "QuitEntry", "終了(&E)", QuitFromMenu);
    addEntry(saveLoad, "SaveEntry", "セーブ(&S)", SaveFromMenu);
    addEntry(saveLoad, "LoadEntry", "ロード(&L)", LoadFromMenu);
    addEntry(saveLoad, "AutosaveEntry", "オートセーブから再開(&R)", LoadAutosave);

    delegationMenu_ = addMenu("DelegationMenu", "委任/委任解除(&B)");
    addEntry(delegationMenu_, "DelegateEntry", "委任(&I)", OpenDelegation);
    addEntry(delegationMenu_, "EndDelegationEntry", "委任解除(&K)", OpenEndDelegation);

    // A top-level entry that acts itself, with no entries under it.
    QAction* nation = bar->addAction(QStringLiteral("国家情報(&N)"));
    nation->setObjectName("NationEntry");
    connect(nation, &QAction::triggered, this, [this] { Show(ShowNationScreen); });

    QMenu* citiesMenu = addMenu("CitiesMenu", "国情報(&C)");
    openAll_ = addEntry(citiesMenu, "OpenAllEntry", "全国開く(&O)", OpenAllCityPanels, kShowing);
    closeAll_ = addEntry(citiesMenu, "CloseAllEntry", "全国閉じる(&H)", CloseAllCityPanels, kShowing);
    overviewEntry_ = addEntry(citiesMenu, "OverviewEntry", "全体地図(&W)", ToggleOverview, kShowing);
    overviewEntry_->setCheckable(true);
    // It only opens a window: no step of the game runs.
    QAction* chronicle = citiesMenu->addAction(QStringLiteral("年代記(&R)"));
    chronicle->setObjectName("ChronicleEntry");
    chronicle->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(chronicle, &QAction::triggered, this, [this] { ShowChronicle(); });

    QMenu* changeMenu = addMenu("ChangeMenu", "変更(&F)");
    addEntry(changeMenu, "SettingsEntry", "設定(&D)", OpenSettings);
    // Watching: they change only what moves by itself, so they act at once, even in a hold.
    followEntry_ = addEntry(changeMenu, "FollowEntry", "戦況を追う(&W)", ToggleFollowWar, kShowing);
    followEntry_->setCheckable(true);
    autoPlayEntry_ = addEntry(changeMenu, "AutoPlayEntry", "自動で進める(&A)", ToggleAutoPlay, kShowing);
    autoPlayEntry_->setCheckable(true);
    // The settings screen's four speeds; the next message line holds as long as chosen.
    QMenu* speed = changeMenu->addMenu(QStringLiteral("メッセージスピード(&S)"));
    speed->setObjectName("SpeedMenu");
    speed->menuAction()->setObjectName("SpeedEntry");
    auto* speeds = new QActionGroup(speed);
    const std::array<const char*, 4> speedCaptions{"1.かなり速い(&1)", "2..速い(&2)", "3.普通(&3)", "4.遅い(&4)"};
    for (int i = 0; i < 4; ++i) {
        speedEntries_[i] = addEntry(speed, "", speedCaptions[i], [i](Session& g) { ChooseSpeedInGame(g, i); });
        speedEntries_[i]->setObjectName(QString("SpeedEntry%1").arg(i + 1));
        speedEntries_[i]->setCheckable(true);
        speeds->addAction(speedEntries_[i]);
    }

    QMenu* help = addMenu("HelpMenu", "ヘルプ(&H)");
    addEntry(help, "HelpPageEntry", "作者HP(&P)", OpenHelpPage, kShowing);
    helpEntries_[kHelpCities] = addEntry(
        help, "CitiesHelpEntry", "国情報(&K)", [](Session& g) { ShowHelpPanel(g, kHelpCities); }, kShowing);
    helpEntries_[kHelpNation] = addEntry(
        help, "NationHelpEntry", "国家情報(&M)", [](Session& g) { ShowHelpPanel(g, kHelpNation); }, kShowing);
    helpEntries_[kHelpButtons] = addEntry(
        help, "ButtonsHelpEntry", "ボタンについて(&U)", [](Session& g) { ShowHelpPanel(g, kHelpButtons); }, kShowing);
    helpEntries_[kHelpInput] = addEntry(
        help, "NumbersHelpEntry", "数値入力(&F)", [](Session& g) { ShowHelpPanel(g, kHelpInput); }, kShowing);
}

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

    // The top menu of the player's city.
    p = MakePanel(client, Panel::TopMenu, kCommandPanelWidth, kSidePanelHeight);
    MakePanelLabel(p, "TopMenuHead", "プレイヤーの番です", 120, 0, 0, 240, true);
    topMenuCity_ = MakePanelLabel(p, "TopMenuCity", "", 120, 240, 0, 240, true);
    MakeButton(p, "MilitaryButton", "1.軍事系", 0, 600, 1095, 375, OpenMilitaryMenu);
    MakeButton(p, "PoliticsButton", "2.政治系", 1200, 600, 1095, 375, OpenPoliticsMenu);
    MakeButton(p, "DoNothingButton", "3.何もしない", 0, 1080, 1095, 375, ChooseDoNothing);
    MakeButton(p, "FocusButton", "4.フォーカス", 1200, 1080, 1095, 375, FocusOnActingCity);
    // After a refused order, the numbers that refused it, where the player lands.
    topMenuHint_ = MakePanelLabel(p, "TopMenuHint", "", 120, 1680, 0, 240, true);
    MarkAsHint(topMenuHint_);

    const auto start = [](int kind) { return [kind](Session& g) { StartCommand(g, kind); }; };
    // The military menu.
    p = MakePanel(client, Panel::MilitaryMenu, kCommandPanelWidth, kSidePanelHeight);
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

    // The amount panel: the amount of an investment or a market order.
    p = MakePanel(client, Panel::AmountPanel, kCommandPanelWidth, kAmountPanelHeight);
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

    // The target panel: the target, troops, food and gold of a move or an attack; under
    // them the numbers the order goes by.
    p = MakePanel(client, Panel::TargetPanel, kTargetPanelWidth, kTargetPanelHeight);
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

    // The delegation panel: delegating cities to the computer and taking them back.
    p = MakePanel(client, Panel::DelegationPanel, kCommandPanelWidth, kSidePanelHeight);
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

void MainWindow::LayoutClient() {
    const int width = client_->width();
    int height = client_->height();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // The help strip takes what it needs when the map keeps room under the side
    // panel; in a window too small for both it gives way (its panels stay open).
    dockHeight_ = map_->HelpDockHeight();
    const int mapLeast = Twips(kPanelTop + kTallestPanel) + 100;
    const int dock = height - bar - dockHeight_ >= mapLeast ? dockHeight_ : 0;
    helpDock_->setGeometry(0, height - dock, width, dock);
    helpDock_->setVisible(dock > 0);
    height -= dock;
    map_->setGeometry(0, 0, width - bar, height - bar);
    // "4.フォーカス" keeps the city's panel within what is in view.
    game_.shown.main.viewWidth = map_->width() * 15;
    game_.shown.main.viewHeight = map_->height() * 15;
    hScroll_->setGeometry(0, height - bar, width - bar, bar);
    vScroll_->setGeometry(width - bar, 0, bar, height - bar);
    // Large change: the client area's width or height; small change a twentieth of it.
    const int widthTwips = width * 15;
    const int heightTwips = height * 15;
    hScroll_->setPageStep(widthTwips);
    hScroll_->setSingleStep(static_cast<int>(0.05 * widthTwips));
    vScroll_->setPageStep(heightTwips);
    vScroll_->setSingleStep(static_cast<int>(0.05 * heightTwips));
    for (QFrame* panel : panels_)
        if (panel) panel->raise();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) LayoutClient();
    if (watched == statusEntry_) {
        if (event->type() == QEvent::Resize) SyncStatus();
        // Only shows: it opens at once, even while the game holds.
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && statusEntryIndex_ >= 0)
            ShowChronicle(statusEntryIndex_);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::Run(const std::function<void(Session&)>& handler) {
    screen_.Act(this, game_, [this, handler] { handler(game_); });
}

void MainWindow::Show(const std::function<void(Session&)>& handler) {
    if (game_.Ended) return;
    try {
        handler(game_);
    } catch (const ProgramEnded&) {
        // Ended from a box this opened: nothing more to show.
    }
    screen_.SyncViews();
}

void MainWindow::ShowChronicle(int entry) {
    if (!chronicle_) {
        chronicle_ = new ChronicleWindow(game_, screen_, *this, this);
        chronicle_->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (chronicle_->isMinimized()) chronicle_->showNormal();
    chronicle_->show();
    chronicle_->raise();
    chronicle_->activateWindow();
    if (entry >= 0) chronicle_->ShowEntry(entry);
}

bool MainWindow::PreviewKey(QKeyEvent* event, QWidget* receiver) {
    // Space (where no order is being given) and Pause stop the automatic steps and let them go on.
    if (event->key() == Qt::Key_Pause ||
        (event->key() == Qt::Key_Space && game_.shown.main.activePanel == Panel::IdlePanel)) {
        Show(TogglePause);
        return true;
    }
    int code = PreviewCode(event);
    if (code < 0) return false;
    // Where no text box has the focus, the top row's digits press the numbered
    // buttons as the keypad's do, for a keyboard without a keypad.
    if (code >= '0' && code <= '9' && !qobject_cast<QLineEdit*>(receiver)) code = KeyPad(code - '0');
    QWidget* focusBefore = focusWidget();
    int passed = 0;
    Run([code, &passed](Session& g) { passed = PressMainWindowKey(g, code); });
    if (passed == 0) return true;
    // A key whose action took its control off the screen, or the focus away from
    // it, has been used: it must not also type into or press that control.
    if (!receiver->isVisible() || focusWidget() != focusBefore) return true;
    // The arrows choose the target and the amount box themselves; the list must
    // not move its own selection on top of that.
    if (receiver == targetList_ && code >= kKeyLeft && code <= kKeyDown) return true;
    return false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The program closing its own windows as it ends asks nothing more.
    if (!game_.Ended) Run(ConfirmQuit);
    // Without the main window there is no game left to play: it closes only as the program ends.
    if (game_.Ended) {
        SaveWindowGeometry(saveGeometry());
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    keepGeometry_->start();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    keepGeometry_->start();
}

void MainWindow::PlaceAtStart() {
    const QByteArray saved = SavedWindowGeometry();
    if (!saved.isEmpty() && restoreGeometry(saved)) return;
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!where) {
        resize(std::max(Twips(kWindowWidth), minimumWidth()), std::max(Twips(kWindowHeight), minimumHeight()));
        return;
    }
    const QRect place = StartGeometry(where->availableGeometry(),
                                      minimumSize().expandedTo(QSize(Twips(kWindowWidth), Twips(kWindowHeight))));
    resize(place.size());
    move(place.topLeft());
}

void MainWindow::Sync() {
    const bool wasSyncing = syncing_;
    syncing_ = true;
    const MainWindowShown& m = game_.shown.main;
    const QString caption = Qs(MainCaption(game_));
    if (windowTitle() != caption) setWindowTitle(caption);
    SyncMenus();
    SyncPanels();
    SyncScrollBars();
    map_->Sync(m, ShownWarMap(game_));
    if (map_->HelpDockHeight() != dockHeight_) LayoutClient();
    SyncWatching();
    SyncTimers();
    SyncStatus();
    ApplyFocusRequest();
    syncing_ = wasSyncing;
}

void MainWindow::SyncMenus() {
    const MainWindowShown& m = game_.shown.main;
    delegationMenu_->menuAction()->setEnabled(m.delegationMenu);
    openAll_->setEnabled(m.openAllEnabled);
    closeAll_->setEnabled(m.closeAllEnabled);
    overviewEntry_->setChecked(m.overviewVisible);
    // A help entry waits while its panel is showing.
    for (int i = 0; i < kHelpPanelCount; ++i) helpEntries_[i]->setEnabled(!m.helpVisible[i]);
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

void MainWindow::SyncStatus() {
    const StatusShown status = ShownStatus(game_);
    statusEntryIndex_ = status.entry;
    statusText_ = Qs(status.text);
    // A long entry (an event over many cities) is cut at the window's edge; the tooltip has it whole.
    const int room = statusEntry_->contentsRect().width() - 2 * statusEntry_->indent();
    const QString shown = statusEntry_->fontMetrics().elidedText(statusText_, Qt::ElideRight, std::max(0, room));
    if (statusEntry_->text() != shown) statusEntry_->setText(shown);
    const QString tip = statusText_.isEmpty() ? QString() : statusText_ + "\nクリックで年代記を開きます";
    if (statusEntry_->toolTip() != tip) statusEntry_->setToolTip(tip);
}

void MainWindow::SyncWatching() {
    const MainWindowShown& m = game_.shown.main;
    pauseLabel_->setVisible(m.paused);
    followEntry_->setChecked(m.followWar);
    autoPlayEntry_->setChecked(m.autoPlay);
    const int speed = std::clamp(game_.MessageSpeed, 0, 3);
    if (!speedEntries_[speed]->isChecked()) speedEntries_[speed]->setChecked(true);
    // Kept for the next run as soon as they change; the store is not opened at every sync.
    const std::array<bool, kHelpPanelCount + 2> kept{m.helpClosed[0], m.helpClosed[1], m.helpClosed[2],
                                                     m.helpClosed[3], m.followWar,     m.autoPlay};
    if (m.loaded && kept != keptPreferences_) {
        SavePreferences(m);
        keptPreferences_ = kept;
    }
}

void MainWindow::StartGlide() {
    const MainWindowShown& m = game_.shown.main;
    const QPointF from(-hScroll_->value(), -vScroll_->value());
    const QPointF to(m.hScroll, m.vScroll);
    glide_->stop();
    if (from == to || !isVisible()) return;
    map_->HoldScroll(true);
    glide_->setStartValue(from);
    glide_->setEndValue(to);
    glide_->start();
}

void MainWindow::StopGlide() {
    if (glide_->state() != QAbstractAnimation::Running) return;
    glide_->stop();
    map_->HoldScroll(false);
}

void MainWindow::SyncScrollBars() {
    const MainWindowShown& m = game_.shown.main;
    if (m.glideSerial != appliedGlide_) {
        appliedGlide_ = m.glideSerial;
        StartGlide();
    }
    // The glide carries the bars to where the game has the view.
    if (glide_->state() == QAbstractAnimation::Running) return;
    if (hScroll_->value() != -m.hScroll) hScroll_->setValue(-m.hScroll);
    if (vScroll_->value() != -m.vScroll) vScroll_->setValue(-m.vScroll);
}

void MainWindow::SyncTimers() {
    const MainWindowShown& m = game_.shown.main;
    const auto set = [](QTimer* timer, bool on) {
        if (on && !timer->isActive()) timer->start();
        if (!on && timer->isActive()) timer->stop();
    };
    set(stepTimer_, StepTimerRuns(game_));
    set(enterLockTimer_, m.enterLockTimer);
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
