// The line protocol: requests as the player sees the game, decisions read and
// checked strictly, refusals and errors answered with the request again.
#include "sim/protocol.h"

#include <array>
#include <cmath>
#include <istream>
#include <limits>
#include <ostream>
#include <sstream>

#include "rules/combat/tables.h"
#include "rules/economy/invest.h"
#include "rules/world/numbers.h"
#include "rules/world/scenario.h"

namespace tarvex::sim {

using json = nlohmann::ordered_json;

namespace {

// The orders by their protocol names, numbered as the rules number them (kMove .. kDoNothing).
constexpr std::array<const char*, kDoNothing + 1> kOrderNames{
    "",           "move",           "attack",    "raise_troops", "strengthen_arms", "invest_power",
    "build_town", "work_on_castle", "sell_food", "buy_food",     "do_nothing"};

int OrderKindNamed(const std::string& name) {
    for (int k = kMove; k <= kDoNothing; ++k)
        if (name == kOrderNames[k]) return k;
    return 0;
}

// A price as the market box shows it (0.8, not 0.7999999999999999).
double Shown(double price) { return std::stod(FormatNumber(price)); }

std::string Dump(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

json CityJson(const Game& game, int id) {
    const City& c = game.Cities[id];
    return {{"id", id},
            {"name", c.Name},
            {"owner", c.Owner},
            {"power", c.Power},
            {"town", c.Town},
            {"castle", c.Castle},
            {"food", c.Food},
            {"gold", c.Gold},
            {"troops", c.Troops},
            {"arms", c.Arms},
            {"civility", c.Civility},
            {"delegated", game.Delegated[id]},
            {"neighbours", NeighboursOf(id)}};
}

json NationJson(const Game& game, int id) {
    const Nation& n = game.Nations[id];
    json used = json::object();
    for (int t = 1; t <= kTacticCount; ++t) used[TacticName(t)] = n.TacticCount[t];
    return {{"id", id},
            {"name", n.Name},
            {"policy", n.Policy.Text()},
            {"stance", n.Stance.Text()},
            {"favourite_tactic", n.BestTactic.Text()},
            {"wins", n.Wins},
            {"losses", n.Losses},
            {"tactics_used", used}};
}

// The orders the acting city can start now, each with what bounds it.
json OpenOrders(const Game& game, int city) {
    const City& c = game.Cities[city];
    json open = json::object();
    if (!CheckOrderOpens(game, city, kMove))
        open["move"] = {
            {"targets", OrderTargets(game, city, kMove)}, {"troops", c.Troops}, {"food", c.Food}, {"gold", c.Gold}};
    if (!CheckOrderOpens(game, city, kAttack))
        open["attack"] = {{"targets", OrderTargets(game, city, kAttack)},
                          {"troops", c.Troops},
                          {"food", c.Food},
                          {"gold", c.Gold},
                          {"note", "food and gold at least the troops sent"}};
    open["raise_troops"] = {{"price", Shown(game.TroopsPrice)}, {"gold", c.Gold}};
    open["strengthen_arms"] = {{"price", Shown(game.ArmsPrice)}, {"gold", c.Gold}};
    for (const char* name : {"invest_power", "build_town", "work_on_castle"})
        open[name] = {{"least", kMinimumInvestment}, {"most", kMaximumInvestment}, {"gold", c.Gold}};
    open["sell_food"] = {{"price", Shown(game.FoodPrice)}, {"food", c.Food}};
    open["buy_food"] = {{"price", Shown(game.FoodPrice)}, {"gold", c.Gold}};
    open["do_nothing"] = json::object();
    return open;
}

}  // namespace

json DescribeRequest(const Game& game, Asked asked) {
    json request = {
        {"type", "request"},
        {"asked", asked == Asked::Order ? "order" : "tactic"},
        {"year", game.Year},
        {"season", game.Season},
        {"season_name", game.Season >= 1 && game.Season <= 4 ? game.SeasonNames[game.Season] : ""},
        {"player", game.PlayerNation},
        {"prices",
         {{"food", Shown(game.FoodPrice)}, {"arms", Shown(game.ArmsPrice)}, {"troops", Shown(game.TroopsPrice)}}}};
    json cities = json::array();
    for (int c = 1; c <= kCityCount; ++c) cities.push_back(CityJson(game, c));
    json nations = json::array();
    for (int n = 1; n <= kNationCount; ++n) nations.push_back(NationJson(game, n));
    request["cities"] = std::move(cities);
    request["nations"] = std::move(nations);
    if (asked == Asked::Order) {
        const int city = game.CurrentCity;
        request["city"] = city;
        json open = IsValidCity(city) ? OpenOrders(game, city) : json::object();
        std::vector<int> delegable, delegated;
        for (int c = 1; c <= kCityCount; ++c) {
            if (!IsPlayers(game, c)) continue;
            (game.Delegated[c] ? delegated : delegable).push_back(c);
        }
        if (delegable.size() > 1) open["delegate"] = delegable;
        if (!delegated.empty()) open["end_delegation"] = delegated;
        request["open"] = std::move(open);
    } else {
        const BattleState& b = game.Battle;
        const bool defending = IsPlayers(game, b.DefendCity);
        std::vector<int> affordable;
        for (int t = 1; t <= kTacticCount; ++t)
            if (!CheckTactic(game, t)) affordable.push_back(t);
        request["city"] = defending ? b.DefendCity : b.AttackCity;
        request["battle"] = {{"side", defending ? "defence" : "attack"},
                             {"attacker", b.AttackCity},
                             {"defender", b.DefendCity},
                             {"attack_troops", b.AttackTroops},
                             {"defend_troops", IsValidCity(b.DefendCity) ? game.Cities[b.DefendCity].Troops : 0},
                             {"attack_morale", b.AttackMorale},
                             {"defend_morale", b.DefendMorale}};
        json tactics = json::array();
        for (int t = 1; t <= kTacticCount; ++t)
            tactics.push_back({{"tactic", t}, {"name", TacticName(t)}, {"cost_percent", TacticCost(t)}});
        request["open"] = {{"tactic", affordable}, {"tactics", tactics}};
    }
    return request;
}

json DecisionJson(const Decision& d) {
    switch (d.kind) {
        case Decision::Kind::Tactic:
            return {{"tactic", d.tactic}};
        case Decision::Kind::Delegate:
            return {{"delegate", d.city}};
        case Decision::Kind::EndDelegation:
            return {{"end_delegation", d.city}};
        case Decision::Kind::Order:
            break;
    }
    const Order& o = d.order;
    const int kind = o.kind >= kMove && o.kind <= kDoNothing ? o.kind : kDoNothing;
    json j = {{"order", kOrderNames[kind]}};
    if (kind == kMove || kind == kAttack) {
        j["target"] = o.target;
        j["troops"] = o.troops;
        j["food"] = o.food;
        j["gold"] = o.gold;
    } else if (kind != kDoNothing) {
        j["amount"] = o.amount;
    }
    return j;
}

namespace {

// A whole number within the rules' int, or an error saying what it is not.
bool ReadInt(const json& value, const std::string& field, int& out, LineError& error) {
    if (value.is_number_integer()) {
        const bool fits = value.is_number_unsigned() ? value.get<std::uint64_t>() <=
                                                           static_cast<std::uint64_t>(std::numeric_limits<int>::max())
                                                     : value.get<std::int64_t>() >= std::numeric_limits<int>::min() &&
                                                           value.get<std::int64_t>() <= std::numeric_limits<int>::max();
        if (!fits) {
            error = {"out_of_range", "\"" + field + "\" is out of range"};
            return false;
        }
        out = static_cast<int>(value.get<std::int64_t>());
        return true;
    }
    error = {"bad_value", "\"" + field + "\" must be a whole number"};
    return false;
}

std::optional<Decision> ParseOrder(const json& j, LineError& error) {
    if (!j.at("order").is_string()) {
        error = {"bad_value", "\"order\" must be the name of an order"};
        return std::nullopt;
    }
    Decision d;
    d.order.kind = OrderKindNamed(j.at("order").get<std::string>());
    if (d.order.kind == 0) {
        error = {"unknown_order", "no order is named " + j.at("order").dump()};
        return std::nullopt;
    }
    const bool march = d.order.kind == kMove || d.order.kind == kAttack;
    const bool amount = !march && d.order.kind != kDoNothing;
    const std::pair<const char*, int*> fields[] = {{"target", &d.order.target},
                                                   {"troops", &d.order.troops},
                                                   {"food", &d.order.food},
                                                   {"gold", &d.order.gold},
                                                   {"amount", &d.order.amount}};
    for (const auto& [key, value] : j.items()) {
        if (key == "order") continue;
        int* field = nullptr;
        for (const auto& [name, place] : fields)
            if (key == name) field = place;
        const bool fits = field && (key == "amount" ? amount : march);
        if (!fits) {
            error = {"unknown_field", "\"" + key + "\" is no field of the order " + j.at("order").dump()};
            return std::nullopt;
        }
        if (!ReadInt(value, key, *field, error)) return std::nullopt;
    }
    const char* required = march ? "target" : amount ? "amount" : nullptr;
    if (required && !j.contains(required)) {
        error = {"missing_field", std::string("the order ") + j.at("order").dump() + " needs \"" + required + "\""};
        return std::nullopt;
    }
    return d;
}

}  // namespace

std::optional<Decision> ParseDecision(const std::string& line, LineError& error) {
    const json j = json::parse(line, nullptr, false);
    if (j.is_discarded()) {
        error = {"malformed_json", "the line is not JSON"};
        return std::nullopt;
    }
    if (!j.is_object()) {
        error = {"not_an_object", "a decision is one JSON object"};
        return std::nullopt;
    }
    const std::pair<const char*, Decision::Kind> kinds[] = {{"order", Decision::Kind::Order},
                                                            {"tactic", Decision::Kind::Tactic},
                                                            {"delegate", Decision::Kind::Delegate},
                                                            {"end_delegation", Decision::Kind::EndDelegation}};
    int found = 0;
    Decision::Kind kind = Decision::Kind::Order;
    for (const auto& [name, k] : kinds)
        if (j.contains(name)) {
            ++found;
            kind = k;
        }
    if (found != 1) {
        error = {found == 0 ? "missing_field" : "unknown_field",
                 "a decision has exactly one of \"order\", \"tactic\", \"delegate\", \"end_delegation\""};
        return std::nullopt;
    }
    if (kind == Decision::Kind::Order) return ParseOrder(j, error);
    if (j.size() != 1) {
        error = {"unknown_field", "a tactic or a delegation has no other field"};
        return std::nullopt;
    }
    Decision d;
    d.kind = kind;
    const auto only = j.begin();
    if (!ReadInt(*only, only.key(), kind == Decision::Kind::Tactic ? d.tactic : d.city, error)) return std::nullopt;
    return d;
}

void LinePolicy::Send(const json& message) {
    out_ << Dump(message) << '\n';
    out_.flush();
}

nlohmann::ordered_json LinePolicy::TakeMessages() {
    json messages = json::array();
    for (const auto& [kind, text] : posted_.lines) messages.push_back({{"kind", kind}, {"text", text}});
    posted_.lines.clear();
    return messages;
}

void LinePolicy::Hello(const std::string& player, std::uint64_t seed) {
    Send({{"type", "hello"},
          {"protocol", kProtocolName},
          {"version", kProtocolVersion},
          {"player", player},
          {"seed", seed}});
}

std::optional<std::string> LinePolicy::ReadLine(bool& tooLong) {
    tooLong = false;
    std::string line;
    std::istream::int_type c = 0;
    bool any = false;
    while ((c = in_.get()) != std::istream::traits_type::eof()) {
        any = true;
        if (c == '\n') break;
        if (line.size() < kMostLineBytes)
            line.push_back(static_cast<char>(c));
        else
            tooLong = true;
    }
    if (!any) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::optional<Decision> LinePolicy::Decide(const Game& game, Asked asked, const Refusal* refused) {
    if (refused)
        Send({{"type", "refused"},
              {"code", RefusalCodeName(refused->code)},
              {"text", refused->text},
              {"hint", refused->hint}});
    json request = DescribeRequest(game, asked);
    for (;;) {
        request["n"] = ++requests_;
        request["messages"] = TakeMessages();
        Send(request);
        bool tooLong = false;
        const std::optional<std::string> line = ReadLine(tooLong);
        if (!line) return std::nullopt;
        LineError error;
        std::optional<Decision> decision;
        if (tooLong)
            error = {"line_too_long", "a line may hold at most " + std::to_string(kMostLineBytes) + " bytes"};
        else
            decision = ParseDecision(*line, error);
        if (decision && (decision->kind == Decision::Kind::Tactic) != (asked == Asked::Tactic))
            error = {"wrong_decision",
                     asked == Asked::Tactic ? "the battle asks for a tactic" : "the city asks for an order"};
        else if (decision)
            return decision;
        Send({{"type", "error"}, {"code", error.code}, {"text", error.text}});
    }
}

void LinePolicy::End(const Game& game, const std::string& reason, const std::string& winner) {
    const json messages = TakeMessages();
    Send({{"type", "end"},
          {"reason", reason},
          {"winner", winner},
          {"year", game.Year},
          {"season", game.Season},
          {"messages", messages}});
}

void RecordingPolicy::Header(const std::string& player, std::uint64_t seed, int years) {
    file_ << Dump({{"type", "record"},
                   {"protocol", kProtocolName},
                   {"version", kProtocolVersion},
                   {"player", player},
                   {"seed", seed},
                   {"years", years}})
          << '\n';
    file_.flush();
}

std::optional<Decision> RecordingPolicy::Decide(const Game& game, Asked asked, const Refusal* refused) {
    std::optional<Decision> decision = inner_.Decide(game, asked, refused);
    if (decision) {
        file_ << Dump(DecisionJson(*decision)) << '\n';
        file_.flush();
    }
    return decision;
}

std::optional<Decision> ReplayPolicy::Decide(const Game&, Asked, const Refusal*) {
    if (next_ >= decisions_.size()) return std::nullopt;
    return decisions_[next_++];
}

std::optional<std::vector<Decision>> ReadRecord(const std::string& text, std::string& error) {
    std::vector<Decision> decisions;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        const json j = json::parse(line, nullptr, false);
        if (j.is_object() && j.contains("type") && j["type"] == "record") continue;  // the header
        LineError problem;
        std::optional<Decision> decision = ParseDecision(line, problem);
        if (!decision) {
            error = "line " + std::to_string(number) + ": " + problem.text;
            return std::nullopt;
        }
        decisions.push_back(*decision);
    }
    return decisions;
}

}  // namespace tarvex::sim
