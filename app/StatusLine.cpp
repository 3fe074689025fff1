#include "app/StatusLine.h"

#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

namespace lexifol {

namespace {

// The page label is a button too: a click asks for a page to go to.
class ClickLabel : public QLabel
{
public:
    std::function<void()> clicked;
    using QLabel::QLabel;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QLabel::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && clicked)
            clicked();
    }
};

} // namespace

StatusLine::StatusLine(QStatusBar* bar)
    : QObject(bar)
{
    message_ = new QLabel(bar);
    message_->setObjectName(QStringLiteral("statusMessage"));
    message_->setAccessibleName(tr("Status"));
    undoButton_ = new QToolButton(bar);
    undoButton_->setText(tr("Undo"));
    undoButton_->setAccessibleName(tr("Undo"));
    undoButton_->hide();
    auto* page = new ClickLabel(bar);
    page->setAccessibleName(tr("Page"));
    page->setToolTip(tr("Go to a page (Ctrl+G)"));
    page->setCursor(Qt::PointingHandCursor);
    page->clicked = [this] { emit pageClicked(); };
    page_ = page;
    bar->addWidget(message_, 1);
    bar->addWidget(undoButton_);
    keyboard_ = new QLabel(bar);
    keyboard_->setAccessibleName(tr("Keyboard layout"));
    keyboard_->hide();
    bar->addPermanentWidget(keyboard_);
    zoom_ = new QLabel(bar);
    zoom_->setAccessibleName(tr("Zoom"));
    zoom_->setToolTip(tr("Zoom in, out: Ctrl++, Ctrl+−"));
    bar->addPermanentWidget(zoom_);
    bar->addPermanentWidget(page_);
    clear_ = new QTimer(this);
    clear_->setSingleShot(true);
    connect(clear_, &QTimer::timeout, this, [this] {
        message_->clear();
        message_->setAccessibleDescription(QString());
        undoButton_->hide();
        undo_ = nullptr;
    });
    connect(undoButton_, &QToolButton::clicked, this, [this] { undo(); });
}

void StatusLine::setPage(int page, int count, const QString& printed)
{
    page_->setText(count <= 0              ? QString()
                       : printed.isEmpty() ? tr("page %1 of %2").arg(page).arg(count)
                                           : tr("page %1 of %2 (printed %3)").arg(page).arg(count).arg(printed));
    page_->setAccessibleDescription(page_->text());
}

QString StatusLine::pageText() const
{
    return page_->text();
}

void StatusLine::setZoom(int percent)
{
    zoom_->setText(percent > 0 ? QStringLiteral("%1%").arg(percent) : QString());
}

QString StatusLine::zoomText() const
{
    return zoom_->text();
}

void StatusLine::say(const QString& text, int ms)
{
    undoButton_->hide();
    undo_ = nullptr;
    message_->setText(text);
    message_->setAccessibleDescription(text);
    clear_->stop();
    if (ms > 0)
        clear_->start(ms);
}

QString StatusLine::message() const
{
    return message_->text();
}

void StatusLine::offerUndo(const QString& text, std::function<void()> undo)
{
    say(text, 8000);
    undo_ = std::move(undo);
    undoButton_->show();
}

bool StatusLine::undo()
{
    if (!undo_)
        return false;
    auto run = std::exchange(undo_, nullptr);
    undoButton_->hide();
    message_->clear();
    run();
    return true;
}

void StatusLine::setKeyboard(const QString& label, const QString& how)
{
    keyboard_->setText(label);
    keyboard_->setToolTip(how);
    keyboard_->setVisible(!label.isEmpty());
}

QString StatusLine::keyboard() const
{
    return keyboard_->text();
}

} // namespace lexifol
