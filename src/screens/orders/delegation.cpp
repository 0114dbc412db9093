// Handing the player's cities to the computer and taking them back.
#include "screens/orders/delegation.h"

#include <string>
#include <vector>

#include "rules/orders/order.h"
#include "rules/turn/messages.h"
#include "screens/orders/panels.h"

namespace tarvex {

namespace {

const std::string kDelegateMode = "委任";
const std::string kEndDelegationMode = "委任解除";

// Fills the delegation panel with the player's cities whose flag is `delegated`.
void OpenDelegationPanel(Session& game, const std::string& mode, bool delegated) {
    auto& shown = game.shown.main;
    // The menu is live only while one of the player's own cities is choosing its order.
    if (!shown.delegationMenu) return;
    ShowPanel(game, Panel::DelegationPanel);
    shown.delegationNames.clear();
    shown.delegationCities.clear();
    shown.delegationMode = mode;
    for (int b = 1; b <= kCityCount; ++b) {
        if (!IsPlayers(game, b) || game.Delegated[b] != delegated) continue;
        shown.delegationNames.push_back(game.Cities[b].Name);
        shown.delegationCities.push_back(b);
    }
    shown.delegationSelected = shown.delegationNames.empty() ? -1 : 0;
}

}  // namespace

void OpenDelegation(Session& game) { OpenDelegationPanel(game, kDelegateMode, false); }

void OpenEndDelegation(Session& game) { OpenDelegationPanel(game, kEndDelegationMode, true); }

void ApplyDelegation(Session& game) {
    auto& shown = game.shown.main;
    const bool delegate = shown.delegationMode == kDelegateMode;
    if (!delegate && shown.delegationMode != kEndDelegationMode) return;

    const int selected = shown.delegationSelected;
    // The entry stands for the city it was listed for, whatever its name.
    const bool hasSelection = selected >= 0 && selected < static_cast<int>(shown.delegationNames.size()) &&
                              selected < static_cast<int>(shown.delegationCities.size());

    // No entry chosen: nothing happens, unless there is nothing the player could delegate at all.
    const int city = hasSelection ? shown.delegationCities[selected] : 0;
    if (const auto refusal = GiveDelegation(game, city, delegate)) {
        if (refusal->code == RefusalCode::LastCity) Tell(game, refusal->text);
        return;
    }
    shown.delegationNames.erase(shown.delegationNames.begin() + selected);
    shown.delegationCities.erase(shown.delegationCities.begin() + selected);
    shown.delegationSelected = -1;
}

void EndStrandedDelegation(Session& game) {
    // The delegation menu opens only on the turn of a city he commands himself.
    if (!game.shown.main.loaded) return;
    std::vector<int> stranded;
    for (int c = 1; c <= kCityCount; ++c) {
        if (!IsPlayers(game, c)) continue;
        if (!game.Delegated[c]) return;
        stranded.push_back(c);
    }
    if (stranded.empty()) return;
    std::string names;
    for (int c : stranded) {
        game.Delegated[c] = false;
        names += (names.empty() ? "" : "、") + game.Cities[c].Name;
    }
    Tell(game, names + "を委任解除しました");
}

}  // namespace tarvex
