#pragma once
// A page index proposed from the text layer: for each page the headwords it
// could begin with, and the evidence for each (the running head's first
// guide word, the first article of the first column); then one word chosen
// for every page at once, so that the pages ascend in the collation and
// agree with the most evidence. What stays in doubt is listed for the
// maker to look at.
#include "djvu/TextLayer.h"
#include "index/Collation.h"

#include <QString>
#include <QStringList>

namespace lexifol {

// A reading of the page's first headword and the weight of its evidence.
struct PageCandidate {
    QString word;
    double weight = 0;
    bool body = false; // read in the page's body, not only in its head
    QString variant;   // the head's reading of the same word, when OCR read the two apart
    QString unsure;    // why its spelling needs a look; empty when the page bears it out
};

struct PageProposal {
    int page = 0;                    // counted from 1
    QString word;                    // the page's first headword; empty: no line for the page
    QString lastGuide;               // the running head's last word, when it has two
    QStringList others;              // other candidates, best first
    QString doubt;                   // why it needs a look; empty when none
    bool restart = false;            // begins a new alphabet (names, addenda)
    bool conflict = false;           // the running head and the first article disagree
    QList<PageCandidate> candidates; // the evidence; when empty, `word` and `others`
    QString lastArticle;             // the last article that begins on the page
    int lineHeight = 0;              // the median of its lines' heights; 0: unknown
    bool ordered = false;            // its word ascends with the pages around it, even in doubt
    QStringList firstArticles;       // the first two articles that begin on it
    QString passedOver;              // a first article left out, read out of order or with a digit
};

// Whether `a` may come before `b` (or be the same): in the collation, or
// with the hyphens and apostrophes inside words ignored, as many printed
// dictionaries order ("Halfcocking", "Half-decked"; "Sheepmaster",
// "Sheep's beard") while blanks still count ("vision purple", "Visional").
bool MayPrecede(const IndexCollation& collation, const QString& a, const QString& b);
// The word as such dictionaries order it: hyphens and apostrophes dropped.
QString LetterByLetter(const QString& word);

// The candidates of one page, from its text layer alone; the collation
// orders the article starts of the page among themselves.
PageProposal ProposePage(const djvu::TextLayer& layer, int page,
                         const IndexCollation& collation = IndexCollation::Default());

// One word for every page, chosen together: the path through the pages'
// candidates that ascends and keeps the most evidence. A page that fits
// neither neighbour is left out of the path and put in doubt, never made
// the bound of the pages after it; a run that starts again from the front
// of the alphabet is a new section at a cost, not an error on every page.
void CheckProposals(QList<PageProposal>& pages, const IndexCollation& collation);

// The review file, NAME.review.tsv in the dictionary's folder (with its
// trailing separator): a header, then a line for each page in doubt (page,
// proposal, other candidates, why), tab-separated, UTF-8.
QString ReviewFilePath(const QString& dictionaryFolder, const QString& name);
QString ReviewHeader();
QByteArray ReviewFileBytes(const QList<PageProposal>& pages);
// Pages in doubt counted in a review file's bytes.
int ReviewCount(const QByteArray& review);

} // namespace lexifol
