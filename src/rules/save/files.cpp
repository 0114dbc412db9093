// Reading and writing whole files safely: the save file's edge with the system.
#include "rules/save/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <string_view>

#include "rules/world/numbers.h"

namespace tarvex {

namespace {

namespace fs = std::filesystem;

std::string Reason(int error) { return SystemErrorText(error); }

std::string TooLarge(const std::string& path, std::size_t cap) {
    return "大きすぎます (" + path + ": " + Str(static_cast<long long>(cap)) + "バイトまでです)";
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Hands the descriptor on: it is no longer closed here.
    void Release() { fd_ = -1; }
    // Closes now, reporting the error a late write may only show here.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file a link (or a chain of them) at `path` finally names; `path` itself when it is no link.
std::optional<fs::path> FollowLinks(fs::path path, std::string& problem) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(path, ec);
        if (ec || !fs::is_symlink(status)) return path;
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            problem = "リンクを読めません (" + path.string() + ": " + Reason(ec.value()) + ")";
            return std::nullopt;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    problem = "リンクが多すぎます (" + path.string() + ")";
    return std::nullopt;
}

std::string FreshSuffix() {
    // One a thread: saves of two threads (as of two programs) never share a draw.
    thread_local std::mt19937_64 engine{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix;
    for (int i = 0; i < 8; ++i) suffix += kLetters[engine() % (sizeof kLetters - 1)];
    return suffix;
}

// Removes what earlier saves of this file left behind: regular files with its
// temporary prefix that no save holds (a live writer keeps a lock on its own),
// never links or folders, never anything else.
void RemoveLeftovers(const fs::path& target) {
    const std::string prefix = TemporaryPrefix(target.string());
    std::error_code ec;
    fs::directory_iterator it(target.parent_path().empty() ? fs::path(".") : target.parent_path(), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        Descriptor left(::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        struct stat info {};
        if (left.get() < 0 || ::fstat(left.get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        // Held: another save is writing it now.
        if (::flock(left.get(), LOCK_EX | LOCK_NB) != 0) continue;
        std::error_code kind;
        fs::remove(it->path(), kind);
    }
}

// The file reads back as `bytes`, compared a piece at a time: a long chronicle is not held twice.
bool HoldsExactly(const fs::path& file, std::string_view bytes) {
    const Descriptor in(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (in.get() < 0 || ::fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<unsigned long long>(info.st_size) != bytes.size())
        return false;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return bytes.empty();
        const auto got = static_cast<std::size_t>(n);
        if (got > bytes.size() || bytes.substr(0, got) != std::string_view(buffer, got)) return false;
        bytes.remove_prefix(got);
    }
}

void SyncFolder(const fs::path& folder, const WriteHooks& hooks) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    if (::fsync(fd) == 0 && hooks.trace) hooks.trace(FileCall::SyncFolder, folder.string());
    ::close(fd);
}

}  // namespace

namespace {

// Opens a regular file of at most `cap` bytes for reading; a message for the player otherwise.
std::optional<std::string> OpenRegular(const std::string& path, std::size_t cap, int& fd, std::size_t& size) {
    // Not blocking: a pipe at the name must be refused, not waited on.
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) return "ファイルがありません (" + path + ")";
        return "ファイルを開けません (" + path + ": " + Reason(error) + ")";
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) return "ファイルを開けません (" + path + ": " + Reason(errno) + ")";
    if (S_ISDIR(info.st_mode)) return "フォルダです (" + path + ")";
    if (!S_ISREG(info.st_mode)) return "通常のファイルではありません (" + path + ")";
    if (static_cast<unsigned long long>(info.st_size) > cap) return TooLarge(path, cap);
    size = static_cast<std::size_t>(info.st_size);
    return std::nullopt;
}

// Reads on from `fd` in pieces, each handed to `take` (false stops the reading); a message on a failed read or a
// file that grew past `cap` since it was measured.
std::optional<std::string> ReadPieces(int fd, const std::string& path, std::size_t cap,
                                      const std::function<bool(std::string_view)>& take) {
    char buffer[65536];
    std::size_t total = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return "ファイルを読めません (" + path + ": " + Reason(errno) + ")";
        if (n == 0) return std::nullopt;
        total += static_cast<std::size_t>(n);
        if (total > cap) return TooLarge(path, cap);
        if (!take(std::string_view(buffer, static_cast<std::size_t>(n)))) return std::nullopt;
    }
}

}  // namespace

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t cap, std::string& bytes) {
    int fd = -1;
    std::size_t size = 0;
    auto problem = OpenRegular(path, cap, fd, size);
    const Descriptor file(fd);
    if (problem) return problem;
    bytes.clear();
    bytes.reserve(size);
    return ReadPieces(file.get(), path, cap, [&bytes](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
}

std::optional<std::string> ReadRegularFileLines(const std::string& path, std::size_t cap,
                                                const std::function<bool(std::string_view)>& take) {
    int fd = -1;
    std::size_t size = 0;
    auto problem = OpenRegular(path, cap, fd, size);
    const Descriptor file(fd);
    if (problem) return problem;
    // The start of a line whose end has not come yet.
    std::string pending;
    bool going = true;
    auto read = ReadPieces(file.get(), path, cap, [&](std::string_view piece) {
        for (std::size_t end = piece.find('\n'); going && end != std::string_view::npos; end = piece.find('\n')) {
            if (pending.empty()) {
                going = take(piece.substr(0, end));
            } else {
                pending.append(piece.substr(0, end));
                going = take(pending);
                pending.clear();
            }
            piece.remove_prefix(end + 1);
        }
        if (going) pending.append(piece);
        return going;
    });
    if (read) return read;
    if (going && !pending.empty()) take(pending);
    return std::nullopt;
}

std::string TemporaryPrefix(const std::string& path) { return fs::path(path).filename().string() + ".tmp-"; }

namespace {

// A fresh name beside `target`, created here and now: never an existing file,
// never through a link; locked at once, so that another save's clean-up leaves
// it alone. -1 with errno set when none can be made; `temp` is the last name tried.
int CreateHeldTemporary(const fs::path& target, fs::path& temp) {
    const fs::path folder = target.parent_path();
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = folder / (TemporaryPrefix(target.string()) + FreshSuffix());
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
        if (fd < 0) continue;
        struct stat made {};
        // Removed by another save's clean-up before the lock was ours: take another name.
        if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &made) != 0 || made.st_nlink == 0) {
            ::close(fd);
            fd = -1;
            errno = EEXIST;
        }
    }
    return fd;
}

// The written file takes the target's name once it is seen to hold exactly `bytes`;
// renamed while still held, so that no clean-up takes it from under the rename.
std::optional<std::string> PutInPlace(const fs::path& temp, const fs::path& target, const std::string& bytes) {
    if (!HoldsExactly(temp, bytes)) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return "書き込んだ内容を確かめられません (" + temp.string() + ")";
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        std::error_code ignored;
        fs::remove(temp, ignored);
        return "ファイルを置き換えられません (" + target.string() + ": " + Reason(error) + ")";
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ReplaceFileWhole(const std::string& path, const std::string& bytes,
                                            const WriteHooks& hooks) {
    std::string problem;
    const std::optional<fs::path> followed = FollowLinks(path, problem);
    if (!followed) return problem;
    const fs::path& target = *followed;
    const fs::path folder = target.parent_path();
    const auto traced = [&](FileCall call, const fs::path& file) {
        if (hooks.trace) hooks.trace(call, file.string());
        return true;
    };

    // What stands at the name now: a file keeps its permissions; anything else is not ours to replace.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) return "フォルダです (" + target.string() + ")";
    if (exists && !S_ISREG(old.st_mode)) return "通常のファイルではありません (" + target.string() + ")";

    RemoveLeftovers(target);

    fs::path temp;
    const int fd = CreateHeldTemporary(target, temp);
    if (fd < 0) return "ファイルを作れません (" + temp.string() + ": " + Reason(errno) + ")";
    traced(FileCall::Create, temp);
    Descriptor file(fd);
    // The lock lives as long as this second descriptor: past the close that reports a late write error, up to the
    // rename.
    const Descriptor held(::dup(fd));
    const std::string name = target.string();
    const auto stop = [&](WriteStage stage) {
        if (!hooks.stopAt || !hooks.stopAt(name, stage)) return false;
        // What a crash leaves on disk: the temporary file stays as it is.
        if (file.get() >= 0) file.Close();
        return true;
    };
    const auto fail = [&](const std::string& what, int error) -> std::optional<std::string> {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return what + " (" + temp.string() + ": " + Reason(error) + ")";
    };
    if (stop(WriteStage::Created)) return "書き込みを途中で止めました";

    if (!WriteAll(file.get(), bytes)) return fail("書き込みに失敗しました", errno);
    traced(FileCall::Write, temp);
    if (stop(WriteStage::Written)) return "書き込みを途中で止めました";
    // The old file's permissions, not the temporary file's own.
    if (exists && ::fchmod(file.get(), old.st_mode & 07777) != 0) return fail("書き込みに失敗しました", errno);
    // On disk before it replaces the old save: a crash now must not leave an empty file.
    if (::fsync(file.get()) != 0) return fail("書き込みに失敗しました", errno);
    traced(FileCall::Sync, temp);
    if (!file.Close()) return fail("書き込みに失敗しました", errno);
    traced(FileCall::Close, temp);
    if (stop(WriteStage::Synced)) return "書き込みを途中で止めました";

    if (auto problem = PutInPlace(temp, target, bytes)) return problem;
    traced(FileCall::Rename, target);
    if (stop(WriteStage::Renamed)) return "書き込みを途中で止めました";
    SyncFolder(folder, hooks);
    return std::nullopt;
}

std::string LockFilePath(const std::string& path) { return path + ".lock"; }

std::string BesideSave(const std::string& savePath, const std::string& extension) {
    const std::string suffix = ".dt";
    if (savePath.size() >= suffix.size() &&
        savePath.compare(savePath.size() - suffix.size(), suffix.size(), suffix) == 0)
        return savePath.substr(0, savePath.size() - suffix.size()) + extension;
    return savePath + extension;
}

SaveLock::~SaveLock() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<std::string> ResolveSavePath(const std::string& path, std::string& problem) {
    const std::optional<fs::path> followed = FollowLinks(path, problem);
    if (!followed) return std::nullopt;
    return followed->string();
}

std::optional<std::string> SaveLock::Take(const std::string& path, LockKind kind, const LockWait& wait) {
    std::string problem;
    const std::optional<fs::path> followed = FollowLinks(path, problem);
    if (!followed) return problem;
    const std::string lockPath = LockFilePath(followed->string());
    const auto refused = [&](const std::string& why) { return why + " (" + lockPath + ")"; };
    // Looked at before it is opened: opening a pipe or a device could itself wait, or do something.
    struct stat seen {};
    if (::lstat(lockPath.c_str(), &seen) == 0) {
        if (S_ISLNK(seen.st_mode)) return refused("ロックのファイルがリンクです。リンクはたどりません");
        if (!S_ISREG(seen.st_mode)) return refused("ロックのファイルが通常のファイルではありません");
    }
    // Never through a link, never waiting in the open, and kept: removing it could let two saves hold two files.
    constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    int fd = ::open(lockPath.c_str(), kFlags | O_CREAT, 0666);
    if (fd < 0 && kind == LockKind::Shared && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        // A folder the game cannot write: a lock file another program made is shared,
        // and with none a load goes on alone, for no save can be written here.
        fd = ::open(lockPath.c_str(), kFlags);
        if (fd < 0 && errno == ENOENT) return std::nullopt;
    }
    if (fd < 0) {
        if (errno == ELOOP) return refused("ロックのファイルがリンクです。リンクはたどりません");
        return "ファイルを作れません (" + lockPath + ": " + Reason(errno) + ")";
    }
    Descriptor file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0) return "セーブを始められません (" + lockPath + ": " + Reason(errno) + ")";
    // What was put there between the look and the open.
    if (!S_ISREG(info.st_mode)) return refused("ロックのファイルが通常のファイルではありません");
    const int operation = kind == LockKind::Shared ? LOCK_SH : LOCK_EX;
    // Without a way to show the wait, it is waited out as before.
    const auto start = std::chrono::steady_clock::now();
    while (::flock(fd, operation | (wait ? LOCK_NB : 0)) != 0) {
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK || !wait) return "セーブを始められません (" + lockPath + ": " + Reason(errno) + ")";
        const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
        if (!wait(waited.count())) return refused("ほかのプログラムが使い終わるのを待たずにやめました");
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    file.Release();
    return std::nullopt;
}

std::string SystemErrorText(int error) {
    switch (error) {
        case ENOSPC:
            return "ディスクの空きがありません";
        case EDQUOT:
            return "使える容量を超えました";
        case EACCES:
        case EPERM:
            return "権限がありません";
        case EROFS:
            return "書き込めない場所です";
        case ENOENT:
            return "ファイルかフォルダがありません";
        case ENOTDIR:
            return "途中にフォルダでないものがあります";
        case EISDIR:
            return "フォルダです";
        case ELOOP:
            return "リンクが多すぎます";
        case EFBIG:
        case EOVERFLOW:
            return "ファイルが大きすぎます";
        case EIO:
            return "読み書きのエラーです";
        default:
            return std::strerror(error);
    }
}

}  // namespace tarvex
