#pragma once
// What the dialog tests share: a folder of their own, the main window shown,
// controls found by identifier and clicked while a script answers the modals.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <filesystem>
#include <functional>
#include <fstream>
#include <unistd.h>

#include "ModalScript.h"
#include "ui/window/AlignmentDlg.h"
#include "ui/window/ControlPanel.h"
#include "ui/window/ResultsPanel.h"
#include "core/files/AlignmentFile.h"
#include "core/text/ControlLine.h"
#include "core/text/Gbk.h"
#include "core/files/TextFile.h"
#include "core/text/Texts.h"
#include "ui/toolkit/GbkList.h"

namespace fs = std::filesystem;
using namespace vexaline;

inline QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
// With VEXALINE_SCREENSHOTS set to a folder, the widget as shown is saved there
// under name: the README's pictures (scripts/screenshots.sh).
inline void Shot(QWidget* w, const char* name) {
    const QString dir = qEnvironmentVariable("VEXALINE_SCREENSHOTS");
    if (!dir.isEmpty()) QApplication::processEvents(), w->grab().save(dir + "/" + name);
}
inline std::vector<std::string> GbkLines(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* line : utf8) out.push_back(Gbk(line));
    return out;
}

struct Row { const char *station, *type, *radius, *x, *y; };
inline std::vector<std::string> LinesOf(std::initializer_list<Row> rows) {
    std::vector<std::string> out;
    for (const Row& r : rows) {
        ControlRow row;
        const char* utf8[kControlFieldCount] = {r.station, r.type, r.radius, r.x, r.y};
        for (int i = 0; i < kControlFieldCount; ++i) row.strField[i] = Gbk(utf8[i]);
        out.push_back(BuildControlLine(row));
    }
    return out;
}

class DlgTest : public testing::Test {
protected:
    void SetUp() override { fs::remove_all(dir_), fs::create_directories(dir_), dlg_.show(); }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored), fs::remove_all(dir_, ignored);
    }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
    QString QPath(const std::string& name) const { return Q(PathOf(name)); }
    void WriteBytes(const std::string& name, const std::string& bytes) { std::ofstream(PathOf(name)) << bytes; }
    std::string ReadBytes(const std::string& name) const {
        std::string bytes;
        EXPECT_EQ(ReadWholeFile(PathOf(name), bytes), ReadStatus::Ok) << name;
        return bytes;
    }
    void Open(const std::string& name) { Click(1, ModalScript().File(QPath(name))); }
    void WriteRows(const std::string& name, std::initializer_list<Row> rows) {
        std::string bytes = NewAlignmentFile(TimeStampNow());
        for (const std::string& line : LinesOf(rows)) bytes += line + "\r\n";
        WriteBytes(name, bytes);
    }
    void OpenRows(std::initializer_list<Row> rows) { WriteRows("road.vxa", rows), Open("road.vxa"); }
    // Files of examples/ copied into the folder.
    void CopyExamples(std::initializer_list<const char*> names) {
        for (const char* name : names) fs::copy_file(fs::path(VEXALINE_SOURCE_DIR) / "examples" / name, dir_ / name);
    }
    // The sample road with row 9's radius typed without its sign, opened as faulty.vxa.
    void OpenFaulty() {
        std::string bytes;
        ASSERT_EQ(ReadWholeFile(std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxa", bytes), ReadStatus::Ok);
        const std::string from = "-250        3805503.911";
        WriteBytes("faulty.vxa", bytes.replace(bytes.find(from), from.size(), "250         3805503.911"));
        Open("faulty.vxa");
    }

    template <typename T = QWidget>
    T* Get(int id, QWidget* in = nullptr) { return (in ? in : &dlg_)->findChild<T*>(QString::number(id)); }
    QLineEdit* Edit(int id, QWidget* in = nullptr) { return Get<QLineEdit>(id, in); }
    void Set(std::initializer_list<std::pair<int, const char*>> fields, QWidget* in = nullptr) {
        for (auto [id, text] : fields) Edit(id, in)->setText(text);
    }
    // Clicks the control while script answers what it opens: every step must
    // be taken and nothing unexpected come.
    std::vector<SeenModal> Click(int id, const ModalScript& script = ModalScript(), QWidget* in = nullptr) {
        Get<QAbstractButton>(id, in)->click();
        EXPECT_TRUE(script.Done()) << "control " << id << script.Describe();
        return script.Seen();
    }
    // Clicks the control that opens a tool dialog of type T named name; inside
    // gets the dialog, which is closed afterwards if still open.
    template <typename T>
    void RunTool(int id, const char* name, const std::function<void(T*)>& inside) {
        Click(id, ModalScript().Dialog([&](QWidget* w) {
            auto* tool = qobject_cast<T*>(w);
            ASSERT_TRUE(tool && tool->objectName() == name);
            inside(tool);
            if (tool->isVisible()) tool->reject();
        }));
    }
    // The texts of the boxes a click brought, one a line, each to be one of the program's warnings.
    QString Warnings(int id) {
        ModalScript script;
        for (int i = 0; i < 4; ++i) script.Box(QMessageBox::Ok);  // more than any command shows
        Get<QAbstractButton>(id)->click();
        QStringList texts;
        for (const SeenModal& s : script.Seen()) {
            const bool warning = s.caption == Q(text::kTipCaption) && s.icon == QMessageBox::Warning;
            texts << (warning ? "" : "not a warning: ") + s.text;
        }
        return texts.join('\n');
    }
    std::vector<std::string> Records() {
        const auto& lines = dlg_.Control()->m_listControl->LineModel()->Lines();
        return {lines.begin() + 1, lines.end()};
    }
    // The results list as it shows its lines.
    std::vector<std::string> Results() {
        const platform::GbkListModel* model = dlg_.ResultsPart()->m_listResults->Model();
        std::vector<std::string> lines;
        for (int i = 0; i < model->Count(); ++i) lines.push_back(model->Line(i));
        return lines;
    }

    fs::path dir_ = fs::temp_directory_path() / ("vexaline-ui-" + std::to_string(::getpid()));
    CAlignmentDlg dlg_;
};
