// The coloured map: dividing the land, the colour tables and composing what is in view.
#include "ui/territory_picture.h"

#include <QFile>
#include <QPainter>
#include <QtMath>
#include <climits>
#include <cstring>
#include <cstdio>
#include <set>
#include <utility>

#include "rules/world/scenario.h"
#include "screens/main/main_window.h"
#include "screens/map/nation_colours.h"
#include "ui/common.h"
#include "ui/map_picture.h"

namespace tarvex::ui {

namespace {

constexpr std::uint8_t kStripe = 0x80;
constexpr double kTwipsPerPixel = 15.0;
const QColor kNeutralLand(215, 205, 185);  // a city whose owner is no nation of the list
const QColor kBorder(70, 50, 35);          // between two nations
const QColor kRealmBorder(190, 60, 20);    // around the player's nation

// The land at `ratio` pixels a logical pixel: 0 sea, each land pixel its city's number;
// where each city's land lies, if asked.
QImage DivideAt(const MapGeography& map, qreal ratio, std::array<QRect, kCityCount + 1>* bounds = nullptr) {
    QImage image(qCeil(kMapPictureWidth * ratio), qCeil(kMapPictureHeight * ratio), QImage::Format_Grayscale8);
    image.fill(0);
    if (!map.hasLand) return image;
    {
        QPainter painter(&image);
        painter.scale(ratio / kTwipsPerPixel, ratio / kTwipsPerPixel);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPath(map.land);
    }
    const auto pixels =
        DivideLand(map.sites, {image.width(), image.height(), kTwipsPerPixel / ratio, image.bits(), image.bytesPerLine()});
    if (bounds)
        for (int city = 1; city <= kCityCount; ++city) {
            const PixelBounds& b = pixels[city];
            (*bounds)[city] = QRect(QPoint(b.left, b.top), QPoint(b.right, b.bottom)).normalized();
            if (b.right < b.left) (*bounds)[city] = QRect();
        }
    return image;
}

CitySites ReadSites() {
    const QString path = FindDataFile("map/cities.tsv");
    QFile file(path);
    std::string error = "map/cities.tsv not found among the game's data";
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly)) {
        const QByteArray text = file.read(1 << 20);
        CitySites sites{};
        if (ParseCitySites(std::string_view(text.constData(), text.size()), &sites, &error)) return sites;
    }
    std::fprintf(stderr, "tarvex: cities stand at their panels on the map: %s\n", error.c_str());
    return PanelCentreSites();
}

QPointF PanelCentre(int city) {
    // The middle of the folded panel: the lines join the panels' heads.
    const PanelPosition& p = kPanelPositions[city];
    return {(p.left + kPanelWidth / 2.0) / kTwipsPerPixel, (p.top + kPanelCollapsed / 2.0) / kTwipsPerPixel};
}

// The fixed decorations, one colour at a time from the bottom up: faint lines between
// the cities' lands (those between nations are drawn strongly on top, later), the
// coast, the lines between neighbouring cities and the mountains' name with its halo.
// Each is cut into short pieces so that a band of the picture draws only what crosses
// it, and drawn opaque: Qt draws opaque lines several times faster than translucent ones.
class Decorations {
public:
    static constexpr int kLayers = 5;

    explicit Decorations(const MapGeography& map) {
        for (const BorderPiece& b : map.borders)
            faint_.push_back({QPointF(b.from.x, b.from.y) / kTwipsPerPixel, QPointF(b.to.x, b.to.y) / kTwipsPerPixel});
        // The coast in runs of a few dozen points, each with its bounds.
        constexpr int kRun = 48;
        if (map.hasLand)
            for (const QPolygonF& ring :
                 map.land.toSubpathPolygons(QTransform::fromScale(1 / kTwipsPerPixel, 1 / kTwipsPerPixel)))
                for (qsizetype start = 0; start + 1 < ring.size(); start += kRun) {
                    const QPolygonF run = ring.mid(start, kRun + 1);
                    coast_.push_back({run, run.boundingRect()});
                }
        // One line for each pair of neighbouring cities, however many directions the pair is listed in.
        std::set<std::pair<int, int>> pairs;
        for (int from = 1; from <= kCityCount; ++from)
            for (int to : kNeighbours[from]) pairs.insert({std::min(from, to), std::max(from, to)});
        for (auto [a, b] : pairs) neighbours_.push_back({PanelCentre(a), PanelCentre(b)});
        // The Alps, between Augsburg and Milan, where no panel covers it even when unfolded.
        QFont font = GameFont(14);
        font.setBold(true);
        alps_.addText(QPointF(Twips(21700), Twips(19850)), font, QStringLiteral("アルプス山脈"));
    }

    static QColor Colour(int layer) {
        static const std::array<QColor, kLayers> colours{QColor(90, 70, 50, 70), kMapCoast, QColor(150, 40, 30, 170),
                                                         QColor(255, 255, 255, 200), QColor(90, 60, 30)};
        return colours[layer];
    }

    // Draws one layer in opaque black where it crosses `band` (logical pixels); false when nothing does.
    bool Draw(QPainter& painter, int layer, const QRectF& band) const {
        const QRectF near = band.adjusted(-3, -3, 3, 3);
        const auto crosses = [&near](const QLineF& line) {
            return near.intersects(QRectF(line.p1(), line.p2()).normalized().adjusted(-1, -1, 1, 1));
        };
        bool drawn = false;
        switch (layer) {
            case 0:
                painter.setPen(QPen(Qt::black, 1.0));
                for (const QLineF& line : faint_)
                    if (crosses(line)) painter.drawLine(line), drawn = true;
                break;
            case 1: {
                QPen coast(Qt::black, 1.0);
                coast.setCosmetic(true);  // one device pixel: sharp at any density, and fast
                painter.setPen(coast);
                for (const auto& [run, bounds] : coast_)
                    if (near.intersects(bounds.adjusted(-1, -1, 1, 1))) painter.drawPolyline(run), drawn = true;
                break;
            }
            case 2:
                painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
                for (const QLineF& line : neighbours_)
                    if (crosses(line)) painter.drawLine(line), drawn = true;
                break;
            default:
                if (!near.intersects(alps_.boundingRect().adjusted(-2, -2, 2, 2))) break;
                drawn = true;
                if (layer == 3) {
                    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                    painter.setBrush(Qt::NoBrush);
                } else {
                    painter.setPen(Qt::NoPen);
                    painter.setBrush(Qt::black);
                }
                painter.drawPath(alps_);
        }
        return drawn;
    }

private:
    std::vector<QLineF> faint_;
    std::vector<std::pair<QPolygonF, QRectF>> coast_;
    std::vector<QLineF> neighbours_;
    QPainterPath alps_;
};

// x * a / 255 for each of the four bytes, rounded.
inline QRgb ByteMul(QRgb x, uint a) {
    uint t = (x & 0xff00ff) * a;
    t = ((t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return x | t;
}

QRgb Darker(QRgb c, int percent) {
    return qRgb(qRed(c) * (100 - percent) / 100, qGreen(c) * (100 - percent) / 100, qBlue(c) * (100 - percent) / 100);
}

}  // namespace

const MapGeography& MapGeography::Get() {
    static const MapGeography map = [] {
        MapGeography m;
        QString error;
        const QString outline = FindDataFile("map/europe.map");
        m.hasLand = !outline.isEmpty() && LoadLandPath(outline, &m.land, &error);
        m.sites = ReadSites();
        // The borders and the colours come from one density, so that they are the same on every screen.
        QImage divided = DivideAt(m, 1.0, &m.cityBounds);
        m.borders = LandBorders(
            m.sites, {divided.width(), divided.height(), kTwipsPerPixel, divided.bits(), divided.bytesPerLine()});
        std::vector<std::pair<int, int>> touching;
        for (const BorderPiece& b : m.borders) touching.push_back({b.a, b.b});
        m.nationColour = ColourNations(StartingNeighbourNations(touching));
        return m;
    }();
    return map;
}

QImage MapGeography::TakeDivided() const { return std::exchange(divided_, QImage()); }

QColor NationLandColour(int nation) {
    if (nation < 1 || nation > kNationCount) return kNeutralLand;
    const Rgb c = kLandColours[MapGeography::Get().nationColour[nation]];
    return QColor(c.r, c.g, c.b);
}

TerritoryPicture::TerritoryPicture(qreal ratio) : ratio_(ratio) {
    const MapGeography& map = MapGeography::Get();

    index_ = ratio == 1 ? map.TakeDivided() : QImage();
    if (index_.isNull()) index_ = DivideAt(map, ratio);
    // The player's land is striped: every few pixels a diagonal band takes the
    // stripe colour, which for other nations is their own.
    const int period = qRound(8 * ratio), band = qRound(3 * ratio);
    const int width = index_.width(), height = index_.height();
    std::vector<uchar> pattern(width + period);
    for (int i = 0; i < width + period; ++i) pattern[i] = i % period < band ? kStripe : 0;
    uchar* bits = index_.bits();
    const qsizetype stride = index_.bytesPerLine();
    for (int y = 0; y < height; ++y) {
        uchar* __restrict row = bits + y * stride;
        const uchar* __restrict stripes = pattern.data() + y % period;
        for (int x = 0; x < width; ++x) row[x] |= stripes[x] & static_cast<uchar>(-static_cast<int>(row[x] != 0));
    }
    index_.reinterpretAsFormat(QImage::Format_Indexed8);

    nation_.fill(-1);
    landColours_.fill(kMapSea.rgb());
    BuildDecorations();
}

void TerritoryPicture::BuildDecorations() {
    const MapGeography& map = MapGeography::Get();
    decoration_ = QImage(index_.size(), QImage::Format_Indexed8);
    decoration_.fill(0);
    decorationColours_.fill(0);
    // Each colour is drawn once as coverage, one byte a pixel, then laid over what
    // lies below and reduced to at most 255 colours: no full-size colour picture is
    // ever held.
    std::vector<std::uint8_t> entryOf(1 << 16, 0);
    int used = 1;
    const auto entryFor = [&](QRgb c) -> std::uint8_t {
        const int key = (qAlpha(c) >> 4) << 12 | (qRed(c) >> 4) << 8 | (qGreen(c) >> 4) << 4 | (qBlue(c) >> 4);
        std::uint8_t& entry = entryOf[key];
        if (entry != 0) return entry;
        if (used < 256) {
            entry = static_cast<std::uint8_t>(used);
            decorationColours_[used++] = c;
            return entry;
        }
        // Out of entries: the nearest colour already in the table.
        int best = 1, bestDistance = INT_MAX;
        for (int i = 1; i < 256; ++i) {
            const QRgb d = decorationColours_[i];
            const int distance = std::abs(qAlpha(d) - qAlpha(c)) + std::abs(qRed(d) - qRed(c)) +
                                 std::abs(qGreen(d) - qGreen(c)) + std::abs(qBlue(d) - qBlue(c));
            if (distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        return entry = static_cast<std::uint8_t>(best);
    };

    // A band at a time; each layer is drawn into it, laid over what lies below
    // (its coverage is the band's alpha) and wiped as it is read.
    const Decorations decorations(map);
    const int bandHeight = 256, width = decoration_.width();
    QImage band(width, bandHeight, QImage::Format_ARGB32_Premultiplied);
    band.fill(Qt::transparent);
    for (int top = 0; top < decoration_.height(); top += bandHeight) {
        const int rows = std::min(bandHeight, decoration_.height() - top);
        const QRectF inBand(0, top / ratio_, width / ratio_, bandHeight / ratio_);
        for (int layer = 0; layer < Decorations::kLayers; ++layer) {
            {
                QPainter painter(&band);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.translate(0, -top);
                painter.scale(ratio_, ratio_);
                if (!decorations.Draw(painter, layer, inBand)) continue;
            }
            const QRgb colour = Decorations::Colour(layer).rgba();
            for (int y = 0; y < rows; ++y) {
                QRgb* cover = reinterpret_cast<QRgb*>(band.scanLine(y));
                uchar* out = decoration_.scanLine(top + y);
                for (int x = 0; x < width; ++x) {
                    // Most of a band is bare: skip it eight pixels at a time.
                    while (x + 8 <= width && (cover[x] | cover[x + 1] | cover[x + 2] | cover[x + 3] | cover[x + 4] |
                                              cover[x + 5] | cover[x + 6] | cover[x + 7]) == 0)
                        x += 8;
                    if (x >= width || cover[x] == 0) continue;
                    const uint alpha = qAlpha(colour) * qAlpha(cover[x]) / 255;
                    cover[x] = 0;
                    const QRgb over = qPremultiply(qRgba(qRed(colour), qGreen(colour), qBlue(colour), alpha));
                    out[x] = entryFor(over + ByteMul(decorationColours_[out[x]], 255 - alpha));
                }
            }
        }
    }
}

QRgb TerritoryPicture::ShownColour(int city, bool stripe) const {
    const int nation = nation_[city];
    const QRgb base = NationLandColour(nation).rgb();
    return stripe && nation > 0 && nation == playerNation_ ? Darker(base, 22) : base;
}

QRect TerritoryPicture::SetOwners(const WarMapShown& map) {
    QRect changed;
    const bool everywhere = map.playerNation != playerNation_;
    playerNation_ = map.playerNation;
    for (int city = 1; city <= kCityCount; ++city) {
        if (!everywhere && map.nation[city] == nation_[city]) continue;
        nation_[city] = map.nation[city];
        landColours_[city] = ShownColour(city, false);
        landColours_[city | kStripe] = ShownColour(city, true);
        // The city's land, and the borders around it, which may now run between two nations or none.
        changed |= MapGeography::Get().cityBounds[city].adjusted(-4, -4, 4, 4);
    }
    return everywhere ? QRect(0, 0, kMapPictureWidth, kMapPictureHeight) : changed;
}

void TerritoryPicture::Paint(QPainter& painter, const QRect& area) {
    const QRect device = QRect(QPoint(qFloor(area.left() * ratio_), qFloor(area.top() * ratio_)),
                               QPoint(qCeil((area.right() + 1) * ratio_) - 1, qCeil((area.bottom() + 1) * ratio_) - 1))
                             .intersected(index_.rect());
    if (device.isEmpty()) return;
    if (scratch_.width() < device.width() || scratch_.height() < device.height())
        scratch_ = QImage(std::max(scratch_.width(), device.width()), std::max(scratch_.height(), device.height()),
                          QImage::Format_RGB32);
    const int width = device.width();
    for (int y = 0; y < device.height(); ++y) {
        const uchar* land = index_.constScanLine(device.top() + y) + device.left();
        const uchar* decoration = decoration_.constScanLine(device.top() + y) + device.left();
        QRgb* out = reinterpret_cast<QRgb*>(scratch_.scanLine(y));
        for (int x = 0; x < width; ++x) out[x] = landColours_[land[x]];
        // Most pixels bear no decoration: skip them eight at a time.
        for (int x = 0; x < width; ++x) {
            if (x + 8 <= width) {
                std::uint64_t eight;
                std::memcpy(&eight, decoration + x, sizeof eight);
                if (eight == 0) {
                    x += 7;
                    continue;
                }
            }
            if (const uchar d = decoration[x]) {
                const QRgb over = decorationColours_[d];
                out[x] = (over + ByteMul(out[x], 255 - qAlpha(over))) | 0xff000000;
            }
        }
    }
    scratch_.setDevicePixelRatio(ratio_);
    painter.drawImage(QPointF(device.left() / ratio_, device.top() / ratio_), scratch_,
                      QRect(0, 0, device.width(), device.height()));
    scratch_.setDevicePixelRatio(1);

    // Borders between nations, sharp at any density: only those in view.
    const QRectF inView = QRectF(area).adjusted(-4, -4, 4, 4);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen border(kBorder, 1.6, Qt::SolidLine, Qt::RoundCap);
    const QPen realm(kRealmBorder, 3.0, Qt::SolidLine, Qt::RoundCap);
    for (const BorderPiece& b : MapGeography::Get().borders) {
        const int p = nation_[b.a], q = nation_[b.b];
        if (p == q) continue;
        const QPointF from = QPointF(b.from.x, b.from.y) / kTwipsPerPixel;
        const QPointF to = QPointF(b.to.x, b.to.y) / kTwipsPerPixel;
        if (!inView.intersects(QRectF(from, to).normalized().adjusted(-1, -1, 1, 1))) continue;
        const bool ours = playerNation_ > 0 && (p == playerNation_ || q == playerNation_);
        painter.setPen(ours ? realm : border);
        painter.drawLine(from, to);
    }
    painter.restore();
}

int TerritoryPicture::CityAt(QPointF point) const {
    const int x = qFloor(point.x() * ratio_), y = qFloor(point.y() * ratio_);
    if (x < 0 || y < 0 || x >= index_.width() || y >= index_.height()) return 0;
    return index_.constScanLine(y)[x] & ~kStripe;
}

QImage TerritoryPicture::Overview(QSize size) const {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int sy = std::min(index_.height() - 1, static_cast<int>((y + 0.5) * index_.height() / size.height()));
        const uchar* row = index_.constScanLine(sy);
        for (int x = 0; x < size.width(); ++x) {
            const int sx = std::min(index_.width() - 1, static_cast<int>((x + 0.5) * index_.width() / size.width()));
            out[x] = landColours_[row[sx] & ~kStripe];
        }
    }
    return image;
}

}  // namespace tarvex::ui
