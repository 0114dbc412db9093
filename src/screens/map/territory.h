// The land of the map shared out among the cities: each piece of land belongs to
// the city whose real place lies nearest, islands included, and the borders
// between the cities' lands. Drawn by the window layer; no Qt here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
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

// Land pixels (any non-zero byte) become the number of their nearest city,
// exactly as NearestCity says; sea (zero) stays sea. Returns where each city's
// land lies, in rows of the whole picture (slot 0 unused).
std::array<PixelBounds, kCityCount + 1> DivideLand(const CitySites& sites, const LandGrid& grid);

// A straight stretch of the border between two cities' lands (a < b), in twips.
struct BorderPiece {
    int a = 0;
    int b = 0;
    MapPoint from, to;
};

// The city whose land holds pixel (x, y) of a divided picture, 0 for sea.
using CityAtPixel = std::function<int(int x, int y)>;

// Every stretch of land where two cities' lands meet, from a divided picture of
// width x height pixels: the line of points as near to one as to the other, kept
// where it runs over land.
std::vector<BorderPiece> LandBorders(const CitySites& sites, int width, int height, double twipsPerPixel,
                                     const CityAtPixel& cityAt);

}  // namespace tarvex
