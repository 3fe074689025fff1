// The main window's behaviour: event handlers that call the rules of the
// layers below and apply their results to the controls.
#include "app/Unit1.h"
#include "app/About.h"
#include "app/Application.h"
#include "app/ListModels.h"
#include "config/Glyphs.h"
#include "config/Messages.h"
#include "config/shcut.h"
#include "index/Bookmarks.h"
#include "index/IndexOps.h"
#include "index/Lookup.h"
#include "library/Catalogue.h"
#include "library/Dictionary.h"
#include "library/KeyboardLayout.h"
#include "library/Profile.h"
#include "pageview/WebBrowser.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

using namespace lexifol;
using lexifol::glyphs::Glyph;

namespace {

QString executableFolder()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

} // namespace

QString TForm1::dictionaryFolder(const QString& name) const
{
    return DictionaryPaths{ProgramFolder, name}.folder();
}

void TForm1::startUp()
{
    SingleFileOnView = ExtraPageOnView = SkipSearchReplay = false;
    if (ProgramFolder.isEmpty())
        ProgramFolder = executableFolder();
    else if (!ProgramFolder.endsWith(u'/') && !ProgramFolder.endsWith(QDir::separator()))
        ProgramFolder += u'/';
    const QIcon appIcon = glyphs::icon(Glyph::App, 32);
    setWindowIcon(appIcon);
    QApplication::setWindowIcon(appIcon);
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    // The keys of the main window work wherever the focus is, also during
    // start-up.
    qApp->installEventFilter(this);

    loadCatalogue();
    int row = -1;
    for (int i = 0; i < ListView1->count() && row < 0; ++i) {
        if (ListView1->item(i)->checkState() == Qt::Checked)
            row = i;
    }
    openDictionaryAtStartUp(ListView1->count() > 0 ? qMax(row, 0) : -1);

    QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMaximized); });

    Settings = std::make_unique<ProfileFile>(ProgramFolder + QStringLiteral("Lexifol.ini"));
    BrowserMouse = Settings->readBool(QStringLiteral("Scroll"), QStringLiteral("Browser_Mouse"), false);
    LocateHeadwordOnPage = Settings->readBool(QStringLiteral("View"), QStringLiteral("LocateHeadword"), true);

    History.clear();
    historyModel_->setItemCount(History.size());
    EntryValueParts.clear();
    loadBookmarksFile();
    SpeedButton3->hide();
    SpeedButton4->hide();

    const QString intro = ProgramFolder + QStringLiteral("Intro/intro.htm");
    if (QFileInfo::exists(intro)) {
        SingleFileOnView = ExtraPageOnView = true;
        WebBrowser1->Navigate(intro);
    }
    showMessages(Dictionary.loadDerived(ProgramFolder, true));
    if (indexItemCount() > 0)
        selectIndexRow(0);
    // The user starts by typing a word.
    TntEdit3->setFocus(Qt::OtherFocusReason);
}

void TForm1::loadCatalogue()
{
    const QStringList discovered = DiscoverDictionaries(ProgramFolder + QStringLiteral("Data"));
    Dictionary.clear();
    SavedOrder.clear();
    if (const Result<QStringList> saved = LoadSavedOrder(QStringLiteral("diclist.dat")))
        SavedOrder = saved.value();
    for (const QString& name : MergeCatalogue(discovered, SavedOrder)) {
        auto* item = new QListWidgetItem(name, ListView1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    applyCheckMarks();
}

void TForm1::loadBookmarksFile()
{
    Bookmarks.clear();
    if (QFileInfo::exists(QStringLiteral("Bookmarks.dat"))) {
        const Result<QStringList> loaded = LoadBookmarks(QStringLiteral("Bookmarks.dat"));
        bookmarksUnusable_ = !loaded;
        if (loaded)
            Bookmarks = loaded.value();
    }
    bookmarkModel_->setItemCount(Bookmarks.size());
}

void TForm1::openDictionaryAtStartUp(int row)
{
    QListWidgetItem* item = row >= 0 ? ListView1->item(row) : nullptr;
    OpenRequest request{ProgramFolder, item ? item->text() : QString(), true, ListView1->count() == 0};
    const OpenOutcome outcome = Dictionary.open(request);
    if (outcome.opened) {
        ListView1->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
        ListView1->scrollToItem(item);
    }
    applyOpening(outcome);
}

void TForm1::applyOpening(const OpenOutcome& outcome)
{
    // The zoom chosen on another dictionary's pages does not fit this one.
    if (outcome.opened)
        WebBrowser1->resetZoom();
    if (outcome.keyboardLayout)
        LoadKeyboardLayout(*outcome.keyboardLayout);
    if (outcome.title)
        TntEdit1->setText(*outcome.title);
    if (outcome.findVisible)
        SpeedButton6->setVisible(*outcome.findVisible);
    if (outcome.annotationVisible)
        Image1->setVisible(*outcome.annotationVisible);
    setIndexItemCount(outcome.rowCount);
    showMessages(outcome.messages);
}

void TForm1::showMessages(const QStringList& messages)
{
    for (const QString& text : messages)
        ShowMessage(text, MsgIcon::Error, QStringLiteral("Lexifol"), this);
}

void TForm1::OpenDictionary()
{
    if (ListView1->count() == 0)
        return;
    QListWidgetItem* item = ListView1->currentItem();
    if (!item || !item->isSelected())
        return;
    const OpenOutcome outcome = Dictionary.open(OpenRequest{ProgramFolder, item->text(), false, false});
    if (!outcome.opened) {
        showMessages(outcome.messages);
        return;
    }
    applyOpening(outcome);
    if (indexItemCount() > 0)
        selectIndexRow(0);
    if (!SkipSearchReplay && !TntEdit3->text().isEmpty())
        replaySearchText();
    SkipSearchReplay = false;
}

void TForm1::replaySearchText()
{
    const QString text = TntEdit3->text();
    TntEdit3->setText(QString());
    TntEdit3->setText(text);
    if (indexItemCount() > 0 && selectedIndexRow() >= 0)
        ShowSelectedEntry();
}

bool TForm1::SelectDictionaryByName(const QString& name)
{
    for (int i = 0; i < ListView1->count(); ++i) {
        QListWidgetItem* item = ListView1->item(i);
        if (item->text().compare(name, Qt::CaseInsensitive) == 0) {
            ListView1->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
            ListView1->scrollToItem(item);
            return true;
        }
    }
    return false;
}

void TForm1::ActivateShortcut(int digit)
{
    if (!Settings || digit < 0 || digit > 9)
        return;
    const QString value = Settings->readString(QStringLiteral("Shortcuts"), QString::number(digit));
    if (value.isEmpty())
        return;
    if (SelectDictionaryByName(value))
        OpenDictionary();
}

int TForm1::catalogueCount() const
{
    return ListView1->count();
}

QString TForm1::catalogueName(int row) const
{
    QListWidgetItem* item = ListView1->item(row);
    return item ? item->text() : QString();
}

void TForm1::rebuildSavedOrder()
{
    QList<CatalogueEntry> entries;
    for (int i = 0; i < ListView1->count(); ++i)
        entries.append({ListView1->item(i)->text(), ListView1->item(i)->checkState() == Qt::Checked});
    SavedOrder = BuildSavedOrder(entries);
}

void TForm1::applyCheckMarks()
{
    for (int i = 0; i < ListView1->count(); ++i) {
        QListWidgetItem* item = ListView1->item(i);
        if (const auto mark = SavedCheckMark(SavedOrder, item->text()))
            item->setCheckState(*mark ? Qt::Checked : Qt::Unchecked);
    }
}

void TForm1::moveCatalogueEntry(int direction)
{
    rebuildSavedOrder();
    QListWidgetItem* item = ListView1->currentItem();
    if (!item || !item->isSelected())
        return;
    const int row = ListView1->row(item);
    const int target = row + direction;
    if (target < 0 || target >= ListView1->count())
        return;
    QListWidgetItem* other = ListView1->item(target);
    const QString a = item->text();
    item->setText(other->text());
    other->setText(a);
    ListView1->setCurrentItem(other, QItemSelectionModel::ClearAndSelect);
    ListView1->scrollToItem(other);
    applyCheckMarks();
}

int TForm1::indexItemCount() const
{
    return indexModel_->rowCount();
}

void TForm1::setIndexItemCount(int n)
{
    indexModel_->setItemCount(n);
}

int TForm1::selectedIndexRow() const
{
    return SelectedRow(TntListBox1);
}

void TForm1::selectIndexRow(int position)
{
    // One past the last row names no entry: nothing stays selected, so
    // Enter cannot show a page that does not hold the word.
    SelectRow(TntListBox1, position);
}

void TForm1::LookupSearchText()
{
    const QString text = TntEdit3->text();
    if (text.isEmpty())
        return;
    const int position = SearchRow(Dictionary.indexes(), text);
    if (position >= 0) {
        selectIndexRow(position);
        if (selectedIndexRow() >= 0)
            PreparePageTimer->start();
    }
}

void TForm1::showFirstPart(int row)
{
    EntryValueParts = row >= 0 ? SplitValue(FirstIndex.value(row)) : QStringList();
    if (EntryValueParts.isEmpty()) {
        ShowMessage(QString::fromUtf8(ListIndexError(0).what()), MsgIcon::Error,
                    QString::fromLatin1(kApplicationTitle));
        return;
    }
    ShowPage(EntryValueParts.at(0));
}

void TForm1::ShowSelectedEntry()
{
    if (indexItemCount() == 0)
        return;
    int row = selectedIndexRow();
    if (row < 0)
        return;
    const std::optional<int> target = FollowCrossReference(Dictionary.indexes(), row);
    if (!target)
        return;
    if (*target != row) {
        selectIndexRow(*target);
        row = selectedIndexRow();
    }
    showFirstPart(row);
}

void TForm1::LookUpPageWord(const QString& word)
{
    if (word.isEmpty())
        return;
    TntEdit3->setText(word);
    ShowSelectedEntry();
}

void TForm1::TntListBox1DblClick()
{
    if (indexItemCount() == 0 || selectedIndexRow() < 0)
        return;
    showFirstPart(selectedIndexRow());
}

void TForm1::RefreshSearchBox()
{
    TntEdit3->setFocus(Qt::OtherFocusReason);
    const QString text = TntEdit3->text();
    TntEdit3->setText(QString());
    TntEdit3->setText(text);
    TntEdit3->selectAll();
}

void TForm1::Image2Click()
{
    TntLabel1->setText(NormaliseHeadword(TntEdit3->text(), ReplacementList));
}

void TForm1::ShowPage(const QString& pageReference)
{
    ExtraPageOnView = false;
    const int row = indexItemCount() > 0 ? selectedIndexRow() : -1;
    QString word = row >= 0 ? typedWordFor(row) : QString();
    if (word.isEmpty() && row >= 0)
        word = FirstIndex.headword(row).toString();
    if (composeAndShow(pageReference, true, word) && row >= 0)
        AddHistoryEntry();
}

CompositionInput TForm1::compositionFor(const QString& pageReference, bool annotationCase) const
{
    CompositionInput in;
    in.programFolder = ProgramFolder;
    in.dictionary = CurrentDictionary;
    in.wholeFile = WholeFile;
    in.pluginParameters = PluginParameters;
    in.pageReference = pageReference;
    in.annotationCase = annotationCase;
    return in;
}

bool TForm1::composeAndShow(const QString& pageReference, bool annotationCase, const QString& word)
{
    try {
        const CompositionInput in = compositionFor(pageReference, annotationCase);
        PageViewState state{SingleFileOnView, ExtraPageOnView};
        const PageViewRequest request = ComposePageRequest(in, state);
        const QString line = ComposePageLine(in, state);
        SingleFileOnView = state.singleFileOnView;
        // The file is what users and tools may read; the viewer gets the
        // request itself, with the real path the 8-bit file may not spell.
        if (!WritePageViewFile(request.viewFile, line))
            return false;
        const bool annotation = annotationCase && pageReference == QLatin1StringView("Annotation");
        if (LocateHeadwordOnPage && !annotation && !word.isEmpty())
            WebBrowser1->LocateWord(word);
        WebBrowser1->Show(request);
        return true;
    } catch (...) {
        // A page that cannot be shown leaves the view as it was.
        return false;
    }
}

void TForm1::Image1Click()
{
    const DictionaryPaths paths{ProgramFolder, CurrentDictionary};
    if (QFileInfo::exists(paths.annotationDjvu())) {
        ShowPage(QStringLiteral("Annotation"));
    } else if (QFileInfo::exists(paths.annotationHtm())) {
        SingleFileOnView = ExtraPageOnView = true;
        WebBrowser1->Navigate(paths.annotationHtm());
    }
}

void TForm1::LexifolHelp1Click()
{
    SingleFileOnView = ExtraPageOnView = true;
    WebBrowser1->Navigate(ProgramFolder + QStringLiteral("Help/main.htm"));
}

void TForm1::KeyboardLayout1Click()
{
    const QByteArray id = ActiveKeyboardLayoutName();
    if (id.isEmpty())
        return;
    ShowMessage(QString::fromLatin1(id), MsgIcon::Information, QStringLiteral("Current keyboard layout:"), this);
}

void TForm1::Shutdown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    setIndexItemCount(0);
    Dictionary.clear();
    rebuildSavedOrder();
    reportSave(QStringLiteral("diclist.dat"), SaveSavedOrder(QStringLiteral("diclist.dat"), SavedOrder));
    SaveBookmarksFile();
    SavedOrder.clear();
}

void TForm1::SaveBookmarksFile()
{
    const QString path = QStringLiteral("Bookmarks.dat");
    // A bookmarks file that could not be read is kept beside the new one:
    // the user's bookmarks are never overwritten unseen.
    if (bookmarksUnusable_) {
        if (!SetUnusableFileAside(path)) {
            reportSave(path, Status::failure(QStringLiteral("the unreadable file could not be renamed")));
            return;
        }
        bookmarksUnusable_ = false;
    }
    reportSave(path, SaveBookmarks(path, Bookmarks));
}

void TForm1::reportSave(const QString& path, const Status& result)
{
    const QString text = saveReport_.message(path, result);
    if (!text.isEmpty())
        ShowMessage(text, MsgIcon::Error, QStringLiteral("Lexifol"), this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (commandKeyFilter(watched, event))
        return true;
    if (watched == TntListBox3 && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        TntListBox3KeyDown();
        return true;
    }
    if (watched == Panel1 && event->type() == QEvent::Resize)
        Image1->move(Panel1->width() - Image1->width() - 6, 4);
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent* e)
{
    Shutdown();
    if (aboutBox_)
        aboutBox_->hide();
    if (form2_)
        form2_->hide();
    e->accept();
    QApplication::quit();
}
