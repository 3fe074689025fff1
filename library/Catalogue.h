#pragma once
// The dictionary catalogue without widgets: discovery, merge with the saved
// order, check marks, and "diclist.dat".
#include "base/Status.h"
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace lexifol {

// Names of the installed dictionaries: files (not folders) "*.list" in
// dataFolder, ordered by name; empty names skipped.
QStringList DiscoverDictionaries(const QString& dataFolder);

// Name part of a saved-order line (text before the first TAB), or a null
// string when the line has no TAB.
QString SavedOrderName(const QString& line);
// First line of savedOrder whose name equals `name` (case ignored), or -1.
int FindSavedLine(const QStringList& savedOrder, const QString& name);

// The catalogue order: saved positions below N kept, the rest appended in
// discovery order; placeholders dropped.
QStringList MergeCatalogue(const QStringList& discovered, const QStringList& savedOrder);

// The saved check mark for `name`: true for exactly "1", false for exactly
// "0", nothing otherwise or when there is no line.
std::optional<bool> SavedCheckMark(const QStringList& savedOrder, const QString& name);

struct CatalogueEntry {
    QString name;
    bool checked = false;
    QString root; // the folder holding its Data folder
};
QStringList BuildSavedOrder(const QList<CatalogueEntry>& entries);

// Ctrl+Up and Ctrl+Down: the nearest checked entry above (below) the
// selected one, and how many entries that moves; nothing at the end, no
// wrap-around.
struct NeighbourStep {
    int target = -1;
    int steps = 0;
};
std::optional<NeighbourStep> FindCheckedNeighbour(const QList<bool>& checked, int selected, bool up);

// Lines of "diclist.dat" (8-bit); none for a missing file; fails when it
// exists but cannot be read.
Result<QStringList> LoadSavedOrder(const QString& path);
// Writes the lines, each followed by CR LF, atomically.
Status SaveSavedOrder(const QString& path, const QStringList& lines);

class ProfileFile;

// Titles read from descriptors, kept while a file's size and time stay, so
// that reading them again after a miss costs a stat per dictionary.
class TitleReader
{
public:
    // Each source's title (its descriptor's name), by catalogue name; a
    // dictionary without a descriptor or a name has none.
    QHash<QString, QString> read(const QHash<QString, QString>& descriptorByName);

private:
    struct Known {
        qint64 size = -1;
        qint64 modified = 0;
        QString title;
    };
    QHash<QString, Known> known_; // by descriptor path
};

// The catalogue as the window shows it: entries in order with their check
// marks and the selected one, kept here rather than in list items.
class Catalogue
{
public:
    // The dictionaries found in the Data folders of `roots` (a name found in
    // two: the first root's), in the saved order of `savedOrderFile` with
    // its check marks; a saved order that cannot be read counts as none.
    void load(const QStringList& roots, const QString& savedOrderFile);
    // The folders looked at again (a dictionary copied in or taken out by
    // hand): the order, check marks and selection so far are kept.
    void rescan(const QStringList& roots);
    int count() const { return int(entries_.size()); }
    const QString& name(int row) const { return entries_.at(row).name; }
    const QString& root(int row) const { return entries_.at(row).root; }
    bool checked(int row) const { return entries_.at(row).checked; }
    void setChecked(int row, bool checked);
    QStringList names() const;

    int current() const { return current_; } // -1: none selected
    void setCurrent(int row) { current_ = row >= 0 && row < count() ? row : -1; }
    // The entry of that name, letter case ignored; -1 for none.
    int find(const QString& name) const;
    int firstChecked() const;
    // Moves the selected entry up (-1) or down (+1) with its check mark;
    // false at the end of the list or with nothing selected.
    bool moveCurrent(int direction);
    // Ctrl+Up, Ctrl+Down from the selected entry.
    std::optional<NeighbourStep> checkedNeighbour(bool up) const;
    // The entry of that catalogue name, else of that title (its
    // descriptor's name, as last given to setTitles), letter case ignored;
    // -1 for none. Reads no file: a request from outside is answered from
    // memory, however many dictionaries there are.
    int findByNameOrTitle(const QString& nameOrTitle) const;
    // The descriptors that give the titles, by catalogue name, for
    // ReadTitles to read away from the window.
    QHash<QString, QString> titleSources(const QString& programFolder) const;
    void setTitles(const QHash<QString, QString>& titleByName) { titles_ = titleByName; }
    // The entry bound to Ctrl+digit in the settings; -1 for none.
    int shortcutRow(const ProfileFile& settings, int digit) const;

    QStringList savedOrder() const { return BuildSavedOrder(entries_); }
    Status save(const QString& path) const { return SaveSavedOrder(path, savedOrder()); }

private:
    void merge(const QStringList& roots, const QStringList& saved);

    QList<CatalogueEntry> entries_;
    int current_ = -1;
    QHash<QString, QString> titles_; // by catalogue name
};

} // namespace lexifol
