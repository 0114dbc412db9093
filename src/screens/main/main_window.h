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
void Form1_Form_Load(Session& game);
// "セーブ(&S)" and "ロード(&L)"; the quit question saves through the first too.
bool Form1_mnuSave_Click(Session& game);
void Form1_mnuLoad_Click(Session& game);

// Scrolls the map so that the city's panel is in view.
void FocusCity(Session& game, int city);
// A click on a panel's number or name folds or unfolds it.
void TogglePanel(Session& game, int city);
void Form1_mnuOpen_Click(Session& game);   // "全国開く(&O)"
void Form1_mnuClose_Click(Session& game);  // "全国閉じる(&H)"
// Help panels: the menu entry shows the panel and disables itself; "閉じる" undoes it.
void ShowHelpPanel(Session& game, HelpPanel panel);
void CloseHelpPanel(Session& game, HelpPanel panel);
// A scroll bar moved: value in 0..-32300.
void Form1_HScroll1_Change(Session& game, int value);
void Form1_VScroll1_Change(Session& game, int value);
// "作者HP(&P)": the game's own help page.
void Form1_mnuHP_Click(Session& game);
// "国家情報(&N)" (modeless) and the help panel's "見る" (modal).
void Form1_mnuNation_Click(Session& game);
void Form1_Command1_Click(Session& game);
// "設定(&D)".
void Form1_mnuSettei_Click(Session& game);

}  // namespace tarvex
