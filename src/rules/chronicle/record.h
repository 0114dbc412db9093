// What the chronicle of a game holds: entries of what happened and each nation's
// cities and troops at every season's start. Plain data, kept by the running game.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvex {

inline constexpr int kChronicleNations = 34;  // the game's nations, 1..34

enum class EntryKind {
    Conquest,     // a city changed hands, by battle or by event
    Fall,         // a nation lost its last city
    Unification,  // one nation holds every city
    History,      // a historical event of the calendar
    Event,        // an autumn's chance event and the cities it reached
    Battle,       // one of the player's own battles and its outcome
};
inline constexpr int kEntryKindCount = 6;

// The kind as the chronicle's files name it ("conquest" ...) and as the window shows it ("占領" ...).
const char* KindName(EntryKind kind);
const char* KindLabel(EntryKind kind);
// The kind of a file's name, or false.
bool KindFromName(const std::string& name, EntryKind* kind);

struct ChronicleEntry {
    int year = 0;
    int season = 0;  // 1 spring .. 4 winter
    EntryKind kind = EntryKind::Conquest;
    std::string text;          // one line, in Japanese
    std::vector<int> cities;   // the cities it names, the first one to show on the map
    std::vector<int> nations;  // the nations it concerns, 1..34
    bool operator==(const ChronicleEntry&) const = default;
};

// Each nation's cities and troops as a season starts (slot 0 unused).
struct SeasonRecord {
    int year = 0;
    int season = 0;
    std::array<std::int16_t, kChronicleNations + 1> cities{};
    std::array<std::int32_t, kChronicleNations + 1> troops{};
    bool operator==(const SeasonRecord&) const = default;
};

// A save the chronicle was written with: its season, its file's checksum and how
// far the chronicle reached then. A chronicle written just before its save, the
// save then lost to a crash, is cut back to the save that stands.
struct SaveMark {
    int year = 0;
    int season = 0;
    std::uint64_t checksum = 0;
    std::size_t entries = 0;
    std::size_t seasons = 0;
    bool operator==(const SaveMark&) const = default;
};

struct Chronicle {
    std::vector<ChronicleEntry> entries;
    std::vector<SeasonRecord> seasons;
    std::vector<SaveMark> marks;  // oldest first
    bool operator==(const Chronicle&) const = default;
};

}  // namespace tarvex
