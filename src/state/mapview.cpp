// The map view's rules: scrolling to a city, folding panels, help panels, menus.
#include "state/mapview.h"

#include <algorithm>

#include "state/newgame.h"
#include "state/scenario.h"
#include "state/screen.h"

namespace tarvex {

void FocusCity(Game& game, int city) {
    if (city < 1 || city > kCityCount) return;
    MainWindowShown& m = game.shown.main;
    m.hScroll = 0;
    m.vScroll = 0;
    const int x = std::clamp(-kPanelPositions[city].left, kScrollMax, 0);
    const int y = std::clamp(-kPanelPositions[city].top, kScrollMax, 0);
    // A panel near the top-left corner is already in view from there.
    if (x >= -5500 || y >= -5500) return;
    m.hScroll = x + 5500;
    m.vScroll = y + 5500;
}

void TogglePanel(Game& game, int city) {
    if (city < 1 || city > kCityCount) return;
    CityPanel& p = game.shown.main.panels[city];
    p.expanded = !p.expanded;
}

void Form1_mnuOpen_Click(Game& game) {
    for (int i = 1; i <= kCityCount; ++i) game.shown.main.panels[i].expanded = true;
    game.shown.main.mnuOpen = false;
    game.shown.main.mnuClose = true;
}

void Form1_mnuClose_Click(Game& game) {
    for (int i = 1; i <= kCityCount; ++i) game.shown.main.panels[i].expanded = false;
    game.shown.main.mnuClose = false;
    game.shown.main.mnuOpen = true;
}

void ShowHelpPanel(Game& game, HelpPanel panel) { game.shown.main.helpVisible[panel] = true; }

void CloseHelpPanel(Game& game, HelpPanel panel) { game.shown.main.helpVisible[panel] = false; }

void Form1_HScroll1_Change(Game& game, int value) { game.shown.main.hScroll = std::clamp(value, kScrollMax, 0); }

void Form1_VScroll1_Change(Game& game, int value) { game.shown.main.vScroll = std::clamp(value, kScrollMax, 0); }

void Form1_mnuHP_Click(Game& game) { game.screen->OpenWebPage(game, kHomePage); }

void Form1_mnuNation_Click(Game& game) { game.screen->ShowNationScreen(game, false); }

void Form1_Command1_Click(Game& game) { game.screen->ShowNationScreen(game, true); }

void Form1_mnuSettei_Click(Game& game) {
    SetGame_Form_Load(game);
    game.screen->ShowSettings(game);
}

}  // namespace tarvex
