// The war map without Qt: the land shared out by the city nearest over land, the borders, the
// nations' colours and what the map is told about owners, turns and battles.
#include "screens/map/territory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "rules/turn/cycle.h"
#include "rules/world/scenario.h"
#include "screens/main/ok_step.h"
#include "screens/map/nation_colours.h"
#include "screens/map/war_map.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

std::string ShippedSitesText() {
    std::ifstream in(TARVEX_SOURCE_DIR "/data/map/cities.tsv");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A coarse map of the whole surface, 150 twips a pixel: land where `land` says so.
struct CoarseMap {
    static constexpr int kWidth = 320, kHeight = 234;
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(kWidth * kHeight, 1);
    LandGrid grid{kWidth, kHeight, 150.0, bytes.data(), kWidth};
    LandReach reach;

    template <class Land>
    CoarseMap(const CitySites& sites, Land land) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) grid.At(x, y) = land(x, y) ? 1 : 0;
        // The reach's cells are two of these pixels a side: whole land or whole sea.
        std::vector<std::uint8_t> cover(kWidth / 2 * (kHeight / 2));
        for (int y = 0; y < kHeight / 2; ++y)
            for (int x = 0; x < kWidth / 2; ++x) cover[y * (kWidth / 2) + x] = grid.At(2 * x, 2 * y) ? 255 : 0;
        reach = ReachOverLand(sites, kWidth / 2, kHeight / 2, 300.0, cover);
        DivideLand(sites, reach, grid);
    }
    int At(int x, int y) const { return grid.At(x, y); }
};

bool Everywhere(int, int) { return true; }
// A strait ten pixels wide down the map at x = 100 (15000 twips), and a small island off the coast.
bool Strait(int x, int y) {
    return (x < 100 || x >= 110) && (x < 150 || (x - 200) * (x - 200) + (y - 40) * (y - 40) < 25);
}

CitySites AllAt(MapPoint place) {
    CitySites sites{};
    sites.fill(place);
    return sites;
}

TEST(Territory, LandGoesToTheCityNearestOverLandAndSeaStaysSea) {
    CitySites shipped{};
    ASSERT_TRUE(ParseCitySites(ShippedSitesText(), &shipped, nullptr));
    std::mt19937 draw(5);
    CitySites scattered{};
    for (int city = 1; city <= kCityCount; ++city)
        scattered[city] = {static_cast<double>(draw() % 48000), static_cast<double>(draw() % 35000)};
    // Without sea, the nearest city in a straight line, as ever: borders halfway between
    // two places, but for a few pixels where random places crowd together.
    for (const CitySites* s : {&shipped, &scattered}) {
        const CoarseMap map(*s, Everywhere);
        int differ = 0;
        for (int y = 0; y < map.grid.height; ++y)
            for (int x = 0; x < map.grid.width; ++x) differ += map.At(x, y) != NearestCity(*s, map.grid.Centre(x, y));
        EXPECT_LT(differ, map.grid.width * map.grid.height / (s == &shipped ? 1000 : 100));
    }

    // Across a strait: city 1 stands 2800 twips west of it, city 2 (the nearer in a
    // straight line to the west shore) 1000 twips east; the rest with city 1, landless.
    CitySites strait = AllAt({12200, 20000});
    strait[2] = {17500, 20000};
    const CoarseMap divided(strait, Strait);
    const CoarseMap again(strait, Strait);
    EXPECT_EQ(divided.bytes, again.bytes);  // the same division every time
    std::array<int, kCityCount + 1> pixels{};
    for (int y = 0; y < divided.grid.height; ++y)
        for (int x = 0; x < divided.grid.width; ++x) {
            const int city = divided.At(x, y);
            ++pixels[city];
            if (!Strait(x, y)) {
                ASSERT_EQ(city, 0) << x << "," << y;  // sea stays sea
            } else if (x < 100) {
                ASSERT_EQ(city, 1) << x << "," << y;
            } else {
                ASSERT_EQ(city, 2) << x << "," << y;  // the island without a city too: nearer city 2 by sea
            }
        }
    EXPECT_EQ(pixels[3], 0);  // two cities in one place: the lower number takes the land
    // An island without a city goes to the city nearest across the water.
    strait[3] = {29000, 6000};
    const CoarseMap island(strait, Strait);
    EXPECT_EQ(island.At(200, 40), 3);
    // Each city's own place lies in its land, wherever that place is land.
    for (int city = 1; city <= kCityCount; ++city) EXPECT_EQ(NearestCity(shipped, shipped[city]), city);
}

TEST(Territory, BordersRunWhereTwoCitiesLandsMeetAndOnlyThere) {
    CitySites sites{};
    ASSERT_TRUE(ParseCitySites(ShippedSitesText(), &sites, nullptr));
    const CoarseMap map(sites, Strait);
    BorderTracer tracer(map.grid.width);
    for (int y = 0; y < map.grid.height; ++y) tracer.AddRow(&map.grid.At(0, y));
    const std::vector<BorderPiece> borders = tracer.Pieces(150.0);
    ASSERT_GT(borders.size(), 100u);
    std::set<std::pair<int, int>> traced;
    for (const BorderPiece& b : borders) {
        ASSERT_LT(b.a, b.b);
        traced.insert({b.a, b.b});
        // Along it, the two lands lie close on either hand, never sea or a third city alone.
        for (double f : {0.0, 0.5, 1.0}) {
            const double x = (b.from.x + f * (b.to.x - b.from.x)) / 150, y = (b.from.y + f * (b.to.y - b.from.y)) / 150;
            std::set<int> near;
            for (int dy = -2; dy <= 1; ++dy)
                for (int dx = -2; dx <= 1; ++dx) {
                    const int px = static_cast<int>(x) + dx, py = static_cast<int>(y) + dy;
                    if (px >= 0 && py >= 0 && px < map.grid.width && py < map.grid.height) near.insert(map.At(px, py));
                }
            EXPECT_TRUE(near.count(b.a) && near.count(b.b)) << b.a << "-" << b.b << " at " << x << "," << y;
        }
    }
    // Every place where two lands touch has its border.
    std::set<std::pair<int, int>> touching;
    for (int y = 0; y < map.grid.height; ++y)
        for (int x = 0; x < map.grid.width; ++x)
            for (auto [nx, ny] : {std::pair(x + 1, y), std::pair(x, y + 1)}) {
                if (nx >= map.grid.width || ny >= map.grid.height) continue;
                const int p = map.At(x, y), q = map.At(nx, ny);
                if (p != 0 && q != 0 && p != q) touching.insert({std::min(p, q), std::max(p, q)});
            }
    EXPECT_EQ(traced, touching);
}

// A strait one cell of the reach wide (two pixels here) still parts the land: a city
// just across it does not take the shore of a city a little farther off on its own side,
// no way over land leaps it, and the lands on either side do not border.
TEST(Territory, AStraitOneCellWideStillPartsTheLand) {
    const auto narrow = [](int x, int) { return x < 100 || x >= 102; };
    CitySites sites = AllAt({13350, 20000});  // 1650 twips west of the strait
    sites[2] = {15600, 20000};                // 300 twips east of it
    const CoarseMap map(sites, narrow);
    int wrong = 0;
    for (int y = 0; y < map.grid.height; ++y)
        for (int x = 0; x < map.grid.width; ++x) wrong += map.At(x, y) != (x < 100 ? 1 : x < 102 ? 0 : 2);
    EXPECT_EQ(wrong, 0);
    BorderTracer tracer(map.grid.width);
    for (int y = 0; y < map.grid.height; ++y) tracer.AddRow(&map.grid.At(0, y));
    EXPECT_TRUE(tracer.Pieces(150.0).empty());
}

// The place table without the line of one city.
std::string Without(const std::string& table, int city) {
    const std::string start = "\n" + std::to_string(city) + "\t";
    const std::size_t at = table.find(start);
    if (at == std::string::npos) return table;
    return table.substr(0, at + 1) + table.substr(table.find('\n', at + 1) + 1);
}

TEST(Territory, DamagedPlaceTablesAreRefusedWithAReason) {
    const std::string good = ShippedSitesText();
    CitySites sites{};
    ASSERT_TRUE(ParseCitySites(good, &sites, nullptr));
    EXPECT_EQ(sites[75].x, 48848);  // Sarai, just past the surface's right edge
    const std::string firstLine = good.substr(0, good.find('\n') + 1);
    const std::string londonLine = "1\t14513\t11101\tcity\tLondon\n";
    const std::pair<std::string, const char*> cases[] = {
        {"", "city 1 has no place"},
        {firstLine, "city 1 has no place"},
        {good + londonLine, "city 1 again"},
        // The table lacking one city, wherever it stands.
        {Without(good, 1), "city 1 has no place"},
        {Without(good, 38), "city 38 has no place"},
        {Without(good, 75), "city 75 has no place"},
        {"1\t14513\n", "not a city and its place"},
        {"76\t1\t1\n", "not a city and its place"},
        {"1\t1e3\t5\n", "not a city and its place"},
        {"1\t999999\t5\n", "not a city and its place"},
        {"1\t 5\t5\n", "not a city and its place"},
    };
    for (const auto& [text, reason] : cases) {
        CitySites untouched = sites;
        std::string error;
        EXPECT_FALSE(ParseCitySites(text, &untouched, &error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        EXPECT_EQ(untouched[1].x, sites[1].x);
    }
}

TEST(NationColours, BorderingNationsLookClearlyDifferentAlsoToColourBlindEyes) {
    // The game's own neighbours, and a dense random graph to push the palette.
    const NationPairs starting = StartingNeighbourNations({});
    NationPairs dense;
    std::mt19937 draw(11);
    for (int i = 0; i < 120; ++i)
        dense.push_back({1 + static_cast<int>(draw() % kNationCount), 1 + static_cast<int>(draw() % kNationCount)});
    for (const NationPairs* pairs : {&starting, static_cast<const NationPairs*>(&dense)}) {
        const auto colours = ColourNations(*pairs);
        EXPECT_EQ(colours, ColourNations(*pairs));
        for (auto [p, q] : *pairs) {
            if (p == q) continue;
            EXPECT_NE(colours[p], colours[q]) << p << "-" << q;
            if (pairs == &starting) {
                EXPECT_GE(PerceivedDifference(kLandColours[colours[p]], kLandColours[colours[q]]), 15.0)
                    << p << "-" << q;
            }
        }
    }
    // Red-green pairs that look alike to the colour blind do count as alike.
    EXPECT_LT(PerceivedDifference({200, 120, 110}, {150, 150, 110}), 12.0);
    EXPECT_GT(PerceivedDifference({226, 196, 120}, {160, 130, 170}), 40.0);
    // Each kind of sight on its own: pairs alike to it alone (more than 40 apart to
    // normal eyes and to the other kind) count as alike.
    const struct {
        const char* sight;
        Rgb a, b;
    } confusable[] = {
        {"red-blind: red and dark green", {220, 40, 40}, {0, 90, 40}},
        {"green-blind: green and crimson", {40, 160, 60}, {240, 0, 80}},
    };
    for (const auto& c : confusable) EXPECT_LT(PerceivedDifference(c.a, c.b), 5.0) << c.sight;
}

TEST(WarMap, FollowsOwnersThePlayersNationTheActingCityAndTheBattle) {
    testing::TestGame t;
    Session& g = t.game;
    const int england = NationIndex(g, "イングランド王国"), france = NationIndex(g, "フランス王国");
    WarMapShown map = ShownWarMap(g);
    EXPECT_EQ(map.nation[1], england);
    EXPECT_EQ(map.playerNation, england);
    EXPECT_EQ(map.landName[1], "ロンドン（イングランド王国）");
    SetOwner(g, 1, "フランス王国");
    g.PlayerNation = "フランス王国";
    map = ShownWarMap(g);
    EXPECT_EQ(map.nation[1], france);
    EXPECT_EQ(map.playerNation, france);

    EXPECT_EQ(map.battleFrom, 0);
    g.Battle.AttackCity = 15, g.Battle.DefendCity = 1, g.Battle.BattleOver = false;
    map = ShownWarMap(g);
    EXPECT_EQ(std::pair(map.battleFrom, map.battleTo), std::pair(15, 1));
    g.Battle.BattleOver = true;
    EXPECT_EQ(ShownWarMap(g).battleFrom, 0);

    // A computer city's turn marks it; the season's end clears the mark.
    g.PlayerNation = "";
    g.TurnOrder[1] = 40;
    g.TurnStep = 1;
    PlayCityTurn(g, 1);
    EXPECT_EQ(ShownWarMap(g).actingCity, 40);
    g.TurnStep = kSeasonEndStep;
    TakeNextStep(g);
    EXPECT_EQ(ShownWarMap(g).actingCity, 0);
}

}  // namespace
}  // namespace tarvex
