// Construction of the main window's controls; their behaviour is in MainWindow.cpp.
#include "app/QtPlatformInput.h"
#include "app/MainWindow.h"
#include "library/PrintedPages.h"
#include "index/IndexOps.h"
#include "library/Dictionary.h"
#include "app/StatusLine.h"
#include "app/WindowExtras.h"
#include "app/WindowKeys.h"
#include "app/TextSearchPane.h"
#include "app/UniformListView.h"
#include "app/ListModels.h"
#include "config/Glyphs.h"
#include "config/ConfigurationDialog.h"
#include "app/About.h"
#include "library/Profile.h"
#include "pageview/PageView.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace lexifol;
using lexifol::glyphs::Glyph;

QString MainWindow::DefaultProgramFolder()
{
    return WithSeparator(QCoreApplication::applicationDirPath());
}

MainWindow::MainWindow(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent)
{
    Places = programFolder.isEmpty() ? Locations::Decide(DefaultProgramFolder(), XdgFolders::FromEnvironment())
                                     : Locations::Portable(programFolder);
    if (const QString said = Places.prepareUserFolders(); !said.isEmpty())
        QTimer::singleShot(0, this, [this, said] { showMessages({said}); });
    ProgramFolder = Places.programFolder();
    Dictionary.cache = &indexCache_;
    Dictionary.userRoot = Places.userRoot();
    // The index start-up opens is read while the widgets are built.
    Catalogue.load(Places.dictionaryRoots(), Places.catalogueFile());
    if (const int row = Catalogue.count() > 0 ? qMax(Catalogue.firstChecked(), 0) : -1; row >= 0) {
        const DictionaryPaths paths{Catalogue.root(row), Catalogue.name(row), Places.userRoot()};
        indexCache_.prefetch(paths.firstIndex(), [](const QString& p, IndexList& l) { return LoadFirstIndex(p, l).ok(); });
        indexCache_.prefetch(paths.secondIndex(), [](const QString& p, IndexList& l) { return ReadSecondIndex(p, l); });
    }
    keys_ = std::make_unique<WindowKeys>(*this);
    Automation = std::make_unique<QtPlatformInput>([this] { return pageView ? pageView->pageWindow() : nullptr; });
    buildControls();
    buildMenu();
    startUp();
    extras_ = new WindowExtras(*this);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Lexifol"));
    move(121, 104);
    resize(676, 415);

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    topPanel = new QWidget(central);
    topPanel->setFixedHeight(81);
    topPanel->setAutoFillBackground(true);
    {
        QPalette pal = topPanel->palette();
        pal.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0));
        topPanel->setPalette(pal);
    }
    column->addWidget(topPanel);
    buildCatalogue();
    buildSearchRow();

    auto* splitter = new QSplitter(Qt::Horizontal, central);
    column->addWidget(splitter, 1);
    buildLists(splitter);

    pageView = new PageView(splitter);
    pageView->setAccessibleName(QStringLiteral("Page"));
    connect(pageView, &PageView::lookUpRequested, this, &MainWindow::LookUpPageWord);
    splitter->addWidget(listTabs);
    splitter->addWidget(pageView);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 476});

    statusStrip = new QStatusBar(this);
    StatusText = new StatusLine(statusStrip);
    const auto showPlace = [this] {
        const auto [page, count] = pageView->readingPlace();
        StatusText->setPage(page + 1, count, PrintedPages(pageView->pageTitles(), Dictionary.pageOffset, count).printed(page));
    };
    connect(pageView, &PageView::pageShown, this, showPlace);
    connect(pageView, &PageView::pageInViewChanged, this, showPlace);
    setStatusBar(statusStrip);
}

void MainWindow::buildCatalogue()
{
    catalogueList = new QListWidget(topPanel);
    catalogueList->setFont(ArialFont());
    catalogueList->setGeometry(4, 3, 174, 75);
    catalogueList->setSelectionMode(QAbstractItemView::SingleSelection);
    catalogueList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    catalogueList->setAccessibleName(QStringLiteral("Dictionaries"));
    KeepSelectionVisible(catalogueList);
    connect(catalogueList, &QListWidget::itemDoubleClicked, this, [this] { OpenDictionary(); });
    connect(catalogueList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        Catalogue.setChecked(catalogueList->row(item), item->checkState() == Qt::Checked);
    });
    connect(catalogueList, &QListWidget::itemSelectionChanged, this, [this] {
        QListWidgetItem* item = catalogueList->currentItem();
        Catalogue.setCurrent(item && item->isSelected() ? catalogueList->row(item) : -1);
    });

    moveUpButton = glyphs::button(topPanel, Glyph::MoveUp, QStringLiteral("Move up"), 16);
    moveUpButton->setGeometry(181, 6, 24, 24);
    moveDownButton = glyphs::button(topPanel, Glyph::MoveDown, QStringLiteral("Move down"), 16);
    moveDownButton->setGeometry(181, 50, 24, 24);
    connect(moveUpButton, &QToolButton::clicked, this, [this] { moveCatalogueUp(); });
    connect(moveDownButton, &QToolButton::clicked, this, [this] { moveCatalogueDown(); });
}

void MainWindow::buildSearchRow()
{
    titleBox = MakeTitleBox(topPanel);
    titleBox->setGeometry(212, 4, 300, 22);

    previewButton = new ClickableImage(topPanel);
    previewButton->setPixmap(glyphs::icon(Glyph::Preview, 16).pixmap(16, 16));
    previewButton->setGeometry(212, 31, 16, 16);
    previewButton->setToolTip(QStringLiteral("Normalisation preview"));
    previewButton->setAccessibleName(QStringLiteral("Normalisation preview"));
    previewButton->hide();
    connect(previewButton, &ClickableImage::clicked, this, [this] { showNormalisedForm(); });
    normalisedLabel = new QLabel(topPanel);
    normalisedLabel->setFont(UnicodeFont());
    normalisedLabel->setGeometry(232, 30, 280, 18);

    searchBox = new SearchEdit(topPanel);
    searchBox->setFont(UnicodeFont());
    searchBox->setGeometry(212, 52, 300, 24);
    searchBox->setAccessibleName(QStringLiteral("Search"));
    connect(searchBox, &QLineEdit::textChanged, this, [this] { LookupSearchText(); });
    // A pause in typing: long enough not to draw pages for every letter.
    PreparePageTimer = new QTimer(this);
    PreparePageTimer->setSingleShot(true);
    PreparePageTimer->setInterval(200);
    connect(PreparePageTimer, &QTimer::timeout, this, [this] { prepareSelectedPage(); });
    connect(searchBox, &QLineEdit::returnPressed, this, [this] { ShowSelectedEntry(); });
    connect(searchBox, &SearchEdit::clicked, this, [this] { RefreshSearchBox(); });
    connect(searchBox, &SearchEdit::focused, this, [this] { listTabs->setCurrentWidget(indexTab); });
    connect(searchBox, &SearchEdit::pageKey, this, [this](bool up) { keys_->searchBoxPageScroll(up); });

    backButton = glyphs::button(topPanel, Glyph::Back, QStringLiteral("Back"), 18);
    backButton->setGeometry(518, 52, 26, 24);
    forwardButton = glyphs::button(topPanel, Glyph::Forward, QStringLiteral("Forward"), 18);
    forwardButton->setGeometry(546, 52, 26, 24);
    addBookmarkButton = glyphs::button(topPanel, Glyph::AddBookmark, QStringLiteral("Add bookmark"), 18);
    addBookmarkButton->setGeometry(576, 52, 26, 24);
    findButton = glyphs::button(topPanel, Glyph::Find, QStringLiteral("Find"), 18);
    findButton->setGeometry(606, 52, 26, 24);
    findButton->hide();
    connect(backButton, &QToolButton::clicked, this, [this] { HistoryBack(); });
    connect(forwardButton, &QToolButton::clicked, this, [this] { HistoryForward(); });
    connect(addBookmarkButton, &QToolButton::clicked, this, [this] { addBookmark(); });
    connect(findButton, &QToolButton::clicked, this, [this] { findOnPage(); });

    annotationButton = new ClickableImage(topPanel);
    annotationButton->setPixmap(glyphs::icon(Glyph::Annotation, 32).pixmap(32, 32));
    annotationButton->setFixedSize(32, 32);
    annotationButton->setToolTip(QStringLiteral("Annotation"));
    annotationButton->setAccessibleName(QStringLiteral("Annotation"));
    annotationButton->hide();
    connect(annotationButton, &ClickableImage::clicked, this, [this] { showAnnotation(); });
    // Keep the annotation icon at the panel's top right.
    topPanel->installEventFilter(this);
}

void MainWindow::buildLists(QWidget* splitter)
{
    listTabs = new QTabWidget(splitter);
    listTabs->setTabPosition(QTabWidget::East);
    listTabs->setFont(ArialFont());
    listTabs->setIconSize(QSize(16, 16));
    // A click on a tab takes the focus, so that coming back to the search box
    // brings the index list back into sight.
    listTabs->tabBar()->setFocusPolicy(Qt::StrongFocus);
    bookmarkTab = new QWidget;
    historyTab = new QWidget;
    indexTab = new QWidget;
    AddListTab(listTabs, bookmarkTab, glyphs::icon(Glyph::TabBookmarks, 16), QStringLiteral("Bookmarks"));
    AddListTab(listTabs, historyTab, glyphs::icon(Glyph::TabHistory, 16), QStringLiteral("History"));
    AddListTab(listTabs, indexTab, glyphs::icon(Glyph::TabIndex, 16), QStringLiteral("Index"));

    indexList = MakeList(indexTab, QStringLiteral("Index"), QColor());
    historyList = MakeList(historyTab, QStringLiteral("History"), QColor(0xff, 0xfb, 0xf0));
    bookmarkList = MakeList(bookmarkTab, QStringLiteral("Bookmarks"), QColor(0xa6, 0xca, 0xf0));
    {
        QFont f = UnicodeFont();
        f.setPixelSize(11);
        indexList->setFont(f);
    }
    indexModel_ = new IndexListModel(FirstIndex, this);
    historyModel_ = new EntryListModel(History.entries(), this);
    bookmarkModel_ = new EntryListModel(Bookmarks.entries(), this);
    indexList->setModel(indexModel_);
    historyList->setModel(historyModel_);
    bookmarkList->setModel(bookmarkModel_);
    connect(historyList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { History.setPosition(SelectedRow(historyList)); });
    connect(indexList, &QListView::doubleClicked, this, [this] { openIndexEntry(); });
    connect(historyList, &QListView::doubleClicked, this, [this] { openHistoryEntry(); });
    connect(bookmarkList, &QListView::doubleClicked, this, [this] { openBookmark(); });
    bookmarkList->installEventFilter(this);
    TextSearch = new TextSearchPane(*this);
    AddListTab(listTabs, TextSearch, glyphs::icon(Glyph::Find, 16), QStringLiteral("Text search"));
    listTabs->setCurrentWidget(indexTab);
}

void MainWindow::buildMenu()
{
    configurationAction = menuBar()->addAction(QStringLiteral("Configuration"));
    connect(configurationAction, &QAction::triggered, this, [this] {
        if (!configDialog_ && makesDialogs_) {
            ownConfigDialog_ = std::make_unique<ConfigurationDialog>(Catalogue.names(), Settings.get(), this);
            ownConfigDialog_->setMainWindow(this);
            configDialog_ = ownConfigDialog_.get();
        }
        if (configDialog_) {
            configDialog_->show();
            configDialog_->raise();
            configDialog_->activateWindow();
        }
    });
    helpMenu = menuBar()->addMenu(QStringLiteral("Help"));
    helpAction = helpMenu->addAction(QStringLiteral("Lexifol Help"));
    keyboardLayoutAction = helpMenu->addAction(QStringLiteral("Current keyboard layout"));
    aboutAction = helpMenu->addAction(QStringLiteral("About"));
    connect(helpAction, &QAction::triggered, this, [this] { showHelp(); });
    connect(keyboardLayoutAction, &QAction::triggered, this, [this] { showKeyboardLayout(); });
    connect(aboutAction, &QAction::triggered, this, [this] {
        if (!aboutBox_ && makesDialogs_) {
            ownAboutBox_ = std::make_unique<AboutBox>(this);
            ownAboutBox_->setFolders(Places.describe());
            aboutBox_ = ownAboutBox_.get();
        }
        if (aboutBox_)
            aboutBox_->show();
    });
}

