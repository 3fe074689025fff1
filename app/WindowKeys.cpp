// The main window's keyboard commands: the application-wide key handling,
// and the commands of the key table that belong to the window.
#include "app/WindowKeys.h"
#include "app/TextSearchPane.h"

#include "app/About.h"
#include "app/Application.h"
#include "app/MainControls.h"
#include "app/MainWidgets.h"
#include "config/Messages.h"
#include "config/ConfigurationDialog.h"
#include "index/Lookup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

using namespace lexifol;

namespace lexifol {

bool WindowKeys::filter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    // A key passes the window and then its focus widget: it is taken once.
    QWidget* focus = QApplication::focusWidget();
    if (!watched->isWidgetType() || (focus ? watched != focus : !static_cast<QWidget*>(watched)->isWindow()))
        return false;
    if (w_.act.dialogOpen())
        return false;
    const CommandKey key = CommandKeyOf(static_cast<QKeyEvent*>(event));
    if (key.vk == 0)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // A key bound to a shortcut would otherwise never arrive as a key.
        if (IsCommandKey(key))
            event->accept();
        return false;
    }
    return HandleCommandKey(*this, key);
}

bool WindowKeys::extraPageOnView() const
{
    return w_.state.extraPageOnView;
}
bool WindowKeys::singleFileOnView() const
{
    return w_.state.singleFileOnView;
}
int WindowKeys::catalogueSize() const
{
    return w_.state.catalogue.count();
}
bool WindowKeys::searchBoxHasFocus() const
{
    return w_.ui.searchBox->hasFocus();
}
bool WindowKeys::backVisible() const
{
    return !w_.ui.backButton->isHidden();
}
bool WindowKeys::forwardVisible() const
{
    return !w_.ui.forwardButton->isHidden();
}
bool WindowKeys::bookmarksPageActive() const
{
    return w_.ui.listTabs->currentWidget() == w_.ui.bookmarkTab;
}
void WindowKeys::activateShortcut(int digit)
{
    w_.act.activateShortcut(digit);
}
void WindowKeys::historyStep(bool back)
{
    w_.act.stepHistory(back);
}
void WindowKeys::clearBookmarks()
{
    w_.act.clearBookmarks();
}

QPoint WindowKeys::automationPoint() const
{
    return w_.window.frameGeometry().topLeft() + QPoint(400, 250);
}

void WindowKeys::lineScroll(bool up)
{
    LineScroll(*w_.state.input, automationPoint(), w_.state.browserMouse, up);
}

void WindowKeys::wheelPage(bool up)
{
    WheelPage(*w_.state.input, up);
}

void WindowKeys::pageJump(bool up)
{
    PageJump(*w_.state.input, automationPoint(), up);
}

void WindowKeys::searchBoxPageScroll(bool up)
{
    SearchBoxPageScroll(*w_.state.input, automationPoint(), up);
}

bool WindowKeys::find(bool closeFirst)
{
    // F3 on the text search tab walks through its hits and results.
    if (!closeFirst && w_.ui.textSearch && w_.ui.textSearch->active() && w_.ui.textSearch->nextHit())
        return true;
    FindRequest request;
    request.point = automationPoint();
    request.searchText = [this] { return w_.ui.searchBox->text(); };
    request.closeFirst = closeFirst;
    return FindCommand(*w_.state.input, request);
}

bool WindowKeys::listHasFocus() const
{
    for (const QWidget* w : {static_cast<QWidget*>(w_.ui.indexList), static_cast<QWidget*>(w_.ui.historyList),
                             static_cast<QWidget*>(w_.ui.bookmarkList), static_cast<QWidget*>(w_.ui.catalogueList)})
        if (w->hasFocus())
            return true;
    return false;
}

bool WindowKeys::findAvailable() const
{
    if (w_.ui.textSearch && w_.ui.textSearch->active() && w_.ui.textSearch->hasShown())
        return true;
    return !w_.ui.searchBox->text().isEmpty() && !w_.ui.findButton->isHidden();
}

// Ctrl+Up, Ctrl+Down: the nearest checked dictionary, opened.
void WindowKeys::selectNeighbourDictionary(bool up)
{
    if (w_.state.catalogue.current() < 0)
        return;
    const std::optional<NeighbourStep> step = w_.state.catalogue.checkedNeighbour(up);
    if (!step)
        return;
    w_.act.selectCatalogueRow(step->target);
    w_.act.openDictionary();
    // The list scrolls by the distance moved.
    for (int i = 0; i < step->steps; ++i)
        w_.ui.catalogueList->verticalScrollBar()->triggerAction(up ? QAbstractSlider::SliderSingleStepSub
                                                                   : QAbstractSlider::SliderSingleStepAdd);
}

// Ctrl+Page Up, Ctrl+Page Down: the nearest entry of another page.
void WindowKeys::stepPage(bool forward)
{
    if (w_.act.indexRowCount() == 0)
        return;
    const PageStep step = StepPage(w_.state.dictionary.first, w_.act.selectedIndexRow(), forward);
    if (step.failed) {
        ShowMessage(ListIndexMessage(0), MsgIcon::Error, QString::fromLatin1(kApplicationTitle));
        return;
    }
    if (step.row < 0)
        return;
    w_.act.selectIndexRow(step.row);
    w_.act.showPage(step.page);
}

void WindowKeys::refocusSearchBox()
{
    // The two focus keys of the original window, posted: they come back
    // through the key handling and match nothing.
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Left})
        QCoreApplication::postEvent(&w_.window, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    w_.act.refreshSearchBox();
}

} // namespace lexifol
