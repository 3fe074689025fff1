#pragma once
// The commands of lexifol-index. Each takes its arguments (after the command
// name), writes to the given streams and returns the exit code: 0 fine,
// 1 faults found, 2 bad input or a failure.
#include <QHash>
#include <QStringList>
#include <QTextStream>

namespace lexifol::cli {

struct Streams {
    QTextStream& out;
    QTextStream& err;
    bool progress = false; // stderr is a terminal
};

int Check(const QStringList& args, Streams& io);
int Sort(const QStringList& args, Streams& io);
int BuildSecond(const QStringList& args, Streams& io);
int Lint(const QStringList& args, Streams& io);
int LookUpWords(const QStringList& args, Streams& io);
int TextIndexCommand(const QStringList& args, Streams& io);
int TextSearchCommand(const QStringList& args, Streams& io);
int MakePageIndex(const QStringList& args, Streams& io);
// The --locale given, for what records it (a descriptor's collation).
void SetChosenLocale(const QString& locale);
QString ChosenLocale();
int Ocr(const QStringList& args, Streams& io);
int MakeDictionary(const QStringList& args, Streams& io);

// Option parsing shared by the commands: takes "--name value" and "--flag"
// out of `args`, leaving the positional arguments.
struct Options {
    QStringList positional;
    QHash<QString, QString> values;
    QStringList flags;
    QString error; // the first bad option
};
Options ParseOptions(const QStringList& args, const QStringList& withValue, const QStringList& flags);

} // namespace lexifol::cli
