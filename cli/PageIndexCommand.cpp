// make-page-index: a page-index dictionary proposed from a scanned
// document's text layer, with the pages in doubt listed for review.
#include "Commands.h"
#include "djvu/DocumentText.h"
#include "base/AtomicFile.h"
#include "base/TextFile.h"
#include "library/LetterRuns.h"
#include "library/PageIndexMaker.h"

#include <QDir>
#include <QFileInfo>

namespace lexifol::cli {

namespace {

QString g_locale;

// The lines of the index: each page with a word. A page in doubt whose
// word would break the order keeps the word before it, so that the page can
// be reached until the maker looks at it; one whose word fits the order
// keeps its word, the best reading there is.
QStringList IndexLines(const QList<PageProposal>& pages)
{
    QStringList lines;
    QString last;
    for (const PageProposal& p : pages) {
        // A page left out of the order with hardly an article on it (a
        // plate's caption) gets no line: the words it would take after the
        // word before are on the page before.
        if (p.word.isEmpty() || (!p.doubt.isEmpty() && !p.ordered && p.firstArticles.size() < 2))
            continue;
        const QString word = p.doubt.isEmpty() || p.ordered ? p.word : last;
        if (word.isEmpty())
            continue;
        lines << word + u'\t' + QString::number(p.page);
        last = word;
    }
    return lines;
}

} // namespace

void SetChosenLocale(const QString& locale)
{
    g_locale = locale;
}

QString ChosenLocale()
{
    return g_locale;
}

int MakePageIndex(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {QStringLiteral("-o"), QStringLiteral("--name")}, {});
    if (!o.error.isEmpty() || o.positional.size() != 1 || !o.values.contains("-o") || !o.values.contains("--name"))
        return io.err << "lexifol-index: "
                      << (o.error.isEmpty()
                              ? QStringLiteral("make-page-index needs DOCUMENT -o DATA_FOLDER --name NAME")
                              : o.error)
                      << "\n",
               2;
    const QString name = o.values.value("--name");
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.'))
        return io.err << "lexifol-index: --name " << name << ": not a dictionary name\n", 2;
    const Result<djvu::DocumentText> doc = djvu::DocumentText::open(o.positional[0]);
    if (!doc)
        return io.err << "lexifol-index: " << doc.error() << "\n", 2;
    const djvu::DocumentText& d = doc.value();

    QList<PageProposal> pages;
    LetterRuns runs;
    for (int i = 0; i < d.pageCount(); ++i) {
        const Result<djvu::TextLayer> layer = d.page(i);
        PageProposal unread;
        unread.page = i + 1;
        unread.doubt = layer ? QString() : layer.error();
        pages << (layer ? ProposePage(layer.value(), i + 1) : unread);
        if (layer)
            runs.add(layer.value());
        if (io.progress && (i + 1) % 50 == 0)
            io.err << "\rpage " << i + 1 << " of " << d.pageCount(), io.err.flush();
    }
    if (io.progress)
        io.err << "\r";
    FlagRareSpellings(pages, runs);
    CheckProposals(pages, IndexCollation::Default());

    const QString data = QDir::cleanPath(o.values.value("-o"));
    const QString folder = data + u'/' + name + QStringLiteral(".files/");
    if (!QDir().mkpath(folder))
        return io.err << "lexifol-index: cannot make " << folder << "\n", 2;
    const QString copy = folder + name + QStringLiteral(".djvu");
    // What stands at the document's place is replaced only when it is a
    // plain file: a link, a FIFO or a folder there was put by someone else.
    if (const QFileInfo there(copy); there.isSymLink() || (there.exists() && !there.isFile()))
        return io.err << "lexifol-index: " << copy << " is not a regular file; nothing written\n", 2;
    if (QFileInfo(copy).absoluteFilePath() != QFileInfo(o.positional[0]).absoluteFilePath()) {
        QFile::remove(copy);
        if (!QFile::copy(o.positional[0], copy))
            return io.err << "lexifol-index: cannot copy the document to " << copy << "\n", 2;
    }
    QString descriptor = QStringLiteral("[main]\r\nname=%1\r\nwhole_file=yes\r\ntext_layer=yes\r\npage_index=yes\r\n")
                             .arg(name);
    if (!g_locale.isEmpty())
        descriptor += QStringLiteral("collation=%1\r\n").arg(g_locale);
    const QStringList lines = IndexLines(pages);
    const int doubts = int(
        std::count_if(pages.begin(), pages.end(), [](const PageProposal& p) { return !p.doubt.isEmpty(); }));
    const int sections = int(
        std::count_if(pages.begin(), pages.end(), [](const PageProposal& p) { return p.restart; }));
    // The index last: its arrival makes the dictionary.
    for (const auto& [path, bytes] : {std::pair{folder + name + QStringLiteral(".ini"), descriptor.toUtf8()},
                                      std::pair{ReviewFilePath(folder, name), ReviewFileBytes(pages)},
                                      std::pair{data + u'/' + name + QStringLiteral(".list"), Utf16FileBytes(lines)}})
        if (const Status s = WriteFileAtomically(path, bytes); !s)
            return io.err << "lexifol-index: cannot write " << path << ": " << s.error() << "\n", 2;
    for (const PageProposal& p : pages)
        if (p.restart)
            io.err << "page " << p.page << ": a new alphabet begins (\"" << p.word << "\")\n";
    io.err << name << ": " << d.pageCount() << " pages, " << lines.size() << " lines, " << doubts << " in doubt ("
           << name << ".review.tsv)" << (sections ? QStringLiteral(", %1 sections more").arg(sections) : QString())
           << "\n";
    return doubts > 0 ? 1 : 0;
}

} // namespace lexifol::cli
