// Files are read only when they are regular files within their cap: never
// a block on a FIFO, never /dev/zero read until memory runs out.
#include "common/HostileFiles.h"
#include "index/IndexList.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;
using namespace lexifol::testing;

class RegularFileTest : public QObject
{
    Q_OBJECT
private slots:
    void refusedWithItsName_data();
    void refusedWithItsName();
    void regularFileRead();
};

void RegularFileTest::refusedWithItsName_data()
{
    // clang-format off
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("asIndex");
    for (Hostile h : kHostileKinds) {
        QTest::newRow(QByteArray("small file: ") + HostileName(h)) << int(h) << false;
        QTest::newRow(QByteArray("index: ") + HostileName(h)) << int(h) << true;
    }
    // clang-format on
}

void RegularFileTest::refusedWithItsName()
{
    QFETCH(int, kind);
    QFETCH(bool, asIndex);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Data/x.list"));
    const qint64 cap = asIndex ? kIndexCap : kSmallFileCap;
    QVERIFY(MakeHostile(Hostile(kind), path, cap + 1));
    QElapsedTimer t;
    t.start();
    QString error;
    if (asIndex) {
        IndexList list;
        const Status s = ReadIndexFile(path, list);
        QVERIFY(!s);
        error = s.error();
        QCOMPARE(list.count(), 0);
    } else {
        const Result<QByteArray> bytes = ReadFileBytes(path, cap);
        QVERIFY(!bytes);
        error = bytes.error();
    }
    QVERIFY2(error.contains(path), qPrintable(error));
    QVERIFY2(t.elapsed() < 1000, "a refusal is immediate");
}

void RegularFileTest::regularFileRead()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("small.txt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("a\tb\r\n");
    f.close();
    QCOMPARE(ReadFileBytes(path, 5).value(), QByteArray("a\tb\r\n"));
    QVERIFY(!ReadFileBytes(path, 4));
    QVERIFY(RegularFileRefusal(path, 5).isEmpty());
    QVERIFY(RegularFileRefusal(path, 4).contains(QStringLiteral("MB")));
}

QTEST_GUILESS_MAIN(RegularFileTest)
#include "test_regular.moc"
