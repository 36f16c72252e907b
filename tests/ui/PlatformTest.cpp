#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>

#include "ModalScript.h"
#include "geometry/Gbk.h"
#include "geometry/Texts.h"
#include "platform/FieldExchange.h"
#include "platform/FileDialog.h"
#include "platform/GbkList.h"

using namespace vexaline;

namespace {

TEST(FieldExchange, DoublesReadOnlyWhatIsAFiniteNumber) {
    struct Case {
        const char* shown;
        bool ok;
        double value;
    } cases[] = {
        {"12.5", true, 12.5},   {" -3 ", true, -3},     {"+4", true, 4},     {"1e-3", true, 0.001},
        {".5", true, 0.5},      {"", false, 0},         {"   ", false, 0},   {"abc", false, 0},
        {"12abc", false, 0},    {"1 2", false, 0},      {"nan", false, 0},   {"inf", false, 0},
        {"-infinity", false, 0}, {"1e999", false, 0},   {"1,5", false, 0},   {"++1", false, 0},
        {"１２", false, 0},  // full-width digits
    };
    QWidget owner;
    for (const Case& c : cases) {
        QLineEdit first, second;
        first.setText(QString::fromUtf8(c.shown));
        second.setText("7");
        double a = -1, b = -1;
        ModalScript script;
        if (!c.ok) script.Box(QMessageBox::Ok);
        platform::FieldExchange dx(&owner, true);
        dx.Double(&first, a);
        dx.Double(&second, b);
        EXPECT_TRUE(script.Done()) << c.shown;
        EXPECT_EQ(dx.Ok(), c.ok) << c.shown;
        EXPECT_FALSE(dx.TextRefused());
        EXPECT_EQ(a, c.ok ? c.value : -1) << c.shown;
        EXPECT_EQ(b, c.ok ? 7 : -1) << c.shown;  // the read stops at a bad field
        if (!c.ok) {
            EXPECT_EQ(script.Seen()[0].text, QString::fromUtf8(text::kEnterNumber));
        }
    }
}

TEST(FieldExchange, DoublesAreShownInTheShortestFifteenDigitForm) {
    struct Case {
        double value;
        const char* shown;
    } cases[] = {{50, "50"}, {0, "0"}, {1234567.891, "1234567.891"}, {1e20, "1e+20"},
                 {3825.1234567890123, "3825.12345678901"}};
    QWidget owner;
    for (const Case& c : cases) {
        QLineEdit edit;
        double v = c.value;
        platform::FieldExchange(&owner, false).Double(&edit, v);
        EXPECT_EQ(edit.text().toStdString(), c.shown);
    }
}

TEST(FieldExchange, TextThatGbkCannotHoldIsRefused) {
    QWidget owner;
    QLineEdit edit;
    edit.setText(QString::fromUtf8("直线😀"));
    std::string member = "old";
    ModalScript script;
    script.Box(QMessageBox::Ok);
    platform::FieldExchange dx(&owner, true);
    dx.Text(&edit, member);
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(dx.TextRefused());
    EXPECT_EQ(member, "old");
    EXPECT_EQ(script.Seen()[0].text, QString::fromUtf8(text::kNotGbk));

    edit.setText(QString::fromUtf8("直线"));
    platform::FieldExchange ok(&owner, true);
    ok.Text(&edit, member);
    EXPECT_EQ(member, Gbk("直线"));
}

TEST(FileDialog, FilterStringsBecomeOneNameFilterPerFileType) {
    EXPECT_EQ(platform::NameFilters(text::kAlignmentFilter), QStringList{QString::fromUtf8("平面定线文件 (*.vxa)")});
    EXPECT_EQ(platform::NameFilters(text::kPointFilter), QStringList{QString::fromUtf8("导线点文件(*.vxp)")});
    EXPECT_EQ(platform::NameFilters(text::kResultsFilter),
              (QStringList{QString::fromUtf8("普通格式 (*.txt)"), QString::fromUtf8("CAD 格式 (*.txt)")}));
    EXPECT_EQ(platform::NameFilters("Text|*.txt;*.csv||"), QStringList{"Text (*.txt;*.csv)"});
}

TEST(GbkList, ShowsDecodedTextAndRaisesSelectionOnlyForTheUser) {
    platform::GbkListView view;
    platform::GbkListModel* model = view.Model();
    int raised = 0;
    QObject::connect(&view, &platform::GbkListView::SelectionChanged, [&] { ++raised; });
    model->AppendAll({Gbk("里程"), std::string("a\xFF" "b"), "c"});
    EXPECT_EQ(model->data(model->index(0, 0), Qt::DisplayRole).toString(), QString::fromUtf8("里程"));
    EXPECT_EQ(model->data(model->index(1, 0), Qt::DisplayRole).toString(), QString::fromUtf8("a\xEF\xBF\xBD" "b"));
    EXPECT_EQ(model->Line(1), std::string("a\xFF" "b"));

    view.Select(1);
    model->Remove(1);
    EXPECT_EQ(view.Selection(), -1);  // not moved on to a neighbour
    view.Select(1);
    model->Insert(0, "d");
    EXPECT_EQ(view.Selection(), 2);  // the selected line keeps its selection
    model->Truncate(1);
    EXPECT_EQ(raised, 0);
    view.setCurrentIndex(model->index(0, 0));  // as a click does
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(view.Selection(), 0);
}

}  // namespace
