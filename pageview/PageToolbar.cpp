#include "pageview/PageToolbar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

namespace lexifol::pv {

PageToolbar::PageToolbar(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pageToolbar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    auto addButton = [&](const QString& text, const QString& tip, auto slot) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(tip);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, slot);
        row->addWidget(b);
    };
    addButton(QStringLiteral("\u2212"), tr("Zoom out"), [this] { emit zoomBy(1 / 1.25); });
    addButton(QStringLiteral("+"), tr("Zoom in"), [this] { emit zoomBy(1.25); });
    addButton(tr("Fit width"), tr("Fit the page width"), [this] { emit fitWidth(); });
    row->addSpacing(12);
    pageBox_ = new QSpinBox(this);
    pageBox_->setKeyboardTracking(false);
    // Typing goes to the program's own controls, not to the page number.
    pageBox_->setFocusPolicy(Qt::ClickFocus);
    pageBox_->setRange(1, 1);
    row->addWidget(pageBox_);
    pageTotal_ = new QLabel(this);
    row->addWidget(pageTotal_);
    row->addStretch(1);
    connect(pageBox_, &QSpinBox::valueChanged, this, [this](int value) { emit pageChosen(value - 1); });
}

void PageToolbar::showPages(int index, int count)
{
    const QSignalBlocker block(pageBox_);
    pageBox_->setRange(1, std::max(1, count));
    pageBox_->setValue(index + 1);
    pageBox_->setEnabled(count > 1);
    pageTotal_->setText(QStringLiteral("/ %1").arg(count));
}

} // namespace lexifol::pv
