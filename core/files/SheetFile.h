#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/plan/SheetDrawing.h"

// Drawn pages as a file, through cairo: PDF with a page for each page, or
// SVG with the pages one under another in one picture, 5 mm apart. Sizes
// are the pages' own millimetres; texts in kSheetFont (embedded in a PDF,
// as outlines in SVG), anchored by their real width in that font.
namespace vexaline {

enum class SheetFormat { Pdf, Svg };

// The file's bytes; nullopt when cairo could not make them (no pages, or
// out of memory).
std::optional<std::string> SheetFileBytes(const std::vector<SheetDrawing>& pages, SheetFormat format,
                                          const std::string& title);

}  // namespace vexaline
