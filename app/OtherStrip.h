#pragma once
// The strip under the search box: what every other checked dictionary has
// for the search text, after a pause in typing; a click or Alt+digit opens
// that dictionary with the word, as Ctrl+Down does for the next one.
#include "app/WindowParts.h"
#include "library/Shelf.h"

#include <QFutureWatcher>
#include <QWidget>

class QHBoxLayout;
class QTimer;

namespace lexifol {

class OtherStrip : public QWidget
{
    Q_OBJECT
public:
    explicit OtherStrip(const WindowParts& w);
    ~OtherStrip() override;
    // Looks again now (tests, and after the catalogue changed).
    void refresh();
    const QList<ShelfHit>& hits() const { return hits_; }
    // Opens entry `i` of the strip with the search text.
    void choose(int i);

private:
    QList<ShelfEntry> others() const;
    void showHits(const QList<ShelfHit>& hits);

    WindowParts w_;
    Shelf shelf_;
    QTimer* pause_;
    QHBoxLayout* row_;
    QList<ShelfHit> hits_;
    QFutureWatcher<void> opening_;
};

} // namespace lexifol
