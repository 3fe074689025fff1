#include "search/TextIndex.h"
#include "search/PageRank.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace lexifol::search {

namespace {

constexpr int kLayout = 3;     // raised whenever the tables change
constexpr int kCommitMs = 500; // how often what is built becomes searchable

QString Why(sqlite3* db, const QString& path)
{
    return QStringLiteral("Text index %1: %2").arg(path, QString::fromUtf8(db ? sqlite3_errmsg(db) : "cannot open"));
}

struct Statement {
    sqlite3_stmt* s = nullptr;
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &s, nullptr); }
    ~Statement() { sqlite3_finalize(s); }
    explicit operator bool() const { return s; }
};

void BindText(sqlite3_stmt* s, int at, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(s, at, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

QString ColumnText(sqlite3_stmt* s, int at)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, at)), sqlite3_column_bytes(s, at));
}

} // namespace

TextIndex::~TextIndex()
{
    if (db_) {
        // What was added is kept, with how far it got.
        if (inBatch_)
            (void)flush();
        sqlite3_close(db_);
    }
}

Status TextIndex::exec(const char* sql) const
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) == SQLITE_OK)
        return {};
    const QString why = QStringLiteral("Text index %1: %2").arg(path_, QString::fromUtf8(error ? error : "error"));
    sqlite3_free(error);
    return Status::failure(why);
}

// What the file holds: its layout, the document it was made from, its pages
// and how many are in.
Status TextIndex::loadState()
{
    Statement layout(db_, "PRAGMA user_version");
    if (!layout || sqlite3_step(layout.s) != SQLITE_ROW || sqlite3_column_int(layout.s, 0) != kLayout)
        return Status::failure(QStringLiteral("another layout"));
    Statement pages(db_, "SELECT ref FROM pages ORDER BY n");
    if (!pages)
        return Status::failure(Why(db_, path_));
    pages_.clear();
    while (sqlite3_step(pages.s) == SQLITE_ROW)
        pages_ << ColumnText(pages.s, 0);
    Statement done(db_, "SELECT value FROM meta WHERE key = 'done'");
    if (!done || sqlite3_step(done.s) != SQLITE_ROW)
        return Status::failure(Why(db_, path_));
    done_ = sqlite3_column_int(done.s, 0);
    Statement id(db_, "SELECT value FROM meta WHERE key = 'identity'");
    identity_ = id && sqlite3_step(id.s) == SQLITE_ROW ? ColumnText(id.s, 0) : QString();
    return {};
}

// SQLite's check of the file's pages, then FTS5's of its own structures:
// damage inside the data would otherwise answer "not found" in silence.
bool TextIndex::intact() const
{
    Statement quick(db_, "PRAGMA quick_check");
    if (!quick || sqlite3_step(quick.s) != SQLITE_ROW || ColumnText(quick.s, 0) != u"ok")
        return false;
    return exec("INSERT INTO lines(lines) VALUES('integrity-check')").ok();
}

bool TextIndex::LeftOpen(const QString& path)
{
    return QFileInfo(path + QStringLiteral("-wal")).size() > 0;
}

namespace {

// A FIFO or a device where the file should be would hang the reader.
Status NotAFile(const QString& path)
{
    const QFileInfo info(path);
    if ((info.exists() || info.isSymLink()) && !info.isFile())
        return Status::failure(QStringLiteral("Text index %1 is not a regular file").arg(path));
    return {};
}

} // namespace

Result<std::unique_ptr<TextIndex>> TextIndex::openToRead(const QString& path)
{
    if (Status s = NotAFile(path); !s)
        return s;
    if (!QFileInfo(path).isFile())
        return Status::failure(QStringLiteral("no text index yet"));
    std::unique_ptr<TextIndex> t(new TextIndex);
    t->path_ = path;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &t->db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return Status::failure(Why(t->db_, path));
    sqlite3_busy_timeout(t->db_, 2000);
    if (!RegisterPageRank(t->db_))
        return Status::failure(Why(t->db_, path));
    if (Status s = t->loadState(); !s)
        return s;
    return t;
}

Result<std::unique_ptr<TextIndex>> TextIndex::open(const QString& path, const QString& identity,
                                                   const QStringList& pages, bool verify)
{
    for (const char* suffix : {"", "-wal", "-shm"})
        if (Status s = NotAFile(path + QLatin1String(suffix)); !s)
            return s;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::unique_ptr<TextIndex> t(new TextIndex);
        t->path_ = path;
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &t->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr)
            != SQLITE_OK)
            return Status::failure(Why(t->db_, path));
        sqlite3_busy_timeout(t->db_, 2000);
        if (!RegisterPageRank(t->db_))
            return Status::failure(Why(t->db_, path));
        // A cache made again at will: its commits need not wait for the disk
        // (the log keeps the file whole; a power cut loses the last pages).
        (void)t->exec("PRAGMA synchronous=NORMAL");
        // Ours, of this layout, from this document: go on where it stopped.
        bool same = t->loadState().ok() && t->identity_ == identity && t->pages_ == pages;
        if (same && verify && attempt == 0)
            same = t->intact();
        if (same)
            return t;
        // Anything else is made anew: a file that even this fails on is
        // removed and made once more.
        // Pages the final merge frees go back at once, without a VACUUM.
        const bool made = t->exec("PRAGMA auto_vacuum=FULL").ok() && t->exec("PRAGMA journal_mode=WAL").ok()
            && t->exec("DROP TABLE IF EXISTS lines; DROP TABLE IF EXISTS pages; DROP TABLE IF EXISTS meta;").ok()
            && t->exec("CREATE VIRTUAL TABLE lines USING fts5(text, content='', columnsize=0, "
                       "tokenize='unicode61 remove_diacritics 2');"
                       "INSERT INTO lines(lines, rank) VALUES('automerge', 0);"
                       "INSERT INTO lines(lines, rank) VALUES('crisismerge', 256);"
                       "CREATE TABLE pages(n INTEGER PRIMARY KEY, ref TEXT);"
                       "CREATE TABLE meta(key TEXT PRIMARY KEY, value);")
                   .ok();
        if (made && t->exec("BEGIN")) {
            Statement meta(t->db_, "INSERT INTO meta VALUES('identity', ?), ('done', 0)");
            BindText(meta.s, 1, identity);
            bool ok = meta && sqlite3_step(meta.s) == SQLITE_DONE;
            Statement page(t->db_, "INSERT INTO pages VALUES(?, ?)");
            for (int i = 0; ok && i < pages.size(); ++i) {
                sqlite3_bind_int(page.s, 1, i);
                BindText(page.s, 2, pages[i]);
                ok = sqlite3_step(page.s) == SQLITE_DONE;
                sqlite3_reset(page.s);
            }
            const QString version = QStringLiteral("PRAGMA user_version=%1").arg(kLayout);
            if (ok && t->exec(version.toUtf8().constData()) && t->exec("COMMIT")) {
                t->pages_ = pages;
                t->identity_ = identity;
                t->done_ = 0;
                return t;
            }
        }
        sqlite3_close(t->db_);
        t->db_ = nullptr;
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            QFile::remove(path + QLatin1String(suffix));
    }
    return Status::failure(QStringLiteral("Text index %1 cannot be made").arg(path));
}

Status TextIndex::addPage(const QStringList& foldedLines)
{
    if (done_ >= pages_.size())
        return {};
    if (!inBatch_) {
        if (Status s = exec("BEGIN"); !s)
            return s;
        inBatch_ = true;
        batchTimer_.start();
    }
    // A phrase broken across two printed lines is still a phrase.
    const QString text = foldedLines.join(u'\n');
    if (!text.trimmed().isEmpty()) {
        Statement insert(db_, "INSERT INTO lines(rowid, text) VALUES(?, ?)");
        sqlite3_bind_int64(insert.s, 1, done_);
        BindText(insert.s, 2, text);
        if (!insert || sqlite3_step(insert.s) != SQLITE_DONE)
            return Status::failure(Why(db_, path_));
    }
    ++done_;
    if (batchTimer_.elapsed() >= kCommitMs || complete())
        return flush();
    return {};
}

Status TextIndex::flush()
{
    if (!inBatch_)
        return {};
    Statement done(db_, "UPDATE meta SET value = ? WHERE key = 'done'");
    sqlite3_bind_int(done.s, 1, done_);
    if (!done || sqlite3_step(done.s) != SQLITE_DONE)
        return Status::failure(Why(db_, path_));
    inBatch_ = false;
    if (Status s = exec("COMMIT"); !s)
        return s;
    // Complete: its segments merged into one, the log folded in, the file
    // made as small as it can be.
    if (!complete())
        return {};
    Status merged = exec("INSERT INTO lines(lines) VALUES('optimize'); PRAGMA wal_checkpoint(TRUNCATE);");
    // Out of the log mode once complete: readers open it read-only, and a
    // reader of a database in that mode leaves its -wal and -shm files
    // behind. While another connection has it open it stays as it is.
    if (merged)
        (void)exec("PRAGMA journal_mode=DELETE");
    return merged;
}

Result<QList<PageHit>> TextIndex::search(const QString& match, int limit, const std::atomic<bool>* cancel) const
{
    QList<PageHit> hits;
    Statement q(db_, "SELECT rowid, pagerank(lines) AS r FROM lines WHERE lines MATCH ? ORDER BY r LIMIT ?");
    if (!q)
        return Status::failure(Why(db_, path_));
    BindText(q.s, 1, match);
    sqlite3_bind_int(q.s, 2, limit);
    // A query no one waits for any more (another was typed, the window
    // closed) is interrupted between steps of SQLite's machine.
    if (cancel)
        sqlite3_progress_handler(
            db_, 16, [](void* flag) { return int(static_cast<const std::atomic<bool>*>(flag)->load()); },
            const_cast<std::atomic<bool>*>(cancel));
    int rc;
    while ((rc = sqlite3_step(q.s)) == SQLITE_ROW) {
        hits.append({int(sqlite3_column_int64(q.s, 0)), sqlite3_column_double(q.s, 1)});
    }
    if (cancel)
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    if (rc == SQLITE_INTERRUPT)
        return Status::failure(QStringLiteral("Cancelled"));
    if (rc != SQLITE_DONE)
        return Status::failure(Why(db_, path_));
    return hits;
}

qint64 TextIndex::fileBytes() const
{
    return QFileInfo(path_).size() + QFileInfo(path_ + QStringLiteral("-wal")).size();
}

} // namespace lexifol::search
