#include "app/OtherStrip.h"

#include "app/MainControls.h"
#include "app/MainWidgets.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QtConcurrent>

namespace lexifol {

namespace {

constexpr int kPauseMs = 150;

// The catalogue's name, short; the title, often long, is in the tooltip.
QString EntryText(const ShelfHit& h)
{
    switch (h.kind) {
    case ShelfHit::Kind::Exact:
        return h.name + QStringLiteral(": ") + h.headword;
    case ShelfHit::Kind::Nearest:
        return h.name + QStringLiteral(": \u2248 ") + h.headword;
    case ShelfHit::Kind::Page:
        return h.name + OtherStrip::tr(": page %1").arg(h.page);
    case ShelfHit::Kind::Nothing:
        return h.name + QStringLiteral(": \u2014");
    case ShelfHit::Kind::Opening:
        return h.name + OtherStrip::tr(": opening\u2026");
    case ShelfHit::Kind::Broken:
        return h.name + OtherStrip::tr(": cannot be opened");
    }
    return h.name;
}

} // namespace

OtherStrip::OtherStrip(const WindowParts& w)
    : QWidget(&w.window)
    , w_(w)
    , shelf_(w.state.indexCache)
{
    setAccessibleName(tr("In other dictionaries"));
    shelf_.userRoot = w_.state.places.userRoot();
    row_ = new QHBoxLayout(this);
    row_->setContentsMargins(4, 1, 4, 1);
    row_->setSpacing(8);
    row_->addStretch(1);
    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(kPauseMs);
    connect(pause_, &QTimer::timeout, this, &OtherStrip::refresh);
    connect(w_.ui.searchBox, &QLineEdit::textChanged, pause_, qOverload<>(&QTimer::start));
    connect(&opening_, &QFutureWatcher<void>::finished, this, &OtherStrip::refresh);
    for (int digit = 1; digit <= 9; ++digit) {
        auto* a = new QAction(this);
        a->setShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + digit)));
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, [this, digit] { choose(digit - 1); });
        w_.window.addAction(a);
    }
    // The other dictionaries are opened off the window's thread, at the
    // first pause in typing: start-up does not wait for them.
    hide();
}

OtherStrip::~OtherStrip()
{
    opening_.waitForFinished();
}

QList<ShelfEntry> OtherStrip::others() const
{
    QList<ShelfEntry> out;
    for (int i = 0; i < w_.state.catalogue.count(); ++i)
        if (w_.state.catalogue.checked(i) && w_.state.catalogue.name(i) != w_.state.dictionary.name)
            out << ShelfEntry{w_.state.catalogue.name(i), w_.state.catalogue.root(i)};
    return out;
}

void OtherStrip::refresh()
{
    const QList<ShelfEntry> entries = others();
    QList<ShelfHit> hits = shelf_.lookUp(entries, w_.ui.searchBox->text().trimmed());
    const bool missing = std::any_of(hits.begin(), hits.end(),
                                     [](const ShelfHit& h) { return h.kind == ShelfHit::Kind::Opening; });
    if (missing && opening_.isFinished())
        opening_.setFuture(QtConcurrent::run([this, entries] { shelf_.open(entries); }));
    showHits(hits);
}

void OtherStrip::showHits(const QList<ShelfHit>& hits)
{
    hits_ = hits;
    while (row_->count() > 1) {
        QLayoutItem* item = row_->takeAt(0);
        delete item->widget();
        delete item;
    }
    for (int i = 0; i < hits.size(); ++i) {
        const ShelfHit& h = hits[i];
        auto* b = new QToolButton(this);
        b->setAutoRaise(true);
        b->setText((i < 9 ? QStringLiteral("%1 ").arg(i + 1) : QString()) + EntryText(h));
        b->setAccessibleName(EntryText(h));
        b->setToolTip(h.kind == ShelfHit::Kind::Broken ? h.title + QStringLiteral(": ") + h.why
                                                       : tr("Open %1 with the word (Alt+%2)").arg(h.title).arg(i + 1));
        // A nearest headword or nothing in a quieter style.
        if (h.kind != ShelfHit::Kind::Exact && h.kind != ShelfHit::Kind::Page) {
            QPalette p = b->palette();
            p.setColor(QPalette::ButtonText, p.color(QPalette::Disabled, QPalette::ButtonText));
            b->setPalette(p);
        }
        connect(b, &QToolButton::clicked, this, [this, i] { choose(i); });
        row_->insertWidget(i, b);
    }
    const bool appears = isHidden() && !hits.isEmpty();
    setVisible(!hits.isEmpty());
    // The strip takes its height from the index list: its selected row
    // stays in sight.
    if (appears)
        QTimer::singleShot(0, this, [this] { w_.act.selectIndexRow(w_.act.selectedIndexRow()); });
}

void OtherStrip::choose(int i)
{
    if (i < 0 || i >= hits_.size() || hits_[i].kind == ShelfHit::Kind::Broken)
        return;
    if (w_.act.selectDictionary(hits_[i].name))
        w_.act.openDictionary();
}

} // namespace lexifol
