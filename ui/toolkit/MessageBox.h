#pragma once
class QWidget;

// The message boxes of the program. Texts are UTF-8 (Texts.h or made from
// it); every box is modal and returns only when it has been answered.
namespace vexaline::platform {

// Every box is captioned "温馨提示!", whatever it says, but the element
// check's (NotifyElementCheck).
// Exclamation icon, OK.
void Warn(QWidget* owner, const char* text);

// Exclamation icon, Yes/No. True on Yes.
bool AskYesNo(QWidget* owner, const char* text);

// Exclamation icon, OK/Cancel. True on OK.
bool AskOkCancel(QWidget* owner, const char* text);

// No icon, OK only: a notice rather than a warning.
void Notify(QWidget* owner, const char* text);

// The element check's box: as Notify, captioned "温馨提示！" (full-width).
void NotifyElementCheck(QWidget* owner, const char* text);

}  // namespace vexaline::platform
