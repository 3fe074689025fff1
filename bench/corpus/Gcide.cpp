#include "Gcide.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <zlib.h>

namespace corpus {

namespace {

QString IndexFile(Source s)
{
    return s == Source::Gcide ? QStringLiteral("/usr/share/dictd/gcide.index")
                              : QStringLiteral("/usr/share/dictd/freedict-eng-rus.index");
}

QString Package(Source s)
{
    return s == Source::Gcide ? QStringLiteral("dict-gcide") : QStringLiteral("dict-freedict-eng-rus");
}

qint64 Base64Number(const QString& s)
{
    static const QString digits = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
    qint64 n = 0;
    for (QChar c : s)
        n = n * 64 + digits.indexOf(c);
    return n;
}

QByteArray Inflate(Source source, QString* error)
{
    const QString data = IndexFile(source).replace(QStringLiteral(".index"), QStringLiteral(".dict.dz"));
    gzFile f = gzopen(data.toLocal8Bit().constData(), "rb");
    if (!f)
        return *error = QStringLiteral("%1 missing: apt-get install %2").arg(data, Package(source)), QByteArray();
    QByteArray out;
    char buffer[1 << 16];
    for (int n; (n = gzread(f, buffer, sizeof buffer)) > 0;)
        out.append(buffer, n);
    gzclose(f);
    return out;
}

// The entry's text as a printed dictionary would set it: no pronunciation
// markup, no source tags, accents of the transliteration written out.
QString Clean(QString text)
{
    static const QRegularExpression pron(QStringLiteral("\\\\[^\\\\]*\\\\"));
    static const QRegularExpression source(
        QStringLiteral("\\[(\\d{4} Webster|WordNet[^\\]]*|PJC|Century[^\\]]*|Chambers[^\\]]*|[A-Z]{2,4})\\]"));
    static const QRegularExpression mark(QStringLiteral("\\[([a-zA-Z])[\\^=~`'\"]+\\]|\\[[\\^=~`'\"]+([a-zA-Z])\\]"));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    text.replace(pron, QString()).replace(source, QString()).replace(mark, QStringLiteral("\\1\\2"));
    text.remove(u'{').remove(u'}').remove(u'*').remove(u'`');
    text.replace(QStringLiteral("--"), QStringLiteral("\u2014"));
    return text.replace(blanks, QStringLiteral(" ")).trimmed();
}

// A FreeDict entry ("bill /bil/", then its senses a line each) set as one
// paragraph: "/bil/ 1. билет; 2. счёт".
QString FreedictBody(const QString& entry)
{
    QStringList lines = entry.split(u'\n', Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return QString();
    const QString first = lines.takeFirst();
    const qsizetype slash = first.indexOf(u'/');
    QString body = slash >= 0 ? first.mid(slash) + u' ' : QString();
    for (const QString& l : lines)
        body += l.trimmed() + QStringLiteral("; ");
    return body.chopped(std::min<qsizetype>(2, body.size())).trimmed();
}

} // namespace

QList<Article> ReadGcide(const QString& from, int count, QString* error)
{
    return ReadDictionary(Source::Gcide, from, count, error);
}

QList<Article> ReadDictionary(Source source, const QString& from, int count, QString* error)
{
    QFile index(IndexFile(source));
    if (!index.open(QIODevice::ReadOnly))
        return *error = QStringLiteral("%1 missing: apt-get install %2").arg(index.fileName(), Package(source)),
               QList<Article>();
    const QByteArray data = Inflate(source, error);
    if (data.isEmpty())
        return {};
    QList<Article> out;
    bool started = false;
    while (!index.atEnd() && out.size() < count) {
        QStringList f = QString::fromUtf8(index.readLine()).trimmed().split(u'\t');
        // Some headwords carry a blank at the end ("obsolescent ").
        if (!f.isEmpty())
            f[0] = f[0].trimmed();
        if (f.size() != 3 || f[0].startsWith(QStringLiteral("00")) || !f[0].front().isLetter())
            continue;
        started = started || f[0].compare(from, Qt::CaseInsensitive) >= 0;
        if (!started)
            continue;
        const QString entry = QString::fromUtf8(data.mid(Base64Number(f[1]), Base64Number(f[2])));
        QString body = source == Source::Gcide ? Clean(entry.section(u'\n', 0)) : FreedictBody(entry);
        // The printed article begins with its headword; the rest follows.
        if (body.startsWith(f[0]))
            body = body.mid(f[0].size()).trimmed();
        if (body.startsWith(u','))
            body = body.mid(1).trimmed();
        if (body.size() < 12 || f[0].contains(u'"'))
            continue;
        out.append({f[0], body});
    }
    return out;
}

} // namespace corpus
