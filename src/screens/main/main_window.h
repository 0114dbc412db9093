// The main window: its start, the map view (scrolling to a city, folding panels,
// help panels) and the menus.
#pragma once

#include "screens/session/session.h"

namespace tarvex {

inline constexpr int kMapWidth = 48000;  // twips
inline constexpr int kMapHeight = 35000;
inline constexpr int kScrollMax = -32300;  // the bars run from 0 down to this
inline constexpr int kPanelWidth = 1935;
inline constexpr int kPanelCollapsed = 735;
inline constexpr int kPanelExpanded = 1695;
inline constexpr int kWindowWidth = 15000;
inline constexpr int kWindowHeight = 7500;
inline constexpr const char* kHomePage = "help/index.html";
// "4.フォーカス" puts the city's panel this far from the view's left and top edges.
inline constexpr int kFocusOffset = 5500;

// The main window's start: window set-up, a new game, the first headline.
void StartGame(Session& game);
// "セーブ(&S)" and "ロード(&L)"; the quit question saves through the first too.
bool SaveFromMenu(Session& game);
void LoadFromMenu(Session& game);

// Scrolls the map so that the city's panel is in view.
void FocusCity(Session& game, int city);
// A click on a panel's number or name folds or unfolds it.
void TogglePanel(Session& game, int city);
void OpenAllCityPanels(Session& game);   // "全国開く(&O)"
void CloseAllCityPanels(Session& game);  // "全国閉じる(&H)"
// Help panels: the menu entry shows the panel and disables itself; "閉じる" undoes it.
void ShowHelpPanel(Session& game, HelpPanel panel);
void CloseHelpPanel(Session& game, HelpPanel panel);
// A scroll bar moved: value in 0..-32300.
void ScrollMapHorizontally(Session& game, int value);
void ScrollMapVertically(Session& game, int value);
// "作者HP(&P)": the game's own help page.
void OpenHelpPage(Session& game);
// "国家情報(&N)" (modeless) and the help panel's "見る" (modal).
void ShowNationScreen(Session& game);
void ShowNationScreenFromHelp(Session& game);
// "設定(&D)".
void OpenSettings(Session& game);

}  // namespace tarvex
