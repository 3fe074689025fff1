#pragma once
// Where every file the program reads or writes lies: the one place that
// knows it.
#include <QString>
#include <QStringList>

namespace lexifol {

class Locations {
public:
    // Everything in the program folder, except the user's three files,
    // which are named without a folder and so follow the current directory.
    static Locations Portable(const QString& programFolder);

    const QString& programFolder() const { return programFolder_; }   // with trailing separator
    QString dataFolder() const;        // programFolder + "Data"
    QString settingsFile() const;      // "Lexifol.ini"
    QString catalogueFile() const;     // "diclist.dat"
    QString bookmarksFile() const;     // "Bookmarks.dat"
    QString sharedPluginList() const;  // the fallback "Plugin.dat"
    QString pageViewFile() const;      // "temp.htm"
    QString introPage() const;
    QString helpPage() const;
    QString cacheFolder() const;       // with trailing separator

private:
    QString userFile(const QString& name) const;

    QString programFolder_;
    QString userFolder_;    // empty: the current directory
    QString cacheFolder_;
};

// `folder` with a trailing separator.
QString WithSeparator(const QString& folder);

} // namespace lexifol
