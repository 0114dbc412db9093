// Writing and reading the chronicle's files.
#include "rules/chronicle/chronicle_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "rules/save/files.h"
#include "rules/save/savefile.h"

namespace tarvex {

namespace {

// The first line names the version. A reader takes every version up to its own
// and passes over the kinds of line it does not know (from version 2 on), so a
// kind added later reaches an older reader as no harm and a newer one as history.
constexpr const char* kMagic = "tarvex-chronicle ";
constexpr int kChronicleVersion = 2;
// Version 1 knew only these kinds; anything else in it is damage.
constexpr int kFirstTolerantVersion = 2;

std::vector<std::string_view> Split(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t at = line.find(separator);
        fields.push_back(line.substr(0, at));
        if (at == std::string_view::npos) return fields;
        line.remove_prefix(at + 1);
    }
}

bool Whole(std::string_view text, long long low, long long high, long long* value) {
    long long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || v < low || v > high) return false;
    *value = v;
    return true;
}

template <class T>
bool List(std::string_view text, long long low, long long high, std::vector<T>* out) {
    out->clear();
    if (text.empty()) return true;
    for (std::string_view field : Split(text, ',')) {
        long long v = 0;
        if (!Whole(field, low, high, &v)) return false;
        out->push_back(static_cast<T>(v));
    }
    return true;
}

template <class Numbers>
std::string Joined(const Numbers& numbers, std::size_t from = 0) {
    std::string text;
    for (std::size_t i = from; i < numbers.size(); ++i) text += (i > from ? "," : "") + std::to_string(numbers[i]);
    return text;
}

// Each city's nation as a season starts, one character a city in base 36: 75 bytes a season.
std::string OwnersText(const SeasonRecord& s) {
    constexpr std::string_view kDigits = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string text;
    for (int c = 1; c <= kCityCount; ++c) text += kDigits[s.owners[c] % kDigits.size()];
    return text;
}

// The owners of a season's line, which must agree with the season's counts of cities.
bool ReadOwners(std::string_view text, SeasonRecord* s) {
    if (text.size() != static_cast<std::size_t>(kCityCount)) return false;
    std::array<std::uint8_t, kChronicleCities + 1> owners{};
    std::array<int, kNationCount + 1> counted{};
    for (int c = 1; c <= kCityCount; ++c) {
        const char ch = text[c - 1];
        const int nation = ch >= '0' && ch <= '9' ? ch - '0' : ch >= 'a' && ch <= 'z' ? ch - 'a' + 10 : -1;
        if (nation < 0 || nation > kNationCount) return false;
        owners[c] = static_cast<std::uint8_t>(nation);
        ++counted[nation];  // 0: a city of no nation, counted nowhere
    }
    for (int n = 1; n <= kNationCount; ++n)
        if (counted[n] != s->cities[n]) return false;
    s->owners = owners;
    return true;
}

// The lines are appended where they go, without a string of their own each: a long
// history is written, and measured, line by line.
void AppendNumber(std::string& out, long long value) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, end);
}

template <class Numbers>
void AppendJoined(std::string& out, const Numbers& numbers, std::size_t from = 0) {
    for (std::size_t i = from; i < numbers.size(); ++i) {
        if (i > from) out += ',';
        AppendNumber(out, numbers[i]);
    }
}

void AppendWhen(std::string& out, int year, int season) {
    AppendNumber(out, year);
    out += '\t';
    AppendNumber(out, season);
    out += '\t';
}

void AppendEntryLine(std::string& out, const ChronicleEntry& e) {
    out += "entry\t";
    AppendWhen(out, e.year, e.season);
    out += KindName(e.kind);
    out += '\t';
    AppendJoined(out, e.cities);
    out += '\t';
    AppendJoined(out, e.nations);
    out += '\t';
    out += e.text;
    out += '\n';
}

// A season's row, then who held each city as it started (when that was recorded).
void AppendSeasonLine(std::string& out, const SeasonRecord& s) {
    out += "season\t";
    AppendWhen(out, s.year, s.season);
    AppendJoined(out, s.cities, 1);
    out += '\t';
    AppendJoined(out, s.troops, 1);
    out += '\n';
    if (!s.HasOwners()) return;
    out += "owners\t";
    AppendWhen(out, s.year, s.season);
    out += OwnersText(s);
    out += '\n';
}

template <class Record>
std::size_t LineSize(void (*append)(std::string&, const Record&), const Record& record) {
    thread_local std::string scratch;
    scratch.clear();
    append(scratch, record);
    return scratch.size();
}

// ---- The saves a chronicle was written with ------------------------------------

std::string MarkLine(const SaveMark& m) {
    return "saved\t" + std::to_string(m.year) + "\t" + std::to_string(m.season) + "\t" + ChecksumText(m.checksum) +
           "\t" + std::to_string(m.entries) + "\t" + std::to_string(m.seasons) + "\n";
}

// "saved", year, season, checksum (16 hex digits), entries and season rows then.
bool ReadMark(const std::vector<std::string_view>& f, SaveMark* mark) {
    long long year = 0, season = 0, entries = 0, seasons = 0;
    std::uint64_t checksum = 0;
    if (f.size() != 6 || !Whole(f[1], 1, 1000000, &year) || !Whole(f[2], 1, 4, &season) ||
        !ReadChecksumText(f[3], checksum) || !Whole(f[4], 0, 1LL << 40, &entries) ||
        !Whole(f[5], 0, 1LL << 40, &seasons))
        return false;
    *mark = {static_cast<int>(year), static_cast<int>(season), checksum, static_cast<std::size_t>(entries),
             static_cast<std::size_t>(seasons)};
    return true;
}

// The chronicle as it stood when the loaded save was written: a chronicle written
// for a later save that never reached the disk is cut back to the one that did.
// One naming no mark of the loaded save belongs to another game.
std::optional<std::string> CutBackToSave(Chronicle& read, const Game& game) {
    const std::uint64_t checksum = SaveChecksum(WriteSaveBytes(game));
    const auto mark = std::find_if(read.marks.rbegin(), read.marks.rend(), [&](const SaveMark& m) {
        return m.checksum == checksum && m.year == game.Year && m.season == game.Season;
    });
    if (mark == read.marks.rend()) return std::string("別のセーブの年代記です");
    if (mark->entries > read.entries.size() || mark->seasons > read.seasons.size())
        return std::string("記録の数が合いません");
    read.entries.resize(mark->entries);
    read.seasons.resize(mark->seasons);
    read.marks.erase(mark.base(), read.marks.end());
    return std::nullopt;
}

// The bytes of the chronicle's file, at most: the lines, the version and save lines allowed for.
std::size_t EncodedSize(const Chronicle& chronicle) {
    std::size_t total = std::strlen(kMagic) + 32;
    for (const ChronicleEntry& e : chronicle.entries) total += LineSize(AppendEntryLine, e);
    for (const SeasonRecord& s : chronicle.seasons) total += LineSize(AppendSeasonLine, s);
    for (const SaveMark& m : chronicle.marks) total += MarkLine(m).size();
    return total;
}

}  // namespace

std::uint64_t SaveChecksum(const std::string& bytes) {
    // FNV-1a: enough to tell one save of a game from another.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string ChecksumText(std::uint64_t checksum) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(checksum));
    return text;
}

bool ReadChecksumText(std::string_view text, std::uint64_t& checksum) {
    if (text.size() != 16) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), checksum, 16);
    return ec == std::errc() && end == text.data() + text.size();
}

void MarkSave(Chronicle& chronicle, const Game& game, std::uint64_t checksum) {
    MarkSave(chronicle, game.Year, game.Season, checksum);
}

void MarkSave(Chronicle& chronicle, int year, int season, std::uint64_t checksum) {
    const SaveMark mark{year, season, checksum, chronicle.entries.size(), chronicle.seasons.size()};
    if (chronicle.marks.empty() || !(chronicle.marks.back() == mark)) chronicle.marks.push_back(mark);
}

bool TrimChronicle(Chronicle& chronicle, std::size_t cap, std::size_t* bytes) {
    std::size_t total = EncodedSize(chronicle);
    if (bytes) *bytes = total;
    if (total <= cap) return false;
    // Well below the cap, so that the next saves do not drop history again at once.
    const std::size_t target = cap - cap / 8;
    // The oldest first, entries and season rows alike, by their season.
    std::size_t entries = 0, seasons = 0;
    const auto& e = chronicle.entries;
    const auto& s = chronicle.seasons;
    while (total > target && (entries < e.size() || seasons < s.size())) {
        const bool entryFirst =
            seasons == s.size() || (entries < e.size() && std::pair(e[entries].year, e[entries].season) <
                                                              std::pair(s[seasons].year, s[seasons].season));
        total -= entryFirst ? LineSize(AppendEntryLine, e[entries++]) : LineSize(AppendSeasonLine, s[seasons++]);
    }
    DropOldest(chronicle, entries, seasons);
    // The marks dropped only make it shorter.
    if (bytes) *bytes = total;
    return true;
}

void DropOldest(Chronicle& chronicle, std::size_t entries, std::size_t seasons) {
    entries = std::min(entries, chronicle.entries.size());
    seasons = std::min(seasons, chronicle.seasons.size());
    chronicle.entries.erase(chronicle.entries.begin(),
                            chronicle.entries.begin() + static_cast<std::ptrdiff_t>(entries));
    chronicle.seasons.erase(chronicle.seasons.begin(),
                            chronicle.seasons.begin() + static_cast<std::ptrdiff_t>(seasons));
    // A mark from before the cut can no longer be cut back to.
    std::vector<SaveMark> kept;
    for (SaveMark m : chronicle.marks) {
        if (m.entries < entries || m.seasons < seasons) continue;
        m.entries -= entries;
        m.seasons -= seasons;
        kept.push_back(m);
    }
    chronicle.marks = std::move(kept);
}

std::string ChroniclePath(const std::string& savePath) { return BesideSave(savePath, ".chronicle"); }

std::string EncodeChronicle(const Game& game) { return EncodeChronicle(game.chronicle, game.Year, game.Season); }

std::string EncodeChronicle(const Chronicle& chronicle, int year, int season, std::size_t bytes) {
    std::string text;
    // Sized once: a long history grown by doubling would briefly take three times its size.
    text.reserve(bytes ? bytes : EncodedSize(chronicle));
    text += kMagic + std::to_string(kChronicleVersion) + "\n";
    text += "save\t" + std::to_string(year) + "\t" + std::to_string(season) + "\n";
    for (const ChronicleEntry& e : chronicle.entries) AppendEntryLine(text, e);
    for (const SeasonRecord& s : chronicle.seasons) AppendSeasonLine(text, s);
    for (const SaveMark& m : chronicle.marks) text += MarkLine(m);
    return text;
}

namespace {

// Reads the chronicle's file a line at a time, as it comes from the disk: a long
// history is never held a second time as text.
class ChronicleReader {
public:
    // The next line, without its line end; false once the file is known to be damaged.
    bool Take(std::string_view line) {
        ++line_;
        if (!problem_) problem_ = line_ == 1 ? First(line) : Body(line);
        return !problem_;
    }
    // After the last line: the chronicle of the game as it stands, or why not.
    std::optional<std::string> Finish(const Game& game, Chronicle& into) {
        if (line_ == 0) return std::string("年代記のファイルではありません");
        if (problem_) return problem_;
        if (!sawSave_) return std::string("どのセーブの年代記か書かれていません");
        if (!read_.marks.empty()) {
            if (auto problem = CutBackToSave(read_, game)) return problem;
        } else if (savedYear_ != game.Year || savedSeason_ != game.Season) {
            // Written before saves were marked: its season is all that names its save.
            return std::string("別の季節のセーブの年代記です");
        }
        into = std::move(read_);
        return std::nullopt;
    }

private:
    std::string Where() const { return std::to_string(line_) + "行目: "; }

    std::optional<std::string> First(std::string_view line) {
        const std::string_view magic = kMagic;
        if (line.substr(0, magic.size()) != magic || !Whole(line.substr(magic.size()), 1, kChronicleVersion, &version_))
            return std::string("年代記のファイルではありません");
        return std::nullopt;
    }

    std::optional<std::string> Body(std::string_view line) {
        const std::vector<std::string_view> f = Split(line, '\t');
        if (f[0] != "save" && f[0] != "entry" && f[0] != "season" && f[0] != "saved" && f[0] != "owners") {
            // A later version's own kind of line: not ours to read, no damage either.
            const bool word = !f[0].empty() && f.size() > 1 && std::all_of(f[0].begin(), f[0].end(), [](char c) {
                return (c >= 'a' && c <= 'z') || c == '_';
            });
            if (version_ >= kFirstTolerantVersion && word) return std::nullopt;
            return Where() + "読めない行です";
        }
        long long year = 0, season = 0;
        if (f.size() < 3 || !Whole(f[1], 1, 1000000, &year) || !Whole(f[2], 1, 4, &season))
            return Where() + "年と季節が読めません";
        if (f[0] == "save" && f.size() == 3 && line_ == 2) {
            savedYear_ = static_cast<int>(year);
            savedSeason_ = static_cast<int>(season);
            sawSave_ = true;
        } else if (f[0] == "entry" && f.size() == 7) {
            ChronicleEntry e;
            e.year = static_cast<int>(year);
            e.season = static_cast<int>(season);
            if (!KindFromName(std::string(f[3]), &e.kind) || !List(f[4], 1, kCityCount, &e.cities) ||
                !List(f[5], 1, kNationCount, &e.nations) || f[6].empty())
                return Where() + "記録が読めません";
            e.text = std::string(f[6]);
            read_.entries.push_back(std::move(e));
        } else if (f[0] == "season" && f.size() == 5) {
            SeasonRecord s;
            s.year = static_cast<int>(year);
            s.season = static_cast<int>(season);
            std::vector<int> cities, troops;
            if (!List(f[3], 0, kCityCount, &cities) || !List(f[4], 0, kCityCount * kMaxValue, &troops) ||
                cities.size() != kNationCount || troops.size() != kNationCount)
                return Where() + "季節の数が読めません";
            int total = 0;
            for (int i = 0; i < kNationCount; ++i) {
                s.cities[i + 1] = static_cast<std::int16_t>(cities[i]);
                s.troops[i + 1] = troops[i];
                total += cities[i];
            }
            if (total > kCityCount) return Where() + "都市の数が多すぎます";
            read_.seasons.push_back(s);
        } else if (f[0] == "saved" && version_ >= 2) {
            SaveMark mark;
            if (!ReadMark(f, &mark)) return Where() + "セーブの記録が読めません";
            read_.marks.push_back(mark);
        } else if (f[0] == "owners" && version_ >= 2 && f.size() == 4) {
            // Follows the line of its own season.
            if (read_.seasons.empty() || read_.seasons.back().year != year || read_.seasons.back().season != season ||
                read_.seasons.back().HasOwners() || !ReadOwners(f[3], &read_.seasons.back()))
                return Where() + "都市の持ち主が読めません";
        } else {
            return Where() + "読めない行です";
        }
        return std::nullopt;
    }

    std::size_t line_ = 0;
    std::optional<std::string> problem_;
    long long version_ = 0;
    Chronicle read_;
    bool sawSave_ = false;
    int savedYear_ = 0, savedSeason_ = 0;
};

}  // namespace

std::optional<std::string> DecodeChronicle(const std::string& text, const Game& game, Chronicle& into) {
    ChronicleReader reader;
    // Lines end at LF; a last line without one counts as well, an empty text has none.
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        if (!reader.Take(rest.substr(0, end))) break;
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return reader.Finish(game, into);
}

std::optional<std::string> ReadChronicleFile(const std::string& path, const Game& game, Chronicle& into) {
    ChronicleReader reader;
    if (auto problem = ReadRegularFileLines(path, kMaxChronicleBytes,
                                            [&reader](std::string_view line) { return reader.Take(line); }))
        return problem;
    return reader.Finish(game, into);
}

std::string ChronicleTable(const Chronicle& chronicle) {
    std::string text = "year\tseason\tkind\ttext\n";
    for (const ChronicleEntry& e : chronicle.entries)
        text +=
            std::to_string(e.year) + "\t" + std::to_string(e.season) + "\t" + KindName(e.kind) + "\t" + e.text + "\n";
    return text;
}

std::string SeasonTable(const Game& game) {
    std::string text = "year,season";
    for (int n = 1; n <= kNationCount; ++n) text += "," + game.Nations[n].Name;
    text += "\n";
    for (const SeasonRecord& s : game.chronicle.seasons)
        text += std::to_string(s.year) + "," + std::to_string(s.season) + "," + Joined(s.cities, 1) + "\n";
    return text;
}

}  // namespace tarvex
