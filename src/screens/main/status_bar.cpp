// The player's newest chronicle entry, for the foot of the main window.
#include "screens/main/status_bar.h"

#include <algorithm>

#include "rules/chronicle/chronicle.h"
#include "rules/world/numbers.h"
#include "rules/world/strength.h"

namespace tarvex {

StatusShown ShownStatus(const Session& game) {
    StatusShown status;
    if (game.shown.main.loaded) status.strength = StrengthCaption(game);
    // Watching the computer play itself, no entry is the player's.
    const int nation = game.PlayerNation.empty() ? 0 : NationIndex(game, game.PlayerNation);
    if (nation == 0) return status;
    const std::vector<ChronicleEntry>& entries = game.chronicle.entries;
    // From the newest back: his entries come often, so the search is short.
    for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
        if (std::find(e->nations.begin(), e->nations.end(), nation) == e->nations.end()) continue;
        const int season = e->season >= 1 && e->season <= 4 ? e->season : 1;
        status.entry = static_cast<int>(entries.rend() - e) - 1;
        status.text = Str(e->year) + "年目の" + game.SeasonNames[season] + " 【" + KindLabel(e->kind) + "】 " + e->text;
        break;
    }
    return status;
}

}  // namespace tarvex
