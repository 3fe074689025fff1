#pragma once
// A list view for very long lists of rows of one height: it keeps nothing per
// row and paints only the rows in view, straight from the model. A plain
// QListView lays every row out (two ints a row, rebuilt on every reset), so
// its own layout is passed over on purpose: QAbstractItemView is called.
#include <QHash>
#include <QListView>
#include <QStaticText>

namespace lexifol {

class UniformListView : public QListView
{
    Q_OBJECT
public:
    explicit UniformListView(QWidget* parent = nullptr);

    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;
    void reset() override;

protected:
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    bool event(QEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

private:
    int rowHeight() const;
    int rowCount() const;
    int visibleRows() const; // whole rows that fit

    // Rows are drawn as a list box draws them: a line of text, clipped at
    // the right edge. Laid-out texts of recent rows are kept, since typing
    // moves the selection among rows that were just drawn.
    const QStaticText& rowText(int row, const QModelIndex& index);
    void dropTexts();

    // Measured once per layout, not for every row drawn.
    mutable int rowHeight_ = 0;
    QHash<int, QStaticText> texts_;
};

} // namespace lexifol
