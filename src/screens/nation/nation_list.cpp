// The nation information screen's lines, built from the nations' battle records.
#include "screens/nation/nation_list.h"

#include <algorithm>

#include "rules/world/numbers.h"
#include "screens/main/main_window.h"

namespace tarvex {

namespace {

// Names are padded to 14 double-width characters so the columns line up in
// the list's fixed-width Japanese font.
constexpr int kNameColumns = 14;
constexpr const char* kIdeographicSpace = "\u3000";

// At least three digits with leading zeros: 7 gives 007, 1234 gives 1234.
std::string Count(int n) {
    std::string digits = Str(n < 0 ? -static_cast<long long>(n) : n);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return n < 0 ? "-" + digits : digits;
}

}  // namespace

std::string NationHeaderLine() {
    return std::string("国名") + "\t" + std::string(28, ' ') + "政治" + "  " + "戦争" + "  " + "戦闘  " + "    勝  " +
           "   負 " + "    通  " + "   突   " + "   包   " + "   射   " + "   防";
}

std::string NationLine(const Nation& nation) {
    // A name longer than the column simply gets no padding.
    const int pad = std::max(0, 2 * (kNameColumns - CharCount(nation.Name)));
    std::string line = nation.Name + std::string(pad, ' ') + "\t";
    line += nation.Policy + kIdeographicSpace + nation.Stance + kIdeographicSpace + nation.BestTactic;
    line += std::string(5, ' ');
    line += Count(nation.Wins) + "    " + Count(nation.Losses) + "    ";
    for (int t = 1; t <= kTacticCount; ++t) line += Count(nation.TacticCount[t]) + "    ";
    return line;
}

std::vector<std::string> NationLines(const Game& game) {
    std::vector<std::string> lines;
    lines.reserve(kNationCount);
    for (int n = 1; n <= kNationCount; ++n) lines.push_back(NationLine(game.Nations[n]));
    return lines;
}

void ShowNationOnMap(Session& game, const std::string& line) {
    // The name ends at its padding; a name that fills its column is followed
    // directly by the tab instead.
    const std::string name = line.substr(0, line.find_first_of(" \t"));
    for (int i = 1; i <= kCityCount; ++i)
        if (game.Cities[i].Owner == name) FocusCity(game, i);
}

}  // namespace tarvex
