// The chronicle window "年代記": entries filtered by nation and kind, and the charts.
#include "ui/chronicle_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "rules/chronicle/chronicle.h"
#include "screens/main/main_window.h"
#include "screens/session/session.h"
#include "ui/common.h"
#include "ui/main_window.h"
#include "ui/qt_screen.h"
#include "ui/replay_bar.h"
#include "ui/share_chart.h"
#include "ui/territory_picture.h"
#include "ui/war_chart.h"

namespace tarvex::ui {

namespace {

constexpr int kEntryIndex = Qt::UserRole;     // the entry's place in the chronicle
constexpr int kFirstCity = Qt::UserRole + 1;  // the city the map moves to, 0 for none

}  // namespace

ChronicleWindow::ChronicleWindow(Session& game, QtScreen& screen, MainWindow& main, QWidget* parent)
    : GameDialog(parent, "frmChronicle", "年代記"), game_(game), screen_(screen), main_(main) {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tabChronicle");

    // The entries, with the nation and kind filters above them.
    auto* page = new QWidget;
    page->setObjectName("pageEntries");
    nation_ = new QComboBox(page);
    nation_->setObjectName("cboNation");
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
        box->setObjectName(QString("chkKind_%1").arg(k));
        box->setChecked(true);
        connect(box, &QCheckBox::toggled, this, [this] { ApplyFilter(); });
        filters->addWidget(box);
        kinds_[k] = box;
    }
    filters->addStretch(1);

    list_ = new QTreeWidget(page);
    list_->setObjectName("lstChronicle");
    list_->setColumnCount(3);
    list_->setHeaderLabels({"時期", "種類", "出来事"});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(true);
    list_->header()->setSectionsMovable(false);
    const QFontMetrics metrics(list_->font());
    list_->setColumnWidth(0, metrics.horizontalAdvance("9999年目の冬") + 16);
    list_->setColumnWidth(1, metrics.horizontalAdvance("滅亡") + 16);
    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { Choose(item); });
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { Choose(item); });

    count_ = new QLabel(page);
    count_->setObjectName("lblCount");

    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addLayout(filters);
    pageLayout->addWidget(list_, 1);
    pageLayout->addWidget(count_);
    replay_ = new ReplayBar(game_, main_.Map(), page);
    pageLayout->addWidget(replay_);
    tabs_->addTab(page, "年代記");

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

    SyncEntries();
    ShowCount();
    list_->scrollToBottom();
    screen_.AddView(this, [this] { Sync(); });
}

ChronicleWindow::~ChronicleWindow() { screen_.RemoveView(this); }

void ChronicleWindow::Sync() {
    if (closing_) return;
    if (game_.Ended) {
        closing_ = true;
        close();
        return;
    }
    SyncEntries();
    replay_->Sync();
    cities_->Sync();
    troops_->Sync();
    shares_->Sync();
}

void ChronicleWindow::SyncEntries() {
    const std::vector<ChronicleEntry>& entries = game_.chronicle.entries;
    const bool grown = entries.size() >= listed_ && (listed_ == 0 || entries[listed_ - 1] == lastListed_);
    if (grown && entries.size() == listed_) return;
    QScrollBar* bar = list_->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    if (!grown) {
        // Another chronicle in place of the one listed (a load): list it anew.
        list_->clear();
        listed_ = 0;
    }
    for (std::size_t i = listed_; i < entries.size(); ++i) AddEntry(static_cast<int>(i));
    listed_ = entries.size();
    if (listed_ > 0) lastListed_ = entries.back();
    ShowCount();
    // A reader at the newest entry goes on reading the newest; one further up stays where he is.
    if (following) list_->scrollToBottom();
}

void ChronicleWindow::AddEntry(int index) {
    const ChronicleEntry& entry = game_.chronicle.entries[index];
    const int season = entry.season >= 1 && entry.season <= 4 ? entry.season : 1;
    auto* item = new QTreeWidgetItem(list_, {QString("%1年目の%2").arg(entry.year).arg(Qs(game_.SeasonNames[season])),
                                             Qs(KindLabel(entry.kind)), Qs(entry.text)});
    item->setData(0, kEntryIndex, index);
    item->setData(0, kFirstCity, entry.cities.empty() ? 0 : entry.cities.front());
    item->setToolTip(2, Qs(entry.text));
    item->setHidden(!Passes(entry));
}

bool ChronicleWindow::Passes(const ChronicleEntry& entry) const {
    if (!kinds_[static_cast<int>(entry.kind)]->isChecked()) return false;
    const int nation = nation_->currentData().toInt();
    return nation == 0 || std::find(entry.nations.begin(), entry.nations.end(), nation) != entry.nations.end();
}

void ChronicleWindow::ShowEntry(int index) {
    if (closing_) return;
    SyncEntries();
    // The list holds every entry in the chronicle's order: the entry's place is its row.
    QTreeWidgetItem* item = index >= 0 ? list_->topLevelItem(index) : nullptr;
    if (!item || item->data(0, kEntryIndex).toInt() != index) return;
    const ChronicleEntry& entry = game_.chronicle.entries[index];
    kinds_[static_cast<int>(entry.kind)]->setChecked(true);
    if (!Passes(entry)) nation_->setCurrentIndex(0);
    tabs_->setCurrentIndex(0);
    list_->setCurrentItem(item);
    list_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
}

void ChronicleWindow::ApplyFilter() {
    const std::vector<ChronicleEntry>& entries = game_.chronicle.entries;
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list_->topLevelItem(row);
        const int index = item->data(0, kEntryIndex).toInt();
        const bool passes = index < static_cast<int>(entries.size()) && Passes(entries[index]);
        if (item->isHidden() == passes) item->setHidden(!passes);
    }
    ShowCount();
    // The chosen entry stays in view when it is still listed.
    if (QTreeWidgetItem* current = list_->currentItem(); current && !current->isHidden()) list_->scrollToItem(current);
}

void ChronicleWindow::ShowCount() {
    int shown = 0;
    for (int row = 0; row < list_->topLevelItemCount(); ++row) shown += !list_->topLevelItem(row)->isHidden();
    count_->setText(QString("%1件を表示（全%2件）").arg(shown).arg(list_->topLevelItemCount()));
}

void ChronicleWindow::Choose(QTreeWidgetItem* item) {
    if (closing_ || !item) return;
    const auto index = static_cast<std::size_t>(item->data(0, kEntryIndex).toInt());
    if (index < game_.chronicle.entries.size())
        replay_->ShowSeason(game_.chronicle.entries[index].year, game_.chronicle.entries[index].season);
    const int city = item->data(0, kFirstCity).toInt();
    if (city > 0) main_.Show([city](Session& g) { FocusCity(g, city); });
}

}  // namespace tarvex::ui
