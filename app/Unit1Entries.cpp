// The main window's history and bookmarks: handlers that apply the list
// rules of the index layer to the two list boxes and the buttons.
#include "app/ListModels.h"
#include "app/Unit1.h"
#include "index/Bookmarks.h"
#include "index/CodePage.h"
#include "index/EntryLists.h"
#include "index/Lookup.h"

#include <QItemSelectionModel>
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

QString TForm1::typedWordFor(int row) const
{
    // A page index names pages, not words: the word looked up is the one
    // typed, as long as the row is where it lands.
    const QString typed = TntEdit3->text();
    if (Dictionary.pageIndex && !typed.isEmpty() && SearchRow(Dictionary.indexes(), typed) == row)
        return typed;
    return QString();
}

QString TForm1::selectedEntryText() const
{
    const int row = selectedIndexRow();
    QString word = typedWordFor(row);
    if (word.isEmpty())
        word = TntListBox1->model()->index(row, 0).data(Qt::DisplayRole).toString();
    // The dictionary name as the 8-bit catalogue holds it.
    const QString dictionary = Ansi().decode(Ansi().encode(CurrentDictionary));
    return MakeEntry(word, dictionary);
}

void TForm1::applyButtons(const NavButtons& b)
{
    SpeedButton3->setVisible(b.back);
    SpeedButton4->setVisible(b.forward);
}

void TForm1::AddHistoryEntry()
{
    const QString entry = selectedEntryText();
    TntListBox2->setEnabled(false);
    const int newest = AppendHistory(History, entry);
    setCount(TntListBox2, historyModel_, History.size());
    SelectRow(TntListBox2, newest);
    applyButtons(ButtonsFor(int(History.size()), SelectedRow(TntListBox2)));
}

void TForm1::stepHistory(const HistoryStep& step)
{
    if (!step.act)
        return;
    SelectRow(TntListBox2, step.select);
    if (step.open)
        TntListBox2DblClick();
    applyButtons(step.buttons);
}

void TForm1::HistoryBack()
{
    stepHistory(StepBack(int(History.size()), SelectedRow(TntListBox2)));
}

void TForm1::HistoryForward()
{
    stepHistory(StepForward(int(History.size()), SelectedRow(TntListBox2)));
}

void TForm1::openEntryLine(const QStringList& list, const QListView* box)
{
    const int row = SelectedRow(box);
    if (list.isEmpty() || row < 0 || row >= list.size())
        return;
    ShowHeadword(EntryHeadword(list.at(row)), Ansi().encode(EntryDictionary(list.at(row))));
}

void TForm1::TntListBox2DblClick()
{
    openEntryLine(History, TntListBox2);
}

void TForm1::TntListBox3DblClick()
{
    openEntryLine(Bookmarks, TntListBox3);
}

void TForm1::SpeedButton5Click()
{
    if (indexItemCount() == 0 || selectedIndexRow() < 0)
        return;
    Bookmarks.append(selectedEntryText());
    setCount(TntListBox3, bookmarkModel_, Bookmarks.size());
    SaveBookmarksFile();
}

void TForm1::TntListBox3KeyDown()
{
    const int row = SelectedRow(TntListBox3);
    if (Bookmarks.isEmpty() || row < 0)
        return;
    const int next = DeleteEntry(Bookmarks, row);
    setCount(TntListBox3, bookmarkModel_, Bookmarks.size());
    if (!Bookmarks.isEmpty()) {
        SelectRow(TntListBox3, next);
        TntListBox3->setFocus(Qt::OtherFocusReason);
    }
    SaveBookmarksFile();
}

void TForm1::ClearBookmarks()
{
    Bookmarks.clear();
    setCount(TntListBox3, bookmarkModel_, 0);
    SaveBookmarksFile();
}

void TForm1::ShowHeadword(const QString& headword, const QByteArray& dictionary)
{
    ExtraPageOnView = false;
    try {
        openHeadword(headword, dictionary);
    } catch (...) {
        // Opening an entry never asks or tells the user anything.
    }
    SkipSearchReplay = false;
}

void TForm1::openHeadword(const QString& headword, const QByteArray& dictionary)
{
    const QListWidgetItem* current = ListView1->currentItem();
    if (dictionary.isEmpty() || headword.isEmpty() || !current || !current->isSelected())
        return;
    if (dictionary != Ansi().encode(CurrentDictionary)) {
        if (!SelectDictionaryByName(Ansi().decode(dictionary)))
            return;
        SkipSearchReplay = true;
        OpenDictionary();
    }
    const std::optional<int> row = FindExactRow(Dictionary.indexes(), headword);
    if (!row)
        return;
    selectIndexRow(*row);
    if (indexItemCount() == 0 || selectedIndexRow() < 0)
        return;
    const std::optional<QString> page = EntryPage(FirstIndex, selectedIndexRow());
    if (!page || page->isEmpty())
        return;
    composeAndShow(*page, false, Dictionary.pageIndex ? headword : FirstIndex.headword(selectedIndexRow()).toString());
}
