#pragma once
// Shared by the fuzz targets: a failed check is a finding, not only a crash.
#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond)) {                                                                                                 \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);                             \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (0)

inline QByteArray FuzzBytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Splits the input at the first 0xFF byte into two inputs.
inline void FuzzSplit(const QByteArray& in, QByteArray& a, QByteArray& b)
{
    const qsizetype cut = in.indexOf('\xFF');
    a = cut < 0 ? in : in.left(cut);
    b = cut < 0 ? QByteArray() : in.mid(cut + 1);
}
