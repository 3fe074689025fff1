#pragma once
// The widgets inside the page view: the scrolling page, the Find dialog and
// the HTML view.
#include "pageview/PageArea.h"

#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QTextBrowser>

class QLabel;

namespace lexifol::pv {

// The field of the Find dialog. Paste and Enter are handled here directly,
// so that they work when keys are sent to it while its dialog is hidden.
class FindField : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
    // The dialog was opened afresh: what comes in by a paste replaces the
    // text rather than joining it, whenever the window system lets the
    // focus arrive.
    void startFresh()
    {
        fresh_ = true;
        selectAll();
    }

signals:
    void submitted();

protected:
    bool event(QEvent* event) override;

private:
    bool fresh_ = false;
};

class FindDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent);

    FindField* field() const { return field_; }
    void prepare(); // text selected, so that a paste replaces it
    void setStatus(const QString& text);

signals:
    void searchRequested(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    FindField* field_;
    QLabel* status_;
};

// HTML bytes: by their byte-order mark; else as the charset they name (the
// ANSI code page when that name is unknown); else as UTF-8 when they are
// valid UTF-8; else in the ANSI code page.
QString DecodeHtml(const QByteArray& bytes);

class HtmlView : public QTextBrowser
{
    Q_OBJECT
public:
    explicit HtmlView(QWidget* parent = nullptr);
    // The next load of `url` uses this text instead of reading the file again.
    void preload(const QUrl& url, const QString& html);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QUrl preloadedUrl_;
    QString preloaded_;
};

} // namespace lexifol::pv
