#pragma once
// Articles of a real dictionary for the OCR corpora: the Collaborative
// International Dictionary of English (Webster 1913), as Debian's dict-gcide
// package installs it for dictd.
#include <QList>
#include <QString>

namespace corpus {

struct Article {
    QString headword; // as the dictionary prints it
    QString body;     // one paragraph, markup removed
};

// The articles whose headwords begin at `from` (letter case ignored), in the
// dictionary's order, `count` at most; empty when the package is missing.
QList<Article> ReadGcide(const QString& from, int count, QString* error);

// The same from another dictionary dictd can serve: FreeDict's
// English-Russian (dict-freedict-eng-rus), for pages in two scripts.
enum class Source { Gcide, FreedictEngRus };
QList<Article> ReadDictionary(Source source, const QString& from, int count, QString* error);

} // namespace corpus
