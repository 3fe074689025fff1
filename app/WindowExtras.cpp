#include "app/WindowExtras.h"
#include "library/PrintedPages.h"

#include "app/DictionaryMaker.h"
#include "app/OtherStrip.h"
#include "app/StatusLine.h"
#include "config/Messages.h"
#include "library/DictionaryInstall.h"
#include "library/PageIndexFix.h"
#include "index/IndexOps.h"
#include "library/Profile.h"
#include <QBoxLayout>
#include "app/MainWindow.h"
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

WindowExtras::WindowExtras(MainWindow& w)
    : QObject(&w)
    , w_(w)
{
    AddAction(&w, QStringLiteral("Full screen"), {Qt::Key_F11}, [this] { toggleFullScreen(); });
    leaveFullScreen_ = AddAction(&w, QStringLiteral("Leave full screen"), {Qt::Key_Escape}, [this] { toggleFullScreen(); });
    leaveFullScreen_->setEnabled(false);
    AddAction(&w, QStringLiteral("Print the page"), {Qt::CTRL | Qt::Key_P}, [this] { printPage(); });
    AddAction(&w, QStringLiteral("Go to page"), {Qt::CTRL | Qt::Key_G}, [this] { goToPage(); });
    AddAction(&w, QStringLiteral("Undo"), {Qt::CTRL | Qt::Key_Z}, [this] { w_.StatusText->undo(); });
    // The keys readers bring from browsers and other viewers. Ctrl+0 stays
    // a dictionary's shortcut; the toolbar's Fit width sets the size back.
    AddAction(&w, QStringLiteral("Help"), {Qt::Key_F1}, [this] { w_.showHelp(); });
    AddAction(&w, QStringLiteral("Add a bookmark"), {Qt::CTRL | Qt::Key_D}, [this] { w_.addBookmark(); });
    AddAction(&w, QStringLiteral("Zoom in"), {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal, Qt::CTRL | Qt::SHIFT | Qt::Key_Equal},
              [this] { w_.pageView->zoomBy(1.25); });
    AddAction(&w, QStringLiteral("Zoom out"), {Qt::CTRL | Qt::Key_Minus}, [this] { w_.pageView->zoomBy(1 / 1.25); });
    const auto showZoom = [this] { w_.StatusText->setZoom(w_.pageView->zoomPercent()); };
    connect(w_.pageView, &PageView::zoomChanged, this, showZoom);
    connect(w_.pageView, &PageView::pageShown, this, showZoom);
    w.setAcceptDrops(true);
    QAction* add = w.menuBar()->addAction(QStringLiteral("Add dictionary\u2026"));
    connect(add, &QAction::triggered, this, &WindowExtras::chooseAndAdd);
    w_.catalogueList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w_.catalogueList, &QWidget::customContextMenuRequested, this, &WindowExtras::catalogueMenu);
    connect(w_.StatusText, &StatusLine::pageClicked, this, [this] { goToPage(); });
    connect(w_.pageView, &PageView::menuBuilt, this, &WindowExtras::pageMenu);
    connect(w_.pageView, &PageView::findDone, this, [this](int count) {
        w_.StatusText->say(count > 0 ? QStringLiteral("%1 found on the page").arg(count)
                                     : QStringLiteral("not found on the page"));
    });
    // The Data folders are watched: a dictionary copied in appears at once.
    auto* watcher = new QFileSystemWatcher(this);
    for (const QString& root : w_.Places.dictionaryRoots())
        if (QFileInfo(root + QStringLiteral("Data")).isDir())
            watcher->addPath(root + QStringLiteral("Data"));
    rescan_ = new QTimer(this);
    rescan_->setSingleShot(true);
    rescan_->setInterval(300);   // a copy in progress settles first
    connect(rescan_, &QTimer::timeout, this, &WindowExtras::catalogueChanged);
    connect(watcher, &QFileSystemWatcher::directoryChanged, rescan_, qOverload<>(&QTimer::start));
    // [View] OtherDictionaries: the strip of the other checked dictionaries.
    if (!w_.Settings || ReadViewSettings(*w_.Settings).otherDictionaries) {
        w_.OtherDictionaries = new OtherStrip(w_);
        if (auto* column = qobject_cast<QBoxLayout*>(w_.centralWidget()->layout()))
            column->insertWidget(1, w_.OtherDictionaries);
    }
}

bool WindowExtras::filter(QObject* watched, QEvent* event)
{
    if (watched == &w_ && event->type() == QEvent::DragEnter) {
        auto* e = static_cast<QDragEnterEvent*>(event);
        if (e->mimeData()->hasUrls())
            e->acceptProposedAction();
        return e->isAccepted();
    }
    if (watched == &w_ && event->type() == QEvent::Drop) {
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
    if (w_.Catalogue.find(name) >= 0) {
        ShowMessage(QStringLiteral("A dictionary named \"%1\" is installed already.").arg(name), MsgIcon::Information,
                    QStringLiteral("Lexifol"), &w_);
        return false;
    }
    if (busyAdding())
        return false;
    if (!AskYesNo(QStringLiteral("\u201c%1\u201d has no index. Make a dictionary named \u201c%2\u201d from it?\n\n"
                                 "Lexifol reads its pages (the text of scanned pages that have none is recognised), "
                                 "proposes the page each headword is on and makes the pages searchable. This runs "
                                 "in the background and may take minutes.")
                      .arg(QFileInfo(document).fileName(), name),
                  &w_))
        return false;
    maker().start(document, w_.Places.dataFolder(), name);
    w_.StatusText->say(QStringLiteral("Making %1\u2026").arg(name), 0);
    return true;
}

bool WindowExtras::busyAdding()
{
    if (!maker_ || !maker_->running())
        return false;
    ShowMessage(QStringLiteral("A dictionary is being added already: wait until it is there, or cancel it."),
                MsgIcon::Information, QStringLiteral("Lexifol"), &w_);
    return true;
}

DictionaryMaker& WindowExtras::maker()
{
    if (!maker_) {
        maker_ = new DictionaryMaker(w_.statusStrip);
        // At the end of the catalogue, checked, as soon as it is there.
        connect(maker_, &DictionaryMaker::finished, this, [this](const QString& made, bool ok, const QString& report) {
            if (ok) {
                w_.Catalogue.rescan(w_.Places.dictionaryRoots());
                w_.Catalogue.setChecked(w_.Catalogue.find(made), true);
                w_.showCatalogue();
            }
            w_.StatusText->say(report + (ok ? std::exchange(addedNote_, QString()) : QString()), 0);
        });
    }
    return *maker_;
}

bool WindowExtras::addDictionary(const QStringList& paths)
{
    if (paths.size() == 1 && paths[0].endsWith(QStringLiteral(".djvu"), Qt::CaseInsensitive) && QFileInfo(paths[0]).isFile())
        return offerToMake(paths[0]);
    const bool withDocument = std::any_of(paths.begin(), paths.end(), [](const QString& p) { return p.endsWith(".djvu", Qt::CaseInsensitive); });
    Result<DictionarySource> source = SourceFrom(paths);
    if (source && withDocument) {
        bool ok = false;
        const QString name = QInputDialog::getText(&w_, QStringLiteral("Add dictionary"), QStringLiteral("Its name:"),
                                                   QLineEdit::Normal, source->name, &ok);
        if (!ok)
            return false;
        source = SourceFrom(paths, name);
    }
    QStringList warnings;
    QStringList faults = source ? CheckDictionary(source.value(), &warnings) : QStringList{source.error()};
    if (faults.isEmpty())
        if (const Status free = CanInstall(source.value(), w_.Places.dataFolder(), w_.Catalogue.names()); !free)
            faults << free.error();
    if (!faults.isEmpty()) {
        ShowMessage(QStringLiteral("The dictionary was not added.\n\n") + faults.join(u'\n'), MsgIcon::Error,
                    QStringLiteral("Lexifol"), &w_);
        return false;
    }
    if (busyAdding())
        return false;
    addedNote_ = warnings.isEmpty() ? QString() : QStringLiteral(". ") + warnings.join(u' ');
    // Copied behind the window: a dictionary of gigabytes takes seconds.
    maker().install(source.value(), w_.Places.dataFolder(), w_.Catalogue.names());
    return true;
}

void WindowExtras::chooseAndAdd()
{
    const QStringList files = QFileDialog::getOpenFileNames(&w_, QStringLiteral("Add dictionary: its index (with its DjVu document when it has no NAME.files folder), or a DjVu document to make one from"),
                                                            QString(), QStringLiteral("Index and document (*.list *.txt *.djvu);;All files (*)"));
    if (!files.isEmpty())
        addDictionary(files);
}

void WindowExtras::catalogueMenu(const QPoint& at)
{
    QMenu menu(w_.catalogueList);
    menu.addAction(QStringLiteral("Add dictionary\u2026"), this, &WindowExtras::chooseAndAdd);
    const QModelIndex index = w_.catalogueList->indexAt(at);
    if (index.isValid()) {
        const int row = index.row();
        QAction* remove = menu.addAction(QStringLiteral("Remove \u201c%1\u201d").arg(w_.Catalogue.name(row)),
                                         this, [this, row] { removeDictionary(row); });
        if (!IsUserDictionary(w_.Catalogue.root(row), w_.Places.userRoot())) {
            remove->setEnabled(false);
            remove->setText(QStringLiteral("Installed with the program: uncheck it to leave it out"));
        }
    }
    menu.exec(w_.catalogueList->viewport()->mapToGlobal(at));
}

bool WindowExtras::removeDictionary(int row)
{
    if (row < 0 || row >= w_.Catalogue.count())
        return false;
    const QString name = w_.Catalogue.name(row);
    if (!IsUserDictionary(w_.Catalogue.root(row), w_.Places.userRoot())) {
        ShowMessage(QStringLiteral("\"%1\" was installed with the program and can only be unchecked.").arg(name),
                    MsgIcon::Information, QStringLiteral("Lexifol"), &w_);
        return false;
    }
    const bool wasOpen = name.compare(w_.CurrentDictionary, Qt::CaseInsensitive) == 0;
    const Result<QString> removed = RemoveDictionary(w_.Places.dataFolder(), name);
    if (!removed) {
        ShowMessage(QStringLiteral("The dictionary was not removed.\n\n") + removed.error(), MsgIcon::Error,
                    QStringLiteral("Lexifol"), &w_);
        return false;
    }
    w_.Catalogue.rescan(w_.Places.dictionaryRoots());
    w_.showCatalogue();
    if (wasOpen)
        w_.openAnother();
    w_.StatusText->say(QStringLiteral("Removed %1: moved to %2").arg(name, removed.value()), 0);
    return true;
}

void WindowExtras::pageMenu(QMenu* menu, const QString& word)
{
    if (!w_.Dictionary.pageIndex || w_.pageView->pageIndex() < 0)
        return;
    menu->addSeparator();
    if (!word.isEmpty())
        menu->addAction(QStringLiteral("Page begins with \u201c%1\u201d").arg(word), this, [this, word] { setPageFirstWord(word); });
    const DictionaryPaths paths{w_.ProgramFolder, w_.CurrentDictionary, w_.Places.userRoot()};
    if (const PagesInDoubt doubt = PagesInDoubtAfter(paths, w_.pageView->pageIndex() + 1); doubt.count > 0)
        menu->addAction(QStringLiteral("Next page in doubt (%1)").arg(doubt.count), this, [this] { showNextPageInDoubt(); });
}

bool WindowExtras::setPageFirstWord(const QString& word)
{
    const int page = w_.pageView->pageIndex() + 1;
    const QString name = w_.CurrentDictionary;
    const DictionaryPaths paths{w_.ProgramFolder, name, w_.Places.userRoot()};
    const Status done = SetPageFirstWord(paths, page, word, w_.Dictionary.order());
    if (!done) {
        ShowMessage(QStringLiteral("The index was not changed.\n\n") + done.error(), MsgIcon::Error,
                    QStringLiteral("Lexifol"), &w_);
        return false;
    }
    // The index read again at once, the corrected line selected.
    w_.SkipSearchReplay = true;
    w_.reopenDictionary(name);
    for (int row = 0; row < w_.FirstIndex.count(); ++row)
        if (SplitValue(w_.FirstIndex.value(row)).value(0).toInt() == page) {
            w_.selectIndexRow(row);
            break;
        }
    w_.StatusText->say(QStringLiteral("Page %1 begins with \u201c%2\u201d").arg(page).arg(word));
    return true;
}

bool WindowExtras::showNextPageInDoubt()
{
    // The next after the page on view, so that the maker goes through them all.
    const int page = PagesInDoubtAfter(DictionaryPaths{w_.ProgramFolder, w_.CurrentDictionary, w_.Places.userRoot()},
                                       w_.pageView->pageIndex() + 1).next;
    if (page <= 0) {
        w_.StatusText->say(QStringLiteral("No page is left in doubt"));
        return false;
    }
    w_.composeAndShow(QString::number(page), false, QString());
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
    const bool list = widget == w_.indexList || widget == w_.historyList || widget == w_.bookmarkList
        || widget == w_.catalogueList;
    if (!list && !w_.pageView->isAncestorOf(widget))
        return false;
    w_.searchBox->setFocus(Qt::OtherFocusReason);
    w_.searchBox->insert(text);
    return true;
}

void WindowExtras::catalogueChanged()
{
    const QStringList before = w_.Catalogue.names();
    w_.Catalogue.rescan(w_.Places.dictionaryRoots());
    if (w_.Catalogue.names() == before)
        return;
    w_.showCatalogue();
    w_.StatusText->say(QStringLiteral("The dictionaries were looked at again: %1 installed").arg(w_.Catalogue.count()));
}

// Full screen is for reading: the page alone, with the status bar.
void WindowExtras::toggleFullScreen()
{
    const bool full = !w_.isFullScreen();
    w_.setWindowState(w_.windowState() ^ Qt::WindowFullScreen);
    if (full) {
        for (QWidget* panel : {w_.topPanel, static_cast<QWidget*>(w_.listTabs), static_cast<QWidget*>(w_.menuBar()),
                               static_cast<QWidget*>(w_.OtherDictionaries)})
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
        w_.searchBox->setFocus(Qt::OtherFocusReason);
}

void WindowExtras::printPage()
{
    const QImage page = w_.pageView->pageImage();
    if (page.isNull()) {
        w_.StatusText->say(QStringLiteral("No page to print"));
        return;
    }
    QPrinter printer;
    QPrintDialog dialog(&printer, &w_);
    dialog.setWindowTitle(QStringLiteral("Print the page"));
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
    const auto [current, count] = w_.pageView->readingPlace();
    if (w_.pageView->pageCount() <= 0) {
        w_.StatusText->say(QStringLiteral("No document on view"));
        return;
    }
    bool ok = false;
    // A dictionary that numbers its pages is gone through by those numbers.
    const PrintedPages printed(w_.pageView->pageTitles(), w_.Dictionary.pageOffset, count);
    if (printed.known()) {
        const QString typed = QInputDialog::getText(&w_, QStringLiteral("Go to page"),
                                                    QStringLiteral("Page as printed, or #N for the N-th of the file's %1 pages:").arg(count),
                                                    QLineEdit::Normal, printed.printed(current), &ok);
        if (!ok)
            return;
        if (const int index = printed.indexOf(typed); index >= 0)
            w_.pageView->goToPage(index);
        else
            w_.StatusText->say(QStringLiteral("No page \u201c%1\u201d in this dictionary").arg(typed.left(40)));
        return;
    }
    const int page = QInputDialog::getInt(&w_, QStringLiteral("Go to page"), QStringLiteral("Page (1 to %1):").arg(count),
                                          current + 1, 1, count, 1, &ok);
    if (ok)
        w_.pageView->goToPage(page - 1);
}

} // namespace lexifol
