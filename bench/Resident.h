#pragma once
// Resident memory of this process, in MB (Linux); -1 when it cannot tell.
#include <QFile>
#include <QList>

inline double ResidentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / (1024 * 1024) : -1;
}
