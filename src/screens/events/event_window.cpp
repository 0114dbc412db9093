// The event window: the autumn's chance event, line by line, until its OK.
#include "screens/events/event_window.h"

namespace tarvex {

void frmEvent_Form_Load(Session& game) { game.shown.event.open = true; }

void frmEvent_Command1_Click(Session& game) { game.shown.event.open = false; }

}  // namespace tarvex
