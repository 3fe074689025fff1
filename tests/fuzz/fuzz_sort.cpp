// lexifol-index sort on raw bytes: it refuses the file, or what it writes
// holds every line of the input, each as often as there.
#include "FuzzCheck.h"
#include "cli/Commands.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <unistd.h>

using namespace lexifol;

namespace {

QString Scratch(const char* name)
{
    return QDir::tempPath() + QStringLiteral("/fuzz_sort_%1_%2").arg(::getpid()).arg(QLatin1String(name));
}

QStringList Sorted(QStringList lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const QString in = Scratch("in"), out = Scratch("out");
    QFile::remove(out);
    {
        QFile f(in);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    QString outText, errText;
    QTextStream o(&outText), e(&errText);
    cli::Streams io{o, e, false};
    const int code = cli::Sort({in, QStringLiteral("-o"), out, QStringLiteral("--encoding"), QStringLiteral("utf16")},
                               io);
    if (code != 0) {
        FUZZ_CHECK(code == 2);
        FUZZ_CHECK(!QFile::exists(out));
        return 0;
    }
    QFile f(out);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly));
    const QStringList written = DecodeLinesToStrings(f.readAll());
    const QStringList read = DecodeLinesToStrings(bytes);
    FUZZ_CHECK(written.size() == read.size());
    FUZZ_CHECK(Sorted(written) == Sorted(read));
    return 0;
}
