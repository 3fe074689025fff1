#pragma once
// The main window as the key table sees it: the conditions it asks and the
// actions it runs, and the application-wide key handling that feeds it.
#include "app/WindowParts.h"
#include "app/KeyCommands.h"

#include <QPoint>

class QEvent;
class QObject;

namespace lexifol {

class WindowKeys : public KeyCommandTarget
{
public:
    explicit WindowKeys(const WindowParts& w)
        : w_(w)
    { }
    // The application-wide key handling; true when it took the key.
    bool filter(QObject* watched, QEvent* event);

    bool extraPageOnView() const override;
    bool singleFileOnView() const override;
    bool listHasFocus() const override;
    bool searchBoxHasFocus() const override;
    int catalogueSize() const override;
    bool backVisible() const override;
    bool forwardVisible() const override;
    bool bookmarksPageActive() const override;
    bool findAvailable() const override;
    void selectNeighbourDictionary(bool up) override;
    void stepPage(bool forward) override;
    void refocusSearchBox() override;
    void activateShortcut(int digit) override;
    void lineScroll(bool up) override;
    void wheelPage(bool up) override;
    void historyStep(bool back) override;
    void clearBookmarks() override;
    void pageJump(bool up) override;
    bool find(bool closeFirst) override; // F2 and the button close first, F3 not

    QPoint automationPoint() const;    // 400, 250 from the window frame's corner
    void searchBoxPageScroll(bool up); // Page Up, Page Down in the search box

private:
    WindowParts w_;
};

} // namespace lexifol
