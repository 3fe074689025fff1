#include "app/KeyCommands.h"

#include <QKeyEvent>
#include <functional>

namespace lexifol {

namespace {

// clang-format off
enum VirtualKey {
    VkPageUp = 33, VkPageDown = 34, VkEnd = 35, VkHome = 36, VkLeft = 37, VkUp = 38, VkRight = 39,
    VkDown = 40, VkInsert = 45, VkDelete = 46, Vk0 = 48, Vk9 = 57, VkF2 = 113, VkF3 = 114,
};

// Which modifiers a row wants. Ctrl rows look at nothing else.
enum class Mods { Ctrl, NoCtrlShift, NoCtrlShiftAlt };

using T = KeyCommandTarget;

struct Row {
    int vk;
    Mods mods;
    std::function<bool(const T&)> when;   // the row applies (empty: always)
    std::function<bool(T&, int vk)> act;  // runs it; returns whether the key is consumed
};

bool always(const T&) { return true; }

// The table, in the order the rows are tried. At most one row matches.
const std::vector<Row>& Table()
{
    static const std::vector<Row> rows = {
        {VkUp, Mods::Ctrl, always, [](T& t, int) { t.selectNeighbourDictionary(true); return true; }},
        {VkDown, Mods::Ctrl, always, [](T& t, int) { t.selectNeighbourDictionary(false); return true; }},
        {VkPageUp, Mods::Ctrl, always, [](T& t, int) { t.stepPage(false); return true; }},
        {VkPageDown, Mods::Ctrl, always, [](T& t, int) { t.stepPage(true); return true; }},
        {VkInsert, Mods::NoCtrlShift, always, [](T& t, int) { t.refocusSearchBox(); return true; }},
        {Vk0, Mods::Ctrl, always, [](T& t, int vk) {
             // Consumed also with an empty catalogue.
             if (t.catalogueSize() > 0)
                 t.activateShortcut(vk - Vk0);
             return true;
         }},
        {VkUp, Mods::NoCtrlShift, [](const T& t) { return !t.extraPageOnView() && !t.listHasFocus(); },
         [](T& t, int) { t.lineScroll(true); return true; }},
        {VkDown, Mods::NoCtrlShift, [](const T& t) { return !t.extraPageOnView() && !t.listHasFocus(); },
         [](T& t, int) { t.lineScroll(false); return true; }},
        {VkPageUp, Mods::NoCtrlShift, [](const T& t) { return !t.singleFileOnView(); },
         [](T& t, int) { t.wheelPage(true); return true; }},
        {VkPageDown, Mods::NoCtrlShift, [](const T& t) { return !t.singleFileOnView(); },
         [](T& t, int) { t.wheelPage(false); return true; }},
        {VkLeft, Mods::Ctrl, always, [](T& t, int) {
             if (t.backVisible())
                 t.historyStep(true);
             return true;
         }},
        {VkRight, Mods::Ctrl, always, [](T& t, int) {
             if (t.forwardVisible())
                 t.historyStep(false);
             return true;
         }},
        {VkDelete, Mods::Ctrl, [](const T& t) { return t.bookmarksPageActive(); },
         [](T& t, int) { t.clearBookmarks(); return true; }},
        {VkEnd, Mods::NoCtrlShiftAlt,
         [](const T& t) { return !t.extraPageOnView() && !t.listHasFocus() && !t.searchBoxHasFocus(); },
         [](T& t, int) { t.pageJump(false); return true; }},
        {VkHome, Mods::NoCtrlShiftAlt,
         [](const T& t) { return !t.extraPageOnView() && !t.listHasFocus() && !t.searchBoxHasFocus(); },
         [](T& t, int) { t.pageJump(true); return true; }},
        {VkF3, Mods::NoCtrlShiftAlt, always, [](T& t, int) {
             // Consumed even when there is nothing to find; not after a failure.
             return !t.findAvailable() || t.find(false);
         }},
        {VkF2, Mods::NoCtrlShiftAlt, [](const T& t) { return t.findAvailable(); },
         [](T& t, int) { t.find(true); return false; }},
    };
    return rows;
}

bool ModsMatch(Mods m, const CommandKey& k)
{
    switch (m) {
    case Mods::Ctrl:
        return k.ctrl;
    case Mods::NoCtrlShift:
        return !k.ctrl && !k.shift;
    case Mods::NoCtrlShiftAlt:
        return !k.ctrl && !k.shift && !k.alt;
    }
    return false;
}

bool KeyMatches(const Row& row, const CommandKey& k)
{
    const bool digit = row.vk == Vk0 && k.vk >= Vk0 && k.vk <= Vk9;
    return (k.vk == row.vk || digit) && ModsMatch(row.mods, k);
}

} // namespace

CommandKey CommandKeyOf(const QKeyEvent* e)
{
    static const QHash<int, int> codes = {
        {Qt::Key_PageUp, VkPageUp}, {Qt::Key_PageDown, VkPageDown}, {Qt::Key_End, VkEnd},
        {Qt::Key_Home, VkHome}, {Qt::Key_Left, VkLeft}, {Qt::Key_Up, VkUp}, {Qt::Key_Right, VkRight},
        {Qt::Key_Down, VkDown}, {Qt::Key_Insert, VkInsert}, {Qt::Key_Delete, VkDelete},
        {Qt::Key_F2, VkF2}, {Qt::Key_F3, VkF3},
    };
    // clang-format on
    const Qt::KeyboardModifiers m = e->modifiers();
    CommandKey k;
    k.ctrl = m & Qt::ControlModifier;
    k.shift = m & Qt::ShiftModifier;
    k.alt = m & Qt::AltModifier;
    if (e->key() >= Qt::Key_0 && e->key() <= Qt::Key_9)
        k.vk = (m & Qt::KeypadModifier) ? 0 : Vk0 + (e->key() - Qt::Key_0);
    else
        k.vk = codes.value(e->key(), 0);
    return k;
}

bool HandleCommandKey(KeyCommandTarget& target, const CommandKey& key)
{
    for (const Row& row : Table()) {
        if (KeyMatches(row, key) && row.when(target))
            return row.act(target, key.vk);
    }
    return false;
}

bool IsCommandKey(const CommandKey& key)
{
    for (const Row& row : Table())
        if (KeyMatches(row, key))
            return true;
    return false;
}

} // namespace lexifol
