#pragma once
// Answers the modal boxes and file dialogs a handler opens, in order, as a
// user would: each step waits for the next modal widget, records what it
// showed, and presses a button or picks a path.
#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

struct SeenModal {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool isFileDialog = false;
    bool unexpected = false;  // no step took it: the script closed it
};

class ModalScript {
public:
    // Only the newest live script answers: one made earlier in a test and
    // still in scope keeps quiet until the newer one is gone.
    ModalScript() : outer_(Newest()) {
        Newest() = this;
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    ~ModalScript() {
        timer_.stop();
        if (Newest() == this) Newest() = outer_;
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

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
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own accept is protected
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
    // Every step ran and no box or file dialog came that the script did not expect.
    bool Done() const { return steps_.empty() && unexpected_ == 0; }
    int Unexpected() const { return unexpected_; }

private:
    static ModalScript*& Newest() {
        static ModalScript* newest = nullptr;
        return newest;
    }

    void Poll() {
        if (Newest() != this) return;
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || w == last_) return;
        SeenModal seen;
        seen.caption = w->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            seen.text = box->text();
            seen.icon = box->icon();
            seen.buttons = box->standardButtons();
        }
        seen.isFileDialog = qobject_cast<QFileDialog*>(w) != nullptr;
        if (w != waiting_) {
            waiting_ = w;
            waitingPolls_ = 0;
        }
        if (!steps_.empty()) {
            auto step = steps_.front();
            if (step(w)) {
                steps_.pop_front();
                seen_.push_back(seen);
                last_ = w;
                return;
            }
        }
        // A box or file dialog that no step takes would block the test for
        // ever: close it (at once when the script has run out, otherwise after
        // a second) and note it.
        if (!(qobject_cast<QMessageBox*>(w) || seen.isFileDialog)) return;
        if (!steps_.empty() && ++waitingPolls_ < 200) return;
        seen.unexpected = true;
        seen_.push_back(seen);
        ++unexpected_;
        last_ = w;
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            QAbstractButton* answer = box->buttons().isEmpty() ? nullptr : box->buttons().front();
            for (QAbstractButton* b : box->buttons()) {
                QMessageBox::ButtonRole role = box->buttonRole(b);
                if (role == QMessageBox::RejectRole || role == QMessageBox::NoRole) answer = b;
            }
            if (answer) answer->click();
            else box->reject();
        } else {
            static_cast<QDialog*>(w)->reject();
        }
    }

    ModalScript* outer_;
    QTimer timer_;
    std::deque<std::function<bool(QWidget*)>> steps_;
    std::vector<SeenModal> seen_;
    QPointer<QWidget> last_;
    QPointer<QWidget> waiting_;
    int waitingPolls_ = 0;
    int unexpected_ = 0;
};
