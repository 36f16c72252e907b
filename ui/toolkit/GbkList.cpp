#include "ui/toolkit/GbkList.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "core/text/Gbk.h"

namespace vexaline::platform {

int GbkListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count(); }

QVariant GbkListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= Count()) return QVariant();
    return QString::fromStdString(GbkToUtf8(Line(index.row())));
}

void GbkLineModel::Append(std::string line) { Insert(Count(), std::move(line)); }

void GbkLineModel::AppendAll(std::vector<std::string>&& lines) {
    if (lines.empty()) return;
    beginInsertRows(QModelIndex(), Count(), Count() + static_cast<int>(lines.size()) - 1);
    lines_.insert(lines_.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    endInsertRows();
    lines.clear();
}

void GbkLineModel::Insert(int i, std::string line) {
    if (i < 0 || i > Count()) i = Count();
    beginInsertRows(QModelIndex(), i, i);
    lines_.insert(lines_.begin() + i, std::move(line));
    endInsertRows();
}

void GbkLineModel::Remove(int i) {
    if (i < 0 || i >= Count()) return;
    beginRemoveRows(QModelIndex(), i, i);
    lines_.erase(lines_.begin() + i);
    endRemoveRows();
}

void GbkLineModel::Truncate(int count) {
    if (count < 0) count = 0;
    if (count >= Count()) return;
    beginRemoveRows(QModelIndex(), count, Count() - 1);
    lines_.resize(static_cast<std::size_t>(count));
    endRemoveRows();
}

namespace {

// Paints a line on the byte grid: a character starts at its byte offset
// times the cell width, and a double-byte GBK character covers two cells.
class ByteGridDelegate : public QStyledItemDelegate {
public:
    // Marked lines: dark red on pale red, apart from any selection colour.
    static inline const QColor kMarkedBackground{255, 222, 218};
    static inline const QColor kMarkedText{150, 0, 0};

    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int kMargin = 3;

    static double CellWidth(const QFont& font) {
        const QFontMetricsF fm(font);
        double cell = fm.horizontalAdvance(QChar(u'0'));
        cell = std::max(cell, fm.horizontalAdvance(QChar(u'M')));
        cell = std::max(cell, fm.horizontalAdvance(QChar(u'\u4E2D')) / 2);  // 中
        return cell;
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const auto* model = static_cast<const GbkListModel*>(index.model());
        const QFontMetricsF fm(option.font);
        const double width = 2 * kMargin + CellWidth(option.font) * static_cast<double>(model->Line(index.row()).size());
        return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(fm.height())) + 2);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();  // background, selection and focus only
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        const auto* view = qobject_cast<const GbkListView*>(widget);
        const bool marked = view && view->IsMarked(index.row()) && !(opt.state & QStyle::State_Selected);
        if (marked) opt.backgroundBrush = QBrush(kMarkedBackground);
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        const auto* model = static_cast<const GbkListModel*>(index.model());
        const std::string line = model->Line(index.row());
        const QFontMetricsF fm(opt.font);
        const double cell = CellWidth(opt.font);
        const double left = opt.rect.left() + kMargin;
        const double baseline = opt.rect.top() + (opt.rect.height() - fm.height()) / 2 + fm.ascent();
        const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (opt.state & QStyle::State_Active)  ? QPalette::Active
                                                                                 : QPalette::Inactive;
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                       : QPalette::Text));
        if (marked) painter->setPen(kMarkedText);
        painter->setClipRect(opt.rect);
        const double right = opt.rect.right() + 1;
        for (std::size_t i = 0; i < line.size();) {
            const double x = left + cell * static_cast<double>(i);
            if (x >= right) break;
            const unsigned char b = static_cast<unsigned char>(line[i]);
            std::size_t n = 1;
            QString ch;
            if (b < 0x80) {
                if (b > 0x20 && b != 0x7F) ch = QChar(b);
            } else {
                if (b >= 0x81 && i + 1 < line.size()) {
                    const QString pair = QString::fromStdString(GbkToUtf8(line.substr(i, 2)));
                    if (pair.size() == 1 && pair[0] != QChar(0xFFFD)) {
                        ch = pair;
                        n = 2;
                    }
                }
                if (n == 1) ch = QChar(0xFFFD);  // as the display text shows it
            }
            if (!ch.isEmpty()) painter->drawText(QPointF(x, baseline), ch);
            i += n;
        }
        painter->restore();
    }
};

}  // namespace

GbkListView::GbkListView(GbkListModel* model, QWidget* parent) : QListView(parent), model_(model) {
    if (!model_) model_ = lineModel_ = new GbkLineModel(this);
    model_->setParent(this);
    // Changes made by the program (new or removed lines, Select) are not the
    // user's choice and raise no SelectionChanged. These run before the
    // selection model hears of a change ...
    auto hush = [this] { ++quiet_; };
    connect(model_, &QAbstractItemModel::rowsAboutToBeInserted, this, hush);
    connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this](const QModelIndex&, int first, int last) {
        ++quiet_;
        // A removed line takes the selection with it; the toolkit would
        // otherwise hand it to a neighbour, which the user never chose.
        const int selected = Selection();
        if (selected >= first && selected <= last) selectionModel()->clear();
    });
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, hush);
    // Marks name lines by index: once lines come or go they name others.
    auto unmark = [this] { SetMarked({}); };
    connect(model_, &QAbstractItemModel::rowsAboutToBeInserted, this, unmark);
    connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, unmark);
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, unmark);
    setModel(model_);
    // ... and these after it has dealt with it.
    auto speak = [this] { --quiet_; };
    connect(model_, &QAbstractItemModel::rowsInserted, this, speak);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, speak);
    connect(model_, &QAbstractItemModel::modelReset, this, speak);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (quiet_ == 0) emit SelectionChanged();
    });

    setItemDelegate(new ByteGridDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    // A font whose Latin cells are exactly half its Chinese ones; the grid
    // keeps the columns in line with any other font too.
    QFont f = font();
    f.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    f.setStyleHint(QFont::TypeWriter);
    setFont(f);
}

int GbkListView::Selection() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void GbkListView::Select(int i) {
    ++quiet_;
    if (i < 0 || i >= model_->Count()) {
        clearSelection();
    } else {
        const QModelIndex index = model_->index(i, 0);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    --quiet_;
}

void GbkListView::SetMarked(std::vector<int> lines) {
    std::sort(lines.begin(), lines.end());
    if (lines == marked_) return;
    marked_ = std::move(lines);
    viewport()->update();
}

bool GbkListView::IsMarked(int i) const { return std::binary_search(marked_.begin(), marked_.end(), i); }

QSize GbkListView::sizeHint() const {
    // Room for a 58-byte line beside the scroll bar, and fifteen lines.
    const double cell = ByteGridDelegate::CellWidth(font());
    const int rowHeight = static_cast<int>(std::ceil(QFontMetricsF(font()).height())) + 2;
    const int frame = 2 * frameWidth();
    return QSize(static_cast<int>(std::ceil(60 * cell)) + 2 * ByteGridDelegate::kMargin + frame +
                     verticalScrollBar()->sizeHint().width(),
                 15 * rowHeight + frame);
}

}  // namespace vexaline::platform
