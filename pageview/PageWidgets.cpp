#include "pageview/PageWidgets.h"

#include "index/CodePage.h"
#include "index/TextFile.h"
#include "pageview/ScrollRequest.h"

#include <QFile>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringDecoder>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace lexifol::pv {

// ---------------------------------------------------------------- PageArea

PageArea::PageArea(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void PageArea::setPage(const QImage& image, QSize display, QSize pageSize, bool toTop)
{
    const double oldHeight = std::max(1.0, logicalDisplay().height());
    const double fraction = verticalScrollBar()->value() / oldHeight;
    const double hFraction = horizontalScrollBar()->value() / std::max(1.0, logicalDisplay().width());
    image_ = image;
    display_ = display;
    pageSize_ = pageSize;
    message_.clear();
    if (toTop)
        highlights_.clear();
    updateScrollBars();
    if (toTop) {
        verticalScrollBar()->setValue(0);
        horizontalScrollBar()->setValue(0);
    } else {
        verticalScrollBar()->setValue(int(std::lround(fraction * logicalDisplay().height())));
        horizontalScrollBar()->setValue(int(std::lround(hFraction * logicalDisplay().width())));
    }
    viewport()->update();
}

void PageArea::setDisplaySize(QSize display)
{
    if (display == display_)
        return;
    setPage(image_, display, pageSize_, false);
}

void PageArea::clearPage(const QString& message)
{
    image_ = QImage();
    display_ = QSize();
    highlights_.clear();
    message_ = message;
    updateScrollBars();
    viewport()->update();
}

void PageArea::setHighlights(const QList<QRect>& pageBoxes)
{
    highlights_ = pageBoxes;
    viewport()->update();
}

void PageArea::setMark(const QRect& pageBox)
{
    mark_ = pageBox;
    viewport()->update();
}

void PageArea::scrollBoxToUpperThird(const QRect& pageBox)
{
    const QRectF r = toView(pageBox).translated(-origin());
    verticalScrollBar()->setValue(int(r.top() - viewport()->height() / 3.0));
    if (r.left() < horizontalScrollBar()->value() || r.right() > horizontalScrollBar()->value() + viewport()->width())
        horizontalScrollBar()->setValue(int(r.left() - viewport()->width() / 3.0));
}

void PageArea::scrollToBox(const QRect& pageBox)
{
    const QRectF r = toView(pageBox).translated(-origin());   // content coordinates
    const int vpH = viewport()->height();
    const int vpW = viewport()->width();
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    if (r.top() < v->value() || r.bottom() > v->value() + vpH)
        v->setValue(int(r.top() - vpH / 3.0));
    if (r.left() < h->value() || r.right() > h->value() + vpW)
        h->setValue(int(r.left() - vpW / 3.0));
}

void PageArea::setScrollBarsShown(bool shown)
{
    scrollBarsShown_ = shown;
    // Hidden bars still scroll: the wheel and scroll requests drive the
    // ranges, which are kept either way.
    const Qt::ScrollBarPolicy policy = shown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
}

void PageArea::scrollRequest(int code)
{
    QScrollBar* v = verticalScrollBar();
    switch (code) {
    case SB_LINEUP:
        v->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case SB_LINEDOWN:
        v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case SB_PAGEUP:
        v->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case SB_PAGEDOWN:
        v->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    default:
        break;
    }
}

ViewArea PageArea::viewArea() const
{
    const double dpr = devicePixelRatioF();
    ViewArea area;
    const QSize size = maximumViewportSize();
    area.size = QSize(int(size.width() * dpr), int(size.height() * dpr));
    area.scrollBarExtent = scrollBarsShown_
        ? int(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar()) * dpr)
        : 0;
    area.screenDpi = logicalDpiX() * dpr;
    return area;
}

QSizeF PageArea::logicalDisplay() const
{
    if (display_.isEmpty())
        return QSizeF(0, 0);
    const double dpr = devicePixelRatioF();
    return QSizeF(display_.width() / dpr, display_.height() / dpr);
}

QPointF PageArea::origin() const
{
    const QSizeF d = logicalDisplay();
    const QSize vp = viewport()->size();
    // Centred while smaller than the view, else scrolled.
    const double x = d.width() < vp.width() ? (vp.width() - d.width()) / 2 : -horizontalScrollBar()->value();
    const double y = d.height() < vp.height() ? (vp.height() - d.height()) / 2 : -verticalScrollBar()->value();
    return QPointF(std::floor(x), std::floor(y));
}

QRectF PageArea::toView(const QRect& pageBox) const
{
    if (pageSize_.isEmpty())
        return QRectF();
    const QSizeF d = logicalDisplay();
    const double sx = d.width() / pageSize_.width();
    const double sy = d.height() / pageSize_.height();
    const QPointF o = origin();
    return QRectF(o.x() + pageBox.x() * sx, o.y() + pageBox.y() * sy,
                  pageBox.width() * sx, pageBox.height() * sy);
}

void PageArea::updateScrollBars()
{
    const QSizeF d = logicalDisplay();
    const QSize vp = viewport()->size();
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    v->setRange(0, std::max(0, int(std::ceil(d.height())) - vp.height()));
    v->setPageStep(std::max(1, vp.height()));
    v->setSingleStep(std::max(16, vp.height() / 20));
    h->setRange(0, std::max(0, int(std::ceil(d.width())) - vp.width()));
    h->setPageStep(std::max(1, vp.width()));
    h->setSingleStep(std::max(16, vp.width() / 20));
}

void PageArea::paintEvent(QPaintEvent* event)
{
    // Moved to a screen of another pixel ratio: the page wants rendering again.
    if (paintedRatio_ != devicePixelRatioF()) {
        if (paintedRatio_ != 0)
            QMetaObject::invokeMethod(this, &PageArea::viewChanged, Qt::QueuedConnection);
        paintedRatio_ = devicePixelRatioF();
    }
    QPainter p(viewport());
    p.fillRect(event->rect(), palette().color(QPalette::Mid));
    if (image_.isNull()) {
        if (!message_.isEmpty()) {
            p.setPen(palette().color(QPalette::Text));
            p.drawText(viewport()->rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, message_);
        }
        return;
    }
    const QPointF o = origin();
    // Drawn into a rectangle rather than with the image's own pixel ratio:
    // setting that would copy an image the cache shares.
    if (image_.size() != display_)
        p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(o, logicalDisplay()), image_, QRectF(image_.rect()));
    // Multiplying keeps the ink readable under the marker colours.
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    if (!mark_.isEmpty())
        p.fillRect(toView(mark_).adjusted(-4, -2, 4, 2), kHeadwordMarkColour);
    if (!highlights_.isEmpty()) {
        for (const QRect& box : highlights_)
            p.fillRect(toView(box).adjusted(-1, -1, 1, 1), QColor(255, 225, 0));
    }
}

void PageArea::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    emit viewChanged();
}

void PageArea::scrollContentsBy(int, int)
{
    viewport()->update();
}

// ---------------------------------------------------------------- Find

bool FindField::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        const bool paste = key->matches(QKeySequence::Paste);
        if (enter || paste) {
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                if (paste)
                    QLineEdit::paste();
                else
                    emit submitted();
            }
            return true;
        }
    }
    return QLineEdit::event(event);
}

FindDialog::FindDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);
    field_ = new FindField(this);
    field_->setObjectName(QStringLiteral("findField"));
    auto* button = new QPushButton(tr("Find"), this);
    button->setAutoDefault(false);
    status_ = new QLabel(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Find what:"), this));
    row->addWidget(field_, 1);
    row->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(status_);
    setFocusProxy(field_);
    field_->setFocus();
    connect(field_, &FindField::submitted, this, [this] { emit searchRequested(field_->text()); });
    connect(button, &QPushButton::clicked, this, [this] { emit searchRequested(field_->text()); });
}

void FindDialog::prepare()
{
    field_->selectAll();
    field_->setFocus(Qt::OtherFocusReason);
}

void FindDialog::setStatus(const QString& text)
{
    status_->setText(text);
}

void FindDialog::keyPressEvent(QKeyEvent* event)
{
    // Keys sent to the dialog itself rather than to its field.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter || event->matches(QKeySequence::Paste)) {
        QCoreApplication::sendEvent(field_, event);
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------- HTML

QString DecodeHtml(const QByteArray& bytes)
{
    if (const TextMark mark = DetectMark(bytes); mark.kind != TextMark::None) {
        const auto encoding = mark.kind == TextMark::Utf8 ? QStringConverter::Utf8
            : mark.kind == TextMark::Utf16LE              ? QStringConverter::Utf16LE
                                                          : QStringConverter::Utf16BE;
        QStringDecoder decoder(encoding);
        return decoder(QByteArrayView(bytes).sliced(mark.length));
    }
    static const QRegularExpression charsetPattern(
        QStringLiteral("charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_.:\\-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(bytes.left(4096));
    const QRegularExpressionMatch m = charsetPattern.match(head);
    if (m.hasMatch()) {
        QStringDecoder decoder(m.captured(1).toLatin1().constData());
        if (decoder.isValid())
            return decoder(bytes);
        // A charset the browser does not know (the page view file says
        // "1251") left it at the system's code page.
        return Ansi().decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return Ansi().decode(bytes);
}

HtmlView::HtmlView(QWidget* parent)
    : QTextBrowser(parent)
{
    setFrameShape(QFrame::NoFrame);
    setOpenLinks(false);
}

void HtmlView::preload(const QUrl& url, const QString& html)
{
    preloadedUrl_ = url;
    preloaded_ = html;
}

QVariant HtmlView::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::HtmlResource) {
        QUrl plain = name;
        plain.setFragment(QString());
        if (!preloadedUrl_.isEmpty() && plain == preloadedUrl_) {
            preloadedUrl_.clear();
            return std::exchange(preloaded_, QString());
        }
        if (plain.isLocalFile()) {
            QFile file(plain.toLocalFile());
            if (file.open(QIODevice::ReadOnly))
                return DecodeHtml(file.readAll());
        }
    }
    return QTextBrowser::loadResource(type, name);
}

} // namespace lexifol::pv
