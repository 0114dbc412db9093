// The main window's start, what it remembers between runs, the small map keeping
// clear of the city panels, and pausing a game that plays itself.
#include <QMenu>
#include <QScrollBar>
#include <QTimer>

#include "main_game.h"
#include "ui/map_view.h"
#include "ui/overview_map.h"
#include "ui/preferences.h"

namespace tarvex::ui {
namespace {

TEST(WatchWindow, TheFirstStartTakesFourFifthsOfTheScreenCentredNeverBelowTheLayout) {
    const QSize layout(1000, 500);
    const struct {
        QRect screen;
        QSize size;
    } cases[] = {
        {QRect(0, 0, 1600, 1200), QSize(1280, 960)},
        {QRect(0, 0, 1000, 500), QSize(1000, 500)},
        {QRect(1920, 30, 1920, 1050), QSize(1536, 840)},
        {QRect(0, 0, 1100, 700), QSize(1000, 560)},
    };
    for (const auto& c : cases) {
        const QRect place = StartGeometry(c.screen, layout);
        EXPECT_EQ(place.size(), c.size) << c.screen.width();
        EXPECT_LE((place.center() - c.screen.center()).manhattanLength(), 1) << c.screen.width();
        EXPECT_TRUE(c.screen.contains(place)) << c.screen.width();
    }
}

TEST(WatchWindow, PlaceHelpPanelsAndWatchingAreRememberedForTheNextRun) {
    QRect place;
    {
        MainGame first;
        first.window->setGeometry(first.window->geometry().translated(7, 5));
        place = first.window->geometry();
        SaveWindowGeometry(first.window->saveGeometry());
        first.Click("Command3");  // the nation help panel's "閉じる"
        first.Trigger("FollowEntry");
        first.Trigger("AutoPlayEntry");
    }
    MainGame next("イングランド王国", false);
    EXPECT_EQ(next.window->geometry(), place);
    EXPECT_FALSE(next.Find("Picture2")->isVisible());
    EXPECT_TRUE(next.Find("PicPic")->isVisible());
    EXPECT_FALSE(next.game.shown.main.followWar);
    EXPECT_TRUE(next.Find<QAction>("AutoPlayEntry")->isChecked());
    // Its menu entry brings it back, for later runs too.
    next.Trigger("NationHelpEntry");
    MainGame third("イングランド王国", false);
    EXPECT_TRUE(third.Find("Picture2")->isVisible());
}

TEST(WatchWindow, TheSmallMapNeverLiesOverACityPanel) {
    for (const QSize size : {QSize(1000, 520), QSize(1600, 1000)}) {
        MainGame t;
        t.window->resize(size);
        MapView* map = t.window->Map();
        auto* horizontal = t.Find<QScrollBar>("HorizontalBar");
        auto* vertical = t.Find<QScrollBar>("VerticalBar");
        int shown = 0;
        for (const char* entry : {"CloseAllEntry", "OpenAllEntry"}) {
            t.Trigger(entry);
            for (int h = 0; h <= 32300; h += 2300)
                for (int v = 0; v <= 32300; v += 2900) {
                    horizontal->setValue(h);
                    vertical->setValue(v);
                    const OverviewMap* small = map->Overview();
                    if (!small->isVisible()) continue;
                    ++shown;
                    for (int city = 1; city <= kCityCount; ++city) {
                        const QWidget* panel = t.Find(QString("pic_%1").arg(city));
                        const QRect onView(panel->mapTo(map, QPoint(0, 0)), panel->size());
                        EXPECT_FALSE(onView.intersects(small->geometry())) << city << " at " << h << "," << v;
                    }
                }
        }
        // It steps aside only where no place is free: mostly it stands.
        EXPECT_GT(shown, 2 * 15 * 12 * 3 / 4) << size.width();
    }
}

TEST(WatchWindow, SpaceAndPausePauseTheAutomaticStepsAndTheTitleSaysSo) {
    MainGame t("");
    t.Trigger("AutoPlayEntry");
    EXPECT_TRUE(t.Find<QTimer>("StepTimer")->isActive());
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Pause}) {
        QTest::keyClick(t.window.get(), key);
        EXPECT_TRUE(t.window->windowTitle().endsWith("（一時停止中）")) << key;
        EXPECT_TRUE(t.Find("PauseLabel")->isVisible());
        EXPECT_FALSE(t.Find<QTimer>("StepTimer")->isActive());
        QTest::keyClick(t.window.get(), key);
        EXPECT_FALSE(t.window->windowTitle().contains("一時停止中")) << key;
    }
    // The message speed changes during the game, for the next message.
    t.Trigger("SpeedEntry1");
    EXPECT_DOUBLE_EQ(t.game.MessageWait, 0.1);
    EXPECT_EQ(t.game.MessageSpeed, 0);
}

}  // namespace
}  // namespace tarvex::ui
