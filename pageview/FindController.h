#pragma once
// Find in the text layer of the page on view: the query, its hits, whether a
// search waits for the page's text, and the "Find" dialog that asks for it.
#include "pageview/DocumentCache.h"

#include <QList>
#include <QPointer>
#include <QRect>
#include <functional>

namespace lexifol {

namespace pv {
class FindDialog;
}

class FindController {
public:
    FindController() = default;
    ~FindController();
    FindController(const FindController&) = delete;
    FindController& operator=(const FindController&) = delete;

    // A new query; the search runs now or, with `wait`, when the text comes.
    void setQuery(const QString& text, bool wait);
    // Searches the text; the number of matches. Hits are in page pixels.
    // The same query again on the same page moves on to the next match.
    int run(const pv::PageTextInfo& text);
    void clear();   // no hits, nothing pending, a new page
    // The first word of the match to bring into view; empty without hits.
    QRect currentBox() const;

    bool pending() const { return pending_; }
    // Hits of a search made elsewhere (inside the pages) are marked softly,
    // as the headword looked up is, until another query is searched.
    void setSoft(bool soft) { soft_ = soft; }
    bool soft() const { return soft_; }
    int current() const { return current_; }
    int count() const { return int(matchStarts_.size()); }
    const QList<QRect>& hits() const { return hits_; }
    QWidget* dialog() const;

    // Shows the dialog (made on first use as a child of `owner`).
    void open(QWidget* owner, std::function<void(const QString&)> search);
    void deleteDialog();

private:
    void report(int count, bool hasText);

    QPointer<pv::FindDialog> dialog_;
    QString query_;
    QString searched_;            // the query of the hits shown
    bool pending_ = false;
    bool soft_ = false;
    QList<QRect> hits_;
    QList<QRect> matchStarts_;    // first word of each match
    int current_ = -1;
};

} // namespace lexifol
