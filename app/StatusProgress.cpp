#include "app/StatusProgress.h"

#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>

namespace lexifol {

StatusProgress::StatusProgress(QStatusBar* bar, const QString& accessibleName)
    : QObject(bar)
    , bar_(new QProgressBar(bar))
    , cancel_(new QToolButton(bar))
{
    bar_->setMaximumWidth(160);
    bar_->setAccessibleName(accessibleName);
    cancel_->setText(tr("Cancel"));
    bar->addPermanentWidget(bar_);
    bar->addPermanentWidget(cancel_);
    bar_->hide();
    cancel_->hide();
    connect(cancel_, &QToolButton::clicked, this, &StatusProgress::cancelled);
}

void StatusProgress::start(const QString& format)
{
    bar_->setRange(0, 0);
    bar_->setFormat(format);
    bar_->show();
    cancel_->show();
}

void StatusProgress::set(qint64 done, qint64 total)
{
    shift_ = 0;
    while ((total >> shift_) > INT_MAX)
        ++shift_;
    bar_->setRange(0, int(total >> shift_));
    bar_->setValue(int(done >> shift_));
}

void StatusProgress::finish()
{
    bar_->hide();
    cancel_->hide();
}

} // namespace lexifol
