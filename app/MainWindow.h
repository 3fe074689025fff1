#pragma once
// The main window: it binds its controls to the services below (catalogue,
// open dictionary, history, bookmarks, the one lookup) and applies what they
// return. The state lives in the services, not in the widgets; the helpers
// around the window are handed its parts, never the window itself.
#include "app/MainControls.h"
#include "app/WindowParts.h"
#include "base/SaveReport.h"
#include "config/MainWindowLink.h"

#include <QMainWindow>
#include <memory>

class QTimer;

namespace lexifol {
class CatalogueView;
class EntryLists;
class PageRequests;
class IndexListModel;
class KeyMapper;
class WindowDialogs;
class WindowExtras;
class WindowKeys;
struct Hit;
struct OpenOutcome;
} // namespace lexifol

class MainWindow : public QMainWindow, public lexifol::MainWindowLink, private lexifol::WindowActions
{
    Q_OBJECT
public:
    // Runs the start-up sequence. An empty programFolder means the folder of
    // the executable.
    explicit MainWindow(const QString& programFolder = QString(), QWidget* parent = nullptr);
    static QString DefaultProgramFolder(); // the folder of the executable
    ~MainWindow() override;

    lexifol::WindowDialogs& dialogs() { return *dialogs_; }

    // What the window shows, and what requests from outside ask of it.
    lexifol::WindowState& state() { return state_; }
    const lexifol::WindowState& state() const { return state_; }
    lexifol::WindowActions& actions() { return *this; }
    lexifol::WindowKeys& keys() { return *keys_; }
    lexifol::WindowExtras& extras() { return *extras_; }

    void setPreviewVisible(bool visible) override;
    QString programFolder() const override { return state_.places.checkLogFolder(); }
    QString dictionaryRoot(const QString& name) const override;
    QString userRoot() const override { return state_.places.userRoot(); }
    void reopenDictionary(const QString& name) override;

    // The shutdown sequence (also run by closing the window).
    void shutdown();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectCatalogueRow(int row) override;
    bool selectDictionary(const QString& name) override;
    void openDictionary() override;
    void activateShortcut(int digit) override;
    void showCatalogue() override;
    void openAnother() override;
    int indexRowCount() const override;
    int selectedIndexRow() const override;
    void selectIndexRow(int row) override;
    void showSelectedEntry() override;
    void lookUp(const QString& word) override;
    void showPage(const QString& pageReference) override;
    void showPage(const lexifol::PageShow& page) override;
    void showHelp() override;
    void refreshSearchBox() override;
    void stepHistory(bool back) override;
    void addBookmark() override;
    void clearBookmarks() override;
    bool dialogOpen() const override;

    void connectControls();
    void connectMenu();
    void startUp();
    void openDictionaryAtStartUp(int row);
    void applyOpening(const lexifol::OpenOutcome& outcome);
    void showMessages(const QStringList& messages);
    void lookUpSearchText();
    void replaySearchText();
    void lookUpPageWord(const QString& word);
    void openIndexEntry();
    void showHit(const lexifol::Hit& hit);
    void prepareSelectedPage();
    void showAnnotation();
    void showHeadword(const QString& headword, const QByteArray& dictionary);
    void reportSave(const QString& path, const lexifol::Status& result);

    lexifol::WindowState state_;
    lexifol::MainControls ui_;
    lexifol::WindowParts parts_{*this, ui_, state_, *this};
    lexifol::IndexListModel* indexModel_ = nullptr;
    lexifol::CatalogueView* catalogueView_ = nullptr;
    lexifol::EntryLists* entries_ = nullptr;
    std::unique_ptr<lexifol::PageRequests> pages_;
    std::unique_ptr<lexifol::WindowKeys> keys_;
    lexifol::WindowExtras* extras_ = nullptr;
    lexifol::KeyMapper* keyboard_ = nullptr;
    // Restarted by every selection made by typing; when it runs out, the
    // selected entry's page is drawn in the background.
    QTimer* prepareTimer_ = nullptr;
    bool shutDown_ = false;
    lexifol::SaveReport saveReport_;
    // Last: the dialogs go before the services their handlers use.
    std::unique_ptr<lexifol::WindowDialogs> dialogs_;
};
