#include "ui/toolkit/Screen.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

// A top-level widget's pos() and move() are its frame's corner; its size is
// without the frame.
namespace vexaline::platform {
namespace {

// Before a window system has framed a window it reports no frame: the
// owner's stands in for it.
QMargins FrameOf(const QWidget* window) {
    for (const QWidget* w = window; w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        const QWindow* handle = w->windowHandle();
        const QMargins frame = handle ? handle->frameMargins() : QMargins();
        if (!frame.isNull()) return frame;
    }
    return {};
}

QRect AvailableArea(const QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen->availableGeometry();
}

// The start of [from, from + length) moved into [low, high) as far as it fits;
// what does not fit overhangs at the high end.
int Clamp(int from, int length, int low, int high) { return std::max(low, std::min(from, high - length)); }

class ShowFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && object->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(object);
            const Qt::WindowType type = widget->windowType();
            if (widget->isWindow() && type != Qt::Popup && type != Qt::ToolTip) KeepOnScreen(widget);
        }
        return false;
    }
};

}  // namespace

void KeepOnScreen(QWidget* window) {
    const QRect area = AvailableArea(window);
    const QMargins frame = FrameOf(window);
    const QSize room = area.size().shrunkBy(frame);
    const QSize least = window->minimumSize().expandedTo(window->minimumSizeHint());
    const QSize size = window->size().boundedTo(room).expandedTo(least);
    if (size != window->size()) window->resize(size);
    // pos(), not x() and y(): while a window is being shown they disagree,
    // and only pos() is where move() put its frame.
    const QSize framed = size.grownBy(frame);
    const QPoint corner = window->pos();
    const QPoint at(Clamp(corner.x(), framed.width(), area.left(), area.right() + 1),
                    Clamp(corner.y(), framed.height(), area.top(), area.bottom() + 1));
    if (at != corner) window->move(at);
}

bool FitsOnScreen(const QWidget* window, QSize size) {
    const QSize room = AvailableArea(window).size().shrunkBy(FrameOf(window));
    return size.width() <= room.width() && size.height() <= room.height();
}

void PlaceBeside(QWidget* window, const QWidget* anchor) {
    const QRect area = AvailableArea(anchor);
    const QRect beside = anchor->frameGeometry();
    const int width = window->size().grownBy(FrameOf(window)).width();
    int x = beside.right() + 1;
    if (x + width > area.right() + 1) x = beside.left() - width >= area.left() ? beside.left() - width : area.right() + 1 - width;
    window->move(x, beside.top());
    KeepOnScreen(window);
}

void KeepWindowsOnScreen() {
    static QObject* filter = nullptr;
    if (!filter) qApp->installEventFilter(filter = new ShowFilter(qApp));
}

}  // namespace vexaline::platform
