#include "ui/window/Panel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>

#include "core/road/Alignment.h"
#include "ui/toolkit/KeyHook.h"
#include "ui/toolkit/MessageBox.h"

namespace panel {

QLineEdit* Edit(int id, bool readOnly) {
    auto* edit = Named(new QLineEdit, id);
    edit->setReadOnly(readOnly);
    return edit;
}

QLineEdit* CountField(int id) {
    QLineEdit* edit = Edit(id, true);
    edit->setFrame(false);
    edit->setFocusPolicy(Qt::NoFocus);
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    edit->setPalette(p);
    edit->setMaximumWidth(80);
    return edit;
}

QPushButton* Button(const char* label, int id) { return Named(new QPushButton(U(label)), id); }

QLineEdit* Holding(QLineEdit* edit, const char* sample) {
    QStyleOptionFrame frame;
    frame.initFrom(edit);
    frame.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, edit);
    const QSize text(edit->fontMetrics().horizontalAdvance(U(sample)) + 2 * 2 + 1, edit->fontMetrics().height());
    edit->setMinimumWidth(edit->style()->sizeFromContents(QStyle::CT_LineEdit, &frame, text, edit).width());
    return edit;
}

bool ChainFits(QWidget* owner, const vexaline::Alignment& road) {
    if (road.ChainMessage().empty()) return true;
    vexaline::platform::Warn(owner, road.ChainMessage().c_str());
    return false;
}

void OnEnter(std::initializer_list<QWidget*> fields, std::function<void()> command) {
    for (QWidget* field : fields)
        new vexaline::platform::KeyHook(field, [command](QKeyEvent* e) {
            return vexaline::platform::IsEnter(e) && (command(), true);
        });
}

}  // namespace panel
