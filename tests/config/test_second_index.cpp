// The "Second index" page: Add&Check, Start and the order checks with their
// messages, files and the switch to the built dictionary.
#include "config/Messages.h"
#include "config/ConfigurationDialog.h"
#include "base/CodePage.h"
#include "index/Collation.h"
#include "library/Profile.h"

#include <QCheckBox>
#include <QComboBox>
#include "common/TestFiles.h"
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace lexifol;

namespace {
struct Link : MainWindowLink {
    QString folder;
    QStringList reopened;
    bool preview = false;
    void setPreviewVisible(bool v) override { preview = v; }
    QString programFolder() const override { return folder; }
    void reopenDictionary(const QString& name) override { reopened << name; }
};

} // namespace

class TestSecondIndex : public QObject
{
    Q_OBJECT
    QTemporaryDir dir_;
    QString prog_;
    Link link_;
    QStringList shown_;
    MessageHandler old_;

    std::unique_ptr<ConfigurationDialog> dialog(const QStringList& catalogue)
    {
        ProfileFile* none = nullptr;
        auto d = std::make_unique<ConfigurationDialog>(catalogue, none);
        d->setMainWindow(&link_);
        return d;
    }

private slots:
    void initTestCase()
    {
        SetAnsiLocale(QStringLiteral("en_US.UTF-8"));
        IndexCollation::SetDefaultLocale(QStringLiteral("en_US"));
        old_ = SetMessageHandler(
            [this](const Message& m) { shown_ << (m.icon == MsgIcon::Error ? "E:" : "I:") + m.text; });
    }
    void cleanupTestCase() { SetMessageHandler(old_); }
    void init()
    {
        shown_.clear();
        link_ = Link();
        prog_ = dir_.path() + QStringLiteral("/p%1/").arg(QTest::currentTestFunction());
        link_.folder = prog_;
        put(prog_ + "Data/D.list", "caf\xE9\t3\r\nco-op\t4\r\nabc\r\n");
        QDir().mkpath(prog_ + "Data/D.files");
    }

    void addAndCheck()
    {
        auto d = dialog({"D"});
        QVERIFY(!d->startButton->isEnabled());
        d->rulesEditor->setPlainText("a=b\nc=d\nef");
        d->addAndCheckRules();
        QCOMPARE(shown_, QStringList{"E:Error (line 2)"});
        QCOMPARE(d->acceptedRuleList->count(), 0);
        QVERIFY(!d->startButton->isEnabled());
        d->rulesEditor->setPlainText(QStringLiteral("é=e\n-=\n"));
        d->addAndCheckRules();
        QCOMPARE(d->acceptedRuleList->count(), 2);
        QCOMPARE(d->AcceptedRules, (QByteArrayList{"\xC3\xA9=e", "-="}));
        QVERIFY(d->startButton->isEnabled());
        // A bad editor later keeps Start enabled; clearing keeps it too.
        d->rulesEditor->setPlainText("x");
        d->addAndCheckRules();
        QVERIFY(d->startButton->isEnabled());
        d->clearAcceptedRules();
        QVERIFY(d->AcceptedRules.isEmpty() && d->startButton->isEnabled());
        QCOMPARE(d->addCheckButton->text(), QStringLiteral("Add&&Check"));
    }

    void start_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("catalogue");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("written");
        QTest::newRow("built") << QStringList{"D"} << QStringLiteral("é=e\n-=") << true
                               << QStringList{"I:Second index was created successfully"} << true;
        QTest::newRow("no rules") << QStringList{"D"} << QString() << true
                                  << QStringList{"E:Empty list", "E:Can not create second index"} << false;
        QTest::newRow("empty catalogue") << QStringList{} << QString() << true
                                         << QStringList{"E:Can not create second index"} << false;
        QTest::newRow("no dictionary folder") << QStringList{"D"} << QStringLiteral("a=b") << false
                                              << QStringList{"E:Can not create second index"} << false;
        // clang-format on
    }
    void start()
    {
        QFETCH(QStringList, catalogue);
        QFETCH(QString, rules);
        QFETCH(bool, folder);
        if (!folder)
            QDir(prog_ + "Data/D.files").removeRecursively();
        auto d = dialog(catalogue);
        d->rulesEditor->setPlainText(rules);
        d->addAndCheckRules();
        d->startSecondIndex();
        QTEST(shown_, "messages");
        QFETCH(bool, written);
        QCOMPARE(link_.reopened, written ? QStringList{"D"} : QStringList{});
        QCOMPARE(QFileInfo::exists(prog_ + "Data/D.files"), folder);
        if (!written)
            return;
        QCOMPARE(get(prog_ + "Data/D.files/replacelist.dat"), QByteArray("\xC3\xA9=e\r\n-=\r\n"));
        QByteArray second("\xFF\xFE", 2);
        for (const char* l : {"cafe\r\n", "coop\r\n", "\r\n"})
            for (const char* c = l; *c; ++c)
                second.append(*c).append('\0');
        QCOMPARE(get(prog_ + "Data/D.files/secondindex.list"), second);
    }

    void checks_data()
    {
        // clang-format off
        QTest::addColumn<bool>("second");
        QTest::addColumn<QByteArray>("content");   // null: no file
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("log");      // without the header; empty: no log
        QTest::newRow("first in order") << false << QByteArray("apple\t1\r\nbanana\t1\r\ncherry\t2\r\n")
                                        << "I:Sorting of first index is correct!" << QStringList{"No errors was found."};
        QTest::newRow("first with an error") << false << QByteArray("apple\t1\r\ncherry\t1\r\nbanana\t2\r\n")
                                             << "E:D.list contains errors.\r\nCheck %LOG"
                                             << QStringList{"Error: item on line 2 must be lower than item on line 3"};
        QTest::newRow("single line") << false << QByteArray("apple\t1\r\n") << "" << QStringList{};
        QTest::newRow("no second index") << true << QByteArray() << "I:There is no second index for this dictionary."
                                         << QStringList{};
        QTest::newRow("second with an empty line") << true << QByteArray("a\r\n\r\nb\r\n")
                                                   << "E:D\\secondindex.list contains errors.\r\nCheck %LOG"
                                                   << QStringList{"Error: item on line 1 must be lower than item on line 2"};
        // clang-format on
    }
    void checks()
    {
        QFETCH(bool, second);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFETCH(QStringList, log);
        const QString file = second ? prog_ + "Data/D.files/secondindex.list" : prog_ + "Data/D.list";
        QFile::remove(file);
        if (!content.isNull())
            put(file, content);
        put(prog_ + "IndexErrors.log", "earlier\r\n");
        auto d = dialog({"D"});
        second ? d->checkSecondIndexOrder() : d->checkFirstIndexOrder();
        const QString logPath = prog_ + "IndexErrors.log";
        QCOMPARE(shown_, message.isEmpty() ? QStringList{} : QStringList{QString(message).replace("%LOG", logPath)});
        const QStringList written = QString::fromLatin1(get(logPath)).split("\r\n");
        if (log.isEmpty()) {
            QCOMPARE(written, (QStringList{"earlier", ""}));
            return;
        }
        QVERIFY(written.first().startsWith(second ? "D\\secondindex.list (" : "D ("));
        QCOMPARE(written.mid(1), log + QStringList{""});
    }

    void previewSwitch()
    {
        auto d = dialog({"D"});
        d->previewCheck->setChecked(true);
        QVERIFY(link_.preview);
        d->previewCheck->setChecked(false);
        QVERIFY(!link_.preview);
    }
};

QTEST_MAIN(TestSecondIndex)
#include "test_second_index.moc"
