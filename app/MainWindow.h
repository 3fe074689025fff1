#pragma once
// The main window: it binds its controls to the services below (catalogue,
// open dictionary, history, bookmarks, the one lookup) and applies what they
// return. The state lives in the services, not in the widgets.
#include "app/MainWidgets.h"
#include "config/MainWindowLink.h"
#include "config/ConfigurationDialog.h"
#include "app/About.h"
#include "base/SaveReport.h"
#include "library/ActiveDictionary.h"
#include "library/BookmarkList.h"
#include "library/Catalogue.h"
#include "library/History.h"
#include "library/IndexCache.h"
#include "library/Locations.h"
#include "library/WordLookup.h"
#include "pageview/Automation.h"
#include "pageview/Composition.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QAction;
class QListView;
class QListWidget;
class QMenu;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolButton;

namespace lexifol {
class EntryListModel;
class KeyMapper;
class IndexListModel;
class OtherStrip;
class TextSearchPane;
class ProfileFile;
class StatusLine;
class PageView;
class WindowExtras;
class WindowKeys;
} // namespace lexifol

class MainWindow : public QMainWindow, public lexifol::MainWindowLink
{
    Q_OBJECT
public:
    // Runs the start-up sequence. An empty programFolder means the folder of
    // the executable.
    explicit MainWindow(const QString& programFolder = QString(), QWidget* parent = nullptr);
    static QString DefaultProgramFolder();   // the folder of the executable
    ~MainWindow() override;

    void setAboutBox(AboutBox* box) { aboutBox_ = box; }
    void setConfigurationDialog(ConfigurationDialog* dlg) { configDialog_ = dlg; }
    // The program's own dialogs, made when first opened: start-up need not
    // pay for windows it does not show.
    void makeDialogsWhenOpened() { makesDialogs_ = true; }

    // Controls
    QWidget* topPanel = nullptr;
    QListWidget* catalogueList = nullptr;
    QToolButton *moveUpButton = nullptr, *moveDownButton = nullptr;
    QTabWidget* listTabs = nullptr;
    QWidget *bookmarkTab = nullptr, *historyTab = nullptr, *indexTab = nullptr;
    QListView *indexList = nullptr, *historyList = nullptr, *bookmarkList = nullptr;
    QLineEdit* titleBox = nullptr;
    lexifol::SearchEdit* searchBox = nullptr;
    lexifol::ClickableImage* previewButton = nullptr;
    QLabel* normalisedLabel = nullptr;
    lexifol::ClickableImage* annotationButton = nullptr;
    QToolButton *backButton = nullptr, *forwardButton = nullptr, *addBookmarkButton = nullptr, *findButton = nullptr;
    lexifol::PageView* pageView = nullptr;
    // Restarted by every selection made by typing; when it runs out, the
    // selected entry's page is drawn in the background.
    QTimer* PreparePageTimer = nullptr;
    QStatusBar* statusStrip = nullptr;
    lexifol::StatusLine* StatusText = nullptr;
    lexifol::OtherStrip* OtherDictionaries = nullptr;   // none when [View] OtherDictionaries=0
    lexifol::TextSearchPane* TextSearch = nullptr;       // the fourth tab
    QAction* configurationAction = nullptr;
    QMenu* helpMenu = nullptr;
    QAction *helpAction = nullptr, *keyboardLayoutAction = nullptr, *aboutAction = nullptr;

    // Shared state, owned by the services. The names below the dictionary
    // are views of it.
    lexifol::Locations Places;
    QString ProgramFolder;
    lexifol::ActiveDictionary Dictionary;
    const QString& CurrentDictionary = Dictionary.name;
    const QString& DictionaryTitle = Dictionary.title;
    const QString& WholeFile = Dictionary.wholeFile;
    const lexifol::IndexList& FirstIndex = Dictionary.first;
    const lexifol::IndexList& SecondIndex = Dictionary.second;
    const lexifol::ReplacementList& ReplacementList = Dictionary.rules;
    const QByteArrayList& PluginParameters = Dictionary.pluginParameters;
    lexifol::Catalogue Catalogue;
    lexifol::History History;
    lexifol::Bookmarks Bookmarks;
    lexifol::IndexCache& indexCache() { return indexCache_; }
    std::unique_ptr<lexifol::ProfileFile> Settings;
    bool BrowserMouse = false;
    bool LocateHeadwordOnPage = true;   // [View] LocateHeadword
    bool SingleFileOnView = false;
    bool ExtraPageOnView = false;
    bool SkipSearchReplay = false;

    // Operations
    void OpenDictionary();                     // catalogue variant
    bool SelectDictionaryByName(const QString& name);
    void ActivateShortcut(int digit);
    void LookupSearchText();
    void ShowSelectedEntry();
    // A word printed on the page: typed into the search box and shown as
    // Enter shows it.
    void LookUpPageWord(const QString& word);
    void RefreshSearchBox();
    void ShowPage(const QString& pageReference);
    void AddHistoryEntry();
    void HistoryBack() { stepHistory(History.back()); }
    void HistoryForward() { stepHistory(History.forward()); }
    void openHistoryEntry();
    void openBookmark();
    void addBookmark();       // add a bookmark
    void deleteSelectedBookmark();      // Delete: the selected bookmark
    void ClearBookmarks();
    // Opens a history or bookmark entry, switching dictionaries first when
    // needed; silent on every failure.
    void ShowHeadword(const QString& headword, const QByteArray& dictionary);

    // The keys, and the page view driven as a user would drive it.
    lexifol::WindowKeys& keys() { return *keys_; }
    lexifol::WindowExtras& extras() { return *extras_; }
    void findOnPage();
    // Replaces the platform operations (tests record them).
    void setPlatformInput(std::unique_ptr<lexifol::PlatformInput> io) { Automation = std::move(io); }
    std::unique_ptr<lexifol::PlatformInput> Automation;
    void showAnnotation();
    void showNormalisedForm();
    void openIndexEntry();
    void moveCatalogueUp() { moveCatalogueEntry(-1); }
    void moveCatalogueDown() { moveCatalogueEntry(+1); }
    void showHelp();
    void showKeyboardLayout();

    // The index list's selected row, or -1.
    int selectedIndexRow() const;
    void selectIndexRow(int position);
    int indexItemCount() const;

    void setPreviewVisible(bool visible) override { previewButton->setVisible(visible); }
    QString programFolder() const override { return Places.checkLogFolder(); }
    QString dictionaryRoot(const QString& name) const override;
    QString userRoot() const override { return Places.userRoot(); }
    void reopenDictionary(const QString& name) override
    {
        if (SelectDictionaryByName(name))
            OpenDictionary();
    }

    // The shutdown sequence (also run by closing the window).
    void Shutdown();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class lexifol::WindowKeys;
    friend class lexifol::WindowExtras;
    friend class lexifol::TextSearchPane;
    void buildControls();
    void buildCatalogue();
    void buildSearchRow();
    void buildLists(QWidget* splitter);
    void buildMenu();
    void startUp();
    void openDictionaryAtStartUp(int row);
    void applyOpening(const lexifol::OpenOutcome& outcome);
    void applyKeyboardLayout(const QByteArray& identifier);
    void showMessages(const QStringList& messages);
    void replaySearchText();
    void moveCatalogueEntry(int direction);
    // The catalogue list shows the catalogue; the check boxes write back.
    void showCatalogue();
    // The open dictionary went away: the first checked one, else the first,
    // else nothing, is opened.
    void openAnother();
    void selectCatalogueRow(int row);
    void showHit(const lexifol::Hit& hit);
    void prepareSelectedPage();
    // Writes the page view file and shows the page; `word` is marked on the
    // page when the view finds it.
    void composeAndShow(const QString& pageReference, bool annotationCase, const QString& word, int occurrence = 0);
    lexifol::CompositionInput compositionFor(const QString& pageReference, bool annotationCase) const;
    void stepHistory(const lexifol::HistoryStep& step);
    void showEntryLists();
    void openEntryLine(const QStringList& list, int row);
    void openHeadword(const QString& headword, const QByteArray& dictionary);
    void reportSave(const QString& path, const lexifol::Status& result);

    lexifol::IndexCache indexCache_;
    lexifol::IndexListModel* indexModel_ = nullptr;
    lexifol::EntryListModel* historyModel_ = nullptr;
    lexifol::EntryListModel* bookmarkModel_ = nullptr;
    std::unique_ptr<lexifol::WindowKeys> keys_;
    lexifol::WindowExtras* extras_ = nullptr;
    lexifol::KeyMapper* keyMapper_ = nullptr;   // made for the first layout Lexifol maps
    QPointer<AboutBox> aboutBox_;
    QPointer<ConfigurationDialog> configDialog_;
    bool shutDown_ = false;
    lexifol::SaveReport saveReport_;
    bool makesDialogs_ = false;
    // Last: they go before the services their handlers use.
    std::unique_ptr<ConfigurationDialog> ownConfigDialog_;
    std::unique_ptr<AboutBox> ownAboutBox_;
};
