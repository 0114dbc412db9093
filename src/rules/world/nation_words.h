// A nation's policy, stance and favourite tactic: words in the save file and the
// nation list, numbers to the rules that read them every season.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex {

// How a nation splits the computer's free choice of orders.
enum class PolicyKind : std::uint8_t { Other, War, Domestic, Ordinary };
// What decides the computer's choice of tactic in a nation's battles.
enum class StanceKind : std::uint8_t { Other, Careful, Headlong, Ordinary };
// A nation's favourite tactic, numbered as the combat tables number tactics (1..5).
enum class TacticKind : std::uint8_t { Other, Normal, Charge, Siege, Shooting, Defence };

// The words by number; slot 0, the number of any other text, has none.
template <class Kind>
struct WordsOf;
template <>
struct WordsOf<PolicyKind> {
    static constexpr std::array<const char*, 4> words{"", "戦争", "内政", "普通"};
};
template <>
struct WordsOf<StanceKind> {
    static constexpr std::array<const char*, 4> words{"", "慎重", "猛進", "普通"};
};
template <>
struct WordsOf<TacticKind> {
    static constexpr std::array<const char*, 6> words{"", "通常", "突撃", "包囲", "射撃", "防御"};
};

// One of the words, held as its number. Any other text (only a game set up by
// hand has one: the loader takes the words alone) is number 0 and is kept as
// given, so that it is shown and saved exactly as it came.
template <class Kind>
class NationWord {
public:
    NationWord() = default;
    // Implicit: a nation is written with its words, as the starting world and the file have them.
    NationWord(std::string_view text) {
        const auto& words = WordsOf<Kind>::words;
        for (std::size_t k = 1; k < words.size(); ++k) {
            if (text == words[k]) {
                kind_ = static_cast<Kind>(k);
                return;
            }
        }
        other_ = text;
    }
    NationWord(const char* text) : NationWord(std::string_view(text)) {}
    NationWord(const std::string& text) : NationWord(std::string_view(text)) {}

    Kind Value() const { return kind_; }
    std::string Text() const {
        return kind_ == Kind::Other ? other_ : std::string(WordsOf<Kind>::words[static_cast<std::size_t>(kind_)]);
    }
    bool operator==(const NationWord&) const = default;

private:
    Kind kind_ = Kind::Other;
    std::string other_;  // the text, when it is none of the words
};

// The nation list writes the words into its lines as text.
template <class Kind>
std::string operator+(const NationWord<Kind>& word, const char* text) {
    return word.Text() + text;
}
template <class Kind>
std::string operator+(const char* text, const NationWord<Kind>& word) {
    return text + word.Text();
}
template <class Kind>
std::string operator+(const std::string& text, const NationWord<Kind>& word) {
    return text + word.Text();
}
template <class Kind>
std::string operator+(const NationWord<Kind>& word, const std::string& text) {
    return word.Text() + text;
}

}  // namespace tarvex
