// Whole files in and out: a save stopped at any moment, links, permissions, what is no file.
#include "rules/save/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace tarvex {
namespace {

namespace fs = std::filesystem;

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
    std::vector<FileCall> calls;
    std::vector<std::string> files;
    const WriteHooks traced{.trace = [&](FileCall call, const std::string& file) {
        calls.push_back(call);
        files.push_back(file);
    }};
    ASSERT_FALSE(ReplaceFileWhole(path, "new", traced).has_value());
    EXPECT_EQ(calls, (std::vector<FileCall>{FileCall::Create, FileCall::Write, FileCall::Sync, FileCall::Close,
                                            FileCall::Rename, FileCall::SyncFolder}));
    ASSERT_EQ(files.size(), 6u);
    // Written, synced and closed under the temporary name; the rename puts it at the save's.
    for (int i = 0; i < 4; ++i) EXPECT_EQ(files[i].rfind(f / TemporaryPrefix(path), 0), 0u) << files[i];
    EXPECT_EQ(files[4], path);
    EXPECT_EQ(files[5], f.dir.string());
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
