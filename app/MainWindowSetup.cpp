// The main window put together: its controls connected, its menu, the
// pages it composes, and its ending.
#include "app/CatalogueView.h"
#include "app/EntryLists.h"
#include "app/PageRequests.h"
#include "app/KeyMapper.h"
#include "app/ListModels.h"
#include "app/MainWidgets.h"
#include "app/MainWindow.h"
#include "app/QtPlatformInput.h"
#include "app/StatusLine.h"
#include "app/TextSearchPane.h"
#include "app/Translations.h"
#include "app/WindowDialogs.h"
#include "app/WindowExtras.h"
#include "app/WindowKeys.h"
#include "config/Glyphs.h"
#include "config/Messages.h"
#include "index/IndexOps.h"
#include "library/Dictionary.h"
#include "library/WordLookup.h"
#include "pageview/PageView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QListView>
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
    state_.language = InstalledLanguage();
    const QString said = state_.load(programFolder.isEmpty()
                                         ? Locations::Decide(DefaultProgramFolder(), XdgFolders::FromEnvironment())
                                         : Locations::Portable(programFolder));
    if (!said.isEmpty())
        QTimer::singleShot(0, this, [this, said] { showMessages({said}); });
    state_.input = std::make_unique<QtPlatformInput>(
        [this] { return ui_.pageView ? ui_.pageView->pageWindow() : nullptr; });
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
    keyboard_ = new KeyMapper(this);
    keyboard_->watch(ui_.searchBox);
    keyboard_->watch(ui_.textSearch->field());
    startUp();
    extras_ = new WindowExtras(parts_);
}

MainWindow::~MainWindow() = default;

void MainWindow::connectControls()
{
    catalogueView_ = new CatalogueView(ui_.catalogueList, ui_.moveUpButton, ui_.moveDownButton, state_.catalogue, this);
    connect(catalogueView_, &CatalogueView::openRequested, this, [this] { openDictionary(); });
    pages_ = std::make_unique<PageRequests>(parts_);

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
    AddListTab(ui_.listTabs, ui_.textSearch, glyphs::icon(glyphs::Glyph::Find, 16), tr("Text search"));
    ui_.listTabs->setCurrentWidget(ui_.indexTab);

    connect(ui_.pageView, &PageView::lookUpRequested, this, &MainWindow::lookUpPageWord);
}

void MainWindow::connectMenu()
{
    dialogs_ = std::make_unique<WindowDialogs>(*this, *this, state_);
    connect(ui_.configurationAction, &QAction::triggered, dialogs_.get(), &WindowDialogs::showConfiguration);
    connect(ui_.aboutAction, &QAction::triggered, dialogs_.get(), &WindowDialogs::showAbout);
    connect(ui_.helpAction, &QAction::triggered, this, [this] { showHelp(); });
}

void MainWindow::setPreviewVisible(bool visible)
{
    ui_.previewButton->setVisible(visible);
}
void MainWindow::stepHistory(bool back)
{
    entries_->stepHistory(back);
}
void MainWindow::addBookmark()
{
    entries_->addBookmark();
}
void MainWindow::clearBookmarks()
{
    entries_->clearBookmarks();
}

bool MainWindow::dialogOpen() const
{
    return dialogs_->anyOpen();
}

void MainWindow::showPage(const PageShow& page)
{
    pages_->show(page);
}
void MainWindow::showHelp()
{
    pages_->showFile(state_.places.helpPage(state_.language));
}

// The page Enter would show for the selected entry, drawn while the user
// pauses in typing.
void MainWindow::prepareSelectedPage()
{
    const int row = indexRowCount() > 0 ? selectedIndexRow() : -1;
    const std::optional<Hit> hit = row >= 0 ? EntryHit(state_.dictionary, row, ui_.searchBox->text()) : std::nullopt;
    if (hit && !hit->noPage)
        pages_->prepare(hit->page);
}

void MainWindow::showAnnotation()
{
    const DictionaryPaths paths{state_.programFolder, state_.dictionary.name, state_.places.userRoot()};
    if (QFileInfo::exists(paths.annotationDjvu()))
        showPage(QStringLiteral("Annotation"));
    else if (QFileInfo::exists(paths.annotationHtm()))
        pages_->showFile(paths.annotationHtm());
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
        ui_.status->say(tr("Not saved: %1").arg(QDir::toNativeSeparators(path)), 0);
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
    dialogs_->hideAll();
    e->accept();
    QApplication::quit();
}
