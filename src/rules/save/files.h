// Reading and writing whole files safely: the save file's edge with the system.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarvex {

// The system's reason for a failed file call, in Japanese for the errors a player
// can meet (no space, no permission, a read-only disk, ...); the system's own text
// for the rare rest.
std::string SystemErrorText(int error);

// Reads a regular file (a link to one is followed) of at most `cap` bytes.
// Anything else is refused with a message for the player: no such file, a
// folder, a device or pipe (never waited on), a file too large.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t cap, std::string& bytes);
// The same file a line at a time as it is read, for a long one: `take` gets each
// line without its LF (the last one also without), and returns false to stop.
std::optional<std::string> ReadRegularFileLines(const std::string& path, std::size_t cap,
                                                const std::function<bool(std::string_view line)>& take);

// The steps of a replacement, for tests that stop a writer part-way as a crash would.
enum class WriteStage { Created, Written, Synced, Renamed };
// The calls a replacement makes on the disk, in order, for tests that check it
// (the new file synced before it takes the old one's place).
enum class FileCall { Create, Write, Sync, Close, Rename, SyncFolder };

struct WriteHooks {
    // Asked after each stage with the file being written; true abandons the
    // write there without cleaning up, as a crash would.
    std::function<bool(const std::string& file, WriteStage stage)> stopAt = {};
    // Told of each call on the disk as it succeeds, with the file it concerns.
    std::function<void(FileCall call, const std::string& file)> trace = {};
};

// Puts `bytes` in the file at `path` whole or not at all. The new text goes to
// a fresh temporary file beside it (created exclusively, never through a
// link), is synced, takes the old file's permissions, and is renamed over the
// old file; the folder is synced after. A link at `path` is followed: the file
// it names is replaced and the link stays. Temporary files a crashed save left
// behind are removed first, never one another save is still writing. On
// failure a message, and the old file is as it was.
std::optional<std::string> ReplaceFileWhole(const std::string& path, const std::string& bytes,
                                            const WriteHooks& hooks = {});

// The name prefix of the temporary files a save of `path` makes beside it.
std::string TemporaryPrefix(const std::string& path);

// How a save is held: loads share it, a save holds it alone.
enum class LockKind { Shared, Exclusive };
// Asked about every tenth of a second while another program holds the save,
// with the seconds waited so far; it passes that time itself (a window keeps
// answering meanwhile) and returns false when the player gives up.
using LockWait = std::function<bool(double waited)>;

// Holds the save at `path` while it is read or written: an advisory lock on
// "<file>.lock" beside the file a link at `path` names. A lock file that is a
// link, a pipe or a device is refused at once, never opened into a wait. A
// folder where a lock file cannot be made lets a load go on unlocked: no save
// can be written there either. Released when the object goes.
class SaveLock {
public:
    SaveLock() = default;
    ~SaveLock();
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;
    // Takes the lock, waiting for another holder (through `wait` when given);
    // a message when it cannot be had or the wait was given up.
    std::optional<std::string> Take(const std::string& path, LockKind kind = LockKind::Exclusive,
                                    const LockWait& wait = {});

private:
    int fd_ = -1;
};

// The file a link (or a chain of them) at `path` finally names, beside which
// its chronicle and lock lie; `path` itself when it is no link. Nothing, and
// `problem` set, when a link cannot be read or the chain does not end.
std::optional<std::string> ResolveSavePath(const std::string& path, std::string& problem);

// The lock file of the save at `path` (before links are followed).
std::string LockFilePath(const std::string& path);

// A file kept beside a save: "Game.dt" with ".chronicle" is "Game.chronicle" in the same folder.
std::string BesideSave(const std::string& savePath, const std::string& extension);

}  // namespace tarvex
