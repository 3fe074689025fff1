// lexifol-index run as a program: output, exit codes and files.
#include "base/CodePage.h"
#include "index/Collation.h"
#include "index/IndexTools.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"
#include "DjvuEncode.h"

#include "common/TestFiles.h"
#include "RunTool.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace lexifol;

namespace {

Run lexifolIndex(const QStringList& args)
{
    return RunLexifolIndex(args, {"--locale", "en_US"});
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void initTestCase()
    {
        SetAnsiLocale(QStringLiteral("en_US.UTF-8"));
        IndexCollation::SetDefaultLocale(QStringLiteral("en_US"));
    }

    void check_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::newRow("in order") << QByteArray("apple\t1\r\nbanana\t2\r\n") << QStringList{} << 0 << "";
        QTest::newRow("one pair") << QByteArray("apple\t1\r\ncherry\t1\r\nbanana\t2\r\n") << QStringList{} << 1
                                  << "Error: item on line 2 must be lower than item on line 3\n";
        QTest::newRow("second index, empty line") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"--second"} << 1
                                                  << "Error: item on line 1 must be lower than item on line 2\n";
        // Headwords that differ only in letter case compare equal: told
        // apart from disorder, an error only under --strict.
        QTest::newRow("equal pair") << QByteArray("AC\t1\r\nAc\t2\r\nb\t3\r\n") << QStringList{} << 0
                                    << "Equal: items on lines 1 and 2 compare equal (\"AC\", \"Ac\"); no order puts them apart\n";
        QTest::newRow("equal pair, strict") << QByteArray("AC\t1\r\nAc\t2\r\nb\t3\r\n") << QStringList{"--strict"} << 1
                                            << "Error: item on line 1 must be lower than item on line 2\n";
        // clang-format on
    }
    void check()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, extra);
        const QString file = dir_.filePath("check.list");
        put(file, content);
        const Run r = lexifolIndex(QStringList{"check", file} + extra);
        QTEST(r.code, "code");
        QTEST(r.out, "out");
        QVERIFY(r.err.contains("out of order"));
    }

    // A file GNU sort made (blanks and hyphens passed over) breaks the
    // order in many pairs: the setting that accepts it is named, and does.
    void sortedByAnotherTool()
    {
        QByteArray content;
        for (const char* stem : {"ba", "be", "bi", "bo", "bu", "ca", "ce", "ci", "co", "cu", "da", "de"})
            content += QByteArray(stem) + "fast\t1\r\n" + stem + "-in\t2\r\n";
        const QString file = dir_.filePath("gnu.list");
        put(file, content);
        const Run r = lexifolIndex({"check", file});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains("--locale en_US@colAlternate=shifted"), qPrintable(r.err));
        QCOMPARE(RunLexifolIndex({"check", file, "--locale", "en_US@colAlternate=shifted"}, {}).code, 0);
        // A few pairs out of order are the maker's slips: no hint.
        put(file, "apple\t1\r\ncherry\t1\r\nbanana\t2\r\n");
        QVERIFY(!lexifolIndex({"check", file}).err.contains("colAlternate"));
    }

    void badInput_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown command") << QStringList{"frob"} << "unknown command \"frob\"";
        QTest::newRow("missing file") << QStringList{"check", "/nonexistent/x.list"} << "/nonexistent/x.list";
        QTest::newRow("bad option") << QStringList{"check", "x.list", "--bogus"} << "unknown option --bogus";
        QTest::newRow("sort without -o") << QStringList{"sort", "x.list"} << "sort needs FILE and -o OUT";
        // clang-format on
    }
    void badInput()
    {
        QFETCH(QStringList, args);
        const Run r = lexifolIndex(args);
        QCOMPARE(r.code, 2);
        QFETCH(QString, message);
        QVERIFY2(r.err.startsWith("lexifol-index: ") && r.err.contains(message), qPrintable(r.err));
    }

    // Input the reader would cut short, special files and unknown locales:
    // exit 2 with the reason, nothing written.
    void refusesWhatItCannotKeep_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("message");
        const QByteArray badUtf8("\xEF\xBB\xBF" "b\t1\r\na\xC3(x\t2\r\nc\t3\r\n");
        const QByteArray nul8bit("b\t1\r\na\0\t2\r\nc\t3\r\n", 17);
        const QByteArray good("b\t1\r\na\t2\r\n");
        for (const char* command : {"sort", "check"}) {
            const QString c = QString::fromLatin1(command);
            QTest::newRow(QByteArray(command) + ": malformed UTF-8") << badUtf8 << c << QStringList{} << "byte offset 9";
            QTest::newRow(QByteArray(command) + ": NUL in 8-bit") << nul8bit << c << QStringList{} << "byte offset 6";
            QTest::newRow(QByteArray(command) + ": unknown locale")
                << good << c << QStringList{"--locale", "swedish"} << "--locale swedish";
            QTest::newRow(QByteArray(command) + ": a path as locale")
                << good << c << QStringList{"--locale", "../../etc"} << "--locale ../../etc";
        }
        QTest::newRow("sort: -o names a FIFO") << good << "sort-to-fifo" << QStringList{} << "not a regular file";
        // clang-format on
    }
    void refusesWhatItCannotKeep()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, command);
        QFETCH(QStringList, extra);
        QFETCH(QString, message);
        const QString in = dir_.filePath("refuse.list");
        QString out = dir_.filePath("refused-out.list");
        QFile::remove(out);
        put(in, content);
        if (command == QLatin1StringView("sort-to-fifo")) {
            out = dir_.filePath("fifo-out");
            QFile::remove(out);
            QVERIFY(::mkfifo(QFile::encodeName(out).constData(), 0600) == 0);
            command = QStringLiteral("sort");
        }
        const QStringList args = command == QLatin1StringView("sort") ? QStringList{command, in, "-o", out}
                                                                      : QStringList{command, in};
        const Run r = lexifolIndex(args + extra);
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        if (out.endsWith(QLatin1StringView("fifo-out")))
            QVERIFY(!QFileInfo(out).isFile());
        else
            QVERIFY(!QFile::exists(out));
    }

    void sortThenCheck()
    {
        QRandomGenerator rng(7);
        const QString in = dir_.filePath("in.list"), out = dir_.filePath("out.list");
        const QStringList alphabet{"a", "b", "e", "é", "-", " ", "'", "A", "z"};
        for (int round = 0; round < 200; ++round) {
            QStringList lines;
            for (int i = 0; i < 30; ++i) {
                QString w;
                for (int n = 1 + rng.bounded(5); n > 0; --n)
                    w += alphabet[rng.bounded(alphabet.size())];
                lines << w + QStringLiteral("\t%1").arg(i);
            }
            put(in, Utf16FileBytes(lines));
            QCOMPARE(lexifolIndex({"sort", in, "-o", out}).code, 0);
            const Run checked = lexifolIndex({"check", out});
            // Only headwords that compare equal without being identical can stay.
            if (checked.code != 0)
                QVERIFY2(checked.out.count('\n') >= 1
                             && lexifolIndex({"sort", in, "-o", out}).err.contains("compare equal"),
                         qPrintable(checked.out));
        }
    }

    void sortIsStable()
    {
        const QString in = dir_.filePath("stable.list"), out = dir_.filePath("stable.out");
        put(in, "pear\t1\r\napple\t2\r\npear\t3\r\napple\t4\r\n");
        QCOMPARE(lexifolIndex({"sort", in, "-o", out, "--encoding", "ansi"}).code, 0);
        QCOMPARE(get(out), QByteArray("apple\t2\r\napple\t4\r\npear\t1\r\npear\t3\r\n"));
    }

    void buildSecondAsTheDialog()
    {
        const QString data = dir_.filePath("prog/Data");
        put(data + "/D.list", "caf\xE9\t3\r\nco-op\t4\r\nabc\r\n");
        QDir().mkpath(data + "/D.files");
        put(dir_.filePath("rules.txt"), "\xC3\xA9=e\n-=\n");
        const Run r = lexifolIndex({"build-second", data, "D", "--rules", dir_.filePath("rules.txt")});
        QCOMPARE(r.code, 0);
        const RuleCheck rules = CheckRules(QStringLiteral("é=e\n-=\n"));
        ReplacementList list;
        list.setLines(rules.encoded);
        IndexList first;
        QVERIFY(ReadIndexFile(data + "/D.list", first).ok());
        QCOMPARE(get(data + "/D.files/replacelist.dat"), ReplacementFileBytes(rules.encoded));
        QCOMPARE(get(data + "/D.files/secondindex.list"), SecondIndexFileBytes(first, list));
        put(dir_.filePath("bad.txt"), "a=b\nxy\n");
        const Run bad = lexifolIndex({"build-second", data, "D", "--rules", dir_.filePath("bad.txt")});
        QCOMPARE(bad.code, 2);
        QVERIFY(bad.err.contains("Error (line 1)"));
    }

    void lintFindsEachFault()
    {
        const QString data = dir_.filePath("lint/Data");
        put(data + "/Pages.list", "apple\t1\r\nbanana\t2>cherry\r\nabc\t3\r\n");
        put(data + "/Pages.files/Pages.ini", "[main]\r\nwhole_file=no\r\ntext_layer=maybe\r\nkeyboard_layout=409\r\n");
        put(data + "/Pages.files/1.djvu", "x");
        put(data + "/Pages.files/2.djvu", "x");
        put(data + "/Pages.files/secondindex.list", "a\r\n");
        const Run r = lexifolIndex({"lint", data});
        QCOMPARE(r.code, 1);
        for (const char* fault :
             {"1 pairs out of order", "cross-reference to \"cherry\"", "page file 3.djvu does not exist",
              "text_layer=maybe", "keyboard_layout=409", "second index has 1 lines, the first 3"})
            QVERIFY2(r.out.contains(QString::fromUtf8(fault)), qPrintable(r.out));
        if (djvu::HaveTools()) {
            QImage page(300, 300, QImage::Format_RGB32);
            page.fill(Qt::white);
            QString error;
            QVERIFY(QDir().mkpath(data + "/Whole.files"));
            QVERIFY2(djvu::EncodeBilevelPage(page, 100, QString(), data + "/Whole.files/Whole.djvu", &error),
                     qPrintable(error));
            put(data + "/Whole.list", "apple\t1\r\nbanana\t2\r\n");
            const Run whole = lexifolIndex({"lint", data, "Whole"});
            QCOMPARE(whole.code, 1);
            QVERIFY2(whole.out.contains("page 2 is past the last page (1)"), qPrintable(whole.out));
        }
    }

    // Each page reference a one-document dictionary cannot show, told as
    // what it is; an empty index; a second index out of order; UTF-8
    // without a mark named as such.
    void lintTellsWhatIsWrong_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("index");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("fault");
        const QByteArray none;
        QTest::newRow("page 0") << QByteArray("a\t0\r\n") << none << "page 0 is no page: pages count from 1";
        QTest::newRow("page -1") << QByteArray("a\t-1\r\n") << none << "page -1 is no page: pages count from 1";
        QTest::newRow("a word as page") << QByteArray("a\tabc\r\n") << none << "page \"abc\" is not a page number";
        QTest::newRow("1e9") << QByteArray("a\t1e9\r\n") << none << "page \"1e9\" is not a page number";
        QTest::newRow("past the last") << QByteArray("a\t999\r\n") << none << "page 999 is past the last page (1)";
        QTest::newRow("past every integer") << QByteArray("a\t99999999999999999999\r\n") << none
                                            << "page 99999999999999999999 is past the last page (1)";
        QTest::newRow("no entries") << QByteArray("") << none << "the index holds no entries";
        QTest::newRow("second index out of order") << QByteArray("a\t1\r\nb\t1\r\n") << QByteArray("b\r\na\r\n")
                                                   << "second index: 1 pairs out of order";
        QTest::newRow("UTF-8 without a mark") << QByteArray("caf\xC3\xA9\t1\r\n") << none
                                              << "UTF-8 without a mark (no byte-order mark, valid UTF-8";
        // clang-format on
    }
    void lintTellsWhatIsWrong()
    {
        if (!djvu::HaveTools())
            QSKIP("the DjVuLibre tools are not installed");
        QFETCH(QByteArray, index);
        QFETCH(QByteArray, second);
        QFETCH(QString, fault);
        QTemporaryDir dir;
        const QString data = dir.filePath("Data");
        QImage page(300, 300, QImage::Format_RGB32);
        page.fill(Qt::white);
        QString error;
        QVERIFY(QDir().mkpath(data + "/One.files"));
        QVERIFY2(djvu::EncodeBilevelPage(page, 100, QString(), data + "/One.files/One.djvu", &error),
                 qPrintable(error));
        put(data + "/One.list", index);
        if (!second.isNull())
            put(data + "/One.files/secondindex.list", second);
        const Run r = lexifolIndex({"lint", data, "One"});
        QVERIFY2(r.out.contains(fault), qPrintable(r.out));
        if (!fault.contains("UTF-8"))
            QCOMPARE(r.code, 1);
    }

    // The viewer's lookup for scripts: exact, nearest, a cross-reference
    // followed, a page index's page, a word past every entry.
    void lookupAsTheViewer_data()
    {
        // clang-format off
        QTest::addColumn<QString>("descriptor");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("code");
        QTest::newRow("exact") << "" << "bread" << "bread\tbread\t2\n" << 0;
        QTest::newRow("letter case ignored") << "" << "Bread" << "Bread\tbread\t2\n" << 0;
        QTest::newRow("nearest") << "" << "brea" << "brea\t~bread\t2\n" << 0;
        QTest::newRow("cross-reference") << "" << "cake" << "cake\tbread\t2\n" << 0;
        QTest::newRow("past every entry") << "" << "zebra" << "zebra\t\t\n" << 1;
        QTest::newRow("page index") << "[main]\r\npage_index=yes\r\n" << "bun" << "bun\t~bread\t2\n" << 0;
        // clang-format on
    }
    void lookupAsTheViewer()
    {
        QFETCH(QString, descriptor);
        QFETCH(QString, word);
        QTemporaryDir dir;
        const QString data = dir.filePath("Data");
        put(data + "/T.list", "apple\t1\r\nbread\t2\r\ncake\t9>bread\r\n");
        if (!descriptor.isEmpty())
            put(data + "/T.files/T.ini", descriptor.toUtf8());
        // No page view file anywhere: a lookup needs none, and says nothing of it.
        QDir().mkpath(dir.filePath("cwd"));
        QProcess p;
        p.setWorkingDirectory(dir.filePath("cwd"));
        p.start(QStringLiteral(LEXIFOL_INDEX_BIN), {"lookup", data, "T", word, "--locale", "en_US"});
        QVERIFY(p.waitForFinished(20000));
        QTEST(QString::fromUtf8(p.readAllStandardOutput()), "line");
        QTEST(p.exitCode(), "code");
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()), QString());
    }

    void lintFindsADocumentCutShort()
    {
        if (!djvu::HaveTools())
            QSKIP("the DjVuLibre tools are not installed");
        QTemporaryDir dir;
        const QString data = dir.filePath("Data");
        QVERIFY(QDir().mkpath(data + "/Cut.files"));
        QStringList pages;
        for (int i = 0; i < 3; ++i) {
            QImage page(600, 600, QImage::Format_RGB32);
            page.fill(Qt::white);
            for (int k = 0; k < 40; ++k)
                page.setPixel(50 + 10 * k, 50 + i * 100, qRgb(0, 0, 0));
            const QString p = dir.filePath(QStringLiteral("p%1.djvu").arg(i));
            QString error;
            QVERIFY2(djvu::EncodeBilevelPage(page, 100, QString(), p, &error), qPrintable(error));
            pages << p;
        }
        QString error;
        const QString book = data + "/Cut.files/Cut.djvu";
        QVERIFY2(djvu::Bundle(book, pages, &error), qPrintable(error));
        const QByteArray whole = get(book);
        put(book, whole.left(whole.size() - 200));
        put(data + "/Cut.list", "a\t1\r\nb\t3\r\n");
        const Run r = lexifolIndex({"lint", data, "Cut", "--deep"});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.out.contains("cannot be decoded") || r.out.contains("cannot be read"), qPrintable(r.out));
    }

    // Lint reads an index the way its descriptor says the viewer reads it.
    void lintFollowsTheDescriptor_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("fault");    // must be reported; empty: none
        QTest::addColumn<QString>("absent");   // must not be
        const QByteArray swedish = "apa\t1\r\nzebra\t2\r\n\xC3\xA5l\t3\r\n";
        QTest::newRow("Swedish, declared") << swedish << QByteArray("collation=sv") << QString() << "out of order";
        QTest::newRow("Swedish, undeclared") << swedish << QByteArray() << "1 pairs out of order" << "is neither yes nor no";
        QTest::newRow("unknown collation") << swedish << QByteArray("collation=xx") << "collation=xx" << "\n";
        const QByteArray firsts = "about\t1\r\nbath\t3\r\ncandle\t2\r\n";
        QTest::newRow("page index, pages back") << firsts << QByteArray("page_index=yes") << "line 3: page 2 comes after page 3"
                                                << "line 2:";
        QTest::newRow("not a page index") << firsts << QByteArray() << QString() << "comes after";
        // File names ascend by their numbers: p9 before p10.
        QTest::newRow("page index, file names") << QByteArray("about\tp9\r\nbath\tp10\r\n")
                                                << QByteArray("page_index=yes\r\nwhole_file=no") << "page file p9.djvu"
                                                << "comes after";
        // clang-format on
    }
    void lintFollowsTheDescriptor()
    {
        QFETCH(QByteArray, list);
        QFETCH(QByteArray, keys);
        QFETCH(QString, fault);
        QFETCH(QString, absent);
        const QString data = dir_.filePath(QStringLiteral("lintd/%1/Data").arg(QTest::currentDataTag()));
        put(data + "/D.list", "\xEF\xBB\xBF" + list);
        put(data + "/D.files/D.ini", "[main]\r\n" + keys + "\r\n");
        const Run r = lexifolIndex({"lint", data, "D"});
        QCOMPARE(r.code, 1); // no document: never clean
        if (!fault.isEmpty())
            QVERIFY2(r.out.contains(fault), qPrintable(r.out));
        if (absent != u"\n")
            QVERIFY2(!r.out.contains(absent), qPrintable(r.out));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
