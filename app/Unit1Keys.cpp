// The main window's keyboard commands: the application-wide key handling,
// and the commands of the key table that belong to the window.
#include "app/About.h"
#include "app/Application.h"
#include "app/Unit1.h"
#include "config/Messages.h"
#include "config/shcut.h"
#include "index/Lookup.h"
#include "library/Catalogue.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

using namespace lexifol;

bool TForm1::commandKeyFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    // A key passes the window and then its focus widget: it is taken once.
    QWidget* focus = QApplication::focusWidget();
    if (!watched->isWidgetType() || (focus ? watched != focus : !static_cast<QWidget*>(watched)->isWindow()))
        return false;
    if ((form2_ && form2_->isVisible()) || (aboutBox_ && aboutBox_->isVisible()))
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

bool TForm1::listHasFocus() const
{
    for (const QWidget* w : {static_cast<QWidget*>(TntListBox1), static_cast<QWidget*>(TntListBox2),
                             static_cast<QWidget*>(TntListBox3), static_cast<QWidget*>(ListView1)})
        if (w->hasFocus())
            return true;
    return false;
}

bool TForm1::searchBoxHasFocus() const
{
    return TntEdit3->hasFocus();
}

bool TForm1::backVisible() const
{
    return !SpeedButton3->isHidden();
}

bool TForm1::forwardVisible() const
{
    return !SpeedButton4->isHidden();
}

bool TForm1::bookmarksPageActive() const
{
    return PageControl2->currentWidget() == TabSheet4;
}

bool TForm1::findAvailable() const
{
    return !TntEdit3->text().isEmpty() && !SpeedButton6->isHidden();
}

void TForm1::SelectNeighbourDictionary(bool up)
{
    QListWidgetItem* item = ListView1->currentItem();
    if (!item || !item->isSelected())
        return;
    QList<bool> checked;
    for (int i = 0; i < ListView1->count(); ++i)
        checked << (ListView1->item(i)->checkState() == Qt::Checked);
    const std::optional<NeighbourStep> step = FindCheckedNeighbour(checked, ListView1->row(item), up);
    if (!step)
        return;
    ListView1->setCurrentRow(step->target, QItemSelectionModel::ClearAndSelect);
    OpenDictionary();
    // The list scrolls by the distance moved.
    for (int i = 0; i < step->steps; ++i)
        ListView1->verticalScrollBar()->triggerAction(up ? QAbstractSlider::SliderSingleStepSub
                                                         : QAbstractSlider::SliderSingleStepAdd);
}

void TForm1::stepPage(bool forward)
{
    if (indexItemCount() == 0)
        return;
    const PageStep step = StepPage(FirstIndex, selectedIndexRow(), forward);
    if (step.failed) {
        ShowMessage(QString::fromUtf8(ListIndexError(0).what()), MsgIcon::Error, QString::fromLatin1(kApplicationTitle));
        return;
    }
    if (step.row < 0)
        return;
    selectIndexRow(step.row);
    ShowPage(step.page);
}

void TForm1::refocusSearchBox()
{
    // The two focus keys of the original window, posted: they come back
    // through the key handling and match nothing.
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Left})
        QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    RefreshSearchBox();
}
