// The main window: the map, the side panels with the message lines and the
// market box, the menu bar, the scroll bars and the two timers.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "screens/session/session.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;
class QVariantAnimation;

namespace tarvex::ui {

class ChronicleWindow;
class KeyPreview;
class MapView;
class QtScreen;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Session& game, QtScreen& screen, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Brings every widget up to date with the game's shown state.
    void Sync();
    MapView* Map() const { return map_; }

    // Runs a handler of the game for this window: the player's typing is in the
    // shown state already; afterwards every window shows the result. During a
    // hold it waits, and runs after it in its turn.
    void Run(const std::function<void(Session&)>& handler);
    // Runs a handler that only changes what is shown (the view of the map, a
    // window that only shows): at once, even while the game holds.
    void Show(const std::function<void(Session&)>& handler);
    // "年代記(&R)": opens the chronicle window, or brings the open one forward;
    // with an entry's place, chosen and in view.
    void ShowChronicle(int entry = -1);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window's parts, built once (main_window.cpp, scrolling.cpp).
    void BuildScrollBars();
    void ConnectMap();
    void BuildTimers();
    void BuildStatusBar();
    // Never so small that the menu bar folds, a side panel is cut or no map is left.
    void SetLeastSize();
    // The window's place is kept when the player moves it, and on the way out.
    void KeepPlace();

    // The menu bar (menus.cpp). An entry of the game waits through a hold; one that only shows acts at once.
    enum class EntryKind { Game, Showing };
    QMenu* AddMenu(const char* name, const char* caption);
    QAction* AddEntry(QMenu* menu, const char* name, const char* caption, const std::function<void(Session&)>& handler,
                      EntryKind kind = EntryKind::Game);
    void BuildMenus();
    void BuildGameMenus();
    void BuildViewMenus();
    void BuildChangeMenu();
    void BuildHelpMenu();

    // The side panels (panels.cpp).
    void BuildPanels(QWidget* client);
    void BuildIdlePanel(QWidget* client);
    void BuildTopMenu(QWidget* client);
    void BuildCommandMenus(QWidget* client);
    void BuildAmountPanel(QWidget* client);
    void BuildTargetPanel(QWidget* client);
    // Under the target panel's boxes: both cities' numbers, a refusal's and the odds.
    void BuildOrderNumbers(QWidget* panel);
    void BuildDelegationPanel(QWidget* client);
    // A side panel's frame; returns the area inside its border that holds the controls.
    QWidget* MakePanel(QWidget* client, Panel panel, int width, int height);
    QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int left, int top, int width,
                            int height, const std::function<void(Session&)>& handler);
    QLabel* MakePanelLabel(QWidget* parent, const char* name, const char* caption, int left, int top, int width,
                           int height, bool cyan);
    void LayoutClient();
    // Every key of the window, first to the game (keys.cpp).
    bool PreviewKey(QKeyEvent* event, QWidget* receiver);
    void SyncMenus();
    void SyncPanels();
    // The numbers beside the order boxes; again whenever another target is chosen.
    void SyncOrderNumbers();
    void SyncStatus();
    void SyncList(QListWidget* list, std::vector<std::string>& cache, const std::vector<std::string>& items,
                  int selected);
    void SyncScrollBars();
    void SyncTimers();
    void ApplyFocusRequest();
    // Where the window opens: where the player left it, else aimed at the middle of the screen.
    void PlaceAtStart();
    // The view glides to where following the war put it, rather than jumping.
    void StartGlide();
    void StopGlide();
    void SyncWatching();

    Session& game_;
    QtScreen& screen_;
    bool syncing_ = false;
    int appliedFocusSerial_ = -1;

    QWidget* client_ = nullptr;
    MapView* map_ = nullptr;
    // The strip under the map that holds the help panels, and its height as last laid out.
    QWidget* helpDock_ = nullptr;
    int dockHeight_ = 0;
    QScrollBar* hScroll_ = nullptr;
    QScrollBar* vScroll_ = nullptr;
    QTimer* stepTimer_ = nullptr;
    QTimer* enterLockTimer_ = nullptr;
    KeyPreview* keys_ = nullptr;

    std::array<QFrame*, 8> panels_{};  // by Panel value, 1..7
    std::array<QLabel*, 3> msg_{};
    QLabel* okPrompt_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QLabel* foodPrice_ = nullptr;
    QLabel* armsPrice_ = nullptr;
    QLabel* troopsPrice_ = nullptr;
    QLabel* topMenuCity_ = nullptr;
    QLabel* topMenuHint_ = nullptr;
    QLabel* amountTitle_ = nullptr;
    QLabel* amountPrice_ = nullptr;
    QLineEdit* amountBox_ = nullptr;
    QLabel* amountStock_ = nullptr;
    QLabel* amountHint_ = nullptr;
    QLabel* targetTitle_ = nullptr;
    QListWidget* targetList_ = nullptr;
    std::array<QLineEdit*, 3> amountBoxes_{};
    // Beside a move or an attack: the acting city's troops, food, gold and arms, and the
    // chosen target's troops, food, arms and castle; its owner; the refusal's numbers.
    QLabel* orderCity_ = nullptr;
    std::array<QLabel*, 4> orderCityValues_{};
    QLabel* orderTarget_ = nullptr;
    std::array<QLabel*, 4> orderTargetValues_{};
    QLabel* orderOwner_ = nullptr;
    QLabel* targetHint_ = nullptr;
    // "勝つ見込み 約62%" and the troops each side keeps, under an attack's numbers.
    QLabel* attackOdds_ = nullptr;
    QLabel* attackOddsHabit_ = nullptr;
    QLabel* delegationMode_ = nullptr;
    QListWidget* delegationList_ = nullptr;
    std::vector<std::string> targetItems_;
    std::vector<std::string> delegationItems_;

    QMenu* delegationMenu_ = nullptr;
    QAction* openAll_ = nullptr;
    QAction* closeAll_ = nullptr;
    QAction* overviewEntry_ = nullptr;
    QAction* followEntry_ = nullptr;
    QAction* autoPlayEntry_ = nullptr;
    std::array<QAction*, 4> speedEntries_{};
    QVariantAnimation* glide_ = nullptr;
    int appliedGlide_ = 0;
    // The window's place is kept a moment after the player stops moving it.
    QTimer* keepGeometry_ = nullptr;
    std::array<bool, kHelpPanelCount + 2> keptPreferences_{};
    std::array<QAction*, kHelpPanelCount> helpEntries_{};
    QPointer<ChronicleWindow> chronicle_;
    // The foot of the window: the player's newest chronicle entry.
    QLabel* statusEntry_ = nullptr;
    QLabel* pauseLabel_ = nullptr;
    QLabel* strengthLabel_ = nullptr;  // how well the computer plays, at the foot's right end
    int statusEntryIndex_ = -1;
    QString statusText_;
};

}  // namespace tarvex::ui
