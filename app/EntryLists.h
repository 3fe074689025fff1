#pragma once
// The history and bookmark lists: the entries the window's lookups add to
// them, and the entries opened from them.
#include "app/WindowParts.h"
#include "base/Status.h"

#include <QObject>

namespace lexifol {

class EntryListModel;

class EntryLists : public QObject
{
    Q_OBJECT
public:
    explicit EntryLists(const WindowParts& w);
    void show();         // both lists, and the Back and Forward buttons
    void addToHistory(); // the selected index entry, as shown
    void stepHistory(bool back);
    void addBookmark();    // the selected index entry
    void clearBookmarks(); // undone from the status bar or by Ctrl+Z

signals:
    // An entry chosen: the window switches dictionaries when needed.
    void openRequested(const QString& headword, const QByteArray& dictionary);
    void saved(const QString& path, const lexifol::Status& result);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openLine(const QStringList& list, int row);
    void openHistoryEntry();
    void deleteSelectedBookmark();
    void showBookmarkCount();
    QString selectedEntry() const;

    WindowParts w_;
    EntryListModel* historyModel_;
    EntryListModel* bookmarkModel_;
};

} // namespace lexifol
