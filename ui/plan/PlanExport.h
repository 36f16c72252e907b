#pragma once
#include <QString>
#include <string>

#include "core/plan/Paper.h"

class CPlanCanvas;

// The plan view's 导出: the picture the canvas shows, on a sheet of paper.
namespace vexaline::plan {

enum class ExportFormat { Png, Svg, Pdf };

// What the title block says besides the caption and the scale.
struct TitleBlock {
    QString file;  // the road file's name
    QString date;
};

// The scale denominator N the canvas's picture is exported at on this
// paper: the largest round scale 1:N at which everything the canvas shows
// fits the drawing area.
double ExportScale(const CPlanCanvas& canvas, const Paper& paper);

// The canvas's picture at that true scale, centred where the canvas is, on
// the paper: a frame, the drawing with its north arrow, a scale bar and a
// title block (平面图, the road file, 比例 1:N, the date). PNG has the
// paper's size at its dpi (and says so in the file); SVG measures the
// paper in millimetres and holds each text as one element in the CJK font;
// PDF is one page of that paper. Empty when it could not be made (a picture
// too large for memory).
std::string ExportBytes(const CPlanCanvas& canvas, ExportFormat format, const Paper& paper, const TitleBlock& title);

// The format a path's extension names (.png, .svg, .pdf, any case); the
// file type chosen in the dialog (1-based) when the extension names none.
ExportFormat FormatOf(const std::string& path, int chosenType);
// True when the path ends in .png, .svg or .pdf (any case).
bool HasExtension(const std::string& path);

}  // namespace vexaline::plan
