// The nation information screen's lines, built from the nations' battle records. (placeholder until built)
#include "combat/records.h"

namespace tarvex {

std::string NationHeaderLine() { return {}; }
std::string NationLine(const Nation&) { return {}; }
std::vector<std::string> NationLines(const Game&) { return {}; }
void frmNation_lstName_Click(Game&, const std::string&) {}

}  // namespace tarvex
