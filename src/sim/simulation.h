// Computer-only games without windows: the engine behind tarvex-sim.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "rules/world/game.h"

namespace tarvex::sim {

struct Options {
    int years = 100;
    std::uint64_t seed = 1;
    std::string loadFile;
    std::string saveFile;
    std::string randomFile;
    std::string chronicleFile;  // the chronicle as TSV, one entry a line
    std::string statsFile;      // each nation's cities at every season's start, as CSV
    bool log = false;
    bool check = false;
    // A nation commanded by a player policy instead of the computer: a program
    // on standard input and output (protocol), the decisions of a record
    // (replayFile) or the bot.
    std::string player;
    bool protocol = false;
    bool bot = false;
    std::string recordFile;
    std::string replayFile;
    // How well the computer plays (kStandardStrength..kStrongest): every
    // computer nation (0: not asked; a loaded game keeps its own levels), then
    // one nation named apart (strengthNation, empty for none).
    int strength = 0;
    std::string strengthNation;
    int strengthOfNation = 1;
    bool restartChronicle = false;  // a load goes on when the chronicle beside the save cannot be read
};

// Plays the game the options describe; returns the exit status
// (0 done, 1 invariant broken, 2 a file that cannot be read or written, 3 random numbers ran out,
// 4 the player's decisions ended before the game). A protocol player reads `in`.
int Run(const Options& options, std::istream& in, std::ostream& out, std::ostream& err);
int Run(const Options& options, std::ostream& out, std::ostream& err);

// The command line: parses the arguments (each option once), then runs; returns
// the exit status, 2 as well when `out` could not be written.
int Main(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The first broken invariant of a game, or nothing: city values within 0..999,
// owners naming nations and their owner indices numbering them, the turn order
// a permutation (once built), battle records adding up.
std::optional<std::string> CheckInvariants(const Game& game, bool turnOrderBuilt);

}  // namespace tarvex::sim
