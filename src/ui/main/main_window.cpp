// The main window: the map with its help strip and scroll bars, the side panels,
// the timers and the foot; what it does when it is moved, closed or synced.
#include "ui/main/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "screens/main/auto_play.h"
#include "screens/main/main_window.h"
#include "screens/main/ok_step.h"
#include "screens/main/quit.h"
#include "screens/main/status_bar.h"
#include "screens/map/war_map.h"
#include "ui/chronicle/chronicle_window.h"
#include "ui/main/panel_layout.h"
#include "ui/map/map_view.h"
#include "ui/qt/common.h"
#include "ui/qt/key_preview.h"
#include "ui/qt/preferences.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {

namespace {

constexpr int kMapBeside = 160;     // pixels of map the smallest window keeps right of the idle panel
constexpr int kMapBelow = 120;      // and below it
constexpr int kTimerInterval = 10;  // milliseconds

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
    BuildScrollBars();
    ConnectMap();
    BuildPanels(client_);
    BuildTimers();
    keys_ = new KeyPreview(this, [this](QKeyEvent* event, QWidget* receiver) { return PreviewKey(event, receiver); });

    BuildStatusBar();
    SetLeastSize();
    KeepPlace();
    PlaceAtStart();
    LoadPreferences(game_.shown.main);
    screen_.AddView(this, [this] { Sync(); });
    // The map, its bars and the menus live through a hold; the panels and keys wait.
    screen_.Gate().AddGameWindow(this, {map_, hScroll_, vScroll_, menuBar()});
    Sync();
}

MainWindow::~MainWindow() { screen_.RemoveView(this); }

void MainWindow::ConnectMap() {
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
}

void MainWindow::BuildTimers() {
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
}

void MainWindow::BuildStatusBar() {
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
    pauseLabel_->setFont(Emboldened(pauseLabel_->font()));
    pauseLabel_->hide();
    statusBar()->insertPermanentWidget(0, pauseLabel_);
    strengthLabel_ = new QLabel(statusBar());
    strengthLabel_->setObjectName("StrengthLabel");
    // Clear of the window's edge, as the entry is of its left one; room for the longest
    // caption from the start, so that a load of another level never waits for a new layout.
    strengthLabel_->setContentsMargins(4, 0, 8, 0);
    strengthLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    strengthLabel_->setMinimumWidth(
        strengthLabel_->fontMetrics().horizontalAdvance(QStringLiteral("コンピュータ: 国ごとに異なる")) + 12);
    strengthLabel_->setToolTip(QStringLiteral("コンピュータの強さ（設定画面で新しいゲームに選びます）"));
    statusBar()->addPermanentWidget(strengthLabel_);
}

void MainWindow::SetLeastSize() {
    // Never so small that the menu bar folds, a side panel is cut or no map is left beside and below it.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setMinimumSize(std::max(menuBar()->sizeHint().width() + Twips(kPanelMargin),
                            Twips(kPanelLeft + kWidestPanel) + kMapBeside + bar),
                   menuBar()->sizeHint().height() + Twips(kPanelTop + kTallestPanel) + kMapBelow + bar +
                       statusBar()->sizeHint().height());
    map_->SetSidePanelArea(TwipRect(kPanelLeft, kPanelTop, kWidestPanel, kTallestPanel).adjusted(0, 0, 6, 6));
}

void MainWindow::KeepPlace() {
    keepGeometry_ = new QTimer(this);
    keepGeometry_->setSingleShot(true);
    keepGeometry_->setInterval(500);
    connect(keepGeometry_, &QTimer::timeout, this, [this] {
        if (isVisible()) SaveWindowGeometry(saveGeometry());
    });
    // The place the player leaves the window in is where it opens next time.
    screen_.Out().AddStep([window = QPointer<MainWindow>(this)] {
        if (window) SaveWindowGeometry(window->saveGeometry());
    });
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
    if (screen_.Out().Begun()) return;
    screen_.Out().Catch([this, &handler] { handler(game_); });
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

void MainWindow::closeEvent(QCloseEvent* event) {
    // The program closing its own windows as it ends asks nothing more.
    if (!screen_.Out().Begun()) Run(ConfirmQuit);
    // Without the main window there is no game left to play: it closes only as the program ends.
    if (screen_.Out().Begun())
        event->accept();
    else
        event->ignore();
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

void MainWindow::SyncStatus() {
    const StatusShown status = ShownStatus(game_);
    if (strengthLabel_->text() != Qs(status.strength)) strengthLabel_->setText(Qs(status.strength));
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

void MainWindow::SyncTimers() {
    const MainWindowShown& m = game_.shown.main;
    const auto set = [](QTimer* timer, bool on) {
        if (on && !timer->isActive()) timer->start();
        if (!on && timer->isActive()) timer->stop();
    };
    set(stepTimer_, StepTimerRuns(game_));
    set(enterLockTimer_, m.enterLockTimer);
}

}  // namespace tarvex::ui
