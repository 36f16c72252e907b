#pragma once
#include <string>
#include <vector>

// A page of a drawing as values: lines, filled areas and texts measured in
// millimetres of paper from the page's top left corner, y downward. Each
// front end paints them with its own library (Qt in the window, cairo for
// the files of the command line), so that both give the same sheet.
namespace vexaline {

struct SheetPoint {
    double x = 0, y = 0;
};

// What a line is: its colour, width and dash are the ink's (StyleOf).
enum class SheetInk { Frame, Thin, Design, Ground, Centre, Fill, Cut, Mark };

struct InkStyle {
    unsigned rgb = 0;     // 0xRRGGBB
    double dWidth = 0.25;  // millimetres
    bool bDashed = false;
};
InkStyle StyleOf(SheetInk ink);

struct SheetLine {
    SheetInk ink = SheetInk::Thin;
    std::vector<SheetPoint> points;
    bool bArea = false;  // closed and filled with the ink's colour, no outline
};

enum class SheetAnchor { Left, Centre, Right };

struct SheetText {
    SheetPoint at;  // on the baseline, where the anchor says
    double dSize = 3;  // the em, millimetres
    SheetAnchor anchor = SheetAnchor::Left;
    std::string strText;  // UTF-8
    bool bBold = false;
};

// The one font of sheets: CJK and Latin on a fixed grid, so that the core
// knows how wide a text will be.
inline constexpr const char* kSheetFont = "Noto Sans Mono CJK SC";
// The width of a text in kSheetFont at the size: half an em for each
// character below U+0100, an em for every other.
double SheetTextWidth(const std::string& utf8, double size);

struct SheetDrawing {
    double dWidth = 0, dHeight = 0;  // the page, millimetres
    std::vector<SheetLine> lines;    // painted in order, areas first where they come first
    std::vector<SheetText> texts;    // painted over the lines
};

}  // namespace vexaline
