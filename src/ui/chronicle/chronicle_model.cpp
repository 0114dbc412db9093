// The chronicle's entries as the chronicle window lists them.
#include "ui/chronicle/chronicle_model.h"

#include <algorithm>

#include "screens/session/session.h"
#include "ui/qt/common.h"

namespace tarvex::ui {

ChronicleModel::ChronicleModel(const Session& game, QObject* parent) : QAbstractTableModel(parent), game_(game) {
    kinds_.fill(true);
}

int ChronicleModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ChronicleModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ChronicleModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
    const int place = EntryAt(index.row());
    if (role == kEntryRole) return place;
    const std::vector<ChronicleEntry>& entries = game_.chronicle.entries;
    if (place >= static_cast<int>(entries.size())) return {};
    const ChronicleEntry& entry = entries[static_cast<std::size_t>(place)];
    if (role == Qt::ToolTipRole && index.column() == TextColumn) return Qs(entry.text);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case SeasonColumn: {
            const int season = entry.season >= 1 && entry.season <= 4 ? entry.season : 1;
            return QString("%1年目の%2").arg(entry.year).arg(Qs(game_.SeasonNames[season]));
        }
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

bool ChronicleModel::Passes(const ChronicleEntry& entry) const {
    if (!kinds_[static_cast<int>(entry.kind)]) return false;
    return nation_ == 0 || std::find(entry.nations.begin(), entry.nations.end(), nation_) != entry.nations.end();
}

void ChronicleModel::SetFilter(int nation, const std::array<bool, kEntryKindCount>& kinds) {
    if (nation == nation_ && kinds == kinds_) return;
    nation_ = nation;
    kinds_ = kinds;
    beginResetModel();
    Rebuild();
    endResetModel();
}

void ChronicleModel::Sync() {
    const std::vector<ChronicleEntry>& entries = game_.chronicle.entries;
    const bool grown = entries.size() >= listed_ && (listed_ == 0 || entries[listed_ - 1] == lastListed_);
    if (grown && entries.size() == listed_) return;
    if (!grown) {
        beginResetModel();
        Rebuild();
        endResetModel();
        return;
    }
    std::vector<int> added;
    for (std::size_t i = listed_; i < entries.size(); ++i)
        if (Passes(entries[i])) added.push_back(static_cast<int>(i));
    listed_ = entries.size();
    lastListed_ = entries.back();
    if (added.empty()) return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
    rows_.insert(rows_.end(), added.begin(), added.end());
    endInsertRows();
}

int ChronicleModel::RowOf(int entry) const {
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), entry);
    return at != rows_.end() && *at == entry ? static_cast<int>(at - rows_.begin()) : -1;
}

void ChronicleModel::Rebuild() {
    const std::vector<ChronicleEntry>& entries = game_.chronicle.entries;
    rows_.clear();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (Passes(entries[i])) rows_.push_back(static_cast<int>(i));
    listed_ = entries.size();
    lastListed_ = entries.empty() ? ChronicleEntry{} : entries.back();
}

}  // namespace tarvex::ui
