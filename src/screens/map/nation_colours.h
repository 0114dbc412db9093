// One fixed colour for each nation's land on the map, chosen so that nations
// bordering one another at the start differ clearly, also to colour-blind eyes.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "rules/world/game.h"

namespace tarvex {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// Muted land colours: the panels, lines and labels on top stay readable.
inline constexpr std::array<Rgb, 11> kLandColours{{
    {226, 196, 120},  // sand
    {206, 140, 120},  // terracotta
    {160, 192, 120},  // leaf green
    {160, 130, 170},  // dusk purple
    {232, 170, 110},  // apricot
    {130, 170, 140},  // sage
    {214, 160, 160},  // dusty rose
    {176, 150, 110},  // khaki
    {200, 210, 140},  // pale olive
    {236, 222, 180},  // cream
    {190, 120, 140},  // mauve
}};

// How far apart two colours look (CIE76 difference in L*a*b*), to normal eyes
// and with red or green blindness simulated: the least of the three.
double PerceivedDifference(Rgb a, Rgb b);

// Pairs of nations (1..34) whose cities border one another: neighbours in the
// game's sense, or lands that touch on the map.
using NationPairs = std::vector<std::pair<int, int>>;

// A colour from kLandColours for each nation 1..34 (slot 0 unused): the nations
// hardest to colour first, each taking the colour that stands farthest from its
// coloured neighbours'. The same pairs always give the same colours.
std::array<int, kNationCount + 1> ColourNations(const NationPairs& bordering);

// The nations that border one another at the start of a game, from the starting
// owners, the game's neighbour lists and which cities' lands touch (city pairs).
NationPairs StartingNeighbourNations(const std::vector<std::pair<int, int>>& touchingCities);

}  // namespace tarvex
