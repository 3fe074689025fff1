// Construction of the main window's controls; their behaviour is in Unit1.cpp.
#include "app/QtPlatformInput.h"
#include "app/Unit1.h"
#include "index/IndexOps.h"
#include "library/Dictionary.h"
#include "app/StatusLine.h"
#include "app/WindowExtras.h"
#include "app/WindowKeys.h"
#include "app/TextSearchPane.h"
#include "app/UniformListView.h"
#include "app/ListModels.h"
#include "config/Glyphs.h"
#include "config/shcut.h"
#include "app/About.h"
#include "library/Profile.h"
#include "pageview/WebBrowser.h"

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

QString TForm1::DefaultProgramFolder()
{
    return WithSeparator(QCoreApplication::applicationDirPath());
}

TForm1::TForm1(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent)
{
    Places = programFolder.isEmpty() ? Locations::Decide(DefaultProgramFolder(), XdgFolders::FromEnvironment())
                                     : Locations::Portable(programFolder);
    Places.prepareUserFolders();
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
    Automation = std::make_unique<QtPlatformInput>([this] { return WebBrowser1 ? WebBrowser1->pageWindow() : nullptr; });
    buildControls();
    buildMenu();
    startUp();
    extras_ = new WindowExtras(*this);
}

TForm1::~TForm1() = default;

void TForm1::buildControls()
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

    Panel1 = new QWidget(central);
    Panel1->setFixedHeight(81);
    Panel1->setAutoFillBackground(true);
    {
        QPalette pal = Panel1->palette();
        pal.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0));
        Panel1->setPalette(pal);
    }
    column->addWidget(Panel1);
    buildCatalogue();
    buildSearchRow();

    auto* splitter = new QSplitter(Qt::Horizontal, central);
    column->addWidget(splitter, 1);
    buildLists(splitter);

    WebBrowser1 = new TWebBrowser(splitter);
    WebBrowser1->setAccessibleName(QStringLiteral("Page"));
    connect(WebBrowser1, &TWebBrowser::lookUpRequested, this, &TForm1::LookUpPageWord);
    splitter->addWidget(PageControl2);
    splitter->addWidget(WebBrowser1);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 476});

    StatusBar1 = new QStatusBar(this);
    StatusText = new StatusLine(StatusBar1);
    const auto showPlace = [this] {
        const auto [page, count] = WebBrowser1->readingPlace();
        StatusText->setPage(page + 1, count);
    };
    connect(WebBrowser1, &TWebBrowser::pageShown, this, showPlace);
    connect(WebBrowser1, &TWebBrowser::pageInViewChanged, this, showPlace);
    setStatusBar(StatusBar1);
}

void TForm1::buildCatalogue()
{
    ListView1 = new QListWidget(Panel1);
    ListView1->setFont(ArialFont());
    ListView1->setGeometry(4, 3, 174, 75);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setAccessibleName(QStringLiteral("Dictionaries"));
    KeepSelectionVisible(ListView1);
    connect(ListView1, &QListWidget::itemDoubleClicked, this, [this] { OpenDictionary(); });
    connect(ListView1, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        Catalogue.setChecked(ListView1->row(item), item->checkState() == Qt::Checked);
    });
    connect(ListView1, &QListWidget::itemSelectionChanged, this, [this] {
        QListWidgetItem* item = ListView1->currentItem();
        Catalogue.setCurrent(item && item->isSelected() ? ListView1->row(item) : -1);
    });

    SpeedButton1 = glyphs::button(Panel1, Glyph::MoveUp, QStringLiteral("Move up"), 16);
    SpeedButton1->setGeometry(181, 6, 24, 24);
    SpeedButton2 = glyphs::button(Panel1, Glyph::MoveDown, QStringLiteral("Move down"), 16);
    SpeedButton2->setGeometry(181, 50, 24, 24);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
}

void TForm1::buildSearchRow()
{
    TntEdit1 = MakeTitleBox(Panel1);
    TntEdit1->setGeometry(212, 4, 300, 22);

    Image2 = new TImage(Panel1);
    Image2->setPixmap(glyphs::icon(Glyph::Preview, 16).pixmap(16, 16));
    Image2->setGeometry(212, 31, 16, 16);
    Image2->setToolTip(QStringLiteral("Normalisation preview"));
    Image2->setAccessibleName(QStringLiteral("Normalisation preview"));
    Image2->hide();
    connect(Image2, &TImage::clicked, this, [this] { Image2Click(); });
    TntLabel1 = new QLabel(Panel1);
    TntLabel1->setFont(UnicodeFont());
    TntLabel1->setGeometry(232, 30, 280, 18);

    TntEdit3 = new TSearchEdit(Panel1);
    TntEdit3->setFont(UnicodeFont());
    TntEdit3->setGeometry(212, 52, 300, 24);
    TntEdit3->setAccessibleName(QStringLiteral("Search"));
    connect(TntEdit3, &QLineEdit::textChanged, this, [this] { LookupSearchText(); });
    // A pause in typing: long enough not to draw pages for every letter.
    PreparePageTimer = new QTimer(this);
    PreparePageTimer->setSingleShot(true);
    PreparePageTimer->setInterval(200);
    connect(PreparePageTimer, &QTimer::timeout, this, [this] { prepareSelectedPage(); });
    connect(TntEdit3, &QLineEdit::returnPressed, this, [this] { ShowSelectedEntry(); });
    connect(TntEdit3, &TSearchEdit::clicked, this, [this] { RefreshSearchBox(); });
    connect(TntEdit3, &TSearchEdit::focused, this, [this] { PageControl2->setCurrentWidget(TabSheet6); });
    connect(TntEdit3, &TSearchEdit::pageKey, this, [this](bool up) { keys_->searchBoxPageScroll(up); });

    SpeedButton3 = glyphs::button(Panel1, Glyph::Back, QStringLiteral("Back"), 18);
    SpeedButton3->setGeometry(518, 52, 26, 24);
    SpeedButton4 = glyphs::button(Panel1, Glyph::Forward, QStringLiteral("Forward"), 18);
    SpeedButton4->setGeometry(546, 52, 26, 24);
    SpeedButton5 = glyphs::button(Panel1, Glyph::AddBookmark, QStringLiteral("Add bookmark"), 18);
    SpeedButton5->setGeometry(576, 52, 26, 24);
    SpeedButton6 = glyphs::button(Panel1, Glyph::Find, QStringLiteral("Find"), 18);
    SpeedButton6->setGeometry(606, 52, 26, 24);
    SpeedButton6->hide();
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { HistoryBack(); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { HistoryForward(); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { SpeedButton5Click(); });
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { SpeedButton6Click(); });

    Image1 = new TImage(Panel1);
    Image1->setPixmap(glyphs::icon(Glyph::Annotation, 32).pixmap(32, 32));
    Image1->setFixedSize(32, 32);
    Image1->setToolTip(QStringLiteral("Annotation"));
    Image1->setAccessibleName(QStringLiteral("Annotation"));
    Image1->hide();
    connect(Image1, &TImage::clicked, this, [this] { Image1Click(); });
    // Keep the annotation icon at the panel's top right.
    Panel1->installEventFilter(this);
}

void TForm1::buildLists(QWidget* splitter)
{
    PageControl2 = new QTabWidget(splitter);
    PageControl2->setTabPosition(QTabWidget::East);
    PageControl2->setFont(ArialFont());
    PageControl2->setIconSize(QSize(16, 16));
    // A click on a tab takes the focus, so that coming back to the search box
    // brings the index list back into sight.
    PageControl2->tabBar()->setFocusPolicy(Qt::StrongFocus);
    TabSheet4 = new QWidget;
    TabSheet5 = new QWidget;
    TabSheet6 = new QWidget;
    AddListTab(PageControl2, TabSheet4, glyphs::icon(Glyph::TabBookmarks, 16), QStringLiteral("Bookmarks"));
    AddListTab(PageControl2, TabSheet5, glyphs::icon(Glyph::TabHistory, 16), QStringLiteral("History"));
    AddListTab(PageControl2, TabSheet6, glyphs::icon(Glyph::TabIndex, 16), QStringLiteral("Index"));

    TntListBox1 = MakeList(TabSheet6, QStringLiteral("Index"), QColor());
    TntListBox2 = MakeList(TabSheet5, QStringLiteral("History"), QColor(0xff, 0xfb, 0xf0));
    TntListBox3 = MakeList(TabSheet4, QStringLiteral("Bookmarks"), QColor(0xa6, 0xca, 0xf0));
    {
        QFont f = UnicodeFont();
        f.setPixelSize(11);
        TntListBox1->setFont(f);
    }
    indexModel_ = new IndexListModel(FirstIndex, this);
    historyModel_ = new EntryListModel(History.entries(), this);
    bookmarkModel_ = new EntryListModel(Bookmarks.entries(), this);
    TntListBox1->setModel(indexModel_);
    TntListBox2->setModel(historyModel_);
    TntListBox3->setModel(bookmarkModel_);
    connect(TntListBox2->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { History.setPosition(SelectedRow(TntListBox2)); });
    connect(TntListBox1, &QListView::doubleClicked, this, [this] { TntListBox1DblClick(); });
    connect(TntListBox2, &QListView::doubleClicked, this, [this] { TntListBox2DblClick(); });
    connect(TntListBox3, &QListView::doubleClicked, this, [this] { TntListBox3DblClick(); });
    TntListBox3->installEventFilter(this);
    TextSearch = new TextSearchPane(*this);
    AddListTab(PageControl2, TextSearch, glyphs::icon(Glyph::Find, 16), QStringLiteral("Text search"));
    PageControl2->setCurrentWidget(TabSheet6);
}

void TForm1::buildMenu()
{
    file1 = menuBar()->addAction(QStringLiteral("Configuration"));
    connect(file1, &QAction::triggered, this, [this] {
        if (!form2_ && makesDialogs_) {
            ownForm2_ = std::make_unique<TForm2>(Catalogue.names(), Settings.get(), this);
            ownForm2_->setMainWindow(this);
            form2_ = ownForm2_.get();
        }
        if (form2_) {
            form2_->show();
            form2_->raise();
            form2_->activateWindow();
        }
    });
    About1 = menuBar()->addMenu(QStringLiteral("Help"));
    LexifolHelp1 = About1->addAction(QStringLiteral("Lexifol Help"));
    KeyboardLayout1 = About1->addAction(QStringLiteral("Current keyboard layout"));
    About2 = About1->addAction(QStringLiteral("About"));
    connect(LexifolHelp1, &QAction::triggered, this, [this] { LexifolHelp1Click(); });
    connect(KeyboardLayout1, &QAction::triggered, this, [this] { KeyboardLayout1Click(); });
    connect(About2, &QAction::triggered, this, [this] {
        if (!aboutBox_ && makesDialogs_) {
            ownAboutBox_ = std::make_unique<TAboutBox>(this);
            ownAboutBox_->setFolders(Places.describe());
            aboutBox_ = ownAboutBox_.get();
        }
        if (aboutBox_)
            aboutBox_->show();
    });
}

