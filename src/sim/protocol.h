// The line protocol: a player's nation commanded by another program, one JSON
// object a line each way, and the decisions of a game recorded and replayed.
#pragma once

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "rules/orders/player.h"

namespace tarvex::sim {

inline constexpr const char* kProtocolName = "tarvex-lines";
inline constexpr int kProtocolVersion = 1;
// A line longer than this is refused unread: no answer is anywhere near it.
inline constexpr std::size_t kMostLineBytes = 64 * 1024;

// What the player sees when he is asked: the calendar and prices, every city
// and nation as the main window and the nation screen show them, the acting
// city or the battle, and the decisions open now with their limits.
nlohmann::ordered_json DescribeRequest(const Game& game, Asked asked);

// A decision in its protocol form, and back. A line that is no decision gives
// an error code ("malformed_json", "unknown_field" ...) and a text saying why.
nlohmann::ordered_json DecisionJson(const Decision& decision);
struct LineError {
    std::string code;
    std::string text;
};
std::optional<Decision> ParseDecision(const std::string& line, LineError& error);

// Message lines, boxes and event lines as the game posts them, kept for the next request.
struct PostedLines {
    std::vector<std::pair<std::string, std::string>> lines;  // kind (L1, L2, L3, BOX, EV), text
};

// A program on the other end of `in` and `out`.
class LinePolicy : public PlayerPolicy {
public:
    LinePolicy(std::istream& in, std::ostream& out, PostedLines& posted) : in_(in), out_(out), posted_(posted) {}
    void Hello(const std::string& player, std::uint64_t seed);
    std::optional<Decision> Decide(const Game& game, Asked asked, const Refusal* refused) override;
    // The last line: why the game ended.
    void End(const Game& game, const std::string& reason, const std::string& winner);

private:
    void Send(const nlohmann::ordered_json& message);
    // What the game posted since the last request, as the next message carries it; then none.
    nlohmann::ordered_json TakeMessages();
    // The next line of input, at most kMostLineBytes; nothing at the end of input.
    std::optional<std::string> ReadLine(bool& tooLong);
    std::istream& in_;
    std::ostream& out_;
    PostedLines& posted_;
    long long requests_ = 0;
};

// Writes every decision another policy makes, one line each, behind a first line that names the game.
class RecordingPolicy : public PlayerPolicy {
public:
    RecordingPolicy(PlayerPolicy& inner, std::ostream& file) : inner_(inner), file_(file) {}
    void Header(const std::string& player, std::uint64_t seed, int years);
    std::optional<Decision> Decide(const Game& game, Asked asked, const Refusal* refused) override;

private:
    PlayerPolicy& inner_;
    std::ostream& file_;
};

// The decisions of a record, in order; gone when they run out.
class ReplayPolicy : public PlayerPolicy {
public:
    explicit ReplayPolicy(std::vector<Decision> decisions) : decisions_(std::move(decisions)) {}
    std::optional<Decision> Decide(const Game& game, Asked asked, const Refusal* refused) override;

private:
    std::vector<Decision> decisions_;
    std::size_t next_ = 0;
};

// Reads a record: its decisions, or an error naming the line that is none.
std::optional<std::vector<Decision>> ReadRecord(const std::string& text, std::string& error);

}  // namespace tarvex::sim
