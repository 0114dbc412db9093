// The coloured map: dividing the land, the colour tables and composing what is in view.
#include "ui/map/territory_picture.h"

#include <QDataStream>
#include <QFile>
#include <QPainter>
#include <QtEndian>
#include <QtMath>
#include <climits>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>

#include "rules/world/scenario.h"
#include "screens/main/main_window.h"
#include "screens/map/nation_colours.h"
#include "ui/map/map_picture.h"
#include "ui/qt/common.h"

namespace tarvex::ui {

namespace {

constexpr double kTwipsPerPixel = 15.0;
const QColor kNeutralLand(215, 205, 185);  // a city whose owner is no nation of the list
const QColor kBorder(70, 50, 35);          // between two nations
const QColor kRealmBorder(190, 60, 20);    // around the player's nation

// Rows of a band while the map is built: 256 at density 1 (800,000 pixels), and half those pixels
// at density 2, whose other pictures already take four times the room: the peak, not the speed,
// is what a sharp screen's build is short of.
int BandHeight(qreal ratio) { return std::max(64, qRound(256 / (ratio * ratio))); }

CitySites ReadSites(const QString& path) {
    QFile file(path);
    std::string error = "map/cities.tsv not found among the game's data";
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly)) {
        const QByteArray text = file.read(1 << 20);
        CitySites sites{};
        if (ParseCitySites(std::string_view(text.constData(), text.size()), &sites, &error)) return sites;
        error = path.toStdString() + ": " + error;
    }
    static bool told = false;
    if (!std::exchange(told, true))
        std::fprintf(stderr, "tarvex: cities stand at their panels on the map: %s\n", error.c_str());
    return PanelCentreSites();
}

// The grid the reach is worked out on: a cell of the reach sixteen pixels of the map
// at one pixel a logical pixel, its grey saying how much of the cell is land.
constexpr double kReachCell = 240;  // twips
constexpr int kReachColumns = (48000 + 239) / 240, kReachRows = (35000 + 239) / 240;

std::vector<std::uint8_t> ReachCover(const QPainterPath& land, bool hasLand) {
    QImage cover(kReachColumns, kReachRows, QImage::Format_Grayscale8);
    cover.fill(0);
    if (hasLand) {
        QPainter painter(&cover);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(1 / kReachCell, 1 / kReachCell);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPath(land);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kReachColumns) * kReachRows);
    for (int y = 0; y < kReachRows; ++y)
        std::memcpy(&bytes[static_cast<std::size_t>(y) * kReachColumns], cover.constScanLine(y), kReachColumns);
    return bytes;
}

// What the reach, the division and the borders are worked out from, as a number: a
// file made for other land or other places (or by another version of this code or of
// the drawing library that divides the land) is never taken for this map's.
constexpr quint32 kReachFileVersion = 3;
quint64 MapKey(const QPainterPath& land, const CitySites& sites) {
    quint64 hash = 1469598103934665603ull;
    const auto mix = [&hash](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    };
    const quint32 grid[] = {kReachFileVersion, quint32(kReachColumns), quint32(kReachRows), quint32(kReachCell)};
    mix(grid, sizeof grid);
    const char* drawing = qVersion();
    mix(drawing, std::strlen(drawing));
    for (int city = 1; city <= kCityCount; ++city) mix(&sites[city], sizeof(MapPoint));
    for (int i = 0; i < land.elementCount(); ++i) {
        const QPainterPath::Element e = land.elementAt(i);
        const double point[] = {e.x, e.y, double(e.type)};
        mix(point, sizeof point);
    }
    return hash;
}

// The file: a header (what it is, its version and the key of the map it was made from),
// then two packed blocks: the reach, the division at one pixel a logical pixel, the
// cities' bounds and the borders; and the division at two pixels a logical pixel, which
// only a sharp screen unpacks.
QByteArray EncodeMapFile(const MapGeography& map, const LandRuns& sharp, quint64 key) {
    const LandReach& reach = map.reach;
    QByteArray raw;
    QDataStream out(&raw, QIODevice::WriteOnly);
    out << qint32(reach.columns) << qint32(reach.rows);
    out.writeRawData(reinterpret_cast<const char*>(reach.nearest.data()), int(reach.nearest.size()));
    QByteArray counts(qsizetype(reach.nearest.size()), '\0');
    for (std::size_t cell = 0; cell + 1 < reach.firstCandidate.size(); ++cell)
        counts[qsizetype(cell)] = char(reach.firstCandidate[cell + 1] - reach.firstCandidate[cell]);
    out.writeRawData(counts.constData(), int(counts.size()));
    out << quint32(reach.candidates.size());
    out.writeRawData(reinterpret_cast<const char*>(reach.candidates.data()), int(reach.candidates.size()));
    out.writeRawData(reinterpret_cast<const char*>(reach.extra.data()), int(reach.extra.size() * sizeof(float)));
    map.divided.Write(out);
    for (int city = 1; city <= kCityCount; ++city) out << map.cityBounds[city];
    out << quint32(map.borders.size());
    for (const BorderPiece& b : map.borders)
        out << quint8(b.a) << quint8(b.b) << b.from.x << b.from.y << b.to.x << b.to.y;
    QByteArray sharpRaw;
    QDataStream sharpOut(&sharpRaw, QIODevice::WriteOnly);
    sharp.Write(sharpOut);
    QByteArray file;
    QDataStream header(&file, QIODevice::WriteOnly);
    header << QByteArray("tarvex-reach") << kReachFileVersion << key << qCompress(raw, 9) << qCompress(sharpRaw, 9);
    return file;
}

// The map file is some 300 kB: no count in it, nor the file itself, may ask for more than this.
constexpr quint32 kMapFileLimit = 8u << 20;

// A packed block of the file, unpacked; empty when it cannot be. qUncompress sets aside
// what the first four bytes ask for: a damaged block asks for anything.
QByteArray Unpack(const QByteArray& packed) {
    if (packed.size() < 4 || qFromBigEndian<quint32>(packed.constData()) > kMapFileLimit) return {};
    return qUncompress(packed);
}

bool DecodeReach(QDataStream& in, LandReach* reach) {
    qint32 columns = 0, rows = 0;
    in >> columns >> rows;
    if (in.status() != QDataStream::Ok || columns != kReachColumns || rows != kReachRows) return false;
    LandReach r;
    r.columns = columns;
    r.rows = rows;
    r.cellTwips = kReachCell;
    const std::size_t cells = std::size_t(columns) * rows;
    r.nearest.resize(cells);
    if (in.readRawData(reinterpret_cast<char*>(r.nearest.data()), int(cells)) != int(cells)) return false;
    std::vector<quint8> counts(cells);
    if (in.readRawData(reinterpret_cast<char*>(counts.data()), int(cells)) != int(cells)) return false;
    r.firstCandidate.reserve(cells + 1);
    r.firstCandidate.push_back(0);
    for (const quint8 count : counts) r.firstCandidate.push_back(r.firstCandidate.back() + count);
    quint32 total = 0;
    in >> total;
    if (in.status() != QDataStream::Ok || total != r.firstCandidate.back()) return false;
    r.candidates.resize(total);
    r.extra.resize(total);
    const int extraBytes = int(total * sizeof(float));
    if (in.readRawData(reinterpret_cast<char*>(r.candidates.data()), int(total)) != int(total) ||
        in.readRawData(reinterpret_cast<char*>(r.extra.data()), extraBytes) != extraBytes)
        return false;
    const auto isCity = [](std::uint8_t city) { return city >= 1 && city <= kCityCount; };
    if (!std::all_of(r.candidates.begin(), r.candidates.end(), isCity) ||
        !std::all_of(r.nearest.begin(), r.nearest.end(), [](std::uint8_t c) { return c <= kCityCount; }))
        return false;
    *reach = std::move(r);
    return true;
}

bool DecodeBorders(QDataStream& in, std::vector<BorderPiece>* borders) {
    quint32 count = 0;
    in >> count;
    // Each piece takes 34 bytes of the file: more than it holds is a damaged count.
    if (in.status() != QDataStream::Ok || count > kMapFileLimit / 34) return false;
    std::vector<BorderPiece> pieces(count);
    for (BorderPiece& b : pieces) {
        quint8 a = 0, c = 0;
        in >> a >> c >> b.from.x >> b.from.y >> b.to.x >> b.to.y;
        b.a = a;
        b.b = c;
        if (a < 1 || a > kCityCount || c < 1 || c > kCityCount) return false;
    }
    if (in.status() != QDataStream::Ok) return false;
    *borders = std::move(pieces);
    return true;
}

// The reach, the division and the borders a file holds, when it was made from this very
// land and these places and reads whole; otherwise false, `map` untouched, and the game
// works them out itself. The sharp division is kept packed, unpacked only when asked for.
bool DecodeMapFile(const QByteArray& file, quint64 key, MapGeography* map) {
    QDataStream header(file);
    QByteArray magic, packed, sharp;
    quint32 version = 0;
    quint64 fileKey = 0;
    header >> magic >> version >> fileKey;
    if (header.status() != QDataStream::Ok || magic != "tarvex-reach" || version != kReachFileVersion || fileKey != key)
        return false;
    header >> packed >> sharp;
    if (header.status() != QDataStream::Ok || !header.atEnd()) return false;
    const QByteArray raw = Unpack(packed);
    QDataStream in(raw);
    LandReach reach;
    LandRuns divided;
    std::array<QRect, kCityCount + 1> bounds{};
    std::vector<BorderPiece> borders;
    if (!DecodeReach(in, &reach) || !LandRuns::Read(in, kMapPictureWidth, kMapPictureHeight, &divided)) return false;
    for (int city = 1; city <= kCityCount; ++city) in >> bounds[city];
    if (!DecodeBorders(in, &borders) || !in.atEnd()) return false;
    map->reach = std::move(reach);
    map->divided = std::move(divided);
    map->cityBounds = bounds;
    map->borders = std::move(borders);
    map->sharpDivision = std::move(sharp);
    map->sharpDivision.squeeze();  // read in growing steps: keep only what it holds
    return true;
}

// Where two cities' lands meet on the divided map, straightened into lines.
std::vector<BorderPiece> TraceBorders(const LandRuns& divided) {
    BorderTracer tracer(divided.Width());
    std::vector<quint8> row(divided.Width());
    for (int y = 0; y < divided.Height(); ++y) {
        divided.ForRuns(y, 0, divided.Width(),
                        [&row](int from, int to, int city) { std::fill(&row[from], &row[0] + to, city); });
        tracer.AddRow(row.data());
    }
    return tracer.Pieces(kTwipsPerPixel);
}

// How far the cities reach over land, the land divided at one pixel a logical pixel and
// the borders: from the file made with the game when it was made from this land and these
// places, else worked out here.
void WorkOutGeography(MapGeography* m, const QString& reachFile) {
    QFile file(reachFile);
    // One far larger than the build's is not read whole.
    m->fromFile = !reachFile.isEmpty() && file.open(QIODevice::ReadOnly) && file.size() <= kMapFileLimit &&
                  DecodeMapFile(file.readAll(), MapKey(m->land, m->sites), m);
    if (m->fromFile) return;
    m->reach = ReachOverLand(m->sites, kReachColumns, kReachRows, kReachCell, ReachCover(m->land, m->hasLand));
    // The borders and the colours come from one density, so that they are the same on every screen.
    m->divided = LandRuns::Divide(*m, 1.0, &m->cityBounds);
    m->borders = TraceBorders(m->divided);
}

// The coast in runs of a few dozen points, each with its bounds (logical pixels), so
// that a band or a view draws only the runs that cross it.
std::vector<std::pair<QPolygonF, QRectF>> CoastRuns(const MapGeography& map) {
    constexpr int kRun = 48;
    std::vector<std::pair<QPolygonF, QRectF>> runs;
    if (!map.hasLand) return runs;
    // The outline's rings (polygons only: straight lines) one at a time, each point scaled
    // as QPainterPath::toSubpathPolygons scales it, and each run copied at its own size. A
    // list that is cleared or cut whole while shared keeps the room of the longest ring
    // (toSubpathPolygons and QList::mid both do): some 38 MB at once, most of the game's peak.
    const QTransform scale = QTransform::fromScale(1 / kTwipsPerPixel, 1 / kTwipsPerPixel);
    QPolygonF ring;
    const auto cut = [&] {
        for (qsizetype start = 0; start + 1 < ring.size(); start += kRun) {
            const QPolygonF run(ring.cbegin() + start, ring.cbegin() + std::min(ring.size(), start + kRun + 1));
            runs.push_back({run, run.boundingRect()});
        }
        ring.clear();
    };
    for (int i = 0; i < map.land.elementCount(); ++i) {
        const QPainterPath::Element e = map.land.elementAt(i);
        if (e.isMoveTo()) cut();
        ring << scale.map(QPointF(e.x, e.y));
    }
    cut();
    return runs;
}

// The coast shared out among the cities whose land it bounds: each short stretch
// goes to the city of the land next to its middle.
std::array<std::vector<std::pair<QPolygonF, QRectF>>, kCityCount + 1> CoastOfCities(const MapGeography& map) {
    std::array<std::vector<std::pair<QPolygonF, QRectF>>, kCityCount + 1> coast{};
    const auto landNear = [&map](QPointF p) {
        const int x = qFloor(p.x()), y = qFloor(p.y());
        for (int r = 0; r <= 3; ++r)
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                    if (const int city = map.divided.At(x + dx, y + dy); city != 0) return city;
        return 0;
    };
    for (const auto& [run, runBounds] : CoastRuns(map)) {
        QPolygonF part;
        int partCity = 0;
        const auto close = [&] {
            if (partCity != 0 && part.size() > 1) coast[partCity].push_back({part, part.boundingRect()});
            part.clear();
        };
        for (qsizetype i = 0; i + 1 < run.size(); ++i) {
            const int city = landNear((run[i] + run[i + 1]) / 2);
            if (city != partCity) {
                close();
                partCity = city;
                part << run[i];
            }
            part << run[i + 1];
        }
        close();
    }
    return coast;
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
        coast_ = CoastRuns(map);
        // One line for each pair of neighbouring cities, however many directions the pair is listed in.
        std::set<std::pair<int, int>> pairs;
        for (int from = 1; from <= kCityCount; ++from)
            for (int to : kNeighbours[from]) pairs.insert({std::min(from, to), std::max(from, to)});
        for (auto [a, b] : pairs) neighbours_.push_back({PanelCentre(a), PanelCentre(b)});
        // The Alps, between Augsburg and Milan, where no panel covers it even when unfolded.
        alps_.addText(QPointF(Twips(21700), Twips(19850)), Emboldened(GameFont(14)), QStringLiteral("アルプス山脈"));
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

// The colours of the decorations laid over the map, in a table of at most 255
// (entry 0 is bare map): a colour new to it takes the next entry, and once the
// table is full, the nearest colour already in it.
class DecorationPalette {
public:
    explicit DecorationPalette(std::array<QRgb, 256>& colours) : colours_(colours), entryOf_(1 << 16, 0) {
        colours_.fill(0);
    }

    QRgb Colour(std::uint8_t entry) const { return colours_[entry]; }

    std::uint8_t EntryFor(QRgb c) {
        const int key = (qAlpha(c) >> 4) << 12 | (qRed(c) >> 4) << 8 | (qGreen(c) >> 4) << 4 | (qBlue(c) >> 4);
        std::uint8_t& entry = entryOf_[key];
        if (entry != 0) return entry;
        if (used_ < 256) {
            entry = static_cast<std::uint8_t>(used_);
            colours_[used_++] = c;
            return entry;
        }
        return entry = Nearest(c);
    }

private:
    std::uint8_t Nearest(QRgb c) const {
        int best = 1, bestDistance = INT_MAX;
        for (int i = 1; i < 256; ++i) {
            const QRgb d = colours_[i];
            const int distance = std::abs(qAlpha(d) - qAlpha(c)) + std::abs(qRed(d) - qRed(c)) +
                                 std::abs(qGreen(d) - qGreen(c)) + std::abs(qBlue(d) - qBlue(c));
            if (distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        return static_cast<std::uint8_t>(best);
    }

    std::array<QRgb, 256>& colours_;
    std::vector<std::uint8_t> entryOf_;
    int used_ = 1;
};

// Lays one colour over the decorations of a band (`colours`, an entry of the palette a
// pixel) where `band` covers them, by as much as it covers them, and wipes `band`.
void LayOver(QImage& band, int rows, QRgb colour, DecorationPalette& palette, quint8* colours) {
    const int width = band.width();
    for (int y = 0; y < rows; ++y) {
        QRgb* cover = reinterpret_cast<QRgb*>(band.scanLine(y));
        quint8* out = colours + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            // Most of a band is bare: skip it eight pixels at a time.
            while (x + 8 <= width && (cover[x] | cover[x + 1] | cover[x + 2] | cover[x + 3] | cover[x + 4] |
                                      cover[x + 5] | cover[x + 6] | cover[x + 7]) == 0)
                x += 8;
            if (x >= width || cover[x] == 0) continue;
            const uint alpha = qAlpha(colour) * qAlpha(cover[x]) / 255;
            cover[x] = 0;
            const QRgb over = qPremultiply(qRgba(qRed(colour), qGreen(colour), qBlue(colour), alpha));
            out[x] = palette.EntryFor(over + ByteMul(palette.Colour(out[x]), 255 - alpha));
        }
    }
}

}  // namespace

LandRuns LandRuns::Divide(const MapGeography& map, qreal ratio, std::array<QRect, kCityCount + 1>* bounds) {
    LandRuns runs;
    runs.width_ = qCeil(kMapPictureWidth * ratio);
    runs.height_ = qCeil(kMapPictureHeight * ratio);
    runs.rowStart_.reserve(runs.height_ + 1);
    runs.rowStart_.push_back(0);
    std::array<PixelBounds, kCityCount + 1> spans{};
    // A band of the land at a time, one byte a pixel, so that the whole picture is never held.
    const int bandHeight = BandHeight(ratio);
    QImage band(runs.width_, bandHeight, QImage::Format_Grayscale8);
    for (int top = 0; top < runs.height_; top += bandHeight) {
        const int rows = std::min(bandHeight, runs.height_ - top);
        band.fill(0);
        if (map.hasLand) {
            QPainter painter(&band);
            painter.translate(0, -top);
            painter.scale(ratio / kTwipsPerPixel, ratio / kTwipsPerPixel);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::white);
            painter.drawPath(map.land);
        }
        const auto found = DivideLand(
            map.sites, map.reach, {runs.width_, rows, kTwipsPerPixel / ratio, band.bits(), band.bytesPerLine(), top});
        for (int city = 1; city <= kCityCount; ++city)
            if (found[city].right >= found[city].left)
                spans[city].Add(found[city].left, found[city].top, found[city].right, found[city].bottom);
        for (int y = 0; y < rows; ++y) {
            const uchar* row = band.constScanLine(y);
            quint8 city = row[0];
            for (int x = 1; x < runs.width_; ++x) {
                // Runs are long: step over eight pixels of the same city at once.
                const quint64 same = city * 0x0101010101010101ULL;
                quint64 eight;
                while (x + 8 <= runs.width_ && (std::memcpy(&eight, row + x, 8), eight == same)) x += 8;
                if (x < runs.width_ && row[x] != city) {
                    runs.runs_.push_back({static_cast<quint16>(x), city});
                    city = row[x];
                }
            }
            runs.runs_.push_back({static_cast<quint16>(runs.width_), city});
            runs.rowStart_.push_back(static_cast<quint32>(runs.runs_.size()));
        }
    }
    runs.runs_.shrink_to_fit();
    if (bounds)
        for (int city = 1; city <= kCityCount; ++city) {
            const PixelBounds& b = spans[city];
            (*bounds)[city] = b.right < b.left
                                  ? QRect()
                                  : QRect(QPoint(qFloor(b.left / ratio), qFloor(b.top / ratio)),
                                          QPoint(qCeil((b.right + 1) / ratio) - 1, qCeil((b.bottom + 1) / ratio) - 1));
        }
    return runs;
}

const LandRuns::Run* LandRuns::FirstRunAt(int y, int x) const {
    const Run* begin = runs_.data() + rowStart_[y];
    const Run* end = runs_.data() + rowStart_[y + 1];
    return std::upper_bound(begin, end, x, [](int value, const Run& run) { return value < run.end; });
}

int LandRuns::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return FirstRunAt(y, x)->city;
}

bool LandRuns::operator==(const LandRuns& other) const {
    const auto same = [](const Run& a, const Run& b) { return a.end == b.end && a.city == b.city; };
    return width_ == other.width_ && height_ == other.height_ && rowStart_ == other.rowStart_ &&
           std::equal(runs_.begin(), runs_.end(), other.runs_.begin(), other.runs_.end(), same);
}

void LandRuns::Write(QDataStream& out) const {
    // Each row's number of runs, then every run's end and city, little-endian: read back
    // whole rather than a number at a time.
    out << qint32(width_) << qint32(height_) << quint32(runs_.size());
    std::vector<quint16> counts(rowStart_.size() - 1), ends(runs_.size());
    std::vector<quint8> cities(runs_.size());
    for (std::size_t y = 0; y < counts.size(); ++y)
        counts[y] = qToLittleEndian(quint16(rowStart_[y + 1] - rowStart_[y]));
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        ends[i] = qToLittleEndian(runs_[i].end);
        cities[i] = runs_[i].city;
    }
    out.writeRawData(reinterpret_cast<const char*>(counts.data()), int(counts.size() * sizeof(quint16)));
    out.writeRawData(reinterpret_cast<const char*>(ends.data()), int(ends.size() * sizeof(quint16)));
    out.writeRawData(reinterpret_cast<const char*>(cities.data()), int(cities.size()));
}

bool LandRuns::Read(QDataStream& in, int width, int height, LandRuns* runs) {
    qint32 w = 0, h = 0;
    quint32 count = 0;
    in >> w >> h >> count;
    // A run takes three bytes of the file and every row at least one run.
    if (in.status() != QDataStream::Ok || w != width || h != height || width > 65535 || count > kMapFileLimit / 3 ||
        count < quint32(height))
        return false;
    std::vector<quint16> counts(h), ends(count);
    std::vector<quint8> cities(count);
    const auto read = [&in](auto& values) {
        const int bytes = int(values.size() * sizeof(values[0]));
        return in.readRawData(reinterpret_cast<char*>(values.data()), bytes) == bytes;
    };
    if (!read(counts) || !read(ends) || !read(cities)) return false;
    LandRuns r;
    r.width_ = w;
    r.height_ = h;
    r.rowStart_.reserve(std::size_t(h) + 1);
    r.rowStart_.push_back(0);
    for (const quint16 n : counts) r.rowStart_.push_back(r.rowStart_.back() + qFromLittleEndian(n));
    r.runs_.resize(count);
    for (std::size_t i = 0; i < count; ++i) r.runs_[i] = {qFromLittleEndian(ends[i]), cities[i]};
    if (in.status() != QDataStream::Ok || r.rowStart_.front() != 0 || r.rowStart_.back() != count) return false;
    // Every row runs from its first pixel to its last, city after city.
    for (int y = 0; y < h; ++y) {
        const quint32 begin = r.rowStart_[y], end = r.rowStart_[y + 1];
        if (end <= begin || end > count) return false;
        int x = 0;
        for (quint32 i = begin; i < end; ++i) {
            if (r.runs_[i].end <= x || r.runs_[i].city > kCityCount) return false;
            x = r.runs_[i].end;
        }
        if (x != w) return false;
    }
    *runs = std::move(r);
    return true;
}

MapGeography MapGeography::Read(const QString& outlineFile, const QString& sitesFile, const QString& reachFile) {
    MapGeography m;
    QString error = "map/europe.map not found among the game's data";
    m.hasLand = !outlineFile.isEmpty() && LoadLandPath(outlineFile, &m.land, &error);
    if (!m.hasLand) {
        // The game is playable on plain sea; say why once, not on every start of a picture.
        static bool told = false;
        if (!std::exchange(told, true))
            std::fprintf(stderr, "tarvex: the map shows plain sea: %s\n", qPrintable(error));
    }
    m.sites = ReadSites(sitesFile);
    WorkOutGeography(&m, reachFile);
    std::vector<std::pair<int, int>> touching;
    for (const BorderPiece& b : m.borders) touching.push_back({b.a, b.b});
    m.nationColour = ColourNations(StartingNeighbourNations(touching));
    return m;
}

LandRuns MapGeography::Division(qreal ratio, bool* fromBuild) const {
    LandRuns runs;
    bool made = ratio == 1;
    if (made) {
        runs = divided;
    } else if (ratio == 2 && !sharpDivision.isEmpty()) {
        const QByteArray raw = Unpack(sharpDivision);
        QDataStream in(raw);
        made = LandRuns::Read(in, 2 * kMapPictureWidth, 2 * kMapPictureHeight, &runs) && in.atEnd();
    }
    if (fromBuild) *fromBuild = made && fromFile;
    return made ? runs : LandRuns::Divide(*this, ratio);
}

const MapGeography& MapGeography::Get() {
    static const MapGeography map =
        Read(FindDataFile("map/europe.map"), FindDataFile("map/cities.tsv"), FindDataFile("map/europe.reach"));
    return map;
}

bool WriteReachFile(const QString& outlineFile, const QString& sitesFile, const QString& reachFile, QString* error) {
    QPainterPath land;
    if (!LoadLandPath(outlineFile, &land, error)) return false;
    const MapGeography map = MapGeography::Read(outlineFile, sitesFile);
    const QByteArray bytes = EncodeMapFile(map, LandRuns::Divide(map, 2), MapKey(map.land, map.sites));
    QFile file(reachFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0) {
        *error = reachFile + ": " + file.errorString();
        return false;
    }
    return true;
}

QPointF PanelCentre(int city) {
    // The middle of the folded panel: the lines join the panels' heads.
    static const CitySites centres = PanelCentreSites();
    return QPointF(centres[city].x, centres[city].y) / kTwipsPerPixel;
}

QIcon NationSwatch(int nation) {
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(NationLandColour(nation));
    QPainter painter(&pixmap);
    painter.setPen(kBorder);
    painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    return QIcon(pixmap);
}

QColor NationLandColour(int nation) {
    if (nation < 1 || nation > kNationCount) return kNeutralLand;
    const Rgb c = kLandColours[MapGeography::Get().nationColour[nation]];
    return QColor(c.r, c.g, c.b);
}

TerritoryPicture::TerritoryPicture(qreal ratio) : ratio_(ratio) {
    const MapGeography& map = MapGeography::Get();
    if (ratio == 1) {
        land_ = &map.divided;
    } else {
        ownLand_ = map.Division(ratio);
        land_ = &ownLand_;
    }
    stripePeriod_ = std::max(2, qRound(8 * ratio));
    const int stripeWidth = std::max(1, qRound(3 * ratio));
    stripes_.resize(land_->Width() + stripePeriod_);
    for (std::size_t i = 0; i < stripes_.size(); ++i) stripes_[i] = static_cast<int>(i) % stripePeriod_ < stripeWidth;
    nation_.fill(-1);
    landColours_.fill(kMapSea.rgb());
    stripeColours_.fill(kMapSea.rgb());
    BuildDecorations();
}

qint64 TerritoryPicture::Bytes() const {
    qint64 bytes = ownLand_.Bytes() + qint64(rowDots_.capacity() * sizeof(quint32));
    for (const DotBand& band : dotBands_) bytes += qint64(band.x.capacity() * sizeof(quint16) + band.colour.capacity());
    return bytes;
}

void TerritoryPicture::BuildDecorations() {
    const MapGeography& map = MapGeography::Get();
    // Each colour is drawn as coverage, laid over what lies below and reduced to at
    // most 255 colours, a band at a time: no full-size picture is ever held.
    DecorationPalette palette(decorationColours_);

    // A band at a time; each layer is drawn into it, laid over what lies below
    // (its coverage is the band's alpha) and wiped as it is read.
    const Decorations decorations(map);
    bandRows_ = BandHeight(ratio_);
    const int width = land_->Width(), height = land_->Height();
    // Four bytes a pixel although only the alpha is read: Qt hands the drawing of other
    // formats to worker threads, a wait on each line when the other core is busy.
    QImage band(width, bandRows_, QImage::Format_ARGB32_Premultiplied);
    band.fill(0);
    std::vector<quint8> colours(static_cast<std::size_t>(width) * bandRows_);
    DotBand gathered;
    rowDots_.assign(1, 0);
    dotBands_.reserve((height + bandRows_ - 1) / bandRows_);
    for (int top = 0; top < height; top += bandRows_) {
        const int rows = std::min(bandRows_, height - top);
        std::fill(colours.begin(), colours.end(), 0);
        const QRectF inBand(0, top / ratio_, width / ratio_, bandRows_ / ratio_);
        for (int layer = 0; layer < Decorations::kLayers; ++layer) {
            {
                QPainter painter(&band);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.translate(0, -top);
                painter.scale(ratio_, ratio_);
                if (!decorations.Draw(painter, layer, inBand)) continue;
            }
            LayOver(band, rows, Decorations::Colour(layer).rgba(), palette, colours.data());
        }
        KeepDots(colours, rows, gathered);
    }
}

// Gathered in room reused from band to band (`gathered`), then kept at their own size.
void TerritoryPicture::KeepDots(const std::vector<quint8>& colours, int rows, DotBand& gathered) {
    gathered.x.clear();
    gathered.colour.clear();
    const int width = land_->Width();
    const quint32 first = rowDots_.back();
    for (int y = 0; y < rows; ++y) {
        const quint8* row = colours.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            // Most of a band is bare: skip it eight pixels at a time.
            quint64 eight = 0;
            while (x + 8 <= width && (std::memcpy(&eight, row + x, 8), eight == 0)) x += 8;
            if (x >= width || row[x] == 0) continue;
            gathered.x.push_back(static_cast<quint16>(x));
            gathered.colour.push_back(row[x]);
        }
        rowDots_.push_back(first + static_cast<quint32>(gathered.x.size()));
    }
    dotBands_.push_back({{gathered.x.begin(), gathered.x.end()}, {gathered.colour.begin(), gathered.colour.end()}});
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
        if (map.delegated[city] == delegated_[city]) continue;
        delegated_[city] = map.delegated[city];
        // The dashes run along the land's edge, a little either side of it.
        changed |= MapGeography::Get().cityBounds[city].adjusted(-4, -4, 4, 4);
    }
    for (int city = 1; city <= kCityCount; ++city) {
        if (!everywhere && map.nation[city] == nation_[city]) continue;
        nation_[city] = map.nation[city];
        landColours_[city] = ShownColour(city, false);
        stripeColours_[city] = ShownColour(city, true);
        // The city's land, and the borders around it, which may now run between two nations or none.
        changed |= MapGeography::Get().cityBounds[city].adjusted(-4, -4, 4, 4);
    }
    return everywhere ? QRect(0, 0, kMapPictureWidth, kMapPictureHeight) : changed;
}

void TerritoryPicture::Paint(QPainter& painter, const QRect& area) {
    const QRect device = QRect(QPoint(qFloor(area.left() * ratio_), qFloor(area.top() * ratio_)),
                               QPoint(qCeil((area.right() + 1) * ratio_) - 1, qCeil((area.bottom() + 1) * ratio_) - 1))
                             .intersected(QRect(0, 0, land_->Width(), land_->Height()));
    if (device.isEmpty()) return;
    // Composed a strip of rows at a time: a small picture reused, never one of the whole view.
    constexpr int kStrip = 64;
    if (scratch_.width() < device.width()) scratch_ = QImage(device.width(), kStrip, QImage::Format_RGB32);
    scratch_.setDevicePixelRatio(ratio_);
    const int x0 = device.left(), x1 = device.right() + 1;
    for (int top = device.top(); top <= device.bottom(); top += kStrip) {
        const int rows = std::min(kStrip, device.bottom() + 1 - top);
        for (int y = top; y < top + rows; ++y) {
            QRgb* out = reinterpret_cast<QRgb*>(scratch_.scanLine(y - top)) - x0;
            land_->ForRuns(y, x0, x1, [&](int from, int to, int city) {
                const QRgb colour = landColours_[city];
                if (city != 0 && playerNation_ > 0 && nation_[city] == playerNation_) {
                    const quint8* stripes = stripes_.data() + y % stripePeriod_;
                    const QRgb stripe = stripeColours_[city];
                    for (int x = from; x < to; ++x) out[x] = stripes[x] ? stripe : colour;
                } else {
                    std::fill(out + from, out + to, colour);
                }
            });
            const std::size_t b = static_cast<std::size_t>(y / bandRows_);
            const DotBand& dots = dotBands_[b];
            const quint32 first = rowDots_[b * bandRows_];
            const auto begin = dots.x.begin(), end = begin + (rowDots_[y + 1] - first);
            for (auto at = std::lower_bound(begin + (rowDots_[y] - first), end, x0); at != end && *at < x1; ++at) {
                const QRgb over = decorationColours_[dots.colour[at - begin]];
                out[*at] = (over + ByteMul(out[*at], 255 - qAlpha(over))) | 0xff000000;
            }
        }
        painter.drawImage(QPointF(x0 / ratio_, top / ratio_), scratch_, QRect(0, 0, device.width(), rows));
    }

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
    PaintDelegated(painter, inView);
    painter.restore();
}

void TerritoryPicture::PaintDelegated(QPainter& painter, const QRectF& inView) {
    if (std::none_of(delegated_.begin(), delegated_.end(), [](bool d) { return d; })) return;
    const MapGeography& map = MapGeography::Get();
    QPen dashes(kDelegatedMark, 2.2, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
    dashes.setDashPattern({2.5, 1.8});
    painter.setPen(dashes);
    painter.setBrush(Qt::NoBrush);
    // Inland: where a delegated city's land meets land that is not delegated.
    for (const BorderPiece& b : map.borders) {
        if (delegated_[b.a] == delegated_[b.b]) continue;
        const QPointF from = QPointF(b.from.x, b.from.y) / kTwipsPerPixel;
        const QPointF to = QPointF(b.to.x, b.to.y) / kTwipsPerPixel;
        if (inView.intersects(QRectF(from, to).normalized().adjusted(-1, -1, 1, 1))) painter.drawLine(from, to);
    }
    // Along the sea: the coast within each delegated city's share of the map.
    for (int city = 1; city <= kCityCount; ++city) {
        if (!delegated_[city]) continue;
        const QRectF bounds = QRectF(map.cityBounds[city]).adjusted(-2, -2, 2, 2);
        if (!inView.intersects(bounds)) continue;
        if (!std::exchange(coastShared_, true)) coastOf_ = CoastOfCities(map);
        for (const auto& [run, runBounds] : coastOf_[city])
            if (runBounds.intersects(inView)) painter.drawPolyline(run);
    }
}

int TerritoryPicture::CityAt(QPointF point) const {
    return land_->At(qFloor(point.x() * ratio_), qFloor(point.y() * ratio_));
}

QImage TerritoryPicture::Overview(QSize size) const {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int sy = static_cast<int>((y + 0.5) * land_->Height() / size.height());
        for (int x = 0; x < size.width(); ++x)
            out[x] = landColours_[land_->At(static_cast<int>((x + 0.5) * land_->Width() / size.width()), sy)];
    }
    return image;
}

}  // namespace tarvex::ui
