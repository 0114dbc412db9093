// Writing and reading the chronicle's files.
#include "rules/chronicle/chronicle_file.h"

#include <charconv>
#include <string_view>

#include "rules/save/files.h"

namespace tarvex {

namespace {

constexpr const char* kMagic = "tarvex-chronicle 2";
// The first version kept no owners; it still reads, without them.
constexpr const char* kOldMagic = "tarvex-chronicle 1";
// A thousand years of war stay far below this.
constexpr std::size_t kMaxChronicleBytes = 64u << 20;

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

}  // namespace

std::string ChroniclePath(const std::string& savePath) {
    const std::string suffix = ".dt";
    if (savePath.size() >= suffix.size() &&
        savePath.compare(savePath.size() - suffix.size(), suffix.size(), suffix) == 0)
        return savePath.substr(0, savePath.size() - suffix.size()) + ".chronicle";
    return savePath + ".chronicle";
}

std::string EncodeChronicle(const Game& game) {
    std::string text = std::string(kMagic) + "\n";
    text += "save\t" + std::to_string(game.Year) + "\t" + std::to_string(game.Season) + "\n";
    for (const ChronicleEntry& e : game.chronicle.entries)
        text += "entry\t" + std::to_string(e.year) + "\t" + std::to_string(e.season) + "\t" + KindName(e.kind) + "\t" +
                Joined(e.cities) + "\t" + Joined(e.nations) + "\t" + e.text + "\n";
    for (const SeasonRecord& s : game.chronicle.seasons) {
        const std::string when = std::to_string(s.year) + "\t" + std::to_string(s.season) + "\t";
        text += "season\t" + when + Joined(s.cities, 1) + "\t" + Joined(s.troops, 1) + "\n";
        if (s.HasOwners()) text += "owners\t" + when + OwnersText(s) + "\n";
    }
    return text;
}

std::optional<std::string> DecodeChronicle(const std::string& text, const Game& game, Chronicle& into) {
    std::vector<std::string_view> lines = Split(text, '\n');
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty() || (lines[0] != kMagic && lines[0] != kOldMagic))
        return std::string("年代記のファイルではありません");
    Chronicle read;
    bool sawSave = false;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::string where = std::to_string(n + 1) + "行目: ";
        const std::vector<std::string_view> f = Split(lines[n], '\t');
        if (f[0] != "save" && f[0] != "entry" && f[0] != "season" && f[0] != "owners") return where + "読めない行です";
        long long year = 0, season = 0;
        if (f.size() < 3 || !Whole(f[1], 1, 1000000, &year) || !Whole(f[2], 1, 4, &season))
            return where + "年と季節が読めません";
        if (f[0] == "save" && f.size() == 3 && n == 1) {
            if (year != game.Year || season != game.Season) return std::string("別の季節のセーブの年代記です");
            sawSave = true;
        } else if (f[0] == "entry" && f.size() == 7) {
            ChronicleEntry e;
            e.year = static_cast<int>(year);
            e.season = static_cast<int>(season);
            if (!KindFromName(std::string(f[3]), &e.kind) || !List(f[4], 1, kCityCount, &e.cities) ||
                !List(f[5], 1, kNationCount, &e.nations) || f[6].empty())
                return where + "記録が読めません";
            e.text = std::string(f[6]);
            read.entries.push_back(std::move(e));
        } else if (f[0] == "season" && f.size() == 5) {
            SeasonRecord s;
            s.year = static_cast<int>(year);
            s.season = static_cast<int>(season);
            std::vector<int> cities, troops;
            if (!List(f[3], 0, kCityCount, &cities) || !List(f[4], 0, kCityCount * kMaxValue, &troops) ||
                cities.size() != kNationCount || troops.size() != kNationCount)
                return where + "季節の数が読めません";
            int total = 0;
            for (int i = 0; i < kNationCount; ++i) {
                s.cities[i + 1] = static_cast<std::int16_t>(cities[i]);
                s.troops[i + 1] = troops[i];
                total += cities[i];
            }
            if (total > kCityCount) return where + "都市の数が多すぎます";
            read.seasons.push_back(s);
        } else if (f[0] == "owners" && f.size() == 4) {
            // Follows the line of its own season.
            if (read.seasons.empty() || read.seasons.back().year != year || read.seasons.back().season != season ||
                read.seasons.back().HasOwners() || !ReadOwners(f[3], &read.seasons.back()))
                return where + "都市の持ち主が読めません";
        } else {
            return where + "読めない行です";
        }
    }
    if (!sawSave) return std::string("どのセーブの年代記か書かれていません");
    into = std::move(read);
    return std::nullopt;
}

std::optional<std::string> WriteChronicleFile(const std::string& path, const Game& game) {
    return ReplaceFileWhole(path, EncodeChronicle(game));
}

std::optional<std::string> ReadChronicleFile(const std::string& path, const Game& game, Chronicle& into) {
    std::string text;
    if (auto problem = ReadRegularFile(path, kMaxChronicleBytes, text)) return problem;
    return DecodeChronicle(text, game, into);
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
