#pragma once
// Writing and reading whole files in tests.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

// Writes the file, making its folder; fails the test when it cannot.
inline void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The file's bytes, or "<none>" when it cannot be read.
inline QByteArray get(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}
