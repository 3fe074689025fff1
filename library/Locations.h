#pragma once
// Where every file the program reads or writes lies: the one place that
// knows it, and the one decision between the two ways Lexifol lives.
//
// Portable: the folder of the executable is writable and holds
// "Lexifol.ini" or a "Data" folder (a sample folder, a USB stick).
// Everything lies there, except the user's three files ("diclist.dat",
// "Bookmarks.dat", "Plugin.dat"), which are named without a folder and so
// follow the current directory, as they always have.
//
// Installed (say /usr/bin/lexifol): settings in the user's configuration
// folder, the user's files and own dictionaries in the user's data folder,
// dictionaries shipped by packages read from the system's data folders,
// the page view file in the cache folder. Nothing is written under /usr.
#include <QString>
#include <QStringList>

namespace lexifol {

// The XDG folders, each with a trailing separator ($XDG_CONFIG_HOME/lexifol/ ...).
struct XdgFolders {
    QString config, data, cache;
    QStringList shared; // $XDG_DATA_DIRS/lexifol/ in order
    static XdgFolders FromEnvironment();
};

class Locations
{
public:
    enum class Mode { Portable, Installed };

    static Locations Portable(const QString& programFolder);
    // `packageFolder`: the installed program's own data (help page, intro,
    // the fallback Plugin.dat), e.g. /usr/share/lexifol/.
    static Locations Installed(const XdgFolders& xdg, const QString& packageFolder);
    // The decision, from the executable's folder. A folder that holds
    // Lexifol's files is portable; when it cannot be written, its
    // dictionaries are still shown and the user's files go to the user's
    // folders, as an installed program's do.
    static Locations Decide(const QString& executableFolder, const XdgFolders& xdg);
    static Locations Decide(const QString& executableFolder, const XdgFolders& xdg, bool writable);

    Mode mode() const { return mode_; }
    const QString& programFolder() const { return programFolder_; } // with trailing separator
    // Folders holding a "Data" folder of dictionaries, the user's own first.
    QStringList dictionaryRoots() const;
    QString userRoot() const { return userRoot_; } // dictionaries added, derived files written
    QString dataFolder() const;                    // the user's "Data"
    QString settingsFile() const;                  // "Lexifol.ini"
    QString catalogueFile() const;                 // "diclist.dat"
    QString bookmarksFile() const;                 // "Bookmarks.dat"
    QString sharedPluginList() const;              // the fallback "Plugin.dat"
    QString pageViewFile() const;                  // "temp.htm"
    // In that language when the package has it (intro_ru.htm), else in English.
    QString introPage(const QString& language = QString()) const;
    QString helpPage(const QString& language = QString()) const;
    QString cacheFolder() const;    // with trailing separator
    QString checkLogFolder() const; // where "IndexErrors.log" goes

    // Installed: makes the user's folders and puts the package's fallback
    // "Plugin.dat" there on a first start. A folder that cannot be written
    // (a read-only home, a path through a file) is replaced by one under
    // `fallback`, the user's files found in it copied along and its
    // dictionaries still shown; what to tell the user is returned, empty
    // when all is well.
    QString prepareUserFolders(const QString& fallback = QString());
    // For the About box: the mode and the folders, one per line.
    QString describe() const;

private:
    QString userFile(const QString& name) const;

    Mode mode_ = Mode::Portable;
    bool readOnlyProgram_ = false; // a portable folder that cannot be written
    QString programFolder_;
    QString userFolder_; // empty: the current directory
    QString userRoot_;
    QString configFolder_;
    QString packageFolder_;
    QString cacheFolder_;
    QStringList sharedRoots_;
};

// `folder` with a trailing separator.
QString WithSeparator(const QString& folder);

} // namespace lexifol
