// Reading and writing whole files safely: the save file's edge with the system.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace tarvex {

// Reads a regular file (a link to one is followed) of at most `cap` bytes.
// Anything else is refused with a message for the player: no such file, a
// folder, a device or pipe (never waited on), a file too large.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t cap, std::string& bytes);

// The steps of a replacement, for tests that stop a writer part-way as a crash would.
enum class WriteStage { Created, Written, Synced, Renamed };

// Puts `bytes` in the file at `path` whole or not at all. The new text goes to
// a fresh temporary file beside it (created exclusively, never through a
// link), is synced, takes the old file's permissions, and is renamed over the
// old file; the folder is synced after. A link at `path` is followed: the file
// it names is replaced and the link stays. Temporary files a crashed save left
// behind are removed first. On failure a message, and the old file is as it was.
// `stopAt`, when given, is asked after each stage; true abandons the write there
// without cleaning up, as a crash would.
std::optional<std::string> ReplaceFileWhole(const std::string& path, const std::string& bytes,
                                            const std::function<bool(WriteStage)>& stopAt = {});

// The name prefix of the temporary files a save of `path` makes beside it.
std::string TemporaryPrefix(const std::string& path);

}  // namespace tarvex
