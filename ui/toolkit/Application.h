#pragma once

// What the program sets up once its QApplication exists, before its first
// window: Chinese glyphs in their Simplified forms whatever the locale says,
// Qt's own file and print dialogs in Chinese (Qt's translation qtbase_zh_CN;
// English where it is not installed), the names its settings are kept under,
// and every window kept on its screen. The dialog tests set up the same.
namespace vexaline::platform {

void PrepareApplication();

}  // namespace vexaline::platform
