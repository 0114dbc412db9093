// A nation commanded from outside: the line protocol answers every line and
// never lets a bad one touch the game, a record replays to the same bytes, and
// the bot plays a sound game.
#include "sim/protocol.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "rules/ai/bot.h"
#include "rules/turn/step.h"
#include "sim/simulation.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

using nlohmann::json;
using testing::RulesGame;

std::filesystem::path TempFile(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("tarvex-protocol-test-" + std::to_string(::getpid()) + "-" + name);
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A game of France at the turn of one of its cities.
void ToPlayersTurn(Game& game) {
    while (AdvanceOneStep(game) != StepResult::PlayerToOrder) {
    }
}

// Lines that are no decision, or decisions out of every bound, and a few good
// ones: whatever comes, each is answered, and only an accepted decision changes
// a city.
std::string RandomLine(std::mt19937_64& random) {
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    static const char* keys[] = {"order",  "tactic", "delegate", "end_delegation", "target", "troops", "food", "gold",
                                 "amount", "foo",    ""};
    static const char* orders[] = {"move",       "attack",         "raise_troops", "strengthen_arms", "invest_power",
                                   "build_town", "work_on_castle", "sell_food",    "buy_food",        "do_nothing",
                                   "fly"};
    static const json values[] = {
        0,     1,   -1,   10,      15,   999,           1000,          2147483647, -2147483648LL, 2147483648LL,
        1e300, 2.5, "10", nullptr, true, json::array(), json::object()};
    switch (pick(4)) {
        case 0: {  // bytes
            std::string line;
            for (int i = pick(40); i > 0; --i) line.push_back(static_cast<char>(1 + pick(255)));
            std::erase(line, '\n');
            return line;
        }
        case 1:  // a fragment
            return std::string("{\"order\":\"move\",\"target\":").substr(0, pick(27));
        default: {
            json j = json::object();
            if (pick(4) != 0) j["order"] = orders[pick(11)];
            for (int i = pick(5); i > 0; --i) j[keys[pick(11)]] = values[pick(17)];
            return pick(8) == 0 ? j.dump() + " trailing" : j.dump();
        }
    }
}

TEST(Protocol, EveryLineIsAnsweredAndOnlyAnAcceptedDecisionChangesTheGame) {
    RulesGame t("フランス王国", 5);
    ToPlayersTurn(t.game);
    const Game start = t.game;
    std::mt19937_64 random(11);
    std::string input;
    constexpr int kLines = 3000;
    for (int i = 0; i < kLines; ++i) input += RandomLine(random) + "\n";
    std::istringstream in(input);
    std::ostringstream out;
    sim::PostedLines posted;
    sim::LinePolicy policy(in, out, posted);

    int accepted = 0, refused = 0;
    std::optional<Refusal> refusal;
    while (const auto decision = policy.Decide(t.game, Asked::Order, refusal ? &*refusal : nullptr)) {
        const World before = t.game;
        refusal = GiveDecision(t.game, Asked::Order, *decision);
        if (refusal) {
            ++refused;
            EXPECT_TRUE(before == static_cast<const World&>(t.game)) << sim::DecisionJson(*decision).dump();
        } else {
            ++accepted;
            t.game = start;  // back to the same turn for the next line
        }
    }
    int errors = 0, refusals = 0, requests = 0;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        const json j = json::parse(line);  // every line out is JSON
        errors += j["type"] == "error";
        refusals += j["type"] == "refused";
        requests += j["type"] == "request";
    }
    EXPECT_EQ(refusals, refused);
    EXPECT_EQ(errors + refused + accepted, kLines);
    EXPECT_EQ(requests, kLines + 1);  // each line answered by a request, and the first
    EXPECT_GT(errors, kLines / 2);
    EXPECT_GT(refused + accepted, 0);
}

// A bug report is a seed and a record: the bot's game, recorded, replays to the
// same log, save and chronicle.
TEST(Protocol, ARecordedGameReplaysByteForByte) {
    const auto record = TempFile("game.jsonl"), first = TempFile("first.dt"), second = TempFile("second.dt");
    const auto run = [](std::vector<std::string> args) {
        std::ostringstream out, err;
        const int status = sim::Main(args, out, err);
        EXPECT_EQ(status, 0) << err.str();
        return out.str();
    };
    const std::string played = run({"--bot", "フランス王国", "--seed", "3", "--years", "3", "--log", "--record",
                                    record.string(), "--save", first.string()});
    const std::string replayed = run({"--player", "フランス王国", "--replay", record.string(), "--seed", "3", "--years",
                                      "3", "--log", "--save", second.string()});
    EXPECT_GT(played.size(), 10000U);
    EXPECT_EQ(played, replayed);
    EXPECT_EQ(ReadAll(first), ReadAll(second));
    const auto chronicle = [](std::filesystem::path p) { return ReadAll(p.replace_extension(".chronicle")); };
    EXPECT_EQ(chronicle(first), chronicle(second));
    EXPECT_NE(ReadAll(record).find("\"order\":\"attack\""), std::string::npos);
    // Decisions that end before the game: a clear status, and the position saved.
    std::ostringstream out, err;
    const std::string decisions = ReadAll(record);
    std::filesystem::resize_file(record, decisions.find('\n', decisions.size() / 2) + 1);
    const int status = sim::Main({"--player", "フランス王国", "--replay", record.string(), "--seed", "3", "--years",
                                  "3", "--save", second.string()},
                                 out, err);
    EXPECT_EQ(status, 4);
    EXPECT_NE(err.str().find("ended"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(second));
    for (const auto& p : {record, first, second}) {
        std::filesystem::remove(p);
        std::filesystem::remove(std::filesystem::path(p).replace_extension(".chronicle"));
    }
}

// The bot gives only orders the rules accept and gains ground from France in a few years.
TEST(Bot, PlaysByTheRulesAndGainsGround) {
    struct Counting : BotPlayer {
        int refusals = 0;
        std::optional<Decision> Decide(const Game& game, Asked asked, const Refusal* refused) override {
            refusals += refused != nullptr;
            return BotPlayer::Decide(game, asked, refused);
        }
    } bot;
    RulesGame t("フランス王国", 2);
    struct : testing::ScriptedScreen {
        PlayerPolicy* policy = nullptr;
        void RunBattleScreen(Game& game) override { FightBattleBy(game, *policy); }
    } screen;
    screen.policy = &bot;
    t.game.screen = &screen;
    const auto cities = [&t] {
        int n = 0;
        for (int c = 1; c <= kCityCount; ++c) n += IsPlayers(t.game, c);
        return n;
    };
    const int atStart = cities();
    while (t.game.Year < 5) {
        if (AdvanceOneStep(t.game) == StepResult::PlayerToOrder) {
            ASSERT_TRUE(PlayTurnBy(t.game, bot));
        }
    }
    EXPECT_EQ(bot.refusals, 0);
    EXPECT_GT(cities(), 2 * atStart);
}

}  // namespace
}  // namespace tarvex
