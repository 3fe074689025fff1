#include "app/WindowExtras.h"
#include "library/PrintedPages.h"

#include "app/DictionaryMaker.h"
#include "app/OtherStrip.h"
#include "app/StatusLine.h"
#include "config/Messages.h"
#include "library/DictionaryInstall.h"
#include "library/KeyboardLayout.h"
#include "library/PageIndexFix.h"
#include "index/IndexOps.h"
#include "library/Profile.h"
#include <QBoxLayout>
#include "app/MainControls.h"
#include "app/MainWidgets.h"
#include "pageview/PageView.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QListView>
#include <QListWidget>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace lexifol {

namespace {

QAction* AddAction(QWidget* window, const QString& name, const QList<QKeySequence>& keys, std::function<void()> run)
{
    auto* a = new QAction(name, window);
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(a, &QAction::triggered, window, std::move(run));
    window->addAction(a);
    return a;
}

} // namespace

WindowExtras::WindowExtras(const WindowParts& w)
    : QObject(&w.window)
    , w_(w)
{
    AddAction(&w.window, tr("Full screen"), {Qt::Key_F11}, [this] { toggleFullScreen(); });
    leaveFullScreen_ = AddAction(&w.window, tr("Leave full screen"), {Qt::Key_Escape}, [this] { toggleFullScreen(); });
    leaveFullScreen_->setEnabled(false);
    AddAction(&w.window, tr("Print the page"), {Qt::CTRL | Qt::Key_P}, [this] { printPage(); });
    AddAction(&w.window, tr("Go to page"), {Qt::CTRL | Qt::Key_G}, [this] { goToPage(); });
    AddAction(&w.window, tr("Undo"), {Qt::CTRL | Qt::Key_Z}, [this] { w_.ui.status->undo(); });
    // The keys readers bring from browsers and other viewers. Ctrl+0 stays
    // a dictionary's shortcut; the toolbar's Fit width sets the size back.
    AddAction(&w.window, tr("Help"), {Qt::Key_F1}, [this] { w_.act.showHelp(); });
    AddAction(&w.window, tr("Add a bookmark"), {Qt::CTRL | Qt::Key_D}, [this] { w_.act.addBookmark(); });
    AddAction(&w.window, tr("Zoom in"),
              {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal, Qt::CTRL | Qt::SHIFT | Qt::Key_Equal},
              [this] { w_.ui.pageView->zoomBy(1.25); });
    AddAction(&w.window, tr("Zoom out"), {Qt::CTRL | Qt::Key_Minus}, [this] { w_.ui.pageView->zoomBy(1 / 1.25); });
    connectStatus();
    w.window.setAcceptDrops(true);
    QAction* add = w.window.menuBar()->addAction(tr("Add dictionary\u2026"));
    connect(add, &QAction::triggered, this, &WindowExtras::chooseAndAdd);
    w_.ui.catalogueList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w_.ui.catalogueList, &QWidget::customContextMenuRequested, this, &WindowExtras::catalogueMenu);
    connect(w_.ui.pageView, &PageView::menuBuilt, this, &WindowExtras::pageMenu);
    // The Data folders are watched: a dictionary copied in appears at once.
    auto* watcher = new QFileSystemWatcher(this);
    for (const QString& root : w_.state.places.dictionaryRoots())
        if (QFileInfo(root + QStringLiteral("Data")).isDir())
            watcher->addPath(root + QStringLiteral("Data"));
    rescan_ = new QTimer(this);
    rescan_->setSingleShot(true);
    rescan_->setInterval(300); // a copy in progress settles first
    connect(rescan_, &QTimer::timeout, this, &WindowExtras::catalogueChanged);
    connect(watcher, &QFileSystemWatcher::directoryChanged, rescan_, qOverload<>(&QTimer::start));
    // [View] OtherDictionaries: the strip of the other checked dictionaries.
    if (!w_.state.settings || ReadViewSettings(*w_.state.settings).otherDictionaries) {
        w_.ui.otherDictionaries = new OtherStrip(w_);
        if (auto* column = qobject_cast<QBoxLayout*>(w_.window.centralWidget()->layout()))
            column->insertWidget(1, w_.ui.otherDictionaries);
    }
}

// What the status bar says of the page and the keyboard.
void WindowExtras::connectStatus()
{
    const auto showZoom = [this] { w_.ui.status->setZoom(w_.ui.pageView->zoomPercent()); };
    connect(w_.ui.pageView, &PageView::zoomChanged, this, showZoom);
    connect(w_.ui.pageView, &PageView::pageShown, this, showZoom);
    // Where the reader is, with the page's printed number when it differs.
    const auto showPlace = [this] {
        const auto [at, count] = w_.ui.pageView->readingPlace();
        const PrintedPages printed(w_.ui.pageView->pageTitles(), w_.state.dictionary.pageOffset, count);
        w_.ui.status->setPage(at + 1, count, printed.printed(at));
    };
    connect(w_.ui.pageView, &PageView::pageShown, this, showPlace);
    connect(w_.ui.pageView, &PageView::pageInViewChanged, this, showPlace);
    connect(w_.ui.keyboardLayoutAction, &QAction::triggered, this, [this] {
        if (const QByteArray id = ActiveKeyboardLayoutName(); !id.isEmpty())
            ShowMessage(QString::fromLatin1(id), MsgIcon::Information, tr("Current keyboard layout:"), &w_.window);
    });
    connect(w_.ui.status, &StatusLine::pageClicked, this, [this] { goToPage(); });
    connect(w_.ui.pageView, &PageView::findDone, this, [this](int count) {
        w_.ui.status->say(count > 0 ? tr("%1 found on the page").arg(count) : tr("not found on the page"));
    });
}

bool WindowExtras::filter(QObject* watched, QEvent* event)
{
    if (watched == &w_.window && event->type() == QEvent::DragEnter) {
        auto* e = static_cast<QDragEnterEvent*>(event);
        if (e->mimeData()->hasUrls())
            e->acceptProposedAction();
        return e->isAccepted();
    }
    if (watched == &w_.window && event->type() == QEvent::Drop) {
        auto* e = static_cast<QDropEvent*>(event);
        QStringList paths;
        for (const QUrl& url : e->mimeData()->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
        e->acceptProposedAction();
        if (!paths.isEmpty())
            QTimer::singleShot(0, this, [this, paths] { addDictionary(paths); });
        return true;
    }
    return redirectTyping(watched, event);
}

bool WindowExtras::offerToMake(const QString& document)
{
    const QString name = QFileInfo(document).completeBaseName();
    if (w_.state.catalogue.find(name) >= 0) {
        ShowMessage(tr("A dictionary named \"%1\" is installed already.").arg(name), MsgIcon::Information,
                    QStringLiteral("Lexifol"), &w_.window);
        return false;
    }
    if (busyAdding())
        return false;
    if (!AskYesNo(tr("\u201c%1\u201d has no index. Make a dictionary named \u201c%2\u201d from it?\n\n"
                     "Lexifol reads its pages (the text of scanned pages that have none is recognised), "
                     "proposes the page each headword is on and makes the pages searchable. This runs "
                     "in the background and may take minutes.")
                      .arg(QFileInfo(document).fileName(), name),
                  &w_.window))
        return false;
    maker().start(document, w_.state.places.dataFolder(), name);
    w_.ui.status->say(tr("Making %1\u2026").arg(name), 0);
    return true;
}

bool WindowExtras::busyAdding()
{
    if (!maker_ || !maker_->running())
        return false;
    ShowMessage(tr("A dictionary is being added already: wait until it is there, or cancel it."), MsgIcon::Information,
                QStringLiteral("Lexifol"), &w_.window);
    return true;
}

DictionaryMaker& WindowExtras::maker()
{
    if (!maker_) {
        maker_ = new DictionaryMaker(w_.ui.statusStrip);
        // At the end of the catalogue, checked, as soon as it is there.
        connect(maker_, &DictionaryMaker::finished, this, [this](const QString& made, bool ok, const QString& report) {
            if (ok) {
                w_.state.catalogue.rescan(w_.state.places.dictionaryRoots());
                w_.state.catalogue.setChecked(w_.state.catalogue.find(made), true);
                w_.act.showCatalogue();
            }
            w_.ui.status->say(report + (ok ? std::exchange(addedNote_, QString()) : QString()), 0);
        });
    }
    return *maker_;
}

bool WindowExtras::addDictionary(const QStringList& paths)
{
    if (paths.size() == 1 && paths[0].endsWith(QStringLiteral(".djvu"), Qt::CaseInsensitive)
        && QFileInfo(paths[0]).isFile())
        return offerToMake(paths[0]);
    const bool withDocument = std::any_of(paths.begin(), paths.end(),
                                          [](const QString& p) { return p.endsWith(".djvu", Qt::CaseInsensitive); });
    Result<DictionarySource> source = SourceFrom(paths);
    if (source && withDocument) {
        bool ok = false;
        const QString name = QInputDialog::getText(&w_.window, tr("Add dictionary"), tr("Its name:"), QLineEdit::Normal,
                                                   source->name, &ok);
        if (!ok)
            return false;
        source = SourceFrom(paths, name);
    }
    QStringList warnings;
    QStringList faults = source ? CheckDictionary(source.value(), &warnings) : QStringList{source.error()};
    if (faults.isEmpty())
        if (const Status free = CanInstall(source.value(), w_.state.places.dataFolder(), w_.state.catalogue.names());
            !free)
            faults << free.error();
    if (!faults.isEmpty()) {
        ShowMessage(tr("The dictionary was not added.\n\n") + faults.join(u'\n'), MsgIcon::Error,
                    QStringLiteral("Lexifol"), &w_.window);
        return false;
    }
    if (busyAdding())
        return false;
    addedNote_ = warnings.isEmpty() ? QString() : QStringLiteral(". ") + warnings.join(u' ');
    // Copied behind the window: a dictionary of gigabytes takes seconds.
    maker().install(source.value(), w_.state.places.dataFolder(), w_.state.catalogue.names());
    return true;
}

void WindowExtras::chooseAndAdd()
{
    const QStringList files = QFileDialog::getOpenFileNames(
        &w_.window,
        tr("Add dictionary: its index (with its DjVu document when it has no NAME.files folder), or a DjVu "
           "document to make one from"),
        QString(), tr("Index and document (*.list *.txt *.djvu);;All files (*)"));
    if (!files.isEmpty())
        addDictionary(files);
}

void WindowExtras::catalogueMenu(const QPoint& at)
{
    QMenu menu(w_.ui.catalogueList);
    menu.addAction(tr("Add dictionary\u2026"), this, &WindowExtras::chooseAndAdd);
    const QModelIndex index = w_.ui.catalogueList->indexAt(at);
    if (index.isValid()) {
        const int row = index.row();
        QAction* remove = menu.addAction(tr("Remove \u201c%1\u201d").arg(w_.state.catalogue.name(row)), this,
                                         [this, row] { removeDictionary(row); });
        if (!IsUserDictionary(w_.state.catalogue.root(row), w_.state.places.userRoot())) {
            remove->setEnabled(false);
            remove->setText(tr("Installed with the program: uncheck it to leave it out"));
        }
    }
    menu.exec(w_.ui.catalogueList->viewport()->mapToGlobal(at));
}

bool WindowExtras::removeDictionary(int row)
{
    if (row < 0 || row >= w_.state.catalogue.count())
        return false;
    const QString name = w_.state.catalogue.name(row);
    if (!IsUserDictionary(w_.state.catalogue.root(row), w_.state.places.userRoot())) {
        ShowMessage(tr("\"%1\" was installed with the program and can only be unchecked.").arg(name),
                    MsgIcon::Information, QStringLiteral("Lexifol"), &w_.window);
        return false;
    }
    const bool wasOpen = name.compare(w_.state.dictionary.name, Qt::CaseInsensitive) == 0;
    const Result<QString> removed = RemoveDictionary(w_.state.places.dataFolder(), name);
    if (!removed) {
        ShowMessage(tr("The dictionary was not removed.\n\n") + removed.error(), MsgIcon::Error,
                    QStringLiteral("Lexifol"), &w_.window);
        return false;
    }
    w_.state.catalogue.rescan(w_.state.places.dictionaryRoots());
    w_.act.showCatalogue();
    if (wasOpen)
        w_.act.openAnother();
    w_.ui.status->say(tr("Removed %1: moved to %2").arg(name, removed.value()), 0);
    return true;
}

void WindowExtras::pageMenu(QMenu* menu, const QString& word)
{
    if (!w_.state.dictionary.pageIndex || w_.ui.pageView->pageIndex() < 0)
        return;
    menu->addSeparator();
    if (!word.isEmpty())
        menu->addAction(tr("Page begins with \u201c%1\u201d").arg(word), this,
                        [this, word] { setPageFirstWord(word); });
    const DictionaryPaths paths{w_.state.programFolder, w_.state.dictionary.name, w_.state.places.userRoot()};
    if (const PagesInDoubt doubt = PagesInDoubtAfter(paths, w_.ui.pageView->pageIndex() + 1); doubt.count > 0)
        menu->addAction(tr("Next page in doubt (%1)").arg(doubt.count), this, [this] { showNextPageInDoubt(); });
}

bool WindowExtras::setPageFirstWord(const QString& word)
{
    const int page = w_.ui.pageView->pageIndex() + 1;
    const QString name = w_.state.dictionary.name;
    const DictionaryPaths paths{w_.state.programFolder, name, w_.state.places.userRoot()};
    const Status done = SetPageFirstWord(paths, page, word, w_.state.dictionary.order());
    if (!done) {
        ShowMessage(tr("The index was not changed.\n\n") + done.error(), MsgIcon::Error, QStringLiteral("Lexifol"),
                    &w_.window);
        return false;
    }
    // The index read again at once, the corrected line selected.
    w_.state.skipSearchReplay = true;
    if (w_.act.selectDictionary(name))
        w_.act.openDictionary();
    for (int row = 0; row < w_.state.dictionary.first.count(); ++row)
        if (SplitValue(w_.state.dictionary.first.value(row)).value(0).toInt() == page) {
            w_.act.selectIndexRow(row);
            break;
        }
    w_.ui.status->say(tr("Page %1 begins with \u201c%2\u201d").arg(page).arg(word));
    return true;
}

bool WindowExtras::showNextPageInDoubt()
{
    // The next after the page on view, so that the maker goes through them all.
    const int page = PagesInDoubtAfter(
                         DictionaryPaths{w_.state.programFolder, w_.state.dictionary.name, w_.state.places.userRoot()},
                         w_.ui.pageView->pageIndex() + 1)
                         .next;
    if (page <= 0) {
        w_.ui.status->say(tr("No page is left in doubt"));
        return false;
    }
    w_.act.showPage(PageShow{QString::number(page), false, {}, 0, {}});
    return true;
}

bool WindowExtras::redirectTyping(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || watched != QApplication::focusWidget())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint() || text.at(0).isSpace()
        || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    const bool list = widget == w_.ui.indexList || widget == w_.ui.historyList || widget == w_.ui.bookmarkList
        || widget == w_.ui.catalogueList;
    if (!list && !w_.ui.pageView->isAncestorOf(widget))
        return false;
    w_.ui.searchBox->setFocus(Qt::OtherFocusReason);
    w_.ui.searchBox->insert(text);
    return true;
}

void WindowExtras::catalogueChanged()
{
    const QStringList before = w_.state.catalogue.names();
    w_.state.catalogue.rescan(w_.state.places.dictionaryRoots());
    if (w_.state.catalogue.names() == before)
        return;
    w_.act.showCatalogue();
    w_.ui.status->say(tr("The dictionaries were looked at again: %1 installed").arg(w_.state.catalogue.count()));
}

// Full screen is for reading: the page alone, with the status bar.
void WindowExtras::toggleFullScreen()
{
    const bool full = !w_.window.isFullScreen();
    w_.window.setWindowState(w_.window.windowState() ^ Qt::WindowFullScreen);
    if (full) {
        for (QWidget* panel :
             {w_.ui.topPanel, static_cast<QWidget*>(w_.ui.listTabs), static_cast<QWidget*>(w_.window.menuBar()),
              static_cast<QWidget*>(w_.ui.otherDictionaries)})
            if (panel && panel->isVisible()) {
                panel->hide();
                hiddenForFullScreen_ << panel;
            }
    } else {
        for (const QPointer<QWidget>& panel : std::exchange(hiddenForFullScreen_, {}))
            if (panel)
                panel->show();
    }
    leaveFullScreen_->setEnabled(full);
    if (!full)
        w_.ui.searchBox->setFocus(Qt::OtherFocusReason);
}

void WindowExtras::printPage()
{
    const QImage page = w_.ui.pageView->pageImage();
    if (page.isNull()) {
        w_.ui.status->say(tr("No page to print"));
        return;
    }
    QPrinter printer;
    QPrintDialog dialog(&printer, &w_.window);
    dialog.setWindowTitle(tr("Print the page"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter(&printer);
    const QRect area = painter.viewport();
    const QSize size = page.size().scaled(area.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(area.topLeft(), size), page);
}

void WindowExtras::goToPage()
{
    // Counted as the status line counts: the page files of a dictionary
    // stored page by page, else the pages of the document.
    const auto [current, count] = w_.ui.pageView->readingPlace();
    if (w_.ui.pageView->pageCount() <= 0) {
        w_.ui.status->say(tr("No document on view"));
        return;
    }
    bool ok = false;
    // A dictionary that numbers its pages is gone through by those numbers.
    const PrintedPages printed(w_.ui.pageView->pageTitles(), w_.state.dictionary.pageOffset, count);
    if (printed.known()) {
        const QString typed = QInputDialog::getText(
            &w_.window, tr("Go to page"),
            tr("Page as printed, or #N for the N-th of the file's %n pages:", nullptr, count), QLineEdit::Normal,
            printed.printed(current), &ok);
        if (!ok)
            return;
        if (const int index = printed.indexOf(typed); index >= 0)
            w_.ui.pageView->goToPage(index);
        else
            w_.ui.status->say(tr("No page \u201c%1\u201d in this dictionary").arg(typed.left(40)));
        return;
    }
    const int page = QInputDialog::getInt(&w_.window, tr("Go to page"), tr("Page (1 to %1):").arg(count), current + 1,
                                          1, count, 1, &ok);
    if (ok)
        w_.ui.pageView->goToPage(page - 1);
}

} // namespace lexifol
