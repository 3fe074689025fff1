#pragma once
// What a reader expects around the main window beyond its own commands:
// full screen, printing the page, going to a page, Undo, and typing that
// lands in the search box wherever the focus is.
#include "app/WindowParts.h"
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;

class QEvent;
class QMenu;
class QTimer;

namespace lexifol {

class DictionaryMaker;

class WindowExtras : public QObject
{
    Q_OBJECT
public:
    explicit WindowExtras(const WindowParts& w);

    // A letter typed while a list or the page has the focus goes to the
    // search box, as if typed there; a dictionary dropped on the window is
    // added. True when it took the event.
    bool filter(QObject* watched, QEvent* event);
    bool redirectTyping(QObject* watched, QEvent* event);
    // Adds a dictionary: a folder laid out as Data expects, or a DjVu
    // document with an index file. Says what is wrong in plain words.
    // A DjVu document alone is offered to be made a dictionary.
    bool addDictionary(const QStringList& paths);
    // Takes the user's dictionary of that catalogue row out, to the trash;
    // a shipped one can only be unchecked, and is told so.
    bool removeDictionary(int row);

    void toggleFullScreen();
    void printPage();
    void goToPage();
    // Dictionaries copied into a Data folder, or taken out, by hand.
    void catalogueChanged();
    // A page index corrected on the page: the page shown begins with `word`.
    bool setPageFirstWord(const QString& word);
    bool showNextPageInDoubt();

private:
    QAction* leaveFullScreen_ = nullptr;
    QList<QPointer<QWidget>> hiddenForFullScreen_; // shown again on leaving
    void connectStatus();
    bool offerToMake(const QString& document);
    bool busyAdding(); // says so when it is
    DictionaryMaker& maker();
    void catalogueMenu(const QPoint& at);
    void pageMenu(QMenu* menu, const QString& word);
    void chooseAndAdd();
    WindowParts w_;
    DictionaryMaker* maker_ = nullptr; // made when first needed
    QString addedNote_;                // said with "Added" when the copy is done
    QTimer* rescan_ = nullptr;
};

} // namespace lexifol
