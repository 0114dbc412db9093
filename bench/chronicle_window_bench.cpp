// What the chronicle window costs with a long chronicle: opening it at a hundred
// thousand entries, and listing them anew when the player changes a filter.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <chrono>
#include <memory>

#include "rules/chronicle/chronicle.h"
#include "rules/port/random.h"
#include "screens/main/main_window.h"
#include "screens/session/session.h"
#include "screens/settings/settings.h"
#include "ui/chronicle/chronicle_window.h"
#include "ui/main/main_window.h"
#include "ui/qt/common.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {
namespace {

// England's game in a shown main window, its chronicle `entries` long: every kind,
// two nations an entry, texts as long as the game's.
struct LongChronicle {
    explicit LongChronicle(int entries) : random(7), game(screen, random) {
        screen.autoAnswer = [](const Question&) { return Answer::Ok; };
        screen.holdWait = [](double) {};
        screen.onEnd = [] {};
        SetDefaultSettings(game);
        OpenSettingsScreen(game);
        TypeNationName(game, "イングランド王国");
        AcceptSettings(game);
        window = std::make_unique<MainWindow>(game, screen);
        screen.SetOwner(window.get());
        window->show();
        window->Run(StartGame);
        for (int i = 0; i < entries; ++i) {
            const int season = i / 40;
            game.Year = 1 + season / 4;
            game.Season = 1 + season % 4;
            RecordEntry(game, static_cast<EntryKind>(i % kEntryKindCount),
                        "ロンドン（イングランド王国）がルーアン（フランス王国）を攻め、勝ちました " + std::to_string(i),
                        {1 + i % kCityCount}, {1 + i % kNationCount, 1 + (i * 7) % kNationCount});
        }
        QApplication::processEvents();
    }
    QtScreen screen;
    MersenneRandom random;
    Session game;
    std::unique_ptr<MainWindow> window;
};

// From the menu to a window drawn on the screen, the newest entry in view.
void BM_ChronicleWindowOpen(benchmark::State& state) {
    LongChronicle t(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        t.window->ShowChronicle();
        auto* w = t.window->findChild<ChronicleWindow*>();
        w->repaint();
        QApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        delete w;
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ChronicleWindowOpen)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Another nation chosen, then a kind unticked: the list made anew and drawn.
void BM_ChronicleWindowFilter(benchmark::State& state) {
    LongChronicle t(static_cast<int>(state.range(0)));
    t.window->ShowChronicle();
    auto* w = t.window->findChild<ChronicleWindow*>();
    auto* nation = w->findChild<QComboBox*>("NationFilter");
    auto* battles = w->findChild<QCheckBox*>("KindFilter5");
    QApplication::processEvents();
    int step = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (++step % 2)
            nation->setCurrentIndex(step % 3 == 0 ? 0 : 1 + step % kNationCount);
        else
            battles->setChecked(!battles->isChecked());
        w->repaint();
        QApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_ChronicleWindowFilter)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvex::ui
