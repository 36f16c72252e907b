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

std::string GbkToUtf8(const std::string& gbk) {
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    std::string in = gbk;
    char* p = in.data();
    size_t left = in.size();
    while (!FromGbk().Run(p, left, out)) {
        out += "\xEF\xBF\xBD";  // U+FFFD for the byte that cannot start a character
        ++p;
        --left;
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
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        // How many continuation bytes follow, and the range of the first
        // (narrower after E0, ED, F0 and F4: overlongs, surrogates, > U+10FFFF).
        std::size_t more = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (c < 0x80) more = 0;
        else if (c >= 0xC2 && c <= 0xDF) more = 1;
        else if (c >= 0xE0 && c <= 0xEF) more = 2, lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
        else if (c >= 0xF0 && c <= 0xF4) more = 3, lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
        else return false;
        if (s.size() - i <= more) return false;
        for (std::size_t k = 1; k <= more; ++k) {
            const unsigned char b = static_cast<unsigned char>(s[i + k]);
            if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) return false;
        }
        i += more + 1;
    }
    return true;
}

}  // namespace vexaline
