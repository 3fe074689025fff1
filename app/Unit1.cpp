// The main window's behaviour: event handlers that call the services below
// and apply their results to the controls.
#include "app/Unit1.h"
#include "app/Application.h"
#include "app/ListModels.h"
#include "app/StatusLine.h"
#include "app/WindowExtras.h"
#include "app/WindowKeys.h"
#include "config/Messages.h"
#include "index/IndexOps.h"
#include "index/Lookup.h"
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
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

using namespace lexifol;

void TForm1::startUp()
{
    SingleFileOnView = ExtraPageOnView = SkipSearchReplay = false;
    ApplyProgramIcon(this);
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    // The keys of the main window work wherever the focus is, also during
    // start-up.
    qApp->installEventFilter(this);

    Dictionary.clear();
    showCatalogue();
    openDictionaryAtStartUp(Catalogue.count() > 0 ? qMax(Catalogue.firstChecked(), 0) : -1);

    QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMaximized); });

    Settings = std::make_unique<ProfileFile>(Places.settingsFile());
    const ViewSettings view = ReadViewSettings(*Settings);
    BrowserMouse = view.browserMouse;
    LocateHeadwordOnPage = view.locateHeadword;
    WebBrowser1->setContinuous(view.continuous);
    indexCache_.setBudget(view.cacheBytes);

    History.clear();
    Bookmarks.load(Places.bookmarksFile());
    showEntryLists();
    SpeedButton3->hide();
    SpeedButton4->hide();

    if (QFileInfo::exists(Places.introPage())) {
        SingleFileOnView = ExtraPageOnView = true;
        WebBrowser1->Navigate(Places.introPage());
    }
    showMessages(Dictionary.loadDerived(ProgramFolder, true));
    if (indexItemCount() > 0)
        selectIndexRow(0);
    // The user starts by typing a word.
    TntEdit3->setFocus(Qt::OtherFocusReason);
}

void TForm1::showCatalogue()
{
    const QSignalBlocker block(ListView1);
    ListView1->clear();
    for (int i = 0; i < Catalogue.count(); ++i) {
        auto* item = new QListWidgetItem(Catalogue.name(i), ListView1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Catalogue.checked(i) ? Qt::Checked : Qt::Unchecked);
    }
    if (Catalogue.current() >= 0)
        selectCatalogueRow(Catalogue.current());
}

void TForm1::selectCatalogueRow(int row)
{
    Catalogue.setCurrent(row);
    if (QListWidgetItem* item = ListView1->item(row)) {
        ListView1->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
        ListView1->scrollToItem(item);
    }
}

QString TForm1::dictionaryRoot(const QString& name) const
{
    const int row = Catalogue.find(name);
    return row >= 0 ? Catalogue.root(row) : Places.userRoot();
}

void TForm1::openDictionaryAtStartUp(int row)
{
    const QString name = row >= 0 ? Catalogue.name(row) : QString();
    const QString root = row >= 0 ? Catalogue.root(row) : ProgramFolder;
    const OpenOutcome outcome = Dictionary.open({root, name, true, Catalogue.count() == 0});
    if (outcome.opened) {
        ProgramFolder = root;
        selectCatalogueRow(row);
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
    if (outcome.title) {
        // A long title shows its beginning, the whole in the tooltip.
        TntEdit1->setText(*outcome.title);
        TntEdit1->setCursorPosition(0);
        TntEdit1->setToolTip(*outcome.title);
    }
    if (outcome.findVisible)
        SpeedButton6->setVisible(*outcome.findVisible);
    if (outcome.annotationVisible)
        Image1->setVisible(*outcome.annotationVisible);
    indexModel_->setItemCount(outcome.rowCount);
    if (outcome.opened && outcome.rowCount == 0) {
        // Nothing of the previous dictionary stays on view.
        const QString empty = QStringLiteral("The index of %1 holds no entries.").arg(CurrentDictionary);
        WebBrowser1->ShowNotice(empty);
        StatusText->say(empty, 0);
    }
    showMessages(outcome.messages);
}

void TForm1::showMessages(const QStringList& messages)
{
    for (const QString& text : messages)
        ShowMessage(text, MsgIcon::Error, QStringLiteral("Lexifol"), this);
}

void TForm1::openAnother()
{
    const int row = Catalogue.firstChecked() >= 0 ? Catalogue.firstChecked() : (Catalogue.count() > 0 ? 0 : -1);
    if (row >= 0) {
        selectCatalogueRow(row);
        OpenDictionary();
        return;
    }
    Dictionary.clear();
    Dictionary.name.clear();
    Dictionary.title.clear();
    indexModel_->setItemCount(0);
    TntEdit1->clear();
    WebBrowser1->ShowNotice(QStringLiteral("No dictionary is installed."));
}

void TForm1::OpenDictionary()
{
    if (Catalogue.count() == 0 || Catalogue.current() < 0)
        return;
    const QString root = Catalogue.root(Catalogue.current());
    const OpenOutcome outcome = Dictionary.open({root, Catalogue.name(Catalogue.current()), false, false});
    if (!outcome.opened) {
        showMessages(outcome.messages);
        return;
    }
    ProgramFolder = root;
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
    const int row = Catalogue.find(name);
    if (row < 0)
        return false;
    selectCatalogueRow(row);
    return true;
}

void TForm1::ActivateShortcut(int digit)
{
    const int row = Settings ? Catalogue.shortcutRow(*Settings, digit) : -1;
    if (row < 0)
        return;
    selectCatalogueRow(row);
    OpenDictionary();
}

void TForm1::moveCatalogueEntry(int direction)
{
    if (Catalogue.moveCurrent(direction))
        showCatalogue();
}

int TForm1::indexItemCount() const
{
    return indexModel_->rowCount();
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
    const int position = TypedRow(Dictionary, TntEdit3->text());
    if (position >= 0) {
        selectIndexRow(position);
        if (selectedIndexRow() >= 0)
            PreparePageTimer->start();
    }
    if (position >= FirstIndex.count() && FirstIndex.count() > 0)
        StatusText->say(QStringLiteral("not found: \"%1\" comes after the last headword").arg(TntEdit3->text()));
}

void TForm1::ShowSelectedEntry()
{
    const int row = indexItemCount() > 0 ? selectedIndexRow() : -1;
    if (row < 0)
        return;
    const std::optional<Hit> hit = EntryHit(Dictionary, row, TntEdit3->text());
    if (!hit)
        return;
    if (hit->row != row)
        selectIndexRow(hit->row);
    if (hit->noPage || selectedIndexRow() < 0) {
        ShowMessage(ListIndexMessage(0), MsgIcon::Error, QString::fromLatin1(kApplicationTitle));
        return;
    }
    showHit(*hit);
}

void TForm1::showHit(const Hit& hit)
{
    ExtraPageOnView = false;
    composeAndShow(hit.page, true, hit.mark);
    AddHistoryEntry();
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
    const int row = indexItemCount() > 0 ? selectedIndexRow() : -1;
    if (row < 0)
        return;
    const std::optional<QString> page = EntryPage(FirstIndex, row);
    if (!page) {
        ShowMessage(ListIndexMessage(0), MsgIcon::Error, QString::fromLatin1(kApplicationTitle));
        return;
    }
    ShowPage(*page);
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
    const QString word = row >= 0 ? MarkWord(Dictionary, row, TntEdit3->text()) : QString();
    composeAndShow(pageReference, true, word);
    if (row >= 0)
        AddHistoryEntry();
}

void TForm1::Image1Click()
{
    const DictionaryPaths paths{ProgramFolder, CurrentDictionary};
    if (QFileInfo::exists(paths.annotationDjvu())) {
        ShowPage(QStringLiteral("Annotation"));
    } else if (QFileInfo::exists(paths.annotationHtm())) {
        SingleFileOnView = ExtraPageOnView = true;
        WebBrowser1->Navigate(paths.annotationHtm());
        StatusText->setPage(0, 0);   // no page of the document is on view
    }
}

void TForm1::LexifolHelp1Click()
{
    SingleFileOnView = ExtraPageOnView = true;
    WebBrowser1->Navigate(Places.helpPage());
    StatusText->setPage(0, 0);   // no page of the document is on view
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
    indexModel_->setItemCount(0);
    Dictionary.clear();
    reportSave(Places.catalogueFile(), Catalogue.save(Places.catalogueFile()));
    reportSave(Bookmarks.path(), Bookmarks.save());
}

void TForm1::reportSave(const QString& path, const Status& result)
{
    const QString text = saveReport_.message(path, result);
    if (!result)
        StatusText->say(QStringLiteral("Not saved: %1").arg(QDir::toNativeSeparators(path)), 0);
    if (!text.isEmpty())
        ShowMessage(text, MsgIcon::Error, QStringLiteral("Lexifol"), this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (keys_ && keys_->filter(watched, event))
        return true;
    if (extras_ && extras_->filter(watched, event))
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
