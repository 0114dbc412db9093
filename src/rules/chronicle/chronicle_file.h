// The chronicle's files: the second file beside a save (Game.chronicle), and the
// tables tarvex-sim writes for spreadsheets (entries as TSV, seasons as CSV).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "rules/world/game.h"

namespace tarvex {

// The most a chronicle's file holds, for its writer and its reader alike. A
// thousand years of war take some 3 MiB.
inline constexpr std::size_t kMaxChronicleBytes = std::size_t{64} << 20;

// Game.dt's chronicle: Game.chronicle in the same folder.
std::string ChroniclePath(const std::string& savePath);

// The checksum that names a save: of its file's bytes as the game writes them.
std::uint64_t SaveChecksum(const std::string& saveBytes);
// A save's checksum as the files beside it name it: 16 hex digits, and back.
std::string ChecksumText(std::uint64_t checksum);
bool ReadChecksumText(std::string_view text, std::uint64_t& checksum);
// Marks the chronicle as written with the save of this checksum, as it stands now.
void MarkSave(Chronicle& chronicle, const Game& game, std::uint64_t checksum);
void MarkSave(Chronicle& chronicle, int year, int season, std::uint64_t checksum);
// Drops the oldest history (entries, season rows, the marks before them) until the
// chronicle's file would hold well under `cap` bytes; true when it dropped any.
// `*bytes`: the most its file then holds.
bool TrimChronicle(Chronicle& chronicle, std::size_t cap = kMaxChronicleBytes, std::size_t* bytes = nullptr);
// Drops the oldest `entries` entries and `seasons` season rows, as a trim does, and
// the marks from before them: the same cut again on a copy that has grown since.
void DropOldest(Chronicle& chronicle, std::size_t entries, std::size_t seasons);

// The chronicle as its file holds it: UTF-8 text, a version line, the season of
// the save it was written with, one line per entry and per season row, then one
// per save it was written with.
std::string EncodeChronicle(const Game& game);
// `bytes`: the most it holds, when known (TrimChronicle tells it); otherwise measured here.
std::string EncodeChronicle(const Chronicle& chronicle, int year, int season, std::size_t bytes = 0);
// Reads the chronicle of the game as it stands: one that names this save (its
// checksum, its season) is cut back to it, should it run past; one written before
// saves were named must be of the same year and season. A reason when the text
// is damaged or belongs to another save; `into` is untouched then.
std::optional<std::string> DecodeChronicle(const std::string& text, const Game& game, Chronicle& into);

// A whole chronicle file through the game's own safe reader (saves write it with WriteSavePair).
std::optional<std::string> ReadChronicleFile(const std::string& path, const Game& game, Chronicle& into);

// One entry a line, tab-separated: year, season (1..4), kind, text; a header line first.
std::string ChronicleTable(const Chronicle& chronicle);
// One row per season start: year, season (1..4), then each nation's cities, its name as the header.
std::string SeasonTable(const Game& game);

}  // namespace tarvex
