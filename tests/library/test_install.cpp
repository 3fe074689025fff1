// Adding a dictionary: a good one copied into the user's Data folder, the
// index last; a broken one told in plain words; a name taken refused.
#include "Files.h"
#include "index/IndexOps.h"
#include "index/IndexTools.h"
#include "library/ActiveDictionary.h"
#include "library/Catalogue.h"
#include "library/Dictionary.h"
#include "library/DictionaryInstall.h"
#include "library/WordLookup.h"

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
    // The maker's tool's lines as the window reads them for its progress.
    void makeProgress()
    {
        const QStringList lines{
            "Fruit: 3 of 7 pages have no text; reading them",
            "ocr: 1 of 3 pages, 20.0 pages/min, 0 min 6 s left",
            "ocr: 3 of 3 pages, 21.5 pages/min, 0 min 0 s left",
            "page 2: a new alphabet begins (\"aa\")",
            "Other: 9 pages, 9 lines, 0 in doubt (Other.review.tsv)",
            "Fruit: 7 pages, 6 lines, 2 in doubt (Fruit.review.tsv)",
            "Fruit: pages searchable, 71 ms, /tmp/x.sqlite",
        };
        QList<std::tuple<int, int, QString>> seen;
        MakeProgress p;
        for (const QString& l : lines) {
            ReadMakeProgress(l, "Fruit", p);
            seen.append({p.done, p.total, p.summary});
        }
        const QString summary = "7 pages, 6 lines, 2 in doubt";
        QCOMPARE(seen,
                 (QList<std::tuple<int, int, QString>>{
                     {0, 0, ""}, {1, 3, ""}, {3, 3, ""}, {3, 3, ""}, {3, 3, ""}, {3, 3, summary}, {3, 3, summary}}));
    }

    void checkAndInstall_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("index");
        QTest::addColumn<QString>("installedAlready");
        QTest::addColumn<QString>("fault");   // empty: it is added
        QTest::addColumn<QString>("link");    // a link in its folder to a file "inside" it or "outside"
        QTest::newRow("good") << QByteArray("apple\t1\r\nbread\t1\r\n") << "" << "" << "";
        QTest::newRow("cancelled in the copy") << QByteArray("apple\t1\r\nbread\t1\r\n") << "" << "Cancelled" << "";
        QTest::newRow("empty index") << QByteArray("") << "" << "holds no entries" << "";
        QTest::newRow("damaged index") << QByteArray("\xEF\xBB\xBF" "a\t1\r\n\xC3(\t1\r\n") << "" << "damaged at byte offset" << "";
        QTest::newRow("name taken") << QByteArray("apple\t1\r\n") << "NEW" << "installed already" << "";
        QTest::newRow("a link within the folder") << QByteArray("apple\t1\r\n") << "" << "" << "inside";
        QTest::newRow("a link out of the folder") << QByteArray("apple\t1\r\n") << "" << "2.djvu is a link to a file outside" << "outside";
        // clang-format on
    }
    void checkAndInstall()
    {
        QFETCH(QByteArray, index);
        QFETCH(QString, installedAlready);
        QFETCH(QString, fault);
        QFETCH(QString, link);
        const QString name = QStringLiteral("New");
        const QString source = makeSource(name + QTest::currentDataTag(), index);
        const QString pages = source + "/" + name + QTest::currentDataTag() + ".files/";
        if (!link.isEmpty()) {
            writeBytes(dir_.filePath("secret"), "root:x:0:0");
            QVERIFY(QFile::link(link == u"inside" ? pages + "1.djvu" : dir_.filePath("secret"), pages + "2.djvu"));
        }
        const QString data = dir_.filePath(QStringLiteral("data-%1").arg(QTest::currentDataTag()));
        QDir().mkpath(data);
        auto s = SourceFrom({source}, name);
        QVERIFY2(s, qPrintable(s.error()));
        QCOMPARE(s->name, name);
        QStringList warnings;
        const QStringList faults = CheckDictionary(s.value(), &warnings);
        std::atomic<bool> stop{false};
        qint64 copied = 0, total = -1;
        const CopyProgress progress{[&](qint64 done, qint64 all) {
                                        copied = done, total = all;
                                        stop = fault == u"Cancelled";
                                    },
                                    &stop};
        const Status done = faults.isEmpty() ? InstallDictionary(s.value(), data, {installedAlready}, progress)
                                             : Status::failure(faults.join(' '));
        if (fault.isEmpty()) {
            QCOMPARE(copied, total); // every byte counted
            QVERIFY2(done, qPrintable(done.error()));
            QCOMPARE(readBytes(data + "/New.list"), index);
            QVERIFY(QFileInfo(data + "/New.files/1.djvu").isFile());
            if (!link.isEmpty())
                QCOMPARE(readBytes(data + "/New.files/2.djvu"), QByteArray("AT&TFORM"));
        } else {
            QVERIFY(!done);
            QVERIFY2(done.error().contains(fault), qPrintable(done.error()));
            QVERIFY(!QFileInfo::exists(data + "/New.list"));
            QVERIFY(!QFileInfo::exists(data + "/New.files"));
        }
    }

    void sourcesThatAreNone_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("fault");
        QTest::newRow("nothing") << QStringList{} << "No index file";
        QTest::newRow("a folder without an index") << QStringList{"<empty>"} << "index files";
        QTest::newRow("a name with a tab") << QStringList{"<tab>"} << "cannot be a dictionary's name";
        // clang-format on
    }
    void sourcesThatAreNone()
    {
        QFETCH(QStringList, paths);
        QFETCH(QString, fault);
        if (paths.value(0) == "<empty>") {
            paths[0] = dir_.filePath("empty");
            QDir().mkpath(paths[0]);
        }
        if (paths.value(0) == "<tab>") {
            paths[0] = dir_.filePath("Two\tparts.list");
            QVERIFY(writeBytes(paths[0], "a\t1\r\n"));
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

    // A dictionary shipped read only: the second index built for it goes to
    // the user's folder, nothing is written beside it, and opening finds it.
    void shippedDictionaryKeepsItsSecondIndexInTheUsersFolder()
    {
        const QString shipped = dir_.filePath("share/"), user = dir_.filePath("user/");
        QDir().mkpath(shipped + "Data/Ship.files");
        QDir().mkpath(user + "Data");
        writeBytes(shipped + "Data/Ship.list", "a-z\t1\r\nb\t2\r\nc\t3\r\n");
        const DictionaryPaths paths{shipped, "Ship", user};
        QCOMPARE(paths.derivedFolder(), paths.folder());
        QCOMPARE(paths.derivedWriteFolder(), user + "Data/Ship.files/");

        IndexList first;
        QVERIFY(LoadFirstIndex(paths.firstIndex(), first));
        const RuleCheck rules = CheckRules("-=\n");
        ReplacementList list;
        list.setLines(rules.encoded);
        QVERIFY(QDir().mkpath(paths.derivedWriteFolder()));
        QVERIFY(WriteSecondIndexFiles(paths.derivedWriteFolder(), ReplacementFileBytes(rules.encoded),
                                      SecondIndexFileBytes(first, list)));
        QCOMPARE(QDir(paths.folder()).entryList(QDir::Files), QStringList());
        QCOMPARE(paths.secondIndex(), user + "Data/Ship.files/secondindex.list");

        ActiveDictionary d;
        d.userRoot = user;
        QVERIFY(d.open({shipped, "Ship", false, false}).opened);
        QCOMPARE(d.second.count(), 3);
        QCOMPARE(d.second.line(0).toString(), QStringLiteral("az"));
        // Typed without its hyphen, "a-z" is found by the rules only.
        const std::optional<Hit> hit = LookUp(d, "az");
        QVERIFY(hit);
        QCOMPARE(d.first.headword(hit->row).toString(), QStringLiteral("a-z"));
        // Without the user's root, the shipped folder alone: no second index.
        ActiveDictionary plain;
        QVERIFY(plain.open({shipped, "Ship", false, false}).opened);
        QCOMPARE(plain.second.count(), 0);
        QCOMPARE(plain.first.headword(LookUp(plain, "az")->row).toString(), QStringLiteral("b"));
        // The overlay is no dictionary of its own in the user's Data.
        QCOMPARE(DiscoverDictionaries(user + "Data"), QStringList());
    }

    // Remove: into the trash where there is one, else into "Removed"
    // beside the Data folder; never deleted; only the user's own.
    void removeTakesOutOnlyTheUsersOwn_data()
    {
        QTest::addColumn<bool>("trash");
        QTest::newRow("to the trash") << true;
        QTest::newRow("no trash: Removed") << false;
    }
    void removeTakesOutOnlyTheUsersOwn()
    {
        QFETCH(bool, trash);
        const QString root = dir_.filePath(QStringLiteral("rm-%1/").arg(QTest::currentDataTag()));
        QDir().mkpath(root + "Data/Mine.files");
        writeBytes(root + "Data/Mine.list", "a\t1\r\n");
        writeBytes(root + "Data/Mine.files/1.djvu", "AT&TFORM");
        const QByteArray home = qgetenv("HOME"), data = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", QFile::encodeName(root));
        // A file where the user's data folder should be: no trash.
        writeBytes(root + "notafolder", "x");
        QDir().mkpath(root + "xdg");
        qputenv("XDG_DATA_HOME", QFile::encodeName(trash ? root + "xdg" : root + "notafolder/xdg"));
        const Result<QString> done = RemoveDictionary(root + "Data", "Mine");
        qputenv("HOME", home);
        data.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", data);
        QVERIFY2(done, qPrintable(done.error()));
        QCOMPARE(DiscoverDictionaries(root + "Data"), QStringList());
        QVERIFY(!QFileInfo::exists(root + "Data/Mine.files"));
        const QString kept = trash ? root + "xdg/Trash/files/" : root + "Removed/";
        QCOMPARE(readBytes(kept + "Mine.list"), QByteArray("a\t1\r\n"));
        QVERIFY(QFileInfo(kept + "Mine.files/1.djvu").isFile());
        QVERIFY2(done.value().contains(trash ? "trash" : "Removed"), qPrintable(done.value()));

        QVERIFY(!RemoveDictionary(root + "Data", "Mine"));         // gone already
        QVERIFY(!RemoveDictionary(root + "Data", "../Data/Mine")); // no way out of Data
        QVERIFY(IsUserDictionary(root, root + "/"));
        QVERIFY(!IsUserDictionary(dir_.filePath("share/"), root));
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "test_install.moc"
