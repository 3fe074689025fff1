// lexifol-index lookup: the viewer's own lookup, without a display.
#include "Commands.h"

#include "index/IndexOps.h"
#include "library/ActiveDictionary.h"
#include "library/Locations.h"
#include "library/WordLookup.h"

#include <QDir>
#include <QFileInfo>

namespace lexifol::cli {

namespace {

// The headword equals the word: under the dictionary's collation, or as
// its rules make both.
bool IsExact(const ActiveDictionary& d, int row, const QString& word)
{
    if (d.order().compare(d.first.headword(row), word) == 0)
        return true;
    return !d.second.isEmpty() && d.second.line(row) == NormaliseHeadword(word, d.rules);
}

} // namespace

int LookUpWords(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {}, {});
    if (!o.error.isEmpty() || o.positional.size() < 3)
        return io.err << "lexifol-index: "
                      << (o.error.isEmpty() ? QStringLiteral("lookup needs DATA_FOLDER NAME WORD...") : o.error)
                      << "\n",
               2;
    const QFileInfo data(o.positional[0]);
    if (!data.isDir() || data.fileName() != QLatin1StringView("Data"))
        return io.err << "lexifol-index: " << o.positional[0] << " must be a program folder's Data folder\n", 2;
    const QString programFolder = data.absoluteDir().absolutePath() + u'/';
    ActiveDictionary d;
    // A second index built for a dictionary the user cannot write lies in
    // the user's data folder, as the viewer finds it.
    d.userRoot = XdgFolders::FromEnvironment().data;
    const OpenOutcome opened = d.open({programFolder, o.positional[1], false, false, false});
    for (const QString& m : opened.messages)
        io.err << "lexifol-index: " << QString(m).replace(QStringLiteral("\r\n"), QStringLiteral(" ")) << "\n";
    if (!opened.opened)
        return io.err << "lexifol-index: cannot open dictionary " << o.positional[1] << "\n", 2;
    int missing = 0;
    for (const QString& word : o.positional.mid(2)) {
        const std::optional<Hit> hit = LookUp(d, word);
        if (!hit) {
            io.out << word << "\t\t\n";
            ++missing;
            continue;
        }
        const bool exact = IsExact(d, hit->row, word) || IsExact(d, TypedRow(d, word), word);
        io.out << word << '\t' << (exact ? "" : "~") << d.first.headword(hit->row).toString() << '\t' << hit->page
               << '\n';
    }
    return missing > 0 ? 1 : 0;
}

} // namespace lexifol::cli
