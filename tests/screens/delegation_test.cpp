// Handing the player's cities to the computer and taking them back.
#include "screens/orders/delegation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/turn/cycle.h"
#include "screens/main/ok_step.h"
#include "screens/orders/panels.h"
#include "support/test_game.h"

namespace tarvex {
namespace {

using testing::TestGame;
using Names = std::vector<std::string>;

// England holds ロンドン (1), ヨーク (2) and サザンプトン (4); ロンドン's turn has begun.
struct ThreeCities {
    ThreeCities() {
        Session& g = t.game;
        for (int i = 1; i <= kCityCount; ++i)
            if (g.Cities[i].Owner == "イングランド王国" && i != 1 && i != 2 && i != 4) SetOwner(g, i, "フランス王国");
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
    OpenDelegation(g);
    EXPECT_EQ(m.activePanel, Panel::DelegationPanel);
    EXPECT_EQ(m.delegationMode, "委任");
    EXPECT_EQ(m.delegationNames, (Names{"ロンドン", "ヨーク", "サザンプトン"}));
    EXPECT_EQ(m.delegationSelected, 0);

    ApplyDelegation(g);
    EXPECT_TRUE(g.Delegated[1]);
    EXPECT_EQ(m.delegationNames, (Names{"ヨーク", "サザンプトン"}));
    EXPECT_EQ(m.delegationSelected, -1);
    ApplyDelegation(g);  // nothing selected: nothing happens
    EXPECT_FALSE(g.Delegated[2] || g.Delegated[4]);

    m.delegationSelected = 1;
    ApplyDelegation(g);
    EXPECT_TRUE(g.Delegated[4]);
    EXPECT_EQ(m.delegationNames, Names{"ヨーク"});

    m.delegationSelected = 0;
    ApplyDelegation(g);
    EXPECT_FALSE(g.Delegated[2]);
    EXPECT_EQ(m.delegationNames, Names{"ヨーク"});
    // The panel stays open throughout.
    EXPECT_EQ(m.activePanel, Panel::DelegationPanel);
    EXPECT_EQ(s.t.screen.Boxes(),
              (Names{"ロンドンを委任しました", "サザンプトンを委任しました", "一都市だけなので委任できません"}));

    // Reopened, the list counts only the city still in the player's hands.
    OpenDelegation(g);
    EXPECT_EQ(m.delegationNames, Names{"ヨーク"});
    ApplyDelegation(g);
    EXPECT_FALSE(g.Delegated[2]);
    EXPECT_EQ(s.t.screen.Boxes().back(), "一都市だけなので委任できません");
}

TEST(Delegation, EndingADelegationListsOnlyDelegatedCities) {
    ThreeCities s;
    Session& g = s.t.game;
    auto& m = g.shown.main;
    OpenEndDelegation(g);
    EXPECT_EQ(m.delegationMode, "委任解除");
    EXPECT_TRUE(m.delegationNames.empty());
    EXPECT_EQ(m.delegationSelected, -1);
    ApplyDelegation(g);
    EXPECT_TRUE(s.t.screen.Boxes().empty());

    g.Delegated[2] = g.Delegated[4] = true;
    OpenEndDelegation(g);
    EXPECT_EQ(m.delegationNames, (Names{"ヨーク", "サザンプトン"}));
    EXPECT_EQ(m.delegationSelected, 0);
    m.delegationSelected = 1;
    ApplyDelegation(g);
    EXPECT_FALSE(g.Delegated[4]);
    EXPECT_TRUE(g.Delegated[2]);
    EXPECT_EQ(s.t.screen.Boxes(), Names{"サザンプトンを委任解除しました"});
    // A single delegated city can always be taken back.
    m.delegationSelected = 0;
    ApplyDelegation(g);
    EXPECT_FALSE(g.Delegated[2]);
    EXPECT_TRUE(m.delegationNames.empty());

    // Cancel goes back to the top menu; the city whose turn it is still gives its order.
    CancelOrder(g);
    EXPECT_EQ(m.activePanel, Panel::TopMenu);
    EXPECT_EQ(g.CurrentCity, 1);
}

TEST(Delegation, LostCitiesLeaveBothListsAndComeBackDelegated) {
    ThreeCities s;
    Session& g = s.t.game;
    auto& m = g.shown.main;
    g.Delegated[4] = true;
    SetOwner(g, 4, "フランス王国");  // conquered
    OpenDelegation(g);
    EXPECT_EQ(m.delegationNames, (Names{"ロンドン", "ヨーク"}));
    OpenEndDelegation(g);
    EXPECT_TRUE(m.delegationNames.empty());
    SetOwner(g, 4, "イングランド王国");  // won back
    OpenEndDelegation(g);
    EXPECT_EQ(m.delegationNames, Names{"サザンプトン"});
    EXPECT_FALSE(IsPlayerRun(g, 4));
}

// London falls while York and Southampton are delegated: no turn of his own
// would ever open the menu again, so the next season hands them back, once.
TEST(Delegation, EndsAtTheSeasonsStartWhenNoCityIsLeftInHisHands) {
    for (const bool londonFalls : {true, false}) {
        ThreeCities s;
        Session& g = s.t.game;
        g.Delegated[2] = g.Delegated[4] = true;
        if (londonFalls) SetOwner(g, 1, "フランス王国");
        for (int season = 0; season < 2; ++season) {
            g.TurnStep = kSeasonEndStep;
            TakeNextStep(g);
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
    TakeNextStep(g);
    EXPECT_TRUE(g.Delegated[1] && g.Delegated[2] && g.Delegated[4]);
    EXPECT_TRUE(s.t.screen.Boxes().empty());
}

TEST(Delegation, MenuDoesNothingOutsideThePlayersTurn) {
    TestGame t;
    Session& g = t.game;
    ASSERT_FALSE(g.shown.main.delegationMenu);
    OpenDelegation(g);
    OpenEndDelegation(g);
    EXPECT_EQ(g.shown.main.activePanel, Panel::IdlePanel);
    EXPECT_TRUE(g.shown.main.delegationNames.empty());
    EXPECT_EQ(g.shown.main.delegationMode, "");
    ApplyDelegation(g);
    EXPECT_TRUE(t.screen.Boxes().empty());
}

TEST(Delegation, ADelegatedCityIsPlayedByTheComputerFromItsNextTurn) {
    ThreeCities s;
    Session& g = s.t.game;
    auto& m = g.shown.main;
    OpenDelegation(g);
    m.delegationSelected = 1;  // ヨーク
    ApplyDelegation(g);
    ASSERT_TRUE(g.Delegated[2]);
    CancelOrder(g);
    FinishCommand(g);  // ロンドン's order is done
    EXPECT_FALSE(m.delegationMenu);

    s.t.screen.Clear();
    s.BeginTurnOf(2);
    EXPECT_EQ(s.t.screen.Lines(1), Names{"2 ヨーク イングランド王国"});
    EXPECT_EQ(m.activePanel, Panel::IdlePanel);
    EXPECT_EQ(g.CurrentCity, 1);
    EXPECT_FALSE(m.delegationMenu);
    EXPECT_EQ(g.Cities[2].Owner, "イングランド王国");

    // Taken back, it waits for the player's order again.
    s.BeginTurnOf(1);
    OpenEndDelegation(g);
    ApplyDelegation(g);
    EXPECT_FALSE(g.Delegated[2]);
    CancelOrder(g);
    FinishCommand(g);
    s.t.screen.Clear();
    s.BeginTurnOf(2);
    EXPECT_EQ(s.t.screen.Lines(1), (Names{"2 ヨーク イングランド王国", "あなたの番です ヨーク国"}));
    EXPECT_EQ(m.activePanel, Panel::TopMenu);
    EXPECT_EQ(g.CurrentCity, 2);
    EXPECT_FALSE(g.AdvanceReady);
}

}  // namespace
}  // namespace tarvex
