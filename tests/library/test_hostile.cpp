// A dictionary pack from a stranger: a FIFO, a device, a folder, a symlink
// loop or an oversized file in each place a pack can hold a file. Opening it
// finishes at once, the catalogue variant keeps the open dictionary, and
// what is told names the file.
#include "Files.h"
#include "common/HostileFiles.h"
#include "base/RegularFile.h"
#include "library/ActiveDictionary.h"
#include "library/Dictionary.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;
using namespace lexifol::testing;

class HostileTest : public QObject
{
    Q_OBJECT
private slots:
    void openingFinishes_data();
    void openingFinishes();
};

void HostileTest::openingFinishes_data()
{
    // clang-format off
    QTest::addColumn<QString>("place");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("told");   // a message names the file
    const struct { const char* place; bool told; } places[] = {
        {"Data/X.list", true},
        {"Data/X.files/Plugin.dat", true},
        {"Data/X.files/X.ini", true},
        {"Data/X.files/secondindex.list", false},   // silent, as an unreadable one
        {"Data/X.files/replacelist.dat", false},
    };
    for (const auto& p : places)
        for (Hostile h : kHostileKinds)
            QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(p.place), QLatin1String(HostileName(h)))))
                << QString::fromLatin1(p.place) << int(h) << p.told;
    // clang-format on
}

void HostileTest::openingFinishes()
{
    QFETCH(QString, place);
    QFETCH(int, kind);
    QFETCH(bool, told);
    QTemporaryDir dir;
    const QString prog = dir.path() + u'/';
    QVERIFY(writeBytes(prog + "Data/Good.list", "a\t1\r\n")
            || (QDir().mkpath(prog + "Data") && writeBytes(prog + "Data/Good.list", "a\t1\r\n")));
    QDir().mkpath(prog + "Data/X.files");
    if (place != QLatin1StringView("Data/X.list"))
        QVERIFY(writeBytes(prog + "Data/X.list", "x\t1\r\n"));
    const bool index = place.endsWith(QLatin1StringView(".list"));
    QVERIFY(MakeHostile(Hostile(kind), prog + place, (index ? kIndexCap : kListCap) + 1));

    ActiveDictionary d;
    QVERIFY(d.open({prog, "Good", false, false}).opened);
    QElapsedTimer t;
    t.start();
    const OpenOutcome out = d.open({prog, "X", false, false});
    QVERIFY2(t.elapsed() < 1000, "opening is never held up by a file");
    // A descriptor behind a broken link is no descriptor.
    if (told && !(place.endsWith(QLatin1StringView(".ini")) && kind == int(Hostile::SymlinkLoop))) {
        QVERIFY2(!out.messages.isEmpty(), "the file is told");
        QVERIFY2(out.messages.join(' ').contains(QFileInfo(place).fileName()), qPrintable(out.messages.join('|')));
        // And why, in words, for every file alike.
        if (kind != int(Hostile::SymlinkLoop))
            QVERIFY2(out.messages.join(' ').contains("It is "), qPrintable(out.messages.join('|')));
    }
    if (!out.opened)
        QCOMPARE(d.name, QStringLiteral("Good")); // the open dictionary stays
}

QTEST_GUILESS_MAIN(HostileTest)
#include "test_hostile.moc"
