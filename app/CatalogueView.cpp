#include "app/CatalogueView.h"
#include "library/Catalogue.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QToolButton>

namespace lexifol {

CatalogueView::CatalogueView(QListWidget* list, QToolButton* up, QToolButton* down, Catalogue& catalogue,
                             QObject* parent)
    : QObject(parent)
    , list_(list)
    , catalogue_(catalogue)
{
    connect(list, &QListWidget::itemDoubleClicked, this, &CatalogueView::openRequested);
    connect(list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        catalogue_.setChecked(list_->row(item), item->checkState() == Qt::Checked);
    });
    connect(list, &QListWidget::itemSelectionChanged, this, [this] {
        QListWidgetItem* item = list_->currentItem();
        catalogue_.setCurrent(item && item->isSelected() ? list_->row(item) : -1);
    });
    const auto move = [this](int direction) {
        if (catalogue_.moveCurrent(direction))
            show();
    };
    connect(up, &QToolButton::clicked, this, [move] { move(-1); });
    connect(down, &QToolButton::clicked, this, [move] { move(+1); });
}

void CatalogueView::show()
{
    const QSignalBlocker block(list_);
    list_->clear();
    for (int i = 0; i < catalogue_.count(); ++i) {
        auto* item = new QListWidgetItem(catalogue_.name(i), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(catalogue_.checked(i) ? Qt::Checked : Qt::Unchecked);
    }
    if (catalogue_.current() >= 0)
        select(catalogue_.current());
}

void CatalogueView::select(int row)
{
    catalogue_.setCurrent(row);
    if (QListWidgetItem* item = list_->item(row)) {
        list_->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
        list_->scrollToItem(item);
    }
}

bool CatalogueView::select(const QString& name)
{
    const int row = catalogue_.find(name);
    if (row >= 0)
        select(row);
    return row >= 0;
}

} // namespace lexifol
