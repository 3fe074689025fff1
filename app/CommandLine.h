#pragma once
// What `lexifol` was asked on its command line.
#include <QString>
#include <QStringList>

namespace lexifol {

struct CommandLine {
    enum class Action { Run, LookUp, Selection, Add, Help, Version, Error } action = Action::Run;
    QString word;
    QStringList files;  // absolute paths, for Action::Add
    QString dictionary; // catalogue name or title; empty: the open one
    QString error;      // one line, for Action::Error
};

// `args` without the program's name: nothing, WORD..., --dictionary NAME
// WORD..., --selection [--dictionary NAME], --help, --version. Words are
// joined by blanks. Desktops pass files and URLs (a document opened with
// Lexifol, one dropped on its icon): a DjVu document, an index or a folder,
// as a path or a file:// URL, is a dictionary to add; another URL or a path
// that leads nowhere is refused, never looked up as a word.
CommandLine ParseCommandLine(const QStringList& args);

// A selection as a word to look up: its first line, at most 100 characters,
// blanks and punctuation around it dropped; empty when nothing is left.
QString SelectionWord(const QString& selection);

QString CommandLineHelp();

} // namespace lexifol
