#include "search/PageTextIndex.h"

#include "djvu/Document.h"
#include "djvu/PageFiles.h"
#include "djvu/TextHelper.h"
#include "search/TextQuery.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSet>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <optional>
#ifdef Q_OS_LINUX
#include <pthread.h>
#include <sched.h>
#endif

namespace lexifol::search {

namespace {

QString Stamp(const QFileInfo& f)
{
    return QStringLiteral("%1|%2|%3").arg(f.absoluteFilePath()).arg(f.size()).arg(f.lastModified().toMSecsSinceEpoch());
}

// The document holding a page, and the page's place in it. `open` keeps a
// whole-file dictionary's document open from page to page; for one stored
// page by page it holds the page's own file. `through`: every page is read
// in turn (by this process unless a helper reads them).
Result<std::pair<const djvu::Document*, int>> Locate(const TextSource& s, const QString& reference, int page,
                                                     std::unique_ptr<djvu::Document>& open, bool through = false)
{
    if (!s.wholeFile || !open) {
        djvu::OpenLimits limits;
        limits.readWhole = through && djvu::TextHelperProgram().isEmpty();
        auto doc = djvu::Document::open(s.wholeFile ? djvu::WholeDocumentPath(s.folder, s.name)
                                                    : s.folder + reference + QStringLiteral(".djvu"),
                                        limits);
        if (!doc)
            return Status::failure(doc.error());
        open = std::move(doc.value());
    }
    return std::make_pair<const djvu::Document*, int>(open.get(), s.wholeFile ? page : 0);
}

Result<QString> IndexTextOf(const TextSource& s, const QString& reference, int page,
                            std::unique_ptr<djvu::Document>& open)
{
    const auto at = Locate(s, reference, page, open, true);
    if (!at)
        return Status::failure(at.error());
    return at->first->pagePlainText(at->second);
}

Result<djvu::TextLayer> PageTextOf(const TextSource& s, const QString& reference, int page,
                                   std::unique_ptr<djvu::Document>& open)
{
    const auto at = Locate(s, reference, page, open);
    if (!at)
        return Status::failure(at.error());
    return at->first->pageText(at->second);
}

// The calling thread at idle priority for its lifetime, then as it was.
class IdleThread
{
public:
    explicit IdleThread(bool on)
    {
#ifdef Q_OS_LINUX
        if (on && pthread_getschedparam(pthread_self(), &policy_, &param_) == 0) {
            const sched_param idle{};
            lowered_ = pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle) == 0;
        }
#else
        Q_UNUSED(on);
#endif
    }
    ~IdleThread()
    {
#ifdef Q_OS_LINUX
        if (lowered_)
            pthread_setschedparam(pthread_self(), policy_, &param_);
#endif
    }

private:
#ifdef Q_OS_LINUX
    int policy_ = SCHED_OTHER;
    sched_param param_{};
    bool lowered_ = false;
#endif
};

} // namespace

QString SourceIdentity(const TextSource& s)
{
    if (s.wholeFile)
        return Stamp(QFileInfo(djvu::WholeDocumentPath(s.folder, s.name)));
    QString identity;
    for (const QFileInfo& f : djvu::ListPageFiles(s.folder))
        identity += Stamp(f) + u'\n';
    return identity;
}

QByteArray ContentKey(const TextSource& s)
{
    QCryptographicHash key(QCryptographicHash::Sha1);
    if (!s.wholeFile) {
        for (const QFileInfo& f : djvu::ListPageFiles(s.folder))
            key.addData(QStringLiteral("%1 %2\n").arg(f.fileName()).arg(f.size()).toUtf8());
        return key.result();
    }
    // The size and both ends of the file tell copies apart from other
    // documents without reading gigabytes on every search.
    QFile f(djvu::WholeDocumentPath(s.folder, s.name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    constexpr qint64 kEnd = 64 * 1024;
    key.addData(QByteArray::number(f.size()));
    key.addData(f.read(kEnd));
    if (f.size() > 2 * kEnd && f.seek(f.size() - kEnd))
        key.addData(f.read(kEnd));
    return key.result();
}

void KeepEachPageOnce(QList<PageResult>& results, const QHash<QString, QByteArray>& keyOf)
{
    QSet<std::pair<QByteArray, QString>> shown;
    results.removeIf([&](const PageResult& r) {
        const QByteArray key = keyOf.value(r.dictionary);
        if (key.isEmpty())
            return false;
        const auto page = std::make_pair(key, r.pageReference);
        if (shown.contains(page))
            return true;
        shown.insert(page);
        return false;
    });
}

Result<SourcePages> ListPages(const TextSource& s)
{
    SourcePages out;
    if (s.wholeFile) {
        const QString path = djvu::WholeDocumentPath(s.folder, s.name);
        auto doc = djvu::Document::open(path);
        if (!doc)
            return Status::failure(doc.error());
        out.identity = SourceIdentity(s);
        for (int i = 1; i <= doc.value()->pageCount(); ++i)
            out.pages << QString::number(i);
        return out;
    }
    out.identity = SourceIdentity(s);
    for (const QFileInfo& f : djvu::ListPageFiles(s.folder))
        out.pages << f.completeBaseName();
    if (out.pages.isEmpty())
        return Status::failure(QStringLiteral("%1 holds no pages").arg(QDir::toNativeSeparators(s.folder)));
    return out;
}

QString IndexPathFor(const QString& cacheFolder, const TextSource& s)
{
    const QByteArray key = QFileInfo(s.folder).absoluteFilePath().toUtf8();
    return cacheFolder + QStringLiteral("text-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16))
        + QStringLiteral(".sqlite");
}

Status BuildTextIndex(const TextSource& s, const QString& cacheFolder, const BuildProgress& progress, bool* complete)
{
    *complete = false;
    const IdleThread idle(progress.background);
    const Result<SourcePages> pages = ListPages(s);
    if (!pages)
        return Status::failure(pages.error());
    if (!QDir().mkpath(cacheFolder))
        return Status::failure(QStringLiteral("Cannot make the folder %1").arg(cacheFolder));
    const QString path = IndexPathFor(cacheFolder, s);
    auto index = TextIndex::open(path, pages->identity, pages->pages, progress.verify || TextIndex::LeftOpen(path));
    if (!index)
        return Status::failure(index.error());
    TextIndex& t = *index.value();
    std::unique_ptr<djvu::Document> doc;
    while (!t.complete()) {
        if (progress.cancel && progress.cancel->load())
            return t.flush();
        const int page = t.pagesDone();
        const Result<QString> text = IndexTextOf(s, t.pages()[page], page, doc);
        if (!text && progress.unreadable)
            ++*progress.unreadable;
        // A page without text, or one that cannot be read, holds nothing to find.
        if (Status added = t.addPage(text ? QStringList{FoldForIndex(text.value(), s.rules)} : QStringList()); !added)
            return added;
        if (progress.step)
            progress.step(t.pagesDone(), t.pageCount());
    }
    *complete = true;
    return t.flush();
}

OpenDocuments::OpenDocuments() = default;
OpenDocuments::~OpenDocuments() = default;

std::unique_ptr<djvu::Document>& OpenDocuments::slot(const QString& path)
{
    auto& [stamp, doc] = byPath_[path];
    const QString now = Stamp(QFileInfo(path));
    if (stamp != now)
        stamp = now, doc.reset();
    return doc;
}

Result<QList<PageResult>> SearchPages(const TextSource& s, const QString& cacheFolder, const QString& typed, int limit,
                                      int* pagesDone, int* pageCount, const std::atomic<bool>* cancel, int withLines,
                                      OpenDocuments* keep)
{
    const TextQuery query = ParseQuery(typed, s.rules);
    if (query.match.isEmpty())
        return QList<PageResult>();
    auto index = TextIndex::openToRead(IndexPathFor(cacheFolder, s));
    if (!index)
        return Status::failure(index.error());
    const TextIndex& t = *index.value();
    if (t.identity() != SourceIdentity(s))
        return Status::failure(QStringLiteral("the document changed since its pages were made searchable"));
    if (pagesDone)
        *pagesDone = t.pagesDone();
    if (pageCount)
        *pageCount = t.pageCount();
    const Result<QList<PageHit>> hits = t.search(query.match, limit, cancel);
    if (!hits)
        return Status::failure(hits.error());
    QList<PageResult> pages;
    for (const PageHit& h : hits.value())
        if (h.page < t.pageCount())
            pages.append({s.name, s.title, h.page, t.pages()[h.page], 0, {}, {}, 0, h.rank, query.words});
    if (!FillLines({s}, pages, 0, int(std::min<qsizetype>(withLines, pages.size())), keep, cancel))
        return Status::failure(QStringLiteral("Cancelled"));
    return pages;
}

bool FillLines(const QList<TextSource>& sources, QList<PageResult>& results, int from, int to, OpenDocuments* keep,
               const std::atomic<bool>* cancel)
{
    std::unique_lock<std::mutex> lock;
    if (keep)
        lock = std::unique_lock(keep->mutex);
    std::unique_ptr<djvu::Document> own; // without `keep`: the document of `current`
    const TextSource* current = nullptr;
    std::optional<TextMatcher> matcher;
    for (int i = from; i < to && i < results.size(); ++i) {
        if (cancel && cancel->load())
            return false;
        PageResult& r = results[i];
        const auto s = std::find_if(sources.begin(), sources.end(),
                                    [&](const TextSource& x) { return x.name == r.dictionary; });
        if (s == sources.end())
            continue;
        if (&*s != current)
            current = &*s, own.reset(), matcher.emplace(s->rules);
        std::unique_ptr<djvu::Document>& doc = keep && s->wholeFile
            ? keep->slot(djvu::WholeDocumentPath(s->folder, s->name))
            : own;
        // The line to show, from the page's own text layer: the one with the
        // most hits.
        const Result<djvu::TextLayer> layer = PageTextOf(*s, r.pageReference, r.page, doc);
        if (!layer)
            continue;
        r.lines = 0;
        for (int line = 0; line < layer->lines.size(); ++line) {
            const QString text = layer->lineText(line);
            const QList<std::pair<int, int>> marks = matcher->findInLine(text, r.words);
            if (marks.isEmpty())
                continue;
            ++r.lines;
            if (marks.size() > r.marks.size()) {
                r.line = line;
                r.lineText = text;
                r.marks = marks;
            }
        }
    }
    return true;
}

} // namespace lexifol::search
