#pragma once
// Mouse and wheel events sent straight to a widget, as a person would make
// them: the offscreen platform has no real pointer.
#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

inline void SendWheel(QWidget* w, QPointF at, int delta) {
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

inline void SendMouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons held) {
    QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Press, move in two steps, release.
inline void SendDrag(QWidget* w, QPointF from, QPointF to) {
    SendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton);
    SendMouse(w, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    SendMouse(w, QEvent::MouseMove, to, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, to, Qt::NoButton);
}
