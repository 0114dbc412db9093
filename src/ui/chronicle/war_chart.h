// How the war went, drawn: each nation's cities or troops season by season,
// one line a nation in its map colour, and the window shown when the map is unified.
#pragma once

#include <QPen>
#include <QPointF>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <vector>

#include "rules/world/game.h"
#include "screens/chronicle/chronicle_window.h"
#include "ui/qt/game_dialog.h"

class QChart;
class QChartView;
class QLineSeries;
class QListWidget;
class QValueAxis;

namespace tarvex::ui {

// A step of 1, 2 or 5 times a power of ten that cuts `span` into at most `ticks` parts.
qreal NiceStep(qreal span, int ticks);

// How a nation's line is drawn: its map colour, and a dash of its own where
// other nations share that colour, so that no two lines look alike.
QPen NationLinePen(int nation, qreal width);
// A chart over the seasons in the game's type: a dark plot, no legend inside it,
// whole numbers on "年目" along the foot and on `yTitle` up the side; the axes are
// added to the chart and handed back for what each chart sets of its own.
QChart* MakeSeasonChart(const QString& yTitle, QValueAxis*& axisX, QValueAxis*& axisY);

// The pointer over a nation's line or band (`over`, as Qt's hovered signal says):
// a tip with the nation, the season nearest the pointer and its value then,
// followed by `unit`; none when the pointer has left.
void ShowSeasonTip(QWidget* view, const Game& game, int nation, const QPointF& point, bool over,
                   const std::function<int(const SeasonRecord&)>& value, const QString& unit = {});

class WarChart : public QWidget {
    Q_OBJECT
public:
    WarChart(const Game& game, ChartMeasure measure, QWidget* parent = nullptr);

    // Takes in the seasons recorded since the last call; cheap when none were.
    void Sync();

    QChart* Chart() const { return chart_; }
    QChartView* View() const { return view_; }
    // The line of a nation on the chart, or null when it is not shown.
    QLineSeries* SeriesOf(int nation) const;
    bool Shows(int nation) const { return shown_[nation]; }
    // Shows or hides a nation's line, as its box in the list beside the chart does.
    void SetShown(int nation, bool shown);
    // Shows every nation's line, or none.
    void ShowAll(bool shown);
    // The chart as it stands, as a PNG file; false when it cannot be written.
    bool SaveImage(const QString& path) const;

private:
    int Value(const SeasonRecord& row, int nation) const { return ChartValue(row, nation, measure_); }
    // Until the player picks nations himself, the leaders and his own nation are shown.
    void ChooseLeaders();
    void RebuildSeries();
    void FillList();
    void AskAndSave();

    const Game& game_;
    ChartMeasure measure_;
    QChart* chart_ = nullptr;
    QChartView* view_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QListWidget* nations_ = nullptr;
    std::array<bool, kNationCount + 1> shown_{};
    std::map<int, QLineSeries*> series_;
    bool playerChose_ = false;
    bool filling_ = false;
    int player_ = -1;
    // What the chart last took in: the rows grow at the end, and the last one
    // is replaced when its season is recorded again; a load starts them anew.
    std::size_t rows_ = 0;
    SeasonRecord firstRow_;
    SeasonRecord lastRow_;
};

// The cities chart of the whole game, shown when one nation has taken every city.
class WarChartDialog : public GameDialog {
    Q_OBJECT
public:
    WarChartDialog(const Game& game, QWidget* parent = nullptr);

    WarChart* Chart() const { return chart_; }

private:
    WarChart* chart_ = nullptr;
};

}  // namespace tarvex::ui
