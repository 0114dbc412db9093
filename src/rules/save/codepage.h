// Conversion between the game's UTF-8 texts and code page 932, the save file's encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvex {

// Converts UTF-8 to code page 932. On a character the code page cannot hold (or
// text that is not UTF-8) returns false with `badOffset` at that character.
bool ToCodePage932(std::string_view utf8, std::string& out, std::size_t& badOffset);
// Converts code page 932 to UTF-8. On a byte sequence that is not code page 932
// returns false with `badOffset` at it.
// Both return false with `badOffset` == kNoConverter when the C library has no
// converter for the code page.
inline constexpr std::size_t kNoConverter = static_cast<std::size_t>(-1);
bool FromCodePage932(std::string_view bytes, std::string& out, std::size_t& badOffset);

}  // namespace tarvex
