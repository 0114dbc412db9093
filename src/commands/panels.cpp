// The player's command menus and input panels, and the dispatch of an order. (placeholder until built)
#include "commands/panels.h"

namespace tarvex {

void ShowPanel(Game&, Panel) {}
void OpenCommandMenu(Game&) {}
void ReturnToTopMenu(Game&) {}
void StartCommand(Game&, int) {}
void ExecuteCommand(Game&) {}
void FinishCommand(Game&) {}
void PresetAmount(Game&) {}
void RequestFocus(Game&, Control) {}
void Form1_cmdGunji_Click(Game&) {}
void Form1_cmdSeiji_Click(Game&) {}
void Form1_cmdNothing_Click(Game&) {}
void Form1_cmdFocus_Click(Game&) {}
void Form1_cmdReturn_Click(Game&) {}
void Form1_cmdCancel_Click(Game&) {}
void Form1_cmdOkpic_Click(Game&) {}
void Form1_cmdSentoHelp_Click(Game&) {}

}  // namespace tarvex
