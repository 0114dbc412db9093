// The save file "Game.dt": one value per line in code page 932 with CR LF.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "rules/save/files.h"
#include "rules/save/strength_file.h"
#include "rules/world/game.h"

namespace tarvex {

inline constexpr int kSaveLineCount = 1485;
// A save of this game is some 9 KB; anything far larger is not one.
inline constexpr std::size_t kMaxSaveBytes = 1 << 20;

// "セーブ": only at the start of a turn. Writes beside the old file and replaces it
// only once the new one is complete, so a failed save keeps the last good one.
// True when the file was written.
bool SaveGame(Game& game);
// What a save adds to its box: an unreadable chronicle kept aside, history dropped for length.
std::string SaveNotes(bool trimmed, const std::string& keptAt);
// "ロード": only at the start of a turn. The running game is replaced only when
// the whole file has been read and every value checked; otherwise it goes on
// untouched. True when the game was replaced. `path` empty: the save file.
bool LoadGame(Game& game, const std::string& path = {});

// The one reader of a save file: on success the saved world replaces that of
// `into` (TurnStep back to 1); otherwise a message for the player and `into` is untouched.
std::optional<std::string> ReadGameFile(const std::string& path, Game& into);
// The one writer: the file is written whole beside `path`, checked to read
// back, then put in its place; otherwise a message and the old file stays.
std::optional<std::string> WriteGameFile(const std::string& path, const Game& game);

// The save and its chronicle beside it (beside the file a link at `path`
// names, as its lock is), as one: under the save's lock the computer's levels
// go first (StrengthPath; none at the standard level, and an old file of them
// removed once the save is in place), then the chronicle, marked with the new
// save's checksum, then the save. Interrupted
// anywhere, the save on disk loads with the whole history up to it. A
// chronicle that would pass its file's cap keeps the newest history (`*trimmed`
// then true, whether or not the save went on to succeed). A chronicle on disk
// that is neither this game's nor the save's it stands beside (damaged, over
// the cap, its save gone) is first moved aside to "Game.chronicle.damaged"
// (`*keptAt` then names it). Another program's hold on the save is waited for
// through the game's screen. On success the game's chronicle is the one
// written; otherwise a message, and the save on disk stays.
std::optional<std::string> WriteSavePair(const std::string& path, Game& game, bool* trimmed = nullptr,
                                         const WriteHooks& hooks = {}, std::string* keptAt = nullptr);

// A save, its chronicle and the computer's levels composed on the game's thread, to be written on another
// while the game goes on: the save's bytes (known to load again) and a copy of the history.
struct SavePairJob {
    std::string path;
    std::string bytes;
    World world;                // what the bytes must load back to
    StrengthLevels strength{};  // the computer's levels, kept beside the save
    Chronicle chronicle;
    int year = 0;
    int season = 0;
    // The game's history as composed: its marks before, and the mark of this save.
    std::size_t marksBefore = 0;
    SaveMark mark;
};
struct SavePairOutcome {
    std::optional<std::string> problem;
    bool trimmed = false;  // the oldest history was dropped for length
    std::size_t cutEntries = 0;
    std::size_t cutSeasons = 0;
    std::string keptAt;  // where an unreadable chronicle on disk was moved
};
// The game's part of a save pair (about a millisecond): the save's bytes, the
// game's history marked with them, and a copy of it and of the world. A message
// when the game cannot be written.
std::optional<std::string> ComposeSavePair(const std::string& path, Game& game, SavePairJob& job);
// The writing part, from any thread and touching no game: as WriteSavePair (the
// bytes checked to load again, then under the save's lock), waiting for another
// holder through `wait`.
SavePairOutcome WriteComposedPair(SavePairJob& job, const LockWait& wait, const WriteHooks& hooks = {});
// Back on the game's thread: the game's history as WriteSavePair would have left it
// (the oldest dropped when the file's was, the mark gone when the save failed).
void SettleSavePair(Game& game, const SavePairJob& job, const SavePairOutcome& out);

// What became of the files beside a loaded save: its chronicle, and the computer's levels.
struct ChronicleLoad {
    // Why the history starts again at the loaded season (no file, damaged, over
    // the cap, another save's); nothing when it goes on from the file.
    std::optional<std::string> problem;
    // A file stood there (anything but a missing chronicle).
    bool found = false;
    // Where the unreadable file now waits, or why it could not be moved there.
    std::string keptAt;
    std::optional<std::string> keepProblem;
    // Why the computer plays at the standard level although a file of levels
    // stands beside the save (damaged, of another version, another save's).
    std::optional<std::string> strengthProblem;
};
// "ロード"'s reading: the save at `path`, the computer's levels and the chronicle beside it (beside the
// file a link names), both under the save's shared lock, so that no save
// replaces the pair between the two. A message when the save cannot be loaded
// (`game` untouched). Otherwise the game is the save's; its chronicle goes on
// from the file's, cut back to the save when it runs past it, or starts again
// at the loaded season (`chronicle` says why). The computer plays each nation
// at the level kept for this save, at the standard level when none is. `keepUnread`: an unreadable
// chronicle is moved aside ("<its file>.damaged") before anything can be written over it.
// A chronicle that earlier saves left beside the link (none beside
// the file it names) is read from there.
std::optional<std::string> ReadSavePair(const std::string& path, Game& game, bool keepUnread, ChronicleLoad& chronicle);
// The player's note on a load whose history starts again: why, and where the unread file waits.
std::string ChronicleLoadNote(const ChronicleLoad& chronicle);
// The player's note on a load whose levels could not be read: the computer plays at the standard level.
std::string StrengthLoadNote(const ChronicleLoad& chronicle);

// The file's bytes for a game (code page 932, CR LF); empty when the game cannot be
// written so that it reads back (a text with a double quote, a line break or a
// character the code page lacks).
std::string WriteSaveBytes(const Game& game);
// Reads the file's bytes into `into` (a copy of the running game); on failure
// returns a message for the player and leaves `into` in an unspecified state.
// Values not kept in the file (TurnStep, the screen, the battle) are left alone.
std::optional<std::string> ReadSaveBytes(const std::string& bytes, Game& into);

}  // namespace tarvex
