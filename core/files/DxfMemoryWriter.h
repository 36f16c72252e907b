#pragma once
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <dl_dxf.h>

#include <dl_writer_ascii.h>

#include "core/text/TextFields.h"

namespace vexaline {

// dxflib's ASCII writer, into memory, byte for byte what it writes to a
// file. dxflib writes only to a named file through a stream whose failure
// it never reports: a temporary file cut short (a full $TMPDIR, a file size
// limit) read back as a whole drawing, and one left behind when the program
// died. In memory nothing can be cut short; the one write is the caller's.
class MemoryWriter : public DL_WriterA {
public:
    MemoryWriter() : DL_WriterA("", DL_Codes::AC1009) {}  // "" opens no file

    // "%.16f" without the zeros after the last significant decimal, one
    // decimal kept ("12.5", "3.0"), as dxflib writes a real.
    void dxfReal(int gc, double value) const override {
        std::string text = Format("%.16f", value);
        const std::size_t point = text.find('.');
        if (point != std::string::npos)
            text.resize(std::max(point + 2, text.find_last_not_of('0') + 1));
        dxfString(gc, text);
    }
    void dxfInt(int gc, int value) const override { dxfString(gc, std::to_string(value)); }
    void dxfHex(int gc, int value) const override { dxfString(gc, Format("%X", static_cast<unsigned>(value))); }
    void dxfString(int gc, const char* value) const override { dxfString(gc, std::string(value)); }
    void dxfString(int gc, const std::string& value) const override {
        bytes += gc < 10 ? "  " : gc < 100 ? " " : "";
        bytes += std::to_string(gc);
        bytes += '\n';
        bytes += value;
        bytes += '\n';
    }

    mutable std::string bytes;
};

// The header (GBK labels) and the tables of a drawing: the continuous
// line type, the layers given (name, colour), the STANDARD text style of
// the given height with the Chinese big font.
inline void WriteDxfTables(DL_Dxf& dxf, DL_WriterA& dw, const std::vector<std::pair<std::string, int>>& layers,
                           double textHeight) {
    dxf.writeHeader(dw);
    dw.dxfString(9, "$DWGCODEPAGE");  // Chinese CAD then reads the labels as GBK
    dw.dxfString(3, "ANSI_936");
    dw.sectionEnd();
    dw.sectionTables();
    dw.tableLinetypes(1);
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    dw.tableEnd();
    dw.tableLayers(static_cast<int>(layers.size()));
    for (const auto& [name, colour] : layers)
        dxf.writeLayer(dw, DL_LayerData(name, 0), DL_Attributes("", colour, 100, "CONTINUOUS", 1.0));
    dw.tableEnd();
    dw.tableStyle(1);
    dxf.writeStyle(dw, DL_StyleData("STANDARD", 0, 0.0, 1.0, 0.0, 0, textHeight, "txt", "gbcbig"));
    dw.tableEnd();
    dw.sectionEnd();
}

}  // namespace vexaline
