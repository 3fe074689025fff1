#pragma once
// Find in the text layer of the page on view: the query, its hits, whether a
// search waits for the page's text, and the "Find" dialog that asks for it.
#include "index/TextMatch.h"
#include "pageview/DocumentCache.h"

#include <QList>
#include <QPointer>
#include <QRect>
#include <functional>
#include <optional>

namespace lexifol {

namespace pv {
class FindDialog;
}

// What Find looks for: a phrase typed into its dialog, or the words a text
// search found the page for, any of them.
struct FindQuery {
    QList<MatchWord> words;
    bool anyWord = false;
    bool isEmpty() const { return words.isEmpty(); }
    bool operator==(const FindQuery&) const = default;
};

class FindController
{
public:
    FindController() = default;
    ~FindController();
    FindController(const FindController&) = delete;
    FindController& operator=(const FindController&) = delete;

    // A new query; the search runs now or, with `wait`, when the text comes.
    void setQuery(const FindQuery& query, bool wait);
    const FindQuery& query() const { return query_; }
    // Searches the text; the number of matches. Hits are in page pixels.
    // The same query again on the same page moves on to the next match.
    int run(const pv::PageTextInfo& text, const TextMatcher& matcher);
    void clear(); // no hits, nothing pending, a new page
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
    FindQuery query_;
    std::optional<FindQuery> searched_; // the query of the hits shown
    bool pending_ = false;
    bool soft_ = false;
    QList<QRect> hits_;
    QList<QRect> matchStarts_; // first word of each match
    int current_ = -1;
};

} // namespace lexifol
