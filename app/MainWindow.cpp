// The main window's behaviour: event handlers that call the services below
// and apply their results to the controls.
#include "app/MainWindow.h"
#include "library/KeyTranslator.h"
#include "app/KeyMapper.h"
#include "app/TextSearchPane.h"
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
#include "pageview/PageView.h"

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

void MainWindow::startUp()
{
    SingleFileOnView = ExtraPageOnView = SkipSearchReplay = false;
    ApplyProgramIcon(this);
    // X11 takes the window class from it: "Lexifol", whatever the version.
    QCoreApplication::setApplicationName(QStringLiteral("Lexifol"));
    // The keys of the main window work wherever the focus is, also during
    // start-up.
    qApp->installEventFilter(this);

    // Read first: opening the dictionary at start asks them ([Keyboard]).
    Settings = std::make_unique<ProfileFile>(Places.settingsFile());
    const ViewSettings view = ReadViewSettings(*Settings);
    BrowserMouse = view.browserMouse;
    LocateHeadwordOnPage = view.locateHeadword;
    pageView->setContinuous(view.continuous);
    indexCache_.setBudget(view.cacheBytes);

    Dictionary.clear();
    showCatalogue();
    openDictionaryAtStartUp(Catalogue.count() > 0 ? qMax(Catalogue.firstChecked(), 0) : -1);

    QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMaximized); });

    History.clear();
    Bookmarks.load(Places.bookmarksFile());
    showEntryLists();
    backButton->hide();
    forwardButton->hide();

    if (QFileInfo::exists(Places.introPage())) {
        SingleFileOnView = ExtraPageOnView = true;
        pageView->Navigate(Places.introPage());
    }
    showMessages(Dictionary.loadDerived(ProgramFolder, true));
    if (indexItemCount() > 0)
        selectIndexRow(0);
    // The user starts by typing a word.
    searchBox->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showCatalogue()
{
    const QSignalBlocker block(catalogueList);
    catalogueList->clear();
    for (int i = 0; i < Catalogue.count(); ++i) {
        auto* item = new QListWidgetItem(Catalogue.name(i), catalogueList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Catalogue.checked(i) ? Qt::Checked : Qt::Unchecked);
    }
    if (Catalogue.current() >= 0)
        selectCatalogueRow(Catalogue.current());
}

void MainWindow::selectCatalogueRow(int row)
{
    Catalogue.setCurrent(row);
    if (QListWidgetItem* item = catalogueList->item(row)) {
        catalogueList->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
        catalogueList->scrollToItem(item);
    }
}

QString MainWindow::dictionaryRoot(const QString& name) const
{
    const int row = Catalogue.find(name);
    return row >= 0 ? Catalogue.root(row) : Places.userRoot();
}

void MainWindow::openDictionaryAtStartUp(int row)
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

// The dictionary's layout: the system switches to it where it can; else
// Lexifol maps the keys typed into the search box ([Keyboard] Mode).
void MainWindow::applyKeyboardLayout(const QByteArray& identifier)
{
    const QString mode = Settings ? Settings->readString(QStringLiteral("Keyboard"), QStringLiteral("Mode"), QStringLiteral("auto"))
                                  : QStringLiteral("auto");
    const KeyboardChoice choice = ChooseKeyboard(identifier, mode);
    // Remembered in every mode but off, for "Current keyboard layout"; the
    // system's own layout changes only when it switches.
    if (!identifier.isEmpty() && mode.trimmed().toLower() != u"off")
        LoadKeyboardLayout(KeyboardIdentifierOf(identifier), choice.mode != KeyMode::Translate);
    if (!keyMapper_ && choice.translator) {
        keyMapper_ = new KeyMapper(this);
        for (QWidget* field : {static_cast<QWidget*>(searchBox), static_cast<QWidget*>(TextSearch->field())})
            keyMapper_->watch(field);
    }
    if (keyMapper_)
        keyMapper_->setTranslator(choice.translator);
    StatusText->setKeyboard(choice.label, choice.tooltip);
}

void MainWindow::applyOpening(const OpenOutcome& outcome)
{
    // The zoom chosen on another dictionary's pages does not fit this one.
    if (outcome.opened)
        pageView->resetZoom();
    if (outcome.keyboardLayout || outcome.opened)
        applyKeyboardLayout(outcome.keyboardLayout.value_or(QByteArray()));
    pageView->setTextRules(Dictionary.rules);
    if (outcome.title) {
        // A long title shows its beginning, the whole in the tooltip.
        titleBox->setText(*outcome.title);
        titleBox->setCursorPosition(0);
        titleBox->setToolTip(*outcome.title);
    }
    if (outcome.findVisible)
        findButton->setVisible(*outcome.findVisible);
    if (outcome.annotationVisible)
        annotationButton->setVisible(*outcome.annotationVisible);
    indexModel_->setItemCount(outcome.rowCount);
    if (outcome.opened && outcome.rowCount == 0) {
        // Nothing of the previous dictionary stays on view.
        const QString empty = QStringLiteral("The index of %1 holds no entries.").arg(CurrentDictionary);
        pageView->ShowNotice(empty);
        StatusText->say(empty, 0);
    }
    showMessages(outcome.messages);
}

void MainWindow::showMessages(const QStringList& messages)
{
    for (const QString& text : messages)
        ShowMessage(text, MsgIcon::Error, QStringLiteral("Lexifol"), this);
}

void MainWindow::openAnother()
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
    titleBox->clear();
    pageView->ShowNotice(QStringLiteral("No dictionary is installed."));
}

void MainWindow::OpenDictionary()
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
    if (!SkipSearchReplay && !searchBox->text().isEmpty())
        replaySearchText();
    SkipSearchReplay = false;
}

void MainWindow::replaySearchText()
{
    const QString text = searchBox->text();
    searchBox->setText(QString());
    searchBox->setText(text);
    if (indexItemCount() > 0 && selectedIndexRow() >= 0)
        ShowSelectedEntry();
}

bool MainWindow::SelectDictionaryByName(const QString& name)
{
    const int row = Catalogue.find(name);
    if (row < 0)
        return false;
    selectCatalogueRow(row);
    return true;
}

void MainWindow::ActivateShortcut(int digit)
{
    const int row = Settings ? Catalogue.shortcutRow(*Settings, digit) : -1;
    if (row < 0)
        return;
    selectCatalogueRow(row);
    OpenDictionary();
}

void MainWindow::moveCatalogueEntry(int direction)
{
    if (Catalogue.moveCurrent(direction))
        showCatalogue();
}

int MainWindow::indexItemCount() const
{
    return indexModel_->rowCount();
}

int MainWindow::selectedIndexRow() const
{
    return SelectedRow(indexList);
}

void MainWindow::selectIndexRow(int position)
{
    // One past the last row names no entry: nothing stays selected, so
    // Enter cannot show a page that does not hold the word.
    SelectRow(indexList, position);
}

void MainWindow::LookupSearchText()
{
    const int position = TypedRow(Dictionary, searchBox->text());
    if (position >= 0) {
        selectIndexRow(position);
        if (selectedIndexRow() >= 0)
            PreparePageTimer->start();
    }
    if (position >= FirstIndex.count() && FirstIndex.count() > 0)
        StatusText->say(QStringLiteral("not found: \"%1\" comes after the last headword").arg(searchBox->text()));
}

void MainWindow::ShowSelectedEntry()
{
    const int row = indexItemCount() > 0 ? selectedIndexRow() : -1;
    if (row < 0)
        return;
    const std::optional<Hit> hit = EntryHit(Dictionary, row, searchBox->text());
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

void MainWindow::showHit(const Hit& hit)
{
    ExtraPageOnView = false;
    composeAndShow(hit.page, true, hit.mark, hit.markOccurrence);
    AddHistoryEntry();
}

void MainWindow::LookUpPageWord(const QString& word)
{
    if (word.isEmpty())
        return;
    searchBox->setText(word);
    ShowSelectedEntry();
}

void MainWindow::openIndexEntry()
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

void MainWindow::RefreshSearchBox()
{
    searchBox->setFocus(Qt::OtherFocusReason);
    const QString text = searchBox->text();
    searchBox->setText(QString());
    searchBox->setText(text);
    searchBox->selectAll();
}

void MainWindow::showNormalisedForm()
{
    normalisedLabel->setText(NormaliseHeadword(searchBox->text(), ReplacementList));
}

void MainWindow::ShowPage(const QString& pageReference)
{
    ExtraPageOnView = false;
    const int row = indexItemCount() > 0 ? selectedIndexRow() : -1;
    const QString word = row >= 0 ? MarkWord(Dictionary, row, searchBox->text()) : QString();
    composeAndShow(pageReference, true, word);
    if (row >= 0)
        AddHistoryEntry();
}

void MainWindow::showAnnotation()
{
    const DictionaryPaths paths{ProgramFolder, CurrentDictionary, Places.userRoot()};
    if (QFileInfo::exists(paths.annotationDjvu())) {
        ShowPage(QStringLiteral("Annotation"));
    } else if (QFileInfo::exists(paths.annotationHtm())) {
        SingleFileOnView = ExtraPageOnView = true;
        pageView->Navigate(paths.annotationHtm());
        StatusText->setPage(0, 0);   // no page of the document is on view
    StatusText->setZoom(0);
    }
}

void MainWindow::showHelp()
{
    SingleFileOnView = ExtraPageOnView = true;
    pageView->Navigate(Places.helpPage());
    StatusText->setPage(0, 0);   // no page of the document is on view
    StatusText->setZoom(0);
}

void MainWindow::showKeyboardLayout()
{
    const QByteArray id = ActiveKeyboardLayoutName();
    if (id.isEmpty())
        return;
    ShowMessage(QString::fromLatin1(id), MsgIcon::Information, QStringLiteral("Current keyboard layout:"), this);
}

void MainWindow::Shutdown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    indexModel_->setItemCount(0);
    Dictionary.clear();
    reportSave(Places.catalogueFile(), Catalogue.save(Places.catalogueFile()));
    reportSave(Bookmarks.path(), Bookmarks.save());
}

void MainWindow::reportSave(const QString& path, const Status& result)
{
    const QString text = saveReport_.message(path, result);
    if (!result)
        StatusText->say(QStringLiteral("Not saved: %1").arg(QDir::toNativeSeparators(path)), 0);
    if (!text.isEmpty())
        ShowMessage(text, MsgIcon::Error, QStringLiteral("Lexifol"), this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (keys_ && keys_->filter(watched, event))
        return true;
    if (extras_ && extras_->filter(watched, event))
        return true;
    if (watched == bookmarkList && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteSelectedBookmark();
        return true;
    }
    if (watched == topPanel && event->type() == QEvent::Resize)
        annotationButton->move(topPanel->width() - annotationButton->width() - 6, 4);
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    Shutdown();
    if (aboutBox_)
        aboutBox_->hide();
    if (configDialog_)
        configDialog_->hide();
    e->accept();
    QApplication::quit();
}
