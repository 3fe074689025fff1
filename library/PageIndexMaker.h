#pragma once
// A page index proposed from the text layer: for each page the headword it
// begins with, read from its running head (the guide words) or else from
// the first article of its first column; the proposals checked against
// each other with the collation, and what stays in doubt listed for the
// maker to look at.
#include "djvu/TextLayer.h"
#include "index/Collation.h"

#include <QString>
#include <QStringList>

namespace lexifol {

struct PageProposal {
    int page = 0;              // counted from 1
    QString word;              // the page's first headword; empty: no line for the page
    QString lastGuide;         // the running head's last word, when it has two
    QStringList others;        // other candidates, best first
    QString doubt;             // why it needs a look; empty when none
    bool restart = false;      // begins a new alphabet (names, addenda)
    bool conflict = false;     // the running head and the first article disagree
};

// The candidates of one page, from its text layer alone.
PageProposal ProposePage(const djvu::TextLayer& layer, int page);

// The proposals in page order, checked with the collation: a word that
// breaks the order is replaced by a candidate that keeps it, or put in
// doubt; a run of pages that starts again from the front of the alphabet
// and keeps ascending is a new section, not an error on every page.
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
