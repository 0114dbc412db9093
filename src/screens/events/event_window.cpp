// The event window: the autumn's chance event, line by line, until its OK.
#include "screens/events/event_window.h"

namespace tarvex {

void OpenEventWindow(Session& game) { game.shown.event.open = true; }

void CloseEventWindow(Session& game) { game.shown.event.open = false; }

}  // namespace tarvex
