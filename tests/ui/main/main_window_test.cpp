// The main window: where its controls stand, what its menus, buttons, keys,
// timers and frame do, and how the map scrolls, folds and shows its help.
#include "ui/main/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QBackingStore>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QTranslator>
#include <algorithm>
#include <csignal>
#include <deque>
#include <map>
#include <memory>
#include <tuple>

#include "main_game.h"
#include "qt_test_support.h"
#include "rules/port/random.h"
#include "rules/turn/messages.h"
#include "rules/world/scenario.h"
#include "screens/main/main_window.h"
#include "screens/orders/panels.h"
#include "screens/settings/settings.h"
#include "ui/map/map_picture.h"
#include "ui/map/map_view.h"
#include "ui/map/overview_map.h"
#include "ui/map/territory_picture.h"
#include "ui/qt/application.h"
#include "ui/qt/common.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {
namespace {

TEST(MainWindowLayout, EveryPanelHoldsItsControlsWithoutOverlap) {
    MainGame t;
    // Texts of London's turn in every label.
    t.window->Run([](Session& g) {
        g.Lines = {MessageLine{"1 ロンドン イングランド王国"}, MessageLine{"ロンドンで開墾されました"},
                   MessageLine{"金「11」と食料「0」移動"}};
        MainWindowShown& m = g.shown.main;
        m.okPrompt = true;
        m.topMenuCity = "ロンドン";
        m.amountTitle = "食料売り:ロンドン";
        m.targetTitle = "移動:ロンドン";
        m.amountPrice = "食料:1.5";
        m.delegationMode = "委任解除";
        // London's numbers beside its orders, York chosen, and a refusal's numbers.
        g.CurrentCity = 1;
        g.TargetList[0] = 2;
        g.TargetCount = 1;
        m.targets = {"ヨーク"};
        m.targetSelected = 0;
        m.orderHint = "食料: 必要 999 / あり 10";
    });
    for (int i = 1; i <= 7; ++i) {
        t.window->Run([i](Session& g) { g.shown.main.activePanel = static_cast<Panel>(i); });
        QWidget* panel = t.Find(PanelName(static_cast<Panel>(i)));
        ASSERT_TRUE(panel->isVisible()) << i;
        ExpectTidy(panel);
    }
    // Message lines pale orange; every label of the command panels pale cyan.
    for (const char* name : {"Line1", "Line2", "Line3"})
        EXPECT_EQ(t.Find(name)->palette().color(QPalette::Window), kPaleOrange) << name;
    for (int i = 2; i <= 7; ++i)
        for (QLabel* label : t.Find(PanelName(static_cast<Panel>(i)))->findChildren<QLabel*>()) {
            EXPECT_TRUE(label->autoFillBackground()) << label->objectName().toStdString();
            EXPECT_EQ(label->palette().color(QPalette::Window), kPaleCyan) << label->objectName().toStdString();
        }
}

// The longest names of the game in every text of the window: Constantinople,
// its longest-named neighbour, and every city held by the Kipchak khanate.
TEST(MainWindowLayout, LongestNamesAreSeenWholeInEveryLabel) {
    MainGame t("ビザンツ帝国");
    const std::string city = "コンスタンティノープル", nation = "キプチャク＝ハン国";
    std::string neighbour;
    int neighbourCity = 0;
    for (int n = 1; n <= kCityCount; ++n)
        if (IsNeighbour(60, n) && t.game.Cities[n].Name.size() > neighbour.size()) {
            neighbour = t.game.Cities[n].Name;
            neighbourCity = n;
        }
    ASSERT_EQ(t.game.Cities[60].Name, city);
    t.window->Run([&](Session& g) {
        for (int n = 1; n <= kCityCount; ++n) {
            City& c = g.Cities[n];
            SetOwner(g, n, n == 60 ? g.PlayerNation : nation);
            c.Power = c.Town = c.Castle = c.Food = c.Gold = c.Troops = c.Arms = c.Civility = kMaxValue;
            g.CityRefreshed(n);
        }
        OpenAllCityPanels(g);
    });
    const std::vector<std::string> lines = {
        "60 " + city + " " + nation,
        "あなたの番です " + city + "国",
        nation + "が統一しました",
        city + "で食料の換金がされました",
        city + "が" + neighbour + "に攻め込んだ",
        city + "は通常、" + neighbour + "は通常",
        city + "から" + neighbour + "へ「999」移動",
        "金「999」と食料「999」移動",
    };
    for (const std::string& line : lines) {
        t.window->Run([&](Session& g) {
            g.Lines = {MessageLine{line}, MessageLine{line}, MessageLine{line}};
            g.shown.main.activePanel = Panel::IdlePanel;
            g.shown.main.okPrompt = true;
        });
        ExpectTextsFit(t.window.get());
        ExpectTidy(t.Find("IdlePanel"));
    }
    const std::pair<Panel, std::string> titles[] = {
        {Panel::TopMenu, city},
        {Panel::AmountPanel, "武装強化:" + city},
        {Panel::DelegationPanel, "委任解除"},
        {Panel::TargetPanel, "移動:" + city},
        {Panel::TargetPanel, "戦闘:" + city},
    };
    for (const auto& [panel, title] : titles) {
        t.window->Run([&, panel = panel, title = title](Session& g) {
            MainWindowShown& m = g.shown.main;
            m.activePanel = panel;
            m.topMenuCity = m.amountTitle = m.targetTitle = m.delegationMode = title;
            m.amountPrice = "武器:999.9";
            m.targets = {neighbour, city};
            // Beside the boxes: Constantinople's numbers and its neighbour's, and the widest refusal.
            g.CurrentCity = 60;
            g.TargetList[0] = neighbourCity;
            g.TargetCount = 1;
            m.targetSelected = 0;
            m.orderHint = "投資: 上限 100 / 入力 2147483647";
            g.Delegated[60] = true;
        });
        ExpectTextsFit(t.window.get());
        ExpectTidy(t.Find(PanelName(panel)));
    }
    // A title shown smaller gives the whole of it at full size in its tooltip.
    EXPECT_EQ(t.Find<QLabel>("TargetTitle")->toolTip().toStdString(), "戦闘:" + city);
    EXPECT_EQ(t.Find<QLabel>("CityName60")->text().toStdString(), city);
}

TEST(MainWindowLayout, AtItsSmallestTheMenusThePanelAndSomeMapStayInView) {
    MainGame t;
    t.window->resize(50, 50);
    QApplication::processEvents();
    EXPECT_EQ(t.window->size(), t.window->minimumSize());
    QMenuBar* bar = t.window->menuBar();
    const int row = bar->actionGeometry(bar->actions().first()).top();
    for (QAction* menu : bar->actions()) {
        EXPECT_TRUE(bar->rect().contains(bar->actionGeometry(menu))) << menu->text().toStdString();
        EXPECT_EQ(bar->actionGeometry(menu).top(), row) << menu->text().toStdString();
    }
    const QRect panel = t.Find("IdlePanel")->geometry();
    QWidget* map = t.Find("mapView");
    EXPECT_GE(map->width() - panel.right(), 100);
    EXPECT_GE(map->height() - panel.bottom(), 80);
}

// The bold face is a second large font file; every bold text asks for the regular face thickened.
TEST(MainWindowLayout, BoldTextIsDrawnFromTheRegularFace) {
    MainGame t;
    t.Trigger("OpenAllEntry");
    int bold = 0;
    for (const QWidget* w : t.window->findChildren<QWidget*>()) {
        if (!w->font().bold()) continue;
        ++bold;
        EXPECT_EQ(w->font().styleName().toStdString(), "Regular") << w->objectName().toStdString();
    }
    EXPECT_GT(bold, kCityCount);  // the help panels' headings, the "委" marks, "一時停止中"
}

TEST(MainWindowMenus, EntriesStandUnderTheirMenusWithDistinctAccessKeys) {
    MainGame t;
    const std::pair<const char*, QStringList> menus[] = {
        {"SaveLoadMenu", {"QuitEntry", "SaveEntry", "LoadEntry", "AutosaveEntry"}},
        {"DelegationMenu", {"DelegateEntry", "EndDelegationEntry"}},
        {"CitiesMenu", {"OpenAllEntry", "CloseAllEntry", "OverviewEntry", "ChronicleEntry"}},
        {"ChangeMenu", {"SettingsEntry", "FollowEntry", "AutoPlayEntry", "SpeedEntry"}},
        {"SpeedMenu", {"SpeedEntry1", "SpeedEntry2", "SpeedEntry3", "SpeedEntry4"}},
        {"HelpMenu", {"HelpPageEntry", "CitiesHelpEntry", "NationHelpEntry", "ButtonsHelpEntry", "NumbersHelpEntry"}},
    };
    // One access key for one entry: a key shared within a menu would reach only one of them.
    const auto accessKey = [](const QString& caption) { return caption.mid(caption.indexOf('&') + 1, 1).toUpper(); };
    QStringList barKeys;
    for (QAction* top : t.window->menuBar()->actions()) barKeys << accessKey(top->text());
    EXPECT_EQ(barKeys.size(), 6);
    EXPECT_EQ(barKeys.removeDuplicates(), 0) << barKeys.join(",").toStdString();
    for (const auto& [menuName, entries] : menus) {
        auto* menu = t.Find<QMenu>(menuName);
        if (!menu) continue;
        QStringList names, keys;
        for (QAction* a : menu->actions()) {
            names << a->objectName();
            keys << accessKey(a->text());
        }
        EXPECT_EQ(names, entries) << menuName;
        EXPECT_EQ(keys.removeDuplicates(), 0) << menuName;
    }
    // The nation entry acts by itself: it stands in the bar, with no entries under it.
    EXPECT_EQ(t.Find<QAction>("NationEntry")->menu(), nullptr);

    EXPECT_FALSE(t.Find<QMenu>("DelegationMenu")->menuAction()->isEnabled());
    EXPECT_TRUE(t.Find<QAction>("OpenAllEntry")->isEnabled());
    EXPECT_TRUE(t.Find<QAction>("CloseAllEntry")->isEnabled());
    for (const char* help : {"CitiesHelpEntry", "NationHelpEntry", "ButtonsHelpEntry", "NumbersHelpEntry"})
        EXPECT_FALSE(t.Find<QAction>(help)->isEnabled()) << help;
    EXPECT_TRUE(t.Find<QAction>("HelpPageEntry")->isEnabled());

    int settingsShown = 0;
    t.screen.onShowSettings = [&] { ++settingsShown; };
    t.Trigger("SettingsEntry");
    EXPECT_EQ(settingsShown, 1);
}

TEST(MainWindow, LoadShowsCaptionHeadlinePricesAndTheCities) {
    MainGame t;
    EXPECT_EQ(t.window->windowTitle(), "1年目の春");
    // Never smaller than the game's own layout.
    EXPECT_GE(t.window->width(), Twips(15000));
    EXPECT_GE(t.window->height(), Twips(7500));
    EXPECT_EQ(t.VisiblePanel(), 1);
    EXPECT_EQ(t.Text("Line1"), "1年目、春です");
    EXPECT_TRUE(t.Find("Line1")->isVisible());
    EXPECT_TRUE(t.Find("OkPrompt")->isVisible());
    const PriceTexts prices = ShownPrices(t.game);
    EXPECT_EQ(t.Text("FoodPrice").toStdString(), prices.food);
    EXPECT_EQ(t.Text("ArmsPrice").toStdString(), prices.arms);
    EXPECT_EQ(t.Text("TroopsPrice").toStdString(), prices.troops);
    EXPECT_FALSE(t.Text("FoodPrice").isEmpty());

    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    for (int city = 1; city <= kCityCount; ++city) {
        const QString n = QString::number(city);
        QWidget* panel = t.Find("CityPanel" + n);
        EXPECT_EQ(panel->geometry(),
                  TwipRect(kPanelPositions[city].left, kPanelPositions[city].top, kPanelWidth, kPanelCollapsed));
        const City& c = t.game.Cities[city];
        EXPECT_EQ(t.Text("CityNumber" + n), n);
        EXPECT_EQ(t.Text("CityName" + n).toStdString(), c.Name);
        EXPECT_EQ(t.Text("CityOwner" + n).toStdString(), c.Owner);
        const QColor expected = c.Owner == "イングランド王国" ? kPlayerOrange : buttonFace;
        EXPECT_EQ(t.Find("CityName" + n)->palette().color(QPalette::Window), expected) << city;
        EXPECT_EQ(t.Find("CityNumber" + n)->palette().color(QPalette::Window), expected) << city;
        EXPECT_EQ(t.Find("CityOwner" + n)->palette().color(QPalette::Window), kPaleOrange) << city;
        // Folded: only number, name and owner are to be seen.
        const auto* gold = t.window->findChild<QWidget*>("CityGold" + n);
        EXPECT_TRUE(gold == nullptr || !gold->isVisible()) << city;
    }
    // Unfolded, each panel shows its city's values.
    t.Trigger("OpenAllEntry");
    for (int city = 1; city <= kCityCount; ++city) {
        const QString n = QString::number(city);
        const City& c = t.game.Cities[city];
        EXPECT_EQ(t.Text("CityGold" + n), QString::number(c.Gold)) << city;
        EXPECT_EQ(t.Text("CityTroops" + n), QString::number(c.Troops)) << city;
        EXPECT_TRUE(t.Find("CityGold" + n)->isVisible()) << city;
    }
}

TEST(MainWindowTurn, OkButtonAndEnterTakeOneStepEachAndTheTimerCarriesOn) {
    MainGame t("*");  // nobody's cities: every step is the computer's
    t.Click("OkButton");
    EXPECT_EQ(t.game.TurnStep, 2);
    EXPECT_FALSE(t.Find("OkPrompt")->isVisible());
    const int first = t.game.TurnOrder[1];
    EXPECT_EQ(t.Text("Line1").toStdString().rfind(std::to_string(first) + " ", 0), 0u);
    EXPECT_TRUE(t.window->findChild<QTimer*>("StepTimer")->isActive());

    // Enter takes a step; a second Enter before the lock's timer has run takes none.
    t.window->findChild<QTimer*>("StepTimer")->stop();
    t.Key(Qt::Key_Return);
    EXPECT_EQ(t.game.TurnStep, 3);
    t.Key(Qt::Key_Return);
    EXPECT_EQ(t.game.TurnStep, 3);
    EXPECT_TRUE(t.window->findChild<QTimer*>("EnterLockTimer")->isActive());

    // Left to the timers, the season runs on by itself up to its end.
    EXPECT_TRUE(QTest::qWaitFor([&] { return t.game.TurnStep > 75; }, 5000));
    EXPECT_EQ(t.game.TurnStep, 76);
    EXPECT_FALSE(t.window->findChild<QTimer*>("StepTimer")->isActive());
    EXPECT_FALSE(t.window->findChild<QTimer*>("EnterLockTimer")->isActive());
    EXPECT_TRUE(t.Find("OkPrompt")->isVisible());
}

TEST(MainWindowTurn, ClickedOrdersCarryTheTypedTextAndListChoiceToTheGame) {
    MainGame t;
    t.PlayersTurn(1);  // London
    EXPECT_EQ(t.VisiblePanel(), 2);
    EXPECT_EQ(t.Text("TopMenuCity"), "ロンドン");
    EXPECT_TRUE(t.Find<QMenu>("DelegationMenu")->menuAction()->isEnabled());

    t.Click("PoliticsButton");
    EXPECT_EQ(t.VisiblePanel(), 4);
    t.Click("BuyFoodButton");
    EXPECT_EQ(t.VisiblePanel(), 5);
    EXPECT_EQ(t.Text("AmountTitle"), "食料買い:ロンドン");
    EXPECT_EQ(t.Text("AmountPrice").toStdString(), "食料:" + ShownPrices(t.game).food);
    auto* amount = t.Find<QLineEdit>("AmountBox");
    EXPECT_EQ(t.window->focusWidget(), amount);
    EXPECT_EQ(amount->selectedText(), QString::number(t.game.Cities[1].Gold));
    QTest::keyClicks(amount, "abc");
    EXPECT_EQ(t.game.shown.main.amountText, "abc");
    t.Click("AmountOkButton");
    ASSERT_FALSE(t.screen.boxLog.empty());
    EXPECT_EQ(t.screen.boxLog.back(), "整数を入力してください");
    EXPECT_EQ(t.VisiblePanel(), 2);

    t.Click("MilitaryButton");
    t.Click("MoveButton");
    EXPECT_EQ(t.VisiblePanel(), 6);
    auto* targets = t.Find<QListWidget>("TargetList");
    ASSERT_EQ(targets->count(), static_cast<int>(t.game.shown.main.targets.size()));
    ASSERT_GE(targets->count(), 2);
    EXPECT_EQ(targets->currentRow(), t.game.shown.main.targetSelected);
    QTest::mouseClick(targets->viewport(), Qt::LeftButton, {}, targets->visualItemRect(targets->item(1)).center());
    EXPECT_EQ(t.game.shown.main.targetSelected, 1);
    auto* food = t.Find<QLineEdit>("AmountBox1");
    food->selectAll();
    QTest::keyClicks(food, "7");
    EXPECT_EQ(t.game.shown.main.orderAmounts[1], "7");
    t.Click("TargetCancelButton");
    EXPECT_EQ(t.VisiblePanel(), 2);

    t.Click("DoNothingButton");
    EXPECT_EQ(t.screen.boxLog.back(), "何もしない");
    EXPECT_EQ(t.VisiblePanel(), 1);
    EXPECT_EQ(t.Text("Line2"), "何もしない");
    EXPECT_TRUE(t.Find("Line2")->isVisible());
    EXPECT_FALSE(t.Find<QMenu>("DelegationMenu")->menuAction()->isEnabled());
}

TEST(MainWindowKeys, KeypadDigitsPressTheNumberedButtonsAndAreNotTypedOnTop) {
    MainGame t;
    t.PlayersTurn(1);
    t.Key(Qt::Key_1);  // the top row's digits press the buttons too where nothing is typed
    EXPECT_EQ(t.VisiblePanel(), 3);
    t.Key(Qt::Key_5, Qt::KeypadModifier);  // 5.戻る
    EXPECT_EQ(t.VisiblePanel(), 2);
    t.Key(Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(t.VisiblePanel(), 4);
    t.Key(Qt::Key_5, Qt::KeypadModifier);  // 5.食料買い
    EXPECT_EQ(t.VisiblePanel(), 5);
    const QString gold = QString::number(t.game.Cities[1].Gold);
    EXPECT_EQ(t.Text("AmountBox"), gold);
    // Typing in the amount box is the player's own.
    t.Key(Qt::Key_4, Qt::KeypadModifier);
    t.Key(Qt::Key_2);  // in a text box the top row types
    EXPECT_EQ(t.Text("AmountBox"), "42");
    EXPECT_EQ(t.game.shown.main.amountText, "42");
    t.Key(Qt::Key_Period, Qt::KeypadModifier);  // Cancel
    EXPECT_EQ(t.VisiblePanel(), 2);
    EXPECT_EQ(t.game.shown.main.amountText, "42");

    // In the military menu an unused key is swallowed; 5 goes back.
    t.Key(Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(t.VisiblePanel(), 3);
    t.Key(Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(t.VisiblePanel(), 2);
}

// What a button or key of a command menu did, as far as the player can tell.
auto MenuOutcome(MainGame& t) {
    const MainWindowShown& m = t.game.shown.main;
    return std::make_tuple(m.activePanel, t.game.CommandKind, m.amountTitle, m.targetTitle, m.hScroll, m.vScroll,
                           t.screen.boxLog);
}

TEST(MainWindowKeys, EachNumberedButtonIsPressedByItsKeypadDigit) {
    // The three menus of a city's turn, and how the player reaches each.
    const std::pair<int, const char*> menus[] = {{2, nullptr}, {3, "MilitaryButton"}, {4, "PoliticsButton"}};
    int buttons = 0;
    for (const auto& [panel, opener] : menus) {
        const auto open = [&, opener = opener](MainGame& t) {
            t.answers = {Answer::Cancel, Answer::Cancel};  // "何もしない" is taken back
            t.PlayersTurn(5);                              // ダブリン, far from the map's corner
            if (opener) t.Click(opener);
        };
        MainGame probe;
        open(probe);
        for (QPushButton* button : probe.Find(PanelName(static_cast<Panel>(panel)))->findChildren<QPushButton*>()) {
            const QString caption = button->text();
            ASSERT_TRUE(caption.size() > 2 && caption[0].isDigit() && caption[1] == '.') << caption.toStdString();
            const int digit = caption[0].digitValue();
            MainGame clicked, pressed, topRow;
            open(clicked);
            clicked.Click(button->objectName());
            open(pressed);
            pressed.Key(static_cast<Qt::Key>(Qt::Key_0 + digit), Qt::KeypadModifier);
            EXPECT_EQ(MenuOutcome(pressed), MenuOutcome(clicked)) << caption.toStdString();
            // The top row's digit too, where no text box has the focus.
            open(topRow);
            topRow.Key(static_cast<Qt::Key>(Qt::Key_0 + digit));
            EXPECT_EQ(MenuOutcome(topRow), MenuOutcome(clicked)) << caption.toStdString() << " by the top row";
            EXPECT_NE(MenuOutcome(pressed), MenuOutcome(probe)) << caption.toStdString() << " does nothing";
            ++buttons;
        }
    }
    EXPECT_EQ(buttons, 4 + 5 + 6);
}

TEST(MainWindowKeys, ArrowsInTheTargetPanelMoveOnlyWhereTheGameSays) {
    MainGame t;
    t.PlayersTurn(1);
    t.Click("MilitaryButton");
    t.Click("MoveButton");
    ASSERT_EQ(t.VisiblePanel(), 6);
    auto* targets = t.Find<QListWidget>("TargetList");
    const int count = targets->count();
    ASSERT_GE(count, 2);
    targets->setFocus();
    // Left right after the turn began: the last entry, and the list adds no move of its own.
    t.Key(Qt::Key_Left);
    EXPECT_EQ(targets->currentRow(), count - 1);
    EXPECT_EQ(t.game.shown.main.targetSelected, count - 1);
    t.Key(Qt::Key_Right);
    EXPECT_EQ(targets->currentRow(), 0);
    // Down goes to the troops box and leaves the chosen target alone.
    t.Key(Qt::Key_Down);
    EXPECT_EQ(t.window->focusWidget(), t.Find("AmountBox0"));
    EXPECT_EQ(targets->currentRow(), 0);
    t.Key(Qt::Key_Down);
    EXPECT_EQ(t.window->focusWidget(), t.Find("AmountBox1"));
    auto* food = t.Find<QLineEdit>("AmountBox1");
    EXPECT_EQ(food->selectedText(), food->text());
    EXPECT_EQ(food->cursorPosition(), 0);
}

TEST(MainWindowPanels, NarrowListsShowEveryNameWholeWithoutASidewaysBar) {
    MainGame t;
    const std::vector<std::vector<std::string>> lists = {
        {"ブリュージュ", "アーヘン"},
        {"ケーニヒスベルク", "ダンチヒ", "リガ"},
        {"ニュルンベルク", "アウグスブルク", "ストラスブルク", "マグデスブルク", "ウィーン"},
    };
    for (const auto& names : lists) {
        SCOPED_TRACE(names.front());
        t.window->Run([&names](Session& g) {
            g.shown.main.activePanel = Panel::TargetPanel;
            g.shown.main.targets = names;
            g.shown.main.targetSelected = 0;
        });
        auto* list = t.Find<QListWidget>("TargetList");
        EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
        const QFontMetrics metrics(list->font());
        EXPECT_GE(QFontInfo(list->font()).pixelSize(), 9);
        for (int row = 0; row < list->count(); ++row) {
            const QRect rect = list->visualItemRect(list->item(row));
            EXPECT_LE(metrics.horizontalAdvance(list->item(row)->text()) + 4, rect.width()) << row;
            EXPECT_GE(rect.height(), QFontInfo(list->font()).pixelSize()) << row;
            // However small long names make the letters, a row stays as tall as at full size.
            EXPECT_GE(rect.height(), QFontInfo(GameFont()).pixelSize()) << row;
        }
        // The first two entries stand in view together, whatever the list holds.
        for (int row = 0; row < 2; ++row)
            EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(row)))) << row;
    }
}

TEST(MapView, APanelFirstUnfoldedAfterTheCityChangedShowsItsValuesOfThen) {
    MainGame t;
    // A city changes while its panel is folded (a season, a load), and again after it was unfolded once.
    for (const int gold : {4321, 77}) {
        t.window->Run([gold](Session& g) {
            City& paris = g.Cities[15];
            paris.Gold = gold;
            paris.Troops = gold / 2;
            g.CityRefreshed(15);
        });
        QTest::mouseClick(t.Find("CityNumber15"), Qt::LeftButton);
        EXPECT_EQ(t.Text("CityGold15"), QString::number(gold));
        EXPECT_EQ(t.Text("CityTroops15"), QString::number(gold / 2));
        EXPECT_EQ(t.Text("CityCivility15"), QString::number(t.game.Cities[15].Civility));
        EXPECT_TRUE(t.Find("CityGold15")->isVisible());
        QTest::mouseClick(t.Find("CityNumber15"), Qt::LeftButton);
        EXPECT_FALSE(t.Find("CityGold15")->isVisible());
    }
}

TEST(MapView, PanelsFoldOneByOneOrAllAtOnce) {
    MainGame t;
    QWidget* paris = t.Find("CityPanel15");
    QTest::mouseClick(t.Find("CityNumber15"), Qt::LeftButton);
    EXPECT_EQ(paris->height(), Twips(kPanelExpanded));
    EXPECT_TRUE(t.Find("CityGold15")->isVisible());
    QTest::mouseClick(t.Find("CityName15"), Qt::LeftButton);
    EXPECT_EQ(paris->height(), Twips(kPanelCollapsed));
    QTest::mouseClick(t.Find("CityOwner15"), Qt::LeftButton);  // the owner's label does not fold
    EXPECT_EQ(paris->height(), Twips(kPanelCollapsed));

    QTest::mouseClick(t.Find("CityName15"), Qt::LeftButton);
    t.Trigger("CloseAllEntry");
    for (int city = 1; city <= kCityCount; ++city)
        EXPECT_EQ(t.Find(QString("CityPanel%1").arg(city))->height(), Twips(kPanelCollapsed)) << city;
    EXPECT_FALSE(t.Find<QAction>("CloseAllEntry")->isEnabled());
    EXPECT_TRUE(t.Find<QAction>("OpenAllEntry")->isEnabled());
    t.Trigger("OpenAllEntry");
    for (int city = 1; city <= kCityCount; ++city)
        EXPECT_EQ(t.Find(QString("CityPanel%1").arg(city))->height(), Twips(kPanelExpanded)) << city;
    EXPECT_FALSE(t.Find<QAction>("OpenAllEntry")->isEnabled());
}

TEST(MapView, HelpPanelsCloseAndComeBackFromTheirMenuEntries) {
    MainGame t;
    struct Help {
        const char* panel;
        QRect where;
        const char* close;
        const char* entry;
    };
    const Help helps[] = {
        {"CityHelpPanel", TwipRect(7230, 240, 1575, 2175), "CityHelpClose", "CitiesHelpEntry"},
        {"NationHelpPanel", TwipRect(8925, 240, 1935, 2175), "NationHelpClose", "NationHelpEntry"},
        {"ButtonsHelpPanel", TwipRect(4095, 240, 3015, 2175), "ButtonsHelpClose", "ButtonsHelpEntry"},
        {"InputHelpPanel", TwipRect(10980, 240, 1575, 2175), "InputHelpClose", "NumbersHelpEntry"},
    };
    for (const Help& h : helps) {
        QWidget* panel = t.Find(h.panel);
        // Docked in the strip under the map: wholly in it, over no city panel and not under the side panel.
        EXPECT_EQ(panel->size(), h.where.size()) << h.panel;
        EXPECT_TRUE(panel->isVisible()) << h.panel;
        const QRect onWindow(panel->mapTo(t.window.get(), QPoint(0, 0)), panel->size());
        QWidget* dock = t.Find("HelpDock");
        EXPECT_TRUE(QRect(dock->mapTo(t.window.get(), QPoint(0, 0)), dock->size()).contains(onWindow)) << h.panel;
        QWidget* map = t.Find("mapView");
        EXPECT_FALSE(onWindow.intersects(QRect(map->mapTo(t.window.get(), QPoint(0, 0)), map->size()))) << h.panel;
        // The whole help text is there to be read: nothing of it is cut off by the panel.
        auto* text = t.Find<QLabel>(QString(h.panel) + "Text");
        const QRect needed =
            QFontMetrics(text->font()).boundingRect(QRect(0, 0, text->width(), 100000), Qt::TextWordWrap, text->text());
        EXPECT_LE(needed.height(), text->height()) << h.panel;
        EXPECT_LE(text->geometry().bottom(), panel->height()) << h.panel;

        t.Click(h.close);
        EXPECT_FALSE(panel->isVisible()) << h.panel;
        EXPECT_TRUE(t.Find<QAction>(h.entry)->isEnabled()) << h.entry;
        t.Trigger(h.entry);
        EXPECT_TRUE(panel->isVisible()) << h.panel;
        EXPECT_FALSE(t.Find<QAction>(h.entry)->isEnabled()) << h.entry;
    }
    EXPECT_EQ(t.Find<QPushButton>("NationHelpLook")->text(), "見る");
}

TEST(MapView, ScrollBarsMoveTheMapAndFocusMovesTheBars) {
    MainGame t;
    auto* horizontal = t.Find<QScrollBar>("HorizontalBar");
    auto* vertical = t.Find<QScrollBar>("VerticalBar");
    QWidget* surface = t.Find("MapSurface");
    EXPECT_EQ(horizontal->maximum(), 32300);
    EXPECT_EQ(horizontal->pageStep(), t.window->centralWidget()->width() * 15);
    // The help strip under the map is no part of the view.
    EXPECT_EQ(vertical->pageStep(), (t.window->centralWidget()->height() - t.Find("HelpDock")->height()) * 15);
    EXPECT_EQ(vertical->singleStep(), static_cast<int>(0.05 * vertical->pageStep()));

    horizontal->setValue(3000);
    vertical->setValue(1500);
    EXPECT_EQ(t.game.shown.main.hScroll, -3000);
    EXPECT_EQ(t.game.shown.main.vScroll, -1500);
    EXPECT_EQ(surface->pos(), QPoint(-Twips(3000), -Twips(1500)));

    t.PlayersTurn(1);
    t.Click("FocusButton");  // London: its panel 5500 twips in from the view's corner
    EXPECT_EQ(horizontal->value(), 13920 - 5500);
    EXPECT_EQ(vertical->value(), 10800 - 5500);
    EXPECT_EQ(surface->pos(), QPoint(-Twips(13920 - 5500), -Twips(10800 - 5500)));
    EXPECT_EQ(t.VisiblePanel(), 2);
}

TEST(MapView, TheWarShowsAtOnceOwnersActingCityBattleAndTheSmallMap) {
    MainGame t;
    MapView* map = t.window->Map();
    TerritoryPicture& territory = map->Territory();
    const auto colourAt = [&](int city) {
        // A pixel of the city's land that no line crosses: its place, moved off the lines if needed.
        QImage image(kMapPictureWidth, kMapPictureHeight, QImage::Format_RGB32);
        QPainter painter(&image);
        const MapPoint site = MapGeography::Get().sites[city];
        const QRect around(static_cast<int>(site.x / 15) - 30, static_cast<int>(site.y / 15) - 30, 60, 60);
        territory.Paint(painter, around);
        std::map<QRgb, int> counts;
        for (int y = around.top(); y <= around.bottom(); ++y)
            for (int x = around.left(); x <= around.right(); ++x)
                if (territory.CityAt(QPointF(x + 0.5, y + 0.5)) == city) ++counts[image.pixel(x, y)];
        return std::max_element(counts.begin(), counts.end(), [](auto a, auto b) { return a.second < b.second; })
            ->first;
    };
    const int paris = 15;
    const QRgb french = colourAt(paris);
    EXPECT_EQ(french, NationLandColour(NationIndex(t.game, "フランス王国")).rgb());
    SetOwner(t.game, paris, "神聖ローマ帝国");
    t.window->Sync();
    EXPECT_EQ(colourAt(paris), NationLandColour(NationIndex(t.game, "神聖ローマ帝国")).rgb());

    // The city giving its order is framed, the battle has its arrow while it lasts.
    auto* panel = t.Find<QFrame>("CityPanel15");
    QWidget* acting = t.Find("actingFrame");
    EXPECT_FALSE(acting->isVisible());
    t.game.shown.main.actingCity = paris;
    t.game.Battle.AttackCity = 1, t.game.Battle.DefendCity = paris, t.game.Battle.BattleOver = false;
    t.window->Sync();
    EXPECT_TRUE(acting->isVisible());
    EXPECT_TRUE(acting->geometry().contains(panel->geometry()));
    QWidget* arrow = t.Find("battleArrow");
    EXPECT_TRUE(arrow->isVisible());
    t.game.Battle.BattleOver = true;
    t.game.shown.main.actingCity = 0;
    t.window->Sync();
    EXPECT_FALSE(arrow->isVisible());
    EXPECT_FALSE(acting->isVisible());

    // Hovering over land names the city and its owner; over the sea, nothing.
    QWidget* surface = t.Find("MapSurface");
    const MapPoint site = MapGeography::Get().sites[paris];
    const QPoint overParis(static_cast<int>(site.x / 15), static_cast<int>(site.y / 15));
    QHelpEvent onLand(QEvent::ToolTip, overParis, surface->mapToGlobal(overParis));
    QApplication::sendEvent(surface, &onLand);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("パリ（神聖ローマ帝国）"));
    QHelpEvent atSea(QEvent::ToolTip, QPoint(5, 5), surface->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(surface, &atSea);
    EXPECT_FALSE(atSea.isAccepted());  // no tooltip of its own: the one shown is taken down

    // A click on the small map centres the view there; its menu entry hides and shows it.
    auto* overview = t.Find<OverviewMap>("overviewMap");
    ASSERT_TRUE(overview->isVisible());
    QTest::mouseClick(overview, Qt::LeftButton, {}, QPoint(overview->width() / 2, overview->height() / 2));
    const MainWindowShown& m = t.game.shown.main;
    EXPECT_NEAR(-m.hScroll + m.viewWidth / 2, kMapWidth / 2, 400);
    EXPECT_NEAR(-m.vScroll + m.viewHeight / 2, kMapHeight / 2, 400);
    EXPECT_TRUE(overview->View().contains(QPoint(kMapWidth / 2, kMapHeight / 2)));
    t.Trigger("OverviewEntry");
    EXPECT_FALSE(overview->isVisible());
    EXPECT_FALSE(t.Find<QAction>("OverviewEntry")->isChecked());
    t.Trigger("OverviewEntry");
    EXPECT_TRUE(overview->isVisible());
}

TEST(MainWindowFrame, ClosingAsksAndStaysOpenUnlessThePlayerEnds) {
    MainGame t;
    t.answers = {Answer::Cancel, Answer::Cancel};  // no save, and do not end
    EXPECT_FALSE(t.window->close());
    EXPECT_TRUE(t.window->isVisible());
    EXPECT_EQ(t.ends, 0);
    ASSERT_EQ(t.screen.boxLog.size(), 2u);
    EXPECT_EQ(t.screen.boxLog[0], "セーブして終了しますか?");
    EXPECT_EQ(t.screen.boxLog[1], "終了します。よろしいですか?");

    t.answers = {Answer::Cancel, Answer::Ok};
    t.window->close();
    EXPECT_EQ(t.ends, 1);
    EXPECT_TRUE(t.game.Ended);
    EXPECT_FALSE(t.window->isVisible());
}

TEST(QtScreen, HoldShowsTheNewLineBeforeItWaits) {
    MainGame t;
    QString seen;
    bool seenVisible = false;
    double waited = 0;
    t.screen.holdWait = [&](double seconds) {
        seen = t.Text("Line2");
        seenVisible = t.Find("Line2")->isVisible();
        waited = seconds;
    };
    t.game.MessageWait = 0.2;
    t.window->Run([](Session& g) { ShowMsg2(g, "ロンドンで兵が増強されました"); });
    EXPECT_EQ(seen, "ロンドンで兵が増強されました");
    EXPECT_TRUE(seenVisible);
    EXPECT_DOUBLE_EQ(waited, 0.2);
}

TEST(QtScreen, InputDuringAHoldActsOnceAfterItInOrderWhileTheViewLivesOn) {
    MainGame t("*");              // every city the computer's: each step holds on its lines
    t.screen.holdWait = nullptr;  // the real hold, the event loop running
    t.game.MessageWait = 0.05;
    t.game.AutoAdvance = false;           // only OK and Enter move the game on
    t.game.shown.main.followWar = false;  // the view moves only as the player moves it
    const int startScroll = t.game.shown.main.vScroll;
    QTemporaryDir saves;  // the save goes nowhere another run of the tests looks
    ASSERT_TRUE(saves.isValid());
    t.screen.programDir = saves.path();
    std::vector<std::string> seenInHold;
    bool sent = false;
    // Inside the first step's first hold, the player scrolls, opens every
    // panel, presses OK, presses Enter and chooses セーブ, in this order.
    QTimer::singleShot(10, [&] {
        sent = true;
        auto* bar = t.Find<QScrollBar>("VerticalBar");
        bar->setValue(bar->value() + 3000);
        t.Trigger("OpenAllEntry");
        t.Click("OkButton");
        t.Key(Qt::Key_Return);
        t.Trigger("SaveEntry");
        const MainWindowShown& m = t.game.shown.main;
        // What only shows has acted; nothing of the game has.
        seenInHold = {std::to_string(m.vScroll), m.panels[1].expanded ? "open" : "closed",
                      std::to_string(t.game.TurnStep), std::to_string(t.screen.boxLog.size()),
                      std::to_string(t.screen.Gate().Waiting())};
    });
    t.Click("OkButton");
    ASSERT_TRUE(sent);
    EXPECT_EQ(seenInHold, (std::vector<std::string>{std::to_string(startScroll - 3000), "open", "1", "0", "5"}));
    EXPECT_EQ(t.game.TurnStep, 2);
    EXPECT_TRUE(t.screen.boxLog.empty());
    // After the hold: OK and Enter each took one step, then the save found the season begun.
    EXPECT_TRUE(QTest::qWaitFor([&] { return t.screen.Gate().Waiting() == 0 && !t.screen.boxLog.empty(); }, 5000));
    EXPECT_EQ(t.game.TurnStep, 4);
    EXPECT_EQ(t.screen.boxLog, std::vector<std::string>{"セーブはターンのはじめしかできません"});
}

// "終了" during the computer's turn: while its question is up no city acts and no
// timer steps, whatever the timers do; once it is answered the season goes on.
TEST(QtScreen, AQuestionThePlayerOpenedStopsTheGameUntilItCloses) {
    MainGame t("*");  // every city the computer's, the step timer carrying the season on
    t.screen.autoAnswer = nullptr;
    t.Click("OkButton");
    ASSERT_TRUE(t.Find<QTimer>("StepTimer")->isActive());
    int stepAtOpen = -1, stepBeforeAnswer = -1;
    QString asked;
    // Timers fire in the box's own loop, not inside another timer's call.
    QTimer::singleShot(0, [&] { stepAtOpen = t.game.TurnStep; });
    QTimer::singleShot(300, [&] {  // many ticks of the step timer's interval
        stepBeforeAnswer = t.game.TurnStep;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            asked = box->text();
            // Not saving asks once more whether to end: no again.
            QTimer::singleShot(50, [] {
                if (auto* next = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    next->button(QMessageBox::Cancel)->click();
            });
            box->button(QMessageBox::Cancel)->click();
        }
    });
    t.Trigger("QuitEntry");
    EXPECT_EQ(asked, "セーブして終了しますか?");
    EXPECT_GE(stepAtOpen, 2);
    EXPECT_LT(stepAtOpen, 76);
    EXPECT_EQ(stepBeforeAnswer, stepAtOpen);
    EXPECT_TRUE(QTest::qWaitFor([&] { return t.game.TurnStep > stepAtOpen; }, 5000));
}

TEST(QtScreen, HoldPaintsALineThatComesBackIntoView) {
    // A city's headline hides lines 2 and 3; its report then brings line 2
    // back. The player must see the report during its own wait, not only
    // after the next event, or a computer city's report flashes by unseen.
    MainGame t;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(t.window.get()));
    QLabel* line2 = t.Find<QLabel>("Line2");
    std::vector<QColor> painted;
    t.screen.holdWait = [&](double) {
        // What the window system would put on the screen: the window's backing store.
        const auto* image = dynamic_cast<const QImage*>(t.window->backingStore()->paintDevice());
        ASSERT_NE(image, nullptr);
        // The line's top row is its pale orange ground, above the letters.
        painted.push_back(image->pixelColor(line2->mapTo(t.window.get(), QPoint(line2->width() / 2, 0))));
    };
    t.window->Run([](Session& g) {
        ShowMsg(g, "28 マグデブルク 神聖ローマ帝国");
        ShowMsg2(g, "マグデブルクにて兵増強");
        ShowMsg2(g, "マグデブルクで町を建設しました");
    });
    ASSERT_EQ(painted.size(), 3u);
    EXPECT_NE(painted[0], kPaleOrange);  // the headline's wait: line 2 is out of view
    EXPECT_EQ(painted[1], kPaleOrange);
    EXPECT_EQ(painted[2], kPaleOrange);
}

TEST(QtScreen, QtsOwnButtonsSpeakJapanese) {
    EnsureApplication();
    QTranslator* japanese = InstallQtJapanese();
    ASSERT_NE(japanese, nullptr) << "qtbase_ja.qm is missing (package qt6-translations-l10n)";
    QMessageBox box(QMessageBox::Question, "Tarvex", "終了しますか?",
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));  // with its access key
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    // The other tests see Qt as it is without the game's start.
    QCoreApplication::removeTranslator(japanese);
    delete japanese;
}

TEST(QtScreen, BoxesCarryTheTitleTheDefaultButtonAndTheIcon) {
    MainGame t;
    t.screen.autoAnswer = nullptr;
    struct Case {
        Question question;
        QString title;
        QMessageBox::StandardButton defaultButton;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton press;
        Answer expected;
    };
    const Case cases[] = {
        {{"セーブして終了しますか?", "Tarvex", Answer::Cancel, false},
         "Tarvex",
         QMessageBox::Cancel,
         QMessageBox::NoIcon,
         QMessageBox::Ok,
         Answer::Ok},
        {{"本当によろしいですか", "", Answer::Ok, true},
         "Tarvex",
         QMessageBox::Ok,
         QMessageBox::Warning,
         QMessageBox::Cancel,
         Answer::Cancel},
    };
    for (const Case& c : cases) {
        QString title;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QMessageBox::Icon icon = QMessageBox::Critical;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            title = box->windowTitle();
            defaultButton = box->standardButton(box->defaultButton());
            icon = box->icon();
            box->button(c.press)->click();
        });
        EXPECT_EQ(t.screen.Ask(t.game, c.question), c.expected);
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(defaultButton, c.defaultButton);
        EXPECT_EQ(icon, c.icon);
    }
    QString messageTitle;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            messageTitle = box->windowTitle();
            box->accept();
        }
    });
    t.screen.Message(t.game, "セーブはターンのはじめしかできません", "");
    EXPECT_EQ(messageTitle, "Tarvex");
}

TEST(QtScreen, SaveFileLivesBesideTheProgramWhenItsFolderIsWritable) {
    EnsureApplication();
    QtScreen screen;
    Session game;
    const QString path = QString::fromStdString(screen.SaveFilePath(game));
    EXPECT_TRUE(path.endsWith("/Game.dt"));
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(QCoreApplication::applicationDirPath()).absoluteFilePath());
    EXPECT_FALSE(QtScreen::ResolvePage("help/index.html").isEmpty());
    EXPECT_TRUE(QtScreen::ResolvePage("help/no-such-page.html").isEmpty());
}

// The help page with an opener that finds no browser (its exit status 3) tells the
// player where the page is; one that opens it, or keeps running as a browser does,
// says nothing. The game is never held up meanwhile. Each case is judged once the
// opener's watcher has answered, however long the machine takes to get there.
TEST(QtScreen, AHelpPageNoBrowserOpensIsShownAsAPath) {
    EnsureApplication();
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    const QString pidFile = bin.filePath("opener.pid");
    // An opener that ends is waited for, however slowly it runs; one that stays is
    // given a moment, then taken for a browser at work.
    const struct {
        const char* script;
        double patience;
        bool told;
    } cases[] = {
        {"exit 3", 60, true}, {"exit 0", 60, false}, {"echo $$ > \"$TARVEX_OPENER_PID\"; exec sleep 60", 0.3, false}};
    qputenv("TARVEX_OPENER_PID", pidFile.toLocal8Bit());
    for (const auto& [script, patience, told] : cases) {
        QFile opener(bin.filePath("xdg-open"));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly | QIODevice::Truncate));
        opener.write(QByteArray("#!/bin/sh\n") + script + "\n");
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", bin.path().toLocal8Bit() + ":" + path);
        QtScreen screen;
        screen.openerPatience = patience;
        Session game;
        screen.OpenWebPage(game, "help/index.html");
        EXPECT_TRUE(screen.boxLog.empty()) << script;  // nothing waits for the opener
        // The watcher goes once it has answered; the minute is a guard, not a wait.
        QTRY_VERIFY_WITH_TIMEOUT(QCoreApplication::instance()->findChildren<QProcess*>().isEmpty(), 60000);
        EXPECT_EQ(screen.boxLog.size(), told ? 1U : 0U) << script;
        if (told) {
            EXPECT_NE(screen.boxLog[0].find("/help/index.html"), std::string::npos) << screen.boxLog[0];
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w)) box->close();
        }
    }
    // The opener that stayed was still running after the watcher answered for it.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pidFile).size() > 0, 60000);
    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    const pid_t running = pid.readAll().trimmed().toInt();
    ASSERT_GT(running, 0);
    EXPECT_EQ(::kill(running, SIGTERM), 0);
    qputenv("PATH", path);
    qunsetenv("TARVEX_OPENER_PID");
}

}  // namespace
}  // namespace tarvex::ui
