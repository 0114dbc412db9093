// How the war went, drawn: each nation's cities or troops season by season.
#include "ui/chronicle/war_chart.h"

#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "ui/map/territory_picture.h"
#include "ui/qt/common.h"

namespace tarvex::ui {

namespace {

constexpr int kLeaders = 5;  // nations shown at first besides the player's
constexpr qreal kLineWidth = 2;
constexpr qreal kPlayerLineWidth = 4.5;
// The map's colours are pale, made for land: they read best on a dark, sea-like ground.
const QColor kPlotGround(44, 58, 78);
const QColor kGridLine(78, 94, 116);

// A short stretch of a nation's line: its mark in the list, which is the chart's legend.
QIcon LineSample(int nation) {
    QPixmap pixmap(28, kSwatchSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.fillRect(pixmap.rect(), kPlotGround);
    painter.setPen(NationLinePen(nation, kLineWidth));
    painter.drawLine(QPointF(2, kSwatchSize / 2.0), QPointF(26, kSwatchSize / 2.0));
    return QIcon(pixmap);
}

}  // namespace

qreal NiceStep(qreal span, int ticks) {
    const qreal rough = std::max<qreal>(span / ticks, 1);
    const qreal power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const qreal f : {1.0, 2.0, 5.0})
        if (f * power >= rough) return f * power;
    return 10 * power;
}

QPen NationLinePen(int nation, qreal width) {
    QPen pen(NationLandColour(nation), width);
    // Of the nations that share a colour, the first draws solid, the others in dashes of their own.
    int before = 0;
    const auto& colours = MapGeography::Get().nationColour;
    for (int n = 1; n < nation && n <= kNationCount; ++n) before += colours[n] == colours[nation];
    static const QList<qreal> kDashes[] = {{}, {4, 2}, {1, 2}, {5, 2, 1, 2}, {8, 3}};
    const QList<qreal>& dashes = kDashes[before % std::size(kDashes)];
    if (!dashes.isEmpty()) pen.setDashPattern(dashes);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

QChart* MakeSeasonChart(const QString& yTitle, QValueAxis*& axisX, QValueAxis*& axisY) {
    auto* chart = new QChart;
    chart->setFont(GameFont());
    chart->legend()->hide();
    chart->setPlotAreaBackgroundBrush(kPlotGround);
    chart->setPlotAreaBackgroundVisible(true);
    chart->setMargins(QMargins(4, 4, 4, 4));
    axisX = new QValueAxis;
    axisY = new QValueAxis;
    // A unit written after the number comes out garbled in the labels: it stands in the axis title.
    axisX->setTitleText("年目");
    axisY->setTitleText(yTitle);
    for (QValueAxis* axis : {axisX, axisY}) {
        axis->setLabelFormat("%d");
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setLabelsFont(GameFont());
        axis->setTitleFont(GameFont());
    }
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    return chart;
}

void ShowSeasonTip(QWidget* view, const Game& game, int nation, const QPointF& point, bool over,
                   const std::function<int(const SeasonRecord&)>& value, const QString& unit) {
    if (!over) {
        QToolTip::hideText();
        return;
    }
    const SeasonRecord* nearest = NearestSeason(game.chronicle.seasons, point.x());
    if (!nearest) return;
    QToolTip::showText(QCursor::pos(),
                       QString("%1\n%2: %3%4")
                           .arg(Qs(game.Nations[nation].Name), Qs(SeasonName(game, nearest->year, nearest->season)))
                           .arg(value(*nearest))
                           .arg(unit),
                       view);
}

WarChart::WarChart(const Game& game, ChartMeasure measure, QWidget* parent)
    : QWidget(parent), game_(game), measure_(measure) {
    setObjectName(measure == ChartMeasure::Cities ? "chartCities" : "chartTroops");

    // The list beside the chart is its legend: it scrolls where a legend in the chart would be cut.
    chart_ = MakeSeasonChart(measure == ChartMeasure::Cities ? "都市数" : "兵力", axisX_, axisY_);
    for (QValueAxis* axis : {axisX_, axisY_}) axis->setGridLineColor(kGridLine);

    view_ = new QChartView(chart_, this);
    view_->setObjectName("chartView");
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(420, 300);

    auto* caption = new QLabel("表示する国", this);
    caption->setObjectName("ChartNationsCaption");
    nations_ = new QListWidget(this);
    nations_->setObjectName("ChartNations");
    nations_->setIconSize(QSize(28, kSwatchSize));
    for (int n = 1; n <= kNationCount; ++n) {
        auto* item = new QListWidgetItem(LineSample(n), Qs(game_.Nations[n].Name), nations_);
        item->setData(Qt::UserRole, n);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    nations_->setMinimumWidth(nations_->sizeHintForColumn(0) + 2 * nations_->frameWidth() +
                              style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 24);
    connect(nations_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (filling_) return;
        SetShown(item->data(Qt::UserRole).toInt(), item->checkState() == Qt::Checked);
    });
    auto* save = new QPushButton("画像を保存", this);
    save->setObjectName("SaveChartButton");
    // Enter in a list of the window must not save a picture.
    save->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, [this] { AskAndSave(); });

    auto* all = new QPushButton("すべて", this);
    all->setObjectName("AllNationsButton");
    auto* none = new QPushButton("なし", this);
    none->setObjectName("NoNationsButton");
    for (QPushButton* b : {all, none}) b->setAutoDefault(false);
    connect(all, &QPushButton::clicked, this, [this] { ShowAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { ShowAll(false); });
    auto* allOrNone = new QHBoxLayout;
    allOrNone->addWidget(all);
    allOrNone->addWidget(none);

    auto* side = new QVBoxLayout;
    side->addWidget(caption);
    side->addLayout(allOrNone);
    side->addWidget(nations_, 1);
    side->addWidget(save);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_, 1);
    layout->addLayout(side);

    Sync();
}

QLineSeries* WarChart::SeriesOf(int nation) const {
    const auto found = series_.find(nation);
    return found == series_.end() ? nullptr : found->second;
}

void WarChart::Sync() {
    const std::vector<SeasonRecord>& rows = game_.chronicle.seasons;
    const int player = NationIndex(game_, game_.PlayerNation);
    const bool same = player == player_ && rows.size() == rows_ &&
                      (rows.empty() || (rows.front() == firstRow_ && rows.back() == lastRow_));
    if (same) return;
    if (player != player_) {
        // Another game: the player's own choice was made for the last one.
        playerChose_ = false;
        player_ = player;
    }
    rows_ = rows.size();
    if (!rows.empty()) {
        firstRow_ = rows.front();
        lastRow_ = rows.back();
    }
    if (!playerChose_) ChooseLeaders();
    FillList();
    RebuildSeries();
}

void WarChart::ChooseLeaders() { shown_ = Leaders(Peaks(game_.chronicle.seasons, measure_), kLeaders, player_); }

void WarChart::FillList() {
    filling_ = true;
    for (int row = 0; row < nations_->count(); ++row) {
        QListWidgetItem* item = nations_->item(row);
        const int n = item->data(Qt::UserRole).toInt();
        const QString name = n == player_ ? "★" + Qs(game_.Nations[n].Name) : Qs(game_.Nations[n].Name);
        if (item->text() != name) item->setText(name);
        item->setFont(n == player_ ? Emboldened(nations_->font()) : nations_->font());
        const Qt::CheckState state = shown_[n] ? Qt::Checked : Qt::Unchecked;
        if (item->checkState() != state) item->setCheckState(state);
    }
    filling_ = false;
}

void WarChart::SetShown(int nation, bool shown) {
    if (nation < 1 || nation > kNationCount) return;
    playerChose_ = true;
    if (shown_[nation] == shown) return;
    shown_[nation] = shown;
    FillList();
    RebuildSeries();
}

void WarChart::ShowAll(bool shown) {
    playerChose_ = true;
    shown_.fill(shown);
    shown_[0] = false;
    FillList();
    RebuildSeries();
}

void WarChart::RebuildSeries() {
    const std::vector<SeasonRecord>& rows = game_.chronicle.seasons;
    // The player's line first, so the legend names it first; then the strongest.
    const std::vector<int> order = LineOrder(shown_, Peaks(rows, measure_), player_);

    std::vector<int> attached;
    for (QAbstractSeries* s : chart_->series()) attached.push_back(s->property("nation").toInt());
    if (attached != order) {
        for (auto& [nation, series] : series_) {
            chart_->removeSeries(series);
            delete series;
        }
        series_.clear();
        for (int n : order) {
            auto* series = new QLineSeries;
            series->setProperty("nation", n);
            const bool mine = n == player_;
            series->setName(mine ? "★" + Qs(game_.Nations[n].Name) : Qs(game_.Nations[n].Name));
            series->setPen(NationLinePen(n, mine ? kPlayerLineWidth : kLineWidth));
            chart_->addSeries(series);
            series->attachAxis(axisX_);
            series->attachAxis(axisY_);
            connect(series, &QLineSeries::hovered, this, [this, n](const QPointF& point, bool over) {
                ShowSeasonTip(view_, game_, n, point, over,
                              [this, n](const SeasonRecord& row) { return Value(row, n); });
            });
            series_[n] = series;
        }
    }

    int most = 0;
    for (auto& [nation, series] : series_) {
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(rows.size()));
        for (const SeasonRecord& row : rows) {
            points.append({SeasonTime(row), static_cast<qreal>(Value(row, nation))});
            most = std::max(most, Value(row, nation));
        }
        series->replace(points);
    }

    const qreal first = rows.empty() ? game_.Year : SeasonTime(rows.front());
    const qreal last = rows.empty() ? first : SeasonTime(rows.back());
    const qreal from = std::floor(first);
    const qreal to = std::max(last, from + 1);
    axisX_->setTickAnchor(from);
    axisX_->setTickInterval(NiceStep(to - from, 10));
    axisX_->setRange(from, to);
    const qreal step = NiceStep(std::max(most, 1), 8);
    axisY_->setTickAnchor(0);
    axisY_->setTickInterval(step);
    axisY_->setRange(0, std::max(step, std::ceil(most / step) * step));
}

bool WarChart::SaveImage(const QString& path) const {
    const QImage image = view_->grab().toImage();
    if (image.isNull()) return false;
    QImageWriter writer(path, "png");
    return writer.write(image);
}

void WarChart::AskAndSave() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
    const QString name = measure_ == ChartMeasure::Cities ? "都市数.png" : "兵力.png";
    QString path = QFileDialog::getSaveFileName(this, "画像を保存", QDir(folder).filePath(name), "PNG画像 (*.png)");
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().compare("png", Qt::CaseInsensitive) != 0) path += ".png";
    if (!SaveImage(path))
        QMessageBox::warning(
            this, "画像を保存",
            "画像を保存できませんでした。\n" + QDir::toNativeSeparators(path) + "\n書き込める場所を選んでください。");
}

WarChartDialog::WarChartDialog(const Game& game, QWidget* parent)
    : GameDialog(parent, "WarChartWindow", "都市数の推移") {
    auto* layout = new QVBoxLayout(this);
    // What ended the war, when the chronicle has it.
    const std::vector<ChronicleEntry>& entries = game.chronicle.entries;
    const auto unified = std::find_if(entries.rbegin(), entries.rend(),
                                      [](const ChronicleEntry& e) { return e.kind == EntryKind::Unification; });
    if (unified != entries.rend()) {
        auto* heading =
            new QLabel(Qs(SeasonName(game, unified->year, unified->season)) + "　" + Qs(unified->text), this);
        heading->setObjectName("UnifiedHeading");
        heading->setFont(Emboldened(GameFont(11)));
        layout->addWidget(heading);
    }
    chart_ = new WarChart(game, ChartMeasure::Cities, this);
    layout->addWidget(chart_, 1);
    auto* close = new QPushButton("閉じる", this);
    close->setObjectName("CloseButton");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(900, 580);
    close->setFocus();
}

}  // namespace tarvex::ui
