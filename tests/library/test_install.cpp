// Adding a dictionary: a good one copied into the user's Data folder, the
// index last; a broken one told in plain words; a name taken refused.
#include "Files.h"
#include "library/DictionaryInstall.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;

class InstallTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir_;

    // A dictionary's folder as Data lays it out: NAME.list and NAME.files/.
    QString makeSource(const QString& name, const QByteArray& index)
    {
        const QString folder = dir_.filePath("src-" + name);
        QDir().mkpath(folder + "/" + name + ".files");
        writeBytes(folder + "/" + name + ".list", index);
        writeBytes(folder + "/" + name + ".files/1.djvu", "AT&TFORM");
        writeBytes(folder + "/" + name + ".files/" + name + ".ini", "[main]\r\nwhole_file=no\r\n");
        return folder;
    }

private slots:
    void checkAndInstall_data()
    {
        QTest::addColumn<QByteArray>("index");
        QTest::addColumn<QString>("installedAlready");
        QTest::addColumn<QString>("fault");   // empty: it is added
        QTest::newRow("good") << QByteArray("apple\t1\r\nbread\t1\r\n") << "" << "";
        QTest::newRow("empty index") << QByteArray("") << "" << "holds no entries";
        QTest::newRow("damaged index") << QByteArray("\xEF\xBB\xBF" "a\t1\r\n\xC3(\t1\r\n") << "" << "damaged at byte offset";
        QTest::newRow("name taken") << QByteArray("apple\t1\r\n") << "NEW" << "installed already";
    }
    void checkAndInstall()
    {
        QFETCH(QByteArray, index);
        QFETCH(QString, installedAlready);
        QFETCH(QString, fault);
        const QString name = QStringLiteral("New");
        const QString source = makeSource(name + QTest::currentDataTag(), index);
        const QString data = dir_.filePath(QStringLiteral("data-%1").arg(QTest::currentDataTag()));
        QDir().mkpath(data);
        auto s = SourceFrom({source}, name);
        QVERIFY2(s, qPrintable(s.error()));
        QCOMPARE(s->name, name);
        QStringList warnings;
        const QStringList faults = CheckDictionary(s.value(), &warnings);
        const Status done = faults.isEmpty() ? InstallDictionary(s.value(), data, {installedAlready})
                                             : Status::failure(faults.join(' '));
        if (fault.isEmpty()) {
            QVERIFY2(done, qPrintable(done.error()));
            QCOMPARE(readBytes(data + "/New.list"), index);
            QVERIFY(QFileInfo(data + "/New.files/1.djvu").isFile());
        } else {
            QVERIFY(!done);
            QVERIFY2(done.error().contains(fault), qPrintable(done.error()));
            QVERIFY(!QFileInfo::exists(data + "/New.list"));
            QVERIFY(!QFileInfo::exists(data + "/New.files"));
        }
    }

    void sourcesThatAreNone_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("fault");
        QTest::newRow("nothing") << QStringList{} << "No index file";
        QTest::newRow("a folder without an index") << QStringList{"<empty>"} << "index files";
    }
    void sourcesThatAreNone()
    {
        QFETCH(QStringList, paths);
        QFETCH(QString, fault);
        if (paths.value(0) == "<empty>") {
            paths[0] = dir_.filePath("empty");
            QDir().mkpath(paths[0]);
        }
        const auto s = SourceFrom(paths);
        QVERIFY(!s);
        QVERIFY2(s.error().contains(fault), qPrintable(s.error()));
    }

    void indexWithoutPagesIsTold()
    {
        const QString index = dir_.filePath("Lonely.list");
        QVERIFY(writeBytes(index, "a\t1\r\n"));
        const auto s = SourceFrom({index});
        QVERIFY(s);
        QVERIFY(CheckDictionary(s.value(), nullptr).join(' ').contains("There are no pages"));
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "test_install.moc"
