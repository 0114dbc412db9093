// The window benchmarks' main: a Qt application in the game's font around Google Benchmark.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "ui/qt/common.h"

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
