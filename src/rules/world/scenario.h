// The fixed starting world and the map's neighbour relation and panel layout.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "rules/world/game.h"

namespace tarvex {

struct CityRow {
    int index;
    const char* name;
    const char* owner;
    int power, town, castle, food, gold, troops, arms, civility;
};

struct NationRow {
    int index;
    const char* name;
    const char* policy;
    const char* stance;
    const char* bestTactic;
};

struct PanelPosition {
    int left;  // twips on the map surface
    int top;
};

extern const std::array<CityRow, kCityCount> kStartingCities;
extern const std::array<NationRow, kNationCount> kStartingNations;
// Neighbour lists, indexed by city 1..75 (slot 0 empty). Directed.
extern const std::array<std::vector<int>, kCityCount + 1> kNeighbours;
// Top-left corner of each city's panel on the map surface, 1..75.
extern const std::array<PanelPosition, kCityCount + 1> kPanelPositions;

void InitCities(Game& game);
void InitNations(Game& game);

// True when `to` stands in the neighbour list of `from`; false for any index outside 1..75.
bool IsNeighbour(int from, int to);
// Every `to` with IsNeighbour(from, to), once each, in ascending order (empty outside 1..75):
// walking this visits the same cities in the same order as testing 1..75 one by one.
const std::vector<int>& NeighboursOf(int from);

}  // namespace tarvex
