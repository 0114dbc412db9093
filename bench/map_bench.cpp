// What the map picture costs: rendering the land and sea, the decorated surface the
// map view keeps for the whole run, and the memory each image holds.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <chrono>

#include "ui/common.h"
#include "ui/map_picture.h"
#include "ui/map_view.h"

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

void BM_RenderMapBackground(benchmark::State& state) {
    qint64 bytes = 0;
    for (auto _ : state) {
        const QImage image = RenderMapBackground();
        bytes = image.sizeInBytes();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["image_MiB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_RenderMapBackground)->Unit(benchmark::kMillisecond);

// The map view renders its surface once per run (background, neighbour lines and the
// mountains' name); this times that first call, so it runs once whatever the repetitions.
void BM_MapViewSurfaceFirstUse(benchmark::State& state) {
    qint64 bytes = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const QImage& image = MapView::SurfaceImage();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        bytes = image.sizeInBytes();
    }
    state.counters["image_MiB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_MapViewSurfaceFirstUse)->UseManualTime()->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvex::ui

int main(int argc, char** argv) {
    // No window is opened: the offscreen platform suffices unless one is asked for.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The game sets its font before any window: the font database is ready by the time the map is drawn.
    QApplication::setFont(tarvex::ui::GameFont());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
