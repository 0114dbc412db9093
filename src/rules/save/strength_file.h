// The computer's levels beside a save ("Game.strength"): the save file holds
// none, so that its bytes are the same at every level. A game where the computer
// plays every nation at the standard level keeps no such file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rules/world/game.h"

namespace tarvex {

// A few lines; anything far larger is not one.
inline constexpr std::size_t kMaxStrengthBytes = 4096;

using StrengthLevels = std::array<int, kNationCount + 1>;  // 1..34; slot 0 unused

// The levels of one save, named by its checksum (SaveChecksum): a file written
// just before its save, the save then lost to a crash, names the save that
// stands too, and a save written without it (at the standard level, or edited)
// finds no levels of its own there.
struct StrengthRecord {
    std::uint64_t checksum = 0;
    StrengthLevels levels{};
    bool operator==(const StrengthRecord&) const = default;
};

// Game.dt's levels: Game.strength in the same folder.
std::string StrengthPath(const std::string& savePath);

// Every nation at the standard level: nothing to keep beside the save.
bool AllStandard(const StrengthLevels& levels);

// A version line, then a line per save: "save <checksum, 16 hex digits> <34 levels>".
std::string EncodeStrength(const std::vector<StrengthRecord>& records);
// A reason (for the player) when the text is damaged or of another version; `into` is untouched then.
std::optional<std::string> DecodeStrength(std::string_view text, std::vector<StrengthRecord>& into);

}  // namespace tarvex
