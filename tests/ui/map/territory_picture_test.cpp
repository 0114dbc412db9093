// The coloured map: the real land divided among the cities, the same at every
// screen density, and nations that border one another in colours that differ.
#include "ui/map/territory_picture.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QtMath>
#include <algorithm>

#include "qt_test_support.h"
#include "rules/world/scenario.h"
#include "screens/map/nation_colours.h"
#include "ui/map/map_picture.h"

namespace tarvex::ui {
namespace {

WarMapShown StartingOwners(int playerNation) {
    WarMapShown war;
    for (int city = 1; city <= kCityCount; ++city)
        for (const NationRow& n : kStartingNations)
            if (std::string(n.name) == kStartingCities[city - 1].owner) war.nation[city] = n.index;
    war.playerNation = playerNation;
    return war;
}

QImage PaintWhole(TerritoryPicture& picture) {
    QImage image(kMapPictureWidth, kMapPictureHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    picture.Paint(painter, image.rect());
    return image;
}

// The landmass whose outline holds a point (twips), drawn one byte a pixel of the surface.
QImage Landmass(const MapGeography& map, QPointF inside) {
    QImage mask(kMapPictureWidth, kMapPictureHeight, QImage::Format_Grayscale8);
    mask.fill(0);
    for (const QPolygonF& ring : map.land.toSubpathPolygons())
        if (ring.containsPoint(inside, Qt::OddEvenFill)) {
            QPainter painter(&mask);
            painter.scale(1 / 15.0, 1 / 15.0);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::white);
            painter.drawPolygon(ring);
        }
    return mask;
}

TEST(TerritoryPicture, TheRealLandIsSharedOutOverLandAndEachCityStandsOnItsOwn) {
    EnsureApplication();
    const MapGeography& map = MapGeography::Get();
    ASSERT_TRUE(map.hasLand);
    TerritoryPicture sharp(2), plain(1);
    // Great Britain and the Continent, each by a city inland.
    const auto siteOf = [&map](int city) { return QPointF(map.sites[city].x, map.sites[city].y); };
    const QImage britain = Landmass(map, siteOf(2)), continent = Landmass(map, siteOf(15));
    std::array<bool, kCityCount + 1> british{};
    for (int city = 1; city <= kCityCount; ++city) {
        // The land nearest the city's place: a port may stand a little out to sea.
        const QPoint at = (siteOf(city) / 15).toPoint();
        bool landFound = false;
        for (int r = 0; r < 40 && !landFound; ++r)
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    const QPoint p = at + QPoint(dx, dy);
                    if (!britain.rect().contains(p) || plain.CityAt(p + QPointF(0.5, 0.5)) == 0) continue;
                    landFound = true;
                    british[city] = british[city] || qGray(britain.pixel(p)) != 0;
                }
    }
    EXPECT_TRUE(british[1] && british[2] && british[3] && british[4] && !british[5] && !british[16]);
    std::array<int, kCityCount + 1> pixels{};
    int agree = 0, land = 0;
    for (int y = 0; y < kMapPictureHeight; ++y)
        for (int x = 0; x < kMapPictureWidth; ++x) {
            const QPointF centre(x + 0.5, y + 0.5);
            const int city = plain.CityAt(centre);
            ASSERT_TRUE(city >= 0 && city <= kCityCount);
            ++pixels[city];
            if (city == 0) continue;
            // No land of Britain goes to a city on the Continent (a few pixels of Kintyre lie
            // nearer Dublin by sea than Edinburgh round the lochs), none of the Continent to a British city.
            if (qGray(britain.pixel(x, y)) == 255) {
                ASSERT_TRUE(british[city] || city == 5) << x << "," << y << " " << city;
            }
            if (qGray(continent.pixel(x, y)) == 255) {
                ASSERT_FALSE(british[city]) << x << "," << y << " " << city;
            }
            if (x % 3 || y % 3) continue;
            ++land;
            agree += sharp.CityAt(centre) == city;
        }
    // Every city has land, and twice the density divides it the same way but for the coast's pixels.
    for (int city = 1; city <= kCityCount; ++city) EXPECT_GT(pixels[city], 0) << city;
    EXPECT_GT(agree, land * 99 / 100);
    // A city's real place lies in its own land wherever that place is land.
    int onLand = 0;
    for (int city = 1; city <= kCityCount; ++city) {
        const QPointF place(map.sites[city].x / 15, map.sites[city].y / 15);
        const int under = plain.CityAt(place);
        if (under == 0) continue;
        ++onLand;
        EXPECT_EQ(under, city);
    }
    EXPECT_GE(onLand, 70);
}

TEST(TerritoryPicture, BorderingNationsDifferClearlyAndTheLegendMatchesTheMap) {
    EnsureApplication();
    const MapGeography& map = MapGeography::Get();
    std::vector<std::pair<int, int>> touching;
    for (const BorderPiece& b : map.borders) touching.push_back({b.a, b.b});
    double least = 100;
    for (auto [p, q] : StartingNeighbourNations(touching))
        least =
            std::min(least, PerceivedDifference(kLandColours[map.nationColour[p]], kLandColours[map.nationColour[q]]));
    EXPECT_GE(least, 15.0);

    TerritoryPicture picture(1);
    picture.SetOwners(StartingOwners(0));
    const QImage image = PaintWhole(picture);
    // The overview and the map show the legend's colour on a nation's land.
    const QImage overview = picture.Overview({320, 233});
    const QPointF paris(map.sites[15].x / 15, map.sites[15].y / 15);
    const QColor france = NationLandColour(StartingOwners(0).nation[15]);
    int matching = 0;
    for (int dy = -20; dy <= 20; ++dy)
        for (int dx = -20; dx <= 20; ++dx) matching += image.pixelColor(paris.toPoint() + QPoint(dx, dy)) == france;
    EXPECT_GT(matching, 41 * 41 / 2);
    EXPECT_EQ(overview.pixelColor(static_cast<int>(paris.x() / 10), static_cast<int>(paris.y() / 10)), france);
}

TEST(TerritoryPicture, AChangeOfOwnerRecoloursThatCityAloneAndThePlayersLandIsStriped) {
    EnsureApplication();
    TerritoryPicture picture(1);
    WarMapShown war = StartingOwners(0);
    EXPECT_EQ(picture.SetOwners(war), QRect(0, 0, kMapPictureWidth, kMapPictureHeight));
    EXPECT_TRUE(picture.SetOwners(war).isEmpty());  // nothing changed, nothing to repaint
    const QImage before = PaintWhole(picture);
    war.nation[15] = war.nation[1];  // England takes Paris
    const QRect repaint = picture.SetOwners(war);
    const QImage after = PaintWhole(picture);
    int parisPixels = 0, parisChanged = 0, elsewhereChanged = 0;
    for (int y = 0; y < kMapPictureHeight; ++y)
        for (int x = 0; x < kMapPictureWidth; ++x) {
            const bool changed = before.pixel(x, y) != after.pixel(x, y);
            // What changed lies in the part to repaint, or the window would show stale colours.
            if (changed) {
                ASSERT_TRUE(repaint.contains(x, y)) << x << "," << y;
            }
            if (picture.CityAt(QPointF(x + 0.5, y + 0.5)) == 15) {
                ++parisPixels;
                parisChanged += changed;
            } else {
                elsewhereChanged += changed;  // only where the border around Paris moved
            }
        }
    EXPECT_GT(parisChanged, parisPixels * 9 / 10);
    EXPECT_LT(elsewhereChanged, parisPixels / 10);
    EXPECT_LT(repaint.width() * repaint.height(), kMapPictureWidth * kMapPictureHeight / 20);

    // The player's nation: a share of its land takes the darker stripe colour.
    war.playerNation = war.nation[1];
    picture.SetOwners(war);
    const QImage striped = PaintWhole(picture);
    int stripes = 0, englishPixels = 0;
    for (int y = 0; y < kMapPictureHeight; y += 2)
        for (int x = 0; x < kMapPictureWidth; x += 2)
            if (picture.CityAt(QPointF(x + 0.5, y + 0.5)) == 1) {
                ++englishPixels;
                stripes += striped.pixel(x, y) != after.pixel(x, y);
            }
    EXPECT_GT(stripes, englishPixels / 5);
    EXPECT_LT(stripes, englishPixels * 3 / 5);
}

// The decorations are kept a band of rows at a time and looked up by row: at every density
// they lie where they lie at one pixel a logical pixel (any colour but plain land and sea).
TEST(TerritoryPicture, TheDecorationsLieInTheSamePlacesAtEveryDensity) {
    EnsureApplication();
    const WarMapShown war;  // no city held by a nation: one plain land colour
    const QRgb land = NationLandColour(0).rgb(), sea = kMapSea.rgb();
    const QRect area(500, 300, 700, 600);
    const auto at = [&area](int x, int y) { return static_cast<std::size_t>(y) * area.width() + x; };
    std::vector<std::vector<bool>> marked;
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        TerritoryPicture picture(ratio);
        picture.SetOwners(war);
        QImage image(area.size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        QPainter painter(&image);
        painter.translate(-area.topLeft());
        picture.Paint(painter, area);
        painter.end();
        std::vector<bool>& m = marked.emplace_back(at(0, area.height()));
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (const QRgb c = image.pixel(x, y); c != land && c != sea)
                    m[at(qFloor(x / ratio), qFloor(y / ratio))] = true;
    }
    for (std::size_t i = 1; i < marked.size(); ++i) {
        int expected = 0, near = 0;
        for (int y = 1; y + 1 < area.height(); ++y)
            for (int x = 1; x + 1 < area.width(); ++x) {
                if (!marked[0][at(x, y)]) continue;
                ++expected;
                bool found = false;
                for (int d = 0; d < 9 && !found; ++d) found = marked[i][at(x + d % 3 - 1, y + d / 3 - 1)];
                near += found;
            }
        EXPECT_GT(expected, 5000);
        EXPECT_GT(near, expected * 95 / 100) << i;
    }
}

}  // namespace
}  // namespace tarvex::ui
