// The player's command menus and input panels, and the dispatch of an order.
#pragma once

#include "state/game.h"

namespace tarvex {

// Command kinds (CommandKind) and the "do nothing" button.
enum CommandKindCode {
    kMove = 1, kAttack = 2, kRaiseTroops = 3, kStrengthenArms = 4, kInvestPower = 5,
    kBuildTown = 6, kWorkOnCastle = 7, kSellFood = 8, kBuyFood = 9, kDoNothing = 10,
};

void ShowPanel(Game& game, Panel panel);
void OpenCommandMenu(Game& game);
void ReturnToTopMenu(Game& game);
void StartCommand(Game& game, int kind);
void ExecuteCommand(Game& game);
void FinishCommand(Game& game);
void PresetAmount(Game& game);
// Asks the window to focus a control and select its text.
void RequestFocus(Game& game, Control control);

// Button handlers of the side panels.
void Form1_cmdGunji_Click(Game& game);
void Form1_cmdSeiji_Click(Game& game);
void Form1_cmdNothing_Click(Game& game);
void Form1_cmdFocus_Click(Game& game);
void Form1_cmdReturn_Click(Game& game);   // cmdReturnGunji, cmdReturnSeiji
void Form1_cmdCancel_Click(Game& game);   // cmdCancelpic5, cmdCancelpic6, cmdCancelPic7
void Form1_cmdOkpic_Click(Game& game);    // cmdOkpic5, cmdOkpic6
void Form1_cmdSentoHelp_Click(Game& game);

}  // namespace tarvex
