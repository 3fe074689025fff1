// The main window's keyboard commands: the application-wide key handling,
// and the commands of the key table that belong to the window.
#include "app/WindowKeys.h"
#include "app/TextSearchPane.h"

#include "app/About.h"
#include "app/Application.h"
#include "app/MainWindow.h"
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
    if ((w_.configDialog_ && w_.configDialog_->isVisible()) || (w_.aboutBox_ && w_.aboutBox_->isVisible()))
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

bool WindowKeys::extraPageOnView() const { return w_.ExtraPageOnView; }
bool WindowKeys::singleFileOnView() const { return w_.SingleFileOnView; }
int WindowKeys::catalogueSize() const { return w_.Catalogue.count(); }
bool WindowKeys::searchBoxHasFocus() const { return w_.searchBox->hasFocus(); }
bool WindowKeys::backVisible() const { return !w_.backButton->isHidden(); }
bool WindowKeys::forwardVisible() const { return !w_.forwardButton->isHidden(); }
bool WindowKeys::bookmarksPageActive() const { return w_.listTabs->currentWidget() == w_.bookmarkTab; }
void WindowKeys::activateShortcut(int digit) { w_.ActivateShortcut(digit); }
void WindowKeys::historyStep(bool back) { back ? w_.HistoryBack() : w_.HistoryForward(); }
void WindowKeys::clearBookmarks() { w_.ClearBookmarks(); }

QPoint WindowKeys::automationPoint() const
{
    return w_.frameGeometry().topLeft() + QPoint(400, 250);
}

void WindowKeys::lineScroll(bool up)
{
    LineScroll(*w_.Automation, automationPoint(), w_.BrowserMouse, up);
}

void WindowKeys::wheelPage(bool up)
{
    WheelPage(*w_.Automation, up);
}

void WindowKeys::pageJump(bool up)
{
    PageJump(*w_.Automation, automationPoint(), up);
}

void WindowKeys::searchBoxPageScroll(bool up)
{
    SearchBoxPageScroll(*w_.Automation, automationPoint(), up);
}

bool WindowKeys::find(bool closeFirst)
{
    // F3 on the text search tab walks through its hits and results.
    if (!closeFirst && w_.TextSearch && w_.TextSearch->active() && w_.TextSearch->nextHit())
        return true;
    FindRequest request;
    request.point = automationPoint();
    request.searchText = [this] { return w_.searchBox->text(); };
    request.closeFirst = closeFirst;
    return FindCommand(*w_.Automation, request);
}

bool WindowKeys::listHasFocus() const
{
    for (const QWidget* w : {static_cast<QWidget*>(w_.indexList), static_cast<QWidget*>(w_.historyList),
                             static_cast<QWidget*>(w_.bookmarkList), static_cast<QWidget*>(w_.catalogueList)})
        if (w->hasFocus())
            return true;
    return false;
}

bool WindowKeys::findAvailable() const
{
    if (w_.TextSearch && w_.TextSearch->active() && w_.TextSearch->hasShown())
        return true;
    return !w_.searchBox->text().isEmpty() && !w_.findButton->isHidden();
}

// Ctrl+Up, Ctrl+Down: the nearest checked dictionary, opened.
void WindowKeys::selectNeighbourDictionary(bool up)
{
    if (w_.Catalogue.current() < 0)
        return;
    const std::optional<NeighbourStep> step = w_.Catalogue.checkedNeighbour(up);
    if (!step)
        return;
    w_.selectCatalogueRow(step->target);
    w_.OpenDictionary();
    // The list scrolls by the distance moved.
    for (int i = 0; i < step->steps; ++i)
        w_.catalogueList->verticalScrollBar()->triggerAction(up ? QAbstractSlider::SliderSingleStepSub
                                                            : QAbstractSlider::SliderSingleStepAdd);
}

// Ctrl+Page Up, Ctrl+Page Down: the nearest entry of another page.
void WindowKeys::stepPage(bool forward)
{
    if (w_.indexItemCount() == 0)
        return;
    const PageStep step = StepPage(w_.FirstIndex, w_.selectedIndexRow(), forward);
    if (step.failed) {
        ShowMessage(ListIndexMessage(0), MsgIcon::Error, QString::fromLatin1(kApplicationTitle));
        return;
    }
    if (step.row < 0)
        return;
    w_.selectIndexRow(step.row);
    w_.ShowPage(step.page);
}

void WindowKeys::refocusSearchBox()
{
    // The two focus keys of the original window, posted: they come back
    // through the key handling and match nothing.
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Left})
        QCoreApplication::postEvent(&w_, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    w_.RefreshSearchBox();
}

} // namespace lexifol
