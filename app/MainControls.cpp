// The main window's controls and their places; the window gives them
// their behaviour.
#include "app/MainControls.h"
#include "app/MainWidgets.h"
#include "app/StatusLine.h"
#include "config/Glyphs.h"
#include "pageview/PageView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace lexifol {

using glyphs::Glyph;

namespace {

template<class W> W* Named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1StringView(name));
    return widget;
}

} // namespace

void MainControls::build(QMainWindow& window)
{
    window.setWindowTitle(QStringLiteral("Lexifol"));
    window.move(121, 104);
    window.resize(676, 415);

    auto* central = new QWidget(&window);
    window.setCentralWidget(central);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    topPanel = Named(new QWidget(central), "topPanel");
    topPanel->setFixedHeight(81);
    topPanel->setAutoFillBackground(true);
    QPalette pal = topPanel->palette();
    pal.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0));
    topPanel->setPalette(pal);
    column->addWidget(topPanel);
    buildCatalogue();
    buildSearchRow();

    auto* splitter = new QSplitter(Qt::Horizontal, central);
    column->addWidget(splitter, 1);
    buildLists(splitter);
    pageView = Named(new PageView(splitter), "pageView");
    pageView->setAccessibleName(tr("Page"));
    splitter->addWidget(listTabs);
    splitter->addWidget(pageView);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 476});

    statusStrip = Named(new QStatusBar(&window), "statusStrip");
    status = Named(new StatusLine(statusStrip), "status");
    window.setStatusBar(statusStrip);
    buildMenu(window);
}

void MainControls::buildCatalogue()
{
    catalogueList = Named(new QListWidget(topPanel), "catalogueList");
    catalogueList->setFont(ArialFont());
    catalogueList->setGeometry(4, 3, 174, 75);
    catalogueList->setSelectionMode(QAbstractItemView::SingleSelection);
    catalogueList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    catalogueList->setAccessibleName(tr("Dictionaries"));
    KeepSelectionVisible(catalogueList);
    moveUpButton = Named(glyphs::button(topPanel, Glyph::MoveUp, tr("Move up"), 16), "moveUpButton");
    moveUpButton->setGeometry(181, 6, 24, 24);
    moveDownButton = Named(glyphs::button(topPanel, Glyph::MoveDown, tr("Move down"), 16), "moveDownButton");
    moveDownButton->setGeometry(181, 50, 24, 24);
}

void MainControls::buildSearchRow()
{
    titleBox = Named(MakeTitleBox(topPanel), "titleBox");
    titleBox->setGeometry(212, 4, 300, 22);

    previewButton = Named(new ClickableImage(topPanel), "previewButton");
    previewButton->setPixmap(glyphs::icon(Glyph::Preview, 16).pixmap(16, 16));
    previewButton->setGeometry(212, 31, 16, 16);
    previewButton->setToolTip(tr("Normalisation preview"));
    previewButton->setAccessibleName(tr("Normalisation preview"));
    previewButton->hide();
    normalisedLabel = Named(new QLabel(topPanel), "normalisedLabel");
    normalisedLabel->setFont(UnicodeFont());
    normalisedLabel->setGeometry(232, 30, 280, 18);

    searchBox = Named(new SearchEdit(topPanel), "searchBox");
    searchBox->setFont(UnicodeFont());
    searchBox->setGeometry(212, 52, 300, 24);
    searchBox->setAccessibleName(tr("Search"));

    backButton = Named(glyphs::button(topPanel, Glyph::Back, tr("Back"), 18), "backButton");
    backButton->setGeometry(518, 52, 26, 24);
    forwardButton = Named(glyphs::button(topPanel, Glyph::Forward, tr("Forward"), 18), "forwardButton");
    forwardButton->setGeometry(546, 52, 26, 24);
    addBookmarkButton = Named(glyphs::button(topPanel, Glyph::AddBookmark, tr("Add bookmark"), 18),
                              "addBookmarkButton");
    addBookmarkButton->setGeometry(576, 52, 26, 24);
    findButton = Named(glyphs::button(topPanel, Glyph::Find, tr("Find"), 18), "findButton");
    findButton->setGeometry(606, 52, 26, 24);
    findButton->hide();

    annotationButton = Named(new ClickableImage(topPanel), "annotationButton");
    annotationButton->setPixmap(glyphs::icon(Glyph::Annotation, 32).pixmap(32, 32));
    annotationButton->setFixedSize(32, 32);
    annotationButton->setToolTip(tr("Annotation"));
    annotationButton->setAccessibleName(tr("Annotation"));
    annotationButton->hide();
}

void MainControls::buildLists(QWidget* splitter)
{
    listTabs = Named(new QTabWidget(splitter), "listTabs");
    listTabs->setTabPosition(QTabWidget::East);
    listTabs->setFont(ArialFont());
    listTabs->setIconSize(QSize(16, 16));
    // A click on a tab takes the focus, so that coming back to the search box
    // brings the index list back into sight.
    listTabs->tabBar()->setFocusPolicy(Qt::StrongFocus);
    bookmarkTab = Named(new QWidget, "bookmarkTab");
    historyTab = Named(new QWidget, "historyTab");
    indexTab = Named(new QWidget, "indexTab");
    AddListTab(listTabs, bookmarkTab, glyphs::icon(Glyph::TabBookmarks, 16), tr("Bookmarks"));
    AddListTab(listTabs, historyTab, glyphs::icon(Glyph::TabHistory, 16), tr("History"));
    AddListTab(listTabs, indexTab, glyphs::icon(Glyph::TabIndex, 16), tr("Index"));

    indexList = Named(MakeList(indexTab, tr("Index"), QColor()), "indexList");
    historyList = Named(MakeList(historyTab, tr("History"), QColor(0xff, 0xfb, 0xf0)), "historyList");
    bookmarkList = Named(MakeList(bookmarkTab, tr("Bookmarks"), QColor(0xa6, 0xca, 0xf0)), "bookmarkList");
    QFont f = UnicodeFont();
    f.setPixelSize(11);
    indexList->setFont(f);
}

void MainControls::buildMenu(QMainWindow& window)
{
    configurationAction = Named(window.menuBar()->addAction(tr("Configuration")), "configurationAction");
    helpMenu = Named(window.menuBar()->addMenu(tr("Help")), "helpMenu");
    helpAction = Named(helpMenu->addAction(tr("Lexifol Help")), "helpAction");
    keyboardLayoutAction = Named(helpMenu->addAction(tr("Current keyboard layout")), "keyboardLayoutAction");
    aboutAction = Named(helpMenu->addAction(tr("About")), "aboutAction");
}

} // namespace lexifol
