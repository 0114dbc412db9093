// The land outline of the map of Europe, read safely from the shipped asset.
#include "ui/map/map_picture.h"

#include <QFile>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cstdint>

namespace tarvex::ui {

namespace {

constexpr int kSurfaceWidth = 48000;  // twips
constexpr int kSurfaceHeight = 35000;

// The shipped outline is about 80 KB; anything far beyond is not ours.
constexpr qint64 kMaxFileBytes = 4 << 20;
// A point costs at least two digits and two separators, which bounds the
// counts a header may claim before anything is allocated for them.
constexpr qint64 kMinBytesPerPoint = 4;
// Coordinates stay near the surface; the asset's rings are clipped just outside it.
constexpr std::int64_t kCoordinateLimit = 1000000;

// Whole numbers separated by blanks, with the first failure kept.
class Tokens {
public:
    explicit Tokens(const QByteArray& text) : text_(text) {}

    bool Word(QByteArray* word) {
        SkipBlanks();
        const qsizetype start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_])) ++pos_;
        *word = text_.mid(start, pos_ - start);
        return !word->isEmpty();
    }

    // A whole number within ±limit, or false (end of text, not a number, out of range).
    bool Number(std::int64_t limit, std::int64_t* value) {
        SkipBlanks();
        if (pos_ >= text_.size()) return false;
        bool negative = false;
        if (text_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        std::int64_t v = 0;
        int digits = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            v = v * 10 + (text_[pos_] - '0');
            if (v > limit) return false;
            ++pos_;
            ++digits;
        }
        if (digits == 0 || (pos_ < text_.size() && !IsBlank(text_[pos_]))) return false;
        *value = negative ? -v : v;
        return true;
    }

    bool AtEnd() {
        SkipBlanks();
        return pos_ >= text_.size();
    }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    void SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    }

    const QByteArray& text_;
    qsizetype pos_ = 0;
};

bool Fail(QString* error, const QString& reason) {
    if (error) *error = reason;
    return false;
}

}  // namespace

bool LoadLandPath(const QString& path, QPainterPath* land, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Fail(error, path + ": " + file.errorString());
    // Read one byte past the limit so an oversized (or endless) file is refused unread. A plain
    // file is asked for its own size only: room for the limit, even untouched, would leave the
    // allocator keeping later pictures in the heap after they are freed.
    const qint64 wanted = file.isSequential() ? kMaxFileBytes + 1 : std::min(file.size(), kMaxFileBytes) + 1;
    const QByteArray text = file.read(wanted);
    if (text.size() > kMaxFileBytes) return Fail(error, path + ": too large for a map outline");
    Tokens tokens(text);

    QByteArray magic;
    if (!tokens.Word(&magic) || magic != "tarvex-land") return Fail(error, path + ": not a land outline");
    std::int64_t version = 0, width = 0, height = 0, ringCount = 0, pointCount = 0;
    if (!tokens.Number(1000, &version) || version != 1) return Fail(error, path + ": unknown outline version");
    if (!tokens.Number(kCoordinateLimit, &width) || !tokens.Number(kCoordinateLimit, &height) ||
        width != kSurfaceWidth || height != kSurfaceHeight)
        return Fail(error, path + ": drawn for another map size");
    const std::int64_t maxPoints = text.size() / kMinBytesPerPoint;
    if (!tokens.Number(maxPoints, &ringCount) || !tokens.Number(maxPoints, &pointCount) || ringCount < 1 ||
        pointCount < 3 * ringCount)
        return Fail(error, path + ": impossible ring or point count");

    QPainterPath outline;
    outline.setFillRule(Qt::OddEvenFill);
    std::int64_t pointsLeft = pointCount;
    for (std::int64_t ring = 0; ring < ringCount; ++ring) {
        const QString where = QString("%1: ring %2 of %3").arg(path).arg(ring + 1).arg(ringCount);
        std::int64_t n = 0;
        if (!tokens.Number(pointsLeft, &n) || n < 3) return Fail(error, where + ": bad or missing point count");
        pointsLeft -= n;
        QPolygonF polygon;
        polygon.reserve(n + 1);
        std::int64_t x = 0, y = 0;
        for (std::int64_t i = 0; i < n; ++i) {
            std::int64_t dx = 0, dy = 0;
            if (!tokens.Number(kCoordinateLimit, &dx) || !tokens.Number(kCoordinateLimit, &dy))
                return Fail(error, where + ": truncated or not a number");
            x += dx;
            y += dy;
            if (x < -kCoordinateLimit || x > kCoordinateLimit || y < -kCoordinateLimit || y > kCoordinateLimit)
                return Fail(error, where + ": point far off the map");
            polygon << QPointF(static_cast<double>(x), static_cast<double>(y));
        }
        outline.addPolygon(polygon);
        outline.closeSubpath();
    }
    if (pointsLeft != 0) return Fail(error, path + ": fewer points than the header says");
    if (!tokens.AtEnd()) return Fail(error, path + ": unexpected data after the last ring");
    *land = outline;
    return true;
}

}  // namespace tarvex::ui
