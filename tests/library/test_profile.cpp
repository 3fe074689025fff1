// INI files read and written with Windows profile-string semantics.
#include "base/CodePage.h"
#include "library/Language.h"
#include "library/Profile.h"
#include "Files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

using lexifol::ProfileFile;

class TestProfile : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString ini() const { return dir.filePath(QStringLiteral("Lexifol.ini")); }

private slots:
    void initTestCase() { lexifol::SetAnsiLocale(QStringLiteral("ru_RU.UTF-8")); }
    void cleanup() { QFile::remove(ini()); }

    void read_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QString d = QStringLiteral("<def>");
        QTest::newRow("names ignore case") << QByteArray("[Main]\r\nAdvanced=1\r\n") << "MAIN" << "advanced" << "1";
        QTest::newRow("first key counts") << QByteArray("[s]\r\nk=a\r\nK=b\r\n") << "s" << "k" << "a";
        QTest::newRow("first section counts") << QByteArray("[s]\r\nx=1\r\n[S]\r\nk=b\r\n") << "s" << "k" << d;
        QTest::newRow("blanks trimmed") << QByteArray("  [ s ]  \r\n\tk  =  v w \t\r\n") << "s" << "k" << "v w";
        QTest::newRow("double quotes") << QByteArray("[s]\r\nk=\" a \"\r\n") << "s" << "k" << " a ";
        QTest::newRow("unmatched quotes kept") << QByteArray("[s]\r\nk=\"x'\r\n") << "s" << "k" << "\"x'";
        QTest::newRow("comment skipped") << QByteArray("[s]\r\n;k=c\r\n k=d\r\n") << "s" << "k" << "d";
        QTest::newRow("empty value is no default") << QByteArray("[s]\r\nk=\r\n") << "s" << "k" << "";
        QTest::newRow("key without = shadows") << QByteArray("[s]\r\nk\r\nk=v\r\n") << "s" << "k" << d;
        QTest::newRow("CR breaks, no last break") << QByteArray("[s]\rk=v") << "s" << "k" << "v";
        QTest::newRow("ANSI 1251") << QByteArray("[\xD0\xE0\xE7\xE4\xE5\xEB]\r\nk=\xEC\xE8\xF0\r\n")
                                  << QStringLiteral("раздел") << "k" << QStringLiteral("мир");
        // clang-format on
    }
    void read()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QVERIFY(writeBytes(ini(), content));
        bool ok = false;
        QCOMPARE(ProfileFile(ini()).readString(section, key, QStringLiteral("<def>"), &ok), expected);
        QVERIFY(ok);
    }

    // The translation chosen: [View] Language, else gettext's order.
    void language_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QStringList>("environment"); // NAME=value
        QTest::addColumn<QStringList>("candidates");
        // clang-format off
        QTest::newRow("LANG") << "" << QStringList{"LANG=ru_RU.UTF-8"} << QStringList{"ru_RU", "ru"};
        QTest::newRow("LC_MESSAGES over LANG") << "" << QStringList{"LANG=de_DE.UTF-8", "LC_MESSAGES=ru_UA.UTF-8"} << QStringList{"ru_UA", "ru"};
        QTest::newRow("LC_ALL over both") << "" << QStringList{"LANG=ru_RU", "LC_MESSAGES=ru_RU", "LC_ALL=uk_UA.UTF-8@x"} << QStringList{"uk_UA", "uk"};
        QTest::newRow("LANGUAGE first") << "" << QStringList{"LANG=de_DE.UTF-8", "LANGUAGE=ru:fr"} << QStringList{"ru", "fr", "de_DE", "de"};
        QTest::newRow("LANGUAGE unheard in C") << "" << QStringList{"LANG=C", "LANGUAGE=ru"} << QStringList{};
        QTest::newRow("POSIX") << "" << QStringList{"LC_ALL=POSIX"} << QStringList{};
        QTest::newRow("nothing set") << "" << QStringList{} << QStringList{};
        QTest::newRow("English stops the list") << "" << QStringList{"LANG=ru_RU", "LANGUAGE=en_GB:ru"} << QStringList{};
        QTest::newRow("setting wins") << "ru" << QStringList{"LANG=de_DE.UTF-8"} << QStringList{"ru"};
        QTest::newRow("setting English") << "en" << QStringList{"LANG=ru_RU.UTF-8"} << QStringList{};
        QTest::newRow("setting system") << "system" << QStringList{"LANG=ru_RU.UTF-8"} << QStringList{"ru_RU", "ru"};
        QTest::newRow("nonsense ignored") << "" << QStringList{"LANG=ru_RU", "LANGUAGE=../../x:ru"} << QStringList{"ru", "ru_RU"};
        // clang-format on
    }
    void language()
    {
        QFETCH(QString, setting);
        QFETCH(QStringList, environment);
        QFETCH(QStringList, candidates);
        const auto env = [&environment](const char* name) {
            for (const QString& pair : environment)
                if (pair.section(u'=', 0, 0) == QLatin1StringView(name))
                    return pair.section(u'=', 1);
            return QString();
        };
        QCOMPARE(lexifol::TranslationCandidates(setting, env), candidates);
    }

    // The memory budgets: megabytes, the default for a value that is none.
    void memoryBudgets_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<qint64>("dictionaryMb");
        QTest::addColumn<qint64>("pageImagesMb");
        QTest::addColumn<qint64>("pageTextsMb");
        // clang-format off
        QTest::newRow("defaults") << QByteArray() << qint64(512) << qint64(96) << qint64(8);
        QTest::newRow("all set") << QByteArray("[Memory]\r\nDictionaryCacheMB=100\r\nPageImagesMB=40\r\nPageTextsMB=3\r\n") << qint64(100) << qint64(40) << qint64(3);
        QTest::newRow("none kept") << QByteArray("[Memory]\r\nPageImagesMB=0\r\n") << qint64(512) << qint64(0) << qint64(8);
        QTest::newRow("not a number, negative") << QByteArray("[Memory]\r\nDictionaryCacheMB=lots\r\nPageImagesMB=-5\r\nPageTextsMB=x\r\n") << qint64(512) << qint64(96) << qint64(8);
        // clang-format on
    }
    void memoryBudgets()
    {
        QFETCH(QByteArray, ini);
        QVERIFY(writeBytes(this->ini(), ini));
        const lexifol::ViewSettings v = lexifol::ReadViewSettings(ProfileFile(this->ini()));
        QTEST(qint64(v.cacheBytes >> 20), "dictionaryMb");
        QTEST(v.pageImageBytes >> 20, "pageImagesMb");
        QTEST(v.pageTextBytes >> 20, "pageTextsMb");
    }

    void missingAndUnreadable()
    {
        bool ok = false;
        QCOMPARE(ProfileFile(ini()).readString("s", "k", "d", &ok), QStringLiteral("d"));
        QVERIFY(ok);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("dir.ini")));
        ProfileFile asDir(dir.filePath(QStringLiteral("dir.ini")));
        QVERIFY(asDir.exists());
        QCOMPARE(asDir.readString("s", "k", "d", &ok), QStringLiteral("d"));
        QVERIFY(!ok);
        QVERIFY(!asDir.writeString("s", "k", "v"));
    }

    void readBool_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("value");   // null: no key at all
        QTest::addColumn<bool>("def");
        QTest::addColumn<bool>("expected");
        QTest::newRow("1") << QByteArray("1") << false << true;
        QTest::newRow("0") << QByteArray("0") << true << false;
        QTest::newRow("blanks around 1") << QByteArray(" 1 ") << false << true;
        QTest::newRow("0x10") << QByteArray("0x10") << false << true;
        QTest::newRow("0x0") << QByteArray("0x0") << true << false;
        QTest::newRow("abc keeps default") << QByteArray("abc") << true << true;
        QTest::newRow("1abc") << QByteArray("1abc") << false << false;
        QTest::newRow("hex overflow") << QByteArray("0x100000000") << true << true;
        QTest::newRow("missing") << QByteArray() << true << true;
        // clang-format on
    }
    void readBool()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, def);
        QFETCH(bool, expected);
        QVERIFY(writeBytes(
            ini(), value.isNull() ? QByteArray("[Scroll]\r\n") : "[Scroll]\r\nBrowser_Mouse=" + value + "\r\n"));
        QCOMPARE(ProfileFile(ini()).readBool("scroll", "browser_mouse", def), expected);
    }

    void write_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("before");   // null: no file
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("replace, rest kept") << QByteArray("; c\r\n[A]\r\n x = 1\r\nK=old\r\nk=dup\r\n\r\n[B]\r\nk=2\r\n")
            << "a" << "k" << QByteArray("; c\r\n[A]\r\n x = 1\r\nK=new\r\nk=dup\r\n\r\n[B]\r\nk=2\r\n");
        QTest::newRow("new key after last key") << QByteArray("[A]\r\nx=1\r\n\r\n;n\r\n[B]\r\n")
            << "A" << "y" << QByteArray("[A]\r\nx=1\r\ny=new\r\n\r\n;n\r\n[B]\r\n");
        QTest::newRow("new key in keyless section") << QByteArray("[A]\n;n\n")
            << "A" << "k" << QByteArray("[A]\nk=new\r\n;n\n");
        QTest::newRow("new section at end") << QByteArray("[A]\r\nx=1")
            << "B" << "k" << QByteArray("[A]\r\nx=1\r\n[B]\r\nk=new\r\n");
        QTest::newRow("no file") << QByteArray() << "S" << "k" << QByteArray("[S]\r\nk=new\r\n");
        // clang-format on
    }
    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, after);
        if (!before.isNull())
            QVERIFY(writeBytes(ini(), before));
        ProfileFile p(ini());
        QVERIFY(p.writeString(section, key, QStringLiteral("new")));
        QCOMPARE(readBytes(ini()), after);
        QCOMPARE(p.readString(section, key), QStringLiteral("new"));
    }

    void writeReplacesFileWhole()
    {
        // A hard link to the old file keeps the old content: the new file
        // was put in place by rename, never written over the old one.
        QVERIFY(writeBytes(ini(), "[A]\r\nk=1\r\n"));
        const QString link = dir.filePath(QStringLiteral("old.ini"));
        QVERIFY(::link(QFile::encodeName(ini()).constData(), QFile::encodeName(link).constData()) == 0);
        QVERIFY(ProfileFile(ini()).writeString("A", "k", "2"));
        QCOMPARE(readBytes(link), QByteArray("[A]\r\nk=1\r\n"));
        QCOMPARE(readBytes(ini()), QByteArray("[A]\r\nk=2\r\n"));
        QFile::remove(link);
    }

    void writeReadOnlyFails()
    {
        QVERIFY(writeBytes(ini(), "[A]\r\nk=1\r\n"));
        QVERIFY(QFile::setPermissions(ini(), QFile::ReadOwner | QFile::ReadGroup));
        QVERIFY(!ProfileFile(ini()).writeString("A", "k", "2"));
        QCOMPARE(readBytes(ini()), QByteArray("[A]\r\nk=1\r\n"));
        QFile::setPermissions(ini(), QFile::ReadOwner | QFile::WriteOwner);
    }

    void writeKeepsUnicodeForm()
    {
        // "[m]\r\nk=я\r\n" in UTF-16LE with its mark; the new value and line
        // break must come out in the same form.
        const QString text = QStringLiteral("[m]\r\nk=я\r\n");
        QVERIFY(writeBytes(ini(), utf16le(text)));
        ProfileFile p(ini(), ProfileFile::Encoding::Detect);
        QCOMPARE(p.readString("M", "K"), QStringLiteral("я"));
        QVERIFY(p.writeString("m", "n", QStringLiteral("ё")));
        QCOMPARE(readBytes(ini()), utf16le(QStringLiteral("[m]\r\nk=я\r\nn=ё\r\n")));
    }

    void writeDropsOddUtf16Byte()
    {
        // "ab" and half a unit: the half unit is no text, and every line
        // written after it must still stand on whole units.
        QVERIFY(writeBytes(ini(), QByteArray("\xFF\xFE\x61\x00\x62", 5)));
        ProfileFile p(ini(), ProfileFile::Encoding::Detect);
        QVERIFY(p.writeString("main", "name", QStringLiteral("v9")));
        QCOMPARE(p.readString("main", "name"), QStringLiteral("v9"));
        QCOMPARE(readBytes(ini()), utf16le(QStringLiteral("a\r\n[main]\r\nname=v9\r\n")));
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "test_profile.moc"
