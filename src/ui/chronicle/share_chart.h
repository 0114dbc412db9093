// The rise and fall of nations at a glance: each nation's share of the 75 cities
// season by season, stacked in the nations' own order so that neighbours lie near.
#pragma once

#include <QPointF>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "rules/world/game.h"

class QAreaSeries;
class QGraphicsSimpleTextItem;
class QChart;
class QChartView;
class QLabel;
class QValueAxis;

namespace tarvex::ui {

class ShareChart : public QWidget {
    Q_OBJECT
public:
    explicit ShareChart(const Game& game, QWidget* parent = nullptr);

    // Takes in the seasons recorded since the last call; cheap when none were.
    void Sync();

    QChart* Chart() const { return chart_; }
    // The band of a nation, or null when it never held a city.
    QAreaSeries* BandOf(int nation) const;

    // The names written on the bands wide enough to hold one.
    QStringList BandNames() const;

private:
    void Rebuild();
    // Puts each name where its band is widest, after the plot area moved.
    void PlaceNames();

    // A nation's name on its band: where (in the chart's numbers) it stands.
    struct BandName {
        QGraphicsSimpleTextItem* item;
        QPointF at;
    };
    std::vector<BandName> names_;

    const Game& game_;
    QChart* chart_ = nullptr;
    QChartView* view_ = nullptr;
    QLabel* note_ = nullptr;  // why the chart is empty while fewer than two seasons are kept
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    std::vector<QAreaSeries*> bands_;  // by nation, 0 for none
    std::size_t rows_ = 0;
    SeasonRecord lastRow_;
    int player_ = -1;
};

}  // namespace tarvex::ui
