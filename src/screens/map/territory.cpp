// The land of the map shared out among the cities by their real places.
#include "screens/map/territory.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "rules/world/scenario.h"
#include "screens/main/main_window.h"

namespace tarvex {

namespace {

// Places stay near the surface; Sarai, on the Volga, lies just beyond its right edge.
constexpr int kPlaceLimit = 100000;

double SquaredDistance(MapPoint a, MapPoint b) {
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return dx * dx + dy * dy;
}

bool ParseWhole(std::string_view field, int limit, int* value) {
    int v = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc() || end != field.data() + field.size() || v < -limit || v > limit) return false;
    *value = v;
    return true;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

// Of `among` (ascending), the cities that can be nearest anywhere in a block of pixel
// centres: none other can be as near to any point of it as the city whose farthest
// corner is nearest.
std::vector<int> BlockCandidates(const CitySites& sites, const std::vector<int>& among, MapPoint low, MapPoint high) {
    std::vector<double> nearestPart(among.size());
    double bound = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < among.size(); ++i) {
        const MapPoint s = sites[among[i]];
        const double inX = std::clamp(s.x, low.x, high.x);
        const double inY = std::clamp(s.y, low.y, high.y);
        nearestPart[i] = SquaredDistance(s, {inX, inY});
        const double farX = std::max(std::abs(s.x - low.x), std::abs(s.x - high.x));
        const double farY = std::max(std::abs(s.y - low.y), std::abs(s.y - high.y));
        bound = std::min(bound, farX * farX + farY * farY);
    }
    std::vector<int> candidates;
    for (std::size_t i = 0; i < among.size(); ++i)
        if (nearestPart[i] <= bound) candidates.push_back(among[i]);
    return candidates;
}

// Land pixels of one block go to the nearest of its candidates.
void DivideBlock(const CitySites& sites, const LandGrid& grid, const std::vector<int>& candidates, int x0, int y0,
                 int x1, int y1, std::array<PixelBounds, kCityCount + 1>& bounds) {
    if (candidates.size() == 1) {
        const auto city = static_cast<std::uint8_t>(candidates.front());
        std::uint8_t any = 0;
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* row = &grid.At(0, y);
            for (int x = x0; x < x1; ++x) {
                any |= row[x];
                row[x] = row[x] != 0 ? city : 0;
            }
        }
        if (any)
            bounds[city].Add(x0, grid.top + y0, x1 - 1, grid.top + y1 - 1);  // the block: a little wide, never short
        return;
    }
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* row = &grid.At(0, y);
        for (int x = x0; x < x1; ++x) {
            if (row[x] == 0) continue;
            const MapPoint centre = grid.Centre(x, y);
            int best = candidates.front();
            double bestDistance = SquaredDistance(sites[best], centre);
            for (std::size_t i = 1; i < candidates.size(); ++i) {
                const double d = SquaredDistance(sites[candidates[i]], centre);
                if (d < bestDistance) {
                    best = candidates[i];
                    bestDistance = d;
                }
            }
            row[x] = static_cast<std::uint8_t>(best);
            bounds[best].Add(x, grid.top + y, x, grid.top + y);
        }
    }
}

bool HasLand(const LandGrid& grid, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y) {
        const std::uint8_t* row = &grid.At(0, y);
        if (std::any_of(row + x0, row + x1, [](std::uint8_t b) { return b != 0; })) return true;
    }
    return false;
}

}  // namespace

bool ParseCitySites(std::string_view text, CitySites* sites, std::string* error) {
    CitySites read{};
    std::array<bool, kCityCount + 1> seen{};
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const std::vector<std::string_view> fields = Fields(line);
        int city = 0, x = 0, y = 0;
        if (fields.size() < 3 || !ParseWhole(fields[0], kCityCount, &city) || !IsValidCity(city) ||
            !ParseWhole(fields[1], kPlaceLimit, &x) || !ParseWhole(fields[2], kPlaceLimit, &y)) {
            if (error) *error = "line " + std::to_string(lineNumber) + ": not a city and its place";
            return false;
        }
        if (seen[city]) {
            if (error) *error = "line " + std::to_string(lineNumber) + ": city " + std::to_string(city) + " again";
            return false;
        }
        seen[city] = true;
        read[city] = {static_cast<double>(x), static_cast<double>(y)};
    }
    for (int city = 1; city <= kCityCount; ++city)
        if (!seen[city]) {
            if (error) *error = "city " + std::to_string(city) + " has no place";
            return false;
        }
    *sites = read;
    return true;
}

CitySites PanelCentreSites() {
    CitySites sites{};
    for (int city = 1; city <= kCityCount; ++city) {
        const PanelPosition& p = kPanelPositions[city];
        sites[city] = {p.left + kPanelWidth / 2.0, p.top + kPanelCollapsed / 2.0};
    }
    return sites;
}

int NearestCity(const CitySites& sites, MapPoint point) {
    int best = 1;
    double bestDistance = SquaredDistance(sites[1], point);
    for (int city = 2; city <= kCityCount; ++city) {
        const double d = SquaredDistance(sites[city], point);
        if (d < bestDistance) {
            best = city;
            bestDistance = d;
        }
    }
    return best;
}

void PixelBounds::Add(int x0, int y0, int x1, int y1) {
    left = std::min(left, x0);
    top = std::min(top, y0);
    right = std::max(right, x1);
    bottom = std::max(bottom, y1);
}

std::array<PixelBounds, kCityCount + 1> DivideLand(const CitySites& sites, const LandGrid& grid) {
    std::array<PixelBounds, kCityCount + 1> bounds{};
    // Large blocks narrow the 75 cities to those that can be nearest in them, small
    // blocks narrow those further, so that each land pixel weighs one city or a few.
    constexpr int kLarge = 64, kSmall = 16;
    std::vector<int> all(kCityCount);
    for (int city = 1; city <= kCityCount; ++city) all[city - 1] = city;
    for (int ly = 0; ly < grid.height; ly += kLarge) {
        const int lyEnd = std::min(grid.height, ly + kLarge);
        for (int lx = 0; lx < grid.width; lx += kLarge) {
            const int lxEnd = std::min(grid.width, lx + kLarge);
            if (!HasLand(grid, lx, ly, lxEnd, lyEnd)) continue;
            const std::vector<int> near =
                BlockCandidates(sites, all, grid.Centre(lx, ly), grid.Centre(lxEnd - 1, lyEnd - 1));
            for (int by = ly; by < lyEnd; by += kSmall) {
                const int byEnd = std::min(lyEnd, by + kSmall);
                for (int bx = lx; bx < lxEnd; bx += kSmall) {
                    const int bxEnd = std::min(lxEnd, bx + kSmall);
                    const std::vector<int> candidates =
                        near.size() == 1
                            ? near
                            : BlockCandidates(sites, near, grid.Centre(bx, by), grid.Centre(bxEnd - 1, byEnd - 1));
                    DivideBlock(sites, grid, candidates, bx, by, bxEnd, byEnd, bounds);
                }
            }
        }
    }
    return bounds;
}

std::vector<BorderPiece> LandBorders(const CitySites& sites, int widthPixels, int heightPixels, double twipsPerPixel,
                                     const CityAtPixel& cityAt) {
    std::vector<BorderPiece> pieces;
    const double width = widthPixels * twipsPerPixel;
    const double height = heightPixels * twipsPerPixel;
    const double step = twipsPerPixel / 2;
    for (int a = 1; a <= kCityCount; ++a) {
        for (int b = a + 1; b <= kCityCount; ++b) {
            const MapPoint pa = sites[a], pb = sites[b];
            const double length = std::sqrt(SquaredDistance(pa, pb));
            if (length == 0) continue;
            // The bisector: from the midpoint along the perpendicular, where a is
            // no farther than any other city (and so b neither).
            const MapPoint mid{(pa.x + pb.x) / 2, (pa.y + pb.y) / 2};
            const MapPoint along{-(pb.y - pa.y) / length, (pb.x - pa.x) / length};
            double low = -std::numeric_limits<double>::infinity();
            double high = std::numeric_limits<double>::infinity();
            const auto keep = [&](double k, double rhs) {  // k * t <= rhs
                if (std::abs(k) < 1e-12) {
                    if (rhs < 0) high = low - 1;
                } else if (k > 0) {
                    high = std::min(high, rhs / k);
                } else {
                    low = std::max(low, rhs / k);
                }
            };
            for (int c = 1; c <= kCityCount && low <= high; ++c) {
                if (c == a || c == b) continue;
                const MapPoint pc = sites[c];
                const double ux = pc.x - pa.x, uy = pc.y - pa.y;
                // |p - a|^2 <= |p - c|^2  <=>  2 p.(c - a) <= |c|^2 - |a|^2
                const double rhs =
                    (pc.x * pc.x + pc.y * pc.y) - (pa.x * pa.x + pa.y * pa.y) - 2 * (mid.x * ux + mid.y * uy);
                keep(2 * (along.x * ux + along.y * uy), rhs);
            }
            // Within the surface.
            keep(along.x, width - mid.x);
            keep(-along.x, mid.x);
            keep(along.y, height - mid.y);
            keep(-along.y, mid.y);
            if (!(low <= high)) continue;

            // Walk the stretch and keep where it crosses the two cities' land.
            bool onLand = false;
            double runStart = 0;
            const auto close = [&](double t) {
                const double from = std::max(low, runStart - step / 2), to = std::min(high, t + step / 2);
                pieces.push_back({a,
                                  b,
                                  {mid.x + from * along.x, mid.y + from * along.y},
                                  {mid.x + to * along.x, mid.y + to * along.y}});
            };
            double last = low;
            for (double t = low; t <= high; t += step) {
                const double x = mid.x + t * along.x, y = mid.y + t * along.y;
                const int px = std::clamp(static_cast<int>(x / twipsPerPixel), 0, widthPixels - 1);
                const int py = std::clamp(static_cast<int>(y / twipsPerPixel), 0, heightPixels - 1);
                const int label = cityAt(px, py);
                const bool land = label == a || label == b;
                if (land && !onLand) runStart = t;
                if (!land && onLand) close(last);
                onLand = land;
                last = t;
            }
            if (onLand) close(last);
        }
    }
    return pieces;
}

}  // namespace tarvex
