#include "DlgFixture.h"
#include "ui/toolkit/FieldExchange.h"

TEST(FieldExchange, ReadsOnlyFiniteNumbersAndGbkTextAndShowsNumbersInFifteenDigits) {
    struct Case { const char* shown; bool ok; double value; } cases[] = {
        {" -3 ", true, -3}, {"+4", true, 4}, {"1e-3", true, 0.001}, {".5", true, 0.5}, {"", false, 0},
        {"12abc", false, 0}, {"1 2", false, 0}, {"nan", false, 0}, {"-infinity", false, 0}, {"1e999", false, 0},
        {"1,5", false, 0}, {"１２", false, 0}};  // full-width digits
    QWidget owner;
    for (const Case& c : cases) {
        QLineEdit first(c.shown), second("7");
        double a = -1, b = -1;
        ModalScript script;
        if (!c.ok) script.Box(QMessageBox::Ok);
        platform::FieldExchange dx(&owner, true);
        dx.Double(&first, a), dx.Double(&second, b);
        EXPECT_EQ(dx.Ok(), c.ok) << c.shown;
        EXPECT_FALSE(dx.TextRefused());  // a bad number lets the handler go on
        EXPECT_EQ(a, c.ok ? c.value : -1) << c.shown;
        EXPECT_EQ(b, c.ok ? 7 : -1) << c.shown;  // the read stops at a bad field
        EXPECT_EQ(script.Seen().empty() ? QString() : script.Seen()[0].text, c.ok ? QString() : Q(text::kEnterNumber));
    }
    for (auto [value, shown] : {std::pair{50.0, "50"}, {1234567.891, "1234567.891"}, {1e20, "1e+20"},
                                {3825.1234567890123, "3825.12345678901"}}) {
        QLineEdit edit;
        platform::FieldExchange(&owner, false).Double(&edit, value);
        EXPECT_EQ(edit.text(), shown);
    }
    // Text that GBK cannot hold is refused.
    QLineEdit edit(Q("直线😀"));
    std::string member = "old";
    ModalScript script;
    script.Box(QMessageBox::Ok);
    platform::FieldExchange dx(&owner, true);
    dx.Text(&edit, member);
    EXPECT_TRUE(dx.TextRefused());
    EXPECT_EQ(member, "old");
    EXPECT_EQ(script.Seen().at(0).text, Q(text::kNotGbk));
    edit.setText(Q("直线"));
    platform::FieldExchange(&owner, true).Text(&edit, member);
    EXPECT_EQ(member, Gbk("直线"));
}

TEST(GbkList, ShowsDecodedTextKeepsTheBytesAndRaisesSelectionOnlyForTheUser) {
    platform::GbkListView view;
    platform::GbkLineModel* model = view.LineModel();
    int raised = 0;
    QObject::connect(&view, &platform::GbkListView::SelectionChanged, [&] { ++raised; });
    model->AppendAll({Gbk("里程"), "a\xFF" "b", "c"});
    EXPECT_EQ(model->index(0, 0).data().toString(), Q("里程"));
    EXPECT_EQ(model->index(1, 0).data().toString(), Q("a\xEF\xBF\xBD" "b"));
    EXPECT_EQ(model->Line(1), "a\xFF" "b");
    view.Select(1);
    model->Remove(1);
    EXPECT_EQ(view.Selection(), -1);  // not moved on to a neighbour
    view.Select(1);
    model->Insert(0, "d");
    EXPECT_EQ(view.Selection(), 2);  // the selected line keeps its selection
    EXPECT_EQ(raised, 0);
    view.setCurrentIndex(model->index(0, 0));  // as a click does
    EXPECT_EQ(raised, 1);
}
