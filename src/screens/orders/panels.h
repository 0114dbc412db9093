// The player's command menus and input panels, and the dispatch of an order.
#pragma once

#include "rules/turn/cycle.h"
#include "screens/session/session.h"

namespace tarvex {

void ShowPanel(Session& game, Panel panel);
void OpenCommandMenu(Session& game);
void StartCommand(Session& game, int kind);
void ExecuteCommand(Session& game);
// Reads the order `kind` from the panel's boxes and gives it for `city`: true
// when the city's order is used. A refusal is told in a box and its numbers
// stay in view.
bool GiveOrderFromPanel(Session& game, int kind, int city);
// The city's order is used: the idle panel returns and the OK prompt stands.
void FinishCommand(Session& game);
// Asks the window to focus a control and select its text.
void RequestFocus(Session& game, Control control);

// Button handlers of the side panels.
void OpenMilitaryMenu(Session& game);
void OpenPoliticsMenu(Session& game);
void ChooseDoNothing(Session& game);
void FocusOnActingCity(Session& game);
void BackToTopMenu(Session& game);  // "戻る" of the military and politics menus
void CancelOrder(Session& game);    // Cancel of the amount, target and delegation panels
void ConfirmOrder(Session& game);   // OK of the amount and target panels
void ShowAttackHelp(Session& game);

}  // namespace tarvex
