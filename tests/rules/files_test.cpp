// Whole files in and out: a save stopped at any moment, links, permissions, what is no file.
#include "rules/save/files.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <vector>

namespace tarvex {
// What the disk is asked to do, as the system sees it: a sync of a file or folder
// (by the name its descriptor has at that moment) or a rename.
struct DiskCall {
    std::string call, file, to;
};
}  // namespace tarvex

// Every sync and rename of this program passes through here while a DiskWatch
// is alive: the system's own calls, whatever the code says it did.
namespace {
std::mutex watchLock;
std::vector<tarvex::DiskCall>* watched = nullptr;

std::string NameOf(int fd) {
    char buffer[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

void Note(tarvex::DiskCall call) {
    const std::lock_guard<std::mutex> hold(watchLock);
    if (watched) watched->push_back(std::move(call));
}

template <class Function>
Function* Real(const char* name) {
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}
}  // namespace

extern "C" int fsync(int fd) {
    static auto* real = Real<int(int)>("fsync");
    const int result = real(fd);
    if (result == 0) Note({"sync", NameOf(fd), {}});
    return result;
}

extern "C" int fdatasync(int fd) {
    static auto* real = Real<int(int)>("fdatasync");
    const int result = real(fd);
    if (result == 0) Note({"sync", NameOf(fd), {}});
    return result;
}

extern "C" int rename(const char* from, const char* to) noexcept {
    static auto* real = Real<int(const char*, const char*)>("rename");
    const int result = real(from, to);
    if (result == 0) Note({"rename", from, to});
    return result;
}

namespace tarvex {
namespace {

namespace fs = std::filesystem;

// Watches the disk calls for as long as it lives.
struct DiskWatch {
    explicit DiskWatch(std::vector<DiskCall>& calls) {
        const std::lock_guard<std::mutex> hold(watchLock);
        watched = &calls;
    }
    ~DiskWatch() {
        const std::lock_guard<std::mutex> hold(watchLock);
        watched = nullptr;
    }
    DiskWatch(const DiskWatch&) = delete;
    DiskWatch& operator=(const DiskWatch&) = delete;
};

struct Folder {
    Folder() {
        static int count = 0;
        dir =
            fs::temp_directory_path() / ("tarvex-files-" + std::to_string(::getpid()) + "-" + std::to_string(++count));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~Folder() { fs::remove_all(dir); }
    std::string operator/(const std::string& name) const { return (dir / name).string(); }
    int Temporaries(const std::string& prefix) const {
        int n = 0;
        for (const auto& e : fs::directory_iterator(dir)) n += e.path().filename().string().rfind(prefix, 0) == 0;
        return n;
    }
    fs::path dir;
};

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(WholeFile, AWriterStoppedAtAnyStageLeavesTheOldOrTheNewFileWhole) {
    const std::string old(9000, 'o'), next(9100, 'n');
    for (WriteStage stage : {WriteStage::Created, WriteStage::Written, WriteStage::Synced, WriteStage::Renamed}) {
        Folder f;
        const std::string path = f / "Game.dt";
        Write(path, old);
        const WriteHooks stopped{.stopAt = [stage](const std::string&, WriteStage at) { return at == stage; }};
        EXPECT_TRUE(ReplaceFileWhole(path, next, stopped).has_value());
        EXPECT_EQ(Read(path), stage == WriteStage::Renamed ? next : old) << static_cast<int>(stage);
        // The next save takes up what the stopped one left behind.
        EXPECT_FALSE(ReplaceFileWhole(path, "third").has_value());
        EXPECT_EQ(Read(path), "third");
        EXPECT_EQ(f.Temporaries(TemporaryPrefix(path)), 0) << static_cast<int>(stage);
    }
}

TEST(WholeFile, LinksAreFollowedToTheSaveAndNeverIntoAnotherFile) {
    Folder f;
    const std::string save = f / "Game.dt", real = f / "real.dt", victim = f / "victim.txt";
    Write(real, "old");
    Write(victim, "mine");
    fs::create_symlink("real.dt", save);
    // Links standing where temporary files are made or were left: never written through, never removed.
    fs::create_symlink(victim, save + ".tmp");
    fs::create_symlink(victim, f / (TemporaryPrefix(save) + "y"));
    ASSERT_FALSE(ReplaceFileWhole(save, "new").has_value());
    EXPECT_TRUE(fs::is_symlink(save));
    EXPECT_EQ(Read(real), "new");
    EXPECT_EQ(Read(victim), "mine");
    EXPECT_TRUE(fs::is_symlink(f / (TemporaryPrefix(save) + "y")));
    // A chain that never ends is refused.
    fs::create_symlink("loop", f / "loop");
    EXPECT_TRUE(ReplaceFileWhole(f / "loop", "x").has_value());
}

TEST(WholeFile, TheOldFilesPermissionsStay) {
    Folder f;
    const std::string path = f / "Game.dt";
    Write(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_FALSE(ReplaceFileWhole(path, "new").has_value());
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(WholeFile, OnlyARegularFileWithinTheCapIsRead) {
    Folder f;
    Write(f / "small", "12345");
    ASSERT_EQ(::mkfifo((f / "fifo").c_str(), 0600), 0);
    const std::pair<std::string, const char*> cases[] = {
        {f / "small", nullptr},
        {f / "none", "ファイルがありません"},
        {f.dir.string(), "フォルダです"},
        {f / "fifo", "通常のファイルではありません"},
        {"/dev/zero", "通常のファイルではありません"},
    };
    for (const auto& [path, refusal] : cases) {
        std::string bytes;
        const auto problem = ReadRegularFile(path, 5, bytes);
        if (!refusal) {
            EXPECT_FALSE(problem.has_value()) << path;
            EXPECT_EQ(bytes, "12345");
        } else {
            ASSERT_TRUE(problem.has_value()) << path;
            EXPECT_NE(problem->find(refusal), std::string::npos) << *problem;
        }
    }
    std::string bytes;
    const auto problem = ReadRegularFile(f / "small", 4, bytes);
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->find("大きすぎます"), std::string::npos) << *problem;
}

TEST(WholeFile, TheNewFileIsOnDiskBeforeItTakesTheOldOnesPlace) {
    Folder f;
    const std::string path = f / "Game.dt";
    Write(path, "old");
    std::vector<DiskCall> calls;
    {
        const DiskWatch watch(calls);
        ASSERT_FALSE(ReplaceFileWhole(path, "new").has_value());
    }
    EXPECT_EQ(Read(path), "new");
    // The new file synced under its temporary name, then renamed over the save, then the folder synced.
    const auto rename = std::find_if(calls.begin(), calls.end(), [](const DiskCall& c) { return c.call == "rename"; });
    ASSERT_NE(rename, calls.end());
    EXPECT_EQ(rename->to, path);
    EXPECT_EQ(rename->file.rfind(f / TemporaryPrefix(path), 0), 0u) << rename->file;
    // The system names a descriptor's file by its real path.
    const fs::path folder = fs::canonical(f.dir);
    const auto synced = [&](auto from, auto to, const fs::path& file) {
        return std::any_of(from, to, [&](const DiskCall& c) { return c.call == "sync" && c.file == file.string(); });
    };
    EXPECT_TRUE(synced(calls.begin(), rename, folder / fs::path(rename->file).filename()))
        << "the new file is not synced before the rename";
    EXPECT_TRUE(synced(rename, calls.end(), folder)) << "the folder is not synced after the rename";
}

TEST(WholeFile, ALeftoverIsRemovedOnlyWhenNoSaveHoldsIt) {
    Folder f;
    const std::string path = f / "Game.dt";
    const std::string held = f / (TemporaryPrefix(path) + "live"), left = f / (TemporaryPrefix(path) + "dead");
    Write(held, "being written");
    Write(left, "crashed");
    const int fd = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);  // as a live save holds its own
    ASSERT_FALSE(ReplaceFileWhole(path, "new").has_value());
    EXPECT_TRUE(fs::exists(held));
    EXPECT_FALSE(fs::exists(left));
    ::close(fd);
    ASSERT_FALSE(ReplaceFileWhole(path, "newer").has_value());
    EXPECT_FALSE(fs::exists(held));
}

TEST(WholeFile, TheSystemsReasonsAPlayerMeetsAreInJapanese) {
    const std::pair<int, const char*> reasons[] = {
        {ENOSPC, "ディスクの空きがありません"},
        {EACCES, "権限がありません"},
        {EPERM, "権限がありません"},
        {EROFS, "書き込めない場所です"},
        {ENOENT, "ファイルかフォルダがありません"},
        {EISDIR, "フォルダです"},
        {ELOOP, "リンクが多すぎます"},
        {EFBIG, "ファイルが大きすぎます"},
        {EIO, "読み書きのエラーです"},
    };
    for (const auto& [error, text] : reasons) EXPECT_EQ(SystemErrorText(error), text) << error;
    // The rare rest keep the system's own words.
    EXPECT_EQ(SystemErrorText(EMLINK), std::strerror(EMLINK));
    // And they reach the player's message.
    Folder f;
    const auto problem = ReplaceFileWhole(f / "gone/Game.dt", "x");
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->find("ファイルかフォルダがありません"), std::string::npos) << *problem;
}

}  // namespace
}  // namespace tarvex
