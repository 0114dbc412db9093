// The player's command menus and input panels, and the dispatch of an order.
#pragma once

#include "rules/turn/cycle.h"
#include "screens/session/session.h"

namespace tarvex {

void ShowPanel(Session& game, Panel panel);
void OpenCommandMenu(Session& game);
void StartCommand(Session& game, int kind);
void ExecuteCommand(Session& game);
// The city's order is used: the idle panel returns and the OK prompt stands.
void FinishCommand(Session& game);
// Asks the window to focus a control and select its text.
void RequestFocus(Session& game, Control control);

// Button handlers of the side panels.
void Form1_cmdGunji_Click(Session& game);
void Form1_cmdSeiji_Click(Session& game);
void Form1_cmdNothing_Click(Session& game);
void Form1_cmdFocus_Click(Session& game);
void Form1_cmdReturn_Click(Session& game);  // cmdReturnGunji, cmdReturnSeiji
void Form1_cmdCancel_Click(Session& game);  // cmdCancelpic5, cmdCancelpic6, cmdCancelPic7
void Form1_cmdOkpic_Click(Session& game);   // cmdOkpic5, cmdOkpic6
void Form1_cmdSentoHelp_Click(Session& game);

}  // namespace tarvex
