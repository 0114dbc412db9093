// Events tied to the calendar, at the start of certain years. (placeholder until built)
#include "events/historical.h"

namespace tarvex {

void RunHistoricalEvents(Game&) {}

}  // namespace tarvex
