// The in-memory index: access by position, errors, memory, and the loaders.
#include "index/IndexOps.h"
#include "index/LineOffsets.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestList : public QObject
{
    Q_OBJECT
private slots:
    void headwordAndValue_data();
    void headwordAndValue();
    void outOfBounds();
    void singleByteTables();
    void linesAreViewsIntoOneBuffer();
    void memoryStaysNearText();
    void aBreakPerUnit_data();
    void aBreakPerUnit();
    void offsetsGrowAndFit();
    void firstIndexLoading();
    void secondIndexLoading();
    void replacementListLoading();
};

void TestList::headwordAndValue_data()
{
    // clang-format off
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("headword");
    QTest::addColumn<QString>("value");
    QTest::newRow("entry") << "apple\t12" << "apple" << "12";
    QTest::newRow("further TABs in value") << "a\tb\tc" << "a" << "b\tc";
    QTest::newRow("no TAB") << "word" << "" << "ord";
    QTest::newRow("one character") << "w" << "" << "";
    QTest::newRow("empty") << "" << "" << "";
    QTest::newRow("leading TAB") << "\t17>x" << "" << "17>x";
    QTest::newRow("trailing TAB") << "apple\t" << "apple" << "";
    // clang-format on
}

void TestList::headwordAndValue()
{
    QFETCH(QString, line);
    QFETCH(QString, headword);
    QFETCH(QString, value);
    IndexList list;
    list.setLines({"first\t1", line, "last\t2"});
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.line(1), line);
    QCOMPARE(list.headword(1), headword);
    QCOMPARE(list.value(1), value);
}

void TestList::outOfBounds()
{
    IndexList list;
    list.setLines({"a\t1", "b\t2"});
    for (long long pos : {-100LL, -1LL, 2LL, 7LL, 5000000000LL}) {
        QVERIFY(list.line(pos).isNull());
        QVERIFY(list.headword(pos).isEmpty());
        QVERIFY(list.value(pos).isEmpty());
    }
    QCOMPARE(list.value(1), QStringLiteral("2"));
    QCOMPARE(ListIndexMessage(5000000000LL), QStringLiteral("List index out of bounds (5000000000)"));
    list.clear();
    QVERIFY(list.line(0).isNull());
}

void TestList::singleByteTables()
{
    // Tables unlike any Windows code page must still decode as they say.
    char16_t latin1[256];
    for (int b = 0; b < 256; ++b)
        latin1[b] = char16_t(b);
    char16_t shifted[256], separating[256];
    std::copy(latin1, latin1 + 256, shifted);
    std::copy(latin1, latin1 + 256, separating);
    shifted[uchar('a')] = u'x';
    separating[0x80] = 0x2028;
    separating[uchar('z')] = u'\n';
    const QByteArray bytes = QByteArray(20, 'a') + "\xE9z\x80" + QByteArray(18, 'b') + "\r\nab";
    IndexList list;
    list.setSingleByte(bytes.constData(), bytes.size(), latin1);
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.line(0), QString(20, 'a') + "\u00e9z\u0080" + QString(18, 'b'));
    list.setSingleByte(bytes.constData(), bytes.size(), shifted);
    QCOMPARE(list.line(0), QString(20, 'x') + "\u00e9z\u0080" + QString(18, 'b'));
    QCOMPARE(list.line(1), u"xb");
    list.setSingleByte(bytes.constData(), bytes.size(), separating);
    // "z" is now LF and 0x80 U+2028, which belongs to the LF's break.
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.line(0), QString(20, 'a') + "\u00e9");
    QCOMPARE(list.line(1), QString(18, 'b'));
    QCOMPARE(list.line(2), u"ab");
}

void TestList::linesAreViewsIntoOneBuffer()
{
    IndexList list;
    DecodeLines(QByteArray("a\tb\r\n\r\ncd\ne"), list);
    QCOMPARE(list.count(), 4);
    for (int i = 0; i + 1 < list.count(); ++i)
        QCOMPARE(list.line(i + 1).data(), list.line(i).data() + list.line(i).size() + 1);
}

void TestList::memoryStaysNearText()
{
    // CR LF files shrink when compacted, 8-bit files double when widened,
    // UTF-8 Cyrillic halves: none may keep the slack.
    QByteArray crlf, cyrillic("\xEF\xBB\xBF");
    for (int i = 0; i < 20000; ++i) {
        crlf += "headword" + QByteArray::number(i) + "\t" + QByteArray::number(i % 900) + "\r\n";
        cyrillic += QString(QStringLiteral("\u0441\u043b\u043e\u0432\u043e%1\t%2\r\n")).arg(i).arg(i % 900).toUtf8();
    }
    for (const QByteArray& bytes : {crlf, cyrillic}) {
        IndexList list;
        DecodeLines(bytes, list);
        QCOMPARE(list.count(), 20000);
        qsizetype units = 0;
        for (int i = 0; i < list.count(); ++i)
            units += list.line(i).size();
        QVERIFY2(double(list.memoryBytes()) <= 1.2 * double(units * 2) + 4.0 * (list.count() + 1),
                 qPrintable(QString::number(list.memoryBytes())));
    }
}

// The most lines a text can hold, far past the room first made for them.
void TestList::aBreakPerUnit_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::newRow("LF") << QString(5000, u'\n') << 5000;
    QTest::newRow("CR") << QString(5000, u'\r') << 5000;
    QTest::newRow("line separator") << QString(5000, QChar(0x2028)) << 5000;
    QTest::newRow("one unit, unterminated") << QStringLiteral("x") << 1;
    QTest::newRow("single units") << QStringLiteral("a\nb\nc") << 3;
    // clang-format on
}

void TestList::aBreakPerUnit()
{
    QFETCH(QString, text);
    QFETCH(int, lines);
    IndexList list;
    list.setText(text);
    QCOMPARE(list.count(), lines);
    list.setUtf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2, false);
    QCOMPARE(list.count(), lines);
    if (text.front().unicode() < 0x80) {
        char16_t table[256];
        for (int b = 0; b < 256; ++b)
            table[b] = char16_t(b);
        const QByteArray bytes = text.toLatin1();
        list.setSingleByte(bytes.constData(), bytes.size(), table);
        QCOMPARE(list.count(), lines);
    }
    QCOMPARE(list.line(lines - 1), text.endsWith(u'c') ? u"c" : text.endsWith(u'x') ? u"x" : u"");
}

void TestList::offsetsGrowAndFit()
{
    LineOffsets offsets(6);
    for (uint32_t i = 0; i < 4; ++i)
        offsets.push_back(i * 10);
    QCOMPARE(offsets.capacity(), size_t(6));
    offsets.fit();
    QCOMPARE(offsets.capacity(), size_t(4));
    QCOMPARE(offsets.back(), 30u);
    // Past the room made, the offsets still land, in a larger block.
    for (uint32_t i = 4; i < 40; ++i)
        offsets.push_back(i * 10);
    QCOMPARE(offsets.size(), size_t(40));
    for (size_t i = 0; i < offsets.size(); ++i)
        QCOMPARE(offsets[i], uint32_t(i * 10));
    LineOffsets moved(std::move(offsets));
    QCOMPARE(moved.size(), size_t(40));
    QVERIFY(offsets.empty());
    moved = LineOffsets(3);
    moved.fit();
    QCOMPARE(moved.capacity(), size_t(0));
}

void TestList::firstIndexLoading()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("dict.list");
    QVERIFY(WriteFile(path,
                      "\xFF\xFE"
                          + QByteArray("b\0\t\0"
                                       "1\0\r\0\n\0",
                                       10)));
    IndexList list;
    list.setLines({"previous\t1", "x\t2"});
    const Status missing = LoadFirstIndex(dir.filePath("missing.list"), list);
    QVERIFY(!missing.ok());
    QVERIFY(missing.error().contains(dir.filePath("missing.list")));
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.line(0), u"previous\t1");
    QVERIFY(!LoadFirstIndex(dir.path(), list).ok()); // a folder cannot be read
    QCOMPARE(list.count(), 2);
    QVERIFY(LoadFirstIndex(path, list).ok());
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.line(0), u"b\t1");
    QCOMPARE(list.headword(0), u"b");
    QCOMPARE(list.value(0), u"1");
}

void TestList::secondIndexLoading()
{
    QTemporaryDir dir;
    IndexList first, second;
    first.setLines({"apple\t1", "pear\t2", "plum\t3"});
    const QString path = dir.filePath("secondindex.list");

    second.setLines({"stale"});
    QVERIFY(LoadSecondIndex(dir.filePath("none.list"), second, first).ok());
    QVERIFY(second.isEmpty());

    QVERIFY(WriteFile(path, "apple\r\npear\r\nplum\r\n"));
    QVERIFY(LoadSecondIndex(path, second, first).ok());
    QCOMPARE(second.count(), 3);
    QCOMPARE(second.line(2), u"plum");

    QVERIFY(WriteFile(path, "apple\r\npear\r\n"));
    const Status shortIndex = LoadSecondIndex(path, second, first);
    QVERIFY(second.isEmpty());
    QCOMPARE(shortIndex.error(), QStringLiteral("Second index isn't equal to first (number of items)"));

    second.setLines({"stale"});
    QVERIFY(LoadSecondIndex(dir.path(), second, first).ok()); // exists but cannot be read: silent
    QVERIFY(second.isEmpty());
}

void TestList::replacementListLoading()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("replacelist.dat");
    ReplacementList rules;
    rules.setLines({"a=b"});
    LoadReplacementList(dir.filePath("none.dat"), rules);
    QVERIFY(rules.isEmpty());
    // A UTF-8 mark stays part of the first line, whose rule then never applies.
    QVERIFY(WriteFile(path,
                      "\xEF\xBB\xBF"
                      "a=1\r\nb=2\r\nc=3\r\n"));
    LoadReplacementList(path, rules);
    QCOMPARE(rules.count(), 3);
    QCOMPARE(NormaliseHeadword(u"abc", rules), u"a23");
    rules.setLines({"a=b"});
    LoadReplacementList(dir.path(), rules);
    QVERIFY(rules.isEmpty());
}

QTEST_APPLESS_MAIN(TestList)
#include "test_list.moc"
