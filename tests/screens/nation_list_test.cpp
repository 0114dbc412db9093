// The nation information screen's lines and the choice of a nation in them.
#include "screens/nation/nation_list.h"

#include <gtest/gtest.h>

#include "screens/main/main_window.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

using testing::TestGame;

const std::string kIdeoSpace = "\u3000";

TEST(NationLines, HeaderKeepsItsColumnsExactly) {
    EXPECT_EQ(NationHeaderLine(), "国名\t" + std::string(28, ' ') +
                                      "政治  戦争  戦闘      勝     負     通     突      包      射      防");
}

TEST(NationLines, NameIsPaddedToItsColumnAndCountsHaveThreeDigits) {
    Nation naples;
    naples.Name = "ナポリ王国";
    naples.Policy = "普通";
    naples.Stance = "普通";
    naples.BestTactic = "通常";
    naples.Wins = 3;
    naples.Losses = 1;
    naples.TacticCount = {0, 2, 1, 0, 1, 0};
    EXPECT_EQ(NationLine(naples), "ナポリ王国" + std::string(18, ' ') + "\t普通" + kIdeoSpace + "普通" + kIdeoSpace +
                                      "通常     003    001    002    001    000    001    000    ");

    Nation wide = naples;
    wide.Name = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮ";  // 14 characters: the column is full
    wide.Wins = 1234;
    wide.Losses = 0;
    const std::string line = NationLine(wide);
    EXPECT_EQ(line.rfind(wide.Name + "\t普通", 0), 0u) << line;
    EXPECT_NE(line.find("     1234    000    002"), std::string::npos) << line;

    Nation longer = naples;
    longer.Name = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ";  // beyond the column: no padding at all
    EXPECT_EQ(NationLine(longer).rfind(longer.Name + "\t", 0), 0u);
}

TEST(NationLines, NewGameListsEveryNationInOrderWithNoBattlesYet) {
    TestGame t;
    const auto lines = NationLines(t.game);
    ASSERT_EQ(lines.size(), 34u);
    std::string zeros;
    for (int i = 0; i < 7; ++i) zeros += "000    ";
    for (int n = 1; n <= kNationCount; ++n) {
        const Nation& nation = t.game.Nations[n];
        const std::string& line = lines[n - 1];
        EXPECT_EQ(line.rfind(nation.Name + " ", 0), 0u) << line;
        EXPECT_NE(line.find("\t" + nation.Policy + kIdeoSpace + nation.Stance + kIdeoSpace + nation.BestTactic +
                            "     " + zeros),
                  std::string::npos)
            << line;
        EXPECT_EQ(line.size() - line.rfind(zeros), zeros.size()) << line;
    }
}

TEST(NationLines, ChoosingANationScrollsToItsHighestNumberedCity) {
    TestGame t;
    Session& g = t.game;
    // The Dutch hold nothing at the start; give them two distant cities.
    SetOwner(g, 3, "オランダ");
    SetOwner(g, 40, "オランダ");
    Session alone = g;
    FocusCity(alone, 40);
    Session first = g;
    FocusCity(first, 3);
    ASSERT_NE(std::pair(alone.shown.main.hScroll, alone.shown.main.vScroll),
              std::pair(first.shown.main.hScroll, first.shown.main.vScroll));

    ShowNationOnMap(g, NationLines(g)[33]);
    EXPECT_EQ(g.shown.main.hScroll, alone.shown.main.hScroll);
    EXPECT_EQ(g.shown.main.vScroll, alone.shown.main.vScroll);

    // A name that fills its column has no space after it, only the tab.
    g.shown.main.hScroll = g.shown.main.vScroll = 0;
    for (int c : {3, 40}) SetOwner(g, c, "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮ");
    g.Nations[34].Name = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮ";
    ShowNationOnMap(g, NationLines(g)[33]);
    EXPECT_EQ(g.shown.main.hScroll, alone.shown.main.hScroll);
    EXPECT_EQ(g.shown.main.vScroll, alone.shown.main.vScroll);

    // A nation with no city leaves the map where it is.
    g.shown.main.hScroll = -1234;
    g.shown.main.vScroll = -2345;
    ShowNationOnMap(g, NationLines(g)[12]);  // ナポリ王国 still holds 38 and 39
    EXPECT_NE(g.shown.main.hScroll, -1234);
    SetOwner(g, 38, "ローマ");
    SetOwner(g, 39, "ローマ");
    g.shown.main.hScroll = -1234;
    g.shown.main.vScroll = -2345;
    ShowNationOnMap(g, NationLines(g)[12]);
    EXPECT_EQ(g.shown.main.hScroll, -1234);
    EXPECT_EQ(g.shown.main.vScroll, -2345);
}

}  // namespace
}  // namespace tarvex
