// Long games played by the computer alone: every city stays sound season after season.
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>

#include "rules/port/random.h"
#include "rules/port/screen.h"
#include "rules/turn/step.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

constexpr int kYears = 100;

// Shows nothing and holds for no time; counts the boxes a computer game raises.
class CountingScreen : public NullScreen {
public:
    void Message(Game&, const std::string&, const std::string&) override { ++boxes; }
    int boxes = 0;
};

// The first thing wrong with the world, or an empty text.
std::string FirstFault(const Game& g) {
    static const std::pair<const char*, int City::*> kValues[] = {
        {"Power", &City::Power}, {"Town", &City::Town},     {"Castle", &City::Castle}, {"Food", &City::Food},
        {"Gold", &City::Gold},   {"Troops", &City::Troops}, {"Arms", &City::Arms},     {"Civility", &City::Civility}};
    for (int i = 1; i <= kCityCount; ++i) {
        const City& c = g.Cities[i];
        for (const auto& [name, field] : kValues) {
            const int v = c.*field;
            if (v < 0 || v > kMaxValue) {
                std::ostringstream out;
                out << "city " << i << " " << c.Name << " " << name << " = " << v;
                return out.str();
            }
        }
        if (NationOf(g, i) == nullptr) return "city " + std::to_string(i) + " owned by unknown " + c.Owner;
    }
    return {};
}

struct SoakOutcome {
    int year = 0;
    bool unified = false;
    std::string winner;
};

SoakOutcome PlayAlone(std::uint64_t seed) {
    CountingScreen screen;
    MersenneRandom random(seed);
    Game g(screen, random);
    testing::StartNewGame(g, "");
    EXPECT_EQ(g.PlayerNation, "*");

    // A century is about 30,400 steps; a stuck cycle must not spin forever.
    const long long stepLimit = 2LL * (kYears + 1) * 4 * (kCityCount + 1);
    long long steps = 0;
    while (!g.Ended && g.Year <= kYears && steps < stepLimit) {
        testing::EndsProgram([&] { AdvanceOneStep(g); });
        ++steps;
        const std::string fault = FirstFault(g);
        if (!fault.empty()) {
            ADD_FAILURE() << "seed " << seed << ", year " << g.Year << " season " << g.Season << ": " << fault;
            break;
        }
    }
    EXPECT_LT(steps, stepLimit) << "seed " << seed << ": the season cycle stopped advancing";
    SoakOutcome out;
    out.year = g.Year;
    out.unified = g.Ended;
    if (out.unified) out.winner = g.Cities[1].Owner;
    return out;
}

TEST(Soak, ComputerOnlyGamesKeepEveryCityInRangeForACentury) {
    for (std::uint64_t seed : {1u, 2u, 3u, 4u, 5u}) {
        const SoakOutcome out = PlayAlone(seed);
        if (out.unified)
            std::cout << "[ soak ] seed " << seed << ": " << out.winner << " unified the map in year " << out.year
                      << "\n";
        else
            std::cout << "[ soak ] seed " << seed << ": no unification after " << kYears << " years\n";
        if (!out.unified) {
            EXPECT_GT(out.year, kYears) << "seed " << seed;
        }
    }
}

}  // namespace
}  // namespace tarvex
