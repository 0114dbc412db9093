// The chronicle's entries as the chronicle window lists them.
#include "ui/chronicle/chronicle_model.h"

#include <algorithm>

#include "screens/session/session.h"
#include "ui/qt/common.h"

namespace tarvex::ui {

ChronicleModel::ChronicleModel(const Session& game, QObject* parent) : QAbstractTableModel(parent), game_(game) {}

int ChronicleModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : list_.Rows(); }

int ChronicleModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ChronicleModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= list_.Rows()) return {};
    const int place = EntryAt(index.row());
    if (role == kEntryRole) return place;
    const std::vector<ChronicleEntry>& entries = game_.chronicle.entries;
    if (place >= static_cast<int>(entries.size())) return {};
    const ChronicleEntry& entry = entries[static_cast<std::size_t>(place)];
    if (role == Qt::ToolTipRole && index.column() == TextColumn) return Qs(entry.text);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case SeasonColumn:
            return Qs(SeasonName(game_, entry.year, entry.season));
        case KindColumn:
            return Qs(KindLabel(entry.kind));
        case TextColumn:
            return Qs(entry.text);
        default:
            return {};
    }
}

QVariant ChronicleModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeaders[ColumnCount] = {"時期", "種類", "出来事"};
    return section >= 0 && section < ColumnCount ? Qs(kHeaders[section]) : QVariant();
}

void ChronicleModel::SetFilter(int nation, const std::array<bool, kEntryKindCount>& kinds) {
    const EntryFilter filter{nation, kinds};
    if (filter == list_.Filter()) return;
    beginResetModel();
    list_.SetFilter(filter);
    list_.Rebuild(game_.chronicle.entries);
    endResetModel();
}

void ChronicleModel::Sync() {
    const std::vector<ChronicleEntry>& entries = game_.chronicle.entries;
    const std::optional<std::vector<int>> gained = list_.Gained(entries);
    if (!gained) {
        beginResetModel();
        list_.Rebuild(entries);
        endResetModel();
        return;
    }
    if (gained->empty()) {
        list_.Append(*gained, entries);
        return;
    }
    const int first = list_.Rows();
    beginInsertRows({}, first, first + static_cast<int>(gained->size()) - 1);
    list_.Append(*gained, entries);
    endInsertRows();
}

}  // namespace tarvex::ui
