// lexifol_mksample <program-folder>
//
// Makes a program folder with sample dictionaries whose pages look like a
// printed dictionary: "Sample" (one bundled DjVu document, UTF-16 index),
// "Pages" (one DjVu file per page, 8-bit index) and "First words" (Sample's
// document indexed by the first headword of each page), plus the settings file,
// plug-in parameters, intro and help pages. Output is deterministic for a
// given locale, since the index order follows the program's collation.

#include "mksample.h"

#include "DjvuEncode.h"
#include "base/AtomicFile.h"
#include "base/CodePage.h"
#include "base/TextFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

using namespace mksample;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    if (const lexifol::Status s = lexifol::WriteFileAtomically(path, bytes); !s)
        fail(QStringLiteral("cannot write %1: %2").arg(path, s.error()));
}

QByteArray crlfLines(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

void copyReplacing(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        fail(QStringLiteral("cannot copy %1 to %2").arg(from, to));
}

// Only our own page documents are removed, so a second index or replacement
// list that the user built stays.
void removeDocuments(const QString& dir)
{
    const QStringList old = QDir(dir).entryList({QStringLiteral("*.djvu")}, QDir::Files);
    for (const QString& f : old)
        QFile::remove(dir + QLatin1Char('/') + f);
}

void makeDir(const QString& path)
{
    if (!QDir().mkpath(path))
        fail(QStringLiteral("cannot create %1").arg(path));
}

// A drawn page on its way to the encoder.
struct PendingPage {
    QString base; // file name without ".djvu", in the temporary folder
    DrawnPage drawn;
};

PendingPage drawPage(const PageLayout& layout, const Typeset& ts, const QString& base)
{
    DrawnPage d = renderPage(layout, ts);
    // Kept bilevel until encoded: a page in colour is 33 MB.
    d.image = d.image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::MonoOnly);
    return {base, std::move(d)};
}

QVector<PendingPage> drawDictionary(const QVector<PageLayout>& pages, const Typeset& ts, const QString& prefix)
{
    QVector<PendingPage> out;
    for (const PageLayout& p : pages)
        out << drawPage(p, ts, prefix + QString::number(p.number).rightJustified(3, QLatin1Char('0')));
    return out;
}

// Encodes the pages into <tmp>/<base>.djvu, two at a time.
void encodePages(const QString& tmp, const QVector<PendingPage>& pages)
{
    std::atomic<int> next{0};
    std::mutex mutex;
    QStringList errors;
    auto worker = [&] {
        for (int i = next++; i < pages.size(); i = next++) {
            QString error;
            const QString path = tmp + QLatin1Char('/') + pages[i].base + QStringLiteral(".djvu");
            if (!lexifol::djvu::EncodeBilevelPage(pages[i].drawn.image, kDpi, pages[i].drawn.hiddenText, path,
                                                  &error)) {
                std::lock_guard<std::mutex> lock(mutex);
                errors << error;
            }
        }
    };
    std::thread a(worker), b(worker);
    a.join();
    b.join();
    if (!errors.isEmpty())
        fail(errors.join(QLatin1Char('\n')));
}

struct Dictionary {
    QVector<Entry> entries;
    Typeset type;
    QVector<PageLayout> pages;
    QStringList index;
    Summary summary;
    QString prefix; // of its page files' names
    QVector<PendingPage> drawn;
};

// Layout first: page numbers must be known before anything is drawn.
Dictionary makeDictionary(QVector<Entry> entries, const Typeset& type, const QString& name, const QString& title,
                          const QString& prefix)
{
    Dictionary d{std::move(entries), type, {}, {}, {}, {}, {}};
    d.pages = layoutDictionary(d.entries, d.type);
    d.index = indexLines(d.entries, qPrintable(name));
    d.summary = Summary{name, title, int(d.pages.size()), int(d.entries.size()),
                        exampleOf(d.entries, QStringLiteral("apple"))};
    d.prefix = prefix;
    return d;
}

PendingPage drawAnnotation(const Dictionary& pages)
{
    const PageLayout about = layoutText(
        QStringLiteral("About this dictionary"),
        {QStringLiteral("This concise dictionary of English was made for trying Lexifol out. "
                        "Each of its %1 pages is a DjVu file of its own, named after the page "
                        "number, and carries a hidden text layer.")
             .arg(pages.summary.pages),
         QStringLiteral("Its index holds %1 headwords in 8-bit text. A few entries refer to another "
                        "headword, for example colour to color and went to go.")
             .arg(pages.summary.entries),
         QStringLiteral("This page is the dictionary's annotation document.")},
        pages.type);
    return drawPage(about, pages.type, QStringLiteral("annotation"));
}

QByteArray pluginParameters()
{
    return crlfLines({QStringLiteral("width=\"100%\""), QStringLiteral("height=\"100%\""), QStringLiteral("Toolbar=no"),
                      QStringLiteral("ScrollBars=no"), QStringLiteral("zoom=width")});
}

// One line per page of Sample: the first headword printed on it.
QStringList firstWordsIndex(const Dictionary& sample)
{
    QVector<Entry> firsts;
    for (const PageLayout& p : sample.pages)
        if (!p.first.isEmpty())
            firsts << Entry{p.first, {}, {}, {}, p.number};
    return indexLines(firsts, "First words");
}

Summary firstWordsSummary(const Dictionary& sample)
{
    return Summary{QStringLiteral("First words"),
                   QStringLiteral("Sample dictionary, page index"),
                   sample.summary.pages,
                   int(firstWordsIndex(sample).size()),
                   {}};
}

void writeProgramFiles(const QString& root, const Dictionary& sample, const Dictionary& pages)
{
    writeFile(root + QStringLiteral("/Plugin.dat"), pluginParameters());
    writeFile(root + QStringLiteral("/Lexifol.ini"),
              crlfLines({QStringLiteral("[Scroll]"), QStringLiteral("Browser_Mouse=0"), QStringLiteral("[main]"),
                         QStringLiteral("advanced=1"), QStringLiteral("[Shortcuts]"), QStringLiteral("1=Sample"),
                         QStringLiteral("2=Pages"), QStringLiteral("3=First words")}));
    // The catalogue file of a user who starts Lexifol in this folder: the
    // whole-file sample first. A catalogue the user already has is kept.
    if (!QFileInfo::exists(root + QStringLiteral("/diclist.dat")))
        writeFile(
            root + QStringLiteral("/diclist.dat"),
            crlfLines({QStringLiteral("Sample\t1"), QStringLiteral("Pages\t0"), QStringLiteral("First words\t1")}));
    writeFile(root + QStringLiteral("/Intro/intro.htm"),
              introPage({sample.summary, pages.summary, firstWordsSummary(sample)}).toUtf8());
    writeFile(root + QStringLiteral("/Help/main.htm"), helpPage().toUtf8());
    writeFile(root + QStringLiteral("/Help/main_ru.htm"), helpPageRussian().toUtf8());
    writeFile(root + QStringLiteral("/Intro/intro_ru.htm"),
              introPageRussian({sample.summary, pages.summary, firstWordsSummary(sample)}).toUtf8());
}

void installSample(const QString& tmp, const QString& data, const Dictionary& sample)
{
    QStringList files;
    for (const PendingPage& p : sample.drawn)
        files << tmp + QLatin1Char('/') + p.base + QStringLiteral(".djvu");
    QString error;
    if (!lexifol::djvu::Bundle(tmp + QStringLiteral("/Sample.djvu"), files, &error))
        fail(error);
    const QString dir = data + QStringLiteral("/Sample.files");
    removeDocuments(dir);
    copyReplacing(tmp + QStringLiteral("/Sample.djvu"), dir + QStringLiteral("/Sample.djvu"));
    writeFile(dir + QStringLiteral("/Sample.ini"),
              lexifol::Utf16FileBytes({QStringLiteral("[main]"), QStringLiteral("name=") + sample.summary.title,
                                       QStringLiteral("whole_file=yes"), QStringLiteral("text_layer=yes"),
                                       QStringLiteral("keyboard_layout=00000409")}));
    writeFile(dir + QStringLiteral("/Plugin.dat"), pluginParameters());
    writeFile(dir + QStringLiteral("/Annotation.htm"), annotationPage(sample.summary).toUtf8());
    writeFile(data + QStringLiteral("/Sample.list"), lexifol::Utf16FileBytes(sample.index));
}

void installFirstWords(const QString& tmp, const QString& data, const Dictionary& sample)
{
    const QString name = QStringLiteral("First words");
    const QString dir = data + QLatin1Char('/') + name + QStringLiteral(".files");
    makeDir(dir);
    removeDocuments(dir);
    copyReplacing(tmp + QStringLiteral("/Sample.djvu"), dir + QLatin1Char('/') + name + QStringLiteral(".djvu"));
    writeFile(
        dir + QLatin1Char('/') + name + QStringLiteral(".ini"),
        lexifol::Utf16FileBytes({QStringLiteral("[main]"), QStringLiteral("name=") + firstWordsSummary(sample).title,
                                 QStringLiteral("whole_file=yes"), QStringLiteral("text_layer=yes"),
                                 QStringLiteral("page_index=yes"), QStringLiteral("keyboard_layout=00000409")}));
    writeFile(dir + QStringLiteral("/Plugin.dat"), pluginParameters());
    writeFile(data + QLatin1Char('/') + name + QStringLiteral(".list"),
              lexifol::Utf16FileBytes(firstWordsIndex(sample)));
}

void installPages(const QString& tmp, const QString& data, const Dictionary& pages)
{
    const QString dir = data + QStringLiteral("/Pages.files");
    removeDocuments(dir);
    for (int i = 0; i < pages.drawn.size(); ++i)
        copyReplacing(tmp + QLatin1Char('/') + pages.drawn[i].base + QStringLiteral(".djvu"),
                      dir + QLatin1Char('/') + QString::number(pages.pages[i].number) + QStringLiteral(".djvu"));
    copyReplacing(tmp + QStringLiteral("/annotation.djvu"), dir + QStringLiteral("/Annotation.djvu"));
    writeFile(dir + QStringLiteral("/Pages.ini"),
              crlfLines({QStringLiteral("[main]"), QStringLiteral("name=") + pages.summary.title,
                         QStringLiteral("whole_file=no"), QStringLiteral("text_layer=yes"),
                         QStringLiteral("keyboard_layout=00000409")}));
    writeFile(dir + QStringLiteral("/Plugin.dat"), pluginParameters());
    QByteArray list;
    for (const QString& l : pages.index)
        list += lexifol::Ansi().encode(l) + "\r\n";
    writeFile(data + QStringLiteral("/Pages.list"), list);
}

int run(const QString& programFolder)
{
    if (!lexifol::djvu::HaveTools())
        fail(QStringLiteral("cjb2, djvm or djvused not found (install djvulibre-bin)"));
    QElapsedTimer timer;
    timer.start();
    const QString root = QDir(programFolder).absolutePath();
    QTemporaryDir tmpDir(QDir::tempPath() + QStringLiteral("/lexifol_mksample-XXXXXX"));
    if (!tmpDir.isValid())
        fail(QStringLiteral("cannot create a temporary folder"));
    const QString tmp = tmpDir.path();

    Dictionary sample = makeDictionary(sampleEntries(), typeset(QStringLiteral("DejaVu Serif"), 60),
                                       QStringLiteral("Sample"), QStringLiteral("Sample English Dictionary"),
                                       QStringLiteral("s"));
    Dictionary pages = makeDictionary(pagesEntries(), typeset(QStringLiteral("DejaVu Sans"), 64),
                                      QStringLiteral("Pages"), QStringLiteral("Sample dictionary, one file per page"),
                                      QStringLiteral("p"));
    // Every page is laid out before any is drawn: the glyphs drawn depend a
    // little on what the font engine measured before, and this order is the
    // one the sample's pages are known by.
    for (Dictionary* d : {&sample, &pages})
        d->drawn = drawDictionary(d->pages, d->type, d->prefix);
    const qint64 renderMs = timer.elapsed();
    encodePages(tmp, sample.drawn + pages.drawn + QVector<PendingPage>{drawAnnotation(pages)});

    const QString data = root + QStringLiteral("/Data");
    for (const QString& d : {data + QStringLiteral("/Sample.files"), data + QStringLiteral("/Pages.files"),
                             root + QStringLiteral("/Intro"), root + QStringLiteral("/Help")})
        makeDir(d);
    writeProgramFiles(root, sample, pages);
    installSample(tmp, data, sample);
    installPages(tmp, data, pages);
    installFirstWords(tmp, data, sample);

    std::printf("%s: Sample %d pages, %d entries; Pages %d pages, %d entries (%s code page); "
                "drawn in %lld ms, done in %lld ms\n",
                qPrintable(root), sample.summary.pages, sample.summary.entries, pages.summary.pages,
                pages.summary.entries, qPrintable(lexifol::Ansi().name()), renderMs, timer.elapsed());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2 || args[1].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: lexifol_mksample <program-folder>\n");
        return 2;
    }
    try {
        return run(args[1]);
    } catch (const Failure& f) {
        std::fprintf(stderr, "lexifol_mksample: %s\n", qPrintable(f.message));
        return 1;
    }
}
