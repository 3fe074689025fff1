// "Bookmarks.dat": whatever was read is written and read back unchanged.
#include "FuzzCheck.h"
#include "index/Bookmarks.h"
#include "base/CodePage.h"

#include <QFile>
#include <unistd.h>

using namespace lexifol;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool once = [] {
        SetAnsiLocale(QStringLiteral("ru_RU.UTF-8"));
        return true;
    }();
    (void)once;
    static const QString path = QStringLiteral("/tmp/lexifol-fuzz-%1.dat").arg(getpid());
    const QByteArray bytes = FuzzBytes(data, size);
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
    f.close();
    const Result<QStringList> first = LoadBookmarks(path);
    if (!first)
        return 0; // kept aside by the program, never rewritten
    FUZZ_CHECK(SaveBookmarks(path, first.value()).ok());
    const Result<QStringList> second = LoadBookmarks(path);
    FUZZ_CHECK(second.ok() && second.value() == first.value());
    return 0;
}
