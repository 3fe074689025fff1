#pragma once
// What a reader expects around the main window beyond its own commands:
// full screen, printing the page, going to a page, Undo, and typing that
// lands in the search box wherever the focus is.
#include <QObject>

class QEvent;
class QTimer;
class TForm1;

namespace lexifol {

class WindowExtras : public QObject
{
    Q_OBJECT
public:
    explicit WindowExtras(TForm1& w);

    // A letter typed while a list or the page has the focus goes to the
    // search box, as if typed there; true when it took the key.
    bool redirectTyping(QObject* watched, QEvent* event);

    void toggleFullScreen();
    void printPage();
    void goToPage();
    // Dictionaries copied into a Data folder, or taken out, by hand.
    void catalogueChanged();

private:
    TForm1& w_;
    QTimer* rescan_ = nullptr;
};

} // namespace lexifol
