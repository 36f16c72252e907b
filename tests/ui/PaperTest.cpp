// The plan and the sheet on paper: 导出 on A4 or A3 at a true round scale
// with a title block, texts whole in an SVG; the sheet's column titles, the
// line to sign, the station labelled once; a long print run asked about and
// cancellable; the preview and a PDF file as painted.
#include "DlgFixture.h"

#include <QComboBox>
#include <QDate>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QSpinBox>

#include "core/text/TextFields.h"
#include "ui/plan/PlanCanvas.h"
#include "ui/plan/PlanView.h"
#include "ui/plan/SettingOutSheet.h"

namespace {

// Two red marks 1000 m apart east-west; the view shows 1800 m across.
const CPlanePoint kWest(3805000, 500000), kEast(3805000, 501000);

struct Sheet { const char* size; int orientation; int dpi; };  // orientation: 0 横向, 1 纵向; no size: 取消

class PaperTest : public DlgTest {
protected:
    void SetUp() override {
        DlgTest::SetUp();
        view_.Canvas()->SetPainter([](QPainter& p, const ViewTransform& t) {
            for (CPlanePoint mark : {kWest, kEast})
                p.fillRect(QRectF(t.ToScreen(mark).u - 2, t.ToScreen(mark).v - 2, 4, 4), QColor(200, 0, 0));
        });
        view_.SetRoadFile(Q("样例 demo.vxa"));
        view_.resize(1000, 500);  // wide: the east-west extent rules the scale
        view_.show();
        QApplication::processEvents();
        CPlanCanvas* c = view_.Canvas();
        c->SetView(ViewTransform(c->width(), c->height(), CPlanePoint(3805000, 500500), c->width() / 1800.0));
    }
    // 导出 to the file on the paper chosen; whether a resolution was offered.
    bool Export(const std::string& name, int type, Sheet paper) {
        bool dpiOffered = false;
        Click(2102, ModalScript().File(QPath(name), type).Dialog([&](QWidget* w) {
            dpiOffered = Get<QSpinBox>(2113, w)->isEnabled();
            if (!paper.size) return static_cast<QDialog*>(w)->reject();
            Get<QComboBox>(2111, w)->setCurrentText(paper.size);
            Get<QComboBox>(2112, w)->setCurrentIndex(paper.orientation);
            Get<QSpinBox>(2113, w)->setValue(paper.dpi);
            Get<QAbstractButton>(2114, w)->click();
        }), &view_);
        return dpiOffered;
    }
    CPlanView view_;
};

// Mean column of the red pixels right of the middle less that of those left of it.
double MarksApart(const QImage& image) {
    double sum[2] = {0, 0}, count[2] = {0, 0};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int side = x * 2 >= image.width();
            if (qRed(c) > 150 && qGreen(c) < 80 && qBlue(c) < 80) sum[side] += x, ++count[side];
        }
    return sum[1] / count[1] - sum[0] / count[0];
}

// The sample road open, and the sheet of its results.
class SheetTest : public DlgTest {
protected:
    void SetUp() override {
        DlgTest::SetUp();
        CopyExamples({"demo.vxa"});
        Open("demo.vxa");
        road_ = dlg_.Document().Road();
    }
    void Compute(const char* to, const char* interval) {
        Set({{1014, "0"}, {1015, to}, {1016, interval}, {1017, "0"}});
        Click(1018);
    }
    Alignment road_;
};

}  // namespace

// By hand: 297 mm at 150 dpi is 297 / 25.4 × 150 = 1753.9 pixels. The view
// is 1800 m across: on the 277 mm of drawing of A4 across that needs
// 1:6498, so 1:10000, and the 1000 m between the marks are 100 mm, 590.55
// pixels at 150 dpi. A3 across has 400 mm: 1:4500 at least, so 1:5000.
TEST_F(PaperTest, APngHasThePapersPixelsAndItsTrueScale) {
    struct Case { Sheet paper; int width, height; double apart; };
    const Case cases[] = {{{"A4", 0, 150}, 1754, 1240, 590.55},
                          {{"A3", 1, 100}, 1169, 1654, 393.70},  // 277 mm across: 1:10000; 100 mm at 100 dpi
                          {{"A3", 0, 150}, 2480, 1754, 1181.10}};
    for (const Case& c : cases) {
        const std::string name = "plan" + std::to_string(c.width) + ".png";
        EXPECT_TRUE(Export(name, 1, c.paper)) << name;
        const QImage png(Q(PathOf(name)));
        EXPECT_EQ(png.size(), QSize(c.width, c.height)) << name;
        EXPECT_EQ(png.dotsPerMeterX(), std::lround(c.paper.dpi / 0.0254)) << name;  // prints at its size
        EXPECT_NEAR(MarksApart(png), c.apart, 1.5) << name;
    }
    EXPECT_TRUE(Export("cancelled.png", 1, {nullptr, 0, 0}));
    EXPECT_FALSE(fs::exists(PathOf("cancelled.png")));
}

TEST_F(PaperTest, EachFormatCarriesThePaperAndTheTitleBlockAsWholeTexts) {
    const QString date = QDate::currentDate().toString(Q("yyyy年M月d日"));
    struct Case { const char* name; int type; Sheet paper; std::vector<QString> want; };
    const Case cases[] = {
        {"plan.svg", 2, {"A4", 0, 300},
         {Q("width=\"297mm\" height=\"210mm\""), Q(">平面图</text>"), Q(">定线文件：样例 demo.vxa</text>"),
          Q(">比例 1:10000</text>"), Q(">日期：") + date + Q("</text>")}},
        {"plan-a3.svg", 2, {"A3", 0, 300}, {Q("width=\"420mm\" height=\"297mm\""), Q(">比例 1:5000</text>")}},
        {"plan.pdf", 3, {"A4", 1, 300}, {Q("%PDF"), Q("/MediaBox [0 0 595.000000 842.000000]")}},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Export(c.name, c.type, c.paper)) << c.name;  // no pixels in a vector file
        const QString bytes = QString::fromUtf8(QByteArray::fromStdString(ReadBytes(c.name)));
        for (const QString& want : c.want) EXPECT_TRUE(bytes.contains(want)) << c.name << " " << want.toStdString();
    }
}

// The labels of the sample road, each one <text> of its whole text in the
// CJK font, not runs of Latin and Chinese apart.
TEST_F(SheetTest, TheSvgOfTheSampleRoadHoldsEachLabelWhole) {
    Click(2002);
    auto* view = dlg_.findChild<CPlanView*>("2100");
    ASSERT_TRUE(view);
    Click(2102, ModalScript().File(QPath("road.svg"), 2).Dialog([this](QWidget* w) { Get<QAbstractButton>(2114, w)->click(); }), view);
    QStringList texts;
    static const QRegularExpression text(Q(R"re(<text [^>]*font-family="([^"]*)"[^>]*\n >([^<]*)</text>)re"));
    for (auto it = text.globalMatch(QString::fromStdString(ReadBytes("road.svg"))); it.hasNext();) {
        const auto m = it.next();
        EXPECT_TRUE(m.captured(1).startsWith(Q("'Noto Sans CJK SC'"))) << m.captured(1).toStdString();
        texts << m.captured(2);
    }
    for (const char* label : {"K0+000.000 直线", "K0+300.000 缓和曲线", "K2+120.000 终点", "定线文件：demo.vxa"})
        EXPECT_TRUE(texts.contains(Q(label))) << label;
    for (const char* run : {"K0+000.000 ", "K0+300.000 ", "定线文件："}) EXPECT_FALSE(texts.contains(Q(run))) << run;
}

TEST_F(SheetTest, ColumnTitlesCarryUnitsAndEveryPageEndsWithALineToSign) {
    Compute("2120", "20");
    const plan::SettingOutSheet sheet(plan::PlanScene{&road_, &dlg_.Document().Results(), nullptr, {}}, plan::SheetHeader{});
    ASSERT_GE(sheet.PageCount(), 2);
    std::size_t next = 0;  // every row on one page, in order
    for (int i = 0; i < sheet.PageCount(); ++i) {
        const plan::SheetPage page = sheet.Page(i);
        EXPECT_EQ(page.columns, QStringList({Q("里程(m)"), Q("X(m)"), Q("Y(m)"), Q("切线方位角(度.分秒)"), Q("说明")}));
        EXPECT_EQ(page.firstRow, next);
        EXPECT_GT(page.rowCount, 0u);
        next += page.rowCount;
        for (const char* word : {"计算：", "复核：", "日期："}) EXPECT_TRUE(page.signLine.contains(Q(word))) << i;
        EXPECT_EQ(page.pageLine, Q(Format("第 %d 页 / 共 %d 页", i + 1, sheet.PageCount())));
    }
    EXPECT_EQ(next, 107u);
    ResultSet settingOut;
    settingOut.mode = ResultMode::SettingOut;
    EXPECT_EQ(plan::SettingOutSheet(plan::PlanScene{&road_, &settingOut, nullptr, {}}, plan::SheetHeader{}).ColumnNames(),
              QStringList({Q("里程(m)"), Q("水平角(度.分秒)"), Q("平距(m)"), Q("设站点"), Q("后视点")}));
}

// Traverse points D2 and D3 of demo.vxp are the setup's station and
// backsight: on the sheet's plan they are 测站 D2 and 后视 D3 only, the page
// as it is without the points; another point is drawn.
TEST_F(SheetTest, TheStationAndBacksightAreLabelledOnceOnThePlan) {
    const CPlanePoint d2(3805268.796, 500466.512), d3(3805381.597, 500897.434);
    ResultSet run;
    run.mode = ResultMode::SettingOut;
    run.AddSetup({"D2", d2, "D3", d3});
    const auto page = [&](const std::vector<PointRecord>* points) {
        QImage image(794, 1123, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        plan::SettingOutSheet(plan::PlanScene{&road_, &run, points, {}}, plan::SheetHeader{}).PaintPage(painter, 0, image.size());
        painter.end();
        return image;
    };
    std::vector<PointRecord> points{{"D2", d2.X, d2.Y}, {"D3", d3.X, d3.Y}};
    EXPECT_EQ(page(&points), page(nullptr));
    points.push_back({"P1", 3805300.0, 500700.0});  // between the two, in the plan
    EXPECT_NE(page(&points), page(nullptr));
}

// 11000 stakes every 0.1 m: over 200 pages. No prints nothing; a cancelled
// layout opens no preview; laid out to the end, the preview has every page,
// shown at the printer's resolution (the header and the plan drawn on the
// page's upper half, not a corner of them blown up).
TEST_F(SheetTest, ARunOfOver200PagesIsAskedAboutAndItsLayoutCanBeCancelled) {
    Compute("1100", "0.1");
    const auto seen = Click(2003, ModalScript().Box(QMessageBox::No));
    ASSERT_EQ(seen.size(), 1u);
    const int pages = QRegularExpression(Q("共 (\\d+) 页")).match(seen[0].text).captured(1).toInt();
    EXPECT_GT(pages, plan::kSheetPagesWithoutAsking);
    EXPECT_EQ(seen[0].text, Q(Format(text::kAskPrintManyPages, pages, dlg_.Document().Results().rows.size())));

    int progressMaximum = 0;
    Click(2003, ModalScript().Box(QMessageBox::Yes).Dialog([&](QWidget* w) {
        auto* progress = qobject_cast<QProgressDialog*>(w);
        ASSERT_TRUE(progress && progress->objectName() == "2030");
        progressMaximum = progress->maximum();
        progress->cancel();
    }));  // and no preview after it
    EXPECT_EQ(progressMaximum, pages);

    int previewed = -1, ink = 0;
    Click(2003, ModalScript().Box(QMessageBox::Yes).Dialog([](QWidget*) {}).Dialog([&](QWidget* w) {
        previewed = w->findChild<QPrintPreviewWidget*>()->pageCount();
        w->resize(760, 900);
        QApplication::processEvents();
        const QImage shown = w->grab().toImage();
        for (int y = shown.height() / 8; y < shown.height() / 2; ++y)  // the page's upper half, below the tool bar
            for (int x = shown.width() / 4; x < shown.width() * 3 / 4; ++x) ink += qGray(shown.pixel(x, y)) < 100;
        static_cast<QDialog*>(w)->reject();
    }));
    EXPECT_EQ(previewed, pages);
    EXPECT_GT(ink, 500);
}

// Printed to a PDF file from the preview: the file holds every page, and a
// file that cannot be written is reported and leaves nothing behind.
TEST_F(SheetTest, APdfPrintedToAFileIsWrittenWholeOrNotAtAll) {
    Compute("2120", "20");
    fs::create_directories(dir_ / "folder.pdf");
    const auto print = [this](const std::string& name, bool fails) {
        ModalScript script;
        script.Dialog([&](QWidget* w) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
            preview->printer()->setOutputFormat(QPrinter::PdfFormat);
            preview->printer()->setOutputFileName(QPath(name));
            emit preview->paintRequested(preview->printer());  // as its print button does once the file is named
            preview->reject();
        });
        if (fails) script.Box(QMessageBox::Ok);
        Click(2003, script);
        return script.Seen();
    };
    EXPECT_EQ(print("sheet.pdf", false).size(), 1u);
    const std::string pdf = ReadBytes("sheet.pdf");
    int pages = 0;  // "/Type /Page" once a page, "/Type /Pages" once
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
        pages += pdf.compare(at, 12, "/Type /Pages") != 0;
    EXPECT_EQ(pages, 3);  // 107 rows: the first page's and two more

    const auto seen = print("folder.pdf", true);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, Q(Format(text::kCannotWrite, PathOf("folder.pdf").c_str())));
    EXPECT_TRUE(fs::is_directory(dir_ / "folder.pdf"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 3);  // no pieces left behind
}
