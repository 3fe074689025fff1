#pragma once
// Adding a dictionary from the window: a folder laid out as Data expects
// (NAME.list beside NAME.files/), or a DjVu document and an index file.
// It is checked as lint checks it, told in plain words when it cannot
// serve, and copied into the user's Data folder, the index last: its
// arrival is what installs the dictionary.
#include "base/Status.h"
#include <atomic>
#include <functional>
#include <QString>
#include <QStringList>

namespace lexifol {

struct DictionarySource {
    QString index;    // NAME.list, or any index file
    QString folder;   // NAME.files/ beside it, when there is one
    QString document; // a DjVu document given with the index, else empty
    QString name;     // the name it is installed under
};

// What was dropped or chosen, as a source: a folder holding one NAME.list
// (and NAME.files/), a NAME.list file, or a .djvu with an index file.
// `name` names a document given with an index; empty takes the index's
// base name.
Result<DictionarySource> SourceFrom(const QStringList& paths, const QString& name = QString());

// Why the source cannot serve, one line each; empty when it can. Warnings
// (pairs out of order) are not faults.
QStringList CheckDictionary(const DictionarySource& s, QStringList* warnings);

// Copies it into `userData` (a Data folder); fails for a name already
// installed there or in `installed`, and for any write that fails.
// Why the dictionary cannot be installed under its name; fine when it can.
Status CanInstall(const DictionarySource& s, const QString& userData, const QStringList& installed);

// How far a copy has got, and whether to stop (then nothing stays installed).
struct CopyProgress {
    std::function<void(qint64 done, qint64 total)> step;
    const std::atomic<bool>* cancel = nullptr;
};
Status InstallDictionary(const DictionarySource& s, const QString& userData, const QStringList& installed,
                         const CopyProgress& progress = {});

// A dictionary of the user's own root, which the user may take out; one
// shipped by a package may only be unchecked.
bool IsUserDictionary(const QString& root, const QString& userRoot);

// Takes a user's dictionary out of `userData`: its index first (its going
// uninstalls the dictionary), then its folder, into the desktop's trash;
// where there is none, into a "Removed" folder beside `userData`. Never a
// plain delete. Says where they went.
Result<QString> RemoveDictionary(const QString& userData, const QString& name);

// What `lexifol-index make-dictionary` told so far, read from its lines:
// pages read of how many, and its summary of the page index.
struct MakeProgress {
    int done = 0, total = 0;
    QString summary; // "24 pages, 23 lines, 6 in doubt"
};
void ReadMakeProgress(const QString& line, const QString& name, MakeProgress& progress);

} // namespace lexifol
