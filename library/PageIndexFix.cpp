#include "library/PageIndexFix.h"
#include "library/PageIndexMaker.h"

#include "base/AtomicFile.h"
#include "index/IndexOps.h"
#include "index/IndexTools.h"
#include "base/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lexifol {

namespace {

int PageOf(const IndexList& list, int row)
{
    return SplitValue(list.value(row)).value(0).toInt();
}

QStringList ReviewRows(const QString& path)
{
    const Result<QByteArray> bytes = ReadFileBytes(path, kSmallFileCap);
    if (!bytes)
        return {};
    QStringList rows = QString::fromUtf8(bytes.value()).split(u'\n', Qt::SkipEmptyParts);
    if (!rows.isEmpty())
        rows.removeFirst(); // the header
    return rows;
}

} // namespace

QString ReviewFilePath(const DictionaryPaths& paths)
{
    return ReviewFilePath(paths.folder(), paths.name);
}

int NextPageInDoubt(const DictionaryPaths& paths)
{
    const QStringList rows = ReviewRows(ReviewFilePath(paths));
    return rows.isEmpty() ? 0 : rows.first().section(u'\t', 0, 0).toInt();
}

PagesInDoubt PagesInDoubtAfter(const DictionaryPaths& paths, int after)
{
    PagesInDoubt out;
    int first = 0;
    for (const QString& row : ReviewRows(ReviewFilePath(paths))) {
        const int page = row.section(u'\t', 0, 0).toInt();
        if (page <= 0)
            continue;
        ++out.count;
        if (first == 0 || page < first)
            first = page;
        if (page > after && (out.next == 0 || page < out.next))
            out.next = page;
    }
    if (out.next == 0)
        out.next = first;
    return out;
}

Status SetPageFirstWord(const DictionaryPaths& paths, int page, const QString& word, const IndexCollation& c)
{
    const QString headword = word.trimmed();
    if (headword.isEmpty() || headword.contains(u'\t'))
        return Status::failure(QCoreApplication::translate("lexifol", "\u201c%1\u201d cannot be a headword").arg(word));
    IndexList first;
    if (Status read = LoadFirstIndex(paths.firstIndex(), first); !read)
        return read;
    // The lines in page order; this page's replaced, or put in its place.
    QStringList lines;
    int at = -1;
    for (int row = 0; row < first.count(); ++row) {
        const int p = PageOf(first, row);
        if (at < 0 && p >= page) {
            at = int(lines.size());
            lines << headword + u'\t' + QString::number(page);
            if (p == page)
                continue;
        }
        lines << first.line(row).toString();
    }
    if (at < 0) {
        at = int(lines.size());
        lines << headword + u'\t' + QString::number(page);
    }
    auto wordOf = [&](int i) { return lines[i].section(u'\t', 0, 0); };
    if (at > 0 && c.compare(headword, wordOf(at - 1)) < 0)
        return Status::failure(QStringLiteral("\u201c%1\u201d sorts before \u201c%2\u201d, the word of an earlier "
                                              "page: the index would be out of order")
                                   .arg(headword, wordOf(at - 1)));
    if (at + 1 < lines.size() && c.compare(wordOf(at + 1), headword) < 0)
        return Status::failure(
            QStringLiteral(
                "\u201c%1\u201d sorts after \u201c%2\u201d, the word of a later page: the index would be out of order")
                .arg(headword, wordOf(at + 1)));
    if (Status written = WriteFileAtomically(paths.firstIndex(), Utf16FileBytes(lines)); !written)
        return written;
    // A second index follows the first, line for line.
    ReplacementList rules;
    LoadReplacementList(paths.replacementList(), rules);
    if (!rules.isEmpty()) {
        if (!QDir().mkpath(paths.derivedWriteFolder()))
            return Status::failure(
                QCoreApplication::translate("lexifol", "Cannot make %1").arg(paths.derivedWriteFolder()));
        IndexList updated;
        updated.setLines(lines);
        if (Status s = WriteSecondIndexFiles(paths.derivedWriteFolder(), ReplacementFileBytes(rules.lines()),
                                             SecondIndexFileBytes(updated, rules));
            !s)
            return s;
    }
    const QString review = ReviewFilePath(paths);
    if (QFileInfo(review).isFile()) {
        const QStringList rows = ReviewRows(review);
        QString out = ReviewHeader();
        for (const QString& r : rows)
            if (r.section(u'\t', 0, 0).toInt() != page)
                out += r + u'\n';
        return WriteFileAtomically(review, out.toUtf8());
    }
    return {};
}

} // namespace lexifol
