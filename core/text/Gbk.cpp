#include "core/text/Gbk.h"

#include <cerrno>
#include <iconv.h>

namespace vexaline {
namespace {

// One conversion descriptor per direction for the whole program: opening
// them costs far more than a short line. The program has one thread.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; returns false at the first byte it cannot
    // take, with in/inLeft pointing at it.
    bool Run(char*& in, size_t& inLeft, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[256];
        while (inLeft > 0) {
            char* o = buffer;
            size_t oLeft = sizeof buffer;
            size_t r = iconv(cd_, &in, &inLeft, &o, &oLeft);
            out.append(buffer, static_cast<size_t>(o - buffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

private:
    iconv_t cd_;
};

Converter& ToGbk() {
    static Converter c("GBK", "UTF-8");
    return c;
}

Converter& FromGbk() {
    static Converter c("UTF-8", "GBK");
    return c;
}

Converter& FromGb18030() {
    static Converter c("UTF-8", "GB18030");
    return c;
}

std::string Decode(Converter& from, const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    char* p = const_cast<char*>(bytes.data());  // iconv reads its input, never writes it: no copy of a large file
    size_t left = bytes.size();
    while (!from.Run(p, left, out)) {
        out += "\xEF\xBF\xBD";  // U+FFFD for the byte that cannot start a character
        ++p;
        --left;
    }
    return out;
}

// The length of the well-formed UTF-8 character that starts at byte i, or 0:
// no stray or missing continuation byte, no overlong form, no surrogate,
// nothing above U+10FFFF.
std::size_t Utf8CharLength(const std::string& s, std::size_t i) {
    const unsigned char lead = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) n = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) n = 3, lo = lead == 0xE0 ? 0xA0 : 0x80, hi = lead == 0xED ? 0x9F : 0xBF;
    else if (lead >= 0xF0 && lead <= 0xF4) n = 4, lo = lead == 0xF0 ? 0x90 : 0x80, hi = lead == 0xF4 ? 0x8F : 0xBF;
    else return 0;
    if (s.size() - i < n) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char c = static_cast<unsigned char>(s[i + k]);
        if (c < (k == 1 ? lo : 0x80) || c > (k == 1 ? hi : 0xBF)) return 0;
    }
    return n;
}

}  // namespace

bool Utf8ToGbk(const std::string& utf8, std::string& gbk) {
    gbk.clear();
    std::string in = utf8;
    char* p = in.data();
    size_t left = in.size();
    if (!ToGbk().Run(p, left, gbk)) {
        gbk.clear();
        return false;
    }
    return true;
}

std::string Gbk(const char* utf8) {
    std::string gbk;
    Utf8ToGbk(utf8, gbk);
    return gbk;
}

std::string GbkToUtf8(const std::string& gbk) { return Decode(FromGbk(), gbk); }

std::string Gb18030ToUtf8(const std::string& bytes) { return Decode(FromGb18030(), bytes); }

std::string ValidUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Utf8CharLength(text, i);
        if (n) out.append(text, i, n), i += n;
        else out += "\xEF\xBF\xBD", ++i;
    }
    return out;
}

std::string Utf8ToGbkLossy(const std::string& utf8) {
    std::string gbk;
    if (Utf8ToGbk(utf8, gbk)) return gbk;
    std::string out, one;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        out += Utf8ToGbk(utf8.substr(i, n), one) ? one : "?";
        i += n;
    }
    return out;
}

bool IsUtf8(const std::string& s) {
    for (std::size_t i = 0, n = 0; i < s.size(); i += n)
        if ((n = Utf8CharLength(s, i)) == 0) return false;
    return true;
}

}  // namespace vexaline
