#pragma once
class QWidget;

// The message boxes of the program. Texts are UTF-8 (Texts.h or made from
// it); every box is modal and returns only when it has been answered.
namespace vexaline::platform {

// Caption "温馨提示!" (or the given one), exclamation icon, OK.
void Warn(QWidget* owner, const char* text);
void Warn(QWidget* owner, const char* text, const char* caption);

// Caption "温馨提示!", exclamation icon, Yes/No. True on Yes.
bool AskYesNo(QWidget* owner, const char* text);

// Exclamation icon, OK/Cancel, the given caption. True on OK.
bool AskOkCancel(QWidget* owner, const char* text, const char* caption);

// No icon, OK only, the given caption.
void Notify(QWidget* owner, const char* text, const char* caption);

}  // namespace vexaline::platform
