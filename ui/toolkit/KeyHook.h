#pragma once
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>
#include <functional>

// A key handler put in front of a widget: handle gets each key press and
// each shortcut override the widget would get, and returns true to take it
// (the widget then never sees it). Lives as long as the widget.
namespace vexaline::platform {

class KeyHook : public QObject {
public:
    KeyHook(QWidget* widget, std::function<bool(QKeyEvent*)> handle) : QObject(widget), handle_(std::move(handle)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
        return key && handle_(static_cast<QKeyEvent*>(event));
    }

private:
    std::function<bool(QKeyEvent*)> handle_;
};

// Return or Enter, on the main keys or the keypad, with no other modifier.
inline bool IsEnter(const QKeyEvent* e) {
    return e->type() == QEvent::KeyPress && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
           (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace vexaline::platform
