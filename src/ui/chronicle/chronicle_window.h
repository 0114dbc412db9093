// The chronicle window "年代記": what happened, season by season, filtered by
// nation and kind, and the charts of each nation's cities and troops. It
// follows the game as it plays; choosing an entry moves the map to its city.
#pragma once

#include <array>

#include "rules/chronicle/record.h"
#include "ui/qt/game_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QModelIndex;
class QTabWidget;
class QTreeView;

namespace tarvex {
struct Session;
}

namespace tarvex::ui {

class ChronicleModel;
class MainWindow;
class QtScreen;
class ReplayBar;
class ShareChart;
class WarChart;

class ChronicleWindow : public GameDialog {
    Q_OBJECT
public:
    ChronicleWindow(Session& game, QtScreen& screen, MainWindow& main, QWidget* parent = nullptr);
    ~ChronicleWindow() override;

    // Takes in what the chronicle gained since the last call; closes once the game has ended.
    void Sync();
    // The entry at this place of the chronicle, chosen and in view; filters that
    // hid it let it through.
    void ShowEntry(int index);

    WarChart* CitiesChart() const { return cities_; }
    WarChart* TroopsChart() const { return troops_; }
    ShareChart* SharesChart() const { return shares_; }
    ReplayBar* Replay() const { return replay_; }

private:
    // The entries' page: the filters above the list, the count below it.
    QWidget* MakeEntriesPage();
    void SyncEntries();
    // Lists the entries the filters let through; the chosen entry stays chosen and in view.
    void ApplyFilter();
    void ShowCount();
    void Choose(const QModelIndex& index);

    Session& game_;
    QtScreen& screen_;
    MainWindow& main_;
    bool closing_ = false;

    QTabWidget* tabs_ = nullptr;
    QComboBox* nation_ = nullptr;
    std::array<QCheckBox*, kEntryKindCount> kinds_{};
    ChronicleModel* model_ = nullptr;
    QTreeView* list_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* strength_ = nullptr;  // how well the computer plays the game being recorded
    WarChart* cities_ = nullptr;
    WarChart* troops_ = nullptr;
    ShareChart* shares_ = nullptr;
    ReplayBar* replay_ = nullptr;
};

}  // namespace tarvex::ui
