// The page view file: its one line for each kind of page, its bytes, its
// writing, and reading its embed tag back.
#include "base/CodePage.h"
#include "pageview/Composition.h"
#include "pageview/EmbedTag.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;

namespace {

const QString kHead = QStringLiteral(
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=1251\"><title></title></head>"
    "<BODY SCROLL=NO><embed type=\"image/vnd.djvu\" SRC=\"file:\\\\localhost\\");
const QString kTail = QStringLiteral("> </embed></body></html>");

QByteArrayList BuiltIn()
{
    return {"width=\"100%\"", "height=\"100%\"", "Toolbar=no", "ScrollBars=no", "zoom=width"};
}
const QString kBuiltInText = QStringLiteral(" width=\"100%\" height=\"100%\" Toolbar=no ScrollBars=no zoom=width");

} // namespace

class CompositionTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SetAnsiLocale(QStringLiteral("ru_RU.UTF-8")); }

    void composeLine_data();
    void composeLine();
    void headwordCaseTreatsAnnotationAsPage();
    void fileBytes_data();
    void fileBytes();
    void writeFile();
    void writeFileFails();
    void pageViewFilePath();

    void parseWrittenLine_data();
    void parseWrittenLine();
    void parseQuoting_data();
    void parseQuoting();
};

void CompositionTest::composeLine_data()
{
    // clang-format off
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("wholeFile");
    QTest::addColumn<QByteArrayList>("parameters");
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("singleBefore");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("singleAfter");

    const QString unixFolder = QStringLiteral("/opt/Lexifol/");
    const QString whole = QStringLiteral("/opt/Lexifol/Data/Sample.files/Sample.djvu\"");
    QTest::newRow("whole file, page 7")
        << unixFolder << "yes" << BuiltIn() << "7" << true
        << kHead + whole + kBuiltInText + " Page=7" + kTail << false;
    QTest::newRow("whole file, any other value than no")
        << unixFolder << "No" << BuiltIn() << "117" << true
        << kHead + whole + kBuiltInText + " Page=117" + kTail << false;
    QTest::newRow("page file, no page attribute")
        << unixFolder << "no" << BuiltIn() << "7" << false
        << kHead + "/opt/Lexifol/Data/Sample.files/7.djvu\"" + kBuiltInText + kTail << true;
    QTest::newRow("page file keeps leading zeros")
        << unixFolder << "no" << BuiltIn() << "0012" << false
        << kHead + "/opt/Lexifol/Data/Sample.files/0012.djvu\"" + kBuiltInText + kTail << true;
    QTest::newRow("annotation in whole file leaves flag set")
        << unixFolder << "yes" << BuiltIn() << "Annotation" << true
        << kHead + "/opt/Lexifol/Data/Sample.files/Annotation.djvu\"" + kBuiltInText + kTail << true;
    QTest::newRow("annotation in page files leaves flag clear")
        << unixFolder << "no" << BuiltIn() << "Annotation" << false
        << kHead + "/opt/Lexifol/Data/Sample.files/Annotation.djvu\"" + kBuiltInText + kTail << false;
    QTest::newRow("annotation is case-sensitive")
        << unixFolder << "yes" << BuiltIn() << "annotation" << true
        << kHead + whole + kBuiltInText + " Page=annotation" + kTail << false;
    QTest::newRow("no parameters, whole file")
        << unixFolder << "yes" << QByteArrayList() << "7" << false
        << kHead + whole + " Page=7" + kTail << false;
    QTest::newRow("no parameters, page file")
        << unixFolder << "no" << QByteArrayList() << "7" << false
        << kHead + "/opt/Lexifol/Data/Sample.files/7.djvu\"" + kTail << true;
    QTest::newRow("empty page reference still writes the attribute")
        << unixFolder << "yes" << BuiltIn() << "" << false
        << kHead + whole + kBuiltInText + " Page=" + kTail << false;
    QTest::newRow("parameters copied verbatim, empty line too")
        << unixFolder << "yes" << QByteArrayList{"a=\"x y\"", "", "Page='3'"} << "5" << false
        << kHead + whole + " a=\"x y\"  Page='3' Page=5" + kTail << false;
    QTest::newRow("windows folder keeps backslashes")
        << QStringLiteral("C:\\Lexifol\\") << "yes" << BuiltIn() << "7" << false
        << kHead + "C:\\Lexifol\\Data\\Sample.files\\Sample.djvu\"" + kBuiltInText + " Page=7" + kTail << false;
    // A quote would end the file name early, and a blank or '>' the page.
    QTest::newRow("a quote in a page file's name")
        << unixFolder << "no" << QByteArrayList() << "a\"b<c" << false
        << kHead + "/opt/Lexifol/Data/Sample.files/a&quot;b<c.djvu\"" + kTail << true;
    QTest::newRow("a page reference that would end the tag")
        << unixFolder << "yes" << BuiltIn() << "7 x\">" << false
        << kHead + whole + kBuiltInText + " Page=\"7 x&quot;&gt;\"" + kTail << false;
    // clang-format on
}

void CompositionTest::composeLine()
{
    QFETCH(QString, folder);
    QFETCH(QString, wholeFile);
    QFETCH(QByteArrayList, parameters);
    QFETCH(QString, page);
    QFETCH(bool, singleBefore);
    QFETCH(QString, expected);
    QFETCH(bool, singleAfter);

    CompositionInput in;
    in.programFolder = folder;
    in.dictionary = QStringLiteral("Sample");
    in.wholeFile = wholeFile;
    in.pluginParameters = parameters;
    in.pageReference = page;
    PageViewState state;
    state.singleFileOnView = singleBefore;
    state.extraPageOnView = true;
    QCOMPARE(ComposePageLine(in, state), expected);
    QCOMPARE(state.singleFileOnView, singleAfter);
    QVERIFY(state.extraPageOnView); // not this function's business
}

void CompositionTest::headwordCaseTreatsAnnotationAsPage()
{
    CompositionInput in;
    in.programFolder = QStringLiteral("/p/");
    in.dictionary = QStringLiteral("D");
    in.wholeFile = QStringLiteral("yes");
    in.pageReference = QStringLiteral("Annotation");
    in.annotationCase = false;
    PageViewState state;
    state.singleFileOnView = true;
    QCOMPARE(ComposePageLine(in, state), kHead + "/p/Data/D.files/D.djvu\" Page=Annotation" + kTail);
    QVERIFY(!state.singleFileOnView);

    in.wholeFile = QStringLiteral("no");
    QCOMPARE(ComposePageLine(in, state), kHead + "/p/Data/D.files/Annotation.djvu\"" + kTail);
    QVERIFY(state.singleFileOnView);
}

void CompositionTest::fileBytes_data()
{
    // clang-format off
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("cyrillic in 1251") << "ru_RU.UTF-8" << QStringLiteral("Page=\u0421\u043b\u043e\u0432\u043e")
                                      << QByteArray("Page=\xd1\xeb\xee\xe2\xee\r\n");
    QTest::newRow("outside 1251 becomes ?") << "ru_RU.UTF-8" << QStringLiteral("x\u4e2d\u6587y")
                                            << QByteArray("x??y\r\n");
    QTest::newRow("cyrillic outside 1252") << "en_US.UTF-8" << QStringLiteral("\u0421\u043b\u00e9")
                                           << QByteArray("??\xe9\r\n");
    QTest::newRow("empty line") << "en_US.UTF-8" << QString() << QByteArray("\r\n");
    // clang-format on
}

void CompositionTest::fileBytes()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    SetAnsiLocale(locale);
    QCOMPARE(PageViewFileBytes(text), bytes);
    SetAnsiLocale(QStringLiteral("ru_RU.UTF-8"));
}

void CompositionTest::writeFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + u'/';
    const QString path = PageViewFilePath(folder);
    QVERIFY(WritePageViewFile(path, QStringLiteral("an old and much longer line than the next")));

    CompositionInput in;
    in.programFolder = folder;
    in.dictionary = QStringLiteral("\u0421\u043b\u043e\u0432\u0430\u0440\u044c\u4e2d");
    in.wholeFile = QStringLiteral("yes");
    in.pluginParameters = BuiltIn();
    in.pageReference = QStringLiteral("12");
    PageViewState state;
    const QString line = ComposePageLine(in, state);
    QVERIFY(WritePageViewFile(path, line));

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes, PageViewFileBytes(line));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), 1);
    // The name in 1251, the character outside it as "?".
    QVERIFY(bytes.contains("/Data/\xd1\xeb\xee\xe2\xe0\xf0\xfc?.files/\xd1\xeb\xee\xe2\xe0\xf0\xfc?.djvu\""));
    QVERIFY(bytes.contains("zoom=width Page=12> </embed></body></html>\r\n"));
}

void CompositionTest::writeFileFails()
{
    QTemporaryDir dir;
    QVERIFY(!WritePageViewFile(dir.path() + QStringLiteral("/missing/folder/temp.htm"), QStringLiteral("x")));
}

void CompositionTest::pageViewFilePath()
{
    QCOMPARE(PageViewFilePath(QStringLiteral("/opt/L/")), QStringLiteral("/opt/L/temp.htm"));
}

void CompositionTest::parseWrittenLine_data()
{
    // clang-format off
    QTest::addColumn<QString>("wholeFile");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("src");
    QTest::addColumn<QString>("pageAttribute");
    QTest::newRow("whole file") << "yes" << "117" << "/opt/L/Data/Sample.files/Sample.djvu" << "117";
    QTest::newRow("page file") << "no" << "117" << "/opt/L/Data/Sample.files/117.djvu" << "";
    QTest::newRow("empty page") << "yes" << "" << "/opt/L/Data/Sample.files/Sample.djvu" << "";
    QTest::newRow("annotation") << "yes" << "Annotation" << "/opt/L/Data/Sample.files/Annotation.djvu" << "";
    // clang-format on
}

void CompositionTest::parseWrittenLine()
{
    QFETCH(QString, wholeFile);
    QFETCH(QString, page);
    QFETCH(QString, src);
    QFETCH(QString, pageAttribute);
    CompositionInput in;
    in.programFolder = QStringLiteral("/opt/L/");
    in.dictionary = QStringLiteral("Sample");
    in.wholeFile = wholeFile;
    in.pluginParameters = BuiltIn();
    in.pageReference = page;
    PageViewState state;
    const std::optional<EmbedTag> tag = ParseDjvuEmbed(ComposePageLine(in, state));
    QVERIFY(tag.has_value());
    QCOMPARE(tag->src, src);
    QCOMPARE(tag->page, pageAttribute);
    QCOMPARE(tag->zoom, QStringLiteral("width"));
    QCOMPARE(tag->width, QStringLiteral("100%"));
    QCOMPARE(tag->height, QStringLiteral("100%"));
    QVERIFY(!tag->toolbar);
    QVERIFY(!tag->scrollBars);
}

void CompositionTest::parseQuoting_data()
{
    // clang-format off
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("src");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("zoom");
    QTest::addColumn<bool>("toolbar");
    QTest::addColumn<bool>("scrollBars");

    QTest::newRow("single quotes, upper case names")
        << "<EMBED TYPE='image/vnd.djvu' SRC='/a b/c.djvu' PAGE='12' ZOOM=page>"
        << true << "/a b/c.djvu" << "12" << "page" << true << true;
    QTest::newRow("file URL, type in capitals, type last")
        << "<embed src=file:///tmp/x%20y.djvu type=\"IMAGE/VND.DJVU\">"
        << true << "/tmp/x y.djvu" << "" << "width" << true << true;
    QTest::newRow("localhost URL")
        << "<embed type=image/vnd.djvu src=\"file://localhost/tmp/a.djvu\" Page=3 toolbar=No scrollbars='NO'>"
        << true << "/tmp/a.djvu" << "3" << "width" << false << false;
    QTest::newRow("blanks around =, windows path")
        << "<embed type = \"image/vnd.djvu\" SRC = \"file:\\\\localhost\\C:\\Dic\\x.djvu\" zoom = 150>"
        << true << "C:\\Dic\\x.djvu" << "" << "150" << true << true;
    QTest::newRow("> inside a quoted value")
        << "<embed type=\"image/vnd.djvu\" src=\"/x>y.djvu\" page=\"a b\">"
        << true << "/x>y.djvu" << "a b" << "width" << true << true;
    QTest::newRow("other embed first")
        << "<embed type=\"application/x-other\" src=\"a.swf\" page=9><embed type=\"image/vnd.djvu\" src=\"b.djvu\">"
        << true << "b.djvu" << "" << "width" << true << true;
    QTest::newRow("attribute without value, across lines")
        << "<html>\n<embed hidden\n type=\"image/vnd.djvu\"\n src=plain/rel.djvu\n Page=>"
        << true << "plain/rel.djvu" << "" << "width" << true << true;
    QTest::newRow("not an embed") << "<embedded type=\"image/vnd.djvu\" src=\"a.djvu\">"
                                  << false << "" << "" << "" << true << true;
    QTest::newRow("embed of another type") << "<embed type=\"image/png\" src=\"a.djvu\">"
                                           << false << "" << "" << "" << true << true;
    QTest::newRow("plain html") << "<html><body><p>Intro</p></body></html>"
                                << false << "" << "" << "" << true << true;
    // clang-format on
}

void CompositionTest::parseQuoting()
{
    QFETCH(QString, html);
    QFETCH(bool, found);
    const std::optional<EmbedTag> tag = ParseDjvuEmbed(html);
    QCOMPARE(tag.has_value(), found);
    if (!found)
        return;
    QTEST(tag->src, "src");
    QTEST(tag->page, "page");
    QTEST(tag->zoom, "zoom");
    QTEST(tag->toolbar, "toolbar");
    QTEST(tag->scrollBars, "scrollBars");
}

QTEST_GUILESS_MAIN(CompositionTest)
#include "test_composition.moc"
