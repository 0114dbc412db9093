// The save file: what it holds, how it is written to disk, and the files it refuses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "save/codepage.h"
#include "save/savefile.h"
#include "state/numbers.h"
#include "support/scripted_screen.h"
#include "turn/cycle.h"

namespace tarvex {
namespace {

namespace fs = std::filesystem;
using testing::Shown;
using testing::TestGame;

// A directory of its own for each test, gone afterwards.
class TempDir {
public:
    TempDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() /
                ("tarvex-save-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A quoted text as the file holds it.
std::string Quoted932(const std::string& utf8) {
    std::string out;
    std::size_t bad = 0;
    EXPECT_TRUE(ToCodePage932(utf8, out, bad));
    return "\"" + out + "\"";
}

// The file's lines without their CR LF.
std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += line + "\r\n";
    return out;
}

// Every variable the file carries, compared one by one so a failure names it.
void ExpectSavedEqual(const Game& a, const Game& b) {
    EXPECT_EQ(a.Year, b.Year);
    EXPECT_EQ(a.SeasonNames, b.SeasonNames);
    EXPECT_EQ(a.Season, b.Season);
    EXPECT_EQ(a.AdvanceGuard, b.AdvanceGuard);
    EXPECT_EQ(a.Title, b.Title);
    EXPECT_EQ(a.FoodPrice, b.FoodPrice);
    EXPECT_EQ(a.ArmsPrice, b.ArmsPrice);
    EXPECT_EQ(a.TroopsPrice, b.TroopsPrice);
    EXPECT_EQ(a.SettingsPending, b.SettingsPending);
    EXPECT_EQ(a.NationChoice, b.NationChoice);
    EXPECT_EQ(a.MessageSpeed, b.MessageSpeed);
    EXPECT_EQ(a.EnterAdvanceSetting, b.EnterAdvanceSetting);
    for (int i = 1; i <= kCityCount; ++i) EXPECT_EQ(a.Cities[i], b.Cities[i]) << "city " << i;
    for (int n = 1; n <= kNationCount; ++n) EXPECT_EQ(a.Nations[n], b.Nations[n]) << "nation " << n;
    EXPECT_EQ(a.TurnOrder, b.TurnOrder);
    EXPECT_EQ(a.PlayerNation, b.PlayerNation);
    EXPECT_EQ(a.CurrentCity, b.CurrentCity);
    EXPECT_EQ(a.CommandKind, b.CommandKind);
    EXPECT_EQ(a.TargetCount, b.TargetCount);
    EXPECT_EQ(a.TargetList, b.TargetList);
    EXPECT_EQ(a.MessageWait, b.MessageWait);
    EXPECT_EQ(a.AutoAdvance, b.AutoAdvance);
    EXPECT_EQ(a.EnterAdvance, b.EnterAdvance);
    EXPECT_EQ(a.AdvanceReady, b.AdvanceReady);
    EXPECT_EQ(a.PlayerActed, b.PlayerActed);
    EXPECT_EQ(a.PlayerTurn, b.PlayerTurn);
    EXPECT_EQ(a.TurnStart, b.TurnStart);
    EXPECT_EQ(a.Delegated, b.Delegated);
}

// A game some way into play: every kind of value away from its new-game default.
void PlayALittle(Game& g) {
    BuildTurnOrder(g);
    g.Year = 12;
    g.Season = 3;
    g.FoodPrice = 0.4 + 0.3;  // not exactly 0.7: the file must carry every digit that matters
    g.ArmsPrice = 9.9;
    g.TroopsPrice = 2.1;
    g.Cities[15].Owner = "イングランド王国";
    g.Cities[15].Troops = 1005;  // a breach the game reports but keeps
    g.Cities[16].Food = -3;
    g.Cities[17].Gold = 999;
    g.Nations[8].Wins = 4;
    g.Nations[8].Losses = 7;
    g.Nations[8].TacticCount = {0, 1, 2, 3, 4, 5};
    g.Delegated[1] = true;
    g.Delegated[4] = true;
    g.CurrentCity = 4;
    g.CommandKind = 2;
    g.TargetCount = 3;
    g.TargetList[0] = 16;
    g.TargetList[1] = 2;
    g.TargetList[2] = 75;
    g.MessageSpeed = 1;
    g.MessageWait = 0.2;
    g.EnterAdvanceSetting = 1;
    g.EnterAdvance = true;
    g.AutoAdvance = false;
    g.PlayerActed = true;
    g.PlayerTurn = true;
    g.NationChoice = "イングランド王国";
}

TEST(SaveFile, SavedGameLoadsBackEqualAndSavesToTheSameBytes) {
    TempDir dir;
    TestGame saved;
    saved.screen.savePath = dir.File("Game.dt");
    PlayALittle(saved.game);
    std::array<int, kCityCount + 1> identity{};
    for (int i = 1; i <= kCityCount; ++i) identity[i] = i;
    ASSERT_NE(saved.game.TurnOrder, identity) << "the order must be a shuffled one";

    ASSERT_TRUE(SaveGame(saved.game));
    EXPECT_EQ(saved.screen.Boxes(), std::vector<std::string>{"セーブしました"});
    EXPECT_FALSE(fs::exists(dir.File("Game.dt.tmp")));

    // Another running game (other prices, other player) takes it over.
    TestGame other("フランス王国", 99);
    other.screen.savePath = saved.screen.savePath;
    other.game.TurnStep = 40;
    other.game.shown.main.activePanel = Panel::Pic5;
    LoadGame(other.game);

    Game& g = other.game;
    ExpectSavedEqual(saved.game, g);
    EXPECT_EQ(g.screen, &other.screen);
    EXPECT_EQ(g.random, &other.mersenne);
    EXPECT_EQ(g.TurnStep, 1);
    EXPECT_EQ(g.shown.main.activePanel, Panel::Pic1);
    EXPECT_EQ(g.shown.main.caption, "12年目の秋");
    EXPECT_EQ(other.screen.Lines(1), std::vector<std::string>{"12年目の秋です"});
    EXPECT_EQ(g.shown.main.lblMsgKome, "0.7");
    EXPECT_EQ(g.shown.main.lblMsgBuki, "9.9");
    EXPECT_EQ(g.shown.main.lblMsgHei, "2.1");
    EXPECT_EQ(g.shown.main.panels[15].Ryoshu, "イングランド王国");
    EXPECT_TRUE(g.shown.main.panels[15].playerColour);
    // The refresh reports the breaches it finds, then the load says it is done.
    EXPECT_EQ(other.screen.Boxes(),
              (std::vector<std::string>{"MAXエラー兵 1005:999", "MINエラー米-3:999", "ロードしました"}));

    const std::string first = ReadBytes(saved.screen.savePath);
    other.screen.savePath = dir.File("again.dt");
    ASSERT_TRUE(SaveGame(g));
    EXPECT_EQ(ReadBytes(other.screen.savePath), first);
}

TEST(SaveFile, FileHoldsOneValueALineInCodePage932) {
    TempDir dir;
    TestGame t;
    t.screen.savePath = dir.File("Game.dt");
    t.game.Delegated[75] = true;
    t.game.FoodPrice = 1.2;
    ASSERT_TRUE(SaveGame(t.game));
    const std::string bytes = ReadBytes(t.screen.savePath);

    // Every line ends in CR LF, and no lone LF or CR hides inside.
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    std::size_t crlf = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            EXPECT_EQ(bytes[i - 1], '\r') << "at byte " << i;
            ++crlf;
        }
        if (bytes[i] == '\r') {
            EXPECT_EQ(bytes[i + 1], '\n') << "at byte " << i;
        }
    }
    EXPECT_EQ(crlf, 1485u);

    const auto lines = Lines(bytes);
    ASSERT_EQ(lines.size(), 1485u);
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[1], "\"\x8F\x74\"");  // 春
    EXPECT_EQ(lines[2], "\"\x89\xC4\"");  // 夏
    EXPECT_EQ(lines[3], "\"\x8F\x48\"");  // 秋
    EXPECT_EQ(lines[4], "\"\x93\x7E\"");  // 冬
    EXPECT_EQ(lines[5], "1");             // spring
    EXPECT_EQ(lines[6], "0");
    EXPECT_EQ(lines[7], "\"Tarvex\"");
    EXPECT_EQ(lines[8], "1.2");
    EXPECT_EQ(lines[11], "#FALSE#");
    // City 1: its Id, then ロンドン.
    EXPECT_EQ(lines[16], "1");
    EXPECT_EQ(lines[17], "\"\x83\x8D\x83\x93\x83\x68\x83\x93\"");
    // The player's nation, イングランド王国.
    EXPECT_EQ(lines[1324], "\"\x83\x43\x83\x93\x83\x4F\x83\x89\x83\x93\x83\x68\x89\xA4\x8D\x91\"");
    EXPECT_EQ(lines[1403], "0.5");     // message wait
    EXPECT_EQ(lines[1409], "#TRUE#");  // start of a turn
    EXPECT_EQ(lines[1410], "#FALSE#");
    EXPECT_EQ(lines[1484], "#TRUE#");  // city 75 delegated
}

// The good file of a new game, and a game to load it into.
struct LoadCase {
    TempDir dir;
    TestGame t;
    std::vector<std::string> lines;
    LoadCase() {
        t.screen.savePath = dir.File("Game.dt");
        lines = Lines(WriteSaveBytes(t.game));
        t.game.Year = 7;  // the running game differs from the file
    }
};

TEST(SaveFile, ReadsWhatAnotherWriterPutsInTheSameForm) {
    LoadCase c;
    auto& l = c.lines;
    l[8] = ".5";      // food price without its leading zero
    l[9] = " 7.25 ";  // blanks around a value
    l[10] = "3.";
    l[1403] = "0.5";
    // Season, guard and title on one line; a comma inside a text is part of it.
    l[5] = "2, 0 ,\"Tar,vex\"";
    l.erase(l.begin() + 6, l.begin() + 8);
    std::string bytes = Join(l);
    // Some lines end in a bare LF, the last one in nothing at all, and blank lines follow.
    bytes.replace(bytes.find("\r\n"), 2, "\n");
    bytes = bytes.substr(0, bytes.size() - 2) + "\r\n\r\n";
    WriteBytes(c.t.screen.savePath, bytes);

    LoadGame(c.t.game);
    ASSERT_EQ(c.t.screen.Boxes(), std::vector<std::string>{"ロードしました"});
    const Game& g = c.t.game;
    EXPECT_EQ(g.Year, 1);
    EXPECT_EQ(g.Season, 2);
    EXPECT_EQ(g.Title, "Tar,vex");
    EXPECT_EQ(g.FoodPrice, 0.5);
    EXPECT_EQ(g.ArmsPrice, 7.25);
    EXPECT_EQ(g.TroopsPrice, 3.0);
    EXPECT_EQ(g.MessageWait, 0.5);
    EXPECT_EQ(g.Cities[1].Name, "ロンドン");
    EXPECT_TRUE(g.TurnStart);

    // Exponents and numbers a writer rounded still read; a sign with no leading zero too.
    Game into = c.t.game;
    l = Lines(WriteSaveBytes(c.t.game));
    l[8] = "5E-01";
    l[1403] = "0.20000000000000001";
    ASSERT_EQ(ReadSaveBytes(Join(l), into), std::nullopt);
    EXPECT_EQ(into.FoodPrice, 0.5);
    EXPECT_EQ(into.MessageWait, 0.2);
    l[8] = "-.5";
    const auto problem = ReadSaveBytes(Join(l), into);
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find("範囲外"), std::string::npos) << *problem;  // read as a number, then refused
}

TEST(SaveFile, RefusesEveryBrokenFileAndKeepsTheRunningGame) {
    struct Case {
        const char* what;
        std::function<void(std::vector<std::string>&)> edit;  // on the lines of a good file
        const char* expected;                                 // part of the message
    };
    const std::vector<Case> cases = {
        {"short", [](auto& l) { l.pop_back(); }, "途中で終わっています"},
        {"empty", [](auto& l) { l.clear(); }, "途中で終わっています"},
        {"overlong", [](auto& l) { l.push_back("#TRUE#"); }, "値が多すぎます"},
        {"extra value by a comma", [](auto& l) { l[0] = "1,1"; }, "値が多すぎます"},
        {"not code page 932", [](auto& l) { l[17] = "\"\x83\""; }, "18行目: Shift_JIS"},
        {"control character", [](auto& l) { l[17] = "\"a\x01\""; }, "18行目: 制御文字"},
        {"tab inside a text", [](auto& l) { l[17] = "\"a\tb\""; }, "都市1の名前"},
        {"quote not closed", [](auto& l) { l[17] = Quoted932("ロンドン").substr(0, 9); },
         "18行目: 文字列の「\"」が閉じていません"},
        {"text after the quote", [](auto& l) { l[17] = "\"a\"b"; }, "余分な文字"},
        {"quote inside a number", [](auto& l) { l[0] = "1\"2"; }, "値の途中"},
        {"text where a number belongs", [](auto& l) { l[0] = "\"1\""; }, "1行目 (年): 数値のはずが文字列です"},
        {"number where a text belongs", [](auto& l) { l[17] = "5"; }, "都市1の名前"},
        {"not a whole number", [](auto& l) { l[19] = "1.5"; }, "都市1の国力"},
        {"blank value", [](auto& l) { l[19] = ""; }, "都市1の国力"},
        {"number beyond 32 bits", [](auto& l) { l[0] = "99999999999"; }, "年"},
        {"year 0", [](auto& l) { l[0] = "0"; }, "年"},
        {"season 5", [](auto& l) { l[5] = "5"; }, "6行目 (季節)"},
        {"season 0", [](auto& l) { l[5] = "0"; }, "季節"},
        {"advance in progress", [](auto& l) { l[15] = "1"; }, "16行目"},
        {"price zero", [](auto& l) { l[8] = "0"; }, "食料の相場"},
        {"price huge", [](auto& l) { l[9] = "1e400"; }, "武器の相場"},
        {"price not a number", [](auto& l) { l[10] = "nan"; }, "兵の相場"},
        {"flag as a number", [](auto& l) { l[11] = "-1"; }, "#TRUE#か#FALSE#"},
        {"message speed 4", [](auto& l) { l[13] = "4"; }, "メッセージの速さ"},
        {"enter setting 2", [](auto& l) { l[14] = "2"; }, "Enterで進める設定"},
        {"city id off its slot", [](auto& l) { l[16 + 2 * 11] = "4"; }, "都市3の番号"},
        {"city value far out", [](auto& l) { l[16 + 7] = "30001"; }, "都市1の金"},
        {"city value far below", [](auto& l) { l[16 + 9] = "-30001"; }, "都市1の武装"},
        {"city name empty", [](auto& l) { l[17] = "\"\""; }, "都市1の名前が空です"},
        {"owner is no nation", [](auto& l) { l[18] = Quoted932("ムー"); }, "都市1の領主「ムー」"},
        {"nation id off its slot", [](auto& l) { l[841] = "2"; }, "国家1の番号"},
        {"nation name empty", [](auto& l) { l[842] = "\"\""; }, "国家1の名前が空です"},
        {"nation name twice", [](auto& l) { l[842 + 12] = l[842]; }, "が二つあります"},
        {"unknown policy", [](auto& l) { l[843] = Quoted932("平和"); }, "国家1の方針"},
        {"unknown stance", [](auto& l) { l[844] = "\"x\""; }, "国家1の性格"},
        {"unknown tactic", [](auto& l) { l[845] = "\"x\""; }, "国家1の得意戦術"},
        {"negative wins", [](auto& l) { l[846] = "-1"; }, "国家1の勝ち数"},
        {"turn order twice",
         [](auto& l) {
             for (int i = 0; i < kCityCount; ++i) l[1249 + i] = std::to_string(i + 1);
             l[1249] = "2";
         },
         "手番の順"},
        {"turn order partly drawn", [](auto& l) { l[1260] = "5"; }, "手番の順"},
        {"turn order 76", [](auto& l) { l[1249] = "76"; }, "手番1"},
        {"current city 0", [](auto& l) { l[1325] = "0"; }, "手番の都市"},
        {"command kind 11", [](auto& l) { l[1326] = "11"; }, "命令の種類"},
        {"target count 76", [](auto& l) { l[1327] = "76"; }, "候補の数"},
        {"target count -1", [](auto& l) { l[1327] = "-1"; }, "候補の数"},
        {"target entry 76", [](auto& l) { l[1328] = "76"; }, "候補1"},
        {"message wait 0.3", [](auto& l) { l[1403] = "0.3"; }, "0.1、0.2、0.5、1のどれか"},
        {"flag misspelt", [](auto& l) { l[1484] = "#YES#"; }, "都市75の委任"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        LoadCase c;
        k.edit(c.lines);
        WriteBytes(c.t.screen.savePath, Join(c.lines));
        const std::string before = WriteSaveBytes(c.t.game);
        const auto shownBefore = c.t.game.shown.main.msg;

        LoadGame(c.t.game);
        ASSERT_EQ(c.t.screen.log.size(), 1u);
        const std::string box = c.t.screen.log[0].text;
        EXPECT_EQ(box.rfind("ロードできませんでした: ", 0), 0u) << box;
        EXPECT_NE(box.find(k.expected), std::string::npos) << box;
        EXPECT_EQ(WriteSaveBytes(c.t.game), before);
        EXPECT_EQ(c.t.game.Year, 7);
        EXPECT_EQ(c.t.game.shown.main.msg[0].text, shownBefore[0].text);
    }
}

TEST(SaveFile, RefusesWhatIsNoSaveFileAtAll) {
    struct Case {
        const char* what;
        std::function<void(const std::string& path)> make;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"missing", [](const std::string&) {}, "セーブファイルがありません"},
        {"a directory", [](const std::string& p) { fs::create_directory(p); }, "セーブファイルではありません"},
        {"far too large", [](const std::string& p) { WriteBytes(p, std::string(kMaxSaveBytes + 10, '1')); },
         "大きすぎます"},
        {"binary", [](const std::string& p) { WriteBytes(p, std::string("\0\xFF\xFE", 3)); }, "1行目"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        TempDir dir;
        TestGame t;
        t.screen.savePath = dir.File("Game.dt");
        k.make(t.screen.savePath);
        const std::string before = WriteSaveBytes(t.game);
        LoadGame(t.game);
        ASSERT_EQ(t.screen.Boxes().size(), 1u);
        EXPECT_NE(t.screen.Boxes()[0].find(k.expected), std::string::npos) << t.screen.Boxes()[0];
        EXPECT_EQ(WriteSaveBytes(t.game), before);
    }
}

TEST(SaveFile, SaveAndLoadWaitForTheStartOfATurn) {
    TempDir dir;
    TestGame t;
    t.screen.savePath = dir.File("Game.dt");
    ASSERT_TRUE(SaveGame(t.game));
    const std::string old = ReadBytes(t.screen.savePath);
    t.screen.Clear();

    t.game.TurnStart = false;
    t.game.Year = 3;
    t.game.shown.main.activePanel = Panel::Pic3;
    EXPECT_FALSE(SaveGame(t.game));
    LoadGame(t.game);
    EXPECT_EQ(t.screen.Boxes(),
              (std::vector<std::string>{"セーブはターンのはじめしかできません", "ロードはターンの始めしかできません"}));
    EXPECT_EQ(ReadBytes(t.screen.savePath), old);
    EXPECT_EQ(t.game.Year, 3);
    EXPECT_EQ(t.game.shown.main.activePanel, Panel::Pic3);
}

TEST(SaveFile, FailedSaveSaysWhyAndKeepsTheLastGoodFile) {
    struct Case {
        const char* what;
        std::function<void(TestGame&, const TempDir&)> arrange;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"temporary file cannot be made",
         [](TestGame&, const TempDir& d) { fs::create_directory(d.File("Game.dt.tmp")); }, "ファイルを作れません"},
        {"old file cannot be replaced",
         [](TestGame& t, const TempDir& d) {
             // A directory where the file should be: writing works, the replacement does not.
             t.screen.savePath = d.File("Slot");
             fs::create_directory(d.File("Slot"));
             WriteBytes(d.File("Slot/Game.dt"), "old");
         },
         "置き換えられません"},
        {"directory missing", [](TestGame& t, const TempDir& d) { t.screen.savePath = d.File("gone/Game.dt"); },
         "ファイルを作れません"},
        {"name the code page lacks", [](TestGame& t, const TempDir&) { t.game.PlayerNation = "王国\xF0\x9F\x98\x80"; },
         "プレイヤーの国「王国"},
        {"quote in a name", [](TestGame& t, const TempDir&) { t.game.NationChoice = "a\"b"; }, "設定の国名"},
        {"line break in a name", [](TestGame& t, const TempDir&) { t.game.NationChoice = "a\nb"; }, "設定の国名"},
        {"value the loader refuses", [](TestGame& t, const TempDir&) { t.game.Cities[5].Gold = 40000; },
         "読み戻せない値があります"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        TempDir dir;
        TestGame t;
        t.screen.savePath = dir.File("Game.dt");
        ASSERT_TRUE(SaveGame(t.game));
        const std::string old = ReadBytes(dir.File("Game.dt"));
        t.screen.Clear();
        t.game.Year = 9;
        k.arrange(t, dir);

        EXPECT_FALSE(SaveGame(t.game));
        ASSERT_EQ(t.screen.Boxes().size(), 1u);
        const std::string box = t.screen.Boxes()[0];
        EXPECT_EQ(box.rfind("セーブできませんでした: ", 0), 0u) << box;
        EXPECT_NE(box.find(k.expected), std::string::npos) << box;
        EXPECT_EQ(ReadBytes(dir.File("Game.dt")), old);
        EXPECT_FALSE(fs::is_regular_file(t.screen.savePath + ".tmp"));
    }
}

TEST(SaveFile, ReadOnlyDirectoryRefusesTheSave) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser writes anywhere";
    TempDir dir;
    TestGame t;
    t.screen.savePath = dir.File("Game.dt");
    ASSERT_TRUE(SaveGame(t.game));
    const std::string old = ReadBytes(t.screen.savePath);
    fs::permissions(fs::path(t.screen.savePath).parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    t.screen.Clear();
    t.game.Year = 9;
    EXPECT_FALSE(SaveGame(t.game));
    ASSERT_EQ(t.screen.Boxes().size(), 1u);
    EXPECT_EQ(t.screen.Boxes()[0].rfind("セーブできませんでした: ", 0), 0u);
    EXPECT_EQ(ReadBytes(t.screen.savePath), old);
}

}  // namespace
}  // namespace tarvex
