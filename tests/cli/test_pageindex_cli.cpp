// make-page-index end to end: a scanned document with a title page,
// running heads, a plate, OCR's slips and specks and pages without heads becomes a page-index
// dictionary the viewer opens, with the pages in doubt in the review file
// that lint counts.
#include "DjvuFixture.h"
#include "RunTool.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace lexifol::testing;

namespace {

QStringList Body(const QStringList& headwords)
{
    QStringList lines;
    for (const QString& h : headwords)
        lines << h + " n. a word of this page that has a long line";
    return lines;
}

} // namespace

class PageIndexCli : public QObject
{
    Q_OBJECT
private slots:
    void scanBecomesDictionary()
    {
        if (!HaveDjvuTools())
            QSKIP("cjb2, djvused and djvm are needed");
        QTemporaryDir dir;
        const QList<QStringList> pages = {
            QStringList{"ENGLISH"}, // a title page
            QStringList{"apple 1 axe"} + Body({"apple", "arm", "axe"}),
            QStringList{"2 bank bird"} + Body({"bank", "bell", "bird"}),
            QStringList{"PLATE XII"},                                     // a plate: its caption only
            QStringList{"cart — cup 4 ."} + Body({"cart", "cow", "cup"}), // OCR's dash and speck
            Body({"dog", "door", "duck"}),                                // no running head
            QStringList{"6 abbey zinc"} + Body({"egg", "elm", "eye"}),    // a slip the body corrects
        };
        QStringList files;
        QString error;
        for (int i = 0; i < pages.size(); ++i) {
            files << dir.filePath(QStringLiteral("p%1.djvu").arg(i));
            QVERIFY2(MakeDjvuPage(files.last(), pages[i], 1500, nullptr, &error, QSize(1200, 1600), 0, 30),
                     qPrintable(error));
        }
        const QString book = dir.filePath("book.djvu");
        QVERIFY2(BundleDjvu(book, files, &error), qPrintable(error));
        const QString data = dir.filePath("Data");
        QDir().mkpath(data);

        const Run made = RunLexifolIndex({"make-page-index", book, "-o", data, "--name", "Scan", "--locale", "en"});
        QCOMPARE(made.code, 1); // the plate is in doubt
        QFile list(data + "/Scan.list");
        QVERIFY(list.open(QIODevice::ReadOnly));
        const QByteArray bytes = list.readAll();
        QVERIFY(bytes.startsWith("\xFF\xFE"));
        const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                                (bytes.size() - 2) / 2);
        QCOMPARE(text.split("\r\n", Qt::SkipEmptyParts),
                 QStringList({"apple\t2", "bank\t3", "cart\t5", "dog\t6", "egg\t7"}));
        QFile review(data + "/Scan.files/Scan.review.tsv");
        QVERIFY(review.open(QIODevice::ReadOnly));
        const QStringList rows = QString::fromUtf8(review.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 3);
        QVERIFY2(rows[1].startsWith("1\tENGLISH\t"), qPrintable(rows[1]));
        QVERIFY2(rows[2].startsWith("4\t"), qPrintable(rows[2]));
        QFile ini(data + "/Scan.files/Scan.ini");
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray descriptor = ini.readAll();
        for (const char* key : {"page_index=yes", "text_layer=yes", "collation=en", "whole_file=yes"})
            QVERIFY2(descriptor.contains(key), key);

        const Run lint = RunLexifolIndex({"lint", data, "Scan"});
        QVERIFY2(lint.out.contains("2 pages in doubt"), qPrintable(lint.out));
        const Run lookup = RunLexifolIndex({"lookup", data, "Scan", "door"});
        QCOMPARE(lookup.out.trimmed(), QStringLiteral("door\t~dog\t6"));
    }

    // Something planted at the document's place in the output folder is
    // refused, and nothing it points to is touched.
    void plantedFileIsRefused_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::newRow("a link to a file elsewhere") << "link";
        QTest::newRow("a FIFO") << "fifo";
    }
    void plantedFileIsRefused()
    {
        QFETCH(QString, planted);
        if (!HaveDjvuTools())
            QSKIP("cjb2, djvused and djvm are needed");
        QTemporaryDir dir;
        QString error;
        const QString book = dir.filePath("book.djvu");
        QVERIFY2(MakeDjvuPage(book, Body({"apple", "arm", "axe"}), 1500, nullptr, &error, QSize(1200, 1600), 0, 30),
                 qPrintable(error));
        const QString folder = dir.filePath("Data/Scan.files/"), victim = dir.filePath("victim");
        QVERIFY(QDir().mkpath(folder));
        QFile v(victim);
        QVERIFY(v.open(QIODevice::WriteOnly) && v.write("precious") == 8);
        v.close();
        if (planted == u"link")
            QVERIFY(QFile::link(victim, folder + "Scan.djvu"));
        else
            QVERIFY(::mkfifo(QFile::encodeName(folder + "Scan.djvu").constData(), 0600) == 0);
        const Run made = RunLexifolIndex({"make-page-index", book, "-o", dir.filePath("Data"), "--name", "Scan"});
        QCOMPARE(made.code, 2);
        QVERIFY2(made.err.contains("not a regular file"), qPrintable(made.err));
        QVERIFY(!QFileInfo::exists(dir.filePath("Data/Scan.list")));
        QVERIFY(v.open(QIODevice::ReadOnly));
        QCOMPARE(v.readAll(), QByteArray("precious"));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv); // the pages are drawn with Qt
    PageIndexCli t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_pageindex_cli.moc"
