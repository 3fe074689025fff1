// Opening a dictionary: paths, descriptor and the plug-in parameter list.
#include "base/CodePage.h"
#include "index/Collation.h"
#include "library/ActiveDictionary.h"
#include "library/Dictionary.h"
#include "library/PrintedPages.h"
#include "Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;

namespace {
const QByteArray kDir("\x01<dir>"); // stands for a folder where a file is expected

bool place(const QString& path, const QByteArray& content)
{
    if (content.isNull())
        return true;
    if (content == kDir)
        return QDir().mkpath(path);
    return writeBytes(path, content);
}

} // namespace

class TestDictionary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SetAnsiLocale(QStringLiteral("ru_RU.UTF-8")); }

    void paths()
    {
        const DictionaryPaths p{QStringLiteral("/opt/lx/"), QStringLiteral("Ожегов"), {}};
        QCOMPARE(p.firstIndex(), QStringLiteral("/opt/lx/Data/Ожегов.list"));
        QCOMPARE(p.descriptor(), QStringLiteral("/opt/lx/Data/Ожегов.files/Ожегов.ini"));
        QCOMPARE(p.pluginList(), QStringLiteral("/opt/lx/Data/Ожегов.files/Plugin.dat"));
    }

    void descriptor_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QStringLiteral(
            "; словарь\r\n[Main]\r\nNAME = Толковый словарь\r\nKeyboard_Layout=00000419\r\n"
            "whole_file=\"no\"\r\n[other]\r\ntext_layer=yes\r\n");
        QTest::newRow("UTF-16LE mark") << utf16le(text);
        QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        QTest::newRow("ANSI") << Ansi().encode(text);
    }
    void descriptor()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("d.ini"));
        QVERIFY(place(path, bytes));
        const Descriptor d = ReadDescriptor(path);
        QVERIFY(!d.readFailed);
        QCOMPARE(d.name, std::optional<QString>(QStringLiteral("Толковый словарь")));
        QCOMPARE(d.keyboardLayout, std::optional<QString>(QStringLiteral("00000419")));
        QCOMPARE(d.wholeFile, std::optional<QString>(QStringLiteral("no")));
        QCOMPARE(d.textLayer, std::optional<QString>(QString())); // read, but not in [main]
        QCOMPARE(WholeFileValue(d.wholeFile), QStringLiteral("no"));
        QVERIFY(!TextLayerVisible(d.textLayer));
    }

    void descriptorUnreadable()
    {
        QTemporaryDir dir;
        const Descriptor d = ReadDescriptor(dir.path());
        QVERIFY(d.readFailed);
        QVERIFY(!d.name && !d.keyboardLayout && !d.wholeFile && !d.textLayer);
    }

    void exactValues()
    {
        using V = std::optional<QString>;
        QCOMPARE(WholeFileValue(V(QStringLiteral("No"))), QStringLiteral("yes"));
        QCOMPARE(WholeFileValue(V()), QStringLiteral("yes"));
        QVERIFY(TextLayerVisible(V(QStringLiteral("yes"))));
        QVERIFY(!TextLayerVisible(V(QStringLiteral("Yes"))));
        QCOMPARE(BuiltInPluginParameters(),
                 (QByteArrayList{"width=\"100%\"", "height=\"100%\"", "Toolbar=no", "ScrollBars=no", "zoom=width"}));
    }

    // The two keys that say how the index is read, through the opening.
    void indexKeys_data()
    {
        // clang-format off
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("pageIndex");
        QTest::addColumn<QString>("collation");   // empty: the user's locale
        QTest::addColumn<bool>("message");
        QTest::newRow("none") << "" << false << "" << false;
        QTest::newRow("page index") << "page_index=yes\r\n" << true << "" << false;
        QTest::newRow("page index, other case") << "page_index=Yes\r\n" << false << "" << false;
        QTest::newRow("page index no") << "page_index=no\r\n" << false << "" << false;
        QTest::newRow("Swedish") << "collation=sv\r\n" << false << "sv" << false;
        QTest::newRow("traditional Spanish") << "collation=es@collation=traditional\r\n" << false
                                             << "es@collation=traditional" << false;
        QTest::newRow("unknown") << "collation=klingon\r\n" << false << "" << true;
        QTest::newRow("empty") << "collation=\r\n" << false << "" << false;
        // clang-format on
    }
    void indexKeys()
    {
        QFETCH(QString, keys);
        QFETCH(bool, pageIndex);
        QFETCH(QString, collation);
        QFETCH(bool, message);
        QTemporaryDir dir;
        const QString root = dir.path() + u'/';
        QVERIFY(QDir().mkpath(root + QStringLiteral("Data/D.files")));
        QVERIFY(writeBytes(root + QStringLiteral("Data/D.files/Plugin.dat"), "zoom=width\r\n"));
        QVERIFY(writeBytes(root + QStringLiteral("Data/D.list"), "a\t1\r\nb\t2\r\n"));
        QVERIFY(writeBytes(root + QStringLiteral("Data/D.files/D.ini"), "[main]\r\nname=D\r\n" + keys.toLatin1()));
        ActiveDictionary d;
        // A dictionary opened before must not pass its keys on.
        d.pageIndex = true;
        d.collation = IndexCollation::ForLocale(QStringLiteral("de"));
        const OpenOutcome out = d.open({root, QStringLiteral("D"), false, false});
        QVERIFY(out.opened);
        QCOMPARE(d.pageIndex, pageIndex);
        QCOMPARE(d.indexes().pageIndex, pageIndex);
        QCOMPARE(d.collation ? d.collation->locale() : QString(), collation);
        QCOMPARE(&d.indexes().collation, d.collation ? d.collation : &IndexCollation::Default());
        const bool told = !out.messages.filter(QStringLiteral("Unknown collation \"klingon\"")).isEmpty()
            && !out.messages.filter(QStringLiteral("D.ini")).isEmpty();
        QCOMPARE(told, message);
        QCOMPARE(out.messages.size(), message ? 1 : 0);
    }

    // Read alongside the first index at an opening from the catalogue.
    void secondIndexAtOpening_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("second");   // null: no file
        QTest::addColumn<bool>("firstReadable");
        QTest::addColumn<int>("rows");
        const QByteArray none;
        QTest::newRow("none") << none << true << 0;
        QTest::newRow("as many lines") << QByteArray("A\r\nB\r\n") << true << 2;
        QTest::newRow("one line short") << QByteArray("A\r\n") << true << 0;
        QTest::newRow("a folder in its place") << kDir << true << 0;
        QTest::newRow("first index unreadable") << QByteArray("A\r\nB\r\n") << false << 0;
        // clang-format on
    }
    void secondIndexAtOpening()
    {
        QFETCH(QByteArray, second);
        QFETCH(bool, firstReadable);
        QFETCH(int, rows);
        QTemporaryDir dir;
        const QString root = dir.path() + u'/';
        const QString folder = root + QStringLiteral("Data/D.files/");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeBytes(folder + QStringLiteral("Plugin.dat"), "zoom=width\r\n"));
        const QString list = root + QStringLiteral("Data/D.list");
        QVERIFY(firstReadable ? writeBytes(list, "a\t1\r\nb\t2\r\n") : QDir().mkpath(list));
        QVERIFY(place(folder + QStringLiteral("secondindex.list"), second));
        ActiveDictionary d;
        const OpenOutcome out = d.open({root, QStringLiteral("D"), false, false});
        QCOMPARE(out.opened, firstReadable);
        QCOMPARE(d.second.count(), rows);
        if (rows > 0)
            QCOMPARE(d.second.line(1).toString(), QStringLiteral("B"));
        // Only start-up tells of a second index that does not match.
        QVERIFY(out.messages.filter(QStringLiteral("Second index")).isEmpty());
    }

    void plugin_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("own");      // null: no file
        QTest::addColumn<QByteArray>("shared");   // "Plugin.dat" in the current directory
        QTest::addColumn<bool>("catalogueEmpty");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArrayList>("params");   // empty: the built-ins
        QTest::addColumn<QString>("message");         // %OWN: the own file's path
        QTest::addColumn<QString>("readError");       // %OWN, %SHARED: full paths
        const QByteArray none;
        const QByteArrayList builtIn;
        const QString mayHaveErrors = QStringLiteral("\r\nThis file may have errors.");
        QTest::newRow("own file") << QByteArray("zoom=page\r\nToolbar=yes\r\n") << QByteArray("x=1")
            << false << "D" << QByteArrayList{"zoom=page", "Toolbar=yes"} << "" << "";
        QTest::newRow("raw bytes, mixed breaks") << QByteArray("\xE9=1\nb=2\rc=3") << none << false << "D"
            << QByteArrayList{"\xE9=1", "b=2", "c=3"} << "" << "";
        QTest::newRow("only an empty line") << QByteArray("\r\n") << QByteArray("x=1") << false << "D"
            << QByteArrayList{""} << "" << "";
        QTest::newRow("empty own, good shared") << QByteArray("") << QByteArray("x=1") << false << "D"
            << builtIn << "Check %OWN" + mayHaveErrors << "";
        QTest::newRow("shared from current dir") << none << QByteArray("x=1\r\n\r\n") << false << "D"
            << QByteArrayList{"x=1", ""} << "" << "";
        QTest::newRow("no dictionary open") << none << QByteArray("x=1") << false << ""
            << QByteArrayList{"x=1"} << "" << "";
        QTest::newRow("empty shared") << none << QByteArray("") << false << "D"
            << builtIn << "Check Plugin.dat" + mayHaveErrors << "";
        QTest::newRow("nowhere") << none << none << false << "D" << builtIn << "Can not open Plugin.dat" << "";
        QTest::newRow("catalogue empty") << none << none << true << "" << builtIn << "" << "";
        QTest::newRow("own unreadable") << kDir << QByteArray("x=1") << false << "D"
            << QByteArrayList{} << "" << "%OWN";
        QTest::newRow("shared unreadable") << none << kDir << false << "D"
            << QByteArrayList{} << "" << "%SHARED";
        // clang-format on
    }
    void plugin()
    {
        QFETCH(QByteArray, own);
        QFETCH(QByteArray, shared);
        QFETCH(bool, catalogueEmpty);
        QFETCH(QString, name);
        QFETCH(QByteArrayList, params);
        QFETCH(QString, message);
        QFETCH(QString, readError);
        QTemporaryDir program, cwd;
        const DictionaryPaths dict{program.path() + '/', name, {}};
        QVERIFY(QDir().mkpath(dict.folder()));
        QVERIFY(place(dict.pluginList(), own));
        QVERIFY(place(cwd.filePath(QStringLiteral("Plugin.dat")), shared));
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(cwd.path()));
        const PluginLoad r = LoadPluginParameters(dict, catalogueEmpty);
        QDir::setCurrent(previous);

        if (params.isEmpty() && readError.isEmpty())
            params = BuiltInPluginParameters();
        QCOMPARE(r.parameters, params);
        QCOMPARE(r.message, QString(message).replace("%OWN", dict.pluginList()));
        QCOMPARE(r.unreadable,
                 QString(readError)
                     .replace("%OWN", dict.pluginList())
                     .replace("%SHARED", QDir(cwd.path()).canonicalPath() + "/Plugin.dat"));
    }

    // Pages numbered as printed: by the document's titles, else by the
    // descriptor's offset; "#N" is always the file's page.
    void printedPages_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("offset");   // as the descriptor gives it
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("goesTo");
        const QStringList roman{"i", "ii", "", "1", "2"};
        QTest::newRow("offset: a page after the front matter") << QStringList{} << "2" << 4 << "3" << "3" << 4;
        QTest::newRow("offset: front matter has no number") << QStringList{} << "2" << 1 << "" << "0" << -1;
        QTest::newRow("offset: past the end") << QStringList{} << "2" << 0 << "" << "9" << -1;
        QTest::newRow("no offset: file pages") << QStringList{} << "" << 2 << "" << "3" << 2;
        QTest::newRow("not a number") << QStringList{} << "x" << 2 << "" << "3" << 2;
        QTest::newRow("titles") << roman << "7" << 4 << "2" << "II" << 1;
        QTest::newRow("a page without a title") << roman << "" << 2 << "" << "5" << -1;
        QTest::newRow("the file's page") << roman << "" << 0 << "i" << "#5" << 4;
        QTest::newRow("the file's page, past the end") << roman << "" << 0 << "i" << "#6" << -1;
        // clang-format on
    }
    void printedPages()
    {
        QFETCH(QStringList, titles);
        QFETCH(QString, offset);
        QFETCH(int, index);
        QFETCH(QString, typed);
        const PrintedPages pages(titles,
                                 PageOffsetValue(offset.isEmpty() ? std::nullopt : std::optional<QString>(offset)), 5);
        QTEST(pages.printed(index), "printed");
        QTEST(pages.indexOf(typed), "goesTo");
    }
};

QTEST_GUILESS_MAIN(TestDictionary)
#include "test_dictionary.moc"
