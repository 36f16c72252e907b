// The plan view window: the picture follows the mouse as a map does, and the
// picture leaves as a file.
#include "DlgFixture.h"
#include "PlanEvents.h"

#include <QPainter>
#include <QSignalSpy>

#include "ui/PlanCanvas.h"
#include "ui/PlanView.h"

namespace {

// A lone mark at a known survey point, and a box that makes room round it.
const CPlanePoint kMark(3805300.0, 500700.0);
const QColor kMarkColour(200, 0, 0);

class PlanViewTest : public DlgTest {
protected:
    void SetUp() override {
        DlgTest::SetUp();
        view_.Canvas()->SetPainter([](QPainter& p, const ViewTransform& t) {
            const ScreenPoint s = t.ToScreen(kMark);
            p.fillRect(QRectF(s.u - 2, s.v - 2, 5, 5), kMarkColour);
        });
        view_.Canvas()->SetBounds({kMark.X - 500, kMark.Y - 800, kMark.X + 500, kMark.Y + 800});
        view_.resize(700, 500);
        view_.show();
        QApplication::processEvents();
    }
    CPlanCanvas* Canvas() { return view_.Canvas(); }
    QPointF MarkOnScreen() {
        const ScreenPoint s = Canvas()->View().ToScreen(kMark);
        return {s.u, s.v};
    }
    bool MarkDrawnAt(QPointF at) { return Canvas()->Picture().pixelColor(at.toPoint()) == kMarkColour; }
    void Wheel(QPointF at, int delta) { SendWheel(Canvas(), at, delta); }
    void Drag(QPointF from, QPointF to) { SendDrag(Canvas(), from, to); }

    CPlanView view_;
};

}  // namespace

TEST_F(PlanViewTest, OpensFittedWithNorthUpAndIsAResizableWindowOfItsOwn) {
    EXPECT_EQ(view_.objectName(), "2100");
    EXPECT_TRUE(view_.isWindow());
    EXPECT_FALSE(view_.isModal());
    // The box is 1600 m east-west and 1000 m north-south, with 24 pixels free round it.
    const auto fitted = [this] { return std::min((Canvas()->width() - 48) / 1600.0, (Canvas()->height() - 48) / 1000.0); };
    EXPECT_NEAR(Canvas()->View().Scale(), fitted(), 1e-12);
    EXPECT_TRUE(MarkDrawnAt(QPointF(Canvas()->width() / 2.0, Canvas()->height() / 2.0)));
    view_.resize(900, 700);
    QApplication::processEvents();
    EXPECT_NEAR(Canvas()->View().Scale(), fitted(), 1e-12);  // still fitted
}

TEST_F(PlanViewTest, WheelZoomKeepsThePointUnderTheCursor) {
    struct Case { QPointF cursor; int delta; };
    const Case cases[] = {{{40, 30}, 120}, {{600, 380}, -240}, {{333, 111}, 360}, {{10, 400}, -120}};
    for (const Case& c : cases) {
        const CPlanePoint under = Canvas()->View().ToPlane({c.cursor.x(), c.cursor.y()});
        const double scale = Canvas()->View().Scale();
        Wheel(c.cursor, c.delta);
        EXPECT_NEAR(Canvas()->View().Scale(), scale * std::pow(CPlanCanvas::kNotchFactor, c.delta / 120.0), 1e-12);
        const ScreenPoint after = Canvas()->View().ToScreen(under);
        EXPECT_NEAR(after.u, c.cursor.x(), 1e-6);
        EXPECT_NEAR(after.v, c.cursor.y(), 1e-6);
    }
    // With the cursor on the mark, the mark stays drawn under it.
    Canvas()->Fit();
    const QPointF mark = MarkOnScreen();
    for (int i = 0; i < 6; ++i) Wheel(mark, 120);
    EXPECT_TRUE(MarkDrawnAt(mark));
}

TEST_F(PlanViewTest, DragPansAndAStillPressIsAClick) {
    QSignalSpy clicks(Canvas(), &CPlanCanvas::Clicked);
    const QPointF before = MarkOnScreen();
    Drag({100, 100}, {160, 60});
    EXPECT_EQ(clicks.count(), 0);
    const QPointF after = MarkOnScreen();
    EXPECT_NEAR(after.x() - before.x(), 60, 1e-6);
    EXPECT_NEAR(after.y() - before.y(), -40, 1e-6);
    EXPECT_TRUE(MarkDrawnAt(after));

    Drag(after, after + QPointF(1, 1));  // within the slop: a click on the mark
    ASSERT_EQ(clicks.count(), 1);
    const auto where = clicks.at(0).at(0).value<CPlanePoint>();
    const double metre = 1 / Canvas()->View().Scale();  // a pixel's worth of plane
    EXPECT_NEAR(where.X, kMark.X - metre, 1e-6);
    EXPECT_NEAR(where.Y, kMark.Y + metre, 1e-6);

    Canvas()->Fit();
    EXPECT_NEAR(MarkOnScreen().x(), before.x(), 1e-9);
}

TEST_F(PlanViewTest, ExportsThePictureAsPngSvgOrPdf) {
    struct Case { const char* name; int type; const char* magic; };
    const Case cases[] = {{"plan.png", 1, "\x89PNG"}, {"plan.svg", 2, "<?xml"}, {"plan.pdf", 3, "%PDF"},
                          {"plan-typed", 3, "%PDF"}};  // no extension: the chosen type decides
    for (const Case& c : cases) {
        Click(2102, ModalScript().File(QPath(c.name), c.type), &view_);
        std::string file = c.name;
        if (file.find('.') == std::string::npos) file += ".pdf";  // the chosen type's extension
        const std::string bytes = ReadBytes(file);
        EXPECT_EQ(bytes.substr(0, std::strlen(c.magic)), c.magic) << c.name;
    }
    const QImage png = QImage(QPath("plan.png"));
    EXPECT_EQ(png.size(), Canvas()->size());
    EXPECT_EQ(png.pixelColor(MarkOnScreen().toPoint()), kMarkColour);
}
