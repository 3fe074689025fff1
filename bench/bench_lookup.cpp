// From a key press in the search box to the index list drawn with the
// selected row, on a dictionary of a million entries, with and without a
// second index. Run with QT_QPA_PLATFORM=offscreen (or on a desktop).
#include "app/KeyMapper.h"
#include "app/OtherStrip.h"
#include "WindowProbe.h"
#include "Resident.h"
#include "index/Collation.h"
#include "config/Messages.h"
#include "DjvuEncode.h"
#include "search/PageTextIndex.h"

#include <atomic>
#include <thread>

#include <QPainter>

#include <QApplication>
#include <QTest>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kPages = 40;

QByteArray utf16File(const QStringList& lines)
{
    QByteArray out("\xFF\xFE", 2);
    out.reserve(lines.size() * 40);
    for (const QString& l : lines) {
        const QString t = l + QStringLiteral("\r\n");
        out.append(reinterpret_cast<const char*>(t.utf16()), t.size() * 2);
    }
    return out;
}

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

struct Stats {
    double median, p99;
};

// A document of `pages` letter-size pages at 150 dpi, each with lines of
// text, so that the page drawn ahead after a pause in typing really runs.
bool MakeDocument(const QString& path, int pages)
{
    QStringList files;
    QString error;
    for (int p = 0; p < pages; ++p) {
        QImage page(1275, 1650, QImage::Format_Mono);
        page.fill(1);
        QPainter painter(&page);
        painter.setFont(QFont(QStringLiteral("DejaVu Serif"), 9));
        for (int line = 0; line < 60; ++line)
            painter.drawText(100, 120 + line * 24,
                             QStringLiteral("entry %1 of page %2, with the words that follow it").arg(line).arg(p + 1));
        painter.end();
        const QString file = QFileInfo(path).absolutePath() + QStringLiteral("/p%1.djvu").arg(p);
        if (!lexifol::djvu::EncodeBilevelPage(page, 150, QString(), file, &error))
            return std::fprintf(stderr, "%s\n", qPrintable(error)), false;
        files << file;
    }
    const bool bundled = lexifol::djvu::Bundle(path, files, &error);
    for (const QString& f : files)
        QFile::remove(f);
    return bundled;
}

// The X key code of a letter on a US keyboard (evdev + 8); 0 for others.
quint32 UsKeyCode(QChar c)
{
    static const char rows[] = "qwertyuiop\0asdfghjkl\0zxcvbnm";
    static const int first[] = {24, 38, 52};
    int row = 0, column = 0;
    for (const char* k = rows; k < rows + sizeof rows - 1; ++k, ++column) {
        if (*k == 0) {
            ++row, column = -1;
            continue;
        }
        if (*k == c.toLatin1())
            return quint32(first[row] + column);
    }
    return 0;
}

// With `native`, each key carries its key code, as from the keyboard, for
// the dictionary's layout to map (`mapped`: the word typed is not the one
// in the index then, so no row need be selected).
Stats measure(MainWindow& w, const QStringList& words, int samples, bool native = false, bool mapped = false,
              std::vector<double>* all = nullptr, quint32 seed = 7)
{
    std::vector<double> times;
    times.reserve(samples);
    QRandomGenerator rng(seed);
    for (int i = 0; i < samples; ++i) {
        const QString& word = words.at(rng.bounded(int(words.size())));
        Ui(w).searchBox->clear();
        const QString prefix = word.left(1 + rng.bounded(int(word.size())));
        // Everything but the last letter is already typed; time the last key.
        Ui(w).searchBox->setText(prefix.chopped(1));
        QApplication::processEvents();
        // ...and drawn, as it is by the time a reader presses the next key:
        // on a real display, updates wait for the next frame.
        Ui(w).indexList->viewport()->repaint();
        const QChar last = prefix.back();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, native ? UsKeyCode(last) : 0, 0, 0, QString(last));
        QElapsedTimer t;
        t.start();
        QApplication::sendEvent(Ui(w).searchBox, &press);
        Ui(w).indexList->viewport()->repaint();
        times.push_back(t.nsecsElapsed() / 1e6);
        if (!mapped && w.actions().selectedIndexRow() < 0 && prefix != word)
            qFatal("no row selected for %s", qPrintable(prefix));
        // Now and then a pause, as a reader's: the page of the selected
        // entry is drawn ahead, and the next keys are timed while it may
        // still be drawing.
        if (i % 25 == 24)
            QTest::qWait(220 + int(rng.bounded(200)));
    }
    if (all)
        all->insert(all->end(), times.begin(), times.end());
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[size_t(times.size() * 0.99)]};
}

Stats Of(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[size_t(times.size() * 0.99)]};
}

// The same keys mapped through a Russian layout by Lexifol and not mapped,
// in alternating blocks.
void MeasureMapped(MainWindow& w, const QStringList& words, int samples)
{
    lexifol::KeyMapper* mapper = nullptr;
    for (QObject* o : w.findChildren<QObject*>())
        if (auto* m = dynamic_cast<lexifol::KeyMapper*>(o))
            mapper = m;
    if (!mapper)
        return;
    std::vector<double> mapped, plain;
    for (int block = 0; block < 10; ++block) {
        mapper->apply("ru", QStringLiteral("translate"));
        measure(w, words, samples / 10, true, true, &mapped, 100 + block);
        mapper->apply(QByteArray(), QStringLiteral("off"));
        measure(w, words, samples / 10, true, false, &plain, 100 + block);
    }
    const Stats m = Of(mapped), p = Of(plain);
    std::printf("%-26s %12.3f %12.3f\n", "keys mapped through ru", m.median, m.p99);
    std::printf("%-26s %12.3f %12.3f   (goal p99 <= 1.1x: %.2fx)\n", "the same keys, not mapped", p.median, p.p99,
                m.p99 / p.p99);
}

} // namespace

// Resident memory as the reader moves through ten checked dictionaries with
// Ctrl+Down and back, beside what their lists take decoded.
void MeasureSwitching(MainWindow& w, const QStringList& words, double wordsMb)
{
    double decoded = 0;
    auto step = [&](bool down, const char* what) {
        QTest::keyClick(Ui(w).searchBox, down ? Qt::Key_Down : Qt::Key_Up, Qt::ControlModifier);
        Ui(w).searchBox->setText(words.at(12345 % words.size()));
        Ui(w).otherDictionaries->refresh();
        QApplication::processEvents();
        const auto& d = w.state().dictionary;
        std::printf("  %-28s %-8s resident %.0f MB, less the bench's own words %.0f MB\n", what, qPrintable(d.name),
                    ResidentMb(), ResidentMb() - wordsMb);
        return double(d.first.memoryBytes() + d.second.memoryBytes());
    };
    for (int i = 0; i < 4; ++i)
        decoded += step(true, "Ctrl+Down");
    for (int i = 0; i < 4; ++i)
        step(false, "Ctrl+Up, back");
    // The first and the five not visited hold copies of the first's list.
    decoded += 6 * double(w.state().dictionary.first.memoryBytes());
    std::printf("  ten dictionaries' lists decoded: %.0f MB; goal: under 1.2 x that + 100 = %.0f MB\n",
                decoded / 1048576, 1.2 * decoded / 1048576 + 100);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    lexifol::SetMessageHandler(
        [](const lexifol::Message& m) { std::fprintf(stderr, "message: %s\n", qPrintable(m.text)); });
    const int count = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 1000000;

    QTemporaryDir dir;
    const QString prog = dir.path() + QStringLiteral("/");
    const double startMb = ResidentMb();
    QStringList words;
    words.reserve(count);
    QRandomGenerator rng(42);
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzéü");
    for (int i = 0; i < count; ++i) {
        QString w;
        const int len = 5 + rng.bounded(21);
        for (int j = 0; j < len; ++j)
            w += letters.at(rng.bounded(j == 0 ? 26 : int(letters.size())));
        words << w;
    }
    const auto& coll = lexifol::IndexCollation::Default();
    std::sort(words.begin(), words.end(), [&](const QString& a, const QString& b) { return coll.compare(a, b) < 0; });
    const double wordsMb = ResidentMb() - startMb;
    QStringList first, second; // the files' lines, dropped once written
    first.reserve(count);
    second.reserve(count);
    for (int i = 0; i < count; ++i) {
        first << words[i] + QStringLiteral("\t") + QString::number(1 + (i / 40) % kPages);
        QString n = words[i];
        n.replace(QChar(0xE9), QLatin1Char('e')).replace(QChar(0xFC), QLatin1Char('u'));
        second << n;
    }
    write(prog + QStringLiteral("Data/Plain.list"), utf16File(first));
    write(prog + QStringLiteral("Data/Second.list"), utf16File(first));
    write(prog + QStringLiteral("Data/Second.files/secondindex.list"), utf16File(second));
    write(prog + QStringLiteral("Data/Second.files/replacelist.dat"), QString::fromUtf8("é=e\r\nü=u\r\n").toUtf8());
    first = second = QStringList();
    write(prog + QStringLiteral("Data/Plain.files/Plugin.dat"), "zoom=width\r\n");
    write(prog + QStringLiteral("Data/Second.files/Plugin.dat"), "zoom=width\r\n");
    // Both open a real document: a pause in typing draws the page ahead.
    if (!lexifol::djvu::HaveTools() || !MakeDocument(prog + QStringLiteral("Data/Plain.files/Plain.djvu"), kPages))
        qFatal("cannot make the document (cjb2, djvused and djvm are needed)");
    QFile::copy(prog + QStringLiteral("Data/Plain.files/Plain.djvu"),
                prog + QStringLiteral("Data/Second.files/Second.djvu"));
    for (const char* name : {"Plain", "Second"})
        write(prog + QStringLiteral("Data/%1.files/%1.ini").arg(QLatin1String(name)),
              QByteArray("[main]\r\nname=") + name + "\r\nwhole_file=yes\r\n");
    // Ten installed dictionaries of this size in all; start-up opens one.
    for (int i = 1; i <= 8; ++i)
        QFile::copy(prog + QStringLiteral("Data/Plain.list"), prog + QStringLiteral("Data/Zcopy%1.list").arg(i));
    QDir::setCurrent(prog);
    words.squeeze();

    // The program with an empty catalogue first: what a million entries add
    // is counted above it.
    const QString emptyProg = dir.path() + QStringLiteral("/empty/");
    QDir().mkpath(emptyProg + QStringLiteral("Data"));
    QDir::setCurrent(emptyProg);
    QElapsedTimer emptyTimer;
    emptyTimer.start();
    MainWindow empty(emptyProg);
    empty.resize(1000, 700);
    empty.show();
    QApplication::processEvents();
    // The first window also pays for loading fonts, styles and libraries.
    std::printf("start-up, empty catalogue, first window: %.1f ms\n", emptyTimer.nsecsElapsed() / 1e6);
    QDir::setCurrent(prog);
    // With every dictionary checked, the strip of the other dictionaries
    // looks the search text up in nine more at each pause in typing.
    const bool allChecked = qEnvironmentVariableIsSet("LEXIFOL_BENCH_ALL_CHECKED");
    if (allChecked) {
        QByteArray order = "Plain\t1\r\nSecond\t1\r\n";
        for (int i = 1; i <= 8; ++i)
            order += "Zcopy" + QByteArray::number(i) + "\t1\r\n";
        write(prog + QStringLiteral("diclist.dat"), order);
    }
    const double before = ResidentMb();
    QElapsedTimer startTimer;
    startTimer.start();
    MainWindow w(prog);
    w.resize(1000, 700);
    w.show();
    QApplication::processEvents();
    Ui(w).indexList->viewport()->repaint();
    // The text as the index holds it: the file's UTF-16 units, one break a line.
    const double textBytes = double(QFileInfo(prog + QStringLiteral("Data/Plain.list")).size() - 2 - 2 * count);
    std::printf("resident after start-up, more than with an empty catalogue: %.1f bytes an entry "
                "(goal: 1.2 x %.1f of text + 4 = %.1f)\n",
                (ResidentMb() - before) * 1024 * 1024 / count, textBytes / count, 1.2 * textBytes / count + 4);
    std::printf("start-up, %d dictionaries of %d entries, second window: %.1f ms\n", int(Ui(w).catalogueList->count()),
                count, startTimer.nsecsElapsed() / 1e6);

    const int samples = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 2000;
    if (allChecked && Ui(w).otherDictionaries) {
        QElapsedTimer opened;
        opened.start();
        auto opening = [&w] {
            const auto& hits = Ui(w).otherDictionaries->hits();
            return hits.isEmpty() || std::any_of(hits.begin(), hits.end(), [](const lexifol::ShelfHit& h) {
                       return h.kind == lexifol::ShelfHit::Kind::Opening;
                   });
        };
        while (opening() && opened.elapsed() < 60000) {
            Ui(w).otherDictionaries->refresh();
            QTest::qWait(20);
        }
        std::printf("strip: nine other 1M dictionaries opened off the window's thread in %.0f ms, resident %.0f MB\n",
                    double(opened.elapsed()), ResidentMb());
        std::vector<double> refreshes;
        for (int i = 0; i < 50; ++i) {
            Ui(w).searchBox->setText(words.at(i * 997 % words.size()));
            QElapsedTimer t;
            t.start();
            Ui(w).otherDictionaries->refresh();
            refreshes.push_back(t.nsecsElapsed() / 1e6);
        }
        std::sort(refreshes.begin(), refreshes.end());
        std::printf("strip refreshed at a pause in typing: median %.3f ms, max %.3f ms\n",
                    refreshes[refreshes.size() / 2], refreshes.back());
        MeasureSwitching(w, words, wordsMb);
    }
    // With LEXIFOL_BENCH_TEXT_BUILD set, the pages of a dictionary are made
    // searchable over and over on a thread meanwhile, as the text search
    // does the first time: typing must not feel it.
    std::atomic<bool> stopBuilding{false};
    std::thread textBuilder;
    if (qEnvironmentVariableIsSet("LEXIFOL_BENCH_TEXT_BUILD")) {
        lexifol::search::TextSource source;
        source.name = QStringLiteral("Plain");
        source.folder = prog + QStringLiteral("Data/Plain.files/");
        textBuilder = std::thread([source, &stopBuilding, cache = dir.path() + QStringLiteral("/textcache/")] {
            lexifol::search::BuildProgress p;
            p.cancel = &stopBuilding;
            p.background = true; // as the text search tab builds
            for (int round = 0; !stopBuilding; ++round) {
                bool complete = false;
                (void)lexifol::search::BuildTextIndex(source, cache + QString::number(round) + u'/', p, &complete);
                QDir(cache + QString::number(round)).removeRecursively();
            }
        });
        std::printf("the pages of a dictionary made searchable over and over meanwhile\n");
    }
    std::printf("%-26s %12s %12s\n", "key press to row drawn", "median ms", "p99 ms");
    for (int row = 0; row < 2; ++row) { // Plain, then Second
        // Opened from the catalogue a few times, from the other dictionary
        // each time: the median, read from the files (the cache emptied
        // first) and back from the cache (opened a moment ago).
        std::vector<double> opens, reopens;
        for (int k = 0; k < 7; ++k) {
            for (std::vector<double>* into : {&opens, &reopens}) {
                Ui(w).catalogueList->setCurrentRow(1 - row);
                w.actions().openDictionary();
                QApplication::processEvents();
                if (into == &opens)
                    w.state().indexCache.clear();
                QElapsedTimer openTimer;
                Ui(w).catalogueList->setCurrentRow(row);
                Ui(w).searchBox->clear();
                openTimer.start();
                w.actions().openDictionary();
                into->push_back(openTimer.nsecsElapsed() / 1e6);
            }
        }
        std::sort(opens.begin(), opens.end());
        std::sort(reopens.begin(), reopens.end());
        const double openMs = opens[opens.size() / 2];
        std::printf("opened again a moment later (goal < 5 ms): median %.2f ms, max %.2f ms\n",
                    reopens[reopens.size() / 2], reopens.back());
        QApplication::processEvents();
        Ui(w).indexList->viewport()->repaint();
        std::printf("resident after opening: %.1f MB\n", ResidentMb());
        const bool hasSecond = !w.state().dictionary.second.isEmpty();
        const Stats s = measure(w, words, samples);
        std::printf("%-26s %12.3f %12.3f   (opening median %.1f ms)\n",
                    hasSecond ? "with second index" : "first index only", s.median, s.p99, openMs);
        if (row == 0)
            MeasureMapped(w, words, samples);
    }
    stopBuilding = true;
    if (textBuilder.joinable())
        textBuilder.join();
    w.shutdown();
    return 0;
}
