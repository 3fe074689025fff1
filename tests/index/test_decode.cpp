// Reading index files: mark detection, UTF-8 strictness, NUL, line breaks,
// and input that is not a sensible index at all.
#include "base/CodePage.h"
#include "index/IndexOps.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace lexifol;

namespace {

QByteArray Utf16(QStringView s, bool bigEndian, const char* mark)
{
    QByteArray out(mark);
    for (QChar c : s) {
        char16_t u = bigEndian ? qToBigEndian(c.unicode()) : qToLittleEndian(c.unicode());
        out.append(reinterpret_cast<const char*>(&u), 2);
    }
    return out;
}
QByteArray Le(QStringView s)
{
    return Utf16(s, false, "\xFF\xFE");
}
QByteArray Be(QStringView s)
{
    return Utf16(s, true, "\xFE\xFF");
}

QStringList ToStrings(const IndexList& list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.line(i).toString();
    return out;
}

// The lines of the bytes, through memory and through a file; the two readers
// must agree.
QStringList Lines(const QByteArray& bytes)
{
    IndexList list;
    DecodeLines(bytes, list);
    const QStringList lines = ToStrings(list);
    static QTemporaryDir dir;
    QFile f(dir.filePath("x.list"));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return {"cannot write"};
    f.close();
    IndexList loaded;
    if (!LoadFirstIndex(f.fileName(), loaded).ok() || ToStrings(loaded) != lines)
        return {"file reader disagrees"};
    return lines;
}

// Line cutting the plain way, unit by unit.
QStringList ReferenceLines(QString text)
{
    if (text.indexOf(QChar(0)) >= 0)
        text.truncate(text.indexOf(QChar(0)));
    const QChar ls(0x2028);
    QStringList out;
    QString current;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i++];
        if (c != u'\r' && c != u'\n' && c != ls) {
            current += c;
            continue;
        }
        out << current;
        current.clear();
        if (c == u'\r' && i < text.size() && text[i] == u'\n')
            ++i;
        if (c != ls && i < text.size() && text[i] == ls)
            ++i;
    }
    if (!current.isEmpty())
        out << current;
    return out;
}

} // namespace

class TestDecode : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SetAnsiLocale(QStringLiteral("en_US.UTF-8")); }
    void encodings_data();
    void encodings();
    void breaks_data();
    void breaks();
    void randomTextAgainstReference();
    void binaryInput();
    void hugeLine();
    void bigTextsReadAndCutInTwo_data();
    void bigTextsReadAndCutInTwo();
    void emptyAndBreaksOnlyFiles();
};

void TestDecode::encodings_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    const QString text = QStringLiteral("caf\u00e9\t12\r\n\u0416\u20ac\t3");
    const QStringList both{QStringLiteral("caf\u00e9\t12"), QStringLiteral("\u0416\u20ac\t3")};
    QTest::newRow("utf16le") << Le(text) << both;
    QTest::newRow("utf16be") << Be(text) << both;
    QTest::newRow("utf8 mark") << ("\xEF\xBB\xBF" + text.toUtf8()) << both;
    QTest::newRow("utf8 mark, no text") << QByteArray("\xEF\xBB\xBF") << QStringList();
    QTest::newRow("utf16 mark, no text") << QByteArray("\xFF\xFE") << QStringList();
    QTest::newRow("utf16le mark wins over utf8 mark") << QByteArray("\xFF\xFE\xEF\xBB", 4) << QStringList{QStringLiteral("\uBBEF")};
    QTest::newRow("utf16le odd byte") << (Le(u"ab") + 'c') << QStringList{QStringLiteral("ab")};
    QTest::newRow("utf16be odd byte") << (Be(u"ab") + 'c') << QStringList{QStringLiteral("ab")};
    QTest::newRow("no mark: 8-bit") << QByteArray("caf\xE9") << QStringList{QStringLiteral("caf\u00e9")};
    // Valid UTF-8 with multi-byte characters is UTF-8 without its mark;
    // one malformed sequence and it is 8-bit text.
    QTest::newRow("utf8 without mark") << QByteArray("caf\xC3\xA9\r\nna\xC3\xAFve") << QStringList{QStringLiteral("caf\u00e9"), QStringLiteral("na\u00efve")};
    QTest::newRow("utf8-like but malformed is 8-bit") << QByteArray("caf\xC3\xA9 \xC3(") << QStringList{QStringLiteral("caf\u00c3\u00a9 \u00c3(")};
    QTest::newRow("one byte") << QByteArray("\xFF") << QStringList{QStringLiteral("\u00ff")};
    QTest::newRow("two bytes of the utf8 mark") << QByteArray("\xEF\xBB") << QStringList{QStringLiteral("\u00ef\u00bb")};
    QTest::newRow("utf8 two- and three-byte") << QByteArray("\xEF\xBB\xBF\xD0\x96\xE2\x82\xAC") << QStringList{QStringLiteral("\u0416\u20ac")};
    // Any fault in a UTF-8 file leaves no entry at all, wherever it is.
    QTest::newRow("utf8 bad continuation") << QByteArray("\xEF\xBB\xBF" "a\nb\xC3(\nc") << QStringList();
    QTest::newRow("utf8 cut off at end") << QByteArray("\xEF\xBB\xBF" "a\nb\xE2\x82") << QStringList();
    QTest::newRow("utf8 stray continuation") << QByteArray("\xEF\xBB\xBF" "a\x80") << QStringList();
    QTest::newRow("utf8 four-byte sequence") << QByteArray("\xEF\xBB\xBF" "a\xF0\x9F\x98\x80") << QStringList();
    QTest::newRow("utf8 fault after NUL") << QByteArray("\xEF\xBB\xBF" "a\0\xC3", 6) << QStringList();
    QTest::newRow("8-bit NUL") << QByteArray("ab\nc\0d\ne", 8) << QStringList{"ab", "c"};
    QTest::newRow("utf8 NUL") << QByteArray("\xEF\xBB\xBF" "ab\0cd", 8) << QStringList{"ab"};
    QTest::newRow("utf16 NUL") << Le(QStringView(u"ab\r\n\0cd", 7)) << QStringList{"ab"};
    QTest::newRow("NUL first") << Le(QStringView(u"\0ab", 3)) << QStringList();
    // clang-format on
}

void TestDecode::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(Lines(bytes), lines);
    QCOMPARE(DecodeLinesToStrings(bytes), lines);
}

void TestDecode::breaks_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    const QString ls(QChar(0x2028));
    auto row = [](const char* name, const QString& text, const QStringList& lines) {
        QTest::newRow(name) << text << lines;
    };
    row("LF", "a\nb", {"a", "b"});
    row("CR", "a\rb", {"a", "b"});
    row("CR LF", "a\r\nb", {"a", "b"});
    row("LS", "a" + ls + "b", {"a", "b"});
    row("LF CR", "a\n\rb", {"a", "", "b"});
    row("CR CR LF", "a\r\r\nb", {"a", "", "b"});
    row("CR LS", "a\r" + ls + "b", {"a", "b"});
    row("LF LS", "a\n" + ls + "b", {"a", "b"});
    row("CR LF LS", "a\r\n" + ls + "b", {"a", "b"});
    row("CR LF LS LS", "a\r\n" + ls + ls + "b", {"a", "", "b"});
    row("LS LS", "a" + ls + ls + "b", {"a", "", "b"});
    row("LS CR", "a" + ls + "\rb", {"a", "", "b"});
    row("LS LF", "a" + ls + "\nb", {"a", "", "b"});
    row("trailing CR LF", "a\r\nb\r\n", {"a", "b"});
    row("trailing LS", "a" + ls, {"a"});
    row("trailing CR LF LS", "a\r\n" + ls, {"a"});
    row("trailing two breaks", "a\n\n", {"a", ""});
    row("one break", "\r\n", {""});
    row("empty", "", {});
    row("controls stay", "a\tb\x0b\x0c" "c\x01", {"a\tb\x0b\x0c" "c\x01"});
    row("long lines", QString(40, 'x') + "\r\n" + QString(17, 'y'), {QString(40, 'x'), QString(17, 'y')});
    // clang-format on
}

void TestDecode::breaks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(Lines(Le(text)), lines);
    QCOMPARE(Lines(Be(text)), lines);
    if (!text.contains(QChar(0x2028))) // U+2028 has no 8-bit form
        QCOMPARE(Lines(text.toLatin1()), lines);
}

void TestDecode::randomTextAgainstReference()
{
    // Line lengths around the eight-unit steps of the reader, breaks of every
    // kind, CR LF runs that shift the text by more and more units.
    QRandomGenerator rng(3);
    const QString pieces[] = {
        "a", "bcdefgh", "\t", "\u00e9\u0416", "\r", "\n", "\r\n", QString(QChar(0x2028)), "0123456789abcdefghij"};
    for (int round = 0; round < 300; ++round) {
        QString text;
        const int n = int(rng.bounded(80));
        for (int i = 0; i < n; ++i)
            text += pieces[rng.bounded(int(std::size(pieces)))];
        if (round % 10 == 0)
            text.insert(int(rng.bounded(text.size() + 1)), QChar(0));
        const QStringList expected = ReferenceLines(text);
        QCOMPARE(Lines(Le(text)), expected);
        QCOMPARE(Lines(Be(text)), expected);
        QCOMPARE(Lines("\xEF\xBB\xBF" + text.toUtf8()), expected);
        // 8-bit: U+2028 and Cyrillic become "?", the rest is Latin-1 here.
        const QByteArray ansi = Ansi().encode(text);
        QCOMPARE(Lines(ansi), ReferenceLines(QString::fromLatin1(ansi)));
        IndexList list;
        list.setText(text);
        QCOMPARE(ToStrings(list), expected);
    }
}

void TestDecode::binaryInput()
{
    QRandomGenerator rng(42);
    for (int round = 0; round < 50; ++round) {
        QByteArray bytes(int(rng.bounded(1, 4000)), Qt::Uninitialized);
        for (char& b : bytes)
            b = char(rng.bounded(256));
        if (round % 2)
            bytes.replace(0, 2, "\xFF\xFE");
        const QStringList lines = Lines(bytes);
        for (const QString& l : lines) {
            QVERIFY(!l.contains(u'\r') && !l.contains(u'\n') && !l.contains(QChar(0x2028)));
            QVERIFY(!l.contains(QChar(0)));
        }
        // Everything from the first NUL on is ignored.
        const QString text = DecodeText(bytes);
        QVERIFY(!text.contains(QChar(0)));
        if (round % 2 == 0 && bytes.indexOf('\0') >= 0)
            QCOMPARE(lines, Lines(bytes.left(bytes.indexOf('\0'))));
    }
}

void TestDecode::hugeLine()
{
    const QString line = QString(1 << 20, u'\u0436') + "\t7";
    for (const QByteArray& bytes : {Le(line + "\r\n"), "\xEF\xBB\xBF" + line.toUtf8()}) {
        IndexList list;
        DecodeLines(bytes, list);
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.line(0).size(), line.size());
        QCOMPARE(list.value(0), u"7");
        QCOMPARE(list.headword(0).size(), 1 << 20);
    }
}

// Files of several MB are read and cut as two halves at once: whatever lies
// where the halves meet must come out as one pass would cut it.
void TestDecode::bigTextsReadAndCutInTwo_data()
{
    // clang-format off
    QTest::addColumn<QString>("middle");   // put at the middle of the text
    QTest::addColumn<bool>("onlyCr");      // CR breaks elsewhere, no LF
    const QChar ls(0x2028);
    QTest::newRow("lines") << QString() << false;
    QTest::newRow("CR LF across the middle") << "x\r\ny" << false;
    QTest::newRow("LF and U+2028 at the middle") << QString("x\n") + ls + "y\n" + ls + ls << false;
    QTest::newRow("empty lines at the middle") << "\n\n\n\r\n\r" << false;
    QTest::newRow("NUL in the first half") << QStringLiteral("ab") + QChar(0) << false;
    QTest::newRow("NUL in the second half") << QStringLiteral("\ncd") + QChar(0) << false;
    QTest::newRow("a long line from the middle on") << QString(600000, u'z') << false;
    QTest::newRow("no LF to split at") << "q" << true;
    // clang-format on
}

void TestDecode::bigTextsReadAndCutInTwo()
{
    QFETCH(QString, middle);
    QFETCH(bool, onlyCr);
    QString text;
    const QString line = onlyCr ? QStringLiteral("headword\t123\r") : QStringLiteral("headword\t123\r\n");
    while (text.size() < 4'600'000)
        text += line + QString::number(text.size() % 97);
    const qsizetype half = text.size() / 2;
    if (middle.startsWith(QChar(0)) || (middle.contains(QChar(0)) && middle.startsWith(u'a')))
        text.insert(half - 1000, middle); // well inside the first half
    else if (middle.contains(QChar(0)))
        text.insert(half + 1000, middle);
    else
        text.insert(half, middle);
    const QStringList expected = ReferenceLines(text);
    QCOMPARE(Lines(Le(text)), expected);
}

void TestDecode::emptyAndBreaksOnlyFiles()
{
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.list"), breaks = dir.filePath("breaks.list");
    QFile e(empty), b(breaks);
    QVERIFY(e.open(QIODevice::WriteOnly) && b.open(QIODevice::WriteOnly));
    b.write("\r\n\r\n\n\r");
    e.close();
    b.close();
    IndexList list;
    list.setLines({"old"});
    QVERIFY(LoadFirstIndex(empty, list));
    QCOMPARE(list.count(), 0);
    QCOMPARE(FindPosition(list, u"x"), 0);
    QVERIFY(LoadFirstIndex(breaks, list));
    QCOMPARE(list.count(), 4);
    for (int i = 0; i < 4; ++i)
        QVERIFY(list.line(i).isEmpty() && list.headword(i).isEmpty() && list.value(i).isEmpty());
}

QTEST_APPLESS_MAIN(TestDecode)
#include "test_decode.moc"
