#pragma once
// Virtual list models: they hold no texts and ask the list for a row only when
// the view draws it, so a million entries cost nothing to show.
#include "index/IndexList.h"
#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QSize>
#include <QStringList>

namespace lexifol {

// The row count is set from outside, as the item count of a list box.
class VirtualListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    void setItemCount(int n)
    {
        beginResetModel();
        count_ = n;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : count_; }

private:
    int count_ = 0;
};

// Headwords of an index list.
class IndexListModel : public VirtualListModel
{
public:
    explicit IndexListModel(const IndexList& list, QObject* parent = nullptr)
        : VirtualListModel(parent)
        , list_(list)
    { }
    QVariant data(const QModelIndex& index, int role) const override;
    // How many row texts the view has asked for so far.
    quint64 textsFetched() const { return fetched_; }

private:
    const IndexList& list_;
    mutable quint64 fetched_ = 0;
};

// Headwords of history or bookmark lines.
class EntryListModel : public VirtualListModel
{
public:
    explicit EntryListModel(const QStringList& list, QObject* parent = nullptr)
        : VirtualListModel(parent)
        , list_(list)
    { }
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const QStringList& list_;
};

inline constexpr int kIndexRowHeight = 14;

// The selected row of a single-selection list, or -1.
int SelectedRow(const QAbstractItemView* box);
// Selects and shows a row; a row outside the list clears the selection.
void SelectRow(QAbstractItemView* box, int row);

} // namespace lexifol
