#pragma once
// The main window's keys that work wherever the focus is: one table of a key,
// the modifiers it wants, its conditions, its action and whether it is
// consumed. The window answers the conditions and runs the actions.
#include <QtGlobal>

class QKeyEvent;

namespace lexifol {

class KeyCommandTarget
{
public:
    virtual ~KeyCommandTarget() = default;
    virtual bool extraPageOnView() const = 0;
    virtual bool singleFileOnView() const = 0;
    virtual bool listHasFocus() const = 0; // index, history, bookmarks or catalogue
    virtual bool searchBoxHasFocus() const = 0;
    virtual int catalogueSize() const = 0;
    virtual bool backVisible() const = 0;
    virtual bool forwardVisible() const = 0;
    virtual bool bookmarksPageActive() const = 0;
    virtual bool findAvailable() const = 0; // search text and the Find button

    virtual void selectNeighbourDictionary(bool up) = 0;
    virtual void stepPage(bool forward) = 0;
    virtual void refocusSearchBox() = 0;
    virtual void activateShortcut(int digit) = 0;
    virtual void lineScroll(bool up) = 0;
    virtual void wheelPage(bool up) = 0;
    virtual void historyStep(bool back) = 0;
    virtual void clearBookmarks() = 0;
    virtual void pageJump(bool up) = 0;
    virtual bool find(bool closeFirst) = 0; // false when it failed inside
};

// A key-down as the table reads it: the platform's virtual-key code.
struct CommandKey {
    int vk = 0;
    bool ctrl = false, shift = false, alt = false;
};

// The key of a Qt key event in the table's codes; vk 0 for keys the table
// never names (the numeric keypad's digits among them).
CommandKey CommandKeyOf(const QKeyEvent* event);

// Runs the row that matches; true when the key is consumed.
bool HandleCommandKey(KeyCommandTarget& target, const CommandKey& key);
// Whether some row is meant for this key and these modifiers (conditions
// aside): such a key must reach the table as a key press, not a shortcut.
bool IsCommandKey(const CommandKey& key);

} // namespace lexifol
