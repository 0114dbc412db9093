// The main window's start, what it remembers between runs, the small map keeping
// clear of the city panels, and the keys that pause a game that plays itself.
#include <QScrollBar>
#include <QTimer>

#include "main_game.h"
#include "ui/map/map_view.h"
#include "ui/map/overview_map.h"
#include "ui/qt/preferences.h"

namespace tarvex::ui {
namespace {

TEST(WatchWindow, TheFirstStartTakesFourFifthsOfTheScreenCentredNeverBelowTheLayout) {
    const std::pair<QRect, QSize> cases[] = {{QRect(0, 0, 1600, 1200), QSize(1280, 960)},
                                             {QRect(0, 0, 1000, 500), QSize(1000, 500)},
                                             {QRect(1920, 30, 1920, 1050), QSize(1536, 840)},
                                             {QRect(0, 0, 1100, 700), QSize(1000, 560)}};
    for (const auto& [screen, size] : cases) {
        const QRect place = StartGeometry(screen, QSize(1000, 500));
        EXPECT_EQ(place.size(), size) << screen.width();
        EXPECT_LE((place.center() - screen.center()).manhattanLength(), 1) << screen.width();
    }
}

TEST(WatchWindow, AHelpPanelClosedStaysClosedInTheNextRunUntilItsEntryShowsIt) {
    MainGame("イングランド王国").Click("NationHelpClose");  // the nation help panel's "閉じる"
    MainGame next("イングランド王国", false);
    EXPECT_FALSE(next.Find("NationHelpPanel")->isVisible());
    EXPECT_TRUE(next.Find("CityHelpPanel")->isVisible());
    next.Trigger("NationHelpEntry");
    EXPECT_TRUE(MainGame("イングランド王国", false).Find("NationHelpPanel")->isVisible());
}

TEST(WatchWindow, TheSmallMapNeverLiesOverACityPanel) {
    for (const QSize size : {QSize(1000, 520), QSize(1600, 1000)}) {
        MainGame t;
        t.window->resize(size);
        const OverviewMap* small = t.window->Map()->Overview();
        int shown = 0, places = 0;
        for (const char* entry : {"CloseAllEntry", "OpenAllEntry"}) {
            t.Trigger(entry);
            for (int h = 0; h <= 32300; h += 2300)
                for (int v = 0; v <= 32300; v += 2900, ++places) {
                    t.Find<QScrollBar>("HorizontalBar")->setValue(h);
                    t.Find<QScrollBar>("VerticalBar")->setValue(v);
                    if (!small->isVisible()) continue;
                    ++shown;
                    for (int city = 1; city <= kCityCount; ++city) {
                        const QWidget* panel = t.Find(QString("CityPanel%1").arg(city));
                        const QRect onView(panel->mapTo(t.window->Map(), QPoint(0, 0)), panel->size());
                        EXPECT_FALSE(onView.intersects(small->geometry())) << city << " at " << h << "," << v;
                    }
                }
        }
        // It steps aside only where no place is free: mostly it stands.
        EXPECT_GT(shown, places * 3 / 4) << size.width();
    }
}

TEST(WatchWindow, SpaceAndPausePauseTheAutomaticStepsAndSaySo) {
    MainGame t("");
    t.Trigger("AutoPlayEntry");
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Pause}) {
        QTest::keyClick(t.window.get(), key);
        EXPECT_TRUE(t.window->windowTitle().endsWith("（一時停止中）") && t.Find("PauseLabel")->isVisible()) << key;
        EXPECT_FALSE(t.Find<QTimer>("StepTimer")->isActive());
        QTest::keyClick(t.window.get(), key);
        EXPECT_TRUE(t.Find<QTimer>("StepTimer")->isActive());
    }
}

}  // namespace
}  // namespace tarvex::ui
