// The save file: what it holds, how it reaches the disk, and the files it refuses.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <thread>
#include <tuple>
#include <utility>

#include "rules/chronicle/chronicle.h"
#include "rules/chronicle/chronicle_file.h"
#include "rules/port/screen.h"
#include "rules/save/codepage.h"
#include "rules/save/save_table.h"
#include "rules/save/savefile.h"
#include "rules/save/strength_file.h"
#include "rules/turn/cycle.h"
#include "rules/turn/messages.h"
#include "rules/turn/step.h"
#include "rules/world/numbers.h"
#include "rules/world/strength.h"
#include "support/scripted_screen.h"

namespace tarvex {
namespace {

namespace fs = std::filesystem;
using testing::RulesGame;

// A game whose save slot lies in a directory of its own, gone afterwards.
struct SlotGame : RulesGame {
    fs::path dir;
    SlotGame() {
        static int count = 0;
        dir = fs::temp_directory_path() / ("tarvex-save-" + std::to_string(::getpid()) + "-" + std::to_string(++count));
        fs::remove_all(dir);
        fs::create_directories(dir);
        screen.savePath = File("Game.dt");
    }
    ~SlotGame() { fs::remove_all(dir); }
    std::string File(const std::string& name) const { return (dir / name).string(); }
};

// Temporary files of a save still lying in a folder.
int Leftovers(const fs::path& dir) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        count += entry.path().filename().string().find(".tmp") != std::string::npos;
    return count;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < bytes.size(); start = end + 2) {
        end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end - start));
        if (end == std::string::npos) break;
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += line + "\r\n";
    return out;
}

std::string Quoted932(const std::string& utf8) {
    std::string out;
    std::size_t bad = 0;
    EXPECT_TRUE(ToCodePage932(utf8, out, bad));
    return "\"" + out + "\"";
}

// Every variable the file carries except the prices, which are compared as the player sees them.
// 400 battles in the chronicle, 40 a season: a history long enough to be trimmed.
void RecordTenSeasonsOfBattles(Game& g) {
    for (int i = 0; i < 400; ++i) {
        RecordEntry(g, EntryKind::Battle, "戦闘" + Str(i), {1}, {1});
        if (i % 40 == 39) AdvanceSeason(g);
    }
}

auto Saved(const Game& g) {
    return std::tie(g.Year, g.SeasonNames, g.Season, g.AdvanceGuard, g.Title, g.SettingsPending, g.NationChoice,
                    g.MessageSpeed, g.EnterAdvanceSetting, g.Cities, g.Nations, g.TurnOrder, g.PlayerNation,
                    g.CurrentCity, g.CommandKind, g.TargetCount, g.TargetList, g.MessageWait, g.AutoAdvance,
                    g.EnterAdvance, g.AdvanceReady, g.PlayerActed, g.PlayerTurn, g.TurnStart, g.Delegated);
}

TEST(SaveFile, SavedGameLoadsBackEqualAndSavesToTheSameBytes) {
    SlotGame saved;
    Game& s = saved.game;
    BuildTurnOrder(s);
    s.Year = 12;
    s.Season = 3;
    s.FoodPrice = 0.6 + 0.3;  // a drawn price one step off 0.9: kept as the 0.9 the player sees
    s.ArmsPrice = 9.9;
    SetOwner(s, 15, "イングランド王国");
    s.Cities[15].Troops = 999;  // the ends of a city's values
    s.Cities[16].Food = 0;
    s.Nations[8] = {8, "フランス王国", "内政", "慎重", "射撃", 4, 7, {0, 1, 2, 3, 4, 5}};
    s.Delegated[4] = true;
    s.CurrentCity = 4;
    s.CommandKind = 2;
    s.TargetCount = 2;
    s.TargetList = {16, 75};
    s.MessageWait = 0.2;
    s.MessageSpeed = s.EnterAdvanceSetting = 1;
    s.EnterAdvance = s.PlayerActed = s.PlayerTurn = true;
    s.AutoAdvance = false;
    ASSERT_TRUE(SaveGame(s));
    EXPECT_EQ(saved.screen.Boxes(), std::vector<std::string>{"セーブしました"});
    EXPECT_EQ(Leftovers(saved.dir), 0);

    SlotGame other;  // another running game, other prices and player, takes it over
    other.screen.savePath = saved.screen.savePath;
    other.game.TurnStep = 40;
    LoadGame(other.game);
    const Game& g = other.game;
    EXPECT_TRUE(Saved(g) == Saved(s));
    EXPECT_EQ(std::tie(g.FoodPrice, g.ArmsPrice, g.TroopsPrice), std::make_tuple(0.9, 9.9, s.TroopsPrice));
    EXPECT_EQ(g.screen, &other.screen);
    EXPECT_EQ(g.random, &other.mersenne);
    EXPECT_EQ(g.TurnStep, 1);
    EXPECT_EQ(SeasonCaption(g), "12年目の秋");
    EXPECT_EQ(other.screen.Lines(1), std::vector<std::string>{"12年目の秋です"});
    EXPECT_EQ(std::make_tuple(FormatNumber(g.FoodPrice), FormatNumber(g.ArmsPrice)), std::make_tuple("0.9", "9.9"));
    EXPECT_EQ(other.screen.Boxes(), std::vector<std::string>{"ロードしました"});

    other.screen.savePath = other.File("again.dt");
    ASSERT_TRUE(SaveGame(other.game));
    EXPECT_EQ(ReadBytes(other.screen.savePath), ReadBytes(saved.screen.savePath));
}

TEST(SaveFile, TheChronicleTravelsBesideTheSaveAndALoadGoesOnWithoutIt) {
    SlotGame saved;
    Game& s = saved.game;
    RecordEntry(s, EntryKind::History, "「傭兵」ダンチヒで兵が+10されました。", {50}, {21});
    AdvanceSeason(s);
    ASSERT_TRUE(SaveGame(s));
    const std::string chronicleFile = saved.File("Game.chronicle");
    ASSERT_TRUE(fs::exists(chronicleFile));
    // The save file itself is the same whatever the chronicle holds.
    SlotGame bare;
    static_cast<Game&>(bare.game) = s;
    bare.game.screen = &bare.screen;
    bare.game.chronicle = Chronicle{};
    ASSERT_TRUE(SaveGame(bare.game));
    EXPECT_EQ(ReadBytes(bare.File("Game.dt")), ReadBytes(saved.File("Game.dt")));

    const std::string good = ReadBytes(chronicleFile);
    // Written before saves were named, for another season; and one naming another save only.
    const std::string otherSeason = [&] {
        Game earlier = s;
        earlier.Season = 1;
        earlier.chronicle.marks.clear();
        return EncodeChronicle(earlier);
    }();
    const std::string otherSave = [&] {
        Game other = s;
        other.chronicle.marks = {{s.Year, s.Season, 12345, 0, 1}};
        return EncodeChronicle(other);
    }();
    const struct {
        const char* what;
        std::optional<std::string> file;  // nothing: no chronicle beside the save
    } cases[] = {{"good", good},
                 {"missing", std::nullopt},
                 {"damaged", "tarvex-chronicle 1\nsave\tx\n"},
                 {"another season's", otherSeason},
                 {"another save's", otherSave}};
    for (const auto& c : cases) {
        fs::remove(chronicleFile);
        if (c.file) WriteBytes(chronicleFile, *c.file);
        SlotGame other;
        other.screen.savePath = saved.screen.savePath;
        LoadGame(other.game);
        const Game& g = other.game;
        ASSERT_TRUE(Saved(g) == Saved(s)) << c.what;
        std::vector<std::string> boxes = other.screen.Boxes();
        if (c.file == good) {
            EXPECT_EQ(g.chronicle, s.chronicle);
            EXPECT_EQ(boxes.back(), "ロードしました");
            continue;
        }
        // Started again at the loaded season, and said once, after the load.
        EXPECT_TRUE(g.chronicle.entries.empty()) << c.what;
        ASSERT_EQ(g.chronicle.seasons.size(), 1u) << c.what;
        EXPECT_EQ(std::pair(g.chronicle.seasons[0].year, g.chronicle.seasons[0].season), std::pair(s.Year, s.Season));
        ASSERT_GE(boxes.size(), 2u);
        EXPECT_EQ(boxes[boxes.size() - 2], "ロードしました") << c.what;
        EXPECT_EQ(boxes.back().rfind("年代記は読めなかったので、この季節から記録します (", 0), 0u) << boxes.back();
    }
}

TEST(SaveFile, FileHoldsOneValueALineInCodePage932) {
    SlotGame t;
    t.game.Delegated[75] = true;
    t.game.FoodPrice = 1.2;
    ASSERT_TRUE(SaveGame(t.game));
    const std::string bytes = ReadBytes(t.screen.savePath);
    std::size_t lineEnds = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r') continue;
        ++lineEnds;
        EXPECT_EQ(bytes.substr(bytes[i] == '\n' ? i - 1 : i, 2), "\r\n") << "at byte " << i;
        i += bytes[i] == '\r';
    }
    EXPECT_EQ(lineEnds, 1485u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

    const auto l = Lines(bytes);
    ASSERT_EQ(l.size(), 1485u);
    const std::vector<std::string> head{"1", "\"\x8F\x74\"", "\"\x89\xC4\"", "\"\x8F\x48\"", "\"\x93\x7E\"", "1",
                                        "0", "\"Tarvex\"",   "1.2"};  // 春 夏 秋 冬
    EXPECT_EQ(std::vector<std::string>(l.begin(), l.begin() + 9), head);
    EXPECT_EQ(l[17], Quoted932("ロンドン"));
    EXPECT_EQ(l[17], "\"\x83\x8D\x83\x93\x83\x68\x83\x93\"");
    EXPECT_EQ(l[1324], Quoted932("イングランド王国"));  // the player's nation
    EXPECT_EQ(std::tie(l[1403], l[1409], l[1410], l[1484]), std::make_tuple("0.5", "#TRUE#", "#FALSE#", "#TRUE#"));
}

TEST(SaveFile, ReadsWhatAnotherWriterPutsInTheSameForm) {
    SlotGame t;
    auto l = Lines(WriteSaveBytes(t.game));
    l[8] = ".5";
    l[9] = " 7.25 ";
    l[10] = "25E-01";
    l[1403] = "0.20000000000000001";
    l[5] = "2, 0 ,\"Tar,vex\"";  // season, guard and title on one line
    l.erase(l.begin() + 6, l.begin() + 8);
    std::string bytes = Join(l);
    bytes.replace(bytes.find("\r\n"), 2, "\n");
    WriteBytes(t.screen.savePath, bytes + "\r\n\r\n");
    t.game.Year = 7;

    LoadGame(t.game);
    // Another writer leaves no chronicle beside it: the load goes on and says so after.
    ASSERT_EQ(t.screen.Boxes().size(), 2u);
    ASSERT_EQ(t.screen.Boxes()[0], "ロードしました");
    const Game& g = t.game;
    EXPECT_EQ(std::tie(g.Year, g.Season, g.Title, g.Cities[1].Name), std::make_tuple(1, 2, "Tar,vex", "ロンドン"));
    EXPECT_EQ(std::tie(g.FoodPrice, g.ArmsPrice, g.TroopsPrice, g.MessageWait), std::make_tuple(0.5, 7.25, 2.5, 0.2));

    l[8] = "-.5";  // read as a number, then refused for its value
    const auto problem = ReadSaveBytes(Join(l), t.game);
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find("範囲外"), std::string::npos) << *problem;
}

TEST(SaveFile, ARealGameKeepsEachNationsWinsAndLossesApart) {
    // Seven years of a computer game: most nations have won and lost different numbers of battles.
    const std::string bytes = ReadBytes(TARVEX_SOURCE_DIR "/tests/fuzz/corpus/seven_years.dt");
    const auto lines = Lines(bytes);
    RulesGame t;
    Game g = t.game;
    ASSERT_FALSE(ReadSaveBytes(bytes, g).has_value());
    constexpr std::size_t kFirstNationLine = 16 + kCityCount * 11;  // counted from 0
    int apart = 0;
    for (int n = 1; n <= kNationCount; ++n) {
        const std::size_t record = kFirstNationLine + (n - 1) * 12;
        EXPECT_EQ(Str(g.Nations[n].Wins), lines[record + 5]) << n;
        EXPECT_EQ(Str(g.Nations[n].Losses), lines[record + 6]) << n;
        apart += g.Nations[n].Wins != g.Nations[n].Losses;
    }
    EXPECT_GE(apart, 10);
}

TEST(SaveFile, RefusesEveryBrokenFileAndKeepsTheRunningGame) {
    using Edit = std::function<void(std::vector<std::string>&)>;
    const std::vector<std::tuple<Edit, const char*>> cases = {
        {[](auto& l) { l.pop_back(); }, "途中で終わっています"},
        {[](auto& l) { l[0] = "1,1"; }, "値が多すぎます"},
        {[](auto& l) { l[17] = "\"\x83\""; }, "18行目: Shift_JIS"},
        {[](auto& l) { l[17] = "\"a\x01\""; }, "18行目: 制御文字"},
        {[](auto& l) { l[17] = Quoted932("ロンドン").substr(0, 9); }, "18行目: 文字列の「\"」が閉じていません"},
        {[](auto& l) { l[0] = "\"1\""; }, "1行目 (年): 数値のはずが文字列です"},
        {[](auto& l) { l[17] = "5"; }, "都市1の名前"},
        {[](auto& l) { l[19] = "1.5"; }, "都市1の国力"},
        {[](auto& l) { l[0] = "99999999999"; }, "年"},
        {[](auto& l) { l[0] = "1000001"; }, "1行目 (年)"},
        {[](auto& l) { l[846] = "1000001"; }, "国家1の勝ち数"},
        {[](auto& l) { l[28] = l[17]; }, "都市の名前「ロンドン」が二つあります"},
        {[](auto& l) { l[5] = "5"; }, "6行目 (季節)"},
        {[](auto& l) { l[15] = "1"; }, "16行目"},  // a season advance left running
        {[](auto& l) { l[8] = "0"; }, "食料の相場"},
        {[](auto& l) { l[9] = "1e400"; }, "武器の相場"},
        {[](auto& l) { l[11] = "-1"; }, "#TRUE#か#FALSE#"},
        {[](auto& l) { l[13] = "4"; }, "メッセージの速さ"},
        {[](auto& l) { l[38] = "4"; }, "都市3の番号"},
        {[](auto& l) { l[23] = "30001"; }, "都市1の金"},
        {[](auto& l) { l[17] = "\"\""; }, "都市1の名前が空です"},
        {[](auto& l) { l[18] = Quoted932("ムー"); }, "都市1の領主「ムー」"},
        {[](auto& l) { l[842] = "\"\""; }, "国家1の名前が空です"},
        {[](auto& l) { l[854] = l[842]; }, "が二つあります"},
        {[](auto& l) { l[843] = Quoted932("平和"); }, "国家1の方針"},
        {[](auto& l) { l[1260] = "5"; }, "手番の順"},  // neither drawn nor all 0
        {[](auto& l) { l[1327] = "76"; }, "候補の数"},
        {[](auto& l) { l[1328] = "76"; }, "候補1"},
        {[](auto& l) { l[1403] = "0.3"; }, "0.1、0.2、0.5、1のどれか"},
        {[](auto& l) { l[1484] = "#YES#"; }, "都市75の委任"},
    };
    for (const auto& [edit, expected] : cases) {
        SlotGame t;
        auto lines = Lines(WriteSaveBytes(t.game));
        edit(lines);
        WriteBytes(t.screen.savePath, Join(lines));
        t.game.Year = 7;
        const std::string before = WriteSaveBytes(t.game);
        LoadGame(t.game);
        ASSERT_EQ(t.screen.log.size(), 1u) << expected;
        EXPECT_EQ(t.screen.log[0].text.rfind("ロードできませんでした: ", 0), 0u) << t.screen.log[0].text;
        EXPECT_NE(t.screen.log[0].text.find(expected), std::string::npos) << t.screen.log[0].text;
        EXPECT_EQ(WriteSaveBytes(t.game), before) << expected;
    }
    // A game set up by hand may hold what no file may: words outside the lists and
    // an owner that names no nation. It writes them as it holds them, so its file
    // is the one above, and refused for the same reason.
    const std::vector<std::tuple<std::function<void(Game&)>, std::size_t, const char*, const char*>> held = {
        {[](Game& g) { g.Nations[1].Policy = "平和"; }, 843, "平和", "国家1の方針"},
        {[](Game& g) { g.Nations[1].Stance = ""; }, 844, "", "国家1の性格"},
        {[](Game& g) { g.Nations[1].BestTactic = "防御"; }, 845, "防御", "国家1の得意戦術"},
        {[](Game& g) { SetOwner(g, 1, "ムー"); }, 18, "ムー", "都市1の領主「ムー」"},
    };
    for (const auto& [hold, line, word, expected] : held) {
        RulesGame t;
        Game g = t.game;
        auto lines = Lines(WriteSaveBytes(g));
        hold(g);
        lines[line] = Quoted932(word);
        const std::string bytes = WriteSaveBytes(g);
        EXPECT_EQ(bytes, Join(lines)) << expected;
        Game loaded = t.game;
        const auto problem = ReadSaveBytes(bytes, loaded);
        ASSERT_TRUE(problem.has_value()) << expected;
        EXPECT_NE(problem->find(expected), std::string::npos) << *problem;
    }
    // Not a save file at all.
    const std::vector<std::tuple<std::function<void(const std::string&)>, const char*>> files = {
        {[](const std::string&) {}, "ファイルがありません"},
        {[](const std::string& p) { fs::create_directory(p); }, "フォルダです"},
        {[](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "通常のファイルではありません"},
        {[](const std::string& p) { fs::create_symlink("/dev/zero", p); }, "通常のファイルではありません"},
        {[](const std::string& p) { WriteBytes(p, std::string(kMaxSaveBytes + 1, '1')); }, "大きすぎます"},
    };
    for (const auto& [make, expected] : files) {
        SlotGame t;
        make(t.screen.savePath);
        LoadGame(t.game);
        ASSERT_EQ(t.screen.Boxes().size(), 1u);
        EXPECT_NE(t.screen.Boxes()[0].find(expected), std::string::npos) << t.screen.Boxes()[0];
    }
}

TEST(SaveFile, RefusedSaveKeepsTheLastGoodFile) {
    using Arrange = std::function<void(SlotGame&)>;
    const std::vector<std::tuple<Arrange, const char*>> cases = {
        {[](SlotGame& t) { t.game.TurnStart = false; }, "セーブはターンのはじめしかできません"},
        {[](SlotGame& t) { t.screen.savePath = t.File("gone/Game.dt"); }, "ファイルを作れません"},
        {[](SlotGame& t) {
             // A directory where the file should be.
             t.screen.savePath = t.File("Slot");
             fs::create_directories(t.File("Slot/inside"));
         },
         "フォルダです"},
        {[](SlotGame& t) { t.game.PlayerNation = "王国\xF0\x9F\x98\x80"; }, "プレイヤーの国「王国"},
        {[](SlotGame& t) { t.game.NationChoice = "a\"b"; }, "設定の国名"},
        {[](SlotGame& t) { t.game.Cities[5].Gold = 40000; }, "読み戻せない値があります"},
    };
    for (const auto& [arrange, expected] : cases) {
        SlotGame t;
        ASSERT_TRUE(SaveGame(t.game));
        const std::string old = ReadBytes(t.screen.savePath);
        t.screen.Clear();
        t.game.Year = 9;
        arrange(t);
        EXPECT_FALSE(SaveGame(t.game));
        ASSERT_EQ(t.screen.Boxes().size(), 1u);
        EXPECT_NE(t.screen.Boxes()[0].find(expected), std::string::npos) << t.screen.Boxes()[0];
        EXPECT_EQ(ReadBytes(t.File("Game.dt")), old);
        EXPECT_EQ(Leftovers(t.dir), 0);
    }
    SlotGame t;
    t.game.TurnStart = false;
    LoadGame(t.game);
    EXPECT_EQ(t.screen.Boxes(), std::vector<std::string>{"ロードはターンの始めしかできません"});
}

// Each value of the file is checked by its own entry: refused on its own line and
// under its own label when out of its range or of the wrong kind, loaded at the
// edges of its range.
TEST(SaveFile, EveryValueIsCheckedOnItsOwnLine) {
    RulesGame t;
    const auto lines = Lines(WriteSaveBytes(t.game));
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kSaveLineCount));
    Game scratch = t.game;
    {
        const auto problem = ReadSaveBytes(Join(lines), scratch);
        ASSERT_FALSE(problem.has_value()) << *problem;
    }
    // Four files with every value at an edge: the lows, the highs, and the choices in turn.
    std::vector<std::vector<std::string>> edges(4, lines);
    // One line at a time is broken and put back; the loader stops at the first problem.
    auto probe = lines;
    std::size_t count = 0;
    ForEachSaveLine([&](const SaveLine& line) {
        const std::size_t i = count++;
        if (i >= lines.size()) return;
        const SaveValue& v = line.value;
        const bool odd = i % 2 == 1;
        std::string wrong;
        for (std::size_t e = 0; e < edges.size(); ++e) {
            switch (v.kind) {
                case SaveKind::Long:
                    edges[e][i] = Str(e % 2 ? line.High() : line.Low());
                    break;
                case SaveKind::Double:
                    edges[e][i] = FormatNumber(e % 2 ? v.highest : v.lowest);
                    break;
                case SaveKind::Wait:
                    edges[e][i] = FormatNumber(v.waits[e % v.waits.size()]);
                    break;
                case SaveKind::Choice:
                    edges[e][i] = Quoted932(v.choices[e % v.choices.size()]);
                    break;
                case SaveKind::Text:
                case SaveKind::Flag:
                    break;
            }
        }
        switch (v.kind) {
            case SaveKind::Long:
                wrong = Str(odd ? line.High() + 1 : line.Low() - 1);
                break;
            case SaveKind::Double:
                wrong = FormatNumber(odd ? v.highest * 2 : v.lowest / 2);
                break;
            case SaveKind::Wait:
                wrong = FormatNumber((v.waits[0] + v.waits[1]) / 2);
                break;
            case SaveKind::Text:
                wrong = odd ? "5" : "#TRUE#";
                break;
            case SaveKind::Choice:
                wrong = odd ? "\"x\"" : "1";
                break;
            case SaveKind::Flag:
                wrong = odd ? "1" : "\"#TRUE#\"";
                break;
        }
        const std::string kept = std::exchange(probe[i], wrong);
        const auto problem = ReadSaveBytes(Join(probe), scratch);
        probe[i] = kept;
        const std::string where = Str(static_cast<long long>(i) + 1) + "行目 (" + line.Label() + "): ";
        ASSERT_TRUE(problem.has_value()) << where << wrong;
        EXPECT_EQ(problem->rfind(where, 0), 0u) << *problem;
    });
    EXPECT_EQ(count, static_cast<std::size_t>(kSaveLineCount));
    for (const auto& file : edges) {
        // The tables as a whole may still refuse these (a turn order of all 75s), but no single value.
        const auto problem = ReadSaveBytes(Join(file), scratch);
        EXPECT_TRUE(!problem || problem->find("行目") == std::string::npos) << problem.value_or("");
    }
}

// A value for a field that the scenario does not hold there: the next of a
// running count within [low, high], so that no two fields share one while the range lasts.
struct OwnValues {
    long long next = 0;
    int Take(int scenario, long long low, long long high) {
        long long v = low + next++ % (high - low + 1);
        if (v == scenario) v = low + next++ % (high - low + 1);
        return static_cast<int>(v);
    }
};

template <class Word, std::size_t N>
std::string OtherWord(const Word& scenario, const char* const (&words)[N], int shift) {
    for (std::size_t i = 0; i < N; ++i)
        if (words[(i + shift) % N] != scenario.Text()) return words[(i + shift) % N];
    return scenario.Text();
}

// Every value of the file comes back as its own: a field read from or written to
// another's line, or not read at all, shows as a difference.
TEST(SaveFile, EveryValueComesBackAsItsOwnInEverySeason) {
    for (int season = 1; season <= 4; ++season) {
        RulesGame scenario;
        const Game& sc = scenario.game;
        Game g = sc;
        OwnValues own;
        g.Year = own.Take(sc.Year, 100, 100000);
        g.Season = season;
        for (int s = 1; s <= 4; ++s) g.SeasonNames[s] = "季" + Str(s) + "番";
        g.Title = "表題";
        // Prices of the market's own steps, none alike and none the scenario's.
        g.FoodPrice = sc.FoodPrice == 1.7 ? 1.8 : 1.7;
        g.ArmsPrice = sc.ArmsPrice == 6.3 ? 6.4 : 6.3;
        g.TroopsPrice = sc.TroopsPrice == 3.9 ? 4.1 : 3.9;
        g.SettingsPending = !sc.SettingsPending;
        g.NationChoice = "選んだ国";
        g.MessageSpeed = (sc.MessageSpeed + 2) % 4;
        g.EnterAdvanceSetting = 1 - sc.EnterAdvanceSetting;
        for (int n = 1; n <= kNationCount; ++n) {
            Nation& x = g.Nations[n];
            x.Name = "国" + Str(n) + "番";
            static constexpr const char* kPolicies[] = {"戦争", "内政", "普通"};
            static constexpr const char* kStances[] = {"慎重", "猛進", "普通"};
            static constexpr const char* kTactics[] = {"通常", "包囲", "突撃", "射撃"};
            x.Policy = OtherWord(sc.Nations[n].Policy, kPolicies, n);
            x.Stance = OtherWord(sc.Nations[n].Stance, kStances, n + 1);
            x.BestTactic = OtherWord(sc.Nations[n].BestTactic, kTactics, n);
            x.Wins = own.Take(sc.Nations[n].Wins, 1000, 900000);
            x.Losses = own.Take(sc.Nations[n].Losses, 1000, 900000);
            for (int k = 1; k <= kTacticCount; ++k)
                x.TacticCount[k] = own.Take(sc.Nations[n].TacticCount[k], 1000, 900000);
        }
        own.next = 0;
        for (int i = 1; i <= kCityCount; ++i) {
            City& c = g.Cities[i];
            const City& was = sc.Cities[i];
            c.Name = "都市" + Str(i) + "号";
            SetOwner(g, i, g.Nations[(i * 7) % kNationCount + 1].Name);
            for (auto field : {&City::Power, &City::Town, &City::Castle, &City::Food, &City::Gold, &City::Troops,
                               &City::Arms, &City::Civility})
                c.*field = own.Take(was.*field, 0, kMaxValue);
        }
        for (int i = 1; i <= kCityCount; ++i) g.TurnOrder[i] = (i - 1) * 2 % kCityCount + 1;
        g.PlayerNation = g.Nations[5].Name;
        g.CurrentCity = 37;
        g.CommandKind = 7;
        g.TargetCount = 9;
        for (int k = 0; k < kCityCount; ++k) g.TargetList[k] = (k * 3 + 5) % kCityCount + 1;
        g.MessageWait = sc.MessageWait == 0.2 ? 0.5 : 0.2;
        for (bool* flag : {&g.AutoAdvance, &g.EnterAdvance, &g.AdvanceReady, &g.PlayerActed, &g.PlayerTurn})
            *flag = !*flag;
        for (int i = 1; i <= kCityCount; ++i) g.Delegated[i] = i % 3 == season % 3;

        const std::string bytes = WriteSaveBytes(g);
        ASSERT_FALSE(bytes.empty());
        Game back = sc;
        const auto problem = ReadSaveBytes(bytes, back);
        ASSERT_FALSE(problem.has_value()) << *problem;
        EXPECT_TRUE(Saved(back) == Saved(g)) << season;
        EXPECT_EQ(std::tie(back.FoodPrice, back.ArmsPrice, back.TroopsPrice),
                  std::tie(g.FoodPrice, g.ArmsPrice, g.TroopsPrice));
        for (int i = 1; i <= kCityCount; ++i) EXPECT_TRUE(back.Cities[i] == g.Cities[i]) << i;

        // Every range loads at both its ends, in this season too.
        for (const bool high : {false, true}) {
            auto lines = Lines(bytes);
            std::size_t i = 0;
            ForEachSaveLine([&](const SaveLine& line) {
                std::string& l = lines[i++];
                const SaveValue& v = line.value;
                // The turn order must stay an order; the season is this one.
                if (std::string(v.name) == "手番" || std::string(v.name) == "季節") return;
                if (v.kind == SaveKind::Long) l = Str(high ? line.High() : line.Low());
                if (v.kind == SaveKind::Double) l = FormatNumber(high ? v.highest : v.lowest);
                if (v.kind == SaveKind::Wait) l = FormatNumber(high ? v.waits.back() : v.waits.front());
            });
            Game edge = sc;
            const auto refused = ReadSaveBytes(Join(lines), edge);
            EXPECT_FALSE(refused.has_value()) << season << " " << high << ": " << refused.value_or("");
        }
    }
}

// A file the loader takes is a game that plays on and can be saved again.
TEST(SaveFile, EveryLoadableGamePlaysAYearAndSavesAgain) {
    // More battles than a year of 75 cities' orders can fight.
    constexpr long long kYearsBattles = 4 * kCityCount;
    std::mt19937_64 draw(28);
    const auto uniform = [&draw](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(draw);
    };
    for (int file = 0; file < 40; ++file) {
        RulesGame t("イングランド王国", 100 + file);
        auto lines = Lines(WriteSaveBytes(t.game));
        std::size_t i = 0;
        ForEachSaveLine([&](const SaveLine& line) {
            std::string& l = lines[i++];
            const SaveValue& v = line.value;
            const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(draw() % n); };
            switch (v.kind) {
                case SaveKind::Long: {
                    // The turn order drawn or not yet drawn, as the tables as a whole want it.
                    if (std::string(v.name) == "手番") return;
                    // The calendar and the battle counts only grow; their far ends (a million
                    // years, a million battles) are beyond a year's play from here.
                    const long long high = line.High() - (line.High() >= 1000000 ? kYearsBattles : 0);
                    // A third at the ends, where the limits are tried.
                    if (draw() % 3 == 0)
                        l = Str(draw() % 2 ? high : line.Low());
                    else
                        l = Str(line.Low() + static_cast<long long>(draw() % (high - line.Low() + 1)));
                    return;
                }
                case SaveKind::Double:
                    l = FormatNumber(draw() % 3 == 0 ? (draw() % 2 ? v.highest : v.lowest)
                                                     : uniform(v.lowest, v.highest));
                    return;
                case SaveKind::Wait:
                    l = FormatNumber(v.waits[pick(v.waits.size())]);
                    return;
                case SaveKind::Choice:
                    l = Quoted932(v.choices[pick(v.choices.size())]);
                    return;
                case SaveKind::Flag:
                    l = draw() % 2 ? "#TRUE#" : "#FALSE#";
                    return;
                case SaveKind::Text:
                    return;
            }
        });
        Game g = t.game;
        const auto refused = ReadSaveBytes(Join(lines), g);
        ASSERT_FALSE(refused.has_value()) << file << ": " << *refused;
        g.TurnStep = 1;
        // Played as tarvex-sim plays a loaded game: the computer takes the player's cities.
        for (int c = 1; c <= kCityCount; ++c)
            if (IsPlayers(g, c)) g.Delegated[c] = true;
        const int lastYear = g.Year + 1;
        for (int steps = 0; !(g.TurnStep == 1 && g.Year >= lastYear) && !g.Ended; ++steps) {
            ASSERT_LT(steps, 4 * (kCityCount + 2)) << file << ": the game stopped advancing";
            testing::EndsProgram([&] { AdvanceOneStep(g); });
        }
        const std::string bytes = WriteSaveBytes(g);
        ASSERT_FALSE(bytes.empty()) << file;
        Game again = t.game;
        const auto problem = ReadSaveBytes(bytes, again);
        EXPECT_FALSE(problem.has_value()) << file << ": " << *problem;
    }
}

// The save and its chronicle as one: a save stopped at any stage of either file,
// as a crash stops it, leaves a save that loads with its whole history.
TEST(SavePair, StoppedAtAnyStageTheSaveOnDiskLoadsWithItsWholeHistory) {
    // The game saving goes on from the save on disk, or is another game (a new one) saving over it.
    for (const bool sameGame : {true, false}) {
        for (const char* stoppedFile : {"Game.chronicle", "Game.dt"}) {
            for (WriteStage stage :
                 {WriteStage::Created, WriteStage::Written, WriteStage::Synced, WriteStage::Renamed}) {
                const std::string what =
                    std::string(sameGame ? "same " : "other ") + stoppedFile + " " + Str(static_cast<int>(stage));
                SlotGame t, newcomer;
                RecordEntry(t.game, EntryKind::History, "一つ目", {1}, {1});
                AdvanceSeason(t.game);
                ASSERT_TRUE(SaveGame(t.game));
                const Game first = t.game;
                Game& g = sameGame ? t.game : newcomer.game;
                RecordEntry(g, EntryKind::Battle, "二つ目", {2}, {1});
                // Two seasons on: never the same save as the first, whichever game it is.
                AdvanceSeason(g);
                AdvanceSeason(g);
                const WriteHooks stop{.stopAt = [&](const std::string& file, WriteStage at) {
                    return at == stage && fs::path(file).filename() == stoppedFile;
                }};
                ASSERT_TRUE(WriteSavePair(t.screen.savePath, g, nullptr, stop).has_value()) << what;
                const bool replaced = std::string(stoppedFile) == "Game.dt" && stage == WriteStage::Renamed;

                SlotGame other;
                other.screen.savePath = t.screen.savePath;
                LoadGame(other.game);
                EXPECT_EQ(other.screen.Boxes().back(), "ロードしました") << what;
                const Game& expected = replaced ? g : first;
                EXPECT_TRUE(Saved(other.game) == Saved(expected)) << what;
                EXPECT_EQ(other.game.chronicle.entries, expected.chronicle.entries) << what;
                EXPECT_EQ(other.game.chronicle.seasons, expected.chronicle.seasons) << what;
                // The next save takes up from there, and leaves the pair alone.
                ASSERT_TRUE(SaveGame(other.game)) << what;
                EXPECT_EQ(Leftovers(t.dir), 0) << what;
                EXPECT_FALSE(fs::exists(t.File("Game.chronicle.prev"))) << what;
            }
        }
    }
}

TEST(SavePair, TwoGamesSavingIntoOneSlotAtOnceAllSucceedAndLeaveOneWholePair) {
    SlotGame a, b;
    b.screen.savePath = a.screen.savePath;
    RecordEntry(b.game, EntryKind::Event, "よその事件", {3}, {2});
    AdvanceSeason(b.game);
    // Counted by both savers at once.
    std::atomic<int> failures = 0;
    std::vector<std::thread> savers;
    for (Game* g : {&a.game, &b.game})
        savers.emplace_back([&, g] {
            for (int i = 0; i < 40; ++i) failures += WriteSavePair(a.screen.savePath, *g).has_value() ? 1 : 0;
        });
    for (std::thread& t : savers) t.join();
    EXPECT_EQ(failures, 0);
    SlotGame loaded;
    loaded.screen.savePath = a.screen.savePath;
    LoadGame(loaded.game);
    EXPECT_EQ(loaded.screen.Boxes().back(), "ロードしました");
    const Game& winner = loaded.game.Season == b.game.Season ? b.game : a.game;
    EXPECT_EQ(loaded.game.chronicle.entries, winner.chronicle.entries);
    EXPECT_EQ(Leftovers(a.dir), 0);
}

// While a save writes either file, another program can take no lock on the save,
// shared or its own: no load reads a pair half replaced, no second save starts.
TEST(SavePair, ASaveKeepsEveryOtherHolderOutUntilBothFilesAreWritten) {
    SlotGame t;
    RecordEntry(t.game, EntryKind::History, "一つ目", {1}, {1});
    AdvanceSeason(t.game);
    int looks = 0;
    std::vector<std::string> letIn;
    const WriteHooks look{.stopAt = [&](const std::string& file, WriteStage stage) {
        // Another program's own descriptor on the lock file, never blocking.
        const int other = ::open(LockFilePath(t.screen.savePath).c_str(), O_RDONLY | O_CLOEXEC);
        EXPECT_GE(other, 0);
        for (const int kind : {LOCK_SH, LOCK_EX}) {
            if (::flock(other, kind | LOCK_NB) == 0) {
                letIn.push_back(fs::path(file).filename().string() + " " + Str(static_cast<int>(stage)) +
                                (kind == LOCK_SH ? " shared" : " alone"));
                ::flock(other, LOCK_UN);
            }
        }
        ::close(other);
        ++looks;
        return false;
    }};
    ASSERT_FALSE(WriteSavePair(t.screen.savePath, t.game, nullptr, look).has_value());
    EXPECT_EQ(looks, 8);  // four stages of each file
    EXPECT_EQ(letIn, std::vector<std::string>{});
    // Once it is done, the save is free again.
    SaveLock after;
    EXPECT_FALSE(after.Take(t.screen.savePath, LockKind::Exclusive).has_value());
}

// A load while another program saves other games into the same slot: every load
// sees one whole pair, a save with its own history, never another game's.
TEST(SavePair, ALoadWhileOtherGamesAreSavedAlwaysFindsTheSavesOwnHistory) {
    SlotGame a, b;
    b.screen.savePath = a.screen.savePath;
    RecordEntry(a.game, EntryKind::History, "一つ目の国の事件", {1}, {1});
    AdvanceSeason(a.game);
    for (int i = 0; i < 3; ++i) {
        RecordEntry(b.game, EntryKind::Event, "よその事件", {3}, {2});
        AdvanceSeason(b.game);
    }
    ASSERT_TRUE(SaveGame(a.game));
    const auto entriesA = a.game.chronicle.entries, entriesB = b.game.chronicle.entries;
    const int seasonB = b.game.Season;
    std::atomic<bool> saving = true;
    int failures = 0;
    std::thread saver([&] {
        for (int i = 0; i < 80; ++i) failures += WriteSavePair(a.screen.savePath, i % 2 ? a.game : b.game).has_value();
        saving = false;
    });
    RulesGame reader;
    int loads = 0, lost = 0, mixed = 0;
    while (saving || loads < 20) {
        ChronicleLoad history;
        ASSERT_FALSE(ReadSavePair(a.screen.savePath, reader.game, false, history).has_value());
        ++loads;
        lost += history.problem.has_value();
        mixed += reader.game.chronicle.entries != (reader.game.Season == seasonB ? entriesB : entriesA);
    }
    saver.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(lost, 0) << "of " << loads << " loads";
    EXPECT_EQ(mixed, 0) << "of " << loads << " loads";
    EXPECT_FALSE(fs::exists(a.File("Game.chronicle.damaged")));
}

TEST(SavePair, AChronicleOverItsCapKeepsTheNewestHistoryAndSaysSoOnce) {
    RulesGame t;
    Game& g = t.game;
    RecordTenSeasonsOfBattles(g);
    const std::size_t whole = EncodeChronicle(g).size();
    Chronicle cut = g.chronicle;
    MarkSave(cut, g, 1);
    ASSERT_TRUE(TrimChronicle(cut, whole / 2));
    EXPECT_LE(EncodeChronicle(cut, g.Year, g.Season).size(), whole / 2);
    // The newest kept, in order, and the mark of the save still names where it stands.
    EXPECT_EQ(cut.entries.back(), g.chronicle.entries.back());
    EXPECT_GT(cut.entries.size(), 100u);
    ASSERT_EQ(cut.marks.size(), 1u);
    EXPECT_EQ(cut.marks[0].entries, cut.entries.size());
    EXPECT_EQ(cut.marks[0].seasons, cut.seasons.size());
    // Kept well under the cap: the next save has nothing to drop.
    EXPECT_FALSE(TrimChronicle(cut, whole / 2));
}

// Every nation at one level (slot 0, unused, as a game holds it).
StrengthLevels Levels(int level) {
    StrengthLevels levels;
    levels.fill(level);
    levels[0] = kStandardStrength;
    return levels;
}

// The computer's levels beside the save: the save's bytes are the same at every
// level, a load plays on at the saved one, and the standard level leaves no file.
TEST(StrengthBesideSave, ALoadPlaysOnAtTheSavedLevelAndTheSaveIsTheSameAtEveryLevel) {
    SlotGame t;
    ASSERT_TRUE(SaveGame(t.game));
    const std::string standardBytes = ReadBytes(t.screen.savePath);
    StrengthLevels mixed = Levels(kStandardStrength);
    mixed[5] = 3;
    mixed[12] = 2;
    const StrengthLevels strongest = Levels(kStrongest);
    // In the order saved into the same slot: each replaces the last one's levels.
    for (const StrengthLevels& levels : {strongest, mixed, t.game.Strength, strongest}) {
        t.game.Strength = levels;
        ASSERT_TRUE(SaveGame(t.game));
        EXPECT_EQ(ReadBytes(t.screen.savePath), standardBytes);
        EXPECT_EQ(fs::exists(t.File("Game.strength")), !AllStandard(levels));
        SlotGame other;
        other.screen.savePath = t.screen.savePath;
        other.game.Strength = Levels(2);
        LoadGame(other.game);
        EXPECT_EQ(other.screen.Boxes(), std::vector<std::string>{"ロードしました"});
        EXPECT_EQ(other.game.Strength, levels);
    }
}

// The autosave's worker writes the levels the game had when the job was composed,
// whatever the game's own become meanwhile.
TEST(StrengthBesideSave, TheWorkersPairKeepsTheLevelsOfItsSeason) {
    SlotGame t;
    t.game.Strength = Levels(kStrongest);
    SavePairJob job;
    ASSERT_FALSE(ComposeSavePair(t.screen.savePath, t.game, job));
    t.game.Strength = Levels(2);
    const SavePairOutcome out = WriteComposedPair(job, {});
    ASSERT_FALSE(out.problem) << *out.problem;
    SlotGame other;
    other.screen.savePath = t.screen.savePath;
    LoadGame(other.game);
    EXPECT_EQ(other.screen.Boxes(), std::vector<std::string>{"ロードしました"});
    EXPECT_EQ(other.game.Strength, Levels(kStrongest));
}

TEST(StrengthBesideSave, AFileThatHoldsNoLevelsOfThisSaveLoadsAtTheStandardLevelWithANote) {
    SlotGame saved;
    saved.game.Strength = Levels(kStrongest);
    ASSERT_TRUE(SaveGame(saved.game));
    const std::string good = ReadBytes(saved.File("Game.strength"));
    const std::string line = good.substr(good.find('\n') + 1);
    struct Case {
        const char* what;
        std::string text;
        const char* reason;
        bool folder = false;  // a folder stands there instead
    };
    std::string otherSave = good;
    otherSave[otherSave.find("save ") + 5] ^= 1;
    std::string badLevel = good;
    badLevel[badLevel.size() - 2] = '4';
    for (const Case& c : {Case{"garbage", "\x01\xff\n", "この版の記録ではありません"},
                          Case{"empty", "", "空のファイルです"}, Case{"a folder", "", "", true},
                          Case{"later version", "tarvex-strength 2\n" + line, "この版の記録ではありません"},
                          Case{"level 4", badLevel, "2行目が読めません"},
                          Case{"cut short", good.substr(0, good.size() - 5), "最後の行が途中で終わっています"},
                          Case{"another save's", otherSave, "別のセーブの記録です"}}) {
        SlotGame t;
        for (const char* file : {"Game.dt", "Game.chronicle"}) fs::copy_file(saved.File(file), t.File(file));
        if (c.folder) {
            fs::create_directory(t.File("Game.strength"));
        } else {
            std::ofstream(t.File("Game.strength"), std::ios::binary) << c.text;
        }
        t.game.Strength = Levels(2);
        ASSERT_TRUE(LoadGame(t.game)) << c.what;
        EXPECT_EQ(t.game.Strength, Levels(kStandardStrength)) << c.what;
        ASSERT_EQ(t.screen.Boxes().size(), 2u) << c.what;
        const std::string note = t.screen.Boxes()[1];
        EXPECT_EQ(note.rfind("コンピュータの強さの記録が読めないので、標準で続けます (", 0), 0u) << note;
        EXPECT_NE(note.find(c.reason), std::string::npos) << note;
        // The next save puts levels that are this save's in its place.
        t.game.Strength = Levels(kStrongest);
        if (!c.folder) {
            EXPECT_TRUE(SaveGame(t.game)) << c.what;
        }
    }
}

// Stopped at any stage of any of its files, as a crash stops it, a save leaves
// the save on disk with its own levels, whichever level either was saved at.
TEST(StrengthBesideSave, StoppedAtAnyStageTheSaveOnDiskLoadsAtItsOwnLevel) {
    for (const int newLevel : {kStandardStrength, kStrongest}) {
        for (const char* stoppedFile : {"Game.strength", "Game.chronicle", "Game.dt"}) {
            for (WriteStage stage :
                 {WriteStage::Created, WriteStage::Written, WriteStage::Synced, WriteStage::Renamed}) {
                const std::string what = Str(newLevel) + " " + stoppedFile + " " + Str(static_cast<int>(stage));
                SlotGame t;
                t.game.Strength = Levels(2);
                ASSERT_TRUE(SaveGame(t.game));
                const Game first = t.game;
                AdvanceSeason(t.game);
                t.game.Strength = Levels(newLevel);
                const WriteHooks stop{.stopAt = [&](const std::string& file, WriteStage at) {
                    return at == stage && fs::path(file).filename() == stoppedFile;
                }};
                const bool written = !WriteSavePair(t.screen.savePath, t.game, nullptr, stop).has_value();
                // The standard level writes no levels: nothing to stop there.
                EXPECT_EQ(written, newLevel == kStandardStrength && std::string(stoppedFile) == "Game.strength")
                    << what;
                const bool replaced =
                    written || (std::string(stoppedFile) == "Game.dt" && stage == WriteStage::Renamed);
                SlotGame other;
                other.screen.savePath = t.screen.savePath;
                ASSERT_TRUE(LoadGame(other.game)) << what;
                const Game& expected = replaced ? t.game : first;
                EXPECT_TRUE(Saved(other.game) == Saved(expected)) << what;
                EXPECT_EQ(other.game.Strength, expected.Strength) << what;
            }
        }
    }
}

// Saves a season apart each leave a mark; a trim drops the oldest history and the
// marks within it, and every mark it keeps still names the place of its own save:
// as many entries and season rows after it as before the trim.
TEST(SavePair, ATrimKeepsEveryLaterSaveMarkWhereItsSaveStood) {
    RulesGame t;
    Game& g = t.game;
    for (int i = 0; i < 400; ++i) {
        RecordEntry(g, EntryKind::Battle, "戦闘" + Str(i), {1}, {1});
        if (i % 20 == 19) {
            AdvanceSeason(g);
            MarkSave(g.chronicle, g, 1000 + i);
        }
    }
    const Chronicle whole = g.chronicle;
    ASSERT_EQ(whole.marks.size(), 20u);
    Chronicle cut = whole;
    ASSERT_TRUE(TrimChronicle(cut, EncodeChronicle(g).size() / 2));
    const std::size_t droppedEntries = whole.entries.size() - cut.entries.size();
    const std::size_t droppedSeasons = whole.seasons.size() - cut.seasons.size();
    std::vector<SaveMark> expected;
    for (SaveMark m : whole.marks)
        if (m.entries >= droppedEntries && m.seasons >= droppedSeasons) {
            m.entries -= droppedEntries;
            m.seasons -= droppedSeasons;
            expected.push_back(m);
        }
    EXPECT_EQ(cut.marks, expected);
    // Some marks fell with the old history, some stay.
    EXPECT_GT(expected.size(), 2u);
    EXPECT_LT(expected.size(), whole.marks.size());
    // What stays is the newest history, whole.
    EXPECT_TRUE(std::equal(cut.entries.begin(), cut.entries.end(), whole.entries.end() - cut.entries.size()));
    EXPECT_TRUE(std::equal(cut.seasons.begin(), cut.seasons.end(), whole.seasons.end() - cut.seasons.size()));
}

// After one save trims, the next saves a season apart keep all their history: a
// trim leaves room, so that the oldest seasons do not go save after save.
TEST(SavePair, TheSavesAfterATrimDropNothingForAWhile) {
    RulesGame t;
    Game& g = t.game;
    RecordTenSeasonsOfBattles(g);
    const std::size_t cap = EncodeChronicle(g).size() / 2;
    MarkSave(g.chronicle, g, 1);
    ASSERT_TRUE(TrimChronicle(g.chronicle, cap));
    for (int save = 2; save <= 3; ++save) {
        const Chronicle before = g.chronicle;
        for (int i = 0; i < 4; ++i) RecordEntry(g, EntryKind::Event, "事件" + Str(save * 10 + i), {2}, {2});
        AdvanceSeason(g);
        MarkSave(g.chronicle, g, save);
        EXPECT_FALSE(TrimChronicle(g.chronicle, cap)) << "save " << save;
        EXPECT_EQ(g.chronicle.entries.front(), before.entries.front()) << "save " << save;
    }
}

}  // namespace
}  // namespace tarvex
