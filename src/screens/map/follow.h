// Where the view of the map goes by itself: to the player's nation at the start,
// and after the war (the acting city, a battle) while "戦況を追う" is on.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

// The idle panel with the message lines covers the view's upper left corner this far (twips).
inline constexpr int kSidePanelRight = 240 + 3735;
inline constexpr int kSidePanelBottom = 240 + 2700;

// "戦況を追う": the view follows the acting city and the battles, or stays where it is.
void ToggleFollowWar(Session& game);
// The city now giving its order: when it lies outside the view, the view goes to it.
// Never while the player gives an order of his own: then the view is his.
void FollowCity(Session& game, int city);
// The battle being fought: both cities brought into view when they fit, else the defender.
void FollowBattle(Session& game);
// Whether a city's whole panel is in view and clear of the side panel in its upper left corner.
bool CityInView(const Session& game, int city);
// The view with the middle of the player's cities (of the box round their panels) in its
// middle; for a watched game the middle of the whole map.
void CentreOnPlayer(Session& game);

}  // namespace tarvex
