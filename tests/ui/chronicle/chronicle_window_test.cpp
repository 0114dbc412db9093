// The chronicle window and the war charts: what they list and draw, their
// filters, following the game as it plays, and the chart at the game's end.
#include "ui/chronicle/chronicle_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QAreaSeries>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <deque>
#include <memory>
#include <random>

#include "main_game.h"
#include "qt_test_support.h"
#include "rules/chronicle/chronicle.h"
#include "rules/port/random.h"
#include "rules/turn/cycle.h"
#include "screens/main/main_window.h"
#include "screens/settings/settings.h"
#include "ui/chronicle/replay_bar.h"
#include "ui/chronicle/share_chart.h"
#include "ui/chronicle/war_chart.h"
#include "ui/main/main_window.h"
#include "ui/map/map_picture.h"
#include "ui/map/map_view.h"
#include "ui/map/territory_picture.h"

namespace tarvex::ui {
namespace {

// England's game in a shown main window, its chronicle written by hand:
// nations 1 (the player), 2 and 3 and their cities' counts season by season.
struct ChronicleGame : MainGame {
    ChronicleGame() {
        player = NationIndex(game, game.PlayerNation);
        other = player == 2 ? 3 : 2;
        game.chronicle.entries = {
            {1, 1, EntryKind::Conquest, "占領A", {5}, {player, other}},
            {1, 2, EntryKind::History, "歴史B", {}, {other}},
            {2, 3, EntryKind::Event, "事件C", {40, 41}, {other}},
            {3, 4, EntryKind::Fall, "滅亡D", {60}, {player}},
        };
        game.chronicle.seasons.clear();
        for (int s = 0; s < 8; ++s) AddSeason(s);
    }

    // Season s from 1年目の春: every nation n holds n % 4 cities, nation 10 more and more.
    void AddSeason(int s) {
        SeasonRecord row{.year = 1 + s / 4, .season = 1 + s % 4};
        for (int n = 1; n <= kNationCount; ++n) {
            row.cities[n] = static_cast<std::int16_t>(n % 4);
            row.troops[n] = 100 * n;
        }
        row.cities[10] = static_cast<std::int16_t>(s);
        game.chronicle.seasons.push_back(row);
    }

    ChronicleWindow* Open() {
        window->findChild<QAction*>("ChronicleEntry")->trigger();
        return window->findChild<ChronicleWindow*>();
    }

    QStringList Shown(ChronicleWindow* w, int column = 2) {
        QStringList rows;
        const QAbstractItemModel* model = w->findChild<QTreeView*>("EntryList")->model();
        for (int i = 0; i < model->rowCount(); ++i) rows << model->index(i, column).data().toString();
        return rows;
    }

    int player = 0, other = 0;
};

// The nations on a chart, in the legend's order.
std::vector<int> ChartNations(WarChart* chart) {
    std::vector<int> nations;
    for (QAbstractSeries* s : chart->Chart()->series()) nations.push_back(s->property("nation").toInt());
    return nations;
}

TEST(ChronicleWindow, ListsEntriesInOrderFiltersThemAndAChosenOneMovesTheMapToItsCity) {
    ChronicleGame t;
    ChronicleWindow* w = t.Open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    ExpectTextsFit(w);
    auto* nation = w->findChild<QComboBox*>("NationFilter");
    // The player's own nation at first.
    EXPECT_EQ(nation->currentData().toInt(), t.player);
    EXPECT_EQ(t.Shown(w), QStringList({"占領A", "滅亡D"}));
    EXPECT_EQ(t.Shown(w, 0), QStringList({"1年目の春", "3年目の冬"}));
    EXPECT_EQ(t.Shown(w, 1), QStringList({"占領", "滅亡"}));

    const struct {
        int nation;
        int kindOff;  // a kind box left unticked, -1 for none
        QStringList rows;
    } cases[] = {
        {0, -1, {"占領A", "歴史B", "事件C", "滅亡D"}},
        {t.other, -1, {"占領A", "歴史B", "事件C"}},
        {t.other, static_cast<int>(EntryKind::History), {"占領A", "事件C"}},
        {0, static_cast<int>(EntryKind::Conquest), {"歴史B", "事件C", "滅亡D"}},
        {20, -1, {}},
    };
    for (const auto& c : cases) {
        nation->setCurrentIndex(nation->findData(c.nation));
        for (int k = 0; k < kEntryKindCount; ++k)
            w->findChild<QCheckBox*>(QString("KindFilter%1").arg(k))->setChecked(k != c.kindOff);
        EXPECT_EQ(t.Shown(w), c.rows) << c.nation << " " << c.kindOff;
    }

    // An entry's first city comes into view; one without a city leaves the map where it is.
    nation->setCurrentIndex(nation->findData(0));
    auto* list = w->findChild<QTreeView*>("EntryList");
    for (int row : {0, 2, 1}) {
        const std::vector<int>& cities = t.game.chronicle.entries[row].cities;
        Session expected = t.game;
        if (!cities.empty()) FocusCity(expected, cities.front());
        emit list->clicked(list->model()->index(row, 2));
        EXPECT_EQ(t.game.shown.main.hScroll, expected.shown.main.hScroll) << row;
        EXPECT_EQ(t.game.shown.main.vScroll, expected.shown.main.vScroll) << row;
        EXPECT_EQ(t.window->findChild<QScrollBar*>("HorizontalBar")->value(), -expected.shown.main.hScroll) << row;
    }
    EXPECT_NE(t.game.shown.main.hScroll, 0);

    // An entry asked for by its place (the status bar's) is chosen even where the filters hid it.
    w->findChild<QCheckBox*>("KindFilter" + QString::number(static_cast<int>(EntryKind::Event)))->setChecked(false);
    nation->setCurrentIndex(nation->findData(t.player));
    w->ShowEntry(2);
    EXPECT_EQ(list->currentIndex().data(Qt::UserRole).toInt(), 2);
    EXPECT_EQ(list->currentIndex().siblingAtColumn(2).data().toString(), "事件C");
    EXPECT_EQ(w->findChild<QLabel*>("EntryCount")->text(), "4件を表示（全4件）");

    // Opening again brings the same window forward: one at a time.
    t.Open();
    EXPECT_EQ(t.window->findChildren<ChronicleWindow*>().size(), 1);
}

TEST(ChronicleWindow, FollowsTheGameKeepingTheFilterAndTheReadersPlace) {
    ChronicleGame t;
    for (int i = 0; i < 200; ++i)
        t.game.chronicle.entries.push_back({4, 1, EntryKind::Battle, "戦闘" + std::to_string(i), {}, {t.player}});
    ChronicleWindow* w = t.Open();
    auto* list = w->findChild<QTreeView*>("EntryList");
    QScrollBar* bar = list->verticalScrollBar();
    QApplication::processEvents();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());  // opens at the newest

    // Read further up, an entry of another nation and one of the player's come; the map moves on.
    bar->setValue(10);
    RecordEntry(t.game, EntryKind::Conquest, "新しい占領", {3}, {t.other});
    RecordEntry(t.game, EntryKind::Battle, "新しい戦闘", {3}, {t.player});
    t.AddSeason(8);
    t.window->Run([](Session&) {});
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), 10);
    EXPECT_EQ(t.Shown(w).size(), 2 + 200 + 1);
    EXPECT_EQ(t.Shown(w).back(), "新しい戦闘");
    EXPECT_EQ(t.Shown(w, 0).back().toStdString(), SeasonCaption(t.game));
    EXPECT_EQ(w->CitiesChart()->SeriesOf(10)->count(), 9);

    // At the newest, the newest stays in view.
    bar->setValue(bar->maximum());
    RecordEntry(t.game, EntryKind::Battle, "最後の戦闘", {}, {t.player});
    t.window->Run([](Session&) {});
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), bar->maximum());

    // Another chronicle in its place (a load) is listed anew.
    t.window->Run([](Session& g) { RestartChronicle(g); });
    EXPECT_TRUE(t.Shown(w).isEmpty());
    EXPECT_EQ(w->CitiesChart()->SeriesOf(t.player)->count(), 1);
}

TEST(WarChart, ShowsTheLeadersAndThePlayerInTheirColoursAndTakesNationsOnAndOff) {
    ChronicleGame t;
    ChronicleWindow* w = t.Open();
    WarChart* chart = w->CitiesChart();
    // Nation 10 peaks at 7 cities; then the nations holding 3 (3, 7, 11, 15); the player first.
    std::vector<int> expected{t.player, 10, 3, 7, 11, 15};
    if (t.player == 3) expected = {3, 10, 7, 11, 15, 19};
    EXPECT_EQ(ChartNations(chart), expected);
    for (int n : expected) {
        QLineSeries* series = chart->SeriesOf(n);
        ASSERT_NE(series, nullptr) << n;
        EXPECT_EQ(series->pen().color(), NationLandColour(n)) << n;
        EXPECT_EQ(series->count(), 8) << n;
        if (n != t.player) {
            EXPECT_GT(chart->SeriesOf(t.player)->pen().widthF(), series->pen().widthF()) << n;
        }
    }
    EXPECT_TRUE(chart->SeriesOf(t.player)->name().startsWith("★"));
    EXPECT_EQ(chart->SeriesOf(10)->at(7), QPointF(2.75, 7));

    // The list beside the chart takes a nation on and off.
    auto* nations = chart->findChild<QListWidget*>("ChartNations");
    QListWidgetItem* item = nations->item(20 - 1);
    ASSERT_EQ(item->data(Qt::UserRole).toInt(), 20);
    item->setCheckState(Qt::Checked);
    ASSERT_NE(chart->SeriesOf(20), nullptr);
    EXPECT_EQ(chart->Chart()->series().size(), 7);
    EXPECT_EQ(ChartNations(chart).front(), t.player);
    item->setCheckState(Qt::Unchecked);
    EXPECT_EQ(chart->SeriesOf(20), nullptr);
    // His choice stands as the seasons go on.
    t.AddSeason(8);
    t.game.chronicle.seasons.back().cities[20] = 50;
    t.window->Run([](Session&) {});
    EXPECT_EQ(chart->SeriesOf(20), nullptr);

    // The troops chart leads with the largest armies.
    EXPECT_EQ(ChartNations(w->TroopsChart()).size(), 6u);
    EXPECT_NE(w->TroopsChart()->SeriesOf(34), nullptr);

    QTemporaryDir dir;
    EXPECT_TRUE(chart->SaveImage(dir.filePath("都市数.png")));
    EXPECT_FALSE(QImage(dir.filePath("都市数.png")).isNull());
    EXPECT_FALSE(chart->SaveImage(dir.filePath("no-such-folder/都市数.png")));
}

TEST(WarChart, AllNationsReadApartAndTheSharesStackToEveryCity) {
    ChronicleGame t;
    // A long war: the 75 cities shared out anew every season, a few nations left out.
    t.game.chronicle.seasons.clear();
    std::mt19937 draw(7);
    for (int s = 0; s < 40; ++s) {
        SeasonRecord row{.year = 1 + s / 4, .season = 1 + s % 4};
        // One season the second nation holds ten cities: its band is wide enough for its name.
        for (int city = 1; city <= kCityCount; ++city)
            ++row.cities[s == 20 && city <= 10 ? 2 : 1 + draw() % (kNationCount - 3)];
        t.game.chronicle.seasons.push_back(row);
    }
    ChronicleWindow* w = t.Open();
    auto* tabs = w->findChild<QTabWidget*>();
    EXPECT_EQ(tabs->tabText(tabs->count() - 1), "勢力図");
    ShareChart* shares = w->SharesChart();
    EXPECT_TRUE(shares->BandNames().contains(QString::fromStdString(t.game.Nations[2].Name)));
    for (const QString& name : shares->BandNames()) {
        int widest = 0;
        for (const SeasonRecord& row : t.game.chronicle.seasons)
            widest = std::max<int>(widest, row.cities[NationIndex(t.game, name.toStdString())]);
        EXPECT_GE(widest, 6) << name.toStdString();
    }
    // Band on band in the nations' order, each in its map colour, up to 75 at every season.
    QAreaSeries* below = nullptr;
    for (int n = 1; n <= kNationCount; ++n) {
        QAreaSeries* band = shares->BandOf(n);
        ASSERT_EQ(band == nullptr, n > kNationCount - 3) << n;
        if (!band) continue;
        EXPECT_EQ(band->brush().color(), NationLandColour(n));
        if (n != t.player) {
            EXPECT_GT(shares->BandOf(t.player)->pen().widthF(), band->pen().widthF());
        }
        ASSERT_EQ(band->upperSeries()->count(), 40);
        for (int s = 0; s < 40; ++s)
            EXPECT_EQ(band->lowerSeries()->at(s).y(), below ? below->upperSeries()->at(s).y() : 0.0) << n << " " << s;
        below = band;
    }
    for (int s = 0; s < 40; ++s) EXPECT_EQ(below->upperSeries()->at(s).y(), kCityCount) << s;

    // All nations at once, none at all; nations of one colour drawn apart.
    WarChart* chart = w->CitiesChart();
    chart->findChild<QPushButton*>("AllNationsButton")->click();
    EXPECT_EQ(chart->Chart()->series().size(), kNationCount);
    EXPECT_FALSE(chart->Chart()->legend()->isVisible());  // the list beside it scrolls instead
    for (int p = 1; p <= kNationCount; ++p)
        for (int q = p + 1; q <= kNationCount; ++q) {
            const QPen a = chart->SeriesOf(p)->pen(), b = chart->SeriesOf(q)->pen();
            EXPECT_FALSE(a.color() == b.color() && a.dashPattern() == b.dashPattern() && a.widthF() == b.widthF())
                << p << " and " << q << " look alike";
        }
    chart->findChild<QPushButton*>("NoNationsButton")->click();
    EXPECT_TRUE(chart->Chart()->series().isEmpty());
    const auto* list = chart->findChild<QListWidget*>("ChartNations");
    for (int row = 0; row < list->count(); ++row) EXPECT_EQ(list->item(row)->checkState(), Qt::Unchecked);
}

TEST(ReplayBar, RecoloursTheMapToAPastSeasonPlaysTheWarInTwentySecondsAndReturnsToThePresent) {
    ChronicleGame t;
    // 400 seasons whose owners the chronicle kept, the first of them without (an older file's).
    t.game.chronicle.seasons.clear();
    for (int s = 0; s < 401; ++s) {
        SeasonRecord row{.year = 1 + s / 4, .season = 1 + s % 4};
        for (int c = 1; c <= kCityCount && s > 0; ++c) {
            row.owners[c] = static_cast<std::uint8_t>(1 + (c + s) % 5);
            ++row.cities[row.owners[c]];
        }
        t.game.chronicle.seasons.push_back(row);
    }
    ChronicleWindow* w = t.Open();
    ReplayBar* replay = w->Replay();
    MapView* map = t.window->Map();
    EXPECT_EQ(replay->Shown(), 400);  // the present
    EXPECT_FALSE(map->ShowsPast());
    EXPECT_FALSE(replay->ShowSeason(1, 1));  // kept no owners
    ASSERT_TRUE(replay->ShowSeason(12, 3));
    EXPECT_EQ(replay->Shown(), 11 * 4 + 2);
    EXPECT_TRUE(map->ShowsPast());
    EXPECT_EQ(w->findChild<QLabel*>("ReplaySeason")->text(),
              "12年目の" + QString::fromStdString(t.game.SeasonNames[3]));
    // Choosing an entry moves the slider to its season.
    w->findChild<QComboBox*>("NationFilter")->setCurrentIndex(0);  // every nation's entries
    auto* list = w->findChild<QTreeView*>("EntryList");
    emit list->activated(list->model()->index(2, 0));
    EXPECT_EQ(replay->Shown(), 1 * 4 + 2);  // 2年目の秋

    // Playing from the present runs the whole war from its start in about twenty seconds.
    auto* timer = replay->findChild<QTimer*>();
    ASSERT_TRUE(replay->ShowSeason(101, 1));
    EXPECT_FALSE(map->ShowsPast());
    replay->Play(true);
    EXPECT_EQ(replay->Shown(), 1);
    int ticks = 0;
    while (replay->Playing() && ticks < 10000) replay->Step(), ++ticks;
    EXPECT_NEAR(ticks * timer->interval(), ReplayBar::kWholeWarMs, ReplayBar::kWholeWarMs / 10);
    EXPECT_FALSE(map->ShowsPast());

    // Closing the window returns the map to the present.
    replay->ShowSeason(50, 1);
    EXPECT_TRUE(map->ShowsPast());
    w->close();
    delete w;
    EXPECT_FALSE(map->ShowsPast());
}

// Through the real main window with its timers running (a game that plays itself
// syncs every few milliseconds): "再生" moves the slider on, and the city panels name
// the owners of the season the land shows.
TEST(ReplayBar, PlaysThroughTheRunningTimersAndThePanelsNameThatSeasonsOwners) {
    MainGame t("*");
    t.game.chronicle.seasons.clear();
    for (int s = 0; s < 60; ++s) {
        SeasonRecord row{.year = 1 + s / 4, .season = 1 + s % 4};
        for (int c = 1; c <= kCityCount; ++c) {
            row.owners[c] = static_cast<std::uint8_t>(1 + (c + s) % 7);
            ++row.cities[row.owners[c]];
        }
        t.game.chronicle.seasons.push_back(row);
    }
    t.Trigger("AutoPlayEntry");
    ASSERT_TRUE(t.Find<QTimer>("StepTimer")->isActive());
    t.Trigger("ChronicleEntry");
    auto* w = t.window->findChild<ChronicleWindow*>();
    ASSERT_NE(w, nullptr);
    ReplayBar* replay = w->Replay();
    QTest::mouseClick(replay->findChild<QPushButton*>("ReplayButton"), Qt::LeftButton);
    ASSERT_TRUE(replay->Playing());
    EXPECT_TRUE(QTest::qWaitFor([&] { return replay->Shown() >= 3; }, 5000)) << replay->Shown();
    QTest::mouseClick(replay->findChild<QPushButton*>("ReplayButton"), Qt::LeftButton);
    ASSERT_FALSE(replay->Playing());
    const int shown = replay->Shown();
    ASSERT_GE(shown, 0);
    ASSERT_TRUE(t.window->Map()->ShowsPast());
    for (int c = 1; c <= kCityCount; ++c) {
        const int owner = t.game.chronicle.seasons[shown].owners[c];
        EXPECT_EQ(t.Text(QString("CityOwner%1").arg(c)).toStdString(), t.game.Nations[owner].Name) << c;
    }
    // And the land is painted in that season's owners' colours, every city's.
    TerritoryPicture& picture = t.window->Map()->Territory();
    const QSize size(320, 233);
    const QImage painted = picture.Overview(size);
    int land = 0, wrong = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int city = picture.CityAt(
                {(x + 0.5) * kMapPictureWidth / size.width(), (y + 0.5) * kMapPictureHeight / size.height()});
            if (city == 0) continue;
            ++land;
            wrong += painted.pixelColor(x, y) != NationLandColour(t.game.chronicle.seasons[shown].owners[city]);
        }
    EXPECT_GT(land, size.width() * size.height() / 5);
    EXPECT_EQ(wrong, 0) << "of " << land << " pixels of land";
    // Back at the present, the panels name today's owners again.
    replay->ShowSeason(t.game.chronicle.seasons.back().year, t.game.chronicle.seasons.back().season);
    EXPECT_EQ(t.Text("CityOwner1").toStdString(), t.game.Cities[1].Owner);
}

TEST(ChronicleWindow, TheShortcutOpensItEvenFromATextBoxAndTheGamesOwnKeysStillWork) {
    ChronicleGame t;
    // Shortcuts reach the active window only.
    t.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(t.window.get()));
    // The amount box has the focus: the key opens the window and types nothing.
    t.window->Run([](Session& g) {
        g.shown.main.activePanel = Panel::AmountPanel;
        g.shown.main.amountText = "12";
    });
    auto* amount = t.window->findChild<QLineEdit*>("AmountBox");
    amount->setFocus();
    QTest::keyClick(amount, Qt::Key_R, Qt::ControlModifier);
    auto* w = t.window->findChild<ChronicleWindow*>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(amount->text(), "12");

    // Enter still takes the game's step.
    t.window->Run([](Session& g) { g.shown.main.activePanel = Panel::IdlePanel; });
    const int step = t.game.TurnStep;
    auto* ok = t.window->findChild<QPushButton*>("OkButton");
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    EXPECT_EQ(t.game.TurnStep, step + 1);
}

TEST(QtScreen, TheWarChartAtTheEndOpensModalAndClosesWithItsButton) {
    ChronicleGame t;
    for (int c = 1; c <= kCityCount; ++c) SetOwner(t.game, c, t.game.PlayerNation);
    // A person at the screen: the chart waits for its "閉じる".
    t.screen.autoAnswer = nullptr;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<WarChartDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        seen = true;
        EXPECT_NE(dialog->Chart()->SeriesOf(t.player), nullptr);
        dialog->findChild<QPushButton*>("CloseButton")->click();
    });
    t.screen.ShowWarChart(t.game);
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Under a test's answers the unification runs through to the end without waiting.
    AnswerFromQueue(t.screen, t.answers, t.ends);
    EXPECT_THROW(CheckUnification(t.game), ProgramEnded);
    EXPECT_EQ(t.ends, 1);
    EXPECT_EQ(t.screen.boxLog.back(), "終了です");
    EXPECT_EQ(t.game.chronicle.entries.back().kind, EntryKind::Unification);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace tarvex::ui
