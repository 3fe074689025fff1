#pragma once
// The main window's status bar: the page in view, short messages a reader
// should see without a box (a word past the last headword, a save that
// failed), and an Undo offered for a few seconds. Its texts are labels a
// screen reader reads.
#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class QStatusBar;
class QTimer;
class QToolButton;

namespace lexifol {

class StatusLine : public QObject
{
    Q_OBJECT
public:
    explicit StatusLine(QStatusBar* bar);

    // "page N of M", with the number printed on it when the dictionary
    // numbers its pages apart; nothing for 0 pages.
    void setPage(int page, int count, const QString& printed = QString());
    QString pageText() const;
    // The page's scale, "150%"; 0: none shown (no page on view).
    void setZoom(int percent);
    QString zoomText() const;
    // A message for a few seconds (0: until the next one).
    void say(const QString& text, int ms = 6000);
    QString message() const;
    // A message with an Undo button for a few seconds; `undo` runs at most once.
    void offerUndo(const QString& text, std::function<void()> undo);
    // Runs the Undo on offer; false when none is.
    bool undo();
    // The keyboard layout in effect for the search box ("RU"), how in the
    // tooltip; empty: none shown.
    void setKeyboard(const QString& label, const QString& how);
    QString keyboard() const;

signals:
    void pageClicked();

private:
    QLabel* page_;
    QLabel* message_;
    QLabel* keyboard_;
    QLabel* zoom_;
    QToolButton* undoButton_;
    QTimer* clear_;
    std::function<void()> undo_;
};

} // namespace lexifol
