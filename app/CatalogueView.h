#pragma once
// The list of installed dictionaries: the catalogue shown with its check
// boxes, which write back, its selection, and its order moved by the
// buttons beside it.
#include <QObject>

class QListWidget;
class QToolButton;

namespace lexifol {

class Catalogue;

class CatalogueView : public QObject
{
    Q_OBJECT
public:
    CatalogueView(QListWidget* list, QToolButton* up, QToolButton* down, Catalogue& catalogue, QObject* parent);
    void show(); // the catalogue as it is now
    void select(int row);
    bool select(const QString& name); // case ignored; false when none is called so

signals:
    void openRequested(); // a double click

private:
    QListWidget* list_;
    Catalogue& catalogue_;
};

} // namespace lexifol
