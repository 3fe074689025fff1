// Where files lie: the one decision between a portable folder and an
// installed program, and the folders of each.
#include "Files.h"
#include "library/Catalogue.h"
#include "library/Locations.h"

#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace lexifol;

class LocationsTest : public QObject
{
    Q_OBJECT
private slots:
    void decision_data()
    {
        // clang-format off
        QTest::addColumn<QString>("holds");      // what the executable's folder holds
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("portable");
        QTest::newRow("a Data folder") << "Data" << true << true;
        QTest::newRow("Lexifol.ini") << "Lexifol.ini" << true << true;
        QTest::newRow("nothing of ours (/usr/bin)") << "" << true << false;
        QTest::newRow("read-only with a Data folder: its dictionaries, the user's files elsewhere") << "Data" << false << false;
        // clang-format on
    }
    void decision()
    {
        QFETCH(QString, holds);
        QFETCH(bool, writable);
        QFETCH(bool, portable);
        QTemporaryDir dir;
        const QString exe = dir.filePath("bin");
        QDir().mkpath(exe);
        if (holds == "Data")
            QDir().mkpath(exe + "/Data");
        else if (!holds.isEmpty())
            QVERIFY(writeBytes(exe + "/" + holds, ""));
        const XdgFolders xdg{dir.filePath("config/lexifol/"),
                             dir.filePath("data/lexifol/"),
                             dir.filePath("cache/lexifol/"),
                             {dir.filePath("share/lexifol/")}};
        // Writable or not as the folder is for an ordinary user (root writes everywhere).
        const Locations l = Locations::Decide(exe, xdg, writable);
        QCOMPARE(l.mode() == Locations::Mode::Portable, portable);
        if (portable) {
            QCOMPARE(l.settingsFile(), exe + "/Lexifol.ini");
            QCOMPARE(l.bookmarksFile(), QString("Bookmarks.dat")); // the current directory
            QCOMPARE(l.pageViewFile(), exe + "/temp.htm");
            QCOMPARE(l.dictionaryRoots(), QStringList{exe + "/"});
        } else {
            QCOMPARE(l.settingsFile(), xdg.config + "Lexifol.ini");
            QCOMPARE(l.bookmarksFile(), xdg.data + "Bookmarks.dat");
            QCOMPARE(l.catalogueFile(), xdg.data + "diclist.dat");
            QCOMPARE(l.pageViewFile(), xdg.cache + "temp.htm");
            const QStringList roots = holds == "Data" ? QStringList{xdg.data, exe + "/", xdg.shared.first()}
                                                      : QStringList{xdg.data, xdg.shared.first()};
            QCOMPARE(l.dictionaryRoots(), roots);
            QVERIFY(l.describe().contains(QDir::toNativeSeparators(xdg.data)));
            QCOMPARE(l.describe().contains("read-only"), holds == "Data");
        }
    }

    // The XDG rule: a relative path in the variables is ignored.
    void xdgVariables_data()
    {
        // clang-format off
        QTest::addColumn<QString>("configHome");
        QTest::addColumn<QString>("dataDirs");
        QTest::addColumn<QString>("config");     // expected, after the home folder
        QTest::addColumn<QStringList>("shared");
        QTest::newRow("absolute") << "/abs/cfg" << "/usr/share" << "" << QStringList{"/usr/share/lexifol/"};
        QTest::newRow("relative: ignored") << "rel/cfg" << "rel:/usr/share" << "/.config/lexifol/" << QStringList{"/usr/share/lexifol/"};
        // clang-format on
    }
    void xdgVariables()
    {
        QFETCH(QString, configHome);
        QFETCH(QString, dataDirs);
        QFETCH(QString, config);
        QFETCH(QStringList, shared);
        qputenv("XDG_CONFIG_HOME", configHome.toUtf8());
        qputenv("XDG_DATA_DIRS", dataDirs.toUtf8());
        const XdgFolders x = XdgFolders::FromEnvironment();
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_DIRS");
        QCOMPARE(x.config, config.isEmpty() ? configHome + "/lexifol/" : QDir::homePath() + config);
        QCOMPARE(x.shared, shared);
    }

    void firstStartPreparesTheUsersFolders()
    {
        QTemporaryDir dir;
        const QString package = dir.filePath("share/lexifol/");
        QVERIFY(QDir().mkpath(package));
        QVERIFY(writeBytes(package + "Plugin.dat", "zoom=width\r\n"));
        const XdgFolders xdg{
            dir.filePath("config/lexifol/"), dir.filePath("data/lexifol/"), dir.filePath("cache/lexifol/"), {package}};
        Locations l = Locations::Installed(xdg, package);
        QCOMPARE(l.prepareUserFolders(), QString());
        QCOMPARE(readBytes(l.sharedPluginList()), QByteArray("zoom=width\r\n"));
        QVERIFY(QFileInfo(xdg.data + "Data").isDir() && QFileInfo(xdg.cache).isDir() && QFileInfo(xdg.config).isDir());
        // Never over the user's own.
        QVERIFY(writeBytes(l.sharedPluginList(), "mine\r\n"));
        QCOMPARE(l.prepareUserFolders(), QString());
        QCOMPARE(readBytes(l.sharedPluginList()), QByteArray("mine\r\n"));
    }

    // The help and intro pages in the window's language when the package
    // has them.
    void pagesInTheWindowsLanguage()
    {
        QTemporaryDir dir;
        const Locations l = Locations::Portable(dir.path());
        QVERIFY(QDir().mkpath(dir.filePath("Help")) && QDir().mkpath(dir.filePath("Intro")));
        QVERIFY(writeBytes(dir.filePath("Help/main.htm"), "en") && writeBytes(dir.filePath("Help/main_ru.htm"), "ru"));
        QVERIFY(writeBytes(dir.filePath("Intro/intro.htm"), "en")
                && writeBytes(dir.filePath("Intro/intro_ru.htm"), "ru"));
        for (const auto& [language, page] :
             {std::pair{"ru_RU", "_ru.htm"}, {"ru", "_ru.htm"}, {"de_DE", ".htm"}, {"", ".htm"}, {"../x", ".htm"}}) {
            QCOMPARE(QFileInfo(l.helpPage(QString::fromLatin1(language))).fileName(),
                     "main" + QString::fromLatin1(page));
            QCOMPARE(QFileInfo(l.introPage(QString::fromLatin1(language))).fileName(),
                     "intro" + QString::fromLatin1(page));
        }
    }

    // A folder that cannot be written is said once, with why, and the
    // user's files go to a folder that can be.
    void unwritableFolderReplaced_data()
    {
        QTest::addColumn<int>("broken"); // 0 settings, 1 data, 2 cache
        QTest::newRow("settings") << 0;
        QTest::newRow("data") << 1;
        QTest::newRow("cache") << 2;
    }
    void unwritableFolderReplaced()
    {
        QFETCH(int, broken);
        QTemporaryDir dir;
        QVERIFY(writeBytes(dir.filePath("file"), "x"));
        QStringList folders{dir.filePath("config/lexifol/"), dir.filePath("data/lexifol/"),
                            dir.filePath("cache/lexifol/")};
        folders[broken] = dir.filePath("file/lexifol/"); // a path through a file: even root cannot write there
        Locations l = Locations::Installed(XdgFolders{folders[0], folders[1], folders[2], {}}, dir.filePath("share/"));
        const QString said = l.prepareUserFolders(dir.filePath("tmp"));
        QVERIFY2(said.contains(QDir::toNativeSeparators(folders[broken])) && said.contains("is not a folder")
                     && said.contains(QDir::toNativeSeparators(dir.filePath("tmp"))),
                 qPrintable(said));
        for (const QString& path : {l.settingsFile(), l.bookmarksFile(), l.catalogueFile(), l.dataFolder() + "/x.list",
                                    l.cacheFolder() + "x"})
            QVERIFY2(writeBytes(path, "y"), qPrintable(path));
        QCOMPARE(l.prepareUserFolders(dir.filePath("tmp")),
                 QString()); // said once: the folders used now can be written
    }

    void userDictionaryBeforeAShippedOne()
    {
        QTemporaryDir dir;
        const QString user = dir.filePath("user/"), shipped = dir.filePath("shipped/");
        QDir().mkpath(user + "Data");
        QDir().mkpath(shipped + "Data");
        QVERIFY(writeBytes(user + "Data/Mine.list", "a\t1"));
        QVERIFY(writeBytes(user + "Data/Both.list", "a\t1"));
        QVERIFY(writeBytes(shipped + "Data/Both.list", "a\t1"));
        QVERIFY(writeBytes(shipped + "Data/Sample.list", "a\t1"));
        Catalogue c;
        c.load({user, shipped}, dir.filePath("none.dat"));
        QCOMPARE(c.names(), (QStringList{"Both", "Mine", "Sample"}));
        QCOMPARE(c.root(c.find("Both")), user);
        QCOMPARE(c.root(c.find("Sample")), shipped);
    }
};

QTEST_GUILESS_MAIN(LocationsTest)
#include "test_locations.moc"
