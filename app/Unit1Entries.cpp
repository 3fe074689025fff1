// The main window's history and bookmarks: handlers that call the two
// models and show them in their list boxes and buttons.
#include "app/ListModels.h"
#include "app/StatusLine.h"
#include "app/Unit1.h"
#include "index/Bookmarks.h"
#include "index/CodePage.h"

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

void TForm1::showEntryLists()
{
    setCount(TntListBox2, historyModel_, History.size());
    SelectRow(TntListBox2, History.position());
    setCount(TntListBox3, bookmarkModel_, Bookmarks.size());
    const NavButtons b = History.buttons();
    SpeedButton3->setVisible(b.back);
    SpeedButton4->setVisible(b.forward);
}

void TForm1::AddHistoryEntry()
{
    const int row = selectedIndexRow();
    // The dictionary name as the 8-bit catalogue holds it.
    const QString dictionary = Ansi().decode(Ansi().encode(CurrentDictionary));
    History.add(MakeEntry(EntryWord(Dictionary, row, TntEdit3->text()), dictionary));
    showEntryLists();
}

void TForm1::stepHistory(const HistoryStep& step)
{
    if (!step.act)
        return;
    SelectRow(TntListBox2, step.select);
    if (step.open)
        TntListBox2DblClick();
    SpeedButton3->setVisible(step.buttons.back);
    SpeedButton4->setVisible(step.buttons.forward);
}

void TForm1::openEntryLine(const QStringList& list, int row)
{
    if (list.isEmpty() || row < 0 || row >= list.size())
        return;
    ShowHeadword(EntryHeadword(list.at(row)), Ansi().encode(EntryDictionary(list.at(row))));
}

void TForm1::TntListBox2DblClick()
{
    openEntryLine(History.entries(), History.position());
}

void TForm1::TntListBox3DblClick()
{
    openEntryLine(Bookmarks.entries(), SelectedRow(TntListBox3));
}

void TForm1::SpeedButton5Click()
{
    const int row = indexItemCount() > 0 ? selectedIndexRow() : -1;
    if (row < 0)
        return;
    const QString dictionary = Ansi().decode(Ansi().encode(CurrentDictionary));
    const Status saved = Bookmarks.add(MakeEntry(EntryWord(Dictionary, row, TntEdit3->text()), dictionary));
    setCount(TntListBox3, bookmarkModel_, Bookmarks.size());
    reportSave(Bookmarks.path(), saved);
}

void TForm1::TntListBox3KeyDown()
{
    const int row = SelectedRow(TntListBox3);
    if (Bookmarks.isEmpty() || row < 0)
        return;
    int next = -1;
    const Status saved = Bookmarks.remove(row, &next);
    setCount(TntListBox3, bookmarkModel_, Bookmarks.size());
    if (!Bookmarks.isEmpty()) {
        SelectRow(TntListBox3, next);
        TntListBox3->setFocus(Qt::OtherFocusReason);
    }
    reportSave(Bookmarks.path(), saved);
}

void TForm1::ClearBookmarks()
{
    const QStringList cleared = Bookmarks.entries();
    const Status saved = Bookmarks.clear();
    setCount(TntListBox3, bookmarkModel_, 0);
    reportSave(Bookmarks.path(), saved);
    if (cleared.isEmpty())
        return;
    // Immediate, and undone as quickly (Ctrl+Z or the button).
    StatusText->offerUndo((cleared.size() == 1 ? QStringLiteral("1 bookmark cleared")
                                                 : QStringLiteral("%1 bookmarks cleared").arg(cleared.size())), [this, cleared] {
        const lexifol::Status back = Bookmarks.restore(cleared);
        setCount(TntListBox3, bookmarkModel_, Bookmarks.size());
        reportSave(Bookmarks.path(), back);
    });
}

void TForm1::ShowHeadword(const QString& headword, const QByteArray& dictionary)
{
    ExtraPageOnView = false;
    openHeadword(headword, dictionary);
    SkipSearchReplay = false;
}

void TForm1::openHeadword(const QString& headword, const QByteArray& dictionary)
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
    selectIndexRow(hit->row);
    if (indexItemCount() == 0 || selectedIndexRow() < 0)
        return;
    composeAndShow(hit->page, false, hit->mark);
}
