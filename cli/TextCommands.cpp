// text-index: the pages of dictionaries made searchable ahead of time;
// text-search: what the viewer's text search finds, on a terminal.
#include "Commands.h"
#include "library/Catalogue.h"
#include "library/Locations.h"
#include "library/TextSearch.h"

#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>

namespace lexifol::cli {

namespace {

struct DataFolder {
    QString programFolder;
    QString cacheFolder;
};

// The cache folder the viewer of that Data folder uses.
std::optional<DataFolder> Resolve(const QString& data, Streams& io)
{
    const QFileInfo info(data);
    if (!info.isDir() || info.fileName() != QLatin1StringView("Data")) {
        io.err << "lexifol-index: " << data << " must be a program folder's Data folder\n";
        return std::nullopt;
    }
    const QString program = info.absoluteDir().absolutePath() + u'/';
    return DataFolder{program, Locations::Decide(program, XdgFolders::FromEnvironment()).cacheFolder()};
}

} // namespace

int TextIndexCommand(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {}, {});
    if (!o.error.isEmpty() || o.positional.isEmpty() || o.positional.size() > 2)
        return io.err << "lexifol-index: "
                      << (o.error.isEmpty() ? QStringLiteral("text-index needs DATA_FOLDER [NAME]") : o.error) << "\n",
               2;
    const std::optional<DataFolder> where = Resolve(o.positional[0], io);
    if (!where)
        return 2;
    const QStringList names = o.positional.size() == 2 ? QStringList{o.positional[1]}
                                                       : DiscoverDictionaries(o.positional[0]);
    int failed = 0;
    for (const QString& name : names) {
        const search::TextSource source = TextSourceFor(
            DictionaryPaths{where->programFolder, name, XdgFolders::FromEnvironment().data});
        QElapsedTimer t;
        t.start();
        search::BuildProgress progress;
        // Asked for by name: the index is checked, not only its identity.
        progress.verify = true;
        int unreadable = 0;
        progress.unreadable = &unreadable;
        int lastShown = -1;
        progress.step = [&](int done, int total) {
            if (io.progress && (done == total || done * 100 / total != lastShown)) {
                lastShown = done * 100 / total;
                io.err << "\r" << name << ": page " << done << " of " << total;
                io.err.flush();
            }
        };
        bool complete = false;
        const Status built = search::BuildTextIndex(source, where->cacheFolder, progress, &complete);
        if (io.progress)
            io.err << "\n";
        if (!built) {
            io.err << "lexifol-index: " << name << ": " << built.error() << "\n";
            ++failed;
            continue;
        }
        if (unreadable > 0) {
            io.err << "lexifol-index: " << name << ": " << unreadable
                   << " pages could not be read; the others are searchable\n";
            ++failed;
            continue;
        }
        io.err << name << ": pages searchable, " << t.elapsed() << " ms, "
               << QDir::toNativeSeparators(search::IndexPathFor(where->cacheFolder, source)) << "\n";
    }
    return failed > 0 ? 1 : 0;
}

int TextSearchCommand(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {}, {});
    if (!o.error.isEmpty() || o.positional.size() < 3)
        return io.err << "lexifol-index: "
                      << (o.error.isEmpty() ? QStringLiteral("text-search needs DATA_FOLDER NAME WORDS...") : o.error)
                      << "\n",
               2;
    const std::optional<DataFolder> where = Resolve(o.positional[0], io);
    if (!where)
        return 2;
    const search::TextSource source = TextSourceFor(
        DictionaryPaths{where->programFolder, o.positional[1], XdgFolders::FromEnvironment().data});
    int done = 0, total = 0;
    const auto found = search::SearchPages(source, where->cacheFolder, o.positional.mid(2).join(u' '), 20, &done,
                                           &total);
    if (!found)
        return io.err << "lexifol-index: " << found.error() << " (run text-index first)\n", 2;
    for (const search::PageResult& r : found.value())
        io.out << r.pageReference << '\t' << r.lineText << "\n";
    if (done < total)
        io.err << "only " << done << " of " << total << " pages are searchable yet\n";
    return found->isEmpty() ? 1 : 0;
}

} // namespace lexifol::cli
