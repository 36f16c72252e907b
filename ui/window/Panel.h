#pragma once
#include <QString>
#include <functional>

#include "ui/toolkit/Controls.h"

class QLineEdit;
class QPushButton;
class QWidget;
class RoadDocument;
namespace vexaline {
class Alignment;
}

// What the main window's panels share, and the few ways they make their fields.

// While a handler waits on one of its boxes, no other handler of the window may start.
class Busy {
public:
    explicit Busy(bool& flag) : flag_(flag), entered_(!flag) { flag_ = true; }
    ~Busy() {
        if (entered_) flag_ = false;
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
    explicit operator bool() const { return entered_; }

private:
    bool& flag_;
    bool entered_;
};

// The open road, the window's one busy flag, and the exchange of every field
// of the window in its order (members to controls, or back with read; see
// CAlignmentDlg::UpdateData).
struct PanelShared {
    RoadDocument& document;
    bool& busy;
    std::function<bool(bool read, bool* allRead)> updateData;
};

namespace panel {

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }
using vexaline::platform::Named;
QLineEdit* Edit(int id, bool readOnly = false);
// A read-only count without a border, on the window's background.
QLineEdit* CountField(int id);
QPushButton* Button(const char* label, int id);

// The longest texts the fields are made to show whole: a station or another
// length, an 8-digit easting to the millimetre, an offset as the lookup words it.
constexpr const char* kStationSample = "123456.789";
constexpr const char* kCoordinateSample = "38500000.000";
constexpr const char* kOffsetSample = "右12345.678米";
// At least as wide as the sample: its text, the 2 px a line edit keeps either
// side of it and its cursor, in the style's frame.
QLineEdit* Holding(QLineEdit* edit, const char* sample);

// A road whose station equations do not fit its rows is refused, told; true when it fits.
bool ChainFits(QWidget* owner, const vexaline::Alignment& road);
// Enter in each field runs command; no button takes it from the fields.
void OnEnter(std::initializer_list<QWidget*> fields, std::function<void()> command);

}  // namespace panel
