#pragma once
#include <QSize>
class QWidget;

// Windows kept on the screen they open on, whatever its size: a laptop at
// 1024×700, a desktop at twice the scale.
namespace vexaline::platform {

// Shrinks the window where it must (never below its minimum size) and moves
// it the least distance that brings its frame inside the available area of
// its screen. The frame is the window's own when the window system has told
// it, else that of the window it belongs to, else none.
void KeepOnScreen(QWidget* window);

// True when a window of this size, in its frame, fits the available area of
// the screen window is on.
bool FitsOnScreen(const QWidget* window, QSize size);

// Puts the window beside anchor's frame: on the right where it fits, else on
// the left, else as near the right edge as the screen allows; then keeps it
// on screen.
void PlaceBeside(QWidget* window, const QWidget* anchor);

// From now on every top-level window is kept on screen as it is shown: the
// program's own, message boxes, file and print dialogs alike.
void KeepWindowsOnScreen();

}  // namespace vexaline::platform
