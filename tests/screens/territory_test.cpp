// The war map without Qt: the land shared out by nearest city, the borders, the
// nations' colours and what the map is told about owners, turns and battles.
#include "screens/map/territory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
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

// A coarse map: land everywhere except a sea band and a lake, 150 twips a pixel.
struct CoarseMap {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(320 * 234, 1);
    LandGrid grid{320, 234, 150.0, bytes.data(), 320};
    CoarseMap() {
        for (int y = 0; y < grid.height; ++y)
            for (int x = 0; x < grid.width; ++x)
                if ((x > 100 && x < 110) || (x - 250) * (x - 250) + (y - 60) * (y - 60) < 100) grid.At(x, y) = 0;
    }
};

TEST(Territory, EveryLandPixelGoesToItsNearestCityAndSeaStaysSea) {
    CitySites sites{};
    ASSERT_TRUE(ParseCitySites(ShippedSitesText(), &sites, nullptr));
    CitySites crowded = sites;
    crowded[2] = crowded[1];  // two cities in one place: the lower number takes the land
    std::mt19937 draw(5);
    CitySites scattered{};
    for (int city = 1; city <= kCityCount; ++city)
        scattered[city] = {static_cast<double>(draw() % 48000), static_cast<double>(draw() % 35000)};
    for (const CitySites* s : {&sites, &crowded, &scattered}) {
        CoarseMap map;
        DivideLand(*s, map.grid);
        CoarseMap again;
        DivideLand(*s, again.grid);
        EXPECT_EQ(map.bytes, again.bytes);  // the same division every time
        std::array<int, kCityCount + 1> pixels{};
        for (int y = 0; y < map.grid.height; ++y)
            for (int x = 0; x < map.grid.width; ++x) {
                const int label = map.grid.At(x, y);
                const bool sea = (x > 100 && x < 110) || (x - 250) * (x - 250) + (y - 60) * (y - 60) < 100;
                ASSERT_EQ(label, sea ? 0 : NearestCity(*s, map.grid.Centre(x, y))) << x << "," << y;
                ++pixels[label];
            }
        EXPECT_EQ(pixels[2] == 0, s == &crowded);
    }
    // Each city's own place lies in its land, islands included, wherever it is land.
    for (int city = 1; city <= kCityCount; ++city) EXPECT_EQ(NearestCity(sites, sites[city]), city);
}

TEST(Territory, BordersRunBetweenTheTwoCitiesTheySeparateAndOnlyOverLand) {
    CitySites sites{};
    ASSERT_TRUE(ParseCitySites(ShippedSitesText(), &sites, nullptr));
    CoarseMap map;
    DivideLand(sites, map.grid);
    const std::vector<BorderPiece> borders =
        LandBorders(sites, map.grid.width, map.grid.height, 150.0, [&map](int x, int y) { return map.grid.At(x, y); });
    ASSERT_GT(borders.size(), 100u);
    for (const BorderPiece& b : borders) {
        ASSERT_LT(b.a, b.b);
        for (double f : {0.1, 0.5, 0.9}) {
            const MapPoint p{b.from.x + f * (b.to.x - b.from.x), b.from.y + f * (b.to.y - b.from.y)};
            const double da = std::hypot(p.x - sites[b.a].x, p.y - sites[b.a].y);
            const double db = std::hypot(p.x - sites[b.b].x, p.y - sites[b.b].y);
            EXPECT_NEAR(da, db, 1.0) << b.a << "-" << b.b;
            // No third city is nearer: the border is where the two lands meet.
            const int nearest = NearestCity(sites, p);
            EXPECT_GE(std::hypot(p.x - sites[nearest].x, p.y - sites[nearest].y), da - 1.0);
        }
        // Its middle lies on the land of one of the two, never at sea.
        const int middle =
            map.grid.At(static_cast<int>((b.from.x + b.to.x) / 300), static_cast<int>((b.from.y + b.to.y) / 300));
        EXPECT_TRUE(middle == b.a || middle == b.b) << b.a << "-" << b.b << " over " << middle;
    }
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
