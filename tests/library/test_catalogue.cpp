// The catalogue: discovery, merge with the saved order, check marks and
// the catalogue file.
#include "base/CodePage.h"
#include "library/Catalogue.h"
#include "Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;

using Marks = QList<int>; // per merged name: 1 ticked, 0 clear, -1 no saved mark

class TestCatalogue : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() { SetAnsiLocale(QStringLiteral("ru_RU.UTF-8")); }

    void merge_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("discovered");
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<QStringList>("merged");
        QTest::addColumn<Marks>("marks");
        QTest::newRow("saved order wins") << QStringList{"B", "A"} << QStringList{"A\t1", "B\t0"}
                                          << QStringList{"A", "B"} << Marks{1, 0};
        QTest::newRow("new one appended") << QStringList{"A", "B", "C"} << QStringList{"B\t1", "A\t0"}
                                          << QStringList{"B", "A", "C"} << Marks{1, 0, -1};
        QTest::newRow("position beyond N appended") << QStringList{"B", "A"}
            << QStringList{"X\t1", "Y\t1", "Z\t0", "A\t1"} << QStringList{"B", "A"} << Marks{-1, 1};
        QTest::newRow("slot kept, late one appended") << QStringList{"A", "B", "C"}
            << QStringList{"C\t0", "X\t0", "Z\t0", "A\t1"} << QStringList{"C", "A", "B"} << Marks{0, 1, -1};
        QTest::newRow("names ignore case") << QStringList{"Alpha", "beta"} << QStringList{"BETA\t1", "alpha\t0"}
                                           << QStringList{"beta", "Alpha"} << Marks{1, 0};
        QTest::newRow("lines without TAB count") << QStringList{"C", "A", "B"}
            << QStringList{"B", "A", "B\t1", "A\t0"} << QStringList{"B", "C", "A"} << Marks{1, -1, 0};
        QTest::newRow("first line counts") << QStringList{"A", "B"} << QStringList{"B\t1", "b\t0", "A\t0"}
                                           << QStringList{"B", "A"} << Marks{1, 0};
        QTest::newRow("odd flags") << QStringList{"A", "B", "C"} << QStringList{"A\t2", "B\t", "C\t1 "}
                                   << QStringList{"A", "B", "C"} << Marks{-1, -1, -1};
        // clang-format on
    }
    void merge()
    {
        QFETCH(QStringList, discovered);
        QFETCH(QStringList, saved);
        QFETCH(QStringList, merged);
        QFETCH(Marks, marks);
        QCOMPARE(MergeCatalogue(discovered, saved), merged);
        for (int i = 0; i < merged.size(); ++i) {
            const std::optional<bool> m = SavedCheckMark(saved, merged[i]);
            QCOMPARE(m ? int(*m) : -1, marks[i]);
        }
    }

    void savedOrderName()
    {
        QCOMPARE(SavedOrderName(QStringLiteral("A\tB\t1")), QStringLiteral("A"));
        QVERIFY(SavedOrderName(QStringLiteral("A")).isNull());
        const QString empty = SavedOrderName(QStringLiteral("\t1"));
        QVERIFY(empty.isEmpty() && !empty.isNull());
        QCOMPARE(FindSavedLine({"x", "\t1", "A\t0"}, QStringLiteral("a")), 2);
        QCOMPARE(FindSavedLine({"A"}, QStringLiteral("A")), -1);
    }

    void discover()
    {
        const QString data = dir.filePath(QStringLiteral("Data"));
        QVERIFY(QDir().mkpath(data + "/folder.list"));
        for (const char* f : {"b.list", "A.list", ".hidden.list", ".list", "x.lst", "c.list.bak", "Up.LIST"})
            QVERIFY(writeBytes(data + '/' + QLatin1String(f), "w\t1\r\n"));
        QCOMPARE(DiscoverDictionaries(data), (QStringList{".hidden", "A", "b"}));
        QVERIFY(DiscoverDictionaries(dir.filePath(QStringLiteral("NoData"))).isEmpty());
    }

    // In the code page while every name fits it, else UTF-8 with its mark:
    // every name comes back, with its check mark.
    // A dictionary named by its title, found in memory; the descriptors
    // read again only when one changed.
    void findByTitle()
    {
        QTemporaryDir root;
        const QString prog = root.path() + "/";
        QVERIFY(QDir().mkpath(prog + "Data/B.files"));
        for (const char* name : {"A", "B"})
            QVERIFY(writeBytes(prog + "Data/" + name + ".list", "w\t1\r\n"));
        const QString ini = prog + "Data/B.files/B.ini";
        QVERIFY(writeBytes(ini, "[main]\r\nname=Bakery words\r\n"));
        Catalogue c;
        c.load({prog}, QString());
        TitleReader reader;
        QCOMPARE(c.findByNameOrTitle("bakery WORDS"), -1); // not read yet
        c.setTitles(reader.read(c.titleSources(prog)));
        QCOMPARE(c.findByNameOrTitle("bakery WORDS"), c.find("B"));
        QCOMPARE(c.findByNameOrTitle(" a"), c.find("A"));
        QCOMPARE(c.findByNameOrTitle("Bread words"), -1);
        QVERIFY(writeBytes(ini, "[main]\r\nname=Bread words, second edition\r\n"));
        QFile f(ini);
        QVERIFY(f.open(QIODevice::ReadWrite)
                && f.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        f.close();
        QCOMPARE(c.findByNameOrTitle("Bread words, second edition"), -1); // memory only
        c.setTitles(reader.read(c.titleSources(prog)));
        QCOMPARE(c.findByNameOrTitle("Bread words, second edition"), c.find("B"));
        QCOMPARE(c.findByNameOrTitle("Bakery words"), -1);
    }

    void saveAndLoad_data()
    {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("in the code page") << QStringLiteral("Словарь") << QByteArray("\xD1\xEB\xEE\xE2\xE0\xF0\xFC\t1\r\nB\t0\r\n");
        QTest::newRow("outside it") << QStringLiteral("Ünïcødé Жук")
                                    << (QByteArray("\xEF\xBB\xBF") + QStringLiteral("Ünïcødé Жук").toUtf8() + "\t1\r\nB\t0\r\n");
        // clang-format on
    }
    void saveAndLoad()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString path = dir.filePath(QStringLiteral("diclist.dat"));
        const QStringList lines = BuildSavedOrder({{name, true, {}}, {QStringLiteral("B"), false, {}}});
        QVERIFY(SaveSavedOrder(path, lines));
        QCOMPARE(readBytes(path), bytes);
        const auto back = LoadSavedOrder(path);
        QVERIFY(back.ok());
        QCOMPARE(back.value(), lines);
    }

    void load_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("mixed breaks") << QByteArray("A\t1\rB\t0\nC\t1\r\n") << QStringList{"A\t1", "B\t0", "C\t1"};
        QTest::newRow("empty lines kept") << QByteArray("\r\n\r\nA\t1") << QStringList{"", "", "A\t1"};
        QTest::newRow("no Unicode mark") << QByteArray("\xFF\xFE" "A\t1") << QStringList{"яюA\t1"};
        QTest::newRow("empty file") << QByteArray("") << QStringList{};
        // clang-format on
    }
    void load()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        const QString path = dir.filePath(QStringLiteral("load.dat"));
        QVERIFY(writeBytes(path, bytes));
        const auto got = LoadSavedOrder(path);
        QVERIFY(got.ok());
        QCOMPARE(got.value(), lines);
    }

    void loadFailures()
    {
        const auto missing = LoadSavedOrder(dir.filePath(QStringLiteral("missing.dat")));
        QVERIFY(missing.ok() && missing.value().isEmpty());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("dir.dat")));
        QVERIFY(!LoadSavedOrder(dir.filePath(QStringLiteral("dir.dat"))).ok());
        QVERIFY(!SaveSavedOrder(dir.filePath(QStringLiteral("dir.dat")), {"A\t1"}));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
