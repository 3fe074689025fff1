// lexifol-index: sorts, checks and builds dictionary indexes with exactly
// the rules the viewer uses.
#include "Commands.h"
#include "djvu/TextHelper.h"
#include "base/CodePage.h"
#include "index/Collation.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace lexifol::cli;

namespace {

const char kUsage[] =
    "usage: lexifol-index COMMAND [options]\n"
    "  check FILE [--second]                       order of an index (exit 1 when out of order)\n"
    "  sort FILE -o OUT [--encoding utf16|utf8|ansi]  entries ordered by headword, stable\n"
    "  build-second DATA_FOLDER NAME --rules RULES  the second index and replacement list\n"
    "  lint DATA_FOLDER [NAME] [--deep]            faults of the installed dictionaries\n"
    "  lookup DATA_FOLDER NAME WORD...             the viewer's lookup: word TAB headword TAB page\n"
    "                                              (~ before a nearest headword; exit 1 when a word has none)\n"
    "  text-index DATA_FOLDER [NAME]               makes the pages' printed text searchable, ahead of the viewer\n"
    "  text-search DATA_FOLDER NAME WORDS...       pages holding the words: page TAB line (\"a phrase\", prefix*)\n"
    "  make-page-index DOCUMENT -o DATA_FOLDER --name NAME   a page index proposed from the text layer,\n"
    "                                              pages in doubt in NAME.files/NAME.review.tsv (exit 1 when any)\n"
    "  ocr SCAN.djvu -o OUT.djvu [--lang eng+rus] [--jobs N] [--pages A-B] [--force]\n"
    "                                              a copy whose pages carry the text Tesseract reads\n"
    "  make-dictionary SCAN.djvu -o DATA_FOLDER --name NAME [--lang L]   ocr when pages lack text,\n"
    "                                              then make-page-index and text-index\n"
    "options for every command: --locale L (collation locale; default the user's), --help\n"
    "lint compares a dictionary whose descriptor names a collation in that locale\n";

// Recognition runs one Tesseract engine per core. Tesseract's OpenMP threads
// would contend with them, and their limit is read only when the library
// loads: the command starts again with it set.
void LimitEngineThreads(int argc, char** argv)
{
#ifdef Q_OS_LINUX
    if (argc < 2 || getenv("OMP_THREAD_LIMIT")
        || (std::strcmp(argv[1], "ocr") != 0 && std::strcmp(argv[1], "make-dictionary") != 0))
        return;
    setenv("OMP_THREAD_LIMIT", "1", 1);
    execv("/proc/self/exe", argv); // returns only on failure: then it runs as it is
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
#endif
}

} // namespace

int main(int argc, char** argv)
{
    LimitEngineThreads(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], lexifol::djvu::kTextHelperArgument) == 0)
        return lexifol::djvu::RunTextHelper();
    QCoreApplication app(argc, argv);
    lexifol::djvu::SetTextHelperProgram(QCoreApplication::applicationFilePath());
    QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream out(stdout), err(stderr);
    Streams io{out, err, isatty(2) == 1};
    if (args.isEmpty() || args.first() == QLatin1StringView("--help")) {
        (args.isEmpty() ? err : out) << kUsage;
        return args.isEmpty() ? 2 : 0;
    }
    const QString command = args.takeFirst();
    if (args.contains(QStringLiteral("--help"))) {
        out << kUsage;
        return 0;
    }
    const qsizetype at = args.indexOf(QStringLiteral("--locale"));
    if (at >= 0) {
        if (at + 1 >= args.size()) {
            err << "lexifol-index: --locale needs a value\n";
            return 2;
        }
        const QString locale = args.at(at + 1);
        // ICU falls back to the root order for a name it does not know:
        // an order no viewer uses.
        if (locale.size() > 100 || !lexifol::IndexCollation::ForLocale(locale)) {
            err << "lexifol-index: --locale " << locale.left(100) << (locale.size() > 100 ? "..." : "")
                << ": no locale ICU has a collation for\n";
            return 2;
        }
        lexifol::IndexCollation::SetDefaultLocale(locale);
        SetChosenLocale(locale);
        args.remove(at, 2);
    }
    if (command == QLatin1StringView("check"))
        return Check(args, io);
    if (command == QLatin1StringView("sort"))
        return Sort(args, io);
    if (command == QLatin1StringView("build-second"))
        return BuildSecond(args, io);
    if (command == QLatin1StringView("lint"))
        return Lint(args, io);
    if (command == QLatin1StringView("lookup"))
        return LookUpWords(args, io);
    if (command == QLatin1StringView("text-index"))
        return TextIndexCommand(args, io);
    if (command == QLatin1StringView("text-search"))
        return TextSearchCommand(args, io);
    if (command == QLatin1StringView("make-page-index"))
        return MakePageIndex(args, io);
    if (command == QLatin1StringView("ocr"))
        return Ocr(args, io);
    if (command == QLatin1StringView("make-dictionary"))
        return MakeDictionary(args, io);
    err << "lexifol-index: unknown command \"" << command << "\"\n" << kUsage;
    return 2;
}
