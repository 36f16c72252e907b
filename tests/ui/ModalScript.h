#pragma once
// Answers the modals a handler opens, in order, as a user would, and records
// what each showed. A modal that no step takes is closed and counted, so the
// test fails instead of hanging. Only the newest live script answers, and
// only modals opened after it began.
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>

struct SeenModal {  // unexpected: no step took it
    QString caption, text;
    QMessageBox::Icon icon;
    bool isFileDialog, unexpected;
};

class ModalScript {
public:
    ModalScript() : outer_(Newest()), before_(QApplication::activeModalWidget()) {
        Newest() = this;
        // A timer does not fire while its own step runs: the other one still
        // polls, so a modal opened inside a step is closed rather than hanging.
        for (QTimer* timer : {&timer_, &spare_}) QObject::connect(timer, &QTimer::timeout, [this] { Poll(); });
        timer_.start(5), spare_.start(5);
    }
    ~ModalScript() { Newest() = Newest() == this ? outer_ : Newest(); }

    ModalScript& Box(QMessageBox::StandardButton button) {
        return Step([button](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            return box && box->button(button) && (box->button(button)->click(), true);
        });
    }
    // A file dialog: pick path and the 1-based file type; a null path cancels.
    ModalScript& File(const QString& path, int type = 1) {
        return Step([path, type](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (!dialog || path.isNull()) return dialog && (dialog->reject(), true);
            dialog->selectNameFilter(dialog->nameFilters().value(type - 1));
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own accept is protected
            return true;
        });
    }
    ModalScript& CancelFile() { return File(QString()); }
    // Any modal: action must close it.
    ModalScript& Dialog(std::function<void(QWidget*)> action) {
        return Step([action](QWidget* w) { return action(w), true; });
    }
    const std::vector<SeenModal>& Seen() const { return seen_; }
    bool Done() const { return steps_.empty() && unexpected_ == 0; }
    std::string Describe() const {  // for a failure message
        std::string out;
        for (const SeenModal& s : seen_)
            out += (s.unexpected ? "\n  unexpected: " : "\n  ") + (s.caption + ": " + s.text).toStdString();
        return out;
    }
private:
    static ModalScript*& Newest() { static ModalScript* newest = nullptr; return newest; }
    ModalScript& Step(std::function<bool(QWidget*)> step) { return steps_.push_back(std::move(step)), *this; }

    void Poll() {
        QWidget* w = QApplication::activeModalWidget();
        if (Newest() != this || !w || !w->isVisible() || w == last_ || w == before_) return;
        last_ = w;
        auto* box = qobject_cast<QMessageBox*>(w);
        seen_.push_back({w->windowTitle(), box ? box->text() : QString(), box ? box->icon() : QMessageBox::NoIcon,
                         qobject_cast<QFileDialog*>(w) != nullptr, false});
        const std::size_t at = seen_.size() - 1;  // the step may bring nested modals
        if (!steps_.empty()) {
            auto step = std::move(steps_.front());
            steps_.pop_front();
            if (step(w)) return;
        }
        seen_[at].unexpected = true;
        ++unexpected_;
        if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->reject();
    }

    ModalScript* outer_;
    QTimer timer_, spare_;
    std::deque<std::function<bool(QWidget*)>> steps_;
    std::vector<SeenModal> seen_;
    QPointer<QWidget> before_, last_;  // up when the script began; the last one taken
    int unexpected_ = 0;
};
