#pragma once
// The full-text index of one dictionary's pages, in a database file of its
// own in the cache folder. It stores no text (the text stays in the DjVu
// document): a row is one page, its id the page's place, and the words are
// found through the index alone; the lines that hold them are found again
// in the page's own text when it is shown. The file says which
// document it was made from and how far it got; a file of another layout,
// another document, or one that is damaged is thrown away and made again.
#include <atomic>
#include "base/Status.h"
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;

namespace lexifol::search {

struct PageHit {
    int page = 0;    // counted from 0
    double rank = 0; // lower is better
};

class TextIndex
{
public:
    ~TextIndex();
    TextIndex(const TextIndex&) = delete;
    TextIndex& operator=(const TextIndex&) = delete;

    // Opens or makes the index at `path` for a document of `identity` with
    // `pages` pages (their references in order, for per-page dictionaries
    // the file names). One whose identity or layout differ, or that cannot
    // be read, is made anew.
    // With `verify` (after an unclean exit, or when asked to), an index that
    // fails SQLite's and FTS5's own checks is made anew too.
    static Result<std::unique_ptr<TextIndex>> open(const QString& path, const QString& identity,
                                                   const QStringList& pages, bool verify = false);
    // Whether the last use of the file ended without closing it: its log left behind.
    static bool LeftOpen(const QString& path);
    // Opens one to search only, as it is now; fails when there is none yet.
    static Result<std::unique_ptr<TextIndex>> openToRead(const QString& path);

    const QString& identity() const { return identity_; }
    int pageCount() const { return pages_.size(); }
    const QStringList& pages() const { return pages_; }
    int pagesDone() const { return done_; }
    bool complete() const { return done_ >= pages_.size(); }

    // Adds the folded lines of the next page and counts it done; written
    // for good every half second (and at `flush`), so a build cut short
    // goes on from there and searches see the pages written so far.
    Status addPage(const QStringList& foldedLines);
    Status flush();

    // Pages matching `match`, best first.
    // `cancel`, when given and set while the query runs, ends it at once.
    Result<QList<PageHit>> search(const QString& match, int limit, const std::atomic<bool>* cancel = nullptr) const;
    // Bytes of the database file.
    qint64 fileBytes() const;

private:
    TextIndex() = default;
    Status exec(const char* sql) const;
    Status loadState();
    bool intact() const;
    sqlite3* db_ = nullptr;
    QString path_;
    QString identity_;
    QStringList pages_;
    int done_ = 0;
    bool inBatch_ = false;
    QElapsedTimer batchTimer_;
};

} // namespace lexifol::search
