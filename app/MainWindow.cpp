// The main window: start-up, the catalogue, the lookup and the pages shown.
#include "app/MainWindow.h"
#include "app/Application.h"
#include "app/CatalogueView.h"
#include "app/EntryLists.h"
#include "app/PageRequests.h"
#include "app/KeyMapper.h"
#include "app/ListModels.h"
#include "app/MainWidgets.h"
#include "app/StatusLine.h"
#include "base/CodePage.h"
#include "config/Messages.h"
#include "index/Lookup.h"
#include "library/WordLookup.h"
#include "pageview/PageView.h"

#include <QFileInfo>
#include <QListView>
#include <QTimer>
#include <QToolButton>

using namespace lexifol;

void MainWindow::startUp()
{
    state_.singleFileOnView = state_.extraPageOnView = state_.skipSearchReplay = false;
    // Read first: opening the dictionary at start asks them ([Keyboard]).
    const ViewSettings view = state_.readSettings();
    ui_.pageView->setContinuous(view.continuous);
    ui_.pageView->setImageBudget(view.pageImageBytes);
    ui_.pageView->setTextBudget(view.pageTextBytes);

    state_.dictionary.clear();
    showCatalogue();
    openDictionaryAtStartUp(state_.startRow());

    QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMaximized); });

    entries_->show();
    ui_.backButton->hide();
    ui_.forwardButton->hide();

    if (const QString intro = state_.places.introPage(state_.language); QFileInfo::exists(intro))
        pages_->showFile(intro);
    showMessages(state_.dictionary.loadDerived(state_.programFolder, true));
    if (indexRowCount() > 0)
        selectIndexRow(0);
    // The user starts by typing a word.
    ui_.searchBox->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showCatalogue()
{
    catalogueView_->show();
}
void MainWindow::selectCatalogueRow(int row)
{
    catalogueView_->select(row);
}
bool MainWindow::selectDictionary(const QString& name)
{
    return catalogueView_->select(name);
}

QString MainWindow::dictionaryRoot(const QString& name) const
{
    const int row = state_.catalogue.find(name);
    return row >= 0 ? state_.catalogue.root(row) : state_.places.userRoot();
}

void MainWindow::openDictionaryAtStartUp(int row)
{
    const Catalogue& catalogue = state_.catalogue;
    const QString name = row >= 0 ? catalogue.name(row) : QString();
    const QString root = row >= 0 ? catalogue.root(row) : state_.programFolder;
    const OpenOutcome outcome = state_.dictionary.open({root, name, true, catalogue.count() == 0});
    if (outcome.opened) {
        state_.programFolder = root;
        selectCatalogueRow(row);
    }
    applyOpening(outcome);
}

void MainWindow::applyOpening(const OpenOutcome& outcome)
{
    PageView* page = ui_.pageView;
    // The zoom chosen on another dictionary's pages does not fit this one.
    if (outcome.opened)
        page->resetZoom();
    if (outcome.keyboardLayout || outcome.opened) {
        const QString mode = state_.settings->readString(QStringLiteral("Keyboard"), QStringLiteral("Mode"),
                                                         QStringLiteral("auto"));
        const KeyboardChoice choice = keyboard_->apply(outcome.keyboardLayout.value_or(QByteArray()), mode);
        ui_.status->setKeyboard(choice.label, choice.tooltip);
    }
    page->setTextRules(state_.dictionary.rules);
    if (outcome.title) {
        // A long title shows its beginning, the whole in the tooltip.
        ui_.titleBox->setText(*outcome.title);
        ui_.titleBox->setCursorPosition(0);
        ui_.titleBox->setToolTip(*outcome.title);
    }
    if (outcome.findVisible)
        ui_.findButton->setVisible(*outcome.findVisible);
    if (outcome.annotationVisible)
        ui_.annotationButton->setVisible(*outcome.annotationVisible);
    indexModel_->setItemCount(outcome.rowCount);
    if (outcome.opened && outcome.rowCount == 0) {
        // Nothing of the previous dictionary stays on view.
        const QString empty = tr("The index of %1 holds no entries.").arg(state_.dictionary.name);
        page->ShowNotice(empty);
        ui_.status->say(empty, 0);
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
    if (const int row = state_.startRow(); row >= 0) {
        selectCatalogueRow(row);
        openDictionary();
        return;
    }
    state_.dictionary.clear();
    state_.dictionary.name.clear();
    state_.dictionary.title.clear();
    indexModel_->setItemCount(0);
    ui_.titleBox->clear();
    ui_.pageView->ShowNotice(tr("No dictionary is installed."));
}

void MainWindow::openDictionary()
{
    const Catalogue& catalogue = state_.catalogue;
    if (catalogue.count() == 0 || catalogue.current() < 0)
        return;
    const QString root = catalogue.root(catalogue.current());
    const OpenOutcome outcome = state_.dictionary.open({root, catalogue.name(catalogue.current()), false, false});
    if (!outcome.opened) {
        showMessages(outcome.messages);
        return;
    }
    state_.programFolder = root;
    applyOpening(outcome);
    if (indexRowCount() > 0)
        selectIndexRow(0);
    if (!state_.skipSearchReplay && !ui_.searchBox->text().isEmpty())
        replaySearchText();
    state_.skipSearchReplay = false;
}

void MainWindow::reopenDictionary(const QString& name)
{
    if (selectDictionary(name))
        openDictionary();
}

void MainWindow::replaySearchText()
{
    const QString text = ui_.searchBox->text();
    ui_.searchBox->setText(QString());
    ui_.searchBox->setText(text);
    if (indexRowCount() > 0 && selectedIndexRow() >= 0)
        showSelectedEntry();
}

void MainWindow::activateShortcut(int digit)
{
    const int row = state_.catalogue.shortcutRow(*state_.settings, digit);
    if (row < 0)
        return;
    selectCatalogueRow(row);
    openDictionary();
}

int MainWindow::indexRowCount() const
{
    return indexModel_->rowCount();
}

int MainWindow::selectedIndexRow() const
{
    return SelectedRow(ui_.indexList);
}

void MainWindow::selectIndexRow(int position)
{
    // One past the last row names no entry: nothing stays selected, so
    // Enter cannot show a page that does not hold the word.
    SelectRow(ui_.indexList, position);
}

void MainWindow::lookUpSearchText()
{
    const QString typed = ui_.searchBox->text();
    const int position = TypedRow(state_.dictionary, typed);
    if (position >= 0) {
        selectIndexRow(position);
        if (selectedIndexRow() >= 0)
            prepareTimer_->start();
    }
    const int count = state_.dictionary.first.count();
    if (position >= count && count > 0)
        ui_.status->say(tr("not found: \"%1\" comes after the last headword").arg(typed));
}

void MainWindow::showSelectedEntry()
{
    const int row = indexRowCount() > 0 ? selectedIndexRow() : -1;
    if (row < 0)
        return;
    const std::optional<Hit> hit = EntryHit(state_.dictionary, row, ui_.searchBox->text());
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
    state_.extraPageOnView = false;
    showPage(PageShow{hit.page, true, hit.mark, hit.markOccurrence, {}});
    entries_->addToHistory();
}

void MainWindow::lookUpPageWord(const QString& word)
{
    if (!word.isEmpty())
        lookUp(word);
}

void MainWindow::lookUp(const QString& word)
{
    ui_.searchBox->setText(word);
    showSelectedEntry();
}

void MainWindow::openIndexEntry()
{
    const int row = indexRowCount() > 0 ? selectedIndexRow() : -1;
    if (row < 0)
        return;
    const std::optional<QString> page = EntryPage(state_.dictionary.first, row);
    if (!page) {
        ShowMessage(ListIndexMessage(0), MsgIcon::Error, QString::fromLatin1(kApplicationTitle));
        return;
    }
    showPage(*page);
}

void MainWindow::refreshSearchBox()
{
    ui_.searchBox->setFocus(Qt::OtherFocusReason);
    const QString text = ui_.searchBox->text();
    ui_.searchBox->setText(QString());
    ui_.searchBox->setText(text);
    ui_.searchBox->selectAll();
}

void MainWindow::showPage(const QString& pageReference)
{
    state_.extraPageOnView = false;
    const int row = indexRowCount() > 0 ? selectedIndexRow() : -1;
    const QString word = row >= 0 ? MarkWord(state_.dictionary, row, ui_.searchBox->text()) : QString();
    showPage(PageShow{pageReference, true, word, 0, {}});
    if (row >= 0)
        entries_->addToHistory();
}

void MainWindow::showHeadword(const QString& headword, const QByteArray& dictionary)
{
    state_.extraPageOnView = false;
    state_.skipSearchReplay = false;
    if (dictionary.isEmpty() || headword.isEmpty() || state_.catalogue.current() < 0)
        return;
    if (dictionary != Ansi().encode(state_.dictionary.name)) {
        if (!selectDictionary(Ansi().decode(dictionary))) {
            ui_.status->say(tr("The dictionary \"%1\" is not installed").arg(Ansi().decode(dictionary)));
            return;
        }
        state_.skipSearchReplay = true;
        openDictionary();
        state_.skipSearchReplay = false;
    }
    const std::optional<Hit> hit = HeadwordHit(state_.dictionary, headword);
    if (!hit)
        return;
    // The search box follows what is shown: Alt+digit, the strip and the
    // next Enter then mean this word, not the one typed before.
    ui_.searchBox->setText(hit->entryWord);
    selectIndexRow(hit->row);
    if (indexRowCount() == 0 || selectedIndexRow() < 0)
        return;
    showPage(PageShow{hit->page, false, hit->mark, 0, {}});
}
