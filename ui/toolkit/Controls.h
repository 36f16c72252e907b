#pragma once
#include <QPushButton>
#include <QString>

// Controls named by their number, as the tests and the old resource ids know them.
namespace vexaline::platform {

template <typename W>
W* Named(W* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

// A button that never takes Enter from the dialog's fields (not a default button).
inline QPushButton* IdButton(QWidget* owner, const char* label, int id) {
    auto* button = Named(new QPushButton(QString::fromUtf8(label), owner), id);
    button->setAutoDefault(false);
    return button;
}

}  // namespace vexaline::platform
