#include "ui/plan/PlanExport.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStringList>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/files/FileType.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/plan/PlanCanvas.h"
#include "ui/plan/PlanDecor.h"

namespace vexaline::plan {
namespace {

// The paper is laid out in pixels of 1/96 inch, as the sheet is; each
// device scales them to its own resolution.
constexpr double kPixelsPerInch = 96;
constexpr double kMarginMm = 10;  // round the frame
constexpr double kBandMm = 24;    // under the drawing: the title block
constexpr double kBlockMm = 80;   // the title block's width
constexpr int kSvgDpi = 254;      // a tenth of a millimetre: the SVG's size is whole millimetres
constexpr int kPdfDpi = 1200;

double Px(double mm) { return mm / 25.4 * kPixelsPerInch; }

struct Layout {
    QRectF paper, frame, drawing, block;
};

Layout LayOut(const Paper& paper) {
    Layout l;
    l.paper = QRectF(0, 0, Px(paper.WidthMm()), Px(paper.HeightMm()));
    l.frame = l.paper.adjusted(Px(kMarginMm), Px(kMarginMm), -Px(kMarginMm), -Px(kMarginMm));
    l.drawing = l.frame.adjusted(0, 0, 0, -Px(kBandMm));
    l.block = QRectF(l.frame.right() - Px(kBlockMm), l.drawing.bottom(), Px(kBlockMm), Px(kBandMm));
    return l;
}

void PaintTitleBlock(QPainter& painter, QRectF block, double scale, const TitleBlock& title) {
    const QString rows[4] = {QString::fromUtf8(text::kPlanCaption),
                             QString::fromStdString(Format(text::kSheetFile, title.file.toUtf8().constData())),
                             QString::fromStdString(Format(text::kPlanScale, scale)),
                             QString::fromStdString(Format(text::kSheetDate, title.date.toUtf8().constData()))};
    const double height = block.height() / 4;
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(block);
    for (int r = 0; r < 4; ++r) {
        const QRectF row(block.left(), block.top() + r * height, block.width(), height);
        if (r > 0) painter.drawLine(row.topLeft(), row.topRight());
        painter.setFont(PaperFont(r == 0 ? 13 : 11, r == 0));
        painter.drawText(row.adjusted(Px(2), 0, -Px(2), 0), (r == 0 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter,
                         rows[r]);
    }
}

// The whole sheet, in pixels of 1/96 inch.
void PaintPaper(QPainter& painter, const CPlanCanvas& canvas, const Paper& paper, const TitleBlock& title) {
    const Layout sheet = LayOut(paper);
    const double scale = ExportScale(canvas, paper);
    const ViewTransform& shown = canvas.View();
    const CPlanePoint centre = shown.ToPlane({shown.Width() / 2, shown.Height() / 2});
    const ViewTransform view(sheet.drawing.width(), sheet.drawing.height(), centre,
                             PixelsPerMetre(scale, kPixelsPerInch));
    painter.fillRect(sheet.paper, Qt::white);
    painter.setFont(PaperFont(10));
    painter.save();
    painter.translate(sheet.drawing.topLeft());
    painter.setClipRect(QRectF(QPointF(0, 0), sheet.drawing.size()));
    canvas.RenderScene(painter, view);
    PaintDecor(painter, view);  // where the labels kept clear of it
    painter.restore();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(sheet.frame);
    painter.drawLine(sheet.drawing.bottomLeft(), sheet.drawing.bottomRight());
    PaintTitleBlock(painter, sheet.block, scale, title);
}

// The advance of a text in the font a <text> element names.
double Advance(const QString& element, const QString& text) {
    static const QRegularExpression attribute(QStringLiteral(R"re(([a-z-]+)="([^"]*)")re"));
    QFont font;
    for (auto it = attribute.globalMatch(element); it.hasNext();) {
        const auto m = it.next();
        const QString name = m.captured(1), value = m.captured(2);
        if (name == QLatin1String("font-family")) font.setFamily(value);
        if (name == QLatin1String("font-size")) font.setPixelSize(static_cast<int>(std::lround(value.toDouble())));
        if (name == QLatin1String("font-weight")) font.setWeight(QFont::Weight(value.toInt()));
        if (name == QLatin1String("font-style")) font.setItalic(value == QLatin1String("italic"));
    }
    return QFontMetricsF(font).horizontalAdvance(text);
}

QString Unescaped(QString text) {
    return text.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

// The lines of the group that begins at line i: from "<g " to the line that
// closes its tag.
QStringList GroupHeader(const QStringList& lines, int i) {
    QStringList header;
    for (; i < lines.size(); ++i)
        if (header << lines[i], lines[i].endsWith(QLatin1Char('>'))) break;
    return header;
}

// Qt closes a group and opens one with the same attributes where the state
// changes and changes back, as it does between the runs of one text; such
// a group goes on as one.
QStringList JoinEqualGroups(const QStringList& lines) {
    QStringList out, open;  // open: the header of the last group begun
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(QLatin1String("<g "))) {
            open = GroupHeader(lines, i);
            out << open;
            i += static_cast<int>(open.size()) - 1;
            continue;
        }
        int next = i + 1;
        while (next < lines.size() && lines[next].isEmpty()) ++next;
        if (lines[i] == QLatin1String("</g>") && !open.isEmpty() && next < lines.size() &&
            lines[next].startsWith(QLatin1String("<g ")) && GroupHeader(lines, next) == open) {
            i = next + static_cast<int>(open.size()) - 1;
            continue;
        }
        out << lines[i];
    }
    return out;
}

// Qt writes a text as one <text> element per run of one script, "K0+300.000 "
// apart from "缓和曲线". A run that goes on where the one written just before
// it ends, in the same font on the same baseline, is joined to it: every
// label is one element holding its whole text. The family is followed by
// the CJK families other systems have.
QByteArray JoinTextRuns(const QByteArray& svg) {
    static const QRegularExpression xAttribute(QStringLiteral(R"re( x="([^"]*)")re"));
    const QString end = QStringLiteral("</text>");
    const QStringList lines = JoinEqualGroups(QString::fromUtf8(svg).split(QLatin1Char('\n')));
    QStringList out;
    int last = -1;  // the line of the text element written just before, or -1
    QString lastElement;
    double lastEnd = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const bool text = lines[i].startsWith(QLatin1String("<text ")) && i + 1 < lines.size() &&
                          lines[i + 1].startsWith(QLatin1String(" >")) && lines[i + 1].endsWith(end);
        const QRegularExpressionMatch x = text ? xAttribute.match(lines[i]) : QRegularExpressionMatch();
        if (!x.hasMatch()) {
            out << lines[i];
            last = -1;
            continue;
        }
        const QString element = QString(lines[i]).remove(x.capturedStart(), x.capturedLength());
        const QString content = lines[i + 1].mid(2, lines[i + 1].size() - 2 - end.size());
        const double at = x.captured(1).toDouble(), width = Advance(element, Unescaped(content));
        if (last >= 0 && element == lastElement && std::fabs(at - lastEnd) < 1) {
            out[last].insert(out[last].size() - end.size(), content);
        } else {
            out << lines[i] << lines[i + 1];
            last = out.size() - 1, lastElement = element;
        }
        lastEnd = at + width;
        ++i;
    }
    return out.join(QLatin1Char('\n'))
        .replace(QStringLiteral("font-family=\"%1\"").arg(PaperFont(10).family()),
                 QStringLiteral("font-family=\"'%1', 'Source Han Sans SC', 'Microsoft YaHei', SimHei, sans-serif\"")
                     .arg(PaperFont(10).family()))
        .toUtf8();
}

}  // namespace

double ExportScale(const CPlanCanvas& canvas, const Paper& paper) {
    const Layout sheet = LayOut(paper);
    const double mmPerPixel = 25.4 / kPixelsPerInch;
    return ScaleDenominatorToFit(canvas.View().Visible(), sheet.drawing.width() * mmPerPixel,
                                 sheet.drawing.height() * mmPerPixel);
}

std::string ExportBytes(const CPlanCanvas& canvas, ExportFormat format, const Paper& paper, const TitleBlock& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const auto paint = [&](QPaintDevice& device, double dpi) {
        QPainter painter(&device);
        painter.scale(dpi / kPixelsPerInch, dpi / kPixelsPerInch);
        PaintPaper(painter, canvas, paper, title);
    };
    if (format == ExportFormat::Png) {
        QImage image(PaperPixels(paper.WidthMm(), paper.nDpi), PaperPixels(paper.HeightMm(), paper.nDpi),
                     QImage::Format_RGB32);
        if (image.isNull()) return {};
        image.fill(Qt::white);
        const int dotsPerMetre = static_cast<int>(std::lround(paper.nDpi / 0.0254));
        image.setDotsPerMeterX(dotsPerMetre), image.setDotsPerMeterY(dotsPerMetre);
        paint(image, paper.nDpi);
        if (!image.save(&buffer, "PNG")) return {};
    } else if (format == ExportFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setResolution(kSvgDpi);
        const QSize size(PaperPixels(paper.WidthMm(), kSvgDpi), PaperPixels(paper.HeightMm(), kSvgDpi));
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QString::fromUtf8(text::kPlanCaption));
        paint(svg, kSvgDpi);
        bytes = JoinTextRuns(bytes);
    } else {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(kPdfDpi);
        pdf.setPageSize(QPageSize(paper.size == PaperSize::A3 ? QPageSize::A3 : QPageSize::A4));
        pdf.setPageOrientation(paper.bLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(QString::fromUtf8(text::kPlanCaption));
        paint(pdf, kPdfDpi);
    }
    return bytes.toStdString();
}

bool HasExtension(const std::string& path) {
    const std::string ext = ExtensionOf(path);
    return ext == "png" || ext == "svg" || ext == "pdf";
}

ExportFormat FormatOf(const std::string& path, int chosenType) {
    const std::string ext = ExtensionOf(path);
    if (ext == "png") return ExportFormat::Png;
    if (ext == "svg") return ExportFormat::Svg;
    if (ext == "pdf") return ExportFormat::Pdf;
    return chosenType == 2 ? ExportFormat::Svg : chosenType == 3 ? ExportFormat::Pdf : ExportFormat::Png;
}

}  // namespace vexaline::plan
