// Handing the player's cities to the computer and taking them back.
#include "screens/orders/delegation.h"

#include <string>
#include <vector>

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
    if (!shown.mnuIninKaijyo) return;
    ShowPanel(game, Panel::Pic7);
    shown.lstPic7.clear();
    shown.lstPic7Cities.clear();
    shown.lblPic7 = mode;
    for (int b = 1; b <= kCityCount; ++b) {
        if (!IsPlayers(game, b) || game.Delegated[b] != delegated) continue;
        shown.lstPic7.push_back(game.Cities[b].Name);
        shown.lstPic7Cities.push_back(b);
    }
    shown.lstPic7Selected = shown.lstPic7.empty() ? -1 : 0;
}

}  // namespace

void Form1_mnuInin_Click(Session& game) { OpenDelegationPanel(game, kDelegateMode, false); }

void Form1_mnuKaijyo_Click(Session& game) { OpenDelegationPanel(game, kEndDelegationMode, true); }

void ApplyDelegation(Session& game) {
    auto& shown = game.shown.main;
    const bool delegate = shown.lblPic7 == kDelegateMode;
    if (!delegate && shown.lblPic7 != kEndDelegationMode) return;

    const int selected = shown.lstPic7Selected;
    // The entry stands for the city it was listed for, whatever its name.
    const bool hasSelection = selected >= 0 && selected < static_cast<int>(shown.lstPic7.size()) &&
                              selected < static_cast<int>(shown.lstPic7Cities.size());

    // The player keeps at least one city in his own hands.
    if (delegate && shown.lstPic7.size() == 1) {
        Tell(game, "一都市だけなので委任できません");
        return;
    }
    if (!hasSelection) return;

    const int city = shown.lstPic7Cities[selected];
    game.Delegated[city] = delegate;
    Tell(game, shown.lstPic7[selected] + (delegate ? "を委任しました" : "を委任解除しました"));
    shown.lstPic7.erase(shown.lstPic7.begin() + selected);
    shown.lstPic7Cities.erase(shown.lstPic7Cities.begin() + selected);
    shown.lstPic7Selected = -1;
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
