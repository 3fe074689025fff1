// A word from anywhere: the command line, the request on the socket, and
// the hand-over between two real processes.
#include "Fixture.h"
#include "app/CommandLine.h"
#include "app/SingleInstance.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QUrl>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <future>
#include <unistd.h>

using namespace lexifol;
using Action = CommandLine::Action;

class TestInstance : public QObject
{
    Q_OBJECT
private slots:
    void commandLine_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("dictionary");
        QTest::newRow("nothing") << QStringList{} << int(Action::Run) << "" << "";
        QTest::newRow("a word") << QStringList{"bread"} << int(Action::LookUp) << "bread" << "";
        QTest::newRow("words joined") << QStringList{"ice", " cream"} << int(Action::LookUp) << "ice cream" << "";
        QTest::newRow("dictionary and word") << QStringList{"--dictionary", "First words", "bun"} << int(Action::LookUp) << "bun" << "First words";
        QTest::newRow("word then dictionary") << QStringList{"bun", "--dictionary", "Pages"} << int(Action::LookUp) << "bun" << "Pages";
        QTest::newRow("a word that looks like an option") << QStringList{"--", "-ism"} << int(Action::LookUp) << "-ism" << "";
        QTest::newRow("selection") << QStringList{"--selection"} << int(Action::Selection) << "" << "";
        QTest::newRow("selection in a dictionary") << QStringList{"--selection", "--dictionary", "X"} << int(Action::Selection) << "" << "X";
        QTest::newRow("help") << QStringList{"bread", "--help"} << int(Action::Help) << "" << "";
        QTest::newRow("version") << QStringList{"--version"} << int(Action::Version) << "" << "";
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << int(Action::Error) << "" << "";
        QTest::newRow("dictionary without name") << QStringList{"--dictionary"} << int(Action::Error) << "" << "";
        QTest::newRow("dictionary without word") << QStringList{"--dictionary", "X"} << int(Action::Error) << "" << "X";
        QTest::newRow("selection and a word") << QStringList{"--selection", "bread"} << int(Action::Error) << "" << "";
        // What desktops pass: files and URLs.
        const QString here = QFileInfo(QStringLiteral(LEXIFOL_BIN)).absolutePath();
        QTest::newRow("a word with a slash") << QStringList{"and/or"} << int(Action::LookUp) << "and/or" << "";
        QTest::newRow("a folder") << QStringList{here} << int(Action::Add) << "" << "";
        QTest::newRow("a folder as a file URL") << QStringList{QUrl::fromLocalFile(here).toString()} << int(Action::Add) << "" << "";
        QTest::newRow("a web address") << QStringList{"https://example.org/bread"} << int(Action::Error) << "" << "";
        QTest::newRow("a path to nothing") << QStringList{"/nowhere/bread.djvu"} << int(Action::Error) << "" << "";
        QTest::newRow("a file that is no dictionary") << QStringList{QStringLiteral(LEXIFOL_BIN)} << int(Action::Error) << "" << "";
        QTest::newRow("a folder and a word") << QStringList{here, "bread"} << int(Action::Error) << "" << "";
        // clang-format on
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, action);
        const CommandLine c = ParseCommandLine(args);
        QCOMPARE(int(c.action), action);
        if (action == int(Action::Error)) {
            QVERIFY(!c.error.isEmpty() && !c.error.contains(u'\n'));
            return;
        }
        if (action == int(Action::Add)) {
            QCOMPARE(c.files, QStringList{QFileInfo(QStringLiteral(LEXIFOL_BIN)).absolutePath()});
            const std::optional<InstanceRequest> sent = DecodeRequest(EncodeRequest({false, {}, {}, c.files}));
            QVERIFY(sent && sent->add == c.files && !sent->lookUp);
        }
        if (action == int(Action::LookUp) || action == int(Action::Selection)) {
            QTEST(c.word, "word");
            QTEST(c.dictionary, "dictionary");
        }
    }

    void selectionWord_data()
    {
        // clang-format off
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("word");
        QTest::newRow("a word") << "bread" << "bread";
        QTest::newRow("punctuation around") << "  «bread», " << "bread";
        QTest::newRow("first line only") << "ice cream\nand more" << "ice cream";
        QTest::newRow("inner punctuation kept") << "well-being." << "well-being";
        QTest::newRow("at most 100 characters") << QString(150, u'a') << QString(100, u'a');
        QTest::newRow("nothing") << " \n " << "";
        QTest::newRow("punctuation only") << "...;" << "";
        // clang-format on
    }
    void selectionWord()
    {
        QFETCH(QString, selection);
        QTEST(SelectionWord(selection), "word");
    }

    void requests()
    {
        for (const InstanceRequest& r : {InstanceRequest{}, InstanceRequest{true, "", "bread"},
                                         InstanceRequest{true, "First words", "ice\tcream"}}) {
            const auto back = DecodeRequest(EncodeRequest(r));
            QVERIFY(back);
            QCOMPARE(back->lookUp, r.lookUp);
            QCOMPARE(back->dictionary, r.dictionary);
            QCOMPARE(back->word, QString(r.word).replace(u'\t', u' '));
        }
        for (const QByteArray& bad :
             {QByteArray("lookup\tbread\n"), QByteArray("raise"), QByteArray("LOOKUP\t\tx\n"),
              QByteArray("lookup\t\t \n"), QByteArray("lookup\t\t") + QByteArray(5000, 'a') + '\n'})
            QVERIFY2(!DecodeRequest(bad), bad.left(40).constData());
    }

    // Where the socket lies: a folder no other user can enter, or none.
    void socketFolder_data()
    {
        // clang-format off
        QTest::addColumn<QString>("runtime");   // "private", "open", "relative", "none"
        QTest::addColumn<QString>("own");       // the fallback as found: "absent", "open", "link"
        QTest::addColumn<QString>("chosen");    // "runtime", "own", "none"
        QTest::newRow("the runtime folder") << "private" << "absent" << "runtime";
        QTest::newRow("a runtime folder others can enter") << "open" << "absent" << "own";
        QTest::newRow("a relative runtime folder") << "relative" << "absent" << "own";
        QTest::newRow("no runtime folder") << "none" << "absent" << "own";
        QTest::newRow("our folder opened to others") << "none" << "open" << "none";
        QTest::newRow("our folder's name taken by a link") << "none" << "link" << "none";
        // clang-format on
    }
    void socketFolder()
    {
        QFETCH(QString, runtime);
        QFETCH(QString, own);
        QFETCH(QString, chosen);
        QTemporaryDir dir;
        const QString run = dir.filePath("run"), tmp = dir.filePath("tmp");
        QVERIFY(QDir().mkpath(run) && QDir().mkpath(tmp));
        QFile::setPermissions(run,
                              runtime == u"open" ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                      | QFile::ReadOther | QFile::ExeOther
                                                 : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString ours = tmp + QStringLiteral("/lexifol-%1").arg(::getuid());
        if (own == u"open")
            QVERIFY(QDir().mkpath(ours) && QFile::setPermissions(ours, QFileDevice::Permissions(0x7777)));
        if (own == u"link")
            QVERIFY(QFile::link(dir.path(), ours));
        const QString arg = runtime == u"none" ? QString() : runtime == u"relative" ? QStringLiteral("run") : run;
        const QString got = PrivateSocketFolder(arg, tmp);
        QCOMPARE(got, chosen == u"runtime" ? run : chosen == u"own" ? ours : QString());
    }

    // An instance that still answers keeps its socket: a second server on
    // the name does not take it.
    void busyInstanceKeepsItsSocket()
    {
        const QString name = InstanceName(QDir::tempPath() + "/lexifol-test-"
                                          + QString::number(QCoreApplication::applicationPid()));
        QVERIFY(!name.isEmpty());
        InstanceServer first(name, [](const InstanceRequest&, const InstanceServer::Reply& reply) { reply("first"); });
        QVERIFY(first.listening());
        InstanceServer second(name,
                              [](const InstanceRequest&, const InstanceServer::Reply& reply) { reply("second"); });
        QVERIFY(!second.listening());
        auto reply = std::async(std::launch::async, [&] { return HandOver(name, InstanceRequest{}, 2000, 5000); });
        QTRY_VERIFY(reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        QCOMPARE(reply.get().value_or("none"), QByteArray("first"));
    }

    // The real program twice: the second hands its word over and ends; the
    // first shows the page. A malformed or oversized message changes nothing.
    void handOverBetweenTwoProcesses()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t3", "bread\t7", "cake\t>bread"});
        fx.addDictionary("B", {"bun\t2"}, "[main]\r\nname=Bakery words\r\n");
        QVERIFY(QFile::copy(QStringLiteral(LEXIFOL_BIN), fx.prog + "lexifol"));
        QProcess first;
        first.setWorkingDirectory(fx.cwd);
        first.start(fx.prog + "lexifol", {});
        QVERIFY(first.waitForStarted());
        const QString name = InstanceName(fx.prog);
        QElapsedTimer t;
        t.start();
        while (!HandOver(name, InstanceRequest{}, 200) && t.elapsed() < 20000)
            QTest::qWait(50);
        auto run = [&](const QStringList& args) {
            QProcess p;
            p.setWorkingDirectory(fx.cwd);
            p.start(fx.prog + "lexifol", args);
            p.waitForFinished(20000);
            return std::make_pair(p.exitCode(), QString::fromUtf8(p.readAllStandardError()));
        };
        QCOMPARE(run({"cake"}).first, 0); // a cross-reference, followed
        QTRY_VERIFY_WITH_TIMEOUT(fx.pageFile().contains(" Page=7"), 10000);
        const auto unknown = run({"--dictionary", "Nowhere", "bun"});
        QCOMPARE(unknown.first, 2);
        QVERIFY2(unknown.second.contains("Nowhere"), qPrintable(unknown.second));
        for (const QByteArray& junk : {QByteArray(5000, 'x'), QByteArray("hello\n")}) {
            QLocalSocket s;
            s.connectToServer(name);
            QVERIFY(s.waitForConnected(2000));
            s.write(junk);
            s.waitForBytesWritten(2000);
            QVERIFY(s.waitForReadyRead(5000));
            QVERIFY(s.readAll().startsWith("lexifol: "));
        }
        QCOMPARE(run({"--dictionary", "bakery WORDS", "bun"}).first, 0); // by its title
        QTRY_VERIFY_WITH_TIMEOUT(fx.pageFile().contains("Data/B.files/B.djvu"), 10000);
        // A title changed while the window runs: not in its memory, so the
        // titles are read again before the answer.
        QVERIFY(QFile::remove(fx.prog + "Data/B.files/B.ini"));
        QFile ini(fx.prog + "Data/B.files/B.ini");
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("[main]\r\nname=Baker's handbook\r\n") > 0);
        ini.close();
        QCOMPARE(run({"--dictionary", "Baker's handbook", "bun"}).first, 0);
        QCOMPARE(run({"--dictionary", "bakery WORDS", "bun"}).first, 2);
        // A dictionary's folder opened with Lexifol is added, not looked up.
        const QString herbs = fx.cwd + "src/Herbs";
        QVERIFY(QDir().mkpath(herbs + "/Herbs.files"));
        Fixture::writeBytes(herbs + "/Herbs.list", Fixture::utf16({"basil\t1"}));
        Fixture::writeBytes(herbs + "/Herbs.files/1.djvu", "AT&TFORM");
        QCOMPARE(run({QUrl::fromLocalFile(herbs).toString()}).first, 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(fx.prog + "Data/Herbs.list"), 10000);
        first.terminate();
        first.waitForFinished(5000);
    }
};

QTEST_MAIN(TestInstance)
#include "test_instance.moc"
