// The main window: its start, the map view and the menus.
#include "screens/main/main_window.h"

#include <algorithm>

#include "rules/port/screen.h"
#include "rules/save/savefile.h"
#include "rules/turn/messages.h"
#include "rules/world/newgame.h"
#include "rules/world/numbers.h"
#include "rules/world/scenario.h"
#include "rules/world/strength.h"
#include "screens/map/follow.h"
#include "screens/orders/panels.h"
#include "screens/settings/settings.h"

namespace tarvex {

void StartGame(Session& game) {
    MainWindowShown& m = game.shown.main;
    m.loaded = true;
    // A help panel the player closed in an earlier game stays closed.
    for (int i = 0; i < kHelpPanelCount; ++i) m.helpVisible[i] = !m.helpClosed[i];
    m.delegationMenu = false;
    m.openAllEnabled = true;
    m.closeAllEnabled = true;
    m.hScroll = 0;
    m.vScroll = 0;
    m.activePanel = Panel::IdlePanel;
    NewGame(game);
    SetComputerStrength(game, game.StrengthChoice);
    CentreOnPlayer(game);
    m.helpLeft = -m.hScroll;
    m.helpTop = -m.vScroll;
    ShowMsg(game, Str(game.Year) + "年目、春です");
    m.okPrompt = true;
}

bool SaveFromMenu(Session& game) {
    // The idle panel stands while the game is saved.
    if (game.TurnStart) ShowPanel(game, Panel::IdlePanel);
    return SaveGame(game);
}

void LoadFromMenu(Session& game) {
    if (LoadGame(game)) game.shown.main.activePanel = Panel::IdlePanel;
}

void FocusCity(Session& game, int city) {
    if (!IsValidCity(city)) return;
    MainWindowShown& m = game.shown.main;
    const PanelPosition& p = kPanelPositions[city];
    const int height = m.panels[city].expanded ? kPanelExpanded : kPanelCollapsed;
    // Each direction on its own: the panel stands kFocusOffset from the view's
    // edge, nearer when its far side would leave the view, never cut at its
    // near side, and only as far as the bars reach.
    const auto place = [](int at, int size, int view) {
        const int scroll = std::max(std::min(kFocusOffset - at, view - size - at), -at);
        return std::clamp(scroll, kScrollMax, 0);
    };
    m.hScroll = place(p.left, kPanelWidth, m.viewWidth);
    m.vScroll = place(p.top, height, m.viewHeight);
}

void TogglePanel(Session& game, int city) {
    if (city < 1 || city > kCityCount) return;
    CityPanel& p = game.shown.main.panels[city];
    p.expanded = !p.expanded;
}

void OpenAllCityPanels(Session& game) {
    for (int i = 1; i <= kCityCount; ++i) game.shown.main.panels[i].expanded = true;
    game.shown.main.openAllEnabled = false;
    game.shown.main.closeAllEnabled = true;
}

void CloseAllCityPanels(Session& game) {
    for (int i = 1; i <= kCityCount; ++i) game.shown.main.panels[i].expanded = false;
    game.shown.main.closeAllEnabled = false;
    game.shown.main.openAllEnabled = true;
}

void ShowHelpPanel(Session& game, HelpPanel panel) {
    game.shown.main.helpVisible[panel] = true;
    game.shown.main.helpClosed[panel] = false;
}

void CloseHelpPanel(Session& game, HelpPanel panel) {
    game.shown.main.helpVisible[panel] = false;
    game.shown.main.helpClosed[panel] = true;
}

void ScrollMapHorizontally(Session& game, int value) {
    game.shown.main.hScroll = std::clamp(value, kScrollMax, 0);
    game.shown.main.viewMovedByPlayer = true;
}

void ScrollMapVertically(Session& game, int value) {
    game.shown.main.vScroll = std::clamp(value, kScrollMax, 0);
    game.shown.main.viewMovedByPlayer = true;
}

void OpenHelpPage(Session& game) { game.screen->OpenWebPage(game, kHomePage); }

void ShowNationScreen(Session& game) { game.screen->ShowNationScreen(game, false); }

void ShowNationScreenFromHelp(Session& game) { game.screen->ShowNationScreen(game, true); }

void OpenSettings(Session& game) {
    OpenSettingsScreen(game);
    game.screen->ShowSettings(game);
}

}  // namespace tarvex
