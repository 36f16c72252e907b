// The plan and the sheet on paper: 导出 on A4 or A3 at a true round scale
// with a title block, text whole in an SVG; the sheet's column titles and
// the line to sign on each page; a long print run asked about, laid out
// with progress and cancellable; a PDF printed to a file written whole.
#include "DlgFixture.h"

#include <QComboBox>
#include <QDate>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QSpinBox>
#include <QRegularExpression>

#include "core/text/TextFields.h"
#include "ui/PaperDlg.h"
#include "ui/PlanCanvas.h"
#include "ui/PlanView.h"
#include "ui/SettingOutSheet.h"

namespace {

// Two red marks 1000 m apart east-west; the view shows 1800 m across.
const CPlanePoint kWest(3805000, 500000), kEast(3805000, 501000);

struct Sheet { const char* size; int orientation; int dpi; };  // orientation: 0 横向, 1 纵向

class PaperTest : public DlgTest {
protected:
    void SetUp() override {
        DlgTest::SetUp();
        view_.Canvas()->SetPainter([](QPainter& p, const ViewTransform& t) {
            for (CPlanePoint mark : {kWest, kEast}) {
                const ScreenPoint s = t.ToScreen(mark);
                p.fillRect(QRectF(s.u - 2, s.v - 2, 4, 4), QColor(200, 0, 0));
            }
        });
        view_.SetRoadFile(Q("样例 demo.vxa"));
        view_.resize(1000, 500);  // wide: the east-west extent rules the scale
        view_.show();
        QApplication::processEvents();
        CPlanCanvas* c = view_.Canvas();
        c->SetView(ViewTransform(c->width(), c->height(), CPlanePoint(3805000, 500500), c->width() / 1800.0));
    }
    // 导出 to the file on the paper chosen; a null size cancels the paper.
    std::vector<SeenModal> Export(const std::string& name, int type, Sheet paper, bool* dpiOffered = nullptr) {
        return Click(2102, ModalScript().File(QPath(name), type).Dialog([this, paper, dpiOffered](QWidget* w) {
            if (dpiOffered) *dpiOffered = Get<QSpinBox>(2113, w)->isEnabled();
            if (!paper.size) return static_cast<QDialog*>(w)->reject();
            Get<QComboBox>(2111, w)->setCurrentText(paper.size);
            Get<QComboBox>(2112, w)->setCurrentIndex(paper.orientation);
            Get<QSpinBox>(2113, w)->setValue(paper.dpi);
            Get<QAbstractButton>(2114, w)->click();
        }), &view_);
    }
    // Mean column of the red pixels left and right of the middle.
    static std::pair<double, double> Marks(const QImage& image) {
        double sum[2] = {0, 0};
        int count[2] = {0, 0};
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                if (qRed(c) > 150 && qGreen(c) < 80 && qBlue(c) < 80) sum[x * 2 >= image.width()] += x, ++count[x * 2 >= image.width()];
            }
        return {sum[0] / count[0], sum[1] / count[1]};
    }

    CPlanView view_;
};

// The sample road open, and what the sheet of its results holds.
class SheetTest : public DlgTest {
protected:
    void SetUp() override {
        DlgTest::SetUp();
        fs::copy_file(fs::path(VEXALINE_SOURCE_DIR) / "examples" / "demo.vxa", dir_ / "demo.vxa");
        Open("demo.vxa");
        road_ = dlg_.Road();
    }
    void Compute(const char* from, const char* to, const char* interval) {
        Set({{1014, from}, {1015, to}, {1016, interval}, {1017, "0"}});
        Click(1018);
    }
    plan::SettingOutSheet Sheet() const {
        return plan::SettingOutSheet(plan::PlanScene{&road_, &dlg_.Results(), nullptr, {}}, plan::SheetHeader{});
    }
    Alignment road_;
};

int PdfPages(const std::string& bytes) {
    int pages = 0;
    for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos; at = bytes.find("/Type /Page", at + 1))
        pages += bytes.compare(at, 12, "/Type /Pages") != 0;
    return pages;
}

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
        SCOPED_TRACE(name);
        bool dpiOffered = false;
        Export(name, 1, c.paper, &dpiOffered);
        EXPECT_TRUE(dpiOffered);
        const QImage png(Q(PathOf(name)));
        EXPECT_EQ(png.size(), QSize(c.width, c.height));
        EXPECT_EQ(png.dotsPerMeterX(), std::lround(c.paper.dpi / 0.0254));  // prints at its size
        const auto [west, east] = Marks(png);
        EXPECT_NEAR(east - west, c.apart, 1.5);
    }
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
        bool dpiOffered = true;
        Export(c.name, c.type, c.paper, &dpiOffered);
        EXPECT_FALSE(dpiOffered) << c.name;  // no pixels in a vector file
        const QString bytes = QString::fromUtf8(QByteArray::fromStdString(ReadBytes(c.name)));
        for (const QString& want : c.want) EXPECT_TRUE(bytes.contains(want)) << c.name << " " << want.toStdString();
    }
}

TEST_F(PaperTest, CancellingThePaperWritesNothing) {
    Export("plan.png", 1, {nullptr, 0, 0});
    EXPECT_FALSE(fs::exists(PathOf("plan.png")));
}

// The labels of the sample road, each one <text> of its whole text in the
// CJK font, not runs of Latin and Chinese apart.
TEST_F(SheetTest, TheSvgOfTheSampleRoadHoldsEachLabelWhole) {
    Click(2002);
    auto* view = dlg_.findChild<CPlanView*>("2100");
    ASSERT_TRUE(view);
    Click(2102, ModalScript().File(QPath("road.svg"), 2).Dialog([this](QWidget* w) { Get<QAbstractButton>(2114, w)->click(); }), view);
    const QString svg = QString::fromUtf8(QByteArray::fromStdString(ReadBytes("road.svg")));
    QStringList texts;
    static const QRegularExpression text(Q(R"re(<text [^>]*font-family="([^"]*)"[^>]*\n >([^<]*)</text>)re"));
    for (auto it = text.globalMatch(svg); it.hasNext();) {
        const auto m = it.next();
        EXPECT_TRUE(m.captured(1).startsWith(Q("'Noto Sans CJK SC'"))) << m.captured(1).toStdString();
        texts << m.captured(2);
    }
    for (const char* label : {"K0+000.000 直线", "K0+300.000 缓和曲线", "K2+120.000 终点", "定线文件：demo.vxa"})
        EXPECT_TRUE(texts.contains(Q(label))) << label;
    for (const char* run : {"直线", "缓和曲线", "K0+000.000 ", "定线文件："}) EXPECT_FALSE(texts.contains(Q(run))) << run;
}

TEST_F(SheetTest, ColumnTitlesCarryUnitsAndEveryPageEndsWithALineToSign) {
    Compute("0", "2120", "20");
    const plan::SettingOutSheet sheet = Sheet();
    ASSERT_EQ(sheet.RowCount(), 107u);
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
        EXPECT_EQ(page.bPlan, i == 0);
    }
    EXPECT_EQ(next, 107u);
    // The line to sign is painted at the foot of the last page, on its left.
    QImage last(794, 1123, QImage::Format_RGB32);
    last.fill(Qt::white);
    {
        QPainter painter(&last);
        sheet.PaintPage(painter, sheet.PageCount() - 1, last.size());
    }
    int ink = 0;
    for (int y = 1123 - 120; y < 1123 - 40; ++y)
        for (int x = 0; x < 300; ++x) ink += qGray(last.pixel(x, y)) < 100;
    EXPECT_GT(ink, 100);

    ResultSet settingOut;  // setting-out elements: the angle in D.MMSS, the distance in metres
    settingOut.mode = ResultMode::SettingOut;
    const plan::SettingOutSheet setting(plan::PlanScene{&road_, &settingOut, nullptr, {}}, plan::SheetHeader{});
    EXPECT_EQ(setting.Page(0).columns,
              QStringList({Q("里程(m)"), Q("水平角(度.分秒)"), Q("平距(m)"), Q("设站点"), Q("后视点")}));
}

// 11001 stakes every 0.1 m: over 200 pages. No prints nothing; a cancelled
// layout opens no preview; laid out to the end, the preview has every page.
TEST_F(SheetTest, ARunOfOver200PagesIsAskedAboutAndItsLayoutCanBeCancelled) {
    Compute("0", "1100", "0.1");
    const std::size_t rows = dlg_.Results().rows.size();
    const auto seen = Click(2003, ModalScript().Box(QMessageBox::No));
    ASSERT_EQ(seen.size(), 1u);
    const int pages = QRegularExpression(Q("共 (\\d+) 页")).match(seen[0].text).captured(1).toInt();
    EXPECT_GT(pages, plan::kSheetPagesWithoutAsking);
    EXPECT_EQ(seen[0].text, Q(Format(text::kAskPrintManyPages, pages, rows)));

    bool progressShown = false;
    Click(2003, ModalScript().Box(QMessageBox::Yes).Dialog([&](QWidget* w) {
        auto* progress = qobject_cast<QProgressDialog*>(w);
        ASSERT_TRUE(progress);
        progressShown = progress->objectName() == "2030" && progress->maximum() == pages;
        progress->cancel();
    }));  // and no preview after it
    EXPECT_TRUE(progressShown);

    int previewed = -1;
    Click(2003, ModalScript().Box(QMessageBox::Yes).Dialog([](QWidget*) {}).Dialog([&](QWidget* w) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
        ASSERT_TRUE(preview);
        previewed = preview->findChild<QPrintPreviewWidget*>()->pageCount();
        preview->reject();
    }));
    EXPECT_EQ(previewed, pages);
}

// The preview shows the page as painted, at the printer's resolution: the
// road of the plan in colour within the upper half of the page.
TEST_F(SheetTest, ThePreviewShowsThePagesAtThePrintersResolution) {
    Compute("0", "2120", "20");
    int colour = -1;
    Click(2003, ModalScript().Dialog([&](QWidget* w) {
        w->resize(760, 900);
        QApplication::processEvents();
        const QImage shown = w->grab().toImage();
        colour = 0;
        for (int y = shown.height() / 8; y < shown.height() / 2; ++y)  // below the tool bar's coloured icons
            for (int x = shown.width() / 8; x < shown.width() * 7 / 8; ++x)
                colour += QColor(shown.pixel(x, y)).saturation() > 120;
        static_cast<QDialog*>(w)->reject();
    }));
    EXPECT_GT(colour, 100);
}

// Printed to a PDF file from the preview: the file holds every page, and a
// file that cannot be written is reported and leaves nothing behind.
TEST_F(SheetTest, APdfPrintedToAFileIsWrittenWholeOrNotAtAll) {
    Compute("0", "2120", "20");
    const int pages = Sheet().PageCount();
    fs::create_directories(dir_ / "folder.pdf");
    const auto print = [this](const std::string& name, bool fails) {
        ModalScript script;
        script.Dialog([&](QWidget* w) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
            ASSERT_TRUE(preview);
            QPrinter* printer = preview->printer();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(QPath(name));
            emit preview->paintRequested(printer);  // as its print button does once the file is named
            preview->reject();
        });
        if (fails) script.Box(QMessageBox::Ok);
        Click(2003, script);
        return script.Seen();
    };
    EXPECT_EQ(print("sheet.pdf", false).size(), 1u);
    EXPECT_EQ(PdfPages(ReadBytes("sheet.pdf")), pages);

    const auto seen = print("folder.pdf", true);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, Q(Format(text::kCannotWrite, PathOf("folder.pdf").c_str())));
    EXPECT_TRUE(fs::is_directory(dir_ / "folder.pdf"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 3);  // no pieces left behind
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
    const std::vector<PointRecord> setup{{"D2", d2.X, d2.Y}, {"D3", d3.X, d3.Y}};
    EXPECT_EQ(page(&setup), page(nullptr));
    std::vector<PointRecord> more = setup;
    more.push_back({"P1", 3805300.0, 500700.0});  // between the two, in the plan
    EXPECT_NE(page(&more), page(nullptr));
}
