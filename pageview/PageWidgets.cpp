#include "pageview/PageWidgets.h"

#include "base/CodePage.h"
#include "base/RegularFile.h"
#include "base/TextFile.h"
#include "pageview/ScrollRequest.h"

#include <QDir>
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
                if (paste && fresh_)
                    selectAll();
                fresh_ = false;
                if (paste)
                    QLineEdit::paste();
                else
                    emit submitted();
            }
            return true;
        }
        // The reader types into it (modifier keys alone change nothing).
        if (event->type() == QEvent::KeyPress
            && (!key->text().isEmpty() || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete))
            fresh_ = false;
    }
    return QLineEdit::event(event);
}

FindDialog::FindDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Find"));
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
    field_->startFresh();
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
    static const QRegularExpression charsetPattern(QStringLiteral("charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_.:\\-]+)"),
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
    QUrl plain = name;
    plain.setFragment(QString());
    if (type == QTextDocument::HtmlResource && !preloadedUrl_.isEmpty() && plain == preloadedUrl_) {
        preloadedUrl_.clear();
        return std::exchange(preloaded_, QString());
    }
    // A page or picture the HTML names is read only when it is a regular
    // file of a sane size: never a FIFO or a device.
    const QString local = plain.isLocalFile() ? plain.toLocalFile()
        : plain.isRelative()                  ? QDir(searchPaths().value(0)).filePath(plain.path())
                                              : QString();
    if (!local.isEmpty()) {
        QFile file;
        if (!OpenRegularFile(file, local, kListCap))
            return QVariant();
        const QByteArray bytes = file.readAll();
        return type == QTextDocument::HtmlResource ? QVariant(DecodeHtml(bytes)) : QVariant(bytes);
    }
    return QTextBrowser::loadResource(type, name);
}

} // namespace lexifol::pv
