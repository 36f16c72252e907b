#pragma once
// Answers the modal boxes and file dialogs a handler opens, in order, as a
// user would: each step waits for the next modal widget, records what it
// showed, and presses a button or picks a path.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>

struct SeenModal {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool isFileDialog = false;
};

class ModalScript {
public:
    ModalScript() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    ~ModalScript() { timer_.stop(); }

    // Next message box: press button.
    ModalScript& Box(QMessageBox::StandardButton button) {
        steps_.push_back([button](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) return false;
            QAbstractButton* b = box->button(button);
            if (!b) return false;
            b->click();
            return true;
        });
        return *this;
    }
    // Next file dialog: choose path (and the 1-based file type), then accept.
    ModalScript& File(const QString& path, int type = 1) {
        steps_.push_back([path, type](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (!dialog) return false;
            QStringList filters = dialog->nameFilters();
            if (type >= 1 && type <= filters.size()) dialog->selectNameFilter(filters[type - 1]);
            dialog->selectFile(path);
            dialog->accept();
            return true;
        });
        return *this;
    }
    // Next file dialog: cancel.
    ModalScript& CancelFile() {
        steps_.push_back([](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (!dialog) return false;
            dialog->reject();
            return true;
        });
        return *this;
    }
    // Next modal dialog of any kind: run action on it (it must close it).
    ModalScript& Dialog(std::function<void(QWidget*)> action) {
        steps_.push_back([action](QWidget* w) {
            action(w);
            return true;
        });
        return *this;
    }

    const std::vector<SeenModal>& Seen() const { return seen_; }
    bool Done() const { return steps_.empty(); }

private:
    void Poll() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || w == last_ || steps_.empty()) return;
        SeenModal seen;
        seen.caption = w->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            seen.text = box->text();
            seen.icon = box->icon();
            seen.buttons = box->standardButtons();
        }
        seen.isFileDialog = qobject_cast<QFileDialog*>(w) != nullptr;
        auto step = steps_.front();
        if (!step(w)) return;  // not the widget this step waits for
        steps_.pop_front();
        seen_.push_back(seen);
        last_ = w;
    }

    QTimer timer_;
    std::deque<std::function<bool(QWidget*)>> steps_;
    std::vector<SeenModal> seen_;
    QPointer<QWidget> last_;
};
