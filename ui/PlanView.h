#pragma once
#include <QWidget>
#include <functional>
#include <string>

#include "core/plan/ViewTransform.h"

class QLabel;
class CPlanCanvas;

namespace vexaline::plan {
enum class ExportFormat { Png, Svg, Pdf };
// The picture the canvas shows, as the bytes of a file of that format; empty
// when it could not be made.
std::string ExportBytes(const CPlanCanvas& canvas, ExportFormat format);
// The format a path's extension names (.png, .svg, .pdf, any case); the
// file type chosen in the dialog (1-based) when the extension names none.
ExportFormat FormatOf(const std::string& path, int chosenType);
// True when the path ends in .png, .svg or .pdf (any case).
bool HasExtension(const std::string& path);
}  // namespace vexaline::plan

// The plan view window (objectName "2100"): a canvas, 适应窗口 ("2101"),
// 导出... ("2102"), the canvas itself ("2103") and the read-out under the
// cursor ("2104"). Non-modal and resizable, it lives beside the main
// window; the main window feeds it.
class CPlanView : public QWidget {
    Q_OBJECT
public:
    // What the read-out adds after X and Y for a plane point (station and
    // offset), or an empty text.
    using Describer = std::function<QString(vexaline::CPlanePoint)>;

    explicit CPlanView(QWidget* parent = nullptr);

    CPlanCanvas* Canvas() const { return canvas_; }
    void SetDescriber(Describer describer) { describer_ = std::move(describer); }

public slots:
    void OnFit();
    void OnExport();

private:
    void ShowReadout(vexaline::CPlanePoint where);

    CPlanCanvas* canvas_;
    QLabel* readout_;
    Describer describer_;
};
