#pragma once
#include <QWidget>
#include <functional>
#include <string>

#include "core/plan/Paper.h"
#include "core/plan/ViewTransform.h"
#include "ui/plan/PlanExport.h"

class QLabel;
class CPlanCanvas;

// The plan view window (objectName "2100"): a canvas, 适应窗口 ("2101"),
// 导出... ("2102"), the canvas itself ("2103") and the read-out under the
// cursor ("2104"). Non-modal and resizable, it lives beside the main
// window; the main window feeds it. 导出 asks for the file, then for the
// paper (CPaperDlg), which it keeps for the next time.
class CPlanView : public QWidget {
    Q_OBJECT
public:
    // What the read-out adds after X and Y for a plane point (station and
    // offset), or an empty text.
    using Describer = std::function<QString(vexaline::CPlanePoint)>;

    explicit CPlanView(QWidget* parent = nullptr);

    CPlanCanvas* Canvas() const { return canvas_; }
    void SetDescriber(Describer describer) { describer_ = std::move(describer); }
    // The road file the title block of an export names.
    void SetRoadFile(const QString& name) { roadFile_ = name; }

public slots:
    void OnFit();
    void OnExport();

private:
    void ShowReadout(vexaline::CPlanePoint where);

    CPlanCanvas* canvas_;
    QLabel* readout_;
    Describer describer_;
    QString roadFile_;
    vexaline::Paper paper_;
};
