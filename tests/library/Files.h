#pragma once
// Small file helpers shared by the library tests.
#include <QDir>
#include <QFile>
#include <QString>

inline bool writeBytes(const QString& path, const QByteArray& b)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline QByteArray utf16le(const QString& s)
{
    QByteArray b("\xFF\xFE", 2);
    b.append(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
    return b;
}
