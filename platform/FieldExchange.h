#pragma once
#include <QString>
#include <string>
class QComboBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace vexaline::platform { class GbkListView; }

// Data exchange between a dialog's members and its controls, in the order
// the dialog calls it. A read that meets a bad field (not a number, or text
// GBK cannot hold) tells the user, puts the focus there and stops: that
// member and every later one keep their values.
namespace vexaline::platform {

class FieldExchange {
public:
    FieldExchange(QWidget* owner, bool read) : owner_(owner), read_(read) {}
    bool Reading() const { return read_; }
    bool Ok() const { return ok_; }

    // Text members hold GBK bytes. maxBytes > 0 limits the text (in GBK bytes).
    void Text(QLineEdit* edit, std::string& member, int maxBytes = 0);
    // Integers shown in decimal; doubles in printf's %.15g.
    void Integer(QLineEdit* edit, int& member);
    void Double(QLineEdit* edit, double& member);
    // Combo box: reads the shown text; writes by selecting the first entry that
    // begins with the member, or (editable) showing the member itself.
    void Combo(QComboBox* combo, std::string& member);
    // List: reads the selected line (empty when none); writes by selecting the
    // first line that begins with the member.
    void ListSelection(GbkListView* list, std::string& member);
    // Radio group: index of the checked button.
    void Radio(QRadioButton* const* buttons, int count, int& member);

private:
    bool Fail(QWidget* field, const char* message);

    QWidget* owner_;
    bool read_;
    bool ok_ = true;
};

// GBK text of what a widget shows; false (with a message to the user) when a
// character cannot be held in GBK.
bool ReadGbk(QWidget* owner, const QString& shown, std::string& gbk);

}  // namespace vexaline::platform
