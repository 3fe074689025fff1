// The atomic writer under real write failures: a failed write is reported and
// leaves the old file exactly as it was.
#include "base/AtomicFile.h"
#include "index/Bookmarks.h"
#include "common/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QByteArray pattern(int size, char seed)
{
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = char(seed + i % 23);
    return b;
}
} // namespace

class TestIndexWrite : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void failedWriteKeepsOldFile_data()
    {
        // clang-format off
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("limit");
        // Small files used to stay in Qt's buffer until the rename.
        QTest::newRow("50 bytes, nothing fits") << 50 << 0;
        QTest::newRow("50 bytes, half fits") << 50 << 25;
        QTest::newRow("16 KB, one byte short") << 16 * 1024 << 16 * 1024 - 1;
        QTest::newRow("100 KB, half fits") << 100 * 1024 << 50 * 1024;
        // clang-format on
    }
    void failedWriteKeepsOldFile()
    {
        QFETCH(int, size);
        QFETCH(int, limit);
        const QString path = dir.filePath(QStringLiteral("Bookmarks.dat"));
        const QByteArray old = pattern(20, 'a');
        QVERIFY(WriteFileAtomically(path, old).ok());
        Status s;
        {
            FileSizeLimit full{rlim_t(limit)};
            QVERIFY(full.active());
            s = WriteFileAtomically(path, pattern(size, 'A'));
        }
        QVERIFY(!s.ok());
        QVERIFY(!s.error().isEmpty());
        QCOMPARE(readAll(path), old);
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Bookmarks.dat")});
        // With room again the same write goes through.
        QVERIFY(WriteFileAtomically(path, pattern(size, 'A')).ok());
        QCOMPARE(readAll(path), pattern(size, 'A'));
        QFile::remove(path);
    }

    void writeThatFitsSucceeds()
    {
        const QString path = dir.filePath(QStringLiteral("fits.dat"));
        FileSizeLimit limit(100);
        QVERIFY(WriteFileAtomically(path, pattern(100, 'x')).ok());
        QCOMPARE(readAll(path).size(), 100);
    }

    void unwritableTargets_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("missing folder") << QStringLiteral("missing/folder/file.dat");
        QTest::newRow("a folder in the way") << QStringLiteral("adir");
    }
    void unwritableTargets()
    {
        QFETCH(QString, relative);
        QDir(dir.path()).mkpath(QStringLiteral("adir/inner"));
        const Status s = WriteFileAtomically(dir.filePath(relative), "x");
        QVERIFY(!s.ok());
        QVERIFY(!s.error().isEmpty());
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("adir/inner"))).isDir());
    }

    // A link where the file should be is replaced itself; what it points
    // to, a file elsewhere or nothing, is left as it was.
    void linkIsReplacedNotFollowed_data()
    {
        QTest::addColumn<bool>("dangling");
        QTest::newRow("to a file elsewhere") << false;
        QTest::newRow("to nothing") << true;
    }
    void linkIsReplacedNotFollowed()
    {
        QFETCH(bool, dangling);
        QTemporaryDir outside;
        const QString victim = outside.filePath(QStringLiteral("victim"));
        if (!dangling) {
            QFile f(victim);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("precious") == 8);
        }
        const QString path = dir.filePath(dangling ? QStringLiteral("dangling.list") : QStringLiteral("planted.list"));
        QVERIFY(QFile::link(victim, path));
        QVERIFY(WriteFileAtomically(path, "new").ok());
        QVERIFY(!QFileInfo(path).isSymLink());
        QCOMPARE(readAll(path), QByteArray("new"));
        QCOMPARE(QFileInfo::exists(victim), !dangling);
        if (!dangling)
            QCOMPARE(readAll(victim), QByteArray("precious"));
        QCOMPARE(QDir(dir.path()).entryList({"*.list.*"}, QDir::Files | QDir::Hidden), QStringList{});
    }

    void bookmarksOnFullDiskKeepTheOldFile()
    {
        const QString path = dir.filePath(QStringLiteral("b.dat"));
        const QStringList before{QStringLiteral("apple\tSample"), QStringLiteral("pear\tPages")};
        QVERIFY(SaveBookmarks(path, before).ok());
        {
            FileSizeLimit full(10);
            QVERIFY(!SaveBookmarks(path, before + QStringList{QStringLiteral("plum\tSample")}).ok());
        }
        const Result<QStringList> loaded = LoadBookmarks(path);
        QVERIFY(loaded.ok());
        QCOMPARE(loaded.value(), before);
    }
};

QTEST_GUILESS_MAIN(TestIndexWrite)
#include "test_write.moc"
