// The chronicle's entries as the chronicle window lists them: those the filters
// let through, in the chronicle's order, each made into text only when shown,
// so that a chronicle of a hundred thousand entries opens and filters at once.
#pragma once

#include <QAbstractTableModel>
#include <array>
#include <vector>

#include "rules/chronicle/record.h"

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
    bool Passes(const ChronicleEntry& entry) const;
    // Takes in what the chronicle gained; lists anew when another took its place (a load).
    void Sync();

    // The entry at a row, and the row of an entry (-1 when the filters leave it out).
    int EntryAt(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    int RowOf(int entry) const;
    // The entries of the chronicle as last taken in, shown or not.
    int Total() const { return static_cast<int>(listed_); }

private:
    void Rebuild();

    const Session& game_;
    int nation_ = 0;
    std::array<bool, kEntryKindCount> kinds_{};
    // The chronicle's places of the rows, ascending.
    std::vector<int> rows_;
    // The entries taken in: the chronicle grows at the end; a load puts another in its place.
    std::size_t listed_ = 0;
    ChronicleEntry lastListed_;
};

}  // namespace tarvex::ui
