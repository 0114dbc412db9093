// The land of the map shared out among the cities: each piece of land belongs to
// the city nearest over land, where a stretch of sea counts several times its
// length, and the borders between the cities' lands. Drawn by the window layer; no Qt here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rules/world/game.h"

namespace tarvex {

// A point on the 48000 x 35000 twip map surface (x to the right, y downwards).
struct MapPoint {
    double x = 0;
    double y = 0;
};

// The real place of each city on the map surface, 1..75 (slot 0 unused).
using CitySites = std::array<MapPoint, kCityCount + 1>;

// Reads the shipped table of the cities' places (map/cities.tsv: a comment line,
// then "city<TAB>x<TAB>y<TAB>pin<TAB>name" per city). False with a reason when a
// city is missing, doubled or placed far off the map; `sites` is untouched then.
bool ParseCitySites(std::string_view text, CitySites* sites, std::string* error);

// The middle of each city's folded panel: where the map puts a city when its
// real place is not known.
CitySites PanelCentreSites();

// The city whose place lies nearest to `point`; of two at one distance, the lower number.
int NearestCity(const CitySites& sites, MapPoint point);

// A picture of the map surface, or a band of it, one byte a pixel: pixel (x, y)
// stands for the point at its centre, `twipsPerPixel` twips a side; the band's
// first row is row `top` of the whole picture.
struct LandGrid {
    int width = 0;
    int height = 0;
    double twipsPerPixel = 15.0;
    std::uint8_t* pixels = nullptr;
    std::ptrdiff_t stride = 0;  // bytes from one row to the next
    int top = 0;

    MapPoint Centre(int x, int y) const { return {(x + 0.5) * twipsPerPixel, (top + y + 0.5) * twipsPerPixel}; }
    std::uint8_t& At(int x, int y) const { return pixels[y * stride + x]; }
};

// The pixels a city's land spans (right and bottom inclusive); empty when right < left.
struct PixelBounds {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    void Add(int x0, int y0, int x1, int y1);  // pixels x0..x1, y0..y1
};

// How far each part of the map lies from the cities over land: the surface in
// square cells, each given to the city that reaches it at the least cost (a
// stretch of sea costs kSeaCost times its length), and the few cities that may
// hold some of its land. A landmass with cities of its own is shared among them;
// an island without one goes to the city nearest across the water.
struct LandReach {
    static constexpr double kSeaCost = 4.0;

    int columns = 0;
    int rows = 0;
    double cellTwips = 240.0;
    std::vector<std::uint8_t> nearest;          // the cheapest city of each cell, row by row
    std::vector<std::uint32_t> firstCandidate;  // candidates of cell i: [first[i], first[i + 1])
    std::vector<std::uint8_t> candidates;       // ascending
    std::vector<float> extra;                   // each candidate's way round, beyond the straight line, twips

    int CellColumn(double x) const;
    int CellRow(double y) const;
    const std::uint8_t* CandidatesBegin(int column, int row) const {
        return candidates.data() + firstCandidate[static_cast<std::size_t>(row) * columns + column];
    }
    const std::uint8_t* CandidatesEnd(int column, int row) const {
        return candidates.data() + firstCandidate[static_cast<std::size_t>(row) * columns + column + 1];
    }
    const float* ExtraBegin(int column, int row) const {
        return extra.data() + firstCandidate[static_cast<std::size_t>(row) * columns + column];
    }
};

// The reach over a surface of columns x rows cells of `cellTwips`; `cover` says how
// much of each cell is land, 0 (sea) to 255 (land), row by row.
LandReach ReachOverLand(const CitySites& sites, int columns, int rows, double cellTwips,
                        const std::vector<std::uint8_t>& cover);

// Land pixels (any non-zero byte) become the number of the city that holds them:
// of the cities that may hold land in the pixel's cell, the one nearest in a
// straight line plus its way round; sea (zero) stays sea. Returns where each city's land lies, in rows of the
// whole picture (slot 0 unused).
std::array<PixelBounds, kCityCount + 1> DivideLand(const CitySites& sites, const LandReach& reach,
                                                   const LandGrid& grid);

// A straight stretch of the border between two cities' lands (a < b), in twips.
struct BorderPiece {
    int a = 0;
    int b = 0;
    MapPoint from, to;
};

// Gathers where two cities' lands meet from a divided picture, fed a row at a time
// from the top, and straightens the pixels' steps into lines.
class PairTracer;

class BorderTracer {
public:
    explicit BorderTracer(int width);
    // The next row of the divided picture: `width` bytes, 0 for sea.
    void AddRow(const std::uint8_t* row);
    // Every stretch of border, `twipsPerPixel` twips a pixel; none of them runs over sea.
    std::vector<BorderPiece> Pieces(double twipsPerPixel) const;

private:
    friend class PairTracer;
    struct Edge {
        std::uint16_t pair;  // a * 256 + b, a < b
        std::uint16_t x, y;  // the corner it starts from
        bool down;           // runs down from (x, y), or else right
    };
    int width_ = 0;
    int y_ = 0;
    std::vector<std::uint8_t> previous_;
    std::vector<Edge> edges_;
};

}  // namespace tarvex
