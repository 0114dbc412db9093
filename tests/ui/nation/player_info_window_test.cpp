// What the windows show the player to decide by: the nation chooser, the
// numbers beside an order and its refusal, the status bar, the delegated marks.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTreeView>
#include <memory>

#include "main_game.h"
#include "rules/chronicle/chronicle.h"
#include "ui/chronicle/chronicle_window.h"
#include "ui/map/map_view.h"
#include "ui/map/territory_picture.h"
#include "ui/qt/common.h"
#include "ui/settings/settings_window.h"

namespace tarvex::ui {
namespace {

TEST(NationChooserWindow, OffersEveryNationInItsColourTakesTheBareNameAndComesBackWithALoad) {
    MainGame t("フランス王国");
    QTemporaryDir saves;  // a folder of this run's own
    ASSERT_TRUE(saves.isValid());
    t.screen.programDir = saves.path();
    t.Trigger("SaveEntry");
    std::unique_ptr<SettingsWindow> settings;
    t.screen.onShowSettings = [&] {
        if (!settings) settings = std::make_unique<SettingsWindow>(t.game, t.screen);
        settings->ShowForward();
    };
    t.Trigger("SettingsEntry");
    auto* chooser = settings->findChild<QComboBox*>("NationChooser");
    EXPECT_EQ(chooser->itemData(0, SettingsWindow::kEntryLabelRole).toString(), "観戦（コンピュータ同士）");
    // Each nation with cities at the start, in its map colour; one without has nothing to play with.
    int row = 0;
    for (int n = 1; n <= kNationCount; ++n) {
        int cities = 0, first = 0;
        for (int c = kCityCount; c >= 1; --c)
            if (t.game.Cities[c].Owner == t.game.Nations[n].Name) ++cities, first = c;
        if (cities == 0) continue;
        ++row;
        // Its first city tells where it lies, as its colour may be another's too.
        EXPECT_EQ(chooser->itemData(row, SettingsWindow::kEntryLabelRole).toString(),
                  Qs(t.game.Nations[n].Name) + QString("（%1都市・%2%3）")
                                                   .arg(cities)
                                                   .arg(Qs(t.game.Cities[first].Name))
                                                   .arg(cities > 1 ? "ほか" : ""));
        EXPECT_EQ(chooser->itemIcon(row).pixmap(kSwatchSize).toImage().pixelColor(kSwatchSize / 2, kSwatchSize / 2),
                  NationLandColour(n));
    }
    ASSERT_EQ(chooser->count(), 1 + row);
    EXPECT_LT(row, kNationCount);
    const int france = chooser->findText("フランス王国");
    EXPECT_EQ(chooser->currentIndex(), france);  // the remembered choice is chosen in the list too
    // The player opens the list and clicks ローマ: the box takes its bare name.
    chooser->showPopup();
    QAbstractItemView* view = chooser->view();
    const QModelIndex rome = view->model()->index(chooser->findText("ローマ"), 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(rome).center());
    EXPECT_EQ(settings->findChild<QLineEdit*>("NationNameBox")->text(), "ローマ");
    settings->findChild<QPushButton*>("OkButton")->click();
    ASSERT_EQ(t.game.NationChoice, "ローマ");
    t.Trigger("LoadEntry");
    t.Trigger("SettingsEntry");
    EXPECT_EQ(settings->findChild<QLineEdit*>("NationNameBox")->text(), "フランス王国");
    EXPECT_EQ(chooser->currentIndex(), france);
}

TEST(OrderPanelsWindow, BothCitiesNumbersFollowTheListAndARefusalLeavesItsNumbers) {
    MainGame t;
    t.PlayersTurn(1);
    t.Click("MilitaryButton");
    t.Click("MoveButton");
    const City& london = t.game.Cities[1];
    const auto n = [](int value) { return QString::number(value); };
    EXPECT_EQ(QStringList({t.Text("OrderCity"), t.Text("OrderCityFood"), t.Text("OrderCityGold")}),
              QStringList({"ロンドン", n(london.Food), n(london.Gold)}));
    auto* list = t.Find<QListWidget>("TargetList");
    for (int row : {0, 1}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        const City& c = t.game.Cities[row == 0 ? 2 : 4];  // ヨーク, サザンプトン
        EXPECT_EQ(QStringList({t.Text("OrderTarget"), t.Text("OrderTargetCastle"), t.Text("OrderOwner")}),
                  QStringList({Qs(c.Name), n(c.Castle), Qs(c.Owner)}));
    }
    t.window->Run([](Session& g) { g.shown.main.orderAmounts = {"1", "999", "0"}; });
    t.Click("TargetOkButton");
    const QString hint = "食料: 必要 999 / あり " + n(london.Food);
    EXPECT_TRUE(t.Find("TopMenuHint")->isVisible() && t.Text("TopMenuHint") == hint);
    t.Click("MilitaryButton");
    t.Click("MoveButton");
    EXPECT_TRUE(t.Find("TargetHint")->isVisible() && t.Text("TargetHint") == hint);
}

TEST(StatusBarWindow, ShowsThePlayersLatestEntryAndAClickOpensTheChronicleThere) {
    MainGame t;
    auto* status = t.Find<QLabel>("StatusEntry");
    t.window->Run([](Session& g) {
        RecordEntry(g, EntryKind::Battle, "ロンドン（イングランド王国）がルーアン（フランス王国）を攻め、敗れました",
                    {16, 1}, {1, 8});
        RecordEntry(g, EntryKind::Event, "「豊作」: パリ", {15}, {8});  // not his: the bar stays
    });
    EXPECT_EQ(status->text(),
              "1年目の春 【戦闘】 ロンドン（イングランド王国）がルーアン（フランス王国）を攻め、敗れました");
    QTest::mouseClick(status, Qt::LeftButton);
    auto* chronicle = t.window->findChild<ChronicleWindow*>("ChronicleWindow");
    ASSERT_TRUE(chronicle && chronicle->isVisible());
    auto* list = chronicle->findChild<QTreeView*>("EntryList");
    EXPECT_EQ(list->currentIndex().data(Qt::UserRole).toInt(), 0);  // the entry's place in the chronicle
    chronicle->close();
}

TEST(DelegatedMarks, StandOnThePanelAndRoundTheLandOnlyWhileTheCityIsHisAndDelegated) {
    MainGame t("キプチャク＝ハン国");  // the longest name on an owner's line
    int city = kCityCount;
    while (t.game.Cities[city].Owner != t.game.PlayerNation) --city;
    const QString n = QString::number(city);
    const auto dashes = [&] {  // the land's pixels in the mark's colour
        const QRect land = MapGeography::Get().cityBounds[city].adjusted(-4, -4, 4, 4);
        QImage image(land.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        painter.translate(-land.topLeft());
        t.window->Map()->Territory().Paint(painter, land);
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == kDelegatedMark;
        return count;
    };
    // Delegated, taken back, delegated again and then lost.
    for (const auto& [delegated, owner] :
         {std::pair{true, "キプチャク＝ハン国"}, {false, "キプチャク＝ハン国"}, {true, "ジェノヴァ共和国"}}) {
        t.window->Run([&](Session& g) { g.Delegated[city] = delegated, SetOwner(g, city, owner); });
        const bool marked = delegated && owner == t.game.PlayerNation;
        QLabel* mark = t.Find<QLabel>("DelegatedMark" + n);
        EXPECT_EQ(mark->isVisible(), marked);
        EXPECT_EQ(dashes() > 20, marked);
        EXPECT_TRUE(TextFitsLabel(t.Find<QLabel>("CityOwner" + n)));
    }
}

}  // namespace
}  // namespace tarvex::ui
