// The page index made from a scan, measured on a corpus made here: a
// dictionary of two-column pages whose text layers carry what OCR gives.
// Running heads hold two guide words with the page number on the left, in
// the middle or on the right; some heads are lost; OCR confuses l/I/1 and
// rn/m in some guide words, and now and then in the first article's
// headword; a page begins with the end of the previous article (indented)
// about half the time; plates have no text; the last pages start a second
// alphabet. The truth of every page is known, so the
// proposals are scored: right before any review, and wrong without being
// listed in the review. The same corpus without running heads scores the
// first-column rule alone. And the time of 1,000 pages against
// djvutxt --detail=line on the same document.
//   bench_pageindex [PAGES]
//   bench_pageindex --corpus FOLDER...   scans made by make_ocr_corpus
#include "DjvuEncode.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kW = 2400, kH = 3300, kLine = 60;

struct Word {
    QString text;
    int x, y, w;
};
struct Page {
    QList<QList<Word>> lines;
    QString truth;
}; // truth empty: no line expected

// A word list that reads like a language, sorted as the index will be.
QStringList Headwords(int n, quint32 seed)
{
    QRandomGenerator rng(seed);
    static const char* parts[] = {"ba", "ter", "lo", "mi",  "ran", "ve", "sol", "ca", "dri", "fen", "gu",  "hol",
                                  "ki", "lum", "no", "pra", "qui", "ro", "sta", "tu", "vor", "wi",  "zel", "ex"};
    QStringList out;
    while (out.size() < n) {
        QString w;
        for (int k = 0, parts_ = 2 + int(rng.bounded(3)); k < parts_; ++k)
            w += QString::fromLatin1(parts[rng.bounded(24)]);
        out << w;
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

QString Confuse(QString w, QRandomGenerator& rng)
{
    if (w.contains(u'l'))
        return w.replace(w.indexOf(u'l'), 1, rng.bounded(2) ? QStringLiteral("I") : QStringLiteral("1"));
    if (w.contains(QStringLiteral("m")))
        return w.replace(w.indexOf(u'm'), 1, QStringLiteral("rn"));
    return w.left(w.size() - 1);
}

QList<Word> LineOf(const QStringList& words, int x, int y)
{
    QList<Word> line;
    for (const QString& t : words) {
        line.append({t, x, y, int(t.size()) * 26});
        x += int(t.size()) * 26 + 22;
    }
    return line;
}

QList<Page> Corpus(int pages, bool heads)
{
    QRandomGenerator rng(77);
    const int perColumn = 22, perPage = 2 * perColumn;
    const int mainPages = pages * 95 / 100;
    QStringList words = Headwords(mainPages * perPage / 2, 5);
    const QStringList names = Headwords((pages - mainPages) * perPage / 2 + 10, 9);
    QList<Page> out;
    int next = 0, nextName = 0;
    for (int p = 0; p < pages; ++p) {
        Page page;
        if (rng.bounded(100) == 0) { // a plate
            out << page;
            continue;
        }
        const bool second = p >= mainPages;
        const QStringList& list = second ? names : words;
        int& at = second ? nextName : next;
        QStringList entries;
        for (int k = 0; k < perPage / 2 && at < list.size(); ++k)
            entries << list[at++];
        if (entries.isEmpty()) {
            out << page;
            continue;
        }
        page.truth = entries.first();
        if (heads && rng.bounded(100) >= 3) {
            QString first = entries.first(), last = entries.last();
            if (rng.bounded(100) < 5)
                first = Confuse(first, rng);
            const QString number = QString::number(p + 1);
            const int where = int(rng.bounded(3));
            const QStringList head = where == 0 ? QStringList{number, first, last}
                : where == 1                    ? QStringList{first, number, last}
                                                : QStringList{first, last, number};
            page.lines << LineOf(head, 200, 150);
        }
        int y = 420, x = 200;
        if (p > 0 && rng.bounded(2)) // the end of the previous article, indented
            page.lines << LineOf({"and", "so", "on", "to", "the", "end"}, x + 60, y), y += kLine;
        // Now and then OCR misreads the first article's headword too.
        const bool bodySlip = rng.bounded(100) < 2;
        for (int k = 0; k < entries.size(); ++k) {
            if (k == entries.size() / 2)
                x = 1300, y = 420;
            page.lines << LineOf(
                {k == 0 && bodySlip ? Confuse(entries[k], rng) : entries[k], "n.", "a", "word", "of", "the", "kind"}, x,
                y);
            page.lines << LineOf({"that", "is", "said", "here", "at", "length"}, x + 60, y + kLine);
            y += 2 * kLine;
        }
        out << page;
    }
    return out;
}

QString HiddenText(const Page& page)
{
    if (page.lines.isEmpty())
        return QString();
    QString t = QStringLiteral("(page 0 0 %1 %2\n").arg(kW).arg(kH);
    for (const QList<Word>& line : page.lines) {
        const int y0 = kH - line.first().y - 40, y1 = kH - line.first().y;
        t +=
            QStringLiteral(" (line %1 %2 %3 %4").arg(line.first().x).arg(y0).arg(line.last().x + line.last().w).arg(y1);
        for (const Word& w : line)
            t += QStringLiteral(" (word %1 %2 %3 %4 %5)")
                     .arg(w.x)
                     .arg(y0)
                     .arg(w.x + w.w)
                     .arg(y1)
                     .arg(lexifol::djvu::Quoted(w.text));
        t += QStringLiteral(")\n");
    }
    return t + QStringLiteral(")\n");
}

bool MakeDocument(const QString& dir, const QList<Page>& pages, const QString& book)
{
    QString error;
    QImage blank(kW / 8, kH / 8, QImage::Format_Mono);
    blank.fill(1);
    const QString one = dir + "/blank.djvu";
    if (!lexifol::djvu::EncodeBilevelPage(blank, 37, QString(), one, &error))
        return std::printf("%s\n", qPrintable(error)), false;
    QStringList files;
    QString script;
    for (int i = 0; i < pages.size(); ++i) {
        files << dir + QStringLiteral("/p%1.djvu").arg(i, 5, 10, QChar(u'0'));
        QFile::copy(one, files.last());
        const QString txt = dir + QStringLiteral("/t%1.txt").arg(i);
        QFile f(txt);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(HiddenText(pages[i]).toUtf8());
        if (!pages[i].lines.isEmpty())
            script += QStringLiteral("select %1; set-txt %2; ").arg(i + 1).arg(lexifol::djvu::Quoted(txt));
    }
    if (!lexifol::djvu::Bundle(book, files, &error))
        return std::printf("%s\n", qPrintable(error)), false;
    QFile s(dir + "/script");
    if (!s.open(QIODevice::WriteOnly))
        return false;
    s.write((script + "save").toUtf8());
    s.close();
    return lexifol::djvu::RunTool("djvused", {book, "-f", dir + "/script"}, &error)
        || (std::printf("%s\n", qPrintable(error)), false);
}

struct Score {
    int right = 0, wrongUnlisted = 0, pages = 0, dictionaryPages = 0, listed = 0;
    double ms = 0;
};

// Right: a dictionary page whose proposal (in the review, else in the index)
// is its first headword, letter case aside. Wrong and unlisted: any page
// whose index line is not its first headword, a page of front matter or a
// plate in the index included, and that the review does not list.
Score Run(const QString& tool, const QString& book, const QString& data, const QStringList& truth)
{
    QDir().mkpath(data);
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(tool, {"make-page-index", book, "-o", data, "--name", "Made", "--locale", "en"});
    p.waitForFinished(600000);
    Score s;
    s.ms = t.nsecsElapsed() / 1e6;
    QFile list(data + "/Made.list"), review(data + "/Made.files/Made.review.tsv");
    if (!list.open(QIODevice::ReadOnly) || !review.open(QIODevice::ReadOnly))
        return s;
    const QByteArray b = list.readAll();
    QMap<int, QString> byPage;
    for (const QString& l : QString::fromUtf16(reinterpret_cast<const char16_t*>(b.constData() + 2), (b.size() - 2) / 2)
                                .split("\r\n", Qt::SkipEmptyParts))
        byPage[l.section(u'\t', 1).toInt()] = l.section(u'\t', 0, 0);
    // A page in doubt is proposed in the review file; its index line is a stand-in.
    QMap<int, QString> listed;
    for (const QString& r : QString::fromUtf8(review.readAll()).split(u'\n', Qt::SkipEmptyParts).mid(1))
        listed[r.section(u'\t', 0, 0).toInt()] = r.section(u'\t', 1, 1);
    s.listed = int(listed.size());
    for (int i = 0; i < truth.size(); ++i) {
        const int page = i + 1;
        const QString got = listed.contains(page) ? listed.value(page) : byPage.value(page);
        ++s.pages;
        s.dictionaryPages += !truth[i].isEmpty();
        if (got.compare(truth[i], Qt::CaseInsensitive) == 0) {
            s.right += !truth[i].isEmpty();
            continue;
        }
        if (!listed.contains(page) && (byPage.contains(page) || !truth[i].isEmpty()))
            ++s.wrongUnlisted;
        if (qEnvironmentVariableIsSet("LEXIFOL_BENCH_VERBOSE"))
            std::printf("  page %d: %s, not %s%s\n", page, qPrintable(got), qPrintable(truth[i]),
                        listed.contains(page) ? " (in the review)" : "");
    }
    return s;
}

double Median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

// Scans made by make_ocr_corpus: each folder's book.djvu scored against its
// truth.tsv, by this build's tool and, when LEXIFOL_BENCH_BEFORE names
// another lexifol-index, by that one in the same run.
int ScoreCorpus(const QString& tool, const QStringList& folders)
{
    QStringList tools{tool};
    if (const QString before = qEnvironmentVariable("LEXIFOL_BENCH_BEFORE"); !before.isEmpty())
        tools.prepend(before);
    QTemporaryDir dir;
    std::printf("%-10s %-7s %6s %8s %8s %9s %7s\n", "document", "tool", "pages", "right %", "wrong+", "in review",
                "x djvutxt");
    for (const QString& t : tools) {
        Score all;
        for (const QString& folder : folders) {
            QFile f(folder + "/truth.tsv");
            if (!f.open(QIODevice::ReadOnly))
                return std::printf("%s: no truth.tsv\n", qPrintable(folder)), 1;
            QStringList truth;
            for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts))
                truth << (line.section(u'\t', 1, 1) == u"dictionary" ? line.section(u'\t', 2).trimmed() : QString());
            QList<double> ours, floor;
            Score s;
            for (int round = 0; round < 3; ++round) {
                s = Run(t, folder + "/book.djvu",
                        dir.filePath(QStringLiteral("%1%2").arg(qHash(t + folder)).arg(round)), truth);
                ours << s.ms;
                QElapsedTimer timer;
                timer.start();
                QProcess p;
                p.start("djvutxt", {"--detail=line", folder + "/book.djvu", dir.filePath("out.txt")});
                p.waitForFinished(600000);
                floor << timer.nsecsElapsed() / 1e6;
            }
            std::printf("%-10s %-7s %6d %8.1f %8d %9d %7.2f\n", qPrintable(QFileInfo(folder).fileName()),
                        t == tool ? "this" : "before", s.pages, 100.0 * s.right / std::max(1, s.dictionaryPages),
                        s.wrongUnlisted, s.listed, Median(ours) / Median(floor));
            all.pages += s.pages, all.right += s.right, all.dictionaryPages += s.dictionaryPages;
            all.wrongUnlisted += s.wrongUnlisted, all.listed += s.listed;
        }
        std::printf("%-10s %-7s %6d %8.1f %7.1f%% %9d   (goal: right >= 95 %%, wrong and unlisted <= 1 %%)\n", "all",
                    t == tool ? "this" : "before", all.pages, 100.0 * all.right / std::max(1, all.dictionaryPages),
                    100.0 * all.wrongUnlisted / std::max(1, all.pages), all.listed);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc > 2 && QString::fromLatin1(argv[1]) == u"--corpus") {
        QStringList folders;
        for (int i = 2; i < argc; ++i)
            folders << QString::fromLocal8Bit(argv[i]);
        return ScoreCorpus(QCoreApplication::applicationDirPath() + "/../cli/lexifol-index", folders);
    }
    const int n = argc > 1 ? std::atoi(argv[1]) : 1000;
    const QString tool = QCoreApplication::applicationDirPath() + "/../cli/lexifol-index";
    if (!lexifol::djvu::HaveTools() || QStandardPaths::findExecutable("djvutxt").isEmpty())
        return std::puts("bench_pageindex: cjb2, djvused, djvm and djvutxt are needed"), 0;
    QTemporaryDir dir;
    dir.setAutoRemove(!qEnvironmentVariableIsSet("LEXIFOL_BENCH_KEEP"));
    for (const bool heads : {true, false}) {
        const QList<Page> pages = Corpus(n, heads);
        const QString sub = dir.filePath(heads ? "heads" : "plain");
        QDir().mkpath(sub);
        const QString book = sub + "/book.djvu";
        QElapsedTimer made;
        made.start();
        if (!MakeDocument(sub, pages, book))
            return 1;
        std::printf("%s: %d pages made in %.1f s\n", heads ? "with running heads" : "without running heads", n,
                    made.elapsed() / 1000.0);
        // djvutxt at line detail, the goal's yardstick, and at word detail,
        // what the page index reads (each word's box).
        std::vector<double> ours, djvutxt, words;
        Score score;
        for (int round = 0; round < 3; ++round) {
            QStringList truth;
            for (const Page& p : pages)
                truth << p.truth;
            score = Run(tool, book, sub + QStringLiteral("/Data%1").arg(round), truth);
            ours.push_back(score.ms);
            for (auto* into : {&djvutxt, &words}) {
                QElapsedTimer t;
                t.start();
                QProcess p;
                p.start("djvutxt", {into == &words ? "--detail=word" : "--detail=line", book, sub + "/out.txt"});
                p.waitForFinished(600000);
                into->push_back(t.nsecsElapsed() / 1e6);
            }
        }
        for (auto* v : {&ours, &djvutxt, &words})
            std::sort(v->begin(), v->end());
        std::printf("  right before review %5.1f %% (goal %s), wrong and not in the review %4.1f %% (goal <= 1)\n",
                    100.0 * score.right / score.dictionaryPages, heads ? ">= 98" : ">= 95",
                    100.0 * score.wrongUnlisted / score.pages);
        std::printf("  make-page-index %7.0f ms, djvutxt --detail=line %7.0f ms: %.2fx (goal <= 1.5, < 10 s); "
                    "--detail=word %7.0f ms: %.2fx\n",
                    ours[1], djvutxt[1], ours[1] / djvutxt[1], words[1], ours[1] / words[1]);
    }
    return 0;
}
