// The map's land coloured by who holds it: the land divided among the cities,
// one byte a pixel with a colour table that follows every change of owner, the
// fixed decorations (coast, neighbour lines, the mountains' name) beside it, and
// the borders between nations drawn on top at full resolution.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <array>
#include <vector>

#include "screens/map/territory.h"
#include "screens/map/war_map.h"

class QPainter;

namespace tarvex::ui {

// What the map is made of, the same at every screen density: the land outline,
// the cities' real places, the borders between their lands and each nation's colour.
struct MapGeography {
    QPainterPath land;
    bool hasLand = false;
    CitySites sites{};
    std::vector<BorderPiece> borders;
    std::array<int, kNationCount + 1> nationColour{};  // index into kLandColours
    std::array<QRect, kCityCount + 1> cityBounds{};     // where each city's land lies, logical pixels

    // Read and worked out once per run, on first use.
    static const MapGeography& Get();
    // The land divided at one pixel a logical pixel, once: the first picture at that density takes it.
    QImage TakeDivided() const;

private:
    mutable QImage divided_;
};

// A nation's land colour on the map and in the nation screen's legend; a plain
// neutral colour for 0 (no nation of that name).
QColor NationLandColour(int nation);

class TerritoryPicture {
public:
    // The whole map surface at `ratio` device pixels a logical pixel.
    explicit TerritoryPicture(qreal ratio);

    qreal Ratio() const { return ratio_; }
    // Colours each city's land by its owner and marks the player's. Returns the part
    // of the surface (logical pixels) whose picture changed; empty when nothing did.
    QRect SetOwners(const WarMapShown& map);
    // Paints the part `area` (logical pixels of the surface): land, sea, decorations, borders.
    void Paint(QPainter& painter, const QRect& area);
    // The city whose land lies under a point of the surface (logical pixels); 0 for sea.
    int CityAt(QPointF point) const;
    // The whole map at a small size, territory colours only.
    QImage Overview(QSize size) const;
    // Bytes the pictures hold.
    qint64 Bytes() const { return index_.sizeInBytes() + decoration_.sizeInBytes(); }

private:
    void BuildDecorations();
    QRgb ShownColour(int city, bool stripe) const;

    qreal ratio_ = 1;
    QImage index_;       // Indexed8: 0 sea, else city | 0x80 on the stripes of the player's pattern
    QImage decoration_;  // Indexed8 with premultiplied colours: 0 nothing
    std::array<QRgb, 256> landColours_{};
    std::array<QRgb, 256> decorationColours_{};
    std::array<int, kCityCount + 1> nation_{};
    int playerNation_ = -1;
    QImage scratch_;
};

}  // namespace tarvex::ui
