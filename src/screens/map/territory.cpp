// The land of the map shared out among the cities by their real places.
#include "screens/map/territory.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <queue>

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

// Half of a step of at most two cells, rounded down: the cell a step of two passes.
int FloorHalf(int n) { return n >= 0 ? n / 2 : -((1 - n) / 2); }

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

int LandReach::CellColumn(double x) const {
    return std::clamp(static_cast<int>(std::floor(x / cellTwips)), 0, columns - 1);
}

int LandReach::CellRow(double y) const { return std::clamp(static_cast<int>(std::floor(y / cellTwips)), 0, rows - 1); }

namespace {

// The cost of a cell's width: one over land, kSeaCost over sea, in between along the coast.
std::vector<float> CellCosts(const LandReach& reach, const std::vector<std::uint8_t>& cover) {
    std::vector<float> cost(static_cast<std::size_t>(reach.columns) * reach.rows);
    for (std::size_t i = 0; i < cost.size(); ++i) {
        const int land = i < cover.size() ? cover[i] : 0;
        cost[i] = static_cast<float>(LandReach::kSeaCost - (LandReach::kSeaCost - 1) * land / 255.0);
    }
    return cost;
}

// A step of the search to one of the sixteen cells around: a knight's move too, so
// that the ways run nearly straight.
struct Step {
    int dx, dy;
    double length;
    int ax, ay, bx, by;  // the cells passed between, relative to the start
};

std::vector<Step> SearchSteps(double cellTwips) {
    std::vector<Step> steps;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const int ax = std::abs(dx), ay = std::abs(dy);
            if ((ax == 0 && ay == 0) || ax + ay > 3 || (ax == 2 && ay == 2) || (ax + ay == 2 && (ax == 0 || ay == 0)))
                continue;
            const bool knight = ax + ay == 3;
            const int sx = dx > 0 ? 1 : dx < 0 ? -1 : 0, sy = dy > 0 ? 1 : dy < 0 ? -1 : 0;
            // A knight's move passes between the straight neighbour along its long side and the diagonal one.
            steps.push_back({dx, dy, std::hypot(dx, dy) * cellTwips, knight ? (ax == 2 ? sx : 0) : 0,
                             knight ? (ay == 2 ? sy : 0) : 0, sx, sy});
        }
    return steps;
}

MapPoint CellCentre(const LandReach& reach, int column, int row) {
    return {(column + 0.5) * reach.cellTwips, (row + 0.5) * reach.cellTwips};
}

// From every city at once, the cheapest way to each cell (reach.nearest: whose it is);
// a knight's move pays for the two cells it passes between, so it never leaps a strait.
std::vector<double> SearchFromCities(const CitySites& sites, const std::vector<float>& cost, LandReach& reach) {
    const std::size_t cells = cost.size();
    const std::vector<Step> steps = SearchSteps(reach.cellTwips);
    std::vector<double> distance(cells, std::numeric_limits<double>::infinity());
    reach.nearest.assign(cells, 0);
    using Entry = std::pair<double, std::uint32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    const auto offer = [&](std::size_t cell, double d, int city) {
        if (d < distance[cell] || (d == distance[cell] && city < reach.nearest[cell])) {
            distance[cell] = d;
            reach.nearest[cell] = static_cast<std::uint8_t>(city);
            open.push({d, static_cast<std::uint32_t>(cell)});
        }
    };
    for (int city = 1; city <= kCityCount; ++city) {
        const int column = reach.CellColumn(sites[city].x), row = reach.CellRow(sites[city].y);
        offer(static_cast<std::size_t>(row) * reach.columns + column,
              std::sqrt(SquaredDistance(sites[city], CellCentre(reach, column, row))), city);
    }
    while (!open.empty()) {
        const auto [d, cell] = open.top();
        open.pop();
        if (d > distance[cell]) continue;
        const int column = static_cast<int>(cell % reach.columns), row = static_cast<int>(cell / reach.columns);
        for (const Step& s : steps) {
            const int c = column + s.dx, r = row + s.dy;
            if (c < 0 || r < 0 || c >= reach.columns || r >= reach.rows) continue;
            const std::size_t next = static_cast<std::size_t>(r) * reach.columns + c;
            double weight = cost[cell] + cost[next];
            int parts = 2;
            if (s.ax != 0 || s.ay != 0) {  // a knight's move
                weight += cost[static_cast<std::size_t>(row + s.ay) * reach.columns + column + s.ax] +
                          cost[static_cast<std::size_t>(row + s.by) * reach.columns + column + s.bx];
                parts = 4;
            }
            offer(next, d + s.length * weight / parts, reach.nearest[cell]);
        }
    }
    return distance;
}

// What the choice of a cell's candidates works from: the search's result and the land.
struct CandidateSearch {
    static constexpr int kAround = 2;
    const CitySites& sites;
    const LandReach& reach;
    const std::vector<std::uint8_t>& cover;
    const std::vector<float>& cost;
    const std::vector<double>& distance;
    std::vector<std::vector<std::uint8_t>> standing;  // the cities standing in or next to each cell
    std::vector<double> lengths;                      // twips from each cell around to the middle one
    std::array<double, kCityCount + 1> way{};         // each city's cheapest way into the cell
    std::vector<std::uint8_t> offered;

    int CoverAt(int column, int row) const {
        const std::size_t i = static_cast<std::size_t>(row) * reach.columns + column;
        return i < cover.size() ? cover[i] : 0;
    }
    float CostAt(int column, int row) const { return cost[static_cast<std::size_t>(row) * reach.columns + column]; }
};

CandidateSearch StartCandidateSearch(const CitySites& sites, const LandReach& reach,
                                     const std::vector<std::uint8_t>& cover, const std::vector<float>& cost,
                                     const std::vector<double>& distance) {
    constexpr int kAround = CandidateSearch::kAround;
    CandidateSearch search{sites, reach, cover, cost, distance, {}, {}, {}, {}};
    search.standing.resize(cost.size());
    for (int city = 1; city <= kCityCount; ++city) {
        const int column = reach.CellColumn(sites[city].x), row = reach.CellRow(sites[city].y);
        for (int r = std::max(0, row - 1); r <= std::min(reach.rows - 1, row + 1); ++r)
            for (int c = std::max(0, column - 1); c <= std::min(reach.columns - 1, column + 1); ++c)
                search.standing[static_cast<std::size_t>(r) * reach.columns + c].push_back(
                    static_cast<std::uint8_t>(city));
    }
    for (int dy = -kAround; dy <= kAround; ++dy)
        for (int dx = -kAround; dx <= kAround; ++dx) search.lengths.push_back(std::hypot(dx, dy) * reach.cellTwips);
    return search;
}

// The ways into a cell from the land around (from the coast where there is no more
// land than that), each at the dearest of the cells it crosses on the way; the cell's
// own price does not count, since its land is land. Out at sea, its nearest city's.
void OfferWaysIn(CandidateSearch& search, int column, int row) {
    constexpr int kAround = CandidateSearch::kAround;
    const LandReach& reach = search.reach;
    const int r0 = std::max(0, row - kAround), r1 = std::min(reach.rows - 1, row + kAround);
    const int c0 = std::max(0, column - kAround), c1 = std::min(reach.columns - 1, column + kAround);
    auto& offered = search.offered;
    auto& way = search.way;
    offered.clear();
    for (const int least : {128, 1}) {
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) {
                if (search.CoverAt(c, r) < least) continue;
                const std::size_t other = static_cast<std::size_t>(r) * reach.columns + c;
                const int dx = c - column, dy = r - row;
                const float dearest =
                    std::max({search.cost[other], search.CostAt(column + FloorHalf(dx), row + FloorHalf(dy)),
                              search.CostAt(column + dx - FloorHalf(dx), row + dy - FloorHalf(dy))});
                const int city = reach.nearest[other];
                const double d = search.distance[other] +
                                 search.lengths[(dy + kAround) * (2 * kAround + 1) + (dx + kAround)] * dearest;
                if (std::find(offered.begin(), offered.end(), city) == offered.end()) {
                    offered.push_back(static_cast<std::uint8_t>(city));
                    way[city] = d;
                } else {
                    way[city] = std::min(way[city], d);
                }
            }
        if (!offered.empty()) return;
    }
    const std::size_t cell = static_cast<std::size_t>(row) * reach.columns + column;
    offered.push_back(reach.nearest[cell]);
    way[reach.nearest[cell]] = search.distance[cell];
}

// Of several candidates, only those that can be nearest somewhere in the cell: not
// one whose nearest point lies farther than another's farthest corner.
void DropNeverNearest(const CitySites& sites, const LandReach& reach, int column, int row,
                      const std::array<double, kCityCount + 1>& extra, std::vector<std::uint8_t>& found) {
    if (found.size() <= 1) return;
    const MapPoint low{column * reach.cellTwips, row * reach.cellTwips};
    const MapPoint high{low.x + reach.cellTwips, low.y + reach.cellTwips};
    double bound = std::numeric_limits<double>::infinity();
    for (int city : found) {
        const MapPoint p = sites[city];
        const double farX = std::max(std::abs(p.x - low.x), std::abs(p.x - high.x));
        const double farY = std::max(std::abs(p.y - low.y), std::abs(p.y - high.y));
        bound = std::min(bound, std::hypot(farX, farY) + extra[city]);
    }
    std::erase_if(found, [&](int city) {
        const MapPoint p = sites[city];
        const MapPoint in{std::clamp(p.x, low.x, high.x), std::clamp(p.y, low.y, high.y)};
        return std::sqrt(SquaredDistance(p, in)) + extra[city] > bound;
    });
}

// A cell's candidates: the cities that reach its land nearly as cheaply as the
// cheapest, each with how much farther it is to go round by land (or over sea)
// than in a straight line; and any city that stands close by, so that each city
// keeps the land about its place.
void AddCandidates(CandidateSearch& search, int column, int row, std::vector<std::uint8_t>& found, LandReach& reach) {
    const double slack = 2 * reach.cellTwips;
    // A way two cells and a few hundredths longer than the straight line counts as
    // straight (the steps from cell to cell lengthen it that much), so that borders over
    // open land run halfway between two places, not along the cells' steps.
    const double straight = 2 * reach.cellTwips, stepping = 1.05;
    const CitySites& sites = search.sites;
    auto& way = search.way;
    OfferWaysIn(search, column, row);
    double best = std::numeric_limits<double>::infinity();
    for (int city : search.offered) best = std::min(best, way[city]);
    found.clear();
    for (int city : search.offered)
        if (way[city] <= best * stepping + slack) found.push_back(static_cast<std::uint8_t>(city));
    const MapPoint centre = CellCentre(reach, column, row);
    for (int city : search.standing[static_cast<std::size_t>(row) * reach.columns + column])
        if (std::find(found.begin(), found.end(), city) == found.end()) {
            found.push_back(static_cast<std::uint8_t>(city));
            way[city] = std::sqrt(SquaredDistance(sites[city], centre));
        }
    std::sort(found.begin(), found.end());
    std::array<double, kCityCount + 1> extra{};
    for (int city : found)
        extra[city] = std::max(0.0, way[city] - stepping * std::sqrt(SquaredDistance(sites[city], centre)) - straight);
    DropNeverNearest(sites, reach, column, row, extra, found);
    for (int city : found) {
        reach.candidates.push_back(static_cast<std::uint8_t>(city));
        reach.extra.push_back(static_cast<float>(extra[city]));
    }
    reach.firstCandidate.push_back(static_cast<std::uint32_t>(reach.candidates.size()));
}

}  // namespace

LandReach ReachOverLand(const CitySites& sites, int columns, int rows, double cellTwips,
                        const std::vector<std::uint8_t>& cover) {
    LandReach reach;
    reach.columns = std::max(1, columns);
    reach.rows = std::max(1, rows);
    reach.cellTwips = cellTwips;
    const std::vector<float> cost = CellCosts(reach, cover);
    const std::vector<double> distance = SearchFromCities(sites, cost, reach);
    CandidateSearch search = StartCandidateSearch(sites, reach, cover, cost, distance);
    reach.firstCandidate.reserve(cost.size() + 1);
    reach.firstCandidate.push_back(0);
    std::vector<std::uint8_t> found;
    for (int row = 0; row < reach.rows; ++row)
        for (int column = 0; column < reach.columns; ++column) AddCandidates(search, column, row, found, reach);
    return reach;
}

std::array<PixelBounds, kCityCount + 1> DivideLand(const CitySites& sites, const LandReach& reach,
                                                   const LandGrid& grid) {
    std::array<PixelBounds, kCityCount + 1> bounds{};
    if (reach.nearest.empty()) return bounds;
    // The pixels of each column of cells, from the left.
    std::vector<std::pair<int, int>> spans;  // first pixel, column
    for (int x = 0; x < grid.width; ++x) {
        const int column = reach.CellColumn(grid.Centre(x, 0).x);
        if (spans.empty() || spans.back().second != column) spans.push_back({x, column});
    }
    spans.push_back({grid.width, -1});
    for (int y = 0; y < grid.height; ++y) {
        std::uint8_t* row = &grid.At(0, y);
        const int cellRow = reach.CellRow(grid.Centre(0, y).y);
        for (std::size_t i = 0; i + 1 < spans.size(); ++i) {
            const int x0 = spans[i].first, x1 = spans[i + 1].first, column = spans[i].second;
            const std::uint8_t* first = reach.CandidatesBegin(column, cellRow);
            const std::uint8_t* last = reach.CandidatesEnd(column, cellRow);
            if (last - first == 1) {
                const std::uint8_t city = *first;
                std::uint8_t any = 0;
                for (int x = x0; x < x1; ++x) {
                    any |= row[x];
                    row[x] = row[x] != 0 ? city : 0;
                }
                if (any) bounds[city].Add(x0, grid.top + y, x1 - 1, grid.top + y);  // a little wide, never short
                continue;
            }
            const float* extra = reach.ExtraBegin(column, cellRow);
            const bool straight = std::all_of(extra, extra + (last - first), [](float e) { return e == 0; });
            for (int x = x0; x < x1; ++x) {
                if (row[x] == 0) continue;
                const MapPoint centre = grid.Centre(x, y);
                // Where every candidate's way is straight, squares compare as well as lengths.
                const auto cost = [&](int i) {
                    const double d = SquaredDistance(sites[first[i]], centre);
                    return straight ? d : std::sqrt(d) + extra[i];
                };
                int best = *first;
                double bestCost = cost(0);
                for (int i = 1; i < last - first; ++i) {
                    const double d = cost(i);
                    if (d < bestCost) {
                        best = first[i];
                        bestCost = d;
                    }
                }
                row[x] = static_cast<std::uint8_t>(best);
                bounds[best].Add(x, grid.top + y, x, grid.top + y);
            }
        }
    }
    return bounds;
}

BorderTracer::BorderTracer(int width) : width_(width), previous_(static_cast<std::size_t>(width), 0) {}

void BorderTracer::AddRow(const std::uint8_t* row) {
    const auto pairOf = [](int p, int q) { return static_cast<std::uint16_t>(std::min(p, q) * 256 + std::max(p, q)); };
    for (int x = 0; x < width_; ++x) {
        // Most of a row is one city's, as the row above: skip eight pixels at once.
        while (x > 0 && x + 8 <= width_ && std::memcmp(row + x - 1, row + x, 8) == 0 &&
               std::memcmp(row + x, previous_.data() + x, 8) == 0)
            x += 8;
        if (x >= width_) break;
        const int here = row[x], above = previous_[x];
        if (here != 0 && above != 0 && here != above)
            edges_.push_back(
                {pairOf(here, above), static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y_), false});
        if (x > 0 && here != 0 && row[x - 1] != 0 && here != row[x - 1])
            edges_.push_back(
                {pairOf(here, row[x - 1]), static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y_), true});
    }
    std::memcpy(previous_.data(), row, previous_.size());
    ++y_;
}

namespace {

struct Corner {
    int x, y;
};

// Keeps the corners of a line of pixel steps that matter: none of the rest lies
// farther than `tolerance` from the straight line that replaces it.
void Straighten(const std::vector<Corner>& line, std::size_t from, std::size_t to, double tolerance,
                std::vector<Corner>* kept) {
    double farthest = -1;
    std::size_t at = from;
    const double dx = line[to].x - line[from].x, dy = line[to].y - line[from].y;
    const double length = std::hypot(dx, dy);
    for (std::size_t i = from + 1; i < to; ++i) {
        const double ex = line[i].x - line[from].x, ey = line[i].y - line[from].y;
        const double off = length > 0 ? std::abs(dx * ey - dy * ex) / length : std::hypot(ex, ey);
        if (off > farthest) {
            farthest = off;
            at = i;
        }
    }
    if (farthest > tolerance) {
        Straighten(line, from, at, tolerance, kept);
        Straighten(line, at, to, tolerance, kept);
    } else {
        kept->push_back(line[to]);
    }
}

}  // namespace

// One pair of lands' border traced: its edges joined into lines, from their ends
// (the coast, or where three or four lands meet) first, then the closed loops
// that are left; each line straightened down to the corners that shape it.
class PairTracer {
public:
    using Edge = BorderTracer::Edge;

    PairTracer(const std::vector<Edge>& edges, std::size_t begin, std::size_t end, int width)
        : edges_(edges), begin_(begin), end_(end), width_(width), used_(end - begin, false) {
        // Each corner of this pair's border with the edges that meet there.
        for (std::size_t i = begin; i < end; ++i) {
            at_.push_back({Key(edges[i].x, edges[i].y), static_cast<std::uint32_t>(i)});
            const Corner e = EndOf(edges[i]);
            at_.push_back({Key(e.x, e.y), static_cast<std::uint32_t>(i)});
        }
        std::sort(at_.begin(), at_.end());
    }

    void Trace(double twipsPerPixel, std::vector<BorderPiece>& pieces) {
        // Lines from their ends first, then the closed loops that are left.
        for (std::size_t i = 0; i < at_.size();) {
            std::size_t j = i;
            while (j < at_.size() && at_[j].first == at_[i].first) ++j;
            if (j - i != 2)
                for (std::size_t k = i; k < j; ++k)
                    if (!used_[at_[k].second - begin_]) {
                        const std::uint32_t corner = at_[k].first;
                        const Corner start{static_cast<int>(corner % (width_ + 1)),
                                           static_cast<int>(corner / (width_ + 1))};
                        AddPieces(Walk(at_[k].second, start), twipsPerPixel, pieces);
                    }
            i = j;
        }
        for (std::size_t i = begin_; i < end_; ++i)
            if (!used_[i - begin_]) AddPieces(Walk(i, {edges_[i].x, edges_[i].y}), twipsPerPixel, pieces);
    }

private:
    using Meeting = std::pair<std::uint32_t, std::uint32_t>;  // corner, edge

    std::uint32_t Key(int x, int y) const { return static_cast<std::uint32_t>(y) * (width_ + 1) + x; }
    static Corner EndOf(const Edge& e) { return e.down ? Corner{e.x, e.y + 1} : Corner{e.x + 1, e.y}; }

    // The edges that meet at a corner.
    std::pair<std::vector<Meeting>::const_iterator, std::vector<Meeting>::const_iterator> At(
        std::uint32_t corner) const {
        const auto low = std::lower_bound(at_.begin(), at_.end(), Meeting(corner, 0));
        auto high = low;
        while (high != at_.end() && high->first == corner) ++high;
        return std::pair(low, high);
    }

    // The line from `start` along `first` and on, until it ends, meets other lands or closes.
    std::vector<Corner> Walk(std::size_t first, Corner start) {
        std::vector<Corner> line{start};
        Corner here = start;
        std::size_t edge = first;
        for (;;) {
            used_[edge - begin_] = true;
            const Edge& e = edges_[edge];
            const Corner a{e.x, e.y}, b = EndOf(e);
            const Corner from = here;
            here = (a.x == here.x && a.y == here.y) ? b : a;
            // Along a straight run only its ends count.
            if (line.size() >= 2) {
                const Corner before = line[line.size() - 2];
                if ((before.x == from.x && from.x == here.x) || (before.y == from.y && from.y == here.y))
                    line.back() = here;
                else
                    line.push_back(here);
            } else {
                line.push_back(here);
            }
            const auto [low, high] = At(Key(here.x, here.y));
            if (high - low != 2) break;  // an end, or where three or four lands meet
            const std::uint32_t next = low->second == edge ? (low + 1)->second : low->second;
            if (used_[next - begin_]) break;  // round a loop
            edge = next;
        }
        return line;
    }

    void AddPieces(const std::vector<Corner>& line, double twipsPerPixel, std::vector<BorderPiece>& pieces) const {
        std::vector<Corner> kept{line.front()};
        Straighten(line, 0, line.size() - 1, 1.0, &kept);
        const int a = edges_[begin_].pair / 256, b = edges_[begin_].pair % 256;
        for (std::size_t i = 1; i < kept.size(); ++i)
            pieces.push_back({a,
                              b,
                              {kept[i - 1].x * twipsPerPixel, kept[i - 1].y * twipsPerPixel},
                              {kept[i].x * twipsPerPixel, kept[i].y * twipsPerPixel}});
    }

    const std::vector<Edge>& edges_;
    std::size_t begin_, end_;
    int width_;
    std::vector<Meeting> at_;
    std::vector<bool> used_;
};

std::vector<BorderPiece> BorderTracer::Pieces(double twipsPerPixel) const {
    std::vector<BorderPiece> pieces;
    std::vector<Edge> edges = edges_;
    std::sort(edges.begin(), edges.end(), [](const Edge& p, const Edge& q) { return p.pair < q.pair; });
    for (std::size_t begin = 0; begin < edges.size();) {
        std::size_t end = begin;
        while (end < edges.size() && edges[end].pair == edges[begin].pair) ++end;
        PairTracer(edges, begin, end, width_).Trace(twipsPerPixel, pieces);
        begin = end;
    }
    return pieces;
}

}  // namespace tarvex
