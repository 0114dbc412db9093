// The chronicle's entries as the chronicle window lists them: those the filters
// let through, in the chronicle's order, each made into text only when shown,
// so that a chronicle of a hundred thousand entries opens and filters at once.
#pragma once

#include <QAbstractTableModel>
#include <array>
#include <vector>

#include "rules/chronicle/record.h"
#include "screens/chronicle/chronicle_window.h"

namespace tarvex {
struct Session;
}

namespace tarvex::ui {

class ChronicleModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { SeasonColumn, KindColumn, TextColumn, ColumnCount };
    // The entry's place in the chronicle, on every column.
    static constexpr int kEntryRole = Qt::UserRole;

    explicit ChronicleModel(const Session& game, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The nation whose entries pass (0: every nation) and the kinds that pass.
    void SetFilter(int nation, const std::array<bool, kEntryKindCount>& kinds);
    bool Passes(const ChronicleEntry& entry) const { return list_.Filter().Passes(entry); }
    // Takes in what the chronicle gained; lists anew when another took its place (a load).
    void Sync();

    // The entry at a row, and the row of an entry (-1 when the filters leave it out).
    int EntryAt(int row) const { return list_.EntryAt(row); }
    int RowOf(int entry) const { return list_.RowOf(entry); }
    // The entries of the chronicle as last taken in, shown or not.
    int Total() const { return list_.Total(); }

private:
    const Session& game_;
    FilteredEntries list_;
};

}  // namespace tarvex::ui
