// The coloured map: dividing the land, the colour tables and composing what is in view.
#include "ui/territory_picture.h"

#include <QFile>
#include <QPainter>
#include <QtMath>
#include <climits>
#include <cstdio>
#include <set>

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

// The land at `ratio` pixels a logical pixel: 0 sea, each land pixel its city's number.
QImage DivideAt(const MapGeography& map, qreal ratio) {
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
    DivideLand(map.sites, {image.width(), image.height(), kTwipsPerPixel / ratio, image.bits(), image.bytesPerLine()});
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

// The fixed decorations, in logical pixels of the surface.
void DrawDecorations(QPainter& painter, const MapGeography& map) {
    painter.setRenderHint(QPainter::Antialiasing);
    // Faint lines between the lands of cities; those between nations are drawn strongly on top.
    painter.setPen(QPen(QColor(90, 70, 50, 70), 1.0));
    for (const BorderPiece& b : map.borders)
        painter.drawLine(QPointF(b.from.x, b.from.y) / kTwipsPerPixel, QPointF(b.to.x, b.to.y) / kTwipsPerPixel);

    painter.save();
    painter.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    QPen coast(kMapCoast, 1.0);
    coast.setCosmetic(true);  // one device pixel: sharp at any density, and fast
    painter.setPen(coast);
    painter.setBrush(Qt::NoBrush);
    if (map.hasLand) painter.drawPath(map.land);
    painter.restore();

    // One line for each pair of neighbouring cities, however many directions the pair is listed in.
    std::set<std::pair<int, int>> pairs;
    for (int from = 1; from <= kCityCount; ++from)
        for (int to : kNeighbours[from]) pairs.insert({std::min(from, to), std::max(from, to)});
    painter.setPen(QPen(QColor(150, 40, 30, 170), 2, Qt::SolidLine, Qt::RoundCap));
    for (auto [a, b] : pairs) painter.drawLine(PanelCentre(a), PanelCentre(b));

    // The Alps, between Augsburg and Milan, where no panel covers it even when unfolded.
    QFont font = GameFont(14);
    font.setBold(true);
    QPainterPath path;
    path.addText(QPointF(Twips(21700), Twips(19850)), font, QStringLiteral("アルプス山脈"));
    painter.setPen(QPen(QColor(255, 255, 255, 200), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 60, 30));
    painter.drawPath(path);
}

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
        QImage divided = DivideAt(m, 1.0);
        m.borders = LandBorders(
            m.sites, {divided.width(), divided.height(), kTwipsPerPixel, divided.bits(), divided.bytesPerLine()});
        std::vector<std::pair<int, int>> touching;
        for (const BorderPiece& b : m.borders) touching.push_back({b.a, b.b});
        m.nationColour = ColourNations(StartingNeighbourNations(touching));
        return m;
    }();
    return map;
}

QColor NationLandColour(int nation) {
    if (nation < 1 || nation > kNationCount) return kNeutralLand;
    const Rgb c = kLandColours[MapGeography::Get().nationColour[nation]];
    return QColor(c.r, c.g, c.b);
}

TerritoryPicture::TerritoryPicture(qreal ratio) : ratio_(ratio) {
    const MapGeography& map = MapGeography::Get();
    index_ = DivideAt(map, ratio);
    // The player's land is striped: every few pixels a diagonal band takes the
    // stripe colour, which for other nations is their own.
    const int period = qRound(8 * ratio), band = qRound(3 * ratio);
    for (int y = 0; y < index_.height(); ++y) {
        uchar* row = index_.scanLine(y);
        for (int x = 0; x < index_.width(); ++x)
            if (row[x] != 0 && (x + y) % period < band) row[x] |= kStripe;
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
    // Drawn a band at a time and reduced to at most 255 colours, so that no
    // full-size colour picture is ever held.
    std::vector<std::uint8_t> entryOf(1 << 16, 0);
    int used = 1;
    const int bandHeight = 128;
    QImage band(decoration_.width(), bandHeight, QImage::Format_ARGB32_Premultiplied);
    for (int top = 0; top < decoration_.height(); top += bandHeight) {
        band.fill(Qt::transparent);
        {
            QPainter painter(&band);
            painter.translate(0, -top);
            painter.scale(ratio_, ratio_);
            DrawDecorations(painter, map);
        }
        const int rows = std::min(bandHeight, decoration_.height() - top);
        for (int y = 0; y < rows; ++y) {
            const QRgb* in = reinterpret_cast<const QRgb*>(band.constScanLine(y));
            uchar* out = decoration_.scanLine(top + y);
            for (int x = 0; x < band.width(); ++x) {
                const QRgb c = in[x];
                if (qAlpha(c) == 0) continue;
                const int key = (qAlpha(c) >> 4) << 12 | (qRed(c) >> 4) << 8 | (qGreen(c) >> 4) << 4 | (qBlue(c) >> 4);
                std::uint8_t& entry = entryOf[key];
                if (entry == 0) {
                    if (used < 256) {
                        entry = static_cast<std::uint8_t>(used);
                        decorationColours_[used++] = c;
                    } else {
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
                        entry = static_cast<std::uint8_t>(best);
                    }
                }
                out[x] = entry;
            }
        }
    }
}

QRgb TerritoryPicture::ShownColour(int city, bool stripe) const {
    const int nation = nation_[city];
    const QRgb base = NationLandColour(nation).rgb();
    return stripe && nation > 0 && nation == playerNation_ ? Darker(base, 22) : base;
}

bool TerritoryPicture::SetOwners(const WarMapShown& map) {
    if (map.nation == nation_ && map.playerNation == playerNation_) return false;
    nation_ = map.nation;
    playerNation_ = map.playerNation;
    for (int city = 1; city <= kCityCount; ++city) {
        landColours_[city] = ShownColour(city, false);
        landColours_[city | kStripe] = ShownColour(city, true);
    }
    return true;
}

void TerritoryPicture::Paint(QPainter& painter, const QRect& area) {
    const QRect device = QRect(QPoint(qFloor(area.left() * ratio_), qFloor(area.top() * ratio_)),
                               QPoint(qCeil((area.right() + 1) * ratio_) - 1, qCeil((area.bottom() + 1) * ratio_) - 1))
                             .intersected(index_.rect());
    if (device.isEmpty()) return;
    if (scratch_.width() < device.width() || scratch_.height() < device.height())
        scratch_ = QImage(std::max(scratch_.width(), device.width()), std::max(scratch_.height(), device.height()),
                          QImage::Format_RGB32);
    for (int y = 0; y < device.height(); ++y) {
        const uchar* land = index_.constScanLine(device.top() + y) + device.left();
        const uchar* decoration = decoration_.constScanLine(device.top() + y) + device.left();
        QRgb* out = reinterpret_cast<QRgb*>(scratch_.scanLine(y));
        for (int x = 0; x < device.width(); ++x) {
            QRgb c = landColours_[land[x]];
            if (const uchar d = decoration[x]) {
                const QRgb over = decorationColours_[d];
                c = over + ByteMul(c, 255 - qAlpha(over));
            }
            out[x] = c | 0xff000000;
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
