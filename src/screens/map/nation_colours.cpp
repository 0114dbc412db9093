// The nations' land colours and the colour-vision arithmetic behind their choice.
#include "screens/map/nation_colours.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <tuple>

#include "rules/world/scenario.h"

namespace tarvex {

namespace {

struct Lab {
    double l, a, b;
};

double Linear(double channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Lab ToLab(const std::array<double, 3>& linear) {
    const auto [r, g, b] = linear;
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) { return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

using Matrix = std::array<std::array<double, 3>, 3>;

// Dichromat vision in linear RGB (Viénot, Brettel and Mollon, 1999).
constexpr Matrix kNormal{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr Matrix kProtanopia{{{0.11238, 0.88762, 0}, {0.11238, 0.88762, 0}, {0.00401, -0.00401, 1}}};
constexpr Matrix kDeuteranopia{{{0.29275, 0.70725, 0}, {0.29275, 0.70725, 0}, {-0.02234, 0.02234, 1}}};

Lab Seen(Rgb colour, const Matrix& m) {
    const std::array<double, 3> in{Linear(colour.r), Linear(colour.g), Linear(colour.b)};
    std::array<double, 3> out{};
    for (int i = 0; i < 3; ++i) out[i] = std::clamp(m[i][0] * in[0] + m[i][1] * in[1] + m[i][2] * in[2], 0.0, 1.0);
    return ToLab(out);
}

double Distance(const Lab& p, const Lab& q) { return std::hypot(p.l - q.l, p.a - q.a, p.b - q.b); }

int StartingNation(int city) {
    const char* owner = kStartingCities[city - 1].owner;
    for (const NationRow& n : kStartingNations)
        if (std::strcmp(n.name, owner) == 0) return n.index;
    return 0;
}

}  // namespace

double PerceivedDifference(Rgb a, Rgb b) {
    double least = std::numeric_limits<double>::infinity();
    for (const Matrix* m : {&kNormal, &kProtanopia, &kDeuteranopia})
        least = std::min(least, Distance(Seen(a, *m), Seen(b, *m)));
    return least;
}

std::array<int, kNationCount + 1> ColourNations(const NationPairs& bordering) {
    std::array<std::set<int>, kNationCount + 1> near{};
    for (auto [p, q] : bordering)
        if (p != q && p >= 1 && p <= kNationCount && q >= 1 && q <= kNationCount) {
            near[p].insert(q);
            near[q].insert(p);
        }
    constexpr int kNone = -1;
    std::array<int, kNationCount + 1> colour{};
    colour.fill(kNone);
    std::array<int, kLandColours.size()> uses{};
    // Worked out once: the choice below weighs every pair many times.
    std::array<std::array<double, kLandColours.size()>, kLandColours.size()> difference{};
    for (std::size_t i = 0; i < kLandColours.size(); ++i)
        for (std::size_t j = 0; j < kLandColours.size(); ++j)
            difference[i][j] = PerceivedDifference(kLandColours[i], kLandColours[j]);
    for (int done = 0; done < kNationCount; ++done) {
        // The nation with the most differently coloured neighbours, then the most neighbours.
        int next = 0;
        std::pair<int, int> hardest{-1, -1};
        for (int n = 1; n <= kNationCount; ++n) {
            if (colour[n] != kNone) continue;
            std::set<int> seen;
            for (int m : near[n])
                if (colour[m] != kNone) seen.insert(colour[m]);
            const std::pair<int, int> hardness{static_cast<int>(seen.size()), static_cast<int>(near[n].size())};
            if (hardness > hardest) {
                hardest = hardness;
                next = n;
            }
        }
        // The colour farthest from the neighbours', then from their neighbours', then the least used.
        int best = 0;
        std::tuple<double, int, double> bestScore{-1, 0, -1};
        for (int c = 0; c < static_cast<int>(kLandColours.size()); ++c) {
            double nearest = 1000, secondNearest = 1000;
            for (int m : near[next]) {
                if (colour[m] != kNone) nearest = std::min(nearest, difference[c][colour[m]]);
                for (int k : near[m])
                    if (k != next && colour[k] != kNone)
                        secondNearest = std::min(secondNearest, difference[c][colour[k]]);
            }
            // Differences beyond 20 all read as clearly different: then the colours used least
            // spread the palette over the map, and the farther ring decides the rest.
            const std::tuple<double, int, double> score{std::min(nearest, 20.0), -uses[c],
                                                        std::min(secondNearest, 20.0)};
            if (score > bestScore) {
                bestScore = score;
                best = c;
            }
        }
        colour[next] = best;
        ++uses[best];
    }
    colour[0] = 0;
    return colour;
}

NationPairs StartingNeighbourNations(const std::vector<std::pair<int, int>>& touchingCities) {
    std::set<std::pair<int, int>> pairs;
    const auto add = [&pairs](int cityA, int cityB) {
        const int p = StartingNation(cityA), q = StartingNation(cityB);
        if (p != q && p != 0 && q != 0) pairs.insert({std::min(p, q), std::max(p, q)});
    };
    for (int city = 1; city <= kCityCount; ++city)
        for (int to : NeighboursOf(city)) add(city, to);
    for (auto [a, b] : touchingCities)
        if (IsValidCity(a) && IsValidCity(b)) add(a, b);
    return {pairs.begin(), pairs.end()};
}

}  // namespace tarvex
