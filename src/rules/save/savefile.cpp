// The save file "Game.dt": one value per line in code page 932 with CR LF.
#include "rules/save/savefile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

#include "rules/chronicle/chronicle.h"
#include "rules/chronicle/chronicle_file.h"
#include "rules/port/screen.h"
#include "rules/save/codepage.h"
#include "rules/save/files.h"
#include "rules/save/save_table.h"
#include "rules/save/strength_file.h"
#include "rules/turn/cycle.h"
#include "rules/turn/messages.h"
#include "rules/world/numbers.h"
#include "rules/world/refresh.h"

namespace tarvex {

namespace {

// The file's bytes for a game (code page 932, CR LF), or the reason the game
// cannot be written so that it reads back (a text with a double quote, a line
// break or a character the code page lacks).
std::optional<std::string> EncodeSaveBytes(const Game& game, std::string& bytes);

std::string CityLabel(int city, const std::string& field) { return "都市" + Str(city) + "の" + field; }
std::string NationLabel(int nation, const std::string& field) { return "国家" + Str(nation) + "の" + field; }

// A text of the file may not hold what would cut it short or break its line.
bool IsUnsafeInText(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F || c == '"') return true;
        // C1 controls U+0080..U+009F.
        if (c == 0xC2 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0x9F) return true;
        }
    }
    return false;
}

// The start of a value, for a message that names it.
std::string Excerpt(std::string_view text) {
    constexpr int kShown = 20;
    std::size_t end = 0;
    int chars = 0;
    while (end < text.size()) {
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80) {
            if (chars == kShown) return std::string(text.substr(0, end)) + "…";
            ++chars;
        }
        ++end;
    }
    return std::string(text);
}

// ---- Writing ------------------------------------------------------------------

class Writer {
public:
    std::string out;
    std::optional<std::string> problem;
    int lines = 0;

    void Long(long long value) { Line(std::to_string(value)); }
    void Double(double value) { Line(FormatNumber(value)); }
    void Flag(bool value) { Line(value ? "#TRUE#" : "#FALSE#"); }
    void Text(const std::string& value, const std::string& label) {
        if (problem) return;
        if (IsUnsafeInText(value)) {
            problem = label + "「" + Excerpt(value) + "」に「\"」や改行などの使えない文字があります";
            return;
        }
        std::string converted;
        std::size_t bad = 0;
        if (!ToCodePage932(value, converted, bad)) {
            problem = bad == kNoConverter ? std::string("Shift_JISへの変換ができません")
                                          : label + "「" + Excerpt(value) + "」にShift_JISで表せない文字があります";
            return;
        }
        Line("\"" + converted + "\"");
    }

private:
    void Line(const std::string& value) {
        out += value;
        out += "\r\n";
        ++lines;
    }
};

// The writer only reads through the places the table gives.
void WriteAll(const World& world, Writer& w) {
    World& places = const_cast<World&>(world);
    ForEachSaveLine([&](const SaveLine& line) {
        const SavePlace place = line.Place(places);
        switch (line.value.kind) {
            case SaveKind::Long:
                return w.Long(*std::get<int*>(place));
            case SaveKind::Double:
            case SaveKind::Wait:
                return w.Double(*std::get<double*>(place));
            case SaveKind::Text:
                return w.Text(*std::get<std::string*>(place), line.Label());
            case SaveKind::Choice:
                return w.Text(ChoiceText(place), line.Label());
            case SaveKind::Flag:
                return w.Flag(*std::get<bool*>(place));
        }
    });
}

// ---- Reading ------------------------------------------------------------------

struct Token {
    std::string text;
    bool quoted = false;
    int line = 0;
};

int LineAt(std::string_view text, std::size_t offset) {
    int line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        // A line ends at LF, at CR LF (counted at its LF) and at a CR alone.
        const bool loneCr = text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n');
        if (text[i] == '\n' || loneCr) ++line;
    }
    return line;
}

std::string AtLine(int line, const std::string& what) { return Str(line) + "行目: " + what; }

// Splits at line ends (CR LF, LF or CR) and at commas outside quotes, as a
// sequential read does; blanks around a value are not part of it.
std::optional<std::string> Tokenize(std::string_view s, std::vector<Token>& tokens) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    auto lineEnd = [](char c) { return c == '\r' || c == '\n'; };
    const std::size_t n = s.size();
    std::size_t pos = 0;
    int line = 1;
    while (pos < n) {
        Token token;
        token.line = line;
        while (pos < n && blank(s[pos])) ++pos;
        if (pos < n && s[pos] == '"') {
            std::size_t close = pos + 1;
            while (close < n && s[close] != '"' && !lineEnd(s[close])) ++close;
            if (close >= n || s[close] != '"') return AtLine(line, "文字列の「\"」が閉じていません");
            token.text.assign(s.substr(pos + 1, close - pos - 1));
            token.quoted = true;
            pos = close + 1;
            while (pos < n && blank(s[pos])) ++pos;
            if (pos < n && s[pos] != ',' && !lineEnd(s[pos]))
                return AtLine(line, "文字列の「\"」のあとに余分な文字があります");
        } else {
            const std::size_t start = pos;
            while (pos < n && s[pos] != ',' && !lineEnd(s[pos])) {
                if (s[pos] == '"') return AtLine(line, "値の途中に「\"」があります");
                ++pos;
            }
            std::size_t end = pos;
            while (end > start && blank(s[end - 1])) --end;
            token.text.assign(s.substr(start, end - start));
        }
        tokens.push_back(std::move(token));
        if (pos >= n) break;
        if (s[pos] == ',') {
            ++pos;
            // A comma at the very end leaves one empty value after it.
            if (pos >= n) tokens.push_back({"", false, line});
            continue;
        }
        if (s[pos] == '\r' && pos + 1 < n && s[pos + 1] == '\n') ++pos;
        ++pos;
        ++line;
    }
    // Blank lines after the last value are no values.
    while (!tokens.empty() && !tokens.back().quoted && tokens.back().text.empty()) tokens.pop_back();
    return std::nullopt;
}

std::optional<long long> ParseLong(std::string_view text) {
    if (text.empty()) return std::nullopt;
    long long value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

// A decimal number with or without a leading zero before the point (".5", "0.5",
// "-.5", "5."), and an exponent as other writers put it ("1E-05").
std::optional<double> ParseDouble(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto digit = [&](std::size_t k) { return k < n && text[k] >= '0' && text[k] <= '9'; };
    if (i < n && text[i] == '-') ++i;
    const std::size_t mantissa = i;
    int digits = 0;
    while (digit(i)) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (digit(i)) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        if (!digit(i)) return std::nullopt;
        while (digit(i)) ++i;
    }
    if (i != n) return std::nullopt;
    // from_chars wants the digits before the point; lend it the zero a writer left out.
    std::string normal(text.substr(0, mantissa));
    if (text[mantissa] == '.') normal += '0';
    normal.append(text.substr(mantissa));
    double value = 0;
    auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (ec != std::errc() || ptr != normal.data() + normal.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

class Reader {
public:
    explicit Reader(const std::vector<Token>& tokens) : tokens_(tokens) {}
    std::optional<std::string> problem;

    // A value is checked as its line of the tables says; its label is made only for a message.
    void Long(int& out, const SaveLine& line) {
        const long long low = line.Low();
        const long long high = line.High();
        const Token* t = Next(line);
        if (!t) return;
        if (t->quoted) return Fail(*t, line, "数値のはずが文字列です");
        const auto value = ParseLong(t->text);
        if (!value) return Fail(*t, line, "整数として読めません (「" + Excerpt(t->text) + "」)");
        if (*value < low || *value > high)
            return Fail(*t, line,
                        "範囲外の値です (" + Excerpt(t->text) + "。" + Str(low) + "から" + Str(high) + "まで)");
        out = static_cast<int>(*value);
    }
    void Double(double& out, const SaveLine& line) {
        const double low = line.value.lowest;
        const double high = line.value.highest;
        const Token* t = Next(line);
        if (!t) return;
        if (t->quoted) return Fail(*t, line, "数値のはずが文字列です");
        const auto value = ParseDouble(t->text);
        if (!value) return Fail(*t, line, "数値として読めません (「" + Excerpt(t->text) + "」)");
        if (!(*value >= low && *value <= high))
            return Fail(*t, line,
                        "範囲外の値です (" + Excerpt(t->text) + "。" + FormatNumber(low) + "から" + FormatNumber(high) +
                            "まで)");
        out = *value;
    }
    // One of the waits; a writer's rounding of one is taken as the wait itself.
    void Wait(double& out, const SaveLine& line) {
        const std::span<const double> waits = line.value.waits;
        double value = 0;
        const std::size_t at = next_;
        Double(value, line);
        if (problem) return;
        for (double wait : waits) {
            if (std::fabs(value - wait) < 1e-9) {
                out = wait;
                return;
            }
        }
        std::string list;
        for (double wait : waits) list += (list.empty() ? "" : "、") + FormatNumber(wait);
        Fail(tokens_[at], line, list + "のどれかのはずです (" + Excerpt(tokens_[at].text) + ")");
    }
    void Text(std::string& out, const SaveLine& line) {
        const Token* t = Next(line);
        if (!t) return;
        if (!t->quoted) return Fail(*t, line, "「\"」で囲んだ文字列のはずです (「" + Excerpt(t->text) + "」)");
        if (IsUnsafeInText(t->text)) return Fail(*t, line, "文字列に使えない文字があります");
        out = t->text;
    }
    void Choice(const SavePlace& out, const SaveLine& line) {
        const std::span<const char* const> allowed = line.value.choices;
        const std::size_t at = next_;
        std::string value;
        Text(value, line);
        if (problem) return;
        for (const char* a : allowed) {
            if (value == a) {
                SetChoice(out, value);
                return;
            }
        }
        std::string list;
        for (const char* a : allowed) list += std::string(list.empty() ? "" : "、") + a;
        Fail(tokens_[at], line, "「" + Excerpt(value) + "」は使えません (" + list + "のどれか)");
    }
    void Flag(bool& out, const SaveLine& line) {
        const Token* t = Next(line);
        if (!t) return;
        if (!t->quoted && t->text == "#TRUE#") {
            out = true;
        } else if (!t->quoted && t->text == "#FALSE#") {
            out = false;
        } else {
            Fail(*t, line, "#TRUE#か#FALSE#のはずです (「" + Excerpt(t->text) + "」)");
        }
    }

private:
    const Token* Next(const SaveLine& line) {
        if (problem) return nullptr;
        if (next_ >= tokens_.size()) {
            problem = "ファイルが途中で終わっています (" + line.Label() + "がありません)";
            return nullptr;
        }
        return &tokens_[next_++];
    }
    void Fail(const Token& t, const SaveLine& line, const std::string& what) {
        if (!problem) problem = Str(t.line) + "行目 (" + line.Label() + "): " + what;
    }

    const std::vector<Token>& tokens_;
    std::size_t next_ = 0;
};

void ReadAll(Reader& r, World& world) {
    ForEachSaveLine([&](const SaveLine& line) {
        if (r.problem) return;  // the first problem is the one told
        const SavePlace place = line.Place(world);
        switch (line.value.kind) {
            case SaveKind::Long:
                return r.Long(*std::get<int*>(place), line);
            case SaveKind::Double:
                return r.Double(*std::get<double*>(place), line);
            case SaveKind::Wait:
                return r.Wait(*std::get<double*>(place), line);
            case SaveKind::Text:
                return r.Text(*std::get<std::string*>(place), line);
            case SaveKind::Choice:
                return r.Choice(place, line);
            case SaveKind::Flag:
                return r.Flag(*std::get<bool*>(place), line);
        }
    });
}

// What single values cannot show: the tables must hang together.
std::optional<std::string> CheckTables(const Game& g) {
    std::set<std::string> names;
    for (int n = 1; n <= kNationCount; ++n) {
        const std::string& name = g.Nations[n].Name;
        if (name.empty()) return NationLabel(n, "名前") + "が空です";
        if (!names.insert(name).second) return "国家の名前「" + Excerpt(name) + "」が二つあります";
    }
    std::set<std::string> cityNames;
    for (int i = 1; i <= kCityCount; ++i) {
        const City& c = g.Cities[i];
        if (c.Name.empty()) return CityLabel(i, "名前") + "が空です";
        // The lists show cities by name: two of one name could not be told apart.
        if (!cityNames.insert(c.Name).second) return "都市の名前「" + Excerpt(c.Name) + "」が二つあります";
        // Every city belongs to a nation of the table; the battle records and the
        // computer's choices are kept by nation.
        if (!names.count(c.Owner)) return CityLabel(i, "領主") + "「" + Excerpt(c.Owner) + "」はどの国家でもありません";
    }
    // The order is drawn at a season's first step; until then (a new game) it is all 0.
    bool drawn = false;
    for (int i = 1; i <= kCityCount; ++i) drawn = drawn || g.TurnOrder[i] != 0;
    if (drawn) {
        std::array<bool, kCityCount + 1> seen{};
        for (int i = 1; i <= kCityCount; ++i) {
            const int city = g.TurnOrder[i];
            if (city == 0 || seen[city]) return std::string("手番の順が1から75の並べ替えになっていません");
            seen[city] = true;
        }
    }
    return std::nullopt;
}

std::optional<std::string> EncodeSaveBytes(const Game& game, std::string& bytes) {
    Writer w;
    w.out.reserve(32 * 1024);
    WriteAll(game, w);
    if (w.problem) return w.problem;
    bytes = std::move(w.out);
    return std::nullopt;
}

}  // namespace

std::string WriteSaveBytes(const Game& game) {
    std::string bytes;
    if (EncodeSaveBytes(game, bytes)) return {};
    return bytes;
}

std::optional<std::string> ReadSaveBytes(const std::string& bytes, Game& into) {
    if (bytes.size() > kMaxSaveBytes) return "ファイルが大きすぎます (" + Str(kMaxSaveBytes) + "バイトまでです)";
    std::string text;
    std::size_t bad = 0;
    if (!FromCodePage932(bytes, text, bad)) {
        if (bad == kNoConverter) return std::string("Shift_JISからの変換ができません");
        return AtLine(LineAt(bytes, bad), "Shift_JIS(コードページ932)の文字として読めません");
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\r' && c != '\n' && c != '\t') || c == 0x7F)
            return AtLine(LineAt(text, i), "制御文字があります");
    }
    std::vector<Token> tokens;
    tokens.reserve(kSaveLineCount + 1);
    if (auto problem = Tokenize(text, tokens)) return problem;
    if (tokens.size() < static_cast<std::size_t>(kSaveLineCount))
        return "ファイルが途中で終わっています (値が" + Str(tokens.size()) + "個しかありません。" +
               Str(kSaveLineCount) + "個のはずです)";
    if (tokens.size() > static_cast<std::size_t>(kSaveLineCount))
        return "値が多すぎます (" + Str(tokens.size()) + "個あります。" + Str(kSaveLineCount) + "個のはずです)";
    Reader reader(tokens);
    ReadAll(reader, into);
    if (reader.problem) return reader.problem;
    // The file names owners; the rules also want their numbers.
    RefreshOwnerIndices(into);
    return CheckTables(into);
}

std::optional<std::string> ReadGameFile(const std::string& path, Game& into) {
    std::string bytes;
    if (auto problem = ReadRegularFile(path, kMaxSaveBytes, bytes)) return problem;
    // The running game's history is no part of the file, and may be long: it is not copied with the rest.
    Chronicle history = std::move(into.chronicle);
    into.chronicle = Chronicle{};
    Game loaded = into;
    std::optional<std::string> problem = ReadSaveBytes(bytes, loaded);
    if (!problem) {
        loaded.screen = into.screen;
        loaded.random = into.random;
        into = loaded;
        // A file is only written at a season's start, where no city has acted yet.
        into.TurnStep = 1;
    }
    into.chronicle = std::move(history);
    return problem;
}

namespace {

// The save's bytes, once they are known to load again: a file the loader would
// refuse is no save, and the last good one is kept instead.
std::optional<std::string> EncodeLoadableSave(const Game& game, std::string& bytes) {
    if (auto problem = EncodeSaveBytes(game, bytes)) return problem;
    // The world alone: the history is no part of the file.
    Game check;
    static_cast<World&>(check) = game;
    if (auto problem = ReadSaveBytes(bytes, check)) return "読み戻せない値があります (" + *problem + ")";
    return std::nullopt;
}

}  // namespace

std::optional<std::string> WriteGameFile(const std::string& path, const Game& game) {
    std::string bytes;
    if (auto problem = EncodeLoadableSave(game, bytes)) return problem;
    SaveLock lock;
    if (auto problem = lock.Take(path)) return problem;
    return ReplaceFileWhole(path, bytes);
}

namespace {

namespace fs = std::filesystem;

// Where the history of the save on disk waits while another game's save replaces
// it: the new chronicle cannot name that save, so it must not stand alone.
std::string KeptChroniclePath(const std::string& savePath) { return ChroniclePath(savePath) + ".prev"; }

// A file (or a link) stands at `file`: something a save would write over. A
// folder or a pipe there is no chronicle and is refused by the writer anyway.
bool ChronicleFileStands(const std::string& file) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(file, ec);
    return !ec && (fs::is_regular_file(status) || fs::is_symlink(status));
}

// Moves an unreadable chronicle aside ("<file>.damaged"), the newest over an older one.
std::optional<std::string> KeepUnread(const std::string& file, std::string& keptAt) {
    const std::string kept = file + ".damaged";
    if (std::rename(file.c_str(), kept.c_str()) != 0)
        return "年代記を残せません (" + kept + ": " + SystemErrorText(errno) + ")";
    keptAt = kept;
    return std::nullopt;
}

// Before the chronicle beside `path` is written over: a history that is not the
// saving game's own is kept. The one of the save on disk waits beside it (the
// new chronicle cannot name that save) until the new save is in place; one that
// is neither this game's nor that save's (damaged, over the cap, its save gone)
// is kept for good as "Game.chronicle.damaged".
std::optional<std::string> KeepOtherGamesChronicle(const std::string& path, const Chronicle& saving,
                                                   std::string& keptAt) {
    const std::string file = ChroniclePath(path);
    if (!ChronicleFileStands(file)) return std::nullopt;
    Game disk;
    if (!ReadGameFile(path, disk)) {
        const std::uint64_t checksum = SaveChecksum(WriteSaveBytes(disk));
        if (std::any_of(saving.marks.begin(), saving.marks.end(),
                        [&](const SaveMark& m) { return m.checksum == checksum; }))
            return std::nullopt;  // ours: the new chronicle is cut back to it should the save stop
        Chronicle ignored;
        if (!ReadChronicleFile(file, disk, ignored)) {
            if (std::rename(file.c_str(), KeptChroniclePath(path).c_str()) != 0)
                return "年代記を残せません (" + KeptChroniclePath(path) + ": " + SystemErrorText(errno) + ")";
            return std::nullopt;
        }
        // An earlier save that stopped kept the disk save's own history aside: this
        // one is that save's, which never reached the disk.
        if (!ReadChronicleFile(KeptChroniclePath(path), disk, ignored)) return std::nullopt;
    }
    return KeepUnread(file, keptAt);
}

// Something stands at `file`, whatever it is (a dangling link too).
bool AnythingAt(const std::string& file) {
    std::error_code ec;
    return fs::symlink_status(file, ec).type() != fs::file_type::not_found && !ec;
}

std::optional<std::string> ReadStrengthRecords(const std::string& file, std::vector<StrengthRecord>& records) {
    std::string text;
    if (auto problem = ReadRegularFile(file, kMaxStrengthBytes, text)) return problem;
    return DecodeStrength(text, records);
}

// Before the chronicle and the save: the levels of the new save (`checksum`), with
// those of the save on disk kept beside them until the new one takes its place.
// At the standard level nothing is written: `removeAfter` then says whether an
// old file is to go once the save is in place (until then it is the disk save's).
std::optional<std::string> WriteStrengthBefore(const std::string& target, const StrengthLevels& levels,
                                               std::uint64_t checksum, const WriteHooks& hooks, bool& removeAfter) {
    const std::string file = StrengthPath(target);
    const bool stands = AnythingAt(file);
    removeAfter = false;
    if (AllStandard(levels)) {
        removeAfter = stands;
        return std::nullopt;
    }
    std::vector<StrengthRecord> records{{checksum, levels}};
    records[0].levels[0] = 0;
    std::vector<StrengthRecord> old;
    Game disk;
    // Unreadable levels beside the disk save already load it at the standard level: nothing of them to keep.
    if (stands && !ReadStrengthRecords(file, old) && !ReadGameFile(target, disk)) {
        const std::uint64_t onDisk = SaveChecksum(WriteSaveBytes(disk));
        const auto kept = std::find_if(old.begin(), old.end(), [&](const StrengthRecord& r) {
            return r.checksum == onDisk && onDisk != checksum;
        });
        if (kept != old.end()) records.push_back(*kept);
    }
    if (auto problem = ReplaceFileWhole(file, EncodeStrength(records), hooks)) return "コンピュータの強さ: " + *problem;
    return std::nullopt;
}

// The levels kept beside a loaded save (`checksum`) into the game; the standard
// level for every nation when there are none, and a reason when a file stands
// there that holds none for this save.
std::optional<std::string> ReadStrengthBeside(const std::string& savePath, std::uint64_t checksum, Game& game) {
    game.Strength.fill(kStandardStrength);
    const std::string file = StrengthPath(savePath);
    if (!AnythingAt(file)) return std::nullopt;
    std::vector<StrengthRecord> records;
    if (auto problem = ReadStrengthRecords(file, records)) return problem;
    for (const StrengthRecord& r : records) {
        if (r.checksum != checksum) continue;
        std::copy(r.levels.begin() + 1, r.levels.end(), game.Strength.begin() + 1);
        return std::nullopt;
    }
    return std::string("別のセーブの記録です");
}

// The chronicle beside a loaded save into the game: cut back to the save when it
// runs past it; started again from the game as it stands when it is missing,
// damaged or another game's. `link`: the link the save was reached through, if
// any; `checksum`: the save's.
ChronicleLoad ReadChronicleBeside(const std::string& savePath, const std::string& link, std::uint64_t checksum,
                                  Game& game, bool keepUnread) {
    ChronicleLoad result;
    std::string file = ChroniclePath(savePath);
    // Saves made before the pair followed links left the chronicle beside the link.
    if (!link.empty() && !ChronicleFileStands(file) && ChronicleFileStands(ChroniclePath(link)))
        file = ChroniclePath(link);
    result.found = ChronicleFileStands(file);
    // The history read replaces whatever the game held: not both at once in memory.
    game.chronicle = Chronicle{};
    result.problem = ReadChronicleFile(file, game, game.chronicle);
    // A save of another game stopped after its chronicle: this save's own history waits beside it.
    if (result.problem && !ReadChronicleFile(KeptChroniclePath(savePath), game, game.chronicle)) {
        result.problem.reset();
        result.found = true;
    }
    if (result.problem) {
        RestartChronicle(game);
        if (keepUnread && result.found) result.keepProblem = KeepUnread(file, result.keptAt);
    }
    // From here the chronicle goes on from this save: a save interrupted later is cut back to it.
    MarkSave(game.chronicle, game, checksum);
    return result;
}

// The screen's part while another program holds the save.
class ScreenWait {
public:
    explicit ScreenWait(Game& game) : game_(game) {}
    ~ScreenWait() {
        if (waited_) game_.screen->SaveWaitOver(game_);
    }
    ScreenWait(const ScreenWait&) = delete;
    ScreenWait& operator=(const ScreenWait&) = delete;
    LockWait Wait() {
        return [this](double seconds) {
            waited_ = true;
            return game_.screen->WaitForSave(game_, seconds);
        };
    }

private:
    Game& game_;
    bool waited_ = false;
};

std::optional<std::string> TakeLock(SaveLock& lock, const std::string& path, LockKind kind, Game& game) {
    if (!game.screen) return lock.Take(path, kind);
    ScreenWait wait(game);
    return lock.Take(path, kind, wait.Wait());
}

}  // namespace

namespace {

// The pair's writing once the save's bytes are known, under the save's lock: the
// chronicle marked with the save and trimmed to its cap, a history that is not
// this game's kept aside, then the chronicle and the save, each whole.
std::optional<std::string> WriteLockedPair(const std::string& target, const std::string& bytes, Chronicle& chronicle,
                                           const StrengthLevels& levels, int year, int season, const WriteHooks& hooks,
                                           SavePairOutcome& out) {
    const std::size_t marks = chronicle.marks.size();
    const std::size_t entries = chronicle.entries.size(), seasons = chronicle.seasons.size();
    MarkSave(chronicle, year, season, SaveChecksum(bytes));
    std::size_t size = 0;
    out.trimmed = TrimChronicle(chronicle, kMaxChronicleBytes, &size);
    out.cutEntries = entries - chronicle.entries.size();
    out.cutSeasons = seasons - chronicle.seasons.size();
    const auto failed = [&](const std::string& problem) -> std::optional<std::string> {
        // The mark of a save that never reached the disk goes again (a trim has moved them all: then it stays, naming
        // nothing a load will find).
        if (!out.trimmed) chronicle.marks.resize(marks);
        return problem;
    };
    if (auto problem = KeepOtherGamesChronicle(target, chronicle, out.keptAt)) return failed(*problem);
    bool removeLevels = false;
    if (auto problem = WriteStrengthBefore(target, levels, SaveChecksum(bytes), hooks, removeLevels))
        return failed(*problem);
    {
        // The chronicle first: until the save itself is replaced, the old save stands
        // and the new chronicle names it (or the old one waits beside it).
        const std::string text = EncodeChronicle(chronicle, year, season, size);
        if (auto problem = ReplaceFileWhole(ChroniclePath(target), text, hooks)) return failed("年代記: " + *problem);
    }
    if (auto problem = ReplaceFileWhole(target, bytes, hooks)) return failed(*problem);
    std::error_code ignored;
    fs::remove(KeptChroniclePath(target), ignored);
    // The new save stands at the standard level: the levels of the one it replaced go.
    if (removeLevels) fs::remove(StrengthPath(target), ignored);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> WriteSavePair(const std::string& path, Game& game, bool* trimmed, const WriteHooks& hooks,
                                         std::string* keptAt) {
    if (trimmed) *trimmed = false;
    std::string bytes;
    if (auto problem = EncodeLoadableSave(game, bytes)) return problem;
    // The pair lies beside the save itself, wherever a link to it stands.
    std::string unresolved;
    const std::optional<std::string> target = ResolveSavePath(path, unresolved);
    if (!target) return unresolved;
    SaveLock lock;
    if (auto problem = TakeLock(lock, *target, LockKind::Exclusive, game)) return problem;
    // Marked and trimmed where it stands: a copy of a long history would double what a save holds.
    SavePairOutcome out;
    auto problem = WriteLockedPair(*target, bytes, game.chronicle, game.Strength, game.Year, game.Season, hooks, out);
    if (trimmed) *trimmed = out.trimmed;
    if (keptAt) *keptAt = out.keptAt;
    return problem;
}

std::optional<std::string> ComposeSavePair(const std::string& path, Game& game, SavePairJob& job) {
    job.path = path;
    if (auto problem = EncodeSaveBytes(game, job.bytes)) return problem;
    // Whether the bytes load again is the writer's to find out, from this copy of the world.
    job.world = game;
    job.strength = game.Strength;
    job.year = game.Year;
    job.season = game.Season;
    // The game's history carries the mark as if written at once; the writer's copy has it too.
    job.marksBefore = game.chronicle.marks.size();
    MarkSave(game.chronicle, game, SaveChecksum(job.bytes));
    job.mark = game.chronicle.marks.back();
    job.chronicle = game.chronicle;
    return std::nullopt;
}

SavePairOutcome WriteComposedPair(SavePairJob& job, const LockWait& wait, const WriteHooks& hooks) {
    SavePairOutcome out;
    {
        Game check;
        static_cast<World&>(check) = job.world;
        if (auto problem = ReadSaveBytes(job.bytes, check)) {
            out.problem = "読み戻せない値があります (" + *problem + ")";
            return out;
        }
    }
    std::string unresolved;
    const std::optional<std::string> target = ResolveSavePath(job.path, unresolved);
    if (!target) {
        out.problem = unresolved;
        return out;
    }
    SaveLock lock;
    if (auto problem = lock.Take(*target, LockKind::Exclusive, wait)) {
        out.problem = problem;
        return out;
    }
    out.problem = WriteLockedPair(*target, job.bytes, job.chronicle, job.strength, job.year, job.season, hooks, out);
    return out;
}

void SettleSavePair(Game& game, const SavePairJob& job, const SavePairOutcome& out) {
    Chronicle& chronicle = game.chronicle;
    // Only the history the job was composed from: a load or a new game since has one of its own.
    if (chronicle.marks.empty() || !(chronicle.marks.back() == job.mark)) return;
    if (out.trimmed) {
        // The same oldest history as the file lost: what came since stays.
        DropOldest(chronicle, out.cutEntries, out.cutSeasons);
    } else if (out.problem) {
        chronicle.marks.resize(job.marksBefore);
    }
}

std::optional<std::string> ReadSavePair(const std::string& path, Game& game, bool keepUnread,
                                        ChronicleLoad& chronicle) {
    std::string unresolved;
    const std::optional<std::string> target = ResolveSavePath(path, unresolved);
    if (!target) return unresolved;
    // Shared with other loads; no save replaces either file until both are read.
    SaveLock lock;
    if (auto problem = TakeLock(lock, *target, LockKind::Shared, game)) return problem;
    if (auto problem = ReadGameFile(*target, game)) return problem;
    const std::uint64_t checksum = SaveChecksum(WriteSaveBytes(game));
    chronicle = ReadChronicleBeside(*target, *target == path ? std::string() : path, checksum, game, keepUnread);
    chronicle.strengthProblem = ReadStrengthBeside(*target, checksum, game);
    return std::nullopt;
}

std::string ChronicleLoadNote(const ChronicleLoad& chronicle) {
    std::string note = "年代記は読めなかったので、この季節から記録します (" + chronicle.problem.value_or("") + ")";
    if (!chronicle.keptAt.empty()) note += "\n読めなかった年代記は次の場所に残しました:\n" + chronicle.keptAt;
    if (chronicle.keepProblem) note += "\n" + *chronicle.keepProblem;
    return note;
}

std::string StrengthLoadNote(const ChronicleLoad& chronicle) {
    return "コンピュータの強さの記録が読めないので、標準で続けます (" + chronicle.strengthProblem.value_or("") + ")";
}

bool SaveGame(Game& game) {
    if (!game.TurnStart) {
        Tell(game, "セーブはターンのはじめしかできません");
        return false;
    }
    // After the autosave of this season's start, which may share the save's place.
    game.FinishBackgroundSaves(true);
    const std::string path = game.screen->SaveFilePath(game);
    // Both files are on disk before the player hears of it.
    bool trimmed = false;
    std::string kept;
    const std::optional<std::string> problem = WriteSavePair(path, game, &trimmed, {}, &kept);
    std::string told;
    if (problem) {
        told = "セーブできませんでした: " + *problem;
    } else {
        const std::string where = game.screen->SavedWhere(game);
        told = where.empty() ? "セーブしました" : "セーブしました\n" + where;
    }
    told += SaveNotes(trimmed, kept);
    Tell(game, told);
    return !problem;
}

std::string SaveNotes(bool trimmed, const std::string& keptAt) {
    std::string notes;
    if (!keptAt.empty()) notes += "\n前の年代記は読めなかったので、次の場所に残しました:\n" + keptAt;
    if (trimmed) notes += "\n年代記が長くなったので、古い記録を消しました";
    return notes;
}

bool LoadGame(Game& game, const std::string& from) {
    if (!game.TurnStart) {
        Tell(game, "ロードはターンの始めしかできません");
        return false;
    }
    // The autosave being written may be the file loaded; its outcome belongs to the game replaced.
    game.FinishBackgroundSaves(true);
    const std::string path = from.empty() ? game.screen->SaveFilePath(game) : from;
    // A missing or unreadable chronicle never stops a load: it starts again here,
    // the unreadable one kept aside before a save could write over it.
    ChronicleLoad history;
    if (auto problem = ReadSavePair(path, game, true, history)) {
        Tell(game, "ロードできませんでした: " + *problem);
        return false;
    }
    RefreshAllCities(game);
    ShowMsg(game, SeasonCaption(game) + "です");
    Tell(game, "ロードしました");
    if (history.problem) Tell(game, ChronicleLoadNote(history));
    if (history.strengthProblem) Tell(game, StrengthLoadNote(history));
    return true;
}

}  // namespace tarvex
