// The save file "Game.dt": one value per line in code page 932 with CR LF. (placeholder until built)
#include "save/savefile.h"

namespace tarvex {

bool SaveGame(Game&) { return false; }
void LoadGame(Game&) {}
void Form1_mnuSave_Click(Game&) {}
void Form1_mnuLoad_Click(Game&) {}
std::string WriteSaveBytes(const Game&) { return {}; }
std::optional<std::string> ReadSaveBytes(const std::string&, Game&) { return std::string("未実装"); }

}  // namespace tarvex
