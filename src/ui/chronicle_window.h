// The chronicle window "年代記": what happened, season by season, filtered by
// nation and kind, and the charts of each nation's cities and troops. It
// follows the game as it plays; choosing an entry moves the map to its city.
#pragma once

#include <array>

#include "rules/chronicle/record.h"
#include "ui/game_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarvex {
struct Session;
}

namespace tarvex::ui {

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
    void SyncEntries();
    void AddEntry(int index);
    bool Passes(const ChronicleEntry& entry) const;
    // Hides the entries the filters leave out; the chosen entry stays in view.
    void ApplyFilter();
    void ShowCount();
    void Choose(QTreeWidgetItem* item);

    Session& game_;
    QtScreen& screen_;
    MainWindow& main_;
    bool closing_ = false;

    QTabWidget* tabs_ = nullptr;
    QComboBox* nation_ = nullptr;
    std::array<QCheckBox*, kEntryKindCount> kinds_{};
    QTreeWidget* list_ = nullptr;
    QLabel* count_ = nullptr;
    WarChart* cities_ = nullptr;
    WarChart* troops_ = nullptr;
    ShareChart* shares_ = nullptr;
    ReplayBar* replay_ = nullptr;
    // The entries listed: the chronicle grows at the end; a load puts another in its place.
    std::size_t listed_ = 0;
    ChronicleEntry lastListed_;
};

}  // namespace tarvex::ui
