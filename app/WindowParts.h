#pragma once
// What the main window shares with the helpers around it: the services its
// controls show, and the few things a helper may ask of the window. The
// window owns both; a helper is handed them with the controls.
#include "index/TextMatch.h"
#include "library/ActiveDictionary.h"
#include "library/BookmarkList.h"
#include "library/Catalogue.h"
#include "library/History.h"
#include "library/IndexCache.h"
#include "library/Locations.h"
#include "library/Profile.h"
#include "pageview/Automation.h"

#include <memory>

#include <QMainWindow>

namespace lexifol {

struct MainControls;

struct WindowState {
    Locations places;
    QString programFolder; // the root of the open dictionary
    ActiveDictionary dictionary;
    Catalogue catalogue;
    History history;
    Bookmarks bookmarks;
    std::unique_ptr<ProfileFile> settings;
    std::unique_ptr<PlatformInput> input; // the scroll and find keys' operations
    IndexCache indexCache;
    bool browserMouse = false;
    bool locateHeadword = true; // [View] LocateHeadword
    bool singleFileOnView = false;
    bool extraPageOnView = false;
    bool skipSearchReplay = false; // the next opening keeps the page on view
    QString language;              // of the translation installed; empty: English

    // The folders decided, the catalogue and bookmarks read, and the index
    // that start-up opens read ahead. Returns what the user must be told of
    // the folders.
    QString load(const Locations& folders);
    ViewSettings readSettings();
    int startRow() const; // the dictionary opened at start, or -1
};

// A page of the open dictionary to show, and what to mark on it.
struct PageShow {
    QString page;                // a page reference, as the index holds it
    bool annotationCase = false; // "Annotation" names the annotation document
    QString mark;                // the headword to mark
    int occurrence = 0;          // the index's how many-th entry of it on the page
    QList<MatchWord> find;       // words found and marked on arrival
};

class WindowActions
{
public:
    virtual ~WindowActions() = default;
    // Catalogue: select a row (or a name, case ignored), open the selected one.
    virtual void selectCatalogueRow(int row) = 0;
    virtual bool selectDictionary(const QString& name) = 0;
    virtual void openDictionary() = 0;
    virtual void activateShortcut(int digit) = 0;
    virtual void showCatalogue() = 0; // after the catalogue changed
    virtual void openAnother() = 0;   // the open one went away
    // The index list.
    virtual int indexRowCount() const = 0;
    virtual int selectedIndexRow() const = 0;
    virtual void selectIndexRow(int row) = 0;
    // Pages: Enter on the selected entry; a page reference; a page with marks.
    virtual void showSelectedEntry() = 0;
    virtual void lookUp(const QString& word) = 0; // typed into the search box, then Enter
    virtual void showPage(const QString& pageReference) = 0;
    virtual void showPage(const PageShow& page) = 0;
    virtual void showHelp() = 0;
    virtual void refreshSearchBox() = 0;
    virtual void stepHistory(bool back) = 0;
    virtual void addBookmark() = 0;
    virtual void clearBookmarks() = 0;
    // A dialog of the program's own is open: the window's keys are its.
    virtual bool dialogOpen() const = 0;
};

// Everything a helper of the window is handed.
struct WindowParts {
    QMainWindow& window;
    MainControls& ui;
    WindowState& state;
    WindowActions& act;
};

} // namespace lexifol
