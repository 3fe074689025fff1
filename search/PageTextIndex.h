#pragma once
// A dictionary's pages made searchable, and searched: which pages its
// document has, where its index file lies, building it (in the background,
// a page at a time, cut short and resumed at will), and the pages that hold
// what a reader typed, with the line to show.
#include "index/Replacement.h"
#include "index/TextMatch.h"
#include "base/Status.h"
#include "search/TextIndex.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <atomic>
#include <climits>
#include <map>
#include <memory>
#include <mutex>
#include <functional>

namespace lexifol::djvu {
class Document;
}

namespace lexifol::search {

struct TextSource {
    QString name;   // the dictionary's name (its catalogue caption)
    QString title;  // as shown in results
    QString folder; // Data/<name>.files/, with its trailing separator
    bool wholeFile = true;
    ReplacementList rules;
};

// The document's identity (path, size, time of every file) and its pages:
// page numbers of one document, or the page files of a dictionary stored
// page by page, in the order of their numbers.
struct SourcePages {
    QString identity;
    QStringList pages; // page references, as the index and the page view take them
};
Result<SourcePages> ListPages(const TextSource& s);
// The identity alone, without opening the document: checked before searching.
QString SourceIdentity(const TextSource& s);

// The index file of a dictionary in `cacheFolder`: one per dictionary folder.
QString IndexPathFor(const QString& cacheFolder, const TextSource& s);

struct BuildProgress {
    std::function<void(int done, int total)> step; // after each page
    const std::atomic<bool>* cancel = nullptr;     // set: stop after the page
    // Behind everything else the machine does (the window's typing): the
    // calling thread is given only time nothing else wants while it builds.
    bool background = false;
    // Check the index it goes on from (SQLite's and FTS5's checks); it is
    // checked anyway when its last use ended without closing it.
    bool verify = false;
    int* unreadable = nullptr; // counts the pages that could not be read
};
// Builds, or goes on building, the index; true in `complete` when all pages are in.
Status BuildTextIndex(const TextSource& s, const QString& cacheFolder, const BuildProgress& progress, bool* complete);

struct PageResult {
    QString dictionary, title;
    int page = 0; // counted from 0 in the index's pages
    QString pageReference;
    int line = 0;                     // the line with the most hits on the page
    QString lineText;                 // that line as printed
    QList<std::pair<int, int>> marks; // the hits in lineText
    int lines = 0;                    // lines holding a hit
    double rank = 0;                  // lower is better
    QList<MatchWord> words;           // what was searched, to be found again on the page
};
// Documents kept open from one search to the next: opening a bundle of
// thousands of pages costs more than the query. Reopened when the file
// changes. One search at a time uses it (the mutex is held throughout).
class OpenDocuments
{
public:
    OpenDocuments();
    ~OpenDocuments();
    std::mutex mutex;
    // The document of a whole-file dictionary, opened or kept.
    std::unique_ptr<djvu::Document>& slot(const QString& path);

private:
    std::map<QString, std::pair<QString, std::unique_ptr<djvu::Document>>> byPath_; // stamp, document
};

// The pages holding `typed` in the dictionary's index as built so far,
// best first, each once; `pagesDone` says how far the index has got. Fails
// when the index was made from another document than the one there now.
// `cancel`, when set meanwhile, ends the search at once ("Cancelled").
// The first `withLines` results get their line (FillLines), the rest none.
Result<QList<PageResult>> SearchPages(const TextSource& s, const QString& cacheFolder, const QString& typed, int limit,
                                      int* pagesDone = nullptr, int* pageCount = nullptr,
                                      const std::atomic<bool>* cancel = nullptr, int withLines = INT_MAX,
                                      OpenDocuments* keep = nullptr);

// Each result in [from, to) gets the line with the most hits from its page's
// text layer, and the count of lines with a hit; `sources` names each
// result's dictionary. False when cancelled.
bool FillLines(const QList<TextSource>& sources, QList<PageResult>& results, int from, int to,
               OpenDocuments* keep = nullptr, const std::atomic<bool>* cancel = nullptr);

// What the pages are, whatever their file is called: dictionaries made over
// one document (copies of it, links to it) have the same key.
QByteArray ContentKey(const TextSource& s);
// Results of several dictionaries, best first: a page of a document that
// another dictionary's result has shown already is dropped. `keyOf`: the
// ContentKey of each dictionary, by name.
void KeepEachPageOnce(QList<PageResult>& results, const QHash<QString, QByteArray>& keyOf);

} // namespace lexifol::search
