// The headword mark on scans: for every article of make_ocr_corpus's pages
// whose headword the OCR read right, whether the mark lands on that article's
// headword (not on the running head, not on the word inside another
// article). "Plain" is the mark that knows only which lines begin a text
// line and which form the head; "articles" also knows where articles begin.
//   bench_mark FOLDER...
#include "djvu/Document.h"
#include "djvu/LocateWord.h"
#include "djvu/PageSelection.h"
#include "djvu/RunningHead.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

using namespace lexifol;

namespace {

struct Truth {
    QString headword;
    QPoint at;
};

bool Near(const QRect& box, QPoint at)
{
    return box.adjusted(-8, -8, 8, 8).contains(at);
}

// Whether the layer holds the headword, its first word printed at `at`.
bool ReadRight(const QList<PageWord>& words, const Truth& t)
{
    const QStringList parts = t.headword.split(u' ', Qt::SkipEmptyParts);
    for (int i = 0; i + parts.size() <= words.size(); ++i) {
        if (!Near(words[i].box, t.at))
            continue;
        bool same = true;
        for (int k = 0; k < parts.size() && same; ++k)
            same = WithoutPunctuation(words[i + k].text).compare(parts[k], Qt::CaseInsensitive) == 0;
        if (same)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::printf("%-10s %7s %9s %11s\n", "document", "marks", "plain %", "articles %");
    int all = 0, plainAll = 0, articlesAll = 0;
    for (int a = 1; a < argc; ++a) {
        const QString folder = QString::fromLocal8Bit(argv[a]);
        QFile f(folder + "/marks.tsv");
        auto doc = djvu::Document::open(folder + "/book.djvu");
        if (!f.open(QIODevice::ReadOnly) || !doc)
            return std::printf("%s: no marks.tsv or book.djvu\n", argv[a]), 1;
        QMap<int, QList<Truth>> byPage;
        for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList c = line.split(u'\t');
            QList<Truth>& page = byPage[c[0].toInt()];
            // A headword printed twice on a page (homographs, letter case
            // aside): the first is the one looked up.
            if (std::none_of(page.begin(), page.end(),
                             [&](const Truth& t) { return t.headword.compare(c[1], Qt::CaseInsensitive) == 0; }))
                page.append({c[1], QPoint(c[2].toInt(), c[3].toInt())});
        }
        int marks = 0, plain = 0, articles = 0;
        for (auto it = byPage.begin(); it != byPage.end(); ++it) {
            const Result<djvu::TextLayer> layer = doc.value()->pageText(it.key() - 1, true);
            if (!layer)
                continue;
            const QList<bool> head = djvu::RunningHeadWords(layer.value()),
                              starts = djvu::ArticleStartWords(layer.value());
            for (const Truth& t : it.value()) {
                if (!ReadRight(layer.value().words, t))
                    continue;
                ++marks;
                const auto p = LocateHeadword(layer.value().words, t.headword, head);
                const auto s = LocateHeadword(layer.value().words, t.headword, head, starts);
                plain += p && Near(*p, t.at);
                articles += s && Near(*s, t.at);
                if (qEnvironmentVariableIsSet("LEXIFOL_BENCH_VERBOSE") && !(s && Near(*s, t.at)))
                    std::printf("  page %d: %s at %d,%d, marked at %d,%d\n", it.key(), qPrintable(t.headword), t.at.x(),
                                t.at.y(), s ? s->x() : -1, s ? s->y() : -1);
            }
        }
        std::printf("%-10s %7d %9.1f %11.1f\n", qPrintable(QFileInfo(folder).fileName()), marks,
                    100.0 * plain / std::max(1, marks), 100.0 * articles / std::max(1, marks));
        all += marks, plainAll += plain, articlesAll += articles;
    }
    std::printf("%-10s %7d %9.1f %11.1f   (goal: >= 95 %%)\n", "all", all, 100.0 * plainAll / std::max(1, all),
                100.0 * articlesAll / std::max(1, all));
    return 0;
}
