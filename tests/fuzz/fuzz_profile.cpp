// Settings and descriptor files: whatever a file holds, a value written is
// the value read back, and every other key keeps its value.
#include "FuzzCheck.h"
#include "base/CodePage.h"
#include "library/Profile.h"

#include <QFile>
#include <unistd.h>

using namespace lexifol;

namespace {
// Names and values that an INI line can hold as they are.
QString Plain(const QByteArray& b, int from, int len)
{
    QString s;
    for (int i = from; i < b.size() && s.size() < len; ++i) {
        const char c = char('a' + uchar(b[i]) % 26);
        s += QLatin1Char(c);
    }
    return s.isEmpty() ? QStringLiteral("k") : s;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool once = [] {
        SetAnsiLocale(QStringLiteral("en_US.UTF-8"));
        return true;
    }();
    (void)once;
    QByteArray content, names;
    FuzzSplit(FuzzBytes(data, size), content, names);
    static const QString path = QStringLiteral("/tmp/lexifol-fuzz-%1.ini").arg(getpid());
    for (auto enc : {ProfileFile::Encoding::Ansi, ProfileFile::Encoding::Detect}) {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size());
        f.close();
        ProfileFile p(path, enc);
        const QString section = Plain(names, 0, 3), key = Plain(names, 3, 3), other = Plain(names, 6, 3);
        const QString value = QStringLiteral("v ") + Plain(names, 9, 5);
        const QString otherBefore = p.readString(section, other, QStringLiteral("<none>"));
        FUZZ_CHECK(p.writeString(section, key, value).ok());
        FUZZ_CHECK(p.readString(section, key) == value);
        if (other.compare(key, Qt::CaseInsensitive) != 0)
            FUZZ_CHECK(p.readString(section, other, QStringLiteral("<none>")) == otherBefore);
    }
    return 0;
}
