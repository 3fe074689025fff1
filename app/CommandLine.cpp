#include "app/CommandLine.h"

#include <QFileInfo>
#include <QUrl>

namespace lexifol {

namespace {

QString TrimPunctuation(const QString& text)
{
    qsizetype a = 0, b = text.size();
    auto edge = [](QChar c) { return c.isSpace() || c.isPunct() || c.isSymbol(); };
    while (a < b && edge(text[a]))
        ++a;
    while (b > a && edge(text[b - 1]))
        --b;
    return text.mid(a, b - a);
}

enum class Argument { Word, File, Refused };

// A word may hold a slash ("and/or"); a path is told by its form or by a
// dictionary's file name that is there.
Argument Classify(QString& a, QString* why)
{
    if (a.startsWith(QLatin1StringView("file:"), Qt::CaseInsensitive))
        a = QUrl(a).toLocalFile();
    else if (a.contains(QLatin1StringView("://"))) {
        *why = QStringLiteral("%1 is not a word to look up, nor a dictionary to add").arg(a.left(80));
        return Argument::Refused;
    }
    const QFileInfo f(a);
    const bool pathLike = a.startsWith(u'/') || a.startsWith(QLatin1StringView("./"))
        || a.startsWith(QLatin1StringView("../"));
    const bool dictionaryFile = f.isFile() && QStringList{"djvu", "djv", "list"}.contains(f.suffix().toLower());
    if (a.isEmpty() || (pathLike && !f.exists())) {
        *why = QStringLiteral("%1: no such file or folder").arg(a.left(200));
        return Argument::Refused;
    }
    if (dictionaryFile || ((pathLike || a.contains(u'/')) && f.isDir())) {
        a = f.absoluteFilePath();
        if (a.contains(u'\t') || a.contains(u'\n') || a.contains(u'\r')) {
            *why = QStringLiteral("a tab or a line break in a file's name: rename it first");
            return Argument::Refused;
        }
        return Argument::File;
    }
    if (pathLike) {
        *why = QStringLiteral("%1 is not a dictionary to add (a DjVu document, an index NAME.list or a folder)")
                   .arg(a.left(200));
        return Argument::Refused;
    }
    return Argument::Word;
}

// What the arguments ask for, once read: files to add, a word, the
// selection, or nothing.
void Conclude(CommandLine& c, const QStringList& words, bool selection)
{
    if (!c.files.isEmpty()) {
        if (!words.isEmpty() || selection || !c.dictionary.isEmpty()) {
            c.action = CommandLine::Action::Error;
            c.error = QStringLiteral("a dictionary to add takes no word");
        } else {
            c.action = CommandLine::Action::Add;
        }
        return;
    }
    c.word = words.join(u' ').simplified();
    if (selection && !c.word.isEmpty()) {
        c.action = CommandLine::Action::Error;
        c.error = QStringLiteral("--selection takes no word");
    } else if (selection) {
        c.action = CommandLine::Action::Selection;
    } else if (!c.word.isEmpty()) {
        c.action = CommandLine::Action::LookUp;
    } else if (!c.dictionary.isEmpty()) {
        c.action = CommandLine::Action::Error;
        c.error = QStringLiteral("--dictionary needs a word to look up");
    }
}

} // namespace

CommandLine ParseCommandLine(const QStringList& args)
{
    CommandLine c;
    QStringList words;
    bool selection = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1StringView("--help") || a == QLatin1StringView("-h")) {
            c.action = CommandLine::Action::Help;
            return c;
        }
        if (a == QLatin1StringView("--version")) {
            c.action = CommandLine::Action::Version;
            return c;
        }
        if (a == QLatin1StringView("--selection")) {
            selection = true;
        } else if (a == QLatin1StringView("--dictionary")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                c.action = CommandLine::Action::Error;
                c.error = QStringLiteral("--dictionary needs a dictionary's name");
                return c;
            }
            c.dictionary = args[++i];
        } else if (a == QLatin1StringView("--")) {
            words += args.mid(i + 1);
            break;
        } else if (a.startsWith(u'-') && a.size() > 1) {
            c.action = CommandLine::Action::Error;
            c.error = QStringLiteral("unknown option %1 (lexifol --help tells the options)").arg(a.left(60));
            return c;
        } else {
            QString arg = a;
            switch (Classify(arg, &c.error)) {
            case Argument::Word:
                words << a;
                break;
            case Argument::File:
                c.files << arg;
                break;
            case Argument::Refused:
                c.action = CommandLine::Action::Error;
                return c;
            }
        }
    }
    Conclude(c, words, selection);
    return c;
}

QString SelectionWord(const QString& selection)
{
    const QString firstLine = selection.trimmed().section(u'\n', 0, 0).section(u'\r', 0, 0);
    return TrimPunctuation(firstLine.left(100)).simplified();
}

QString CommandLineHelp()
{
    return QStringLiteral("usage: lexifol [WORD... | --selection] [--dictionary NAME]\n"
                          "  (nothing)           start Lexifol, or bring the running one to the front\n"
                          "  WORD...             look the word up in the running Lexifol (started if need be),\n"
                          "                      as typing it and pressing Enter does\n"
                          "  --dictionary NAME   in that dictionary (its catalogue name or its title)\n"
                          "  FILE...             add a dictionary: a DjVu document, its index NAME.list, or a\n"
                          "                      folder holding them (a path or a file:// URL)\n"
                          "  --selection         look up the text selected in any program (the primary\n"
                          "                      selection, else the clipboard): bind this to a key\n"
                          "  --help, --version\n");
}

} // namespace lexifol
