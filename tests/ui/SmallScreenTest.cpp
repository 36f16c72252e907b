// The windows on a 1024×700 screen. These run where the screen is that size
// (tests/CMakeLists.txt runs them on such an offscreen screen, once at scale 1
// and once at QT_SCALE_FACTOR=2; scripts/screenshots.sh on Xvfb) and skip elsewhere.
#include "DlgFixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QToolButton>

namespace {

// The width the style leaves a widget's text, and the text it shows there;
// 0 where the widget shows no text of its own.
struct TextRoom { QString text; int room = 0; };

TextRoom RoomOf(QWidget* w) {
    QStyle* style = w->style();
    if (auto* label = qobject_cast<QLabel*>(w)) return {label->wordWrap() ? QString() : label->text(), label->contentsRect().width()};
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QStyleOptionFrame opt;
        opt.initFrom(edit);
        opt.rect = edit->rect();
        opt.lineWidth = edit->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit) : 0;
        const QMargins margins = edit->textMargins();
        // A line edit keeps 2 px either side of its text.
        const int room = style->subElementRect(QStyle::SE_LineEditContents, &opt, edit).width() - margins.left() - margins.right() - 4;
        return {edit->text(), room};
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox opt;
        opt.initFrom(combo);
        opt.editable = combo->isEditable();
        opt.frame = combo->hasFrame();
        return {combo->currentText(), style->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo).width()};
    }
    if (qobject_cast<QPushButton*>(w) || qobject_cast<QRadioButton*>(w)) {
        auto* button = static_cast<QAbstractButton*>(w);
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        const bool radio = qobject_cast<QRadioButton*>(w);
        const QRect contents = style->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_PushButtonContents, &opt, button);
        return {QString(button->text()).remove(QRegularExpression("&(?=[^&])")), contents.width()};
    }
    if (auto* group = qobject_cast<QGroupBox*>(w)) return {group->title(), group->contentsRect().width()};
    return {};
}

}  // namespace

class SmallScreen : public DlgTest {
protected:
    void SetUp() override {
        if (dlg_.screen()->availableGeometry().size() != QSize(1024, 700)) GTEST_SKIP() << "needs a 1024x700 screen";
        DlgTest::SetUp();
        CopyExamples({"demo.vxa"});
        QApplication::processEvents();
    }
    void ExpectOnScreen(QWidget* window) {
        const QRect area = window->screen()->availableGeometry();
        EXPECT_TRUE(area.contains(window->frameGeometry()))
            << window->metaObject()->className() << " at " << window->frameGeometry().x() << "," << window->frameGeometry().y()
            << " " << window->frameGeometry().width() << "x" << window->frameGeometry().height();
    }
    // A step for a modal that comes: checks it, then closes it.
    std::function<void(QWidget*)> OnScreenThenClosed() {
        return [this](QWidget* w) { ExpectOnScreen(w), static_cast<QDialog*>(w)->reject(); };
    }
};

TEST_F(SmallScreen, EveryControlOfTheMainWindowIsInsideItAndShowsItsTextWhole) {
    Open("demo.vxa");
    Set({{1014, "0"}, {1015, "2120"}, {1016, "20"}, {1017, "7.5"}});
    Click(1018);
    // The longest texts the fields are to hold: stations, 8-digit eastings, an offset in words.
    Set({{1001, "123456.789"}, {1004, "3805381.597"}, {1005, "38500897.434"}, {1020, "123456.789"},
         {1024, "-179.5959"}, {1052, "3805381.597"}, {1053, "38500897.434"}, {1054, "123456.789"}});
    Edit(1055)->setText(Q("右12345.678米"));
    Edit(2056)->setText("1234.567");
    Get<QComboBox>(1013)->setEditText("-12345.678");
    QApplication::processEvents();
    Shot(&dlg_, "small-screen.png");

    ExpectOnScreen(&dlg_);
    EXPECT_FALSE(Get<QAbstractButton>(2014)->isChecked());  // no room for the help panel beside the rest
    int controls = 0;
    for (QWidget* w : dlg_.findChildren<QWidget*>()) {
        if (!w->isVisible() || w->window() != &dlg_) continue;
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                             qobject_cast<QProgressBar*>(w);
        if (control && !w->objectName().isEmpty()) {
            ++controls;
            EXPECT_TRUE(dlg_.rect().contains(QRect(w->mapTo(&dlg_, QPoint(0, 0)), w->size()))) << w->objectName().toStdString();
        }
        const TextRoom text = RoomOf(w);
        if (!text.text.isEmpty()) {
            EXPECT_LE(w->fontMetrics().horizontalAdvance(text.text), text.room)
                << w->objectName().toStdString() << " \"" << text.text.toStdString() << "\"";
        }
    }
    EXPECT_GE(controls, 40);
}

TEST_F(SmallScreen, EveryWindowOpensInsideTheScreen) {
    Open("demo.vxa");
    Set({{1014, "0"}, {1015, "200"}});
    Click(1018);
    Click(2002);
    auto* plan = Get<QWidget>(2100);
    ASSERT_TRUE(plan && plan->isVisible());
    ExpectOnScreen(plan);
    plan->close();

    for (int id : {1, 2004, 2006, 2003}) Click(id, ModalScript().Dialog(OnScreenThenClosed()));
    Click(1031);
    Click(1018, ModalScript().Dialog(OnScreenThenClosed()));  // the station setup
    ModalScript about;
    about.Dialog(OnScreenThenClosed());
    dlg_.OnAbout();
    EXPECT_TRUE(about.Done());
    Click(2014);  // the help panel opened on a screen without room for it: the window's corner stays in sight
    EXPECT_TRUE(Get<QWidget>(16)->isVisible());
    EXPECT_TRUE(dlg_.screen()->availableGeometry().contains(dlg_.frameGeometry().topLeft()));
}
