// The starting world, the neighbour relation, the city refresh and the new game.
#include <gtest/gtest.h>

#include <set>

#include "rules/economy/market.h"
#include "rules/turn/messages.h"
#include "rules/world/numbers.h"
#include "rules/world/refresh.h"
#include "rules/world/scenario.h"
#include "screens/main/main_window.h"
#include "screens/session/keycodes.h"
#include "screens/settings/settings.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::TestGame;

TEST(Scenario, StartingWorldHoldsTheFactsOtherRulesRelyOn) {
    TestGame t;
    Session& g = t.game;
    EXPECT_EQ(g.Cities[35].Owner, "ローマ");
    EXPECT_EQ(g.Nations[11].Name, "ローマ");
    EXPECT_EQ(NationOf(g, 35), &g.Nations[11]);
    std::set<std::string> names;
    int englishTroops = 0;
    for (int i = 1; i <= kCityCount; ++i) {
        const City& c = g.Cities[i];
        EXPECT_EQ(c.Id, i);
        EXPECT_NE(NationOf(g, i), nullptr) << i;
        EXPECT_NE(c.Owner, "オランダ");
        EXPECT_TRUE(names.insert(c.Name).second) << c.Name;
        if (c.Owner == "イングランド王国") englishTroops += c.Troops;
        const bool rich = i == 46 || i == 48;
        EXPECT_EQ(c.Food, rich ? 30 : 10) << i;
        EXPECT_EQ(c.Gold, rich ? 30 : 10) << i;
        const int civility = (i == 71 || i == 73) ? 25 : i == 75 ? 10 : 50;
        EXPECT_EQ(c.Civility, civility) << i;
    }
    EXPECT_EQ(englishTroops, 40);
    for (int i = 27; i <= 29; ++i) {
        EXPECT_EQ(g.Cities[i].Town, 15 + 5 * (i - 27));
        EXPECT_EQ(g.Cities[i].Castle, 15 + 5 * (i - 27));
    }
    std::set<std::string> nations;
    for (int n = 1; n <= kNationCount; ++n) {
        EXPECT_EQ(g.Nations[n].Id, n);
        EXPECT_TRUE(nations.insert(g.Nations[n].Name).second);
        EXPECT_EQ(g.Nations[n].Wins + g.Nations[n].Losses, 0);
    }
    EXPECT_EQ(g.Nations[34].Name, "オランダ");
}

TEST(Neighbours, RelationIsDirectedWithSevenOneWayLinks) {
    int entries = 0;
    std::set<std::pair<int, int>> oneWay;
    for (int from = 1; from <= kCityCount; ++from) {
        const auto& list = kNeighbours[from];
        EXPECT_GE(list.size(), 1u);
        EXPECT_LE(list.size(), 6u);
        EXPECT_FALSE(IsNeighbour(from, from));
        for (int to : list) {
            ++entries;
            if (!IsNeighbour(to, from)) oneWay.insert({from, to});
        }
    }
    EXPECT_EQ(entries, 253);
    const std::set<std::pair<int, int>> expected{{7, 8}, {25, 26}, {26, 19}, {41, 43}, {42, 41}, {55, 57}, {56, 38}};
    EXPECT_EQ(oneWay, expected);
    for (int lonely : {37, 49, 59, 64}) EXPECT_EQ(kNeighbours[lonely].size(), 1u);
    EXPECT_TRUE(IsNeighbour(1, 16));
    EXPECT_TRUE(IsNeighbour(16, 1));
    EXPECT_TRUE(IsNeighbour(50, 52) && IsNeighbour(52, 50));
    EXPECT_TRUE(IsNeighbour(63, 65) && IsNeighbour(66, 65) && IsNeighbour(63, 67) && IsNeighbour(66, 67));
    for (auto [from, to] : {std::pair{0, 1}, {76, 1}, {-1, 2}, {1, 0}, {1, 76}, {1000, 1000}})
        EXPECT_FALSE(IsNeighbour(from, to)) << from << "->" << to;
    // Every city reaches every other.
    std::set<int> reached{1};
    std::vector<int> todo{1};
    while (!todo.empty()) {
        int c = todo.back();
        todo.pop_back();
        for (int n : kNeighbours[c])
            if (reached.insert(n).second) todo.push_back(n);
    }
    EXPECT_EQ(reached.size(), 75u);
}

TEST(RefreshCity, ReportsOutOfRangeValuesInOrderWithoutChangingThem) {
    TestGame t;
    Session& g = t.game;
    g.Cities[5].Food = -3;
    RefreshCity(g, 5);
    EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{"MINエラー米-3:999"});
    EXPECT_EQ(g.Cities[5].Food, -3);
    EXPECT_EQ(g.shown.main.panels[5].Kome, "-3");

    t.screen.Clear();
    g.Cities[6].Gold = 999;
    g.Cities[6].Troops = 0;
    RefreshCity(g, 6);
    EXPECT_TRUE(t.screen.Boxes().empty());

    g.Cities[7].Troops = 1005;
    g.Cities[7].Arms = 1200;
    g.Cities[7].Gold = -1;
    RefreshCity(g, 7);
    EXPECT_EQ(t.screen.Boxes(),
              (std::vector<std::string>{"MAXエラー兵 1005:999", "MAXエラー武装 1200:999", "MINエラー金-1:999"}));
}

TEST(RefreshCity, PanelShowsValuesAndMarksThePlayersCities) {
    TestGame t;
    Session& g = t.game;
    const CityPanel& london = g.shown.main.panels[1];
    EXPECT_TRUE(london.playerColour);
    EXPECT_EQ(london.Num, "1");
    EXPECT_EQ(london.Kuni, "ロンドン");
    EXPECT_EQ(london.Ryoshu, "イングランド王国");
    EXPECT_EQ(london.Hei, "20");
    EXPECT_EQ(london.Busou, "35");
    EXPECT_FALSE(g.shown.main.panels[3].playerColour);
    SetOwner(g, 3, "イングランド王国");  // conquered
    SetOwner(g, 1, "フランス王国");      // lost
    RefreshCity(g, 3);
    RefreshCity(g, 1);
    EXPECT_TRUE(g.shown.main.panels[3].playerColour);
    EXPECT_FALSE(g.shown.main.panels[1].playerColour);
    // Delegation does not change the colour.
    g.Delegated[2] = true;
    RefreshCity(g, 2);
    EXPECT_TRUE(g.shown.main.panels[2].playerColour);
}

TEST(NewGame, StartsAtYearOneSpringWithTheFirstHeadline) {
    testing::ScriptedScreen screen;
    MersenneRandom random(3);
    Session g(screen, random);
    SetDefaultSettings(g);
    SetGame_Form_Load(g);
    SetGame_Command1_Click(g);
    Form1_Form_Load(g);
    EXPECT_EQ(g.Year, 1);
    EXPECT_EQ(g.Season, 1);
    EXPECT_EQ(MainCaption(g), "1年目の春");
    EXPECT_TRUE(g.TurnStart);
    EXPECT_TRUE(g.AdvanceReady);
    EXPECT_EQ(g.TurnStep, 1);
    EXPECT_EQ(g.Title, "Tarvex");
    EXPECT_EQ(screen.Lines(1), std::vector<std::string>{"1年目、春です"});
    EXPECT_TRUE(g.shown.main.lblOkVisible);
    EXPECT_EQ(g.shown.main.activePanel, Panel::Pic1);
    EXPECT_FALSE(g.shown.main.mnuIninKaijyo);
    for (int i = 1; i <= kCityCount; ++i) EXPECT_FALSE(g.shown.main.panels[i].expanded);
    EXPECT_EQ(ShownPrices(g).kome, FormatNumber(g.FoodPrice));
}

TEST(DrawPrices, ReachesExactlyTheTwentyFiftyFiftyPriceSteps) {
    testing::TestGame t;
    t.UseScripted();
    std::set<std::string> food, troops, arms;
    for (int i = 0; i < 50; ++i) {
        // Draw values across each step, including the very edges of [0, 1).
        for (double r : {i / 50.0, (i + 0.999) / 50.0}) {
            t.scripted.Push(r);
            t.scripted.Push(r);
            t.scripted.Push(r);
            DrawPrices(t.game);
            food.insert(ShownPrices(t.game).kome);
            troops.insert(ShownPrices(t.game).hei);
            arms.insert(ShownPrices(t.game).buki);
        }
    }
    std::set<std::string> wantFood, wantTroops, wantArms;
    for (int k = 1; k <= 20; ++k) wantFood.insert(FormatNumber(k / 10.0 + 0.3));
    for (int k = 1; k <= 50; ++k) wantTroops.insert(FormatNumber(k / 10.0 + 2));
    for (int k = 1; k <= 50; ++k) wantArms.insert(FormatNumber(k / 10.0 + 5));
    EXPECT_EQ(food, wantFood);
    EXPECT_EQ(troops, wantTroops);
    EXPECT_EQ(arms, wantArms);
    EXPECT_TRUE(food.count("0.7"));
    EXPECT_TRUE(arms.count("10"));
    EXPECT_TRUE(troops.count("7"));
    for (const auto& s : food) EXPECT_LE(s.size(), 3u) << s;  // no 0.30000000000000004
}

TEST(Settings, AcceptAppliesNameSpeedAndCheckBox) {
    struct Case {
        std::string typed;
        int option;
        int check;
        std::string player;
        double wait;
        bool autoAdvance;
    };
    for (const Case& c : {Case{"", 2, 0, "*", 0.5, true}, Case{"ナポリ王国", 0, 1, "ナポリ王国", 0.1, false},
                          Case{"どこでもない国", 1, 0, "どこでもない国", 0.2, true},
                          Case{"フランス王国", 3, 0, "フランス王国", 1.0, true},
                          Case{"フランス王国", -1, 0, "フランス王国", 1.0, true}}) {
        TestGame t;
        Session& g = t.game;
        SetGame_Form_Load(g);
        SetGame_Text1_Change(g, c.typed);
        SetGame_Option1_Click(g, c.option);
        SetGame_Check1_Click(g, c.check);
        SetGame_Command1_Click(g);
        EXPECT_EQ(g.PlayerNation, c.player);
        EXPECT_EQ(g.NationChoice, c.player);
        EXPECT_DOUBLE_EQ(g.MessageWait, c.wait);
        EXPECT_EQ(g.AutoAdvance, c.autoAdvance);
        EXPECT_EQ(g.EnterAdvanceSetting, c.check);
        // Reopening shows what was accepted.
        SetGame_Form_Load(g);
        EXPECT_EQ(g.shown.settings.text1, c.player);
        EXPECT_EQ(g.shown.settings.option, c.option);
        EXPECT_EQ(g.shown.settings.check, c.check);
    }
}

TEST(Settings, CheckBoxActsAtOnceAndDefaultsAskFirst) {
    TestGame t;
    Session& g = t.game;
    SetGame_Form_Load(g);
    SetGame_Check1_Click(g, 1);
    EXPECT_TRUE(g.EnterAdvance);
    EXPECT_EQ(g.EnterAdvanceSetting, 0);  // nothing else until accept
    SetGame_Text1_Change(g, "トルコ");
    t.screen.answers = {Answer::Cancel};
    SetGame_Command2_Click(g);
    EXPECT_EQ(g.shown.settings.text1, "トルコ");
    SetGame_Command2_Click(g);
    EXPECT_EQ(t.screen.Boxes().back(), "初期設定に戻します。\nよろしいですか?");
    EXPECT_EQ(g.shown.settings.text1, "イングランド王国");
    EXPECT_EQ(g.shown.settings.option, 2);
    EXPECT_EQ(g.shown.settings.check, 0);
    // Keypad: 1..4 choose a speed, 5 toggles the box, 6 focuses the name.
    SetGame_Form_KeyDown(g, KeyPad(1));
    EXPECT_EQ(g.shown.settings.option, 0);
    SetGame_Form_KeyDown(g, KeyPad(4));
    EXPECT_EQ(g.shown.settings.option, 3);
    SetGame_Form_KeyDown(g, KeyPad(5));
    EXPECT_EQ(g.shown.settings.check, 1);
    SetGame_Form_KeyDown(g, KeyPad(5));
    EXPECT_EQ(g.shown.settings.check, 0);
    const int serial = g.shown.settings.focus.serial;
    SetGame_Form_KeyDown(g, KeyPad(6));
    EXPECT_EQ(g.shown.settings.focus.control, Control::Text1);
    EXPECT_EQ(g.shown.settings.focus.serial, serial + 1);
}

TEST(Settings, ClosingBeforeTheFirstAcceptEndsTheProgram) {
    testing::ScriptedScreen screen;
    MersenneRandom random(1);
    Session g(screen, random);
    SetDefaultSettings(g);
    SetGame_Form_Load(g);
    EXPECT_TRUE(testing::EndsProgram([&] { SetGame_Form_Close(g); }));
    TestGame later;
    SetGame_Form_Load(later.game);
    EXPECT_FALSE(testing::EndsProgram([&] { SetGame_Form_Close(later.game); }));
}

TEST(FocusCity, ThePanelIsWhollyInViewAndStandsOffTheEdgesWhereTheMapAllows) {
    TestGame t;
    Session& g = t.game;
    // The default window, and a large one.
    for (const auto& [width, height] : {std::pair{14775, 6915}, std::pair{28500, 15000}}) {
        g.shown.main.viewWidth = width;
        g.shown.main.viewHeight = height;
        for (bool expanded : {false, true})
            for (int city = 1; city <= kCityCount; ++city) {
                g.shown.main.panels[city].expanded = expanded;
                FocusCity(g, city);
                const int x = kPanelPositions[city].left + g.shown.main.hScroll;
                const int y = kPanelPositions[city].top + g.shown.main.vScroll;
                const int h = expanded ? kPanelExpanded : kPanelCollapsed;
                EXPECT_TRUE(x >= 0 && x + kPanelWidth <= width && y >= 0 && y + h <= height)
                    << city << " at " << x << "," << y << " in " << width << "x" << height;
                // Off the edges by the focus offset unless the bars or the view stop it.
                if (g.shown.main.hScroll < 0 && g.shown.main.hScroll > kScrollMax && x + kPanelWidth < width) {
                    EXPECT_EQ(x, kFocusOffset) << city;
                }
                if (g.shown.main.vScroll < 0 && g.shown.main.vScroll > kScrollMax && y + h < height) {
                    EXPECT_EQ(y, kFocusOffset) << city;
                }
            }
    }
    // Lisbon lies near the map's left edge and far down: only its top stands off the edge.
    g.shown.main.viewWidth = 14775;
    g.shown.main.viewHeight = 6915;
    g.shown.main.panels[7].expanded = false;
    FocusCity(g, 7);
    EXPECT_EQ(g.shown.main.hScroll, 0);
    EXPECT_EQ(g.shown.main.vScroll, kFocusOffset - kPanelPositions[7].top);
}

TEST(MapView, PanelsFoldOneByOneAndAllAtOnce) {
    TestGame t;
    Session& g = t.game;
    TogglePanel(g, 3);
    EXPECT_TRUE(g.shown.main.panels[3].expanded);
    TogglePanel(g, 3);
    EXPECT_FALSE(g.shown.main.panels[3].expanded);
    TogglePanel(g, 4);
    Form1_mnuOpen_Click(g);
    EXPECT_FALSE(g.shown.main.mnuOpen);
    EXPECT_TRUE(g.shown.main.mnuClose);
    for (int i = 1; i <= kCityCount; ++i) EXPECT_TRUE(g.shown.main.panels[i].expanded);
    Form1_mnuClose_Click(g);
    EXPECT_TRUE(g.shown.main.mnuOpen);
    EXPECT_FALSE(g.shown.main.mnuClose);
    for (int i = 1; i <= kCityCount; ++i) EXPECT_FALSE(g.shown.main.panels[i].expanded);
    CloseHelpPanel(g, kHelpInput);
    EXPECT_FALSE(g.shown.main.helpVisible[kHelpInput]);
    ShowHelpPanel(g, kHelpInput);
    EXPECT_TRUE(g.shown.main.helpVisible[kHelpInput]);
}

TEST(Messages, HeadlineHidesLinesTwoAndThreeAndEachPostingHolds) {
    TestGame t;
    Session& g = t.game;
    ShowMsg3(g, "three");
    ShowMsg2(g, "two");
    EXPECT_TRUE(g.Lines[1].visible);
    EXPECT_TRUE(g.Lines[2].visible);
    EXPECT_EQ(g.Lines[2].text, "three");
    ShowMsg(g, "one");
    EXPECT_TRUE(g.Lines[0].visible);
    EXPECT_FALSE(g.Lines[1].visible);
    EXPECT_FALSE(g.Lines[2].visible);
    EXPECT_EQ(t.screen.log.size(), 3u);
    EXPECT_TRUE(testing::EndsProgram([&] { EndGame(g); }));
    EXPECT_EQ(t.screen.Boxes().back(), "終了です");
    EXPECT_EQ(t.screen.log.back().kind, testing::Shown::End);
}

TEST(Numbers, ConversionsAndTypedAmounts) {
    EXPECT_EQ(Nearest(2.5), 2);
    EXPECT_EQ(Nearest(3.5), 4);
    EXPECT_EQ(Nearest(-0.5), 0);
    EXPECT_EQ(FormatNumber(0.4 + 0.3), "0.7");
    EXPECT_EQ(FormatNumber(7.0), "7");
    EXPECT_EQ(FormatNumber(5.1), "5.1");
    EXPECT_EQ(FormatNumber(1.0 / 3), "0.333333333333333");
    // Any magnitude is written whole, never cut short.
    EXPECT_EQ(FormatNumber(1e300).size(), 301u);
    EXPECT_EQ(FormatNumber(-1e-300).substr(0, 4), "-0.0");
    EXPECT_EQ(ParseRoundedAmount("12.5"), 12);
    EXPECT_EQ(ParseRoundedAmount("13.5"), 14);
    EXPECT_EQ(ParseRoundedAmount(" 40 "), 40);
    EXPECT_EQ(ParseRoundedAmount("１２０"), 120);
    EXPECT_EQ(ParseRoundedAmount("－５"), -5);
    EXPECT_EQ(ParseRoundedAmount(".5"), 0);
    EXPECT_EQ(ParseFlooredAmount("2.9"), 2);
    EXPECT_EQ(ParseFlooredAmount("-0.5"), -1);
    for (const char* bad : {"", "  ", "abc", "12a", "1e3", "--1", "+-1", "99999999999", "inf", "nan", "1.2.3"}) {
        EXPECT_FALSE(ParseRoundedAmount(bad)) << bad;
        EXPECT_FALSE(ParseFlooredAmount(bad)) << bad;
    }
    EXPECT_EQ(CharCount("ナポリ王国"), 5);
    EXPECT_EQ(CharCount("abc"), 3);
}

}  // namespace
}  // namespace tarvex
