#pragma once
// The main window: catalogue, search box, index list, history, bookmarks and
// the page view, and the shared state of the open dictionary.
#include "app/KeyCommands.h"
#include "config/MainWindowLink.h"
#include "config/shcut.h"
#include "app/About.h"
#include "index/EntryLists.h"
#include "index/IndexList.h"
#include "index/Replacement.h"
#include "index/SaveReport.h"
#include "library/ActiveDictionary.h"
#include "pageview/Automation.h"
#include "pageview/Composition.h"

#include <QByteArrayList>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <memory>

#include <QLabel>
class QTimer;
class QListView;
class QListWidget;
class QMenu;
class QAction;
class QStatusBar;
class QTabWidget;
class QToolButton;
class TAboutBox;
class TForm2;

namespace lexifol {
class ProfileFile;
class TWebBrowser;
class IndexListModel;
class EntryListModel;

// The search box reports clicks and focus, which the lookup reacts to.
class TSearchEdit : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
signals:
    void clicked();
    void focused();
    // Page Up or Page Down reached the box, whatever the modifiers.
    void pageKey(bool up);
protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
};

// A clickable picture.
class TImage : public QLabel
{
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);
signals:
    void clicked();
protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};
} // namespace lexifol

class TForm1 : public QMainWindow, public lexifol::KeyCommandTarget, public lexifol::MainWindowLink
{
    Q_OBJECT
public:
    // Runs the start-up sequence. An empty programFolder means the folder of
    // the executable.
    explicit TForm1(const QString& programFolder = QString(), QWidget* parent = nullptr);
    ~TForm1() override;

    void setAboutBox(TAboutBox* box) { aboutBox_ = box; }
    void setConfigurationDialog(TForm2* dlg) { form2_ = dlg; }

    // Controls
    QWidget* Panel1 = nullptr;
    QListWidget* ListView1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QTabWidget* PageControl2 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QWidget* TabSheet5 = nullptr;
    QWidget* TabSheet6 = nullptr;
    QListView* TntListBox1 = nullptr;
    QListView* TntListBox2 = nullptr;
    QListView* TntListBox3 = nullptr;
    QLineEdit* TntEdit1 = nullptr;
    lexifol::TSearchEdit* TntEdit3 = nullptr;
    lexifol::TImage* Image2 = nullptr;
    QLabel* TntLabel1 = nullptr;
    lexifol::TImage* Image1 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    lexifol::TWebBrowser* WebBrowser1 = nullptr;
    // Restarted by every selection made by typing; when it runs out, the
    // selected entry's page is drawn in the background.
    QTimer* PreparePageTimer = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QAction* file1 = nullptr;
    QMenu* About1 = nullptr;
    QAction* LexifolHelp1 = nullptr;
    QAction* KeyboardLayout1 = nullptr;
    QAction* About2 = nullptr;

    // Shared state. The open dictionary is owned by `Dictionary`; the names
    // below are views of it.
    QString ProgramFolder;
    lexifol::ActiveDictionary Dictionary;
    const QString& CurrentDictionary = Dictionary.name;
    const QString& DictionaryTitle = Dictionary.title;
    const QString& WholeFile = Dictionary.wholeFile;
    const lexifol::IndexList& FirstIndex = Dictionary.first;
    const lexifol::IndexList& SecondIndex = Dictionary.second;
    const lexifol::ReplacementList& ReplacementList = Dictionary.rules;
    const QByteArrayList& PluginParameters = Dictionary.pluginParameters;
    QStringList EntryValueParts;
    QStringList SavedOrder;
    QStringList History, Bookmarks;
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
    void HistoryBack();
    void HistoryForward();
    void TntListBox2DblClick();
    void TntListBox3DblClick();
    void SpeedButton5Click();       // add a bookmark
    void TntListBox3KeyDown();      // Delete: the selected bookmark
    void ClearBookmarks();
    // Opens a history or bookmark entry, switching dictionaries first when
    // needed; silent on every failure.
    void ShowHeadword(const QString& headword, const QByteArray& dictionary);

    // Driving the page view (the keyboard commands call these).
    QPoint AutomationPoint() const;     // 400, 250 from the window frame's corner
    void LineScroll(bool up);           // Up, Down
    void WheelPage(bool up);            // Page Up, Page Down
    void PageJump(bool up);             // Home, End
    void SearchBoxPageScroll(bool up);  // Page Up, Page Down in the search box
    // The Find command; `closeFirst` for the button and F2, not for F3.
    // False when it failed inside.
    bool FindInPage(bool closeFirst);
    void SpeedButton6Click() { FindInPage(true); }
    // Replaces the platform operations (tests record them).
    void setPlatformInput(std::unique_ptr<lexifol::PlatformInput> io) { Automation = std::move(io); }
    std::unique_ptr<lexifol::PlatformInput> Automation;
    void Image1Click();
    void Image2Click();
    void TntListBox1DblClick();
    void SpeedButton1Click() { moveCatalogueEntry(-1); }
    void SpeedButton2Click() { moveCatalogueEntry(+1); }
    void LexifolHelp1Click();
    void KeyboardLayout1Click();

    // The index list's selected row, or -1.
    int selectedIndexRow() const;
    void selectIndexRow(int position);
    int indexItemCount() const;
    void setIndexItemCount(int n);
    QString catalogueName(int row) const;
    int catalogueCount() const;

    // Writes "Bookmarks.dat"; a failure is told once, the list stays.
    void SaveBookmarksFile();

    // Keyboard commands.
    void SelectNeighbourDictionary(bool up);   // Ctrl+Up, Ctrl+Down
    void StepToPreviousPage() { stepPage(false); }
    void StepToNextPage() { stepPage(true); }
    // The conditions and actions of the key table.
    bool extraPageOnView() const override { return ExtraPageOnView; }
    bool singleFileOnView() const override { return SingleFileOnView; }
    bool listHasFocus() const override;
    bool searchBoxHasFocus() const override;
    int catalogueSize() const override { return catalogueCount(); }
    bool backVisible() const override;
    bool forwardVisible() const override;
    bool bookmarksPageActive() const override;
    bool findAvailable() const override;
    void selectNeighbourDictionary(bool up) override { SelectNeighbourDictionary(up); }
    void stepPage(bool forward) override;
    void refocusSearchBox() override;
    void activateShortcut(int digit) override { ActivateShortcut(digit); }
    void lineScroll(bool up) override { LineScroll(up); }
    void wheelPage(bool up) override { WheelPage(up); }
    void historyStep(bool back) override { back ? HistoryBack() : HistoryForward(); }
    void clearBookmarks() override { ClearBookmarks(); }
    void pageJump(bool up) override { PageJump(up); }
    bool find(bool closeFirst) override { return FindInPage(closeFirst); }

    void setPreviewVisible(bool visible) override { Image2->setVisible(visible); }
    QString programFolder() const override { return ProgramFolder; }
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
    void buildControls();
    void buildCatalogue();
    void buildSearchRow();
    void buildLists(QWidget* splitter);
    void buildMenu();
    void startUp();
    void loadCatalogue();
    void loadBookmarksFile();
    void openDictionaryAtStartUp(int row);
    void applyOpening(const lexifol::OpenOutcome& outcome);
    void showMessages(const QStringList& messages);
    void replaySearchText();
    void moveCatalogueEntry(int direction);
    void showFirstPart(int row);
    void prepareSelectedPage();
    // Writes the page view file and shows the page; false when it could not.
    // `word` is marked on the page when the view finds it there.
    bool composeAndShow(const QString& pageReference, bool annotationCase, const QString& word);
    // What composing a page for the open dictionary starts from.
    lexifol::CompositionInput compositionFor(const QString& pageReference, bool annotationCase) const;
    void rebuildSavedOrder();
    // In a page index, the typed text when it lands on `row`; else empty.
    QString typedWordFor(int row) const;
    QString selectedEntryText() const;
    void applyButtons(const lexifol::NavButtons& b);
    void stepHistory(const lexifol::HistoryStep& step);
    void openEntryLine(const QStringList& list, const QListView* box);
    void openHeadword(const QString& headword, const QByteArray& dictionary);
    // The application-wide key handling; true when it took the key.
    bool commandKeyFilter(QObject* watched, QEvent* event);
    void applyCheckMarks();
    QString dictionaryFolder(const QString& name) const;
    void reportSave(const QString& path, const lexifol::Status& result);

    lexifol::IndexListModel* indexModel_ = nullptr;
    lexifol::EntryListModel* historyModel_ = nullptr;
    lexifol::EntryListModel* bookmarkModel_ = nullptr;
    QPointer<TAboutBox> aboutBox_;
    QPointer<TForm2> form2_;
    bool shutDown_ = false;
    bool bookmarksUnusable_ = false;
    lexifol::SaveReport saveReport_;
};
