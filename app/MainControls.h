#pragma once
// The main window's controls, built and laid out without behaviour: the
// window connects them, and each helper is handed the ones it works on.
#include <QCoreApplication>

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMainWindow;
class QMenu;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QWidget;

namespace lexifol {

class ClickableImage;
class OtherStrip;
class PageView;
class SearchEdit;
class StatusLine;
class TextSearchPane;

struct MainControls {
    Q_DECLARE_TR_FUNCTIONS(MainControls)

public:
    QWidget* topPanel = nullptr; // the dictionaries, the title and the search row
    QListWidget* catalogueList = nullptr;
    QToolButton *moveUpButton = nullptr, *moveDownButton = nullptr;
    QLineEdit* titleBox = nullptr;
    ClickableImage* previewButton = nullptr;
    QLabel* normalisedLabel = nullptr;
    SearchEdit* searchBox = nullptr;
    QToolButton *backButton = nullptr, *forwardButton = nullptr, *addBookmarkButton = nullptr, *findButton = nullptr;
    ClickableImage* annotationButton = nullptr;
    QTabWidget* listTabs = nullptr;
    QWidget *bookmarkTab = nullptr, *historyTab = nullptr, *indexTab = nullptr;
    QListView *indexList = nullptr, *historyList = nullptr, *bookmarkList = nullptr;
    TextSearchPane* textSearch = nullptr;    // the fourth tab, added by the window
    OtherStrip* otherDictionaries = nullptr; // none when [View] OtherDictionaries=0
    PageView* pageView = nullptr;
    QStatusBar* statusStrip = nullptr;
    StatusLine* status = nullptr;
    QAction* configurationAction = nullptr;
    QMenu* helpMenu = nullptr;
    QAction *helpAction = nullptr, *keyboardLayoutAction = nullptr, *aboutAction = nullptr;

    // Builds them into the window. Each has its member's name as its
    // objectName, and a name for screen readers where it shows no text.
    void build(QMainWindow& window);

private:
    void buildCatalogue();
    void buildSearchRow();
    void buildLists(QWidget* splitter);
    void buildMenu(QMainWindow& window);
};

} // namespace lexifol
