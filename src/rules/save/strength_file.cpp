// The computer's levels beside a save: a version line and a line per save.
#include "rules/save/strength_file.h"

#include <algorithm>

#include "rules/chronicle/chronicle_file.h"
#include "rules/save/files.h"
#include "rules/world/numbers.h"

namespace tarvex {

namespace {

constexpr std::string_view kVersionLine = "tarvex-strength 1";
constexpr std::string_view kSaveWord = "save";

// The next word of a line (words split by one space), or nothing at the line's end.
std::optional<std::string_view> NextWord(std::string_view& line) {
    if (line.empty()) return std::nullopt;
    const std::size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    line = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    return word;
}

bool ParseRecord(std::string_view line, StrengthRecord& record) {
    if (NextWord(line) != kSaveWord) return false;
    const std::optional<std::string_view> checksum = NextWord(line);
    if (!checksum || !ReadChecksumText(*checksum, record.checksum)) return false;
    for (int n = 1; n <= kNationCount; ++n) {
        const std::optional<std::string_view> level = NextWord(line);
        if (!level || level->size() != 1 || (*level)[0] < '1' || (*level)[0] > '0' + kStrongest) return false;
        record.levels[n] = (*level)[0] - '0';
    }
    return line.empty();
}

}  // namespace

std::string StrengthPath(const std::string& savePath) { return BesideSave(savePath, ".strength"); }

bool AllStandard(const StrengthLevels& levels) {
    return std::all_of(levels.begin() + 1, levels.end(), [](int level) { return level == kStandardStrength; });
}

std::string EncodeStrength(const std::vector<StrengthRecord>& records) {
    std::string text(kVersionLine);
    text += '\n';
    for (const StrengthRecord& r : records) {
        text += std::string(kSaveWord) + ' ' + ChecksumText(r.checksum);
        for (int n = 1; n <= kNationCount; ++n) text += ' ' + Str(r.levels[n]);
        text += '\n';
    }
    return text;
}

std::optional<std::string> DecodeStrength(std::string_view text, std::vector<StrengthRecord>& into) {
    std::vector<StrengthRecord> records;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return "最後の行が途中で終わっています";
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (++number == 1) {
            if (line != kVersionLine) return "この版の記録ではありません";
            continue;
        }
        StrengthRecord record;
        if (!ParseRecord(line, record)) return Str(number) + "行目が読めません";
        records.push_back(record);
    }
    if (number == 0) return std::string("空のファイルです");
    into = std::move(records);
    return std::nullopt;
}

}  // namespace tarvex
