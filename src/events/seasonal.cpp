// The autumn's chance events and the event window. (placeholder until built)
#include "events/seasonal.h"

namespace tarvex {

void RunSeasonalEvent(Game&) {}
void ApplySeasonalEvent(Game&, int, const std::string&) {}
void frmEvent_Command1_Click(Game&) {}
int TenSided(Game&) { return 0; }

}  // namespace tarvex
