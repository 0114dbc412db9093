// What the map picture costs: rendering the land and sea, the coloured map the
// view keeps for the whole run and the memory it holds, repainting and scrolling.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <chrono>
#include <cstdint>

#include "ui/map/map_picture.h"
#include "ui/map/territory_picture.h"
#include "ui/qt/common.h"

namespace tarvex::ui {
namespace {

void BM_LoadLandOutline(benchmark::State& state) {
    const QString file = FindDataFile("map/europe.map");
    if (file.isEmpty()) {
        state.SkipWithError("map/europe.map not found");
        return;
    }
    for (auto _ : state) {
        QPainterPath land;
        QString error;
        benchmark::DoNotOptimize(LoadLandPath(file, &land, &error));
    }
}
BENCHMARK(BM_LoadLandOutline)->Unit(benchmark::kMillisecond);

// A game for the war map: the starting world, England the player's.
WarMapShown StartingWar(int conquered) {
    WarMapShown war;
    for (int city = 1; city <= kCityCount; ++city) war.nation[city] = 1 + city % kNationCount;
    war.nation[1] = conquered;
    war.playerNation = 1;
    return war;
}

// A checksum of the whole surface as painted, a strip at a time: the same number
// before and after a change that must not change the picture.
double PaintedChecksum(TerritoryPicture& picture) {
    const qreal ratio = picture.Ratio();
    picture.SetOwners(StartingWar(1));
    const int width = 48000 / 15, height = 35000 / 15, strip = 256;
    QImage target(QSize(width, strip) * ratio, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(ratio);
    std::uint64_t hash = 1469598103934665603ull;
    for (int top = 0; top < height; top += strip) {
        target.fill(Qt::black);
        QPainter painter(&target);
        painter.translate(0, -top);
        picture.Paint(painter, QRect(0, top, width, strip));
        painter.end();
        for (int y = 0; y < target.height(); ++y) {
            const uchar* line = target.constScanLine(y);
            for (qsizetype i = 0; i < target.bytesPerLine(); ++i) hash = (hash ^ line[i]) * 1099511628211ull;
        }
    }
    return static_cast<double>(hash >> 12);  // what a double holds exactly
}

// The coloured map a view builds once per run and screen density: the land divided
// among the cities, the colour tables and the decorations. Timed on its first build,
// which also works out the borders and the nations' colours (MapGeography, once a run).
void BM_TerritoryPictureFirstBuild(benchmark::State& state) {
    const qreal ratio = state.range(0);
    qint64 bytes = 0;
    double checksum = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        TerritoryPicture picture(ratio);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        bytes = picture.Bytes();
        checksum = PaintedChecksum(picture);
    }
    state.counters["image_MiB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
    state.counters["painted"] =
        benchmark::Counter(checksum, benchmark::Counter::kDefaults, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_TerritoryPictureFirstBuild)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(1)
    ->Unit(benchmark::kMillisecond);

// The division of the land among the cities, as the map does it at start-up: the land
// drawn a band at a time, each land pixel given to its nearest city, kept as runs.
void BM_DivideLand(benchmark::State& state) {
    const qreal ratio = state.range(0);
    const MapGeography& map = MapGeography::Get();
    qint64 bytes = 0;
    for (auto _ : state) {
        const LandRuns runs = LandRuns::Divide(map, ratio);
        bytes = runs.Bytes();
    }
    state.counters["runs_KiB"] = static_cast<double>(bytes) / 1024.0;
}
BENCHMARK(BM_DivideLand)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Repainting after a conquest: the colour table changes and the view repaints what
// changed, the conquered city's land and its borders (London's, as in view at the
// start), or the whole view (1000 x 500 logical pixels) when the window is exposed.
void BM_RepaintAfterConquest(benchmark::State& state) {
    const qreal ratio = state.range(0);
    const bool wholeView = state.range(1) != 0;
    TerritoryPicture picture(ratio);
    QImage target(QSize(1000, 500) * ratio, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(ratio);
    const QRect view(600, 400, 1000, 500);
    picture.SetOwners(StartingWar(1));
    int turn = 0;
    for (auto _ : state) {
        const QRect changed = picture.SetOwners(StartingWar(1 + (++turn % 2)));
        QPainter painter(&target);
        painter.translate(-view.topLeft());
        picture.Paint(painter, wholeView ? view : changed.intersected(view));
    }
}
BENCHMARK(BM_RepaintAfterConquest)->ArgsProduct({{1, 2}, {0, 1}})->Unit(benchmark::kMillisecond);

// One scroll step: the bars' small change is a twentieth of the view, and Qt repaints
// the strip that comes into view (here the whole width, 25 pixels high).
void BM_ScrollStep(benchmark::State& state) {
    const qreal ratio = state.range(0);
    TerritoryPicture picture(ratio);
    picture.SetOwners(StartingWar(1));
    QImage target(QSize(1000, 500) * ratio, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(ratio);
    int step = 0;
    for (auto _ : state) {
        const QRect strip(600, 400 + 25 * (++step % 40), 1000, 25);
        QPainter painter(&target);
        painter.translate(-600, -400);
        picture.Paint(painter, strip);
    }
}
BENCHMARK(BM_ScrollStep)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvex::ui
