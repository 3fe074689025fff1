#pragma once
// What `lexifol` was asked on its command line.
#include <QString>
#include <QStringList>

namespace lexifol {

struct CommandLine {
    enum class Action { Run, LookUp, Selection, Help, Version, Error } action = Action::Run;
    QString word;
    QString dictionary;   // catalogue name or title; empty: the open one
    QString error;        // one line, for Action::Error
};

// `args` without the program's name: nothing, WORD..., --dictionary NAME
// WORD..., --selection [--dictionary NAME], --help, --version. Words are
// joined by blanks.
CommandLine ParseCommandLine(const QStringList& args);

// A selection as a word to look up: its first line, at most 100 characters,
// blanks and punctuation around it dropped; empty when nothing is left.
QString SelectionWord(const QString& selection);

QString CommandLineHelp();

} // namespace lexifol
