// Conversion between the game's UTF-8 texts and code page 932, through the C library's iconv.
#include "rules/save/codepage.h"

#include <iconv.h>

#include <cerrno>

namespace tarvex {

namespace {

// "CP932" rather than "SHIFT_JIS": the Windows code page keeps 0x5C a backslash
// and 0x7E a tilde, and holds the NEC and IBM extensions a Japanese system writes.
constexpr const char* kCodePage = "CP932";

// One converter each way, opened once: a save converts some 260 texts.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (Valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    // iconv_open reports failure as the handle (iconv_t)-1.
    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }  // NOLINT(performance-no-int-to-ptr)
    iconv_t Get() const { return cd_; }

private:
    iconv_t cd_;
};

bool Convert(Converter& converter, std::string_view in, std::string& out, std::size_t& badOffset) {
    badOffset = 0;
    out.clear();
    if (!converter.Valid()) {
        badOffset = kNoConverter;
        return false;
    }
    iconv_t cd = converter.Get();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    // A single code page byte (half-width kana) becomes three UTF-8 bytes; start with
    // room for that and grow when iconv asks for more.
    out.resize(in.size() * 3 + 16);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            const std::size_t used = static_cast<std::size_t>(outPtr - out.data());
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        // EILSEQ (not a character of the source) or EINVAL (cut off at the end).
        badOffset = static_cast<std::size_t>(inPtr - in.data());
        ok = false;
        break;
    }
    if (!ok) {
        out.clear();
        return false;
    }
    out.resize(static_cast<std::size_t>(outPtr - out.data()));
    return true;
}

}  // namespace

bool ToCodePage932(std::string_view utf8, std::string& out, std::size_t& badOffset) {
    thread_local Converter converter(kCodePage, "UTF-8");
    return Convert(converter, utf8, out, badOffset);
}

bool FromCodePage932(std::string_view bytes, std::string& out, std::size_t& badOffset) {
    thread_local Converter converter("UTF-8", kCodePage);
    return Convert(converter, bytes, out, badOffset);
}

}  // namespace tarvex
