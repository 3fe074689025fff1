// The main window put together: its controls connected, its menu, the
// pages it composes, and its ending.
#include "app/About.h"
#include "app/EntryLists.h"
#include "app/ListModels.h"
#include "app/MainWidgets.h"
#include "app/MainWindow.h"
#include "app/QtPlatformInput.h"
#include "app/StatusLine.h"
#include "app/TextSearchPane.h"
#include "app/WindowExtras.h"
#include "app/WindowKeys.h"
#include "config/ConfigurationDialog.h"
#include "config/Glyphs.h"
#include "config/Messages.h"
#include "index/IndexOps.h"
#include "library/Dictionary.h"
#include "library/KeyboardLayout.h"
#include "library/WordLookup.h"
#include "library/PrintedPages.h"
#include "pageview/Composition.h"
#include "pageview/PageView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QListView>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

using namespace lexifol;

QString MainWindow::DefaultProgramFolder()
{
    return WithSeparator(QCoreApplication::applicationDirPath());
}

MainWindow::MainWindow(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent)
{
    Locations& places = state_.places;
    places = programFolder.isEmpty() ? Locations::Decide(DefaultProgramFolder(), XdgFolders::FromEnvironment())
                                     : Locations::Portable(programFolder);
    if (const QString said = places.prepareUserFolders(); !said.isEmpty())
        QTimer::singleShot(0, this, [this, said] { showMessages({said}); });
    state_.programFolder = places.programFolder();
    state_.dictionary.cache = &state_.indexCache;
    state_.dictionary.userRoot = places.userRoot();
    // The index start-up opens is read while the widgets are built.
    Catalogue& catalogue = state_.catalogue;
    catalogue.load(places.dictionaryRoots(), places.catalogueFile());
    if (const int row = catalogue.count() > 0 ? qMax(catalogue.firstChecked(), 0) : -1; row >= 0) {
        const DictionaryPaths paths{catalogue.root(row), catalogue.name(row), places.userRoot()};
        state_.indexCache.prefetch(paths.firstIndex(), [](const QString& p, IndexList& l) { return LoadFirstIndex(p, l).ok(); });
        state_.indexCache.prefetch(paths.secondIndex(), [](const QString& p, IndexList& l) { return ReadSecondIndex(p, l); });
    }
    state_.input = std::make_unique<QtPlatformInput>([this] { return ui_.pageView ? ui_.pageView->pageWindow() : nullptr; });
    setObjectName(QStringLiteral("Form1"));
    ApplyProgramIcon(this);
    // X11 takes the window class from it: "Lexifol", whatever the version.
    QCoreApplication::setApplicationName(QStringLiteral("Lexifol"));
    ui_.build(*this);
    keys_ = std::make_unique<WindowKeys>(parts_);
    connectControls();
    connectMenu();
    // The keys of the main window work wherever the focus is, also during
    // start-up.
    qApp->installEventFilter(this);
    startUp();
    extras_ = new WindowExtras(parts_);
}

MainWindow::~MainWindow() = default;

void MainWindow::connectControls()
{
    QListWidget* catalogueList = ui_.catalogueList;
    connect(catalogueList, &QListWidget::itemDoubleClicked, this, [this] { openDictionary(); });
    connect(catalogueList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        state_.catalogue.setChecked(ui_.catalogueList->row(item), item->checkState() == Qt::Checked);
    });
    connect(catalogueList, &QListWidget::itemSelectionChanged, this, [this] {
        QListWidgetItem* item = ui_.catalogueList->currentItem();
        state_.catalogue.setCurrent(item && item->isSelected() ? ui_.catalogueList->row(item) : -1);
    });
    const auto move = [this](int direction) {
        if (state_.catalogue.moveCurrent(direction))
            showCatalogue();
    };
    connect(ui_.moveUpButton, &QToolButton::clicked, this, [move] { move(-1); });
    connect(ui_.moveDownButton, &QToolButton::clicked, this, [move] { move(+1); });

    SearchEdit* searchBox = ui_.searchBox;
    connect(ui_.previewButton, &ClickableImage::clicked, this, [this] {
        ui_.normalisedLabel->setText(NormaliseHeadword(ui_.searchBox->text(), state_.dictionary.rules));
    });
    connect(searchBox, &QLineEdit::textChanged, this, [this] { lookUpSearchText(); });
    // A pause in typing: long enough not to draw pages for every letter.
    prepareTimer_ = new QTimer(this);
    prepareTimer_->setObjectName(QStringLiteral("prepareTimer"));
    prepareTimer_->setSingleShot(true);
    prepareTimer_->setInterval(200);
    connect(prepareTimer_, &QTimer::timeout, this, [this] { prepareSelectedPage(); });
    connect(searchBox, &QLineEdit::returnPressed, this, [this] { showSelectedEntry(); });
    connect(searchBox, &SearchEdit::clicked, this, [this] { refreshSearchBox(); });
    connect(searchBox, &SearchEdit::focused, this, [this] { ui_.listTabs->setCurrentWidget(ui_.indexTab); });
    connect(searchBox, &SearchEdit::pageKey, this, [this](bool up) { keys_->searchBoxPageScroll(up); });
    connect(ui_.findButton, &QToolButton::clicked, this, [this] { keys_->find(true); });
    connect(ui_.annotationButton, &ClickableImage::clicked, this, [this] { showAnnotation(); });
    // Keep the annotation icon at the panel's top right.
    ui_.topPanel->installEventFilter(this);

    indexModel_ = new IndexListModel(state_.dictionary.first, this);
    ui_.indexList->setModel(indexModel_);
    connect(ui_.indexList, &QListView::doubleClicked, this, [this] { openIndexEntry(); });
    entries_ = new EntryLists(parts_);
    connect(entries_, &EntryLists::openRequested, this, &MainWindow::showHeadword);
    connect(entries_, &EntryLists::saved, this, &MainWindow::reportSave);
    ui_.textSearch = new TextSearchPane(parts_);
    AddListTab(ui_.listTabs, ui_.textSearch, glyphs::icon(glyphs::Glyph::Find, 16), QStringLiteral("Text search"));
    ui_.listTabs->setCurrentWidget(ui_.indexTab);

    PageView* page = ui_.pageView;
    connect(page, &PageView::lookUpRequested, this, &MainWindow::lookUpPageWord);
    const auto showPlace = [this] {
        const auto [at, count] = ui_.pageView->readingPlace();
        const PrintedPages printed(ui_.pageView->pageTitles(), state_.dictionary.pageOffset, count);
        ui_.status->setPage(at + 1, count, printed.printed(at));
    };
    connect(page, &PageView::pageShown, this, showPlace);
    connect(page, &PageView::pageInViewChanged, this, showPlace);
}

void MainWindow::connectMenu()
{
    connect(ui_.configurationAction, &QAction::triggered, this, [this] {
        if (!configDialog_ && makesDialogs_) {
            ownConfigDialog_ = std::make_unique<ConfigurationDialog>(state_.catalogue.names(), state_.settings.get(), this);
            ownConfigDialog_->setMainWindow(this);
            configDialog_ = ownConfigDialog_.get();
        }
        if (configDialog_) {
            configDialog_->show();
            configDialog_->raise();
            configDialog_->activateWindow();
        }
    });
    connect(ui_.helpAction, &QAction::triggered, this, [this] { showHelp(); });
    connect(ui_.keyboardLayoutAction, &QAction::triggered, this, [this] { showKeyboardLayout(); });
    connect(ui_.aboutAction, &QAction::triggered, this, [this] {
        if (!aboutBox_ && makesDialogs_) {
            ownAboutBox_ = std::make_unique<AboutBox>(this);
            ownAboutBox_->setFolders(state_.places.describe());
            aboutBox_ = ownAboutBox_.get();
        }
        if (aboutBox_)
            aboutBox_->show();
    });
}

void MainWindow::setAboutBox(AboutBox* box) { aboutBox_ = box; }
void MainWindow::setConfigurationDialog(ConfigurationDialog* dlg) { configDialog_ = dlg; }
void MainWindow::setPreviewVisible(bool visible) { ui_.previewButton->setVisible(visible); }
void MainWindow::stepHistory(bool back) { entries_->stepHistory(back); }
void MainWindow::addBookmark() { entries_->addBookmark(); }
void MainWindow::clearBookmarks() { entries_->clearBookmarks(); }

bool MainWindow::dialogOpen() const
{
    return (configDialog_ && configDialog_->isVisible()) || (aboutBox_ && aboutBox_->isVisible());
}

// Writes the page view file and shows the page, with its marks.
void MainWindow::showPage(const PageShow& page)
{
    const WindowState& s = state_;
    const CompositionInput in{s.programFolder, s.dictionary.name, s.dictionary.wholeFile,
                              s.dictionary.pluginParameters, page.page, page.annotationCase};
    PageViewState view{s.singleFileOnView, s.extraPageOnView};
    PageViewRequest request = ComposeAndWrite(in, view, s.places.pageViewFile());
    state_.singleFileOnView = view.singleFileOnView;
    const bool annotation = page.annotationCase && page.page == QLatin1StringView("Annotation");
    if (s.locateHeadword && !annotation) {
        request.mark = page.mark;
        request.markOccurrence = page.occurrence;
    }
    request.find = page.find;
    ui_.pageView->Show(request);
}

// The page Enter would show for the selected entry, drawn now, so that
// Enter finds it ready. Nothing is written and nothing on view changes.
void MainWindow::prepareSelectedPage()
{
    const WindowState& s = state_;
    const int row = indexRowCount() > 0 ? selectedIndexRow() : -1;
    const std::optional<Hit> hit = row >= 0 ? EntryHit(s.dictionary, row, ui_.searchBox->text()) : std::nullopt;
    if (!hit || hit->noPage)
        return;
    const CompositionInput in{s.programFolder, s.dictionary.name, s.dictionary.wholeFile,
                              s.dictionary.pluginParameters, hit->page, true};
    PageViewRequest request = ComposePageRequest(in, {s.singleFileOnView, s.extraPageOnView});
    request.viewFile = s.places.pageViewFile();
    ui_.pageView->Prepare(request);
}

void MainWindow::showAnnotation()
{
    const DictionaryPaths paths{state_.programFolder, state_.dictionary.name, state_.places.userRoot()};
    if (QFileInfo::exists(paths.annotationDjvu())) {
        showPage(QStringLiteral("Annotation"));
    } else if (QFileInfo::exists(paths.annotationHtm())) {
        state_.singleFileOnView = state_.extraPageOnView = true;
        ui_.pageView->Navigate(paths.annotationHtm());
        ui_.status->setPage(0, 0);   // no page of the document is on view
        ui_.status->setZoom(0);
    }
}

void MainWindow::showHelp()
{
    state_.singleFileOnView = state_.extraPageOnView = true;
    ui_.pageView->Navigate(state_.places.helpPage());
    ui_.status->setPage(0, 0);   // no page of the document is on view
    ui_.status->setZoom(0);
}

void MainWindow::showKeyboardLayout()
{
    const QByteArray id = ActiveKeyboardLayoutName();
    if (!id.isEmpty())
        ShowMessage(QString::fromLatin1(id), MsgIcon::Information, QStringLiteral("Current keyboard layout:"), this);
}

void MainWindow::shutdown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    indexModel_->setItemCount(0);
    state_.dictionary.clear();
    reportSave(state_.places.catalogueFile(), state_.catalogue.save(state_.places.catalogueFile()));
    reportSave(state_.bookmarks.path(), state_.bookmarks.save());
}

void MainWindow::reportSave(const QString& path, const Status& result)
{
    const QString text = saveReport_.message(path, result);
    if (!result)
        ui_.status->say(QStringLiteral("Not saved: %1").arg(QDir::toNativeSeparators(path)), 0);
    if (!text.isEmpty())
        ShowMessage(text, MsgIcon::Error, QStringLiteral("Lexifol"), this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (keys_ && keys_->filter(watched, event))
        return true;
    if (extras_ && extras_->filter(watched, event))
        return true;
    if (watched == ui_.topPanel && event->type() == QEvent::Resize)
        ui_.annotationButton->move(ui_.topPanel->width() - ui_.annotationButton->width() - 6, 4);
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    shutdown();
    if (aboutBox_)
        aboutBox_->hide();
    if (configDialog_)
        configDialog_->hide();
    e->accept();
    QApplication::quit();
}
