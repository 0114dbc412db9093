// The chronicle's files: the second file beside a save (Game.chronicle), and the
// tables tarvex-sim writes for spreadsheets (entries as TSV, seasons as CSV).
#pragma once

#include <optional>
#include <string>

#include "rules/world/game.h"

namespace tarvex {

// Game.dt's chronicle: Game.chronicle in the same folder.
std::string ChroniclePath(const std::string& savePath);

// The chronicle as its file holds it: UTF-8 text, a version line, the season of
// the save it belongs to, then one line per entry and per season row.
std::string EncodeChronicle(const Game& game);
// Reads a chronicle written for the game as it stands (the same year and season);
// a reason when the text is damaged or belongs to another season. `into` is
// untouched then.
std::optional<std::string> DecodeChronicle(const std::string& text, const Game& game, Chronicle& into);

// Whole-file save and load through the game's own safe reader and writer.
std::optional<std::string> WriteChronicleFile(const std::string& path, const Game& game);
std::optional<std::string> ReadChronicleFile(const std::string& path, const Game& game, Chronicle& into);

// One entry a line, tab-separated: year, season (1..4), kind, text; a header line first.
std::string ChronicleTable(const Chronicle& chronicle);
// One row per season start: year, season (1..4), then each nation's cities, its name as the header.
std::string SeasonTable(const Game& game);

}  // namespace tarvex
