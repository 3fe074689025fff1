// Find on the page and the headword mark: what is searched, its hits and
// the box of the headword the page was shown for.
#include "pageview/PageViewImpl.h"

#include "djvu/LocateWord.h"

#include <QScopedValueRollback>
#include <QScrollBar>

#include <cmath>

namespace lexifol {

void PageView::Impl::locateHeadword()
{
    const QString word = std::exchange(locating, QString());
    if (word.isEmpty() || !text.hasText)
        return;
    const std::optional<QRect> box = LocateHeadword(text.words, word, text.runningHead, text.articleStart, matcher,
                                                    occurrence);
    if (!box)
        return;
    area->setMark(*box);
    // A page the user has moved meanwhile stays where the user put it; the
    // page scrolled to stays the page on view, whatever else shows below.
    const QScopedValueRollback placing(arranging, true);
    if (area->verticalScrollBar()->value() == scrollAtArrival)
        area->scrollBoxToUpperThird(*box);
}

// A text search's hits marked as a headword is, Find's own in yellow.
void PageView::Impl::showHits()
{
    area->setHighlights(finder.hits(), finder.soft() ? kHeadwordMarkColour : kFindColour);
}

int PageView::Impl::runFind()
{
    const int count = finder.run(text, matcher);
    if (!finder.hits().isEmpty())
        area->setMark(QRect());
    showHits();
    const QScopedValueRollback placing(arranging, true);
    if (!finder.currentBox().isNull())
        area->scrollToBox(finder.currentBox());
    return count;
}

void PageView::setTextRules(const ReplacementList& rules)
{
    d->matcher = TextMatcher(rules);
}

QRect PageView::headwordMark() const
{
    return d->area->mark();
}

QList<QRect> PageView::highlights() const
{
    QList<QRect> out;
    if (d->image.isNull() || d->pageSize.isEmpty())
        return out;
    const double sx = double(d->image.width()) / d->pageSize.width();
    const double sy = double(d->image.height()) / d->pageSize.height();
    for (const QRect& r : d->finder.hits()) {
        const QPoint tl(int(std::floor(r.left() * sx)), int(std::floor(r.top() * sy)));
        const QPoint br(int(std::ceil((r.right() + 1) * sx)) - 1, int(std::ceil((r.bottom() + 1) * sy)) - 1);
        out.append(QRect(tl, br));
    }
    return out;
}

int PageView::findText(const QString& text)
{
    return d->find(FindQuery{d->matcher.typedPhrase(text), false});
}

int PageView::findNext()
{
    return d->find(d->finder.query());
}

int PageView::Impl::find(const FindQuery& query)
{
    if (state != State::Page && state != State::Loading) {
        finder.setQuery(query, false);
        finder.clear();
        return 0;
    }
    const bool wait = state == State::Loading || !textKnown;
    finder.setQuery(query, wait);
    if (wait)
        return -1;
    const int count = runFind();
    emit q->findDone(count);
    return count;
}

std::pair<int, int> PageView::findPosition() const
{
    return {d->finder.current(), d->finder.count()};
}

QWidget* PageView::findDialog() const
{
    return d->finder.dialog();
}
} // namespace lexifol
