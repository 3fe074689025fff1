#include "app/EntryLists.h"
#include "app/ListModels.h"
#include "app/MainControls.h"
#include "app/StatusLine.h"
#include "base/CodePage.h"
#include "index/Bookmarks.h"
#include "app/MainWidgets.h"
#include "index/Lookup.h"
#include "library/WordLookup.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QToolButton>

namespace lexifol {

namespace {

// The item count is set with the box disabled around the change.
void SetCount(QListView* box, VirtualListModel* model, qsizetype n)
{
    box->setEnabled(false);
    model->setItemCount(int(n));
    box->setEnabled(true);
}

} // namespace

EntryLists::EntryLists(const WindowParts& w)
    : QObject(&w.window)
    , w_(w)
    , historyModel_(new EntryListModel(w.state.history.entries(), this))
    , bookmarkModel_(new EntryListModel(w.state.bookmarks.entries(), this))
{
    MainControls& ui = w_.ui;
    ui.historyList->setModel(historyModel_);
    ui.bookmarkList->setModel(bookmarkModel_);
    connect(ui.historyList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { w_.state.history.setPosition(SelectedRow(w_.ui.historyList)); });
    connect(ui.historyList, &QListView::doubleClicked, this, [this] { openHistoryEntry(); });
    connect(ui.bookmarkList, &QListView::doubleClicked, this,
            [this] { openLine(w_.state.bookmarks.entries(), SelectedRow(w_.ui.bookmarkList)); });
    connect(ui.backButton, &QToolButton::clicked, this, [this] { stepHistory(true); });
    connect(ui.forwardButton, &QToolButton::clicked, this, [this] { stepHistory(false); });
    connect(ui.addBookmarkButton, &QToolButton::clicked, this, [this] { addBookmark(); });
    ui.bookmarkList->installEventFilter(this);
}

void EntryLists::show()
{
    SetCount(w_.ui.historyList, historyModel_, w_.state.history.size());
    SelectRow(w_.ui.historyList, w_.state.history.position());
    showBookmarkCount();
    const NavButtons b = w_.state.history.buttons();
    w_.ui.backButton->setVisible(b.back);
    w_.ui.forwardButton->setVisible(b.forward);
}

void EntryLists::showBookmarkCount()
{
    SetCount(w_.ui.bookmarkList, bookmarkModel_, w_.state.bookmarks.size());
}

QString EntryLists::selectedEntry() const
{
    // The dictionary name as the 8-bit catalogue holds it.
    const QString dictionary = Ansi().decode(Ansi().encode(w_.state.dictionary.name));
    return MakeEntry(EntryWord(w_.state.dictionary, w_.act.selectedIndexRow(), w_.ui.searchBox->text()), dictionary);
}

void EntryLists::addToHistory()
{
    w_.state.history.add(selectedEntry());
    show();
}

void EntryLists::stepHistory(bool back)
{
    const HistoryStep step = back ? w_.state.history.back() : w_.state.history.forward();
    if (!step.act)
        return;
    SelectRow(w_.ui.historyList, step.select);
    if (step.open)
        openHistoryEntry();
    w_.ui.backButton->setVisible(step.buttons.back);
    w_.ui.forwardButton->setVisible(step.buttons.forward);
}

void EntryLists::openLine(const QStringList& list, int row)
{
    if (list.isEmpty() || row < 0 || row >= list.size())
        return;
    emit openRequested(EntryHeadword(list.at(row)), Ansi().encode(EntryDictionary(list.at(row))));
}

void EntryLists::openHistoryEntry()
{
    openLine(w_.state.history.entries(), w_.state.history.position());
}

void EntryLists::addBookmark()
{
    if (w_.act.indexRowCount() == 0 || w_.act.selectedIndexRow() < 0)
        return;
    const Status saved = w_.state.bookmarks.add(selectedEntry());
    showBookmarkCount();
    emit this->saved(w_.state.bookmarks.path(), saved);
}

void EntryLists::deleteSelectedBookmark()
{
    Bookmarks& bookmarks = w_.state.bookmarks;
    const int row = SelectedRow(w_.ui.bookmarkList);
    if (bookmarks.isEmpty() || row < 0)
        return;
    int next = -1;
    const Status done = bookmarks.remove(row, &next);
    showBookmarkCount();
    if (!bookmarks.isEmpty()) {
        SelectRow(w_.ui.bookmarkList, next);
        w_.ui.bookmarkList->setFocus(Qt::OtherFocusReason);
    }
    emit saved(bookmarks.path(), done);
}

void EntryLists::clearBookmarks()
{
    const QStringList cleared = w_.state.bookmarks.entries();
    const Status done = w_.state.bookmarks.clear();
    showBookmarkCount();
    emit saved(w_.state.bookmarks.path(), done);
    if (cleared.isEmpty())
        return;
    // Immediate, and undone as quickly (Ctrl+Z or the button).
    const int n = int(cleared.size());
    w_.ui.status->offerUndo(n == 1 ? tr("1 bookmark cleared") : tr("%n bookmarks cleared", nullptr, n),
                            [this, cleared] {
                                const Status back = w_.state.bookmarks.restore(cleared);
                                showBookmarkCount();
                                emit saved(w_.state.bookmarks.path(), back);
                            });
}

bool EntryLists::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == w_.ui.bookmarkList && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteSelectedBookmark();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lexifol
