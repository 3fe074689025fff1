// Taking values apart, the replacement rules, and the 8-bit code page.
#include "base/CodePage.h"
#include "index/IndexOps.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"

#include <QtTest>

using namespace lexifol;

class TestRules : public QObject
{
    Q_OBJECT
private slots:
    void splitValue_data();
    void splitValue();
    void normalise_data();
    void normalise();
    void replacementLines_data();
    void replacementLines();
    void lookupFollowsChanges();
    void codePageChoice_data();
    void codePageChoice();
    void codecs();
    void processCodePage();
};

void TestRules::splitValue_data()
{
    // clang-format off
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("page only") << "123" << QStringList{"123"};
    QTest::newRow("cross-reference") << "17>apple" << QStringList{"17", "apple"};
    QTest::newRow("blanks around >") << "17 > word" << QStringList{"17", "word"};
    QTest::newRow("blanks separate") << "17>two words" << QStringList{"17", "two", "words"};
    QTest::newRow("trailing >") << "12>" << QStringList{"12", ""};
    QTest::newRow("blank then trailing >") << "12 >" << QStringList{"12", ""};
    QTest::newRow("> then blank") << "12> " << QStringList{"12"};
    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("blanks only") << " \t \x01 " << QStringList();
    QTest::newRow("leading >") << ">x" << QStringList{"", "x"};
    QTest::newRow("double >") << "a>>b" << QStringList{"a", "", "b"};
    QTest::newRow("quoted") << "17>\"two words\"" << QStringList{"17", "two words"};
    QTest::newRow("quoted >") << "17>\"a>b\"" << QStringList{"17", "a>b"};
    QTest::newRow("doubled quote") << "17>\"say \"\"hi\"\"\"" << QStringList{"17", "say \"hi\""};
    QTest::newRow("unclosed quote") << "17>\"to the end " << QStringList{"17", "to the end "};
    QTest::newRow("empty quotes") << "\"\">x" << QStringList{"", "x"};
    QTest::newRow("text after quotes") << "\"ab\"cd" << QStringList{"ab", "cd"};
    QTest::newRow("quote inside word") << "a\"b" << QStringList{"a\"b"};
    // clang-format on
}

void TestRules::splitValue()
{
    QFETCH(QString, value);
    QFETCH(QStringList, parts);
    QCOMPARE(SplitValue(value), parts);
}

void TestRules::normalise_data()
{
    // clang-format off
    QTest::addColumn<QByteArrayList>("rules");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::newRow("delete and replace") << QByteArrayList{"e=", "x=ks"} << "exe" << "ks";
    QTest::newRow("first position") << QByteArrayList{"a=f/b"} << "aaa" << "baa";
    QTest::newRow("first position only") << QByteArrayList{"a=f/b"} << "baa" << "baa";
    QTest::newRow("first position, longer") << QByteArrayList{"a=f/xy"} << "aa" << "xya";
    QTest::newRow("last rule wins") << QByteArrayList{"a=b", "z=y", "a=c"} << "a" << "c";
    QTest::newRow("case matters") << QByteArrayList{"A=b"} << "a" << "a";
    QTest::newRow("exactly f/") << QByteArrayList{"a=f/"} << "aba" << "f/bf/";
    QTest::newRow("longer replacement") << QByteArrayList{"a=xyz"} << "ab" << "xyzb";
    QTest::newRow("longer replacement last") << QByteArrayList{"a=xyz"} << "ba" << "bxyz";
    QTest::newRow("never rescanned") << QByteArrayList{"a=b", "b=c"} << "ab" << "bc";
    QTest::newRow("all deleted") << QByteArrayList{"a=", "b="} << "abba" << "";
    QTest::newRow("empty text") << QByteArrayList{"a=b"} << "" << "";
    QTest::newRow("no rules") << QByteArrayList() << "abc" << "abc";
    QTest::newRow("two-byte key") << QByteArrayList{"\xD1\x91=\xD0\xB5"} << "\u0451\u043b\u043a\u0430" << "\u0435\u043b\u043a\u0430";
    QTest::newRow("three-byte key") << QByteArrayList{"\xE2\x82\xAC=EUR"} << "5\u20ac" << "5EUR";
    QTest::newRow("malformed line changes nothing") << QByteArrayList{"a=\xFF"} << "ab" << "ab";
    QTest::newRow("malformed last line wins") << QByteArrayList{"a=b", "a=c\xC3"} << "a" << "a";
    QTest::newRow("two-character key") << QByteArrayList{"ab=x"} << "ab" << "ab";
    QTest::newRow("= cannot be replaced") << QByteArrayList{"==x", "=x"} << "a=b" << "a=b";
    QTest::newRow("no = in line") << QByteArrayList{"ax"} << "a" << "a";
    QTest::newRow("supplementary replacement") << QByteArrayList{"a=\xF0\x9F\x98\x80"} << "ab" << "\U0001F600b";
    // Units are looked up one by one: a surrogate half has no key.
    QTest::newRow("four-byte key never matches") << QByteArrayList{"\xF0\x9F\x98\x80=x"} << "\U0001F600" << "\U0001F600";
    QTest::newRow("CESU key never matches") << QByteArrayList{"\xED\xA0\xBD=x", "\xED\xB8\x80=y"} << "\U0001F600" << "\U0001F600";
    // clang-format on
}

void TestRules::normalise()
{
    QFETCH(QByteArrayList, rules);
    QFETCH(QString, text);
    QFETCH(QString, result);
    ReplacementList list;
    list.setLines(rules);
    QCOMPARE(NormaliseHeadword(text, list), result);
}

void TestRules::replacementLines_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::newRow("all breaks") << QByteArray("a=1\r\nb=2\rc=3\nd=4") << QByteArrayList{"a=1", "b=2", "c=3", "d=4"};
    QTest::newRow("final break") << QByteArray("a=1\r\n") << QByteArrayList{"a=1"};
    QTest::newRow("empty line kept") << QByteArray("a=1\n\r\nb=2") << QByteArrayList{"a=1", "", "b=2"};
    QTest::newRow("LF CR is two breaks") << QByteArray("a=1\n\rb=2") << QByteArrayList{"a=1", "", "b=2"};
    QTest::newRow("NUL ends") << QByteArray("a=1\r\nb=\0c=3", 10) << QByteArrayList{"a=1", "b="};
    QTest::newRow("no mark recognised") << QByteArray("\xEF\xBB\xBF" "a=1") << QByteArrayList{"\xEF\xBB\xBF" "a=1"};
    QTest::newRow("UTF-16 mark is no mark either") << QByteArray("\xFF\xFE" "a") << QByteArrayList{"\xFF\xFE" "a"};
    QTest::newRow("empty") << QByteArray() << QByteArrayList();
    // clang-format on
}

void TestRules::replacementLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArrayList, lines);
    ReplacementList list;
    list.setBytes(bytes);
    QCOMPARE(list.lines(), lines);
}

void TestRules::lookupFollowsChanges()
{
    ReplacementList list;
    list.setBytes("\xEF\xBB\xBF"
                  "a=1\r\n=x\r\nb=2\r\nb=3\r\nc\r\n");
    QVERIFY(!list.ruleFor("a"));
    QCOMPARE(*list.ruleFor("\xEF\xBB\xBF"
                           "a"),
             "\xEF\xBB\xBF"
             "a=1");
    QCOMPARE(*list.ruleFor("b"), "b=3");
    QVERIFY(!list.ruleFor(""));
    QVERIFY(!list.ruleFor("c"));
    list.append("a=4"); // the table was built above: it must be rebuilt
    QCOMPARE(*list.ruleFor("a"), "a=4");
    QCOMPARE(NormaliseHeadword(u"ab", list), u"43");
    list.setLines({"b=5"});
    QVERIFY(!list.ruleFor("a"));
    QCOMPARE(NormaliseHeadword(u"ab", list), u"a5");
    list.clear();
    QVERIFY(!list.ruleFor("b"));
    QCOMPARE(NormaliseHeadword(u"ab", list), u"ab");
}

void TestRules::codePageChoice_data()
{
    // clang-format off
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("codePage");
    const QList<std::pair<const char*, const char*>> rows{
        {"ru_RU.UTF-8", "windows-1251"}, {"uk_UA", "windows-1251"}, {"sr_RS", "windows-1251"},
        {"pl_PL.UTF-8", "windows-1250"}, {"hu", "windows-1250"}, {"sq_AL", "windows-1250"},
        {"el_GR", "windows-1253"}, {"tr_TR", "windows-1254"}, {"az_AZ", "windows-1254"},
        {"he_IL", "windows-1255"}, {"fa_IR", "windows-1256"}, {"lv_LV", "windows-1257"},
        {"vi_VN", "windows-1258"}, {"th_TH", "windows-874"}, {"ja_JP.eucJP", "windows-932"},
        {"ko_KR.UTF-8", "windows-949"}, {"zh_CN.GB2312", "windows-936"}, {"zh_SG", "windows-936"},
        {"zh_TW.Big5", "windows-950"}, {"zh_HK", "windows-950"}, {"zh-Hant", "windows-950"},
        {"de_DE@euro", "windows-1252"}, {"en_US.UTF-8", "windows-1252"}, {"C", "windows-1252"},
        {"POSIX", "windows-1252"}, {"C.UTF-8", "windows-1252"}, {"", "windows-1252"}};
    for (const auto& [locale, codePage] : rows)
        QTest::newRow(locale) << QString(locale) << QString(codePage);
    // clang-format on
}

void TestRules::codePageChoice()
{
    QFETCH(QString, locale);
    QFETCH(QString, codePage);
    QCOMPARE(AnsiCodePageForLocale(locale), codePage);
    QCOMPARE(AnsiCodec(codePage).name(), codePage); // ICU knows every name chosen
}

void TestRules::codecs()
{
    const AnsiCodec cyrillic(AnsiCodePageForLocale("ru_RU"));
    QCOMPARE(cyrillic.decode("\xC6\xE0\xA8"), u"\u0416\u0430\u0401");
    QCOMPARE(cyrillic.encode(u"\u0416\u00e9\u20ac!"), "\xC6?\x88!");
    const AnsiCodec western(AnsiCodePageForLocale("en_US"));
    QCOMPARE(western.decode("\xC6\x80"), u"\u00c6\u20ac");
    QCOMPARE(western.encode(u"a\u0416\u4f60b"), "a??b");
    const AnsiCodec japanese(AnsiCodePageForLocale("ja_JP"));
    QCOMPARE(japanese.decode("\x82\xA0"
                             "a"),
             u"\u3042a");
    QCOMPARE(japanese.encode(u"\u3042\u0416\u00e9"), "\x82\xA0\x84\x47?");
    QCOMPARE(AnsiCodec(AnsiCodePageForLocale("zh_TW")).decode("\xA7\x41"), u"\u4f60");
    QCOMPARE(AnsiCodec(AnsiCodePageForLocale("zh_CN")).decode("\xC4\xE3"), u"\u4f60");
}

void TestRules::processCodePage()
{
    qputenv("LC_ALL", "");
    qputenv("LC_CTYPE", "pl_PL.UTF-8");
    qputenv("LANG", "ru_RU.UTF-8");
    QCOMPARE(AnsiLocaleName(), u"pl_PL.UTF-8");
    qputenv("LC_ALL", "el_GR");
    QCOMPARE(AnsiLocaleName(), u"el_GR");
    qunsetenv("LC_ALL");
    qunsetenv("LC_CTYPE");
    QCOMPARE(AnsiLocaleName(), u"ru_RU.UTF-8");
    // Files without a mark follow the process code page.
    SetAnsiLocale("ru_RU.UTF-8");
    QCOMPARE(Ansi().name(), u"windows-1251");
    QCOMPARE(DecodeLinesToStrings("\xC6\t1"), QStringList{"\u0416\t1"});
    SetAnsiLocale("pl_PL");
    QCOMPARE(DecodeLinesToStrings("\xA3\t1"), QStringList{"\u0141\t1"});
}

QTEST_APPLESS_MAIN(TestRules)
#include "test_rules.moc"
