#include "core/plan/SheetDrawing.h"

namespace vexaline {

InkStyle StyleOf(SheetInk ink) {
    switch (ink) {
    case SheetInk::Frame: return {0x000000, 0.5, false};
    case SheetInk::Thin: return {0x808080, 0.18, false};
    case SheetInk::Design: return {0x000000, 0.5, false};
    case SheetInk::Ground: return {0x8b5a2b, 0.25, false};
    case SheetInk::Centre: return {0x808080, 0.18, true};
    case SheetInk::Fill: return {0xcfe0f6, 0, false};
    case SheetInk::Cut: return {0xf3dcb8, 0, false};
    case SheetInk::Mark: return {0xc00000, 0.3, false};
    }
    return {};
}

double SheetTextWidth(const std::string& utf8, double size) {
    double em = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) == 0x80) continue;  // a continuation byte
        // U+0080..U+00FF take two bytes starting C2 or C3.
        em += c < 0x80 || c == 0xC2 || c == 0xC3 ? 0.5 : 1;
    }
    return em * size;
}

}  // namespace vexaline
