// The main window's history and bookmarks: handlers that call the two
// models and show them in their list boxes and buttons.
#include "app/ListModels.h"
#include "app/StatusLine.h"
#include "app/MainWindow.h"
#include "index/Bookmarks.h"
#include "base/CodePage.h"

#include <QListView>
#include <QListWidget>
#include <QToolButton>

using namespace lexifol;

namespace {

// The item count is set with the box disabled around the change.
void setCount(QListView* box, VirtualListModel* model, qsizetype n)
{
    box->setEnabled(false);
    model->setItemCount(int(n));
    box->setEnabled(true);
}

} // namespace

void MainWindow::showEntryLists()
{
    setCount(historyList, historyModel_, History.size());
    SelectRow(historyList, History.position());
    setCount(bookmarkList, bookmarkModel_, Bookmarks.size());
    const NavButtons b = History.buttons();
    backButton->setVisible(b.back);
    forwardButton->setVisible(b.forward);
}

void MainWindow::AddHistoryEntry()
{
    const int row = selectedIndexRow();
    // The dictionary name as the 8-bit catalogue holds it.
    const QString dictionary = Ansi().decode(Ansi().encode(CurrentDictionary));
    History.add(MakeEntry(EntryWord(Dictionary, row, searchBox->text()), dictionary));
    showEntryLists();
}

void MainWindow::stepHistory(const HistoryStep& step)
{
    if (!step.act)
        return;
    SelectRow(historyList, step.select);
    if (step.open)
        openHistoryEntry();
    backButton->setVisible(step.buttons.back);
    forwardButton->setVisible(step.buttons.forward);
}

void MainWindow::openEntryLine(const QStringList& list, int row)
{
    if (list.isEmpty() || row < 0 || row >= list.size())
        return;
    ShowHeadword(EntryHeadword(list.at(row)), Ansi().encode(EntryDictionary(list.at(row))));
}

void MainWindow::openHistoryEntry()
{
    openEntryLine(History.entries(), History.position());
}

void MainWindow::openBookmark()
{
    openEntryLine(Bookmarks.entries(), SelectedRow(bookmarkList));
}

void MainWindow::addBookmark()
{
    const int row = indexItemCount() > 0 ? selectedIndexRow() : -1;
    if (row < 0)
        return;
    const QString dictionary = Ansi().decode(Ansi().encode(CurrentDictionary));
    const Status saved = Bookmarks.add(MakeEntry(EntryWord(Dictionary, row, searchBox->text()), dictionary));
    setCount(bookmarkList, bookmarkModel_, Bookmarks.size());
    reportSave(Bookmarks.path(), saved);
}

void MainWindow::deleteSelectedBookmark()
{
    const int row = SelectedRow(bookmarkList);
    if (Bookmarks.isEmpty() || row < 0)
        return;
    int next = -1;
    const Status saved = Bookmarks.remove(row, &next);
    setCount(bookmarkList, bookmarkModel_, Bookmarks.size());
    if (!Bookmarks.isEmpty()) {
        SelectRow(bookmarkList, next);
        bookmarkList->setFocus(Qt::OtherFocusReason);
    }
    reportSave(Bookmarks.path(), saved);
}

void MainWindow::ClearBookmarks()
{
    const QStringList cleared = Bookmarks.entries();
    const Status saved = Bookmarks.clear();
    setCount(bookmarkList, bookmarkModel_, 0);
    reportSave(Bookmarks.path(), saved);
    if (cleared.isEmpty())
        return;
    // Immediate, and undone as quickly (Ctrl+Z or the button).
    StatusText->offerUndo((cleared.size() == 1 ? QStringLiteral("1 bookmark cleared")
                                                 : QStringLiteral("%1 bookmarks cleared").arg(cleared.size())), [this, cleared] {
        const lexifol::Status back = Bookmarks.restore(cleared);
        setCount(bookmarkList, bookmarkModel_, Bookmarks.size());
        reportSave(Bookmarks.path(), back);
    });
}

void MainWindow::ShowHeadword(const QString& headword, const QByteArray& dictionary)
{
    ExtraPageOnView = false;
    openHeadword(headword, dictionary);
    SkipSearchReplay = false;
}

void MainWindow::openHeadword(const QString& headword, const QByteArray& dictionary)
{
    if (dictionary.isEmpty() || headword.isEmpty() || Catalogue.current() < 0)
        return;
    if (dictionary != Ansi().encode(CurrentDictionary)) {
        if (!SelectDictionaryByName(Ansi().decode(dictionary))) {
            StatusText->say(QStringLiteral("The dictionary \"%1\" is not installed").arg(Ansi().decode(dictionary)));
            return;
        }
        SkipSearchReplay = true;
        OpenDictionary();
    }
    const std::optional<Hit> hit = HeadwordHit(Dictionary, headword);
    if (!hit)
        return;
    // The search box follows what is shown: Alt+digit, the strip and the
    // next Enter then mean this word, not the one typed before.
    searchBox->setText(hit->entryWord);
    selectIndexRow(hit->row);
    if (indexItemCount() == 0 || selectedIndexRow() < 0)
        return;
    composeAndShow(hit->page, false, hit->mark);
}
