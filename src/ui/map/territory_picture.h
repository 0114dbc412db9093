// The map's land coloured by who holds it: the land divided among the cities,
// one byte a pixel with a colour table that follows every change of owner, the
// fixed decorations (coast, neighbour lines, the mountains' name) beside it, and
// the borders between nations drawn on top at full resolution.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QRect>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "screens/map/territory.h"
#include "screens/map/war_map.h"

class QDataStream;
class QPainter;

namespace tarvex::ui {

// The land divided among the cities, row by row as runs of one city (or sea):
// the land of Europe needs a few dozen runs a row, not a byte a pixel.
class LandRuns {
public:
    // The map surface at `ratio` pixels a logical pixel, divided a band at a time;
    // where each city's land lies (logical pixels), if asked.
    static LandRuns Divide(const struct MapGeography& map, qreal ratio,
                           std::array<QRect, kCityCount + 1>* bounds = nullptr);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The city at a pixel, 0 for sea or outside.
    int At(int x, int y) const;
    // Calls fill(from, to, city) for the runs of row y that cover pixels [x0, x1).
    template <class Fill>
    void ForRuns(int y, int x0, int x1, Fill fill) const;
    qint64 Bytes() const { return qint64(runs_.capacity() * sizeof(Run) + rowStart_.capacity() * sizeof(quint32)); }
    bool operator==(const LandRuns& other) const;

    // As the build writes them beside the map, and read back: false for runs that do not
    // cover a `width` x `height` surface row by row with cities of the game.
    void Write(QDataStream& out) const;
    static bool Read(QDataStream& in, int width, int height, LandRuns* runs);

private:
    struct Run {
        quint16 end;  // the first pixel after the run
        quint8 city;
    };
    const Run* FirstRunAt(int y, int x) const;

    int width_ = 0;
    int height_ = 0;
    std::vector<Run> runs_;
    std::vector<quint32> rowStart_;  // runs of row y: [rowStart_[y], rowStart_[y + 1])
};

// What the map is made of, the same at every screen density: the land outline,
// the cities' real places, the borders between their lands and each nation's colour.
struct MapGeography {
    QPainterPath land;
    bool hasLand = false;
    CitySites sites{};
    LandReach reach;        // which cities may hold the land of each part of the map
    bool fromFile = false;  // reach, division and borders as the build worked them out
    std::vector<BorderPiece> borders;
    std::array<int, kNationCount + 1> nationColour{};  // index into kLandColours
    std::array<QRect, kCityCount + 1> cityBounds{};    // where each city's land lies, logical pixels
    LandRuns divided;                                  // at one pixel a logical pixel
    QByteArray sharpDivision;                          // at two pixels a logical pixel, packed, when the build made it

    // The land divided at `ratio` pixels a logical pixel: as the build made it where it
    // did (one and two pixels a logical pixel), else worked out here; `fromBuild` says which.
    LandRuns Division(qreal ratio, bool* fromBuild = nullptr) const;

    // The shipped map, read and worked out once per run, on first use.
    static const MapGeography& Get();
    // The map from an outline and a table of places. A missing or damaged outline
    // leaves plain sea, and missing places put the cities at their panels; either is
    // said once per run on standard error.
    // `reachFile`: the reach over land, the division at one pixel a logical pixel and the
    // borders as the build worked them out (map/europe.reach), taken only when made from
    // this same land and these places.
    static MapGeography Read(const QString& outlineFile, const QString& sitesFile, const QString& reachFile = {});
};

// Works out the reach over land, the division and the borders of the map from its outline
// and its places and writes them where MapGeography::Read takes them from: done once,
// when the game is built.
bool WriteReachFile(const QString& outlineFile, const QString& sitesFile, const QString& reachFile, QString* error);

// A nation's land colour on the map and in the nation screen's legend; a plain
// neutral colour for 0 (no nation of that name).
QColor NationLandColour(int nation);

// The middle of a city's folded panel, logical pixels of the surface: where the
// neighbour lines and a battle's arrow join the panels.
QPointF PanelCentre(int city);

// A nation's colour as a small framed square, for lists that name nations.
inline constexpr int kSwatchSize = 12;
QIcon NationSwatch(int nation);

class TerritoryPicture {
public:
    // The whole map surface at `ratio` device pixels a logical pixel.
    explicit TerritoryPicture(qreal ratio);
    TerritoryPicture(const TerritoryPicture&) = delete;
    TerritoryPicture& operator=(const TerritoryPicture&) = delete;

    qreal Ratio() const { return ratio_; }
    // Colours each city's land by its owner, marks the player's and dashes round what he
    // has delegated. Returns the part of the surface (logical pixels) whose picture
    // changed; empty when nothing did.
    QRect SetOwners(const WarMapShown& map);
    // Paints the part `area` (logical pixels of the surface): land, sea, decorations, borders.
    void Paint(QPainter& painter, const QRect& area);
    // The city whose land lies under a point of the surface (logical pixels); 0 for sea.
    int CityAt(QPointF point) const;
    // The whole map at a small size, territory colours only.
    QImage Overview(QSize size) const;
    // Bytes the picture holds.
    qint64 Bytes() const;

private:
    // The fixed decorations of a band of rows: the pixels they touch, row by row, each
    // with its colour. Each band is held at its own size, so that building them never
    // sets aside room that is not used.
    struct DotBand {
        std::vector<quint16> x;
        std::vector<quint8> colour;  // index into decorationColours_, never 0
    };
    void BuildDecorations();
    void KeepDots(const std::vector<quint8>& colours, int rows, DotBand& gathered);
    QRgb ShownColour(int city, bool stripe) const;
    // The dashed line round the land of the delegated cities, where it crosses `inView`.
    void PaintDelegated(QPainter& painter, const QRectF& inView);

    qreal ratio_ = 1;
    // The land divided at this density: the map's own at one pixel a logical pixel, else ownLand_.
    const LandRuns* land_ = nullptr;
    LandRuns ownLand_;
    int bandRows_ = 256;
    std::vector<DotBand> dotBands_;
    std::vector<quint32> rowDots_;  // row y's dots: [rowDots_[y], rowDots_[y + 1]), counted over all bands
    std::array<QRgb, 256> decorationColours_{};
    // The player's land is striped: a diagonal band every few pixels takes the stripe colour.
    int stripePeriod_ = 8;
    std::vector<quint8> stripes_;  // 1 on a stripe, for x + y from 0 to width + period
    std::array<QRgb, kCityCount + 1> landColours_{};
    std::array<QRgb, kCityCount + 1> stripeColours_{};
    std::array<int, kCityCount + 1> nation_{};
    int playerNation_ = -1;
    std::array<bool, kCityCount + 1> delegated_{};
    // Each city's stretch of coast in short runs with their bounds: made when a city is first delegated.
    std::array<std::vector<std::pair<QPolygonF, QRectF>>, kCityCount + 1> coastOf_{};
    bool coastShared_ = false;
    QImage scratch_;
};

template <class Fill>
void LandRuns::ForRuns(int y, int x0, int x1, Fill fill) const {
    if (y < 0 || y >= height_) return;
    const Run* end = runs_.data() + rowStart_[y + 1];
    for (const Run* run = FirstRunAt(y, x0); run != end && x0 < x1; ++run) {
        const int to = std::min<int>(run->end, x1);
        if (to > x0) fill(x0, to, run->city);
        x0 = to;
    }
}

}  // namespace tarvex::ui
