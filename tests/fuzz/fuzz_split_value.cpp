// Entry values taken apart, against a cutter written from the rules as
// stated: blanks and ">" separate, double quotes group.
#include "FuzzCheck.h"
#include "index/IndexOps.h"

using namespace lexifol;

namespace {
bool Blank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 0x20;
}

QStringList ReferenceSplit(QString v)
{
    v.truncate(v.indexOf(QChar(0)) < 0 ? v.size() : v.indexOf(QChar(0)));
    QStringList parts;
    qsizetype i = 0;
    const qsizetype n = v.size();
    while (i < n && Blank(v[i]))
        ++i;
    while (i < n) {
        QString part;
        if (v[i] == u'"') {
            for (++i; i < n; ++i) {
                if (v[i] != u'"') {
                    part += v[i];
                } else if (i + 1 < n && v[i + 1] == u'"') {
                    part += u'"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
        } else {
            for (; i < n && !Blank(v[i]) && v[i] != u'>'; ++i)
                part += v[i];
        }
        parts << part;
        while (i < n && Blank(v[i]))
            ++i;
        if (i < n && v[i] == u'>') {
            if (i == n - 1)
                parts << QString();
            ++i;
            while (i < n && Blank(v[i]))
                ++i;
        }
    }
    return parts;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString value = QString::fromUtf8(FuzzBytes(data, size));
    FUZZ_CHECK(SplitValue(value) == ReferenceSplit(value));
    return 0;
}
