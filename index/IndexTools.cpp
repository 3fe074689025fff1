#include "index/IndexTools.h"

#include <algorithm>
#include <memory>
#include "base/FilePair.h"

#include "base/AtomicFile.h"
#include "index/IndexOps.h"
#include "base/TextFile.h"

#include <QDir>
#include <QFile>
#include <QLocale>

namespace lexifol {

RuleCheck CheckRules(const QString& editorText)
{
    RuleCheck r;
    if (editorText.isEmpty())
        return r;
    QStringList lines = editorText.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast(); // the break after the last line
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.size() < 2 || line[1] != u'=') {
            r = RuleCheck();
            r.badLine = i;
            return r;
        }
        r.accepted << line;
        r.encoded << EncodeUnits(line);
    }
    return r;
}

QByteArray EncodeUnits(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 3);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out.append(char(u));
        } else if (u < 0x800) {
            out.append(char(0xC0 | (u >> 6)));
            out.append(char(0x80 | (u & 0x3F)));
        } else {
            out.append(char(0xE0 | (u >> 12)));
            out.append(char(0x80 | ((u >> 6) & 0x3F)));
            out.append(char(0x80 | (u & 0x3F)));
        }
    }
    return out;
}

QByteArray ReplacementFileBytes(const QByteArrayList& lines)
{
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + "\r\n";
    return out;
}

namespace {

void AppendSecondLines(const IndexList& first, const ReplacementList& rules, int from, int to, QByteArray& out)
{
    // A batch of lines at a time, converted once.
    QString batch;
    batch.reserve(1 << 16);
    for (int j = from; j < to; ++j) {
        AppendNormalised(first.headword(j), rules, batch);
        batch.append(u"\r\n");
        if (batch.size() > (1 << 16) - 512 || j + 1 == to) {
            AppendUtf16Le(out, batch);
            batch.resize(0);
        }
    }
}

} // namespace

std::function<bool(QByteArray&)> SecondIndexPieces(const IndexList& first, const ReplacementList& rules)
{
    // About a megabyte a piece, in a block the writer hands back each time.
    constexpr int kPieceLines = 1 << 15;
    rules.ruleForUnit(0); // the rule table is built before the first piece
    auto next = std::make_shared<int>(-1);
    return [&first, &rules, next](QByteArray& piece) {
        piece.resize(0);
        if (*next < 0) {
            piece.append("\xFF\xFE", 2);
            *next = 0;
        } else if (*next >= first.count()) {
            return false;
        }
        const int to = std::min(first.count(), *next + kPieceLines);
        AppendSecondLines(first, rules, *next, to, piece);
        *next = to;
        return true;
    };
}

QByteArray SecondIndexFileBytes(const IndexList& first, const ReplacementList& rules)
{
    QByteArray out, piece;
    out.reserve(2 + qsizetype(first.memoryBytes()));
    for (const auto next = SecondIndexPieces(first, rules); next(piece);)
        out += piece;
    return out;
}

Status WriteSecondIndexFiles(const QString& folder, const QByteArray& rules, const QByteArray& index)
{
    return WriteFilePair(folder, {QStringLiteral("replacelist.dat"), rules},
                         {QStringLiteral("secondindex.list"), index});
}

Status WriteSecondIndexFiles(const QString& folder, const QByteArray& rules,
                             const std::function<bool(QByteArray&)>& index)
{
    return WriteFilePair(folder, {QStringLiteral("replacelist.dat"), rules},
                         {QStringLiteral("secondindex.list"), {}, index});
}

void RecoverSecondIndexFiles(const QString& folder)
{
    RecoverFilePair(folder, QStringLiteral("replacelist.dat"), QStringLiteral("secondindex.list"));
}

QList<int> FindOrderErrors(const IndexList& lines, bool wholeLine, const IndexCollation& collation)
{
    QList<int> errors;
    auto key = [&](int i) { return wholeLine ? lines.line(i) : lines.headword(i); };
    if (lines.count() < 2)
        return errors;
    QStringView p = key(0);
    for (int k = 1; k < lines.count(); ++k) {
        const QStringView c = key(k);
        if (p != c && collation.compare(p, c) >= 0)
            errors << k;
        p = c;
    }
    return errors;
}

OrderScan ScanOrder(const IndexList& lines, bool wholeLine, const IndexCollation& collation)
{
    OrderScan scan;
    auto key = [&](int i) { return wholeLine ? lines.line(i) : lines.headword(i); };
    for (int k = 1; k < lines.count(); ++k) {
        const QStringView p = key(k - 1), c = key(k);
        if (p == c)
            continue;
        const int order = collation.compare(p, c);
        if (order > 0)
            scan.outOfOrder << k;
        else if (order == 0)
            scan.equal << k;
    }
    return scan;
}

QString OrderErrorLine(int k)
{
    return QStringLiteral("Error: item on line %1 must be lower than item on line %2").arg(k).arg(k + 1);
}

QString CheckLogHeader(const QString& title, const QDateTime& when)
{
    const QLocale locale;
    // The long time format without a time zone, and the short date with its
    // year in full, as the system formats them.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    timeFormat = timeFormat.trimmed();
    QString dateFormat = locale.dateFormat(QLocale::ShortFormat);
    if (!dateFormat.contains(QLatin1StringView("yyyy")))
        dateFormat.replace(QLatin1StringView("yy"), QLatin1StringView("yyyy"));
    return QStringLiteral("%1 (%2|%3)")
        .arg(title, locale.toString(when.time(), timeFormat), locale.toString(when.date(), dateFormat));
}

} // namespace lexifol
