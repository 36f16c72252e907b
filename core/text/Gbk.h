#pragma once
#include <string>

// Lines and files hold GBK bytes; the screen and the source hold UTF-8.
namespace vexaline {

// UTF-8 to GBK. False when a character has no GBK form (or the input is
// not UTF-8); gbk is then left empty.
bool Utf8ToGbk(const std::string& utf8, std::string& gbk);

// UTF-8 to GBK for a name that is only shown or printed as a caption: a
// character GBK cannot hold becomes "?", so the rest still reads.
std::string Utf8ToGbkLossy(const std::string& utf8);

// A fixed text of the program (Texts.h) in GBK. Every fixed text has one.
std::string Gbk(const char* utf8);

// GBK to UTF-8 for display. A byte that does not start a valid GBK
// character becomes U+FFFD, so every byte of a line stays visible.
std::string GbkToUtf8(const std::string& gbk);

// GB18030 (which holds GBK and GB2312) to UTF-8, by the same rule.
std::string Gb18030ToUtf8(const std::string& bytes);

// The text with every byte that does not begin a well-formed UTF-8
// character replaced by U+FFFD: what may be printed or shown as UTF-8.
std::string ValidUtf8(const std::string& text);

// Well-formed UTF-8: no stray or missing continuation byte, no overlong
// form, no surrogate, nothing above U+10FFFF.
bool IsUtf8(const std::string& text);

}  // namespace vexaline
