#include "app/ListModels.h"
#include "index/Bookmarks.h"

namespace lexifol {

namespace {
const QString kError = QStringLiteral("error");
}

QVariant IndexListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= list_.count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        ++fetched_;
        const QStringView h = list_.headword(index.row());
        return h.isEmpty() ? kError : h.toString();
    }
    if (role == Qt::ToolTipRole) // a headword the narrow list cuts off
        return list_.headword(index.row()).toString();
    if (role == Qt::SizeHintRole)
        return QSize(1, kIndexRowHeight);
    return {};
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= list_.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        const QString h = EntryHeadword(list_.at(index.row()));
        return h.isEmpty() ? kError : h;
    }
    if (role == Qt::ToolTipRole)
        return EntryDictionary(list_.at(index.row()));
    return {};
}

int SelectedRow(const QAbstractItemView* box)
{
    const QItemSelectionModel* sel = box->selectionModel();
    const QModelIndex cur = sel->currentIndex();
    if (cur.isValid() && sel->isSelected(cur))
        return cur.row();
    const QModelIndexList rows = sel->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SelectRow(QAbstractItemView* box, int row)
{
    QItemSelectionModel* sel = box->selectionModel();
    if (row < 0 || row >= box->model()->rowCount()) {
        sel->clearSelection();
        sel->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    const QModelIndex idx = box->model()->index(row, 0);
    sel->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect);
    box->scrollTo(idx, QAbstractItemView::EnsureVisible);
}

} // namespace lexifol
