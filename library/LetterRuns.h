#pragma once
// How often each run of three letters comes in a document's words. OCR
// misreads a headword into runs the rest of the document hardly has
// ("Ackriowledgment", "boardinghous\u00e9"); a word made of the
// document's own runs reads as the language does.
#include "djvu/TextLayer.h"
#include "library/PageIndexMaker.h"

#include <QHash>
#include <QString>

namespace lexifol {

class LetterRuns
{
public:
    void add(const djvu::TextLayer& layer);
    // The fewest times any run of the word (its ends count as blanks)
    // comes in the document; 0 for a word too short to have one.
    int rarest(const QString& word) const;
    qint64 words() const { return words_; }

private:
    QHash<quint64, int> counts_;
    qint64 words_ = 0;
};

// The first article of each page whose spelling has a run the document
// has nowhere else goes to the review, unless it is there already; in a
// document of a few pages nothing does.
void FlagRareSpellings(QList<PageProposal>& pages, const LetterRuns& runs);

} // namespace lexifol
