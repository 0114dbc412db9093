// The chronicle window "年代記": entries filtered by nation and kind, and the charts.
#include "ui/chronicle/chronicle_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "rules/chronicle/chronicle.h"
#include "rules/world/strength.h"
#include "screens/main/main_window.h"
#include "screens/session/session.h"
#include "ui/chronicle/chronicle_model.h"
#include "ui/chronicle/replay_bar.h"
#include "ui/chronicle/share_chart.h"
#include "ui/chronicle/war_chart.h"
#include "ui/main/main_window.h"
#include "ui/map/territory_picture.h"
#include "ui/qt/common.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {

ChronicleWindow::ChronicleWindow(Session& game, QtScreen& screen, MainWindow& main, QWidget* parent)
    : GameDialog(parent, "ChronicleWindow", "年代記"), game_(game), screen_(screen), main_(main) {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("ChronicleTabs");
    tabs_->addTab(MakeEntriesPage(), "年代記");
    cities_ = new WarChart(game_, ChartMeasure::Cities);
    troops_ = new WarChart(game_, ChartMeasure::Troops);
    tabs_->addTab(cities_, "都市数");
    tabs_->addTab(troops_, "兵力");
    shares_ = new ShareChart(game_);
    tabs_->addTab(shares_, "勢力図");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(tabs_);
    resize(960, 580);

    ApplyFilter();
    list_->scrollToBottom();
    screen_.AddView(this, [this] { Sync(); });
}

ChronicleWindow::~ChronicleWindow() { screen_.RemoveView(this); }

QWidget* ChronicleWindow::MakeEntriesPage() {
    auto* page = new QWidget;
    page->setObjectName("EntriesPage");
    nation_ = new QComboBox(page);
    nation_->setObjectName("NationFilter");
    nation_->setIconSize(QSize(kSwatchSize, kSwatchSize));
    nation_->addItem("すべての国", 0);
    for (int n = 1; n <= kNationCount; ++n) nation_->addItem(NationSwatch(n), Qs(game_.Nations[n].Name), n);
    nation_->setMaxVisibleItems(18);
    nation_->setCurrentIndex(std::max(0, NationIndex(game_, game_.PlayerNation)));
    connect(nation_, &QComboBox::currentIndexChanged, this, [this] { ApplyFilter(); });

    auto* filters = new QHBoxLayout;
    filters->addWidget(nation_);
    filters->addSpacing(12);
    for (int k = 0; k < kEntryKindCount; ++k) {
        auto* box = new QCheckBox(Qs(KindLabel(static_cast<EntryKind>(k))), page);
        box->setObjectName(QString("KindFilter%1").arg(k));
        box->setChecked(true);
        connect(box, &QCheckBox::toggled, this, [this] { ApplyFilter(); });
        filters->addWidget(box);
        kinds_[k] = box;
    }
    filters->addStretch(1);

    model_ = new ChronicleModel(game_, this);
    list_ = new QTreeView(page);
    list_->setObjectName("EntryList");
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    // One height for every row: the view need not measure a hundred thousand of them.
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->header()->setStretchLastSection(true);
    list_->header()->setSectionsMovable(false);
    const QFontMetrics metrics(list_->font());
    list_->setColumnWidth(ChronicleModel::SeasonColumn, metrics.horizontalAdvance("9999年目の冬") + 16);
    list_->setColumnWidth(ChronicleModel::KindColumn, metrics.horizontalAdvance("滅亡") + 16);
    connect(list_, &QTreeView::clicked, this, [this](const QModelIndex& index) { Choose(index); });
    connect(list_, &QTreeView::activated, this, [this](const QModelIndex& index) { Choose(index); });

    count_ = new QLabel(page);
    count_->setObjectName("EntryCount");
    strength_ = new QLabel(page);
    strength_->setObjectName("StrengthNote");
    auto* foot = new QHBoxLayout;
    foot->addWidget(count_, 1);
    foot->addWidget(strength_);

    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addLayout(filters);
    pageLayout->addWidget(list_, 1);
    pageLayout->addLayout(foot);
    replay_ = new ReplayBar(game_, main_.Map(), page);
    pageLayout->addWidget(replay_);
    return page;
}

void ChronicleWindow::Sync() {
    if (closing_) return;
    SyncEntries();
    replay_->Sync();
    cities_->Sync();
    troops_->Sync();
    shares_->Sync();
}

void ChronicleWindow::SyncEntries() {
    QScrollBar* bar = list_->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    const int before = model_->Total();
    model_->Sync();
    ShowCount();
    // A reader at the newest entry goes on reading the newest; one further up stays where he is.
    if (following && model_->Total() != before) list_->scrollToBottom();
}

void ChronicleWindow::ShowEntry(int index) {
    if (closing_) return;
    SyncEntries();
    if (index < 0 || index >= static_cast<int>(game_.chronicle.entries.size())) return;
    const ChronicleEntry& entry = game_.chronicle.entries[static_cast<std::size_t>(index)];
    // Filters that hid it let it through.
    kinds_[static_cast<int>(entry.kind)]->setChecked(true);
    if (!model_->Passes(entry)) nation_->setCurrentIndex(0);
    tabs_->setCurrentIndex(0);
    const QModelIndex at = model_->index(model_->RowOf(index), ChronicleModel::TextColumn);
    if (!at.isValid()) return;
    list_->setCurrentIndex(at);
    list_->scrollTo(at, QAbstractItemView::PositionAtCenter);
}

void ChronicleWindow::ApplyFilter() {
    const QModelIndex current = list_->currentIndex();
    const int chosen = current.isValid() ? model_->EntryAt(current.row()) : -1;
    std::array<bool, kEntryKindCount> kinds{};
    for (int k = 0; k < kEntryKindCount; ++k) kinds[k] = kinds_[k]->isChecked();
    model_->SetFilter(nation_->currentData().toInt(), kinds);
    model_->Sync();
    ShowCount();
    // The chosen entry stays chosen and in view when it is still listed.
    const int row = chosen >= 0 ? model_->RowOf(chosen) : -1;
    if (row < 0) return;
    const QModelIndex again = model_->index(row, ChronicleModel::TextColumn);
    list_->setCurrentIndex(again);
    list_->scrollTo(again);
}

void ChronicleWindow::ShowCount() {
    count_->setText(QString("%1件を表示（全%2件）").arg(model_->rowCount()).arg(model_->Total()));
    // A load may bring a game of another level.
    const QString strength = Qs(StrengthCaption(game_));
    if (strength_->text() != strength) strength_->setText(strength);
}

void ChronicleWindow::Choose(const QModelIndex& index) {
    if (closing_ || !index.isValid()) return;
    const std::vector<ChronicleEntry>& entries = game_.chronicle.entries;
    const int place = model_->EntryAt(index.row());
    if (place >= static_cast<int>(entries.size())) return;
    const ChronicleEntry& entry = entries[static_cast<std::size_t>(place)];
    replay_->ShowSeason(entry.year, entry.season);
    const std::vector<int>& cities = entry.cities;
    const int city = cities.empty() ? 0 : cities.front();
    if (city > 0) main_.Show([city](Session& g) { FocusCity(g, city); });
}

}  // namespace tarvex::ui
