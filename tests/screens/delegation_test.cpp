// Handing the player's cities to the computer and taking them back.
#include "screens/orders/delegation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/turn/cycle.h"
#include "screens/main/ok_step.h"
#include "screens/orders/panels.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::TestGame;
using Names = std::vector<std::string>;

// England holds ロンドン (1), ヨーク (2) and サザンプトン (4); ロンドン's turn has begun.
struct ThreeCities {
    ThreeCities() {
        Session& g = t.game;
        for (int i = 1; i <= kCityCount; ++i)
            if (g.Cities[i].Owner == "イングランド王国" && i != 1 && i != 2 && i != 4)
                g.Cities[i].Owner = "フランス王国";
        BeginTurnOf(1);
        t.screen.Clear();
    }
    // The turn cycle lets `city` act next.
    void BeginTurnOf(int city) {
        t.game.TurnOrder[1] = city;
        PlayCityTurn(t.game, 1);
    }
    TestGame t;
};

TEST(Delegation, ThePlayerKeepsTheLastCityInHisOwnHands) {
    ThreeCities s;
    Session& g = s.t.game;
    auto& m = g.shown.main;
    Form1_mnuInin_Click(g);
    EXPECT_EQ(m.activePanel, Panel::Pic7);
    EXPECT_EQ(m.lblPic7, "委任");
    EXPECT_EQ(m.lstPic7, (Names{"ロンドン", "ヨーク", "サザンプトン"}));
    EXPECT_EQ(m.lstPic7Selected, 0);

    ApplyDelegation(g);
    EXPECT_TRUE(g.Delegated[1]);
    EXPECT_EQ(m.lstPic7, (Names{"ヨーク", "サザンプトン"}));
    EXPECT_EQ(m.lstPic7Selected, -1);
    ApplyDelegation(g);  // nothing selected: nothing happens
    EXPECT_FALSE(g.Delegated[2] || g.Delegated[4]);

    m.lstPic7Selected = 1;
    ApplyDelegation(g);
    EXPECT_TRUE(g.Delegated[4]);
    EXPECT_EQ(m.lstPic7, Names{"ヨーク"});

    m.lstPic7Selected = 0;
    ApplyDelegation(g);
    EXPECT_FALSE(g.Delegated[2]);
    EXPECT_EQ(m.lstPic7, Names{"ヨーク"});
    // The panel stays open throughout.
    EXPECT_EQ(m.activePanel, Panel::Pic7);
    EXPECT_EQ(s.t.screen.Boxes(),
              (Names{"ロンドンを委任しました", "サザンプトンを委任しました", "一都市だけなので委任できません"}));

    // Reopened, the list counts only the city still in the player's hands.
    Form1_mnuInin_Click(g);
    EXPECT_EQ(m.lstPic7, Names{"ヨーク"});
    ApplyDelegation(g);
    EXPECT_FALSE(g.Delegated[2]);
    EXPECT_EQ(s.t.screen.Boxes().back(), "一都市だけなので委任できません");
}

TEST(Delegation, EndingADelegationListsOnlyDelegatedCities) {
    ThreeCities s;
    Session& g = s.t.game;
    auto& m = g.shown.main;
    Form1_mnuKaijyo_Click(g);
    EXPECT_EQ(m.lblPic7, "委任解除");
    EXPECT_TRUE(m.lstPic7.empty());
    EXPECT_EQ(m.lstPic7Selected, -1);
    ApplyDelegation(g);
    EXPECT_TRUE(s.t.screen.Boxes().empty());

    g.Delegated[2] = g.Delegated[4] = true;
    Form1_mnuKaijyo_Click(g);
    EXPECT_EQ(m.lstPic7, (Names{"ヨーク", "サザンプトン"}));
    EXPECT_EQ(m.lstPic7Selected, 0);
    m.lstPic7Selected = 1;
    ApplyDelegation(g);
    EXPECT_FALSE(g.Delegated[4]);
    EXPECT_TRUE(g.Delegated[2]);
    EXPECT_EQ(s.t.screen.Boxes(), Names{"サザンプトンを委任解除しました"});
    // A single delegated city can always be taken back.
    m.lstPic7Selected = 0;
    ApplyDelegation(g);
    EXPECT_FALSE(g.Delegated[2]);
    EXPECT_TRUE(m.lstPic7.empty());

    // Cancel goes back to the top menu; the city whose turn it is still gives its order.
    Form1_cmdCancel_Click(g);
    EXPECT_EQ(m.activePanel, Panel::Pic2);
    EXPECT_EQ(g.CurrentCity, 1);
}

TEST(Delegation, LostCitiesLeaveBothListsAndComeBackDelegated) {
    ThreeCities s;
    Session& g = s.t.game;
    auto& m = g.shown.main;
    g.Delegated[4] = true;
    g.Cities[4].Owner = "フランス王国";  // conquered
    Form1_mnuInin_Click(g);
    EXPECT_EQ(m.lstPic7, (Names{"ロンドン", "ヨーク"}));
    Form1_mnuKaijyo_Click(g);
    EXPECT_TRUE(m.lstPic7.empty());
    g.Cities[4].Owner = "イングランド王国";  // won back
    Form1_mnuKaijyo_Click(g);
    EXPECT_EQ(m.lstPic7, Names{"サザンプトン"});
    EXPECT_FALSE(IsPlayerRun(g, 4));
}

// London falls while York and Southampton are delegated: no turn of his own
// would ever open the menu again, so the next season hands them back, once.
TEST(Delegation, EndsAtTheSeasonsStartWhenNoCityIsLeftInHisHands) {
    for (const bool londonFalls : {true, false}) {
        ThreeCities s;
        Session& g = s.t.game;
        g.Delegated[2] = g.Delegated[4] = true;
        if (londonFalls) g.Cities[1].Owner = "フランス王国";
        for (int season = 0; season < 2; ++season) {
            g.TurnStep = kSeasonEndStep;
            Form1_cmdOk_Click(g);
        }
        ASSERT_FALSE(g.Ended);
        EXPECT_EQ(s.t.screen.Boxes(), londonFalls ? Names{"ヨーク、サザンプトンを委任解除しました"} : Names{});
        EXPECT_EQ(IsPlayerRun(g, 2), londonFalls);
        EXPECT_EQ(IsPlayerRun(g, 4), londonFalls);
    }
    // A game without the main window (the simulator's) keeps its delegation.
    ThreeCities s;
    Session& g = s.t.game;
    g.Delegated[1] = g.Delegated[2] = g.Delegated[4] = true;
    g.shown.main.loaded = false;
    g.TurnStep = kSeasonEndStep;
    Form1_cmdOk_Click(g);
    EXPECT_TRUE(g.Delegated[1] && g.Delegated[2] && g.Delegated[4]);
    EXPECT_TRUE(s.t.screen.Boxes().empty());
}

TEST(Delegation, MenuDoesNothingOutsideThePlayersTurn) {
    TestGame t;
    Session& g = t.game;
    ASSERT_FALSE(g.shown.main.mnuIninKaijyo);
    Form1_mnuInin_Click(g);
    Form1_mnuKaijyo_Click(g);
    EXPECT_EQ(g.shown.main.activePanel, Panel::Pic1);
    EXPECT_TRUE(g.shown.main.lstPic7.empty());
    EXPECT_EQ(g.shown.main.lblPic7, "");
    ApplyDelegation(g);
    EXPECT_TRUE(t.screen.Boxes().empty());
}

TEST(Delegation, ADelegatedCityIsPlayedByTheComputerFromItsNextTurn) {
    ThreeCities s;
    Session& g = s.t.game;
    auto& m = g.shown.main;
    Form1_mnuInin_Click(g);
    m.lstPic7Selected = 1;  // ヨーク
    ApplyDelegation(g);
    ASSERT_TRUE(g.Delegated[2]);
    Form1_cmdCancel_Click(g);
    FinishCommand(g);  // ロンドン's order is done
    EXPECT_FALSE(m.mnuIninKaijyo);

    s.t.screen.Clear();
    s.BeginTurnOf(2);
    EXPECT_EQ(s.t.screen.Lines(1), Names{"2 ヨーク イングランド王国"});
    EXPECT_EQ(m.activePanel, Panel::Pic1);
    EXPECT_EQ(g.CurrentCity, 1);
    EXPECT_FALSE(m.mnuIninKaijyo);
    EXPECT_EQ(g.Cities[2].Owner, "イングランド王国");

    // Taken back, it waits for the player's order again.
    s.BeginTurnOf(1);
    Form1_mnuKaijyo_Click(g);
    ApplyDelegation(g);
    EXPECT_FALSE(g.Delegated[2]);
    Form1_cmdCancel_Click(g);
    FinishCommand(g);
    s.t.screen.Clear();
    s.BeginTurnOf(2);
    EXPECT_EQ(s.t.screen.Lines(1), (Names{"2 ヨーク イングランド王国", "あなたの番です ヨーク国"}));
    EXPECT_EQ(m.activePanel, Panel::Pic2);
    EXPECT_EQ(g.CurrentCity, 2);
    EXPECT_FALSE(g.AdvanceReady);
}

}  // namespace
}  // namespace tarvex
