#include "ui/toolkit/MessageBox.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "core/text/Texts.h"

namespace vexaline::platform {
namespace {

// Every box carries the one caption, whatever it says, but the element check's.
QMessageBox::StandardButton Show(QWidget* owner, const char* text, QMessageBox::Icon icon,
                                 QMessageBox::StandardButtons buttons, const char* caption = text::kTipCaption) {
    QMessageBox box(icon, QString::fromUtf8(caption), QString::fromUtf8(text), buttons, owner);
    // The buttons speak the language of the rest of the window.
    const struct {
        QMessageBox::StandardButton button;
        const char* label;
    } labels[] = {{QMessageBox::Ok, text::kButtonOk},
                  {QMessageBox::Cancel, text::kButtonCancel},
                  {QMessageBox::Yes, text::kButtonYes},
                  {QMessageBox::No, text::kButtonNo}};
    for (const auto& l : labels)
        if (QAbstractButton* b = box.button(l.button)) b->setText(QString::fromUtf8(l.label));
    box.setTextFormat(Qt::PlainText);
    // Closing the box with its title bar or Escape counts as the negative answer.
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void Warn(QWidget* owner, const char* text) { Show(owner, text, QMessageBox::Warning, QMessageBox::Ok); }

bool AskYesNo(QWidget* owner, const char* text) {
    return Show(owner, text, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool AskOkCancel(QWidget* owner, const char* text) {
    return Show(owner, text, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

void Notify(QWidget* owner, const char* text) {
    Show(owner, text, QMessageBox::NoIcon, QMessageBox::Ok);
}

void NotifyElementCheck(QWidget* owner, const char* text) {
    Show(owner, text, QMessageBox::NoIcon, QMessageBox::Ok, text::kElementCheckCaption);
}

}  // namespace vexaline::platform
