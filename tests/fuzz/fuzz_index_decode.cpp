// Index decoding and line cutting, through memory and through a file, against
// a plain cutter over the decoded text.
#include "FuzzCheck.h"
#include "base/CodePage.h"
#include "index/IndexList.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"

#include <QFile>
#include <QStringList>
#include <unistd.h>

using namespace lexifol;

namespace {
QStringList ReferenceLines(const QString& text)
{
    QStringList lines;
    QString cur;
    bool open = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n' && c != QChar(0x2028)) {
            cur += c;
            open = true;
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        if (c != QChar(0x2028) && i + 1 < text.size() && text[i + 1] == QChar(0x2028))
            ++i;
        lines << cur;
        cur.clear();
        open = false;
    }
    if (open)
        lines << cur;
    return lines;
}

QStringList Lines(const IndexList& list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.line(i).toString();
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool once = [] {
        SetAnsiLocale(QStringLiteral("ru_RU.UTF-8"));
        return true;
    }();
    (void)once;
    const QByteArray bytes = FuzzBytes(data, size);
    const QStringList expected = ReferenceLines(DecodeText(bytes));
    IndexList fromMemory;
    DecodeLines(bytes, fromMemory);
    FUZZ_CHECK(Lines(fromMemory) == expected);

    static const QString path = QStringLiteral("/tmp/lexifol-fuzz-%1.list").arg(getpid());
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
    f.close();
    IndexList fromFile;
    FUZZ_CHECK(ReadIndexFile(path, fromFile).ok());
    FUZZ_CHECK(Lines(fromFile) == expected);
    for (int i = 0; i < fromFile.count(); ++i) {
        const QStringView line = fromFile.line(i);
        const qsizetype tab = line.indexOf(u'\t');
        FUZZ_CHECK(fromFile.headword(i) == (tab < 0 ? QStringView() : line.left(tab)));
    }
    return 0;
}
