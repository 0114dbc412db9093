// What a player ("ロード", "セーブ") and another program (tarvex-sim) meet when the
// save's lock or its chronicle is odd: told plainly, never a hang, no history lost.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "rules/chronicle/chronicle.h"
#include "rules/chronicle/chronicle_file.h"
#include "rules/save/savefile.h"
#include "rules/turn/cycle.h"
#include "sim/simulation.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

namespace fs = std::filesystem;

struct Slot {
    fs::path dir;
    Slot() {
        static int count = 0;
        dir = fs::temp_directory_path() / ("tarvex-pair-" + std::to_string(::getpid()) + "-" + std::to_string(++count));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~Slot() { fs::remove_all(dir); }
    Slot(const Slot&) = delete;
    Slot& operator=(const Slot&) = delete;
    std::string File(const std::string& name) const { return (dir / name).string(); }
};

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Told(const std::vector<std::string>& boxes, const std::string& words) {
    for (const std::string& box : boxes)
        if (box.find(words) != std::string::npos) return true;
    return false;
}

TEST(SavePairOutcomes, OddLocksAndUnreadableChroniclesAreToldAndNoHistoryIsLost) {
    const auto write = [](const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    };
    const struct Row {
        const char* what;
        std::function<void(const Slot&)> spoil;  // done to a saved pair that has a history
        const char* loadTold;                    // in the player's boxes after "ロード"
        const char* saveTold;                    // ... and after the "セーブ" that follows
        int simStatus;                           // tarvex-sim --load --years 0
        const char* simTold;                     // on its stderr
        const char* keptAs;                      // where the spoiled chronicle waits afterwards
    } rows[] = {
        {"a pipe as the lock", [](const Slot& s) { ASSERT_EQ(::mkfifo(s.File("Game.dt.lock").c_str(), 0600), 0); },
         "ロードできませんでした: ロックのファイルが通常のファイルではありません",
         "セーブできませんでした: ロックのファイルが通常のファイルではありません", 2, "通常のファイルではありません",
         ""},
        {"a link as the lock", [](const Slot& s) { fs::create_symlink(s.File("elsewhere"), s.File("Game.dt.lock")); },
         "ロードできませんでした: ロックのファイルがリンクです。リンクはたどりません",
         "セーブできませんでした: ロックのファイルがリンクです。リンクはたどりません", 2, "リンクはたどりません", ""},
        {"a damaged chronicle",
         [&](const Slot& s) { write(s.File("Game.chronicle"), "tarvex-chronicle 2\nsave\t1\t1\n壊れた行\n"); },
         "Game.chronicle.damaged", "セーブしました", 2, "its chronicle cannot be read: 3行目",
         "Game.chronicle.damaged"},
        {"a chronicle over the cap",
         [&](const Slot& s) {
             write(s.File("Game.chronicle"), "tarvex-chronicle 2\n");
             fs::resize_file(s.File("Game.chronicle"), kMaxChronicleBytes + 1);
         },
         "大きすぎます", "セーブしました", 2, "大きすぎます", "Game.chronicle.damaged"},
        {"a save reached through a link",
         [](const Slot& s) {
             fs::create_directory(s.File("real"));
             for (const char* name : {"Game.dt", "Game.chronicle"}) fs::rename(s.File(name), s.File("real/") + name);
             fs::create_symlink("real/Game.dt", s.File("Game.dt"));
         },
         "ロードしました", "セーブしました", 0, "", ""},
        {"a link saved through before the pair followed links",
         [](const Slot& s) {
             fs::create_directory(s.File("real"));
             fs::rename(s.File("Game.dt"), s.File("real/Game.dt"));
             fs::create_symlink("real/Game.dt", s.File("Game.dt"));
         },
         "ロードしました", "セーブしました", 0, "", ""},
    };
    for (const Row& row : rows) {
        Slot slot;
        const std::string save = slot.File("Game.dt");
        testing::RulesGame saved;
        saved.screen.savePath = save;
        RecordEntry(saved.game, EntryKind::History, "「傭兵」ダンチヒで兵が+10されました。", {50}, {21});
        AdvanceSeason(saved.game);
        ASSERT_TRUE(SaveGame(saved.game));
        // The save left a lock file of its own.
        fs::remove(slot.File("Game.dt.lock"));
        row.spoil(slot);
        const std::string spoiled = row.keptAs[0] ? Bytes(slot.File("Game.chronicle")) : "";

        // Another program: told on stderr, with a status, and nothing moved or written.
        std::ostringstream out, err;
        EXPECT_EQ(sim::Main({"--load", save, "--years", "0"}, out, err), row.simStatus) << row.what << err.str();
        EXPECT_NE(err.str().find(row.simTold), std::string::npos) << row.what << ": " << err.str();

        // The player: told in a box; an unreadable chronicle kept before the save writes a new one.
        testing::RulesGame player;
        player.screen.savePath = save;
        LoadGame(player.game);
        EXPECT_TRUE(Told(player.screen.Boxes(), row.loadTold)) << row.what << ": " << player.screen.Boxes().back();
        player.screen.Clear();
        SaveGame(player.game);
        EXPECT_TRUE(Told(player.screen.Boxes(), row.saveTold)) << row.what << ": " << player.screen.Boxes().back();
        if (row.keptAs[0]) {
            EXPECT_EQ(Bytes(slot.File(row.keptAs)), spoiled) << row.what;
        }
        if (row.simStatus == 0) {
            // Through the link: the whole history; saved, the pair and its lock beside the file it names.
            EXPECT_EQ(player.game.chronicle.entries, saved.game.chronicle.entries) << row.what;
            EXPECT_TRUE(fs::exists(slot.File("real/Game.dt.lock"))) << row.what;
            EXPECT_TRUE(fs::exists(slot.File("real/Game.chronicle"))) << row.what;
            testing::RulesGame again;
            again.screen.savePath = save;
            LoadGame(again.game);
            EXPECT_EQ(again.game.chronicle.entries, saved.game.chronicle.entries) << row.what;
            EXPECT_EQ(again.screen.Boxes().back(), "ロードしました") << row.what;
        }
    }
}

// Another game saved over a pair whose chronicle no load can read keeps that chronicle first.
TEST(SavePairOutcomes, ANewGameSavedOverAnUnreadChronicleKeepsItAndSaysWhere) {
    Slot slot;
    testing::RulesGame old, newcomer;
    old.screen.savePath = newcomer.screen.savePath = slot.File("Game.dt");
    AdvanceSeason(old.game);
    ASSERT_TRUE(SaveGame(old.game));
    const std::string damaged = "tarvex-chronicle 2\nsave\t1\t2\n壊れた行\n";
    std::ofstream(slot.File("Game.chronicle"), std::ios::binary | std::ios::trunc) << damaged;
    ASSERT_TRUE(SaveGame(newcomer.game));
    EXPECT_EQ(newcomer.screen.Boxes().back(), "セーブしました\n前の年代記は読めなかったので、次の場所に残しました:\n" +
                                                  slot.File("Game.chronicle.damaged"));
    EXPECT_EQ(Bytes(slot.File("Game.chronicle.damaged")), damaged);
}

// Asked to go on, the simulator keeps the unread chronicle aside and says where.
TEST(SavePairOutcomes, TheSimulatorGoesOnFromAnUnreadChronicleOnlyWhenAsked) {
    Slot slot;
    const std::string save = slot.File("Game.dt");
    testing::RulesGame saved;
    saved.screen.savePath = save;
    ASSERT_TRUE(SaveGame(saved.game));
    const std::string damaged = "tarvex-chronicle 2\n壊れた行\n";
    std::ofstream(slot.File("Game.chronicle"), std::ios::binary | std::ios::trunc) << damaged;
    std::ostringstream out, err;
    EXPECT_EQ(sim::Main({"--load", save, "--years", "1", "--restart-chronicle", "--save", save}, out, err), 0)
        << err.str();
    EXPECT_NE(err.str().find("kept as " + slot.File("Game.chronicle.damaged")), std::string::npos) << err.str();
    EXPECT_EQ(Bytes(slot.File("Game.chronicle.damaged")), damaged);
    // The new pair loads whole.
    testing::RulesGame player;
    player.screen.savePath = save;
    LoadGame(player.game);
    EXPECT_EQ(player.screen.Boxes().back(), "ロードしました");
}

}  // namespace
}  // namespace tarvex
