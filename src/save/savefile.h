// The save file "Game.dt": one value per line in code page 932 with CR LF.
#pragma once

#include <optional>
#include <string>

#include "state/game.h"

namespace tarvex {

inline constexpr int kSaveLineCount = 1485;

bool SaveGame(Game& game);
void LoadGame(Game& game);
void Form1_mnuSave_Click(Game& game);
void Form1_mnuLoad_Click(Game& game);

// The file's bytes for a game (code page 932, CR LF).
std::string WriteSaveBytes(const Game& game);
// Reads the file's bytes into `into` (a copy of the running game); on failure
// returns a message for the player and leaves `into` in an unspecified state.
std::optional<std::string> ReadSaveBytes(const std::string& bytes, Game& into);

}  // namespace tarvex
