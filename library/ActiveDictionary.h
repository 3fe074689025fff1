#pragma once
// The open dictionary: its name, title, storage form, indexes, rules and
// plug-in parameters, and the one opening sequence that replaces them. The
// opening says what the window must show; it shows nothing itself.
#include "index/IndexList.h"
#include "index/Lookup.h"
#include "index/Replacement.h"
#include "library/IndexCache.h"
#include <QByteArrayList>
#include <QStringList>
#include <optional>

namespace lexifol {

struct OpenRequest {
    QString programFolder;       // with trailing separator
    QString name;                // catalogue caption; empty: none to open
    bool startUp = false;        // the start-up variant, else the catalogue's
    bool catalogueEmpty = false; // start-up: built-in parameters, silently
    bool pageView = true;        // the page view's parameters (Plugin.dat) read; a lookup alone needs none
};

struct OpenOutcome {
    bool opened = false;                      // the dictionary was replaced
    QStringList messages;                     // error boxes, in order
    std::optional<QString> title;             // new text of the title box
    std::optional<bool> findVisible;          // the Find button
    std::optional<bool> annotationVisible;    // the annotation icon
    std::optional<QByteArray> keyboardLayout; // 8 hex digits to activate
    int rowCount = 0;                         // items of the index list
};

class ActiveDictionary
{
public:
    QString name, title, wholeFile;
    IndexList first, second;
    ReplacementList rules;
    QByteArrayList pluginParameters;
    bool pageIndex = false;
    int pageOffset = 0;                        // file pages before the one printed "1"
    const IndexCollation* collation = nullptr; // nullptr: the user's locale
    // Where the lists of a dictionary left go, and where an opening looks
    // first; none: every opening reads the files.
    IndexCache* cache = nullptr;
    // The user's root: a read-only dictionary's second index lies there.
    QString userRoot;

    // Start-up: a first index that cannot be read is told and nothing is
    // open; the plug-in step always runs. Catalogue: everything that can
    // fail is read before anything is replaced, so a failure leaves the open
    // dictionary as it was; the second index and the rules are loaded too.
    OpenOutcome open(const OpenRequest& request);
    // The second index and the rules of the open dictionary; the messages to
    // show when `report` is set (start-up), else none.
    QStringList loadDerived(const QString& programFolder, bool report);
    void clear();

    const IndexCollation& order() const { return collation ? *collation : IndexCollation::Default(); }
    LookupIndexes indexes() const { return {first, second, rules, order(), pageIndex}; }

private:
    struct SecondRead;
    // The lists, read from the files or taken from the cache.
    bool readFirst(const QString& path, IndexList& out, FileStamp& stamp);
    bool readSecond(const QString& path, const FileStamp& stamp, IndexList& out) const;
    // Gives the open lists to the cache.
    void keepFirst();
    void keepSecond();
    QString firstPath_, secondPath_;
    FileStamp firstStamp_, secondStamp_;
    void applyDescriptor(const QString& programFolder, bool startUp, OpenOutcome& out);
    QStringList loadDerived(const QString& programFolder, bool report, SecondRead* early);
};

} // namespace lexifol
