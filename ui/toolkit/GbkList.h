#pragma once
#include <QAbstractListModel>
#include <QListView>
#include <string>
#include <vector>

// Lists of GBK lines: a model gives the bytes of each line and shows them
// decoded, so nothing changes in a round trip and a million lines stay cheap.
namespace vexaline::platform {

// A list of GBK lines, by index; how they are held is the subclass's.
class GbkListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    virtual int Count() const = 0;
    virtual std::string Line(int i) const = 0;
};

// Lines held as they are: the control list and the point list.
class GbkLineModel : public GbkListModel {
    Q_OBJECT
public:
    using GbkListModel::GbkListModel;

    int Count() const override { return static_cast<int>(lines_.size()); }
    std::string Line(int i) const override { return lines_[static_cast<std::size_t>(i)]; }
    const std::vector<std::string>& Lines() const { return lines_; }
    void Append(std::string line);
    void AppendAll(std::vector<std::string>&& lines);
    void Insert(int i, std::string line);
    void Remove(int i);
    // Keeps lines [0, count) and drops the rest in one step.
    void Truncate(int count);

private:
    std::vector<std::string> lines_;
};

// A list view of GBK lines on a byte grid: each character is drawn at its
// byte offset times the width of one Latin cell, so fixed columns line up
// whatever the font.
class GbkListView : public QListView {
    Q_OBJECT
public:
    // Shows model (made a child of the view), or lines of its own.
    explicit GbkListView(GbkListModel* model = nullptr, QWidget* parent = nullptr);
    GbkListModel* Model() const { return model_; }
    // The lines of its own; nullptr when it shows another model.
    GbkLineModel* LineModel() const { return lineModel_; }
    // Selected line, -1 when none.
    int Selection() const;
    void Select(int i);  // -1 clears the selection; raises no SelectionChanged
    QSize sizeHint() const override;
    // Lines shown marked (their own background and text colour) until the
    // lines change: any line added or removed clears every mark.
    void SetMarked(std::vector<int> lines);
    bool IsMarked(int i) const;
    const std::vector<int>& Marked() const { return marked_; }

signals:
    // The selection changed by the user's hand (or a test's): not by Select
    // and not by lines being added or removed.
    void SelectionChanged();

private:
    GbkListModel* model_;
    GbkLineModel* lineModel_ = nullptr;
    int quiet_ = 0;
    std::vector<int> marked_;  // ascending
};

}  // namespace vexaline::platform
