// The nation information screen's lines, built from the nations' battle records.
#pragma once

#include <string>
#include <vector>

#include "screens/session/session.h"

namespace tarvex {

std::string NationHeaderLine();
std::string NationLine(const Nation& nation);
std::vector<std::string> NationLines(const Game& game);
// A line of the list was chosen: focuses the map on that nation's cities.
void ShowNationOnMap(Session& game, const std::string& line);

}  // namespace tarvex
