// Writes the starting world into a game, and answers the neighbour relation.
#include "rules/world/scenario.h"

namespace tarvex {

namespace {

void SetCity(Game& game, int index, const std::string& name, const std::string& owner, int power, int town, int castle,
             int food, int gold, int troops, int arms, int civility) {
    City& c = game.Cities[index];
    c.Id = index;
    c.Name = name;
    c.Owner = owner;
    c.Power = power;
    c.Town = town;
    c.Castle = castle;
    c.Food = food;
    c.Gold = gold;
    c.Troops = troops;
    c.Arms = arms;
    c.Civility = civility;
}

void SetNation(Game& game, int index, const std::string& name, const std::string& policy, const std::string& stance,
               const std::string& bestTactic) {
    Nation& n = game.Nations[index];
    n.Id = index;
    n.Name = name;
    n.Policy = policy;
    n.Stance = stance;
    n.BestTactic = bestTactic;
    n.Wins = 0;
    n.Losses = 0;
    n.TacticCount.fill(0);
}

}  // namespace

void InitCities(Game& game) {
    for (const CityRow& r : kStartingCities)
        SetCity(game, r.index, r.name, r.owner, r.power, r.town, r.castle, r.food, r.gold, r.troops, r.arms,
                r.civility);
    RefreshOwnerIndices(game);
}

void InitNations(Game& game) {
    for (const NationRow& r : kStartingNations) SetNation(game, r.index, r.name, r.policy, r.stance, r.bestTactic);
    // The owners' numbers follow the nations' names.
    RefreshOwnerIndices(game);
}

namespace {
// The neighbour lists as a table of flags: every computer decision asks up to
// 75 times, so the answer is one lookup.
using NeighbourTable = std::array<std::array<bool, kCityCount + 1>, kCityCount + 1>;
NeighbourTable BuildNeighbourTable() {
    NeighbourTable table{};
    for (int from = 1; from <= kCityCount; ++from)
        for (int to : kNeighbours[from]) table[from][to] = true;
    return table;
}

}  // namespace

bool IsNeighbour(int from, int to) {
    static const NeighbourTable table = BuildNeighbourTable();
    if (from < 1 || from > kCityCount || to < 1 || to > kCityCount) return false;
    return table[from][to];
}

namespace {
using NeighbourLists = std::array<std::vector<int>, kCityCount + 1>;
NeighbourLists BuildNeighbourLists() {
    NeighbourLists lists{};
    for (int from = 1; from <= kCityCount; ++from)
        for (int to = 1; to <= kCityCount; ++to)
            if (IsNeighbour(from, to)) lists[from].push_back(to);
    return lists;
}

}  // namespace

const std::vector<int>& NeighboursOf(int from) {
    // The computer walks a city's few neighbours many times a season; asking all 75 cities was most of its cost.
    static const NeighbourLists lists = BuildNeighbourLists();
    static const std::vector<int> none;
    if (from < 1 || from > kCityCount) return none;
    return lists[from];
}

}  // namespace tarvex
