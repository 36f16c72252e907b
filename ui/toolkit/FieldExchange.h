#pragma once
#include <string>
class QComboBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace vexaline::platform { class GbkListView; }

// Data exchange between a dialog's members and its controls, in the order
// the dialog calls it. A read that meets a bad field (not a number, or text
// GBK cannot hold) tells the user, puts the focus there and stops: that
// member and every later one keep their values. Both the request for a
// number and a refused text are the program's own boxes.
namespace vexaline::platform {

class FieldExchange {
public:
    FieldExchange(QWidget* owner, bool read) : owner_(owner), read_(read) {}
    bool Ok() const { return ok_; }
    // The read stopped at a text that cannot be stored (not GBK, too long).
    // A number that does not parse is not counted here: the handler that
    // asked for the read goes on with the members as they stand.
    bool TextRefused() const { return textRefused_; }

    // Text members hold GBK bytes. maxBytes > 0 refuses a longer text (in GBK
    // bytes) on a read.
    void Text(QLineEdit* edit, std::string& member, int maxBytes = 0);
    // Integers shown in decimal; doubles in printf's %.15g. A read refuses
    // anything but a finite number with blanks around it.
    void Integer(QLineEdit* edit, int& member);
    void Double(QLineEdit* edit, double& member);
    // Combo box: reads the shown text; writes by selecting the first entry that
    // begins with the member, or (editable) showing the member itself. An
    // empty member leaves an editable box empty and a drop-down list on its
    // first entry.
    void Combo(QComboBox* combo, std::string& member);
    // List: reads the selected line (empty when none); writes by selecting the
    // first line that begins with the member (the selected line when it does;
    // no line for an empty member). The list's SelectionChanged stays quiet.
    void ListSelection(GbkListView* list, std::string& member);
    // Radio group: index of the checked button.
    void Radio(QRadioButton* const* buttons, int count, int& member);

private:
    bool Fail(QWidget* field, const char* message);

    QWidget* owner_;
    bool read_;
    bool ok_ = true;
    bool textRefused_ = false;
};

}  // namespace vexaline::platform
