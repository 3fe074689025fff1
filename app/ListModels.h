#pragma once
// Virtual list models: they hold no texts and ask the list for a row only when
// the view draws it, so a million entries cost nothing to show.
#include "index/IndexList.h"
#include <QAbstractListModel>
#include <QSize>
#include <QStringList>

namespace lexifol {

class IndexListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit IndexListModel(const IndexList& list, QObject* parent = nullptr)
        : QAbstractListModel(parent), list_(list) {}

    // The row count changes only here, as the item count of the list box.
    void setItemCount(int n)
    {
        beginResetModel();
        count_ = n;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : count_;
    }
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const IndexList& list_;
    int count_ = 0;
};

class EntryListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit EntryListModel(const QStringList& list, QObject* parent = nullptr)
        : QAbstractListModel(parent), list_(list) {}
    void setItemCount(int n)
    {
        beginResetModel();
        count_ = n;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : count_;
    }
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const QStringList& list_;
    int count_ = 0;
};

inline constexpr int kIndexRowHeight = 14;

} // namespace lexifol
