// What the player is shown to decide by: the question about a name that is no nation.
#include <gtest/gtest.h>

#include "screens/settings/settings.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using testing::TestGame;

TEST(NationChooser, ANameThatIsNoNationIsAskedAboutOnce) {
    struct Case {
        std::string typed;
        Answer answer;
        bool asked, accepted;
        std::string player;
    } cases[] = {
        {"France", Answer::Ok, true, true, "France"},  // the computer plays every city, as the rules say
        {"France", Answer::Cancel, true, false, "イングランド王国"},
        {"", Answer::Cancel, false, true, "*"},
        {"*", Answer::Cancel, false, true, "*"},
        {"フランス王国", Answer::Cancel, false, true, "フランス王国"},
    };
    for (const Case& c : cases) {
        TestGame t;
        Session& g = t.game;
        OpenSettingsScreen(g);
        TypeNationName(g, c.typed);
        const int focus = g.shown.settings.focus.serial;
        t.screen.answers = {c.answer};
        AcceptSettings(g);
        const std::string question = "「France」という国はありません。コンピュータ同士の対戦を観戦しますか?";
        EXPECT_EQ(t.screen.Boxes(), c.asked ? std::vector<std::string>{question} : std::vector<std::string>{});
        EXPECT_TRUE(!c.asked || t.screen.log.back().defaultButton == Answer::Cancel);  // Enter: back to the name
        EXPECT_EQ(g.shown.settings.open, !c.accepted) << c.typed;
        EXPECT_EQ(g.PlayerNation, c.player) << c.typed;
        // Cancel: back in the name box, its text chosen to be typed over.
        EXPECT_EQ(g.shown.settings.focus.serial, focus + !c.accepted) << c.typed;
    }
}

}  // namespace
}  // namespace tarvex
