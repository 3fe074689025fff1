#include "library/Locations.h"

#include <QDir>

namespace lexifol {

QString WithSeparator(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(QDir::separator()))
        return folder;
    return folder + u'/';
}

Locations Locations::Portable(const QString& programFolder)
{
    Locations l;
    l.programFolder_ = WithSeparator(programFolder);
    l.cacheFolder_ = l.programFolder_ + QStringLiteral("cache/");
    return l;
}

QString Locations::userFile(const QString& name) const
{
    return userFolder_.isEmpty() ? name : userFolder_ + name;
}

QString Locations::dataFolder() const { return programFolder_ + QStringLiteral("Data"); }
QString Locations::settingsFile() const { return programFolder_ + QStringLiteral("Lexifol.ini"); }
QString Locations::catalogueFile() const { return userFile(QStringLiteral("diclist.dat")); }
QString Locations::bookmarksFile() const { return userFile(QStringLiteral("Bookmarks.dat")); }
QString Locations::sharedPluginList() const { return userFile(QStringLiteral("Plugin.dat")); }
QString Locations::pageViewFile() const { return programFolder_ + QStringLiteral("temp.htm"); }
QString Locations::introPage() const { return programFolder_ + QStringLiteral("Intro/intro.htm"); }
QString Locations::helpPage() const { return programFolder_ + QStringLiteral("Help/main.htm"); }
QString Locations::cacheFolder() const { return cacheFolder_; }

} // namespace lexifol
