// The nations' shares of the cities, stacked band on band.
#include "ui/chronicle/share_chart.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "ui/chronicle/war_chart.h"
#include "ui/map/territory_picture.h"
#include "ui/qt/common.h"

namespace tarvex::ui {

namespace {

const QColor kBandEdge(60, 45, 30, 120);
const QColor kPlayerEdge(190, 60, 20);  // as the player's realm on the map

// A band this many cities wide at its widest has room for its nation's name.
constexpr int kNamedBand = 6;

}  // namespace

ShareChart::ShareChart(const Game& game, QWidget* parent) : QWidget(parent), game_(game) {
    setObjectName("chartShares");
    // Thirty-four names do not fit beside the chart: the pointer names each band.
    chart_ = MakeSeasonChart("都市数", axisX_, axisY_);
    axisY_->setRange(0, kCityCount);
    axisY_->setTickAnchor(0);
    axisY_->setTickInterval(15);
    for (QValueAxis* axis : {axisX_, axisY_}) axis->setGridLineVisible(false);
    view_ = new QChartView(chart_, this);
    view_->setObjectName("shareView");
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(420, 300);
    // With fewer than two seasons there is no band to draw: say so rather than show an empty box.
    note_ = new QLabel(this);
    note_->setObjectName("ShareNote");
    note_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(note_);
    layout->addWidget(view_, 1);
    bands_.assign(kNationCount + 1, nullptr);
    connect(chart_, &QChart::plotAreaChanged, this, [this] { PlaceNames(); });
    Sync();
}

QStringList ShareChart::BandNames() const {
    QStringList names;
    for (const BandName& name : names_) names << name.item->text();
    return names;
}

void ShareChart::PlaceNames() {
    for (const BandName& name : names_) {
        const QRectF box = name.item->boundingRect();
        name.item->setPos(chart_->mapToPosition(name.at) - QPointF(box.width() / 2, box.height() / 2));
    }
}

QAreaSeries* ShareChart::BandOf(int nation) const {
    return nation >= 1 && nation <= kNationCount ? bands_[nation] : nullptr;
}

void ShareChart::Sync() {
    const std::vector<SeasonRecord>& rows = game_.chronicle.seasons;
    const int player = NationIndex(game_, game_.PlayerNation);
    if (player == player_ && rows.size() == rows_ && (rows.empty() || rows.back() == lastRow_)) return;
    player_ = player;
    rows_ = rows.size();
    if (!rows.empty()) lastRow_ = rows.back();
    Rebuild();
}

void ShareChart::Rebuild() {
    const std::vector<SeasonRecord>& rows = game_.chronicle.seasons;
    note_->setText(QStringLiteral("勢力図は季節が2つ以上記録されると描かれます"));
    note_->setVisible(rows.size() < 2);
    chart_->removeAllSeries();
    for (const BandName& name : names_) delete name.item;
    names_.clear();
    bands_.assign(kNationCount + 1, nullptr);
    // Band on band in the nations' order, which runs across the map: neighbours lie near.
    std::vector<qreal> below(rows.size(), 0);
    for (int n : BandOrder(rows)) {
        auto* lower = new QLineSeries;
        auto* upper = new QLineSeries;
        QList<QPointF> lowerPoints, upperPoints;
        lowerPoints.reserve(static_cast<qsizetype>(rows.size()));
        upperPoints.reserve(static_cast<qsizetype>(rows.size()));
        std::size_t widest = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            lowerPoints.append({SeasonTime(rows[i]), below[i]});
            below[i] += std::max<int>(0, rows[i].cities[n]);
            upperPoints.append({SeasonTime(rows[i]), below[i]});
            if (rows[i].cities[n] > rows[widest].cities[n]) widest = i;
        }
        if (rows.size() >= 2 && rows[widest].cities[n] >= kNamedBand) {
            auto* name = new QGraphicsSimpleTextItem(Qs(game_.Nations[n].Name), chart_);
            name->setZValue(10);
            names_.push_back({name, {SeasonTime(rows[widest]), below[widest] - rows[widest].cities[n] / 2.0}});
        }
        lower->replace(lowerPoints);
        upper->replace(upperPoints);
        auto* band = new QAreaSeries(upper, lower);
        // The band does not own its edges; without this every rebuild (each season) lost them.
        upper->setParent(band);
        lower->setParent(band);
        band->setProperty("nation", n);
        band->setName(Qs(game_.Nations[n].Name));
        band->setBrush(NationLandColour(n));
        const bool mine = n == player_;
        QPen edge(mine ? kPlayerEdge : kBandEdge, mine ? 2.5 : 0.6);
        band->setPen(edge);
        chart_->addSeries(band);
        band->attachAxis(axisX_);
        band->attachAxis(axisY_);
        connect(band, &QAreaSeries::hovered, this, [this, n](const QPointF& point, bool over) {
            ShowSeasonTip(
                view_, game_, n, point, over, [n](const SeasonRecord& row) { return row.cities[n]; },
                QStringLiteral("都市"));
        });
        bands_[n] = band;
    }
    const qreal first = rows.empty() ? game_.Year : SeasonTime(rows.front());
    const qreal last = rows.empty() ? first : SeasonTime(rows.back());
    const qreal from = std::floor(first), to = std::max(last, from + 1);
    axisX_->setTickAnchor(from);
    axisX_->setTickInterval(NiceStep(to - from, 10));
    axisX_->setRange(from, to);
    PlaceNames();
}

}  // namespace tarvex::ui
