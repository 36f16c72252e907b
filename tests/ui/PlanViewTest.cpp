// The plan view window: the picture follows the mouse as a map does (its
// export on paper: PaperTest). The sample road drawn from the window's
// data: where the centreline, the labels and the empty plane fall, the view
// following the data, a click answered by the lookup, and the setting-out
// sheet.
#include "DlgFixture.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QWheelEvent>

#include "ui/plan/PlanCanvas.h"
#include "ui/plan/PlanPainter.h"
#include "ui/plan/PlanView.h"
#include "ui/plan/SettingOutSheet.h"

namespace {

// A mouse event sent straight to a widget, as a person would make it: the
// offscreen platform has no real pointer.
void SendMouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons held) {
    QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

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
    void Wheel(QPointF at, int delta) {
        QWheelEvent e(at, Canvas()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(Canvas(), &e);
    }
    // Press, move in two steps, release.
    void Drag(QPointF from, QPointF to) {
        SendMouse(Canvas(), QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (QPointF at : {(from + to) / 2, to}) SendMouse(Canvas(), QEvent::MouseMove, at, Qt::LeftButton);
        SendMouse(Canvas(), QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    CPlanView view_;
};

// Change points of examples/demo.vxa, as the file gives them.
const CPlanePoint kK0(3805000.000, 500000.000), kK300(3805182.628, 500238.006);
const CPlanePoint kK790(3805345.175, 500688.662), kK1190(3805360.304, 501088.376);
const CPlanePoint kD3(3805381.597, 500897.434);  // traverse point D3 of demo.vxp

CPlanePoint Along(CPlanePoint a, CPlanePoint b, double t) {
    return CPlanePoint(a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t);
}

bool Near(QColor c, unsigned rgb) {
    const QColor want = QColor::fromRgb(rgb);
    return std::abs(c.red() - want.red()) < 40 && std::abs(c.green() - want.green()) < 40 &&
           std::abs(c.blue() - want.blue()) < 40;
}

class PlanSceneTest : public DlgTest {
protected:
    void SetUp() override {
        DlgTest::SetUp();
        CopyExamples({"demo.vxa", "demo.vxp"});
        Open("demo.vxa");
        road_ = dlg_.Document().Road();
        const QSizeF room = plan::LabelRoom(QFont());  // as 适应窗口 fits
        view_ = ViewTransform::Fit(plan::SceneBounds(Scene()), 1000, 700, room.width(), room.height());
    }
    plan::PlanScene Scene() { return plan::PlanScene{&road_, &dlg_.Document().Results(), nullptr, {}}; }
    QImage Draw(const ViewTransform& view) { return Draw(view, Scene()); }
    QImage Draw(const ViewTransform& view, const plan::PlanScene& scene) {
        QImage image(int(view.Width()), int(view.Height()), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        labels_ = plan::PaintScene(painter, scene, view);
        return image;
    }
    const plan::PlacedLabel* Label(const char* utf8) {
        for (const plan::PlacedLabel& l : labels_)
            if (l.text == QString::fromUtf8(utf8)) return &l;
        return nullptr;
    }
    // Some pixel within a pixel of the plane point has the colour.
    bool Drawn(const QImage& image, const ViewTransform& view, CPlanePoint p, unsigned rgb) {
        const ScreenPoint s = view.ToScreen(p);
        for (int dv = -1; dv <= 1; ++dv)
            for (int du = -1; du <= 1; ++du)
                if (Near(image.pixelColor(int(s.u) + du, int(s.v) + dv), rgb)) return true;
        return false;
    }
    // The label's text drawn alone where it was set.
    static QImage Alone(QSize size, const plan::PlacedLabel& label) {
        QImage alone(size, QImage::Format_RGB32);
        alone.fill(Qt::white);
        QPainter(&alone).drawText(label.baseline, label.text);
        return alone;
    }
    // The pixels of the label's text, with those next to them.
    std::vector<QPoint> Glyphs(QSize size, const plan::PlacedLabel& label) {
        const QImage alone = Alone(size, label);
        std::vector<QPoint> ink;
        for (int y = 1; y + 1 < size.height(); ++y)
            for (int x = 1; x + 1 < size.width(); ++x)
                if (qGray(alone.pixel(x, y)) < 100)
                    for (int d = 0; d < 9; ++d) ink.emplace_back(x + d % 3 - 1, y + d / 3 - 1);
        return ink;
    }
    // The text is set within a label's length of the plane point and found in
    // the picture: nine in ten of its dark pixels are dark there too.
    bool Labelled(const QImage& image, const ViewTransform& view, CPlanePoint p, const char* utf8) {
        const plan::PlacedLabel* label = Label(utf8);
        if (!label) return false;
        const ScreenPoint s = view.ToScreen(p);
        if (std::hypot(label->baseline.x() - s.u, label->baseline.y() - s.v) > label->box.u1 - label->box.u0 + 12)
            return false;
        const QImage alone = Alone(image.size(), *label);
        int dark = 0, found = 0;
        for (int y = 0; y < alone.height(); ++y)
            for (int x = 0; x < alone.width(); ++x)
                if (qGray(alone.pixel(x, y)) < 100) ++dark, found += qGray(image.pixel(x, y)) < 128;
        return dark > 20 && found * 10 >= dark * 9;
    }
    CPlanView* OpenView() {
        Click(2002);
        auto* view = dlg_.findChild<CPlanView*>("2100");
        if (view) view->resize(800, 600), QApplication::processEvents();
        return view;
    }

    Alignment road_;
    ViewTransform view_;
    std::vector<plan::PlacedLabel> labels_;  // of the last Draw
};

}  // namespace

TEST_F(PlanViewTest, OpensFittedWithNorthUpAndIsAResizableWindowOfItsOwn) {
    EXPECT_EQ(view_.objectName(), "2100");
    EXPECT_TRUE(view_.isWindow());
    EXPECT_FALSE(view_.isModal());
    // The box is 1600 m east-west and 1000 m north-south, with room for labels round it.
    const QSizeF room = plan::LabelRoom(Canvas()->font());
    const auto fitted = [&] {
        return std::min((Canvas()->width() - 2 * room.width()) / 1600.0, (Canvas()->height() - 2 * room.height()) / 1000.0);
    };
    EXPECT_NEAR(Canvas()->View().Scale(), fitted(), 1e-12);
    EXPECT_TRUE(MarkDrawnAt(QPointF(Canvas()->width() / 2.0, Canvas()->height() / 2.0)));
    view_.resize(900, 700);
    QApplication::processEvents();
    EXPECT_NEAR(Canvas()->View().Scale(), fitted(), 1e-12);  // still fitted
    // The read-out under the canvas keeps its height whatever it says, so
    // the fitted drawing stands still as the pointer moves.
    const int height = Canvas()->height();
    for (const char* line : {"X 3805000.000  Y 500000.000", "K0+100.000  左5.000米", "ยก\xF0\x9F\x98\x80\na"}) {
        view_.findChild<QLabel*>("2104")->setText(QString::fromUtf8(line));
        QApplication::processEvents();
        EXPECT_EQ(Canvas()->height(), height) << line;
    }
}

TEST_F(PlanViewTest, WheelZoomKeepsThePointUnderTheCursor) {
    struct Case { QPointF cursor; int delta; };
    const Case cases[] = {{{40, 30}, 120}, {{600, 380}, -240}};  // in and out; the transform's own tests do the rest
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

TEST_F(PlanSceneTest, TheSampleRoadIsDrawnWhereItLiesAndNowhereElse) {
    const QImage image = Draw(view_);
    for (double t : {0.3, 0.5, 0.7}) {
        EXPECT_TRUE(Drawn(image, view_, Along(kK0, kK300, t), plan::PlanColours::kStraight)) << t;
        EXPECT_TRUE(Drawn(image, view_, Along(kK790, kK1190, t), plan::PlanColours::kStraight)) << t;
    }
    // 200 m north of the middle straight and 300 m south of it
    // there is nothing: a square of 31 pixels stays white.
    for (CPlanePoint empty : {CPlanePoint(3805550, 500890), CPlanePoint(3805050, 500700)}) {
        const ScreenPoint s = view_.ToScreen(empty);
        for (int dv = -15; dv <= 15; ++dv)
            for (int du = -15; du <= 15; ++du)
                ASSERT_EQ(image.pixel(int(s.u) + du, int(s.v) + dv), qRgb(255, 255, 255)) << du << "," << dv;
    }
    EXPECT_TRUE(Labelled(image, view_, kK0, "K0+000.000 直线"));
    EXPECT_FALSE(Labelled(image, view_, kK0, "K0+000.000 终点"));  // the check tells texts apart
    // Zoomed in on K1+190, its label is there whatever thinning the whole road needed.
    const ViewTransform near = view_.ZoomedAbout({view_.ToScreen(kK1190).u, view_.ToScreen(kK1190).v}, 6);
    EXPECT_TRUE(Labelled(Draw(near), near, kK1190, "K1+190.000 缓和曲线"));
}

// The walkthrough's setting-out run from D2 with D3 as backsight, side
// stakes too, the traverse points beside it, at the view 适应窗口 gives and
// zoomed in where the labels crowd: the instrument at K0+420, D4 by K1+290,
// the road's end by the north arrow.
TEST_F(PlanSceneTest, LabelsStandClearOfOneAnotherTheMarksTheFurnitureAndTheEdge) {
    const CPlanePoint d2(3805268.796, 500466.512), d3(3805381.597, 500897.434);
    ResultSet results;
    results.mode = ResultMode::SettingOut;
    results.AddSetup({"D2", d2, "D3", d3});
    for (double station = 400; station <= 700; station += 20)
        for (double offset : {0.0, 7.5}) {  // centre and side stakes
            StakeResult r;
            r.dStation = station, r.dOffset = offset, r.point = road_.At(station, offset, kPi / 2).point, r.nSetup = 0;
            results.rows.push_back(r);
        }
    const std::vector<PointRecord> points{{"D1", 3805088.644, 500058.029}, {"D2", d2.X, d2.Y},
                                          {"D3", d3.X, d3.Y},              {"D4", 3805372.603, 501305.880},
                                          {"D5", 3805716.755, 501431.101}, {"D6", 3806022.830, 501450.016}};
    const plan::PlanScene scene{&road_, &results, &points, {}};
    const std::vector<plan::LegendEntry> legend = plan::LegendEntries(scene);
    const auto fitted = [&](double w, double h) {
        const QSizeF room = plan::LabelRoom(QFont());
        return ViewTransform::Fit(plan::SceneBounds(scene), w, h, room.width(), room.height());
    };
    const auto about = [](const ViewTransform& v, CPlanePoint p, double zoom) {
        const ScreenPoint s = v.ToScreen(p);
        return v.ZoomedAbout(s, zoom).Panned(v.Width() / 2 - s.u, v.Height() / 2 - s.v);
    };
    const ViewTransform wide = fitted(1000, 700), window = fitted(760, 560);
    const ViewTransform views[] = {wide, window, about(window, d2, 4), about(window, CPlanePoint(3805368.240, 501187.991), 6),
                                   window.ZoomedAbout(window.ToScreen(CPlanePoint(3806038.813, 501422.276)), 2)};
    for (const ViewTransform& view : views) {
        const QImage image = Draw(view, scene);
        const QSizeF size(view.Width(), view.Height());
        std::vector<ScreenBox> furniture = plan::DecorBoxes(plan::StandardDecor(size));
        const QRectF key = plan::LegendBox(QFontMetricsF(QFont()), legend, size);
        furniture.push_back({key.left(), key.top(), key.right(), key.bottom()});
        SCOPED_TRACE(testing::Message() << "view " << (&view - views));
        ASSERT_GE(labels_.size(), 2u);
        for (std::size_t i = 0; i < labels_.size(); ++i) {
            const ScreenBox& b = labels_[i].box;
            EXPECT_TRUE(b.u0 >= 0 && b.v0 >= 0 && b.u1 <= size.width() && b.v1 <= size.height()) << labels_[i].text.toStdString();
            for (const ScreenBox& f : furniture) EXPECT_FALSE(b.Overlaps(f)) << labels_[i].text.toStdString();
            for (std::size_t j = i + 1; j < labels_.size(); ++j)
                EXPECT_FALSE(b.Overlaps(labels_[j].box)) << labels_[i].text.toStdString() << " / " << labels_[j].text.toStdString();
            // No line crosses a black text: its glyphs and the pixels next to them hold no colour.
            if (!labels_[i].text.startsWith('K')) continue;
            for (QPoint p : Glyphs(image.size(), labels_[i]))
                ASSERT_LT(image.pixelColor(p).saturation(), 40) << labels_[i].text.toStdString() << " at " << p.x() << "," << p.y();
        }
    }
    // Fitted, every change point, traverse point, the station and the backsight are labelled, once.
    Draw(wide, scene);
    for (const char* text : {"K0+000.000 直线", "K0+300.000 缓和曲线", "K0+420.000 圆曲线", "K0+670.000 缓和曲线",
                             "K0+790.000 直线", "K1+190.000 缓和曲线", "K1+290.000 圆曲线", "K1+490.000 缓和曲线",
                             "K1+570.000 圆曲线", "K1+720.000 缓和曲线", "K1+820.000 直线", "K2+120.000 终点",
                             "测站 D2", "后视 D3", "D1", "D4", "D5", "D6"})
        EXPECT_TRUE(Label(text)) << text;
    EXPECT_FALSE(Label("D2") || Label("D3"));
}

TEST_F(PlanSceneTest, TheViewOpensOnTheRoadAndFollowsTheData) {
    CPlanView* view = OpenView();
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isVisible());
    CPlanCanvas* canvas = view->Canvas();
    // Fitted: both ends of the road inside the canvas.
    for (CPlanePoint end : {kK0, CPlanePoint(3806038.813, 501422.276)}) {
        const ScreenPoint s = canvas->View().ToScreen(end);
        EXPECT_TRUE(QRectF(canvas->rect()).contains(QPointF(s.u, s.v)));
    }
    // Another road opened: fitted again, it is drawn.
    Click(2101, {}, view);
    OpenRows({{"0", "直线", "∞", "0", "0"}, {"100", "终点", "∞", "0", "100"}});
    EXPECT_TRUE(Drawn(canvas->Picture(), canvas->View(), CPlanePoint(0, 50), plan::PlanColours::kStraight));
    EXPECT_NEAR(canvas->View().Scale(), (canvas->width() - 2 * plan::LabelRoom(canvas->font()).width()) / 100.0, 1e-9);
}

TEST_F(PlanSceneTest, ElementsTheCheckFlagsAreRed) {
    // 150 m of station for 100 m of straight: the check finds 50 m of closure.
    OpenRows({{"0", "直线", "∞", "0", "0"}, {"150", "直线", "∞", "0", "100"}, {"250", "终点", "∞", "0", "200"}});
    CPlanView* view = OpenView();
    ASSERT_TRUE(view);
    const QImage picture = view->Canvas()->Picture();
    EXPECT_TRUE(Drawn(picture, view->Canvas()->View(), CPlanePoint(0, 50), plan::PlanColours::kFlagged));
    EXPECT_TRUE(Drawn(picture, view->Canvas()->View(), CPlanePoint(0, 150), plan::PlanColours::kStraight));
}

TEST_F(PlanSceneTest, AClickFillsTheLookupAndAnswersAsTheButtonDoes) {
    CPlanView* view = OpenView();
    ASSERT_TRUE(view);
    CPlanCanvas* canvas = view->Canvas();
    // D3 at the middle of the canvas, exactly: the click falls on it.
    canvas->SetView(ViewTransform(canvas->width(), canvas->height(), kD3, 2));
    const QPointF middle(canvas->width() / 2.0, canvas->height() / 2.0);
    SendMouse(canvas, QEvent::MouseButtonPress, middle, Qt::LeftButton);
    SendMouse(canvas, QEvent::MouseButtonRelease, middle, Qt::NoButton);
    EXPECT_EQ(Edit(1052)->text(), "3805381.597");
    EXPECT_EQ(Edit(1053)->text(), "500897.434");
    EXPECT_EQ(Edit(1054)->text(), "1000.000");  // the walkthrough's answer for D3
    EXPECT_EQ(Edit(1055)->text(), Q("左28.499米"));  // and the button's handler: its refusals are ComputeDlgTest's
}

TEST_F(PlanSceneTest, TheSheetHasAHeaderOnEveryPageThePlanFirstAndTheWholeTable) {
    EXPECT_EQ(Warnings(2003), Q(text::kSheetNothing));
    Set({{1014, "0"}, {1015, "2120"}, {1016, "20"}, {1017, "7.5"}});
    Click(1018);
    ASSERT_EQ(dlg_.Document().Results().rows.size(), 107u);
    plan::SheetHeader header{"demo.vxa", true, 0, 2120, 20, 7.5, "90.0000", "2026年12月7日", ""};
    const plan::SettingOutSheet sheet(Scene(), header);
    ASSERT_GE(sheet.PageCount(), 2);  // every row on one page: SheetTest
    // Page 1 at 96 dpi: the title on top, the road in colour in the plan.
    QImage first(794, 1123, QImage::Format_RGB32);
    first.fill(Qt::white);  // a page that paints nothing fails, whatever the memory held
    QImage second = first;
    {
        QPainter a(&first), b(&second);
        sheet.PaintPage(a, 0, first.size());
        sheet.PaintPage(b, 1, second.size());
    }
    int colour = 0, titleInk = 0, secondColour = 0;
    for (int y = 0; y < 1123; ++y)
        for (int x = 0; x < 794; ++x) {
            const QColor c = first.pixelColor(x, y);
            colour += c.saturation() > 120;
            titleInk += y < 80 && qGray(c.rgb()) < 100;
            secondColour += second.pixelColor(x, y).saturation() > 120;
        }
    EXPECT_GT(colour, 500);
    EXPECT_GT(titleInk, 50);
    EXPECT_EQ(secondColour, 0);  // later pages hold the table alone
}
