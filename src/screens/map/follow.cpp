// Where the view of the map goes by itself: the player's nation, the acting city, a battle.
#include "screens/map/follow.h"

#include <algorithm>
#include <optional>

#include "rules/world/scenario.h"
#include "screens/main/main_window.h"

namespace tarvex {

namespace {

struct Box {
    int left, top, right, bottom;  // twips on the map surface
};

Box PanelBox(const Session& game, int city) {
    const PanelPosition& p = kPanelPositions[city];
    const int height = game.shown.main.panels[city].expanded ? kPanelExpanded : kPanelCollapsed;
    return {p.left, p.top, p.left + kPanelWidth, p.top + height};
}

Box Around(const Box& a, const Box& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

bool InView(const Session& game, const Box& box) {
    const MainWindowShown& m = game.shown.main;
    const int left = -m.hScroll, top = -m.vScroll;
    const int right = left + m.viewWidth, bottom = top + m.viewHeight;
    if (box.left < left || box.top < top || box.right > right || box.bottom > bottom) return false;
    const bool underSidePanel = box.left < left + kSidePanelRight && box.top < top + kSidePanelBottom;
    return !underSidePanel;
}

bool FitsInView(const Session& game, const Box& box) {
    const MainWindowShown& m = game.shown.main;
    return box.right - box.left <= m.viewWidth && box.bottom - box.top <= m.viewHeight - kSidePanelBottom;
}

// Puts a point of the surface in the middle of the view, as far as the bars reach: of the part
// below the band the side panel and the help panels take at its top, when `belowBand`.
// Returns whether the view moved.
bool CentreOn(Session& game, int x, int y, bool belowBand = true) {
    MainWindowShown& m = game.shown.main;
    const int h = std::clamp(m.viewWidth / 2 - x, kScrollMax, 0);
    const int middle = belowBand ? (kSidePanelBottom + m.viewHeight) / 2 : m.viewHeight / 2;
    const int v = std::clamp(middle - y, kScrollMax, 0);
    if (h == m.hScroll && v == m.vScroll) return false;
    m.hScroll = h;
    m.vScroll = v;
    return true;
}

void GlideTo(Session& game, const Box& box) {
    if (InView(game, box)) return;
    if (CentreOn(game, (box.left + box.right) / 2, (box.top + box.bottom) / 2)) ++game.shown.main.glideSerial;
}

// While the player chooses an order his panels stand and the view is his to move.
bool PlayerOrdering(const Session& game) { return game.shown.main.activePanel != Panel::IdlePanel; }

}  // namespace

void ToggleFollowWar(Session& game) { game.shown.main.followWar = !game.shown.main.followWar; }

void FollowCity(Session& game, int city) {
    MainWindowShown& m = game.shown.main;
    m.followedBattle = 0;
    const bool viewMoved = m.viewMovedByPlayer;
    m.viewMovedByPlayer = false;
    if (!m.loaded || !IsValidCity(city)) return;
    // His own city about to give its order is brought into view, following the war or
    // not, unless he has just moved the view himself.
    if (IsPlayerRun(game, city)) {
        if (!viewMoved) GlideTo(game, PanelBox(game, city));
        return;
    }
    if (!m.followWar || PlayerOrdering(game)) return;
    GlideTo(game, PanelBox(game, city));
}

void FollowBattle(Session& game) {
    MainWindowShown& m = game.shown.main;
    const BattleState& b = game.Battle;
    if (!m.loaded || !IsValidCity(b.AttackCity) || !IsValidCity(b.DefendCity) || b.AttackCity == b.DefendCity) return;
    // A battle of his own, attack or defence, is always brought into view with both cities.
    const bool his = IsPlayers(game, b.AttackCity) || IsPlayers(game, b.DefendCity);
    if (!his && !m.followWar) return;
    const int battle = b.AttackCity * 100 + b.DefendCity;
    if (battle == m.followedBattle) return;
    m.followedBattle = battle;
    if (!his && PlayerOrdering(game)) return;
    const Box both = Around(PanelBox(game, b.AttackCity), PanelBox(game, b.DefendCity));
    GlideTo(game, FitsInView(game, both) ? both : PanelBox(game, b.DefendCity));
}

bool CityInView(const Session& game, int city) { return IsValidCity(city) && InView(game, PanelBox(game, city)); }

void CentreOnPlayer(Session& game) {
    std::optional<Box> all;
    for (int city = 1; city <= kCityCount; ++city)
        if (IsPlayers(game, city)) all = all ? Around(*all, PanelBox(game, city)) : PanelBox(game, city);
    if (!all) {
        CentreOn(game, kMapWidth / 2, kMapHeight / 2);
        return;
    }
    // A nation too tall for the part below the band is centred in the whole view.
    CentreOn(game, (all->left + all->right) / 2, (all->top + all->bottom) / 2, FitsInView(game, *all));
}

}  // namespace tarvex
