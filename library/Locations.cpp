#include "library/Locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QCoreApplication>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace lexifol {

QString WithSeparator(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(QDir::separator()))
        return folder;
    return folder + u'/';
}

XdgFolders XdgFolders::FromEnvironment()
{
    // The XDG rule: a relative path in these variables is ignored, as if
    // unset (else files would follow the current folder).
    auto mine = [](QStandardPaths::StandardLocation l, const char* variable, const char* fallback) {
        QString folder = QStandardPaths::writableLocation(l);
        if (!QDir::isAbsolutePath(folder) || !QDir::isAbsolutePath(qEnvironmentVariable(variable, QStringLiteral("/"))))
            folder = QDir::homePath() + QLatin1String(fallback);
        return WithSeparator(folder) + QStringLiteral("lexifol/");
    };
    XdgFolders x{mine(QStandardPaths::GenericConfigLocation, "XDG_CONFIG_HOME", "/.config"),
                 mine(QStandardPaths::GenericDataLocation, "XDG_DATA_HOME", "/.local/share"),
                 mine(QStandardPaths::GenericCacheLocation, "XDG_CACHE_HOME", "/.cache"),
                 {}};
    const QStringList all = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString& d : all.mid(1))
        if (QDir::isAbsolutePath(d))
            x.shared << WithSeparator(d) + QStringLiteral("lexifol/");
    return x;
}

Locations Locations::Portable(const QString& programFolder)
{
    Locations l;
    l.programFolder_ = WithSeparator(programFolder);
    l.userRoot_ = l.programFolder_;
    l.configFolder_ = l.programFolder_;
    l.packageFolder_ = l.programFolder_;
    l.cacheFolder_ = l.programFolder_ + QStringLiteral("cache/");
    return l;
}

Locations Locations::Installed(const XdgFolders& xdg, const QString& packageFolder)
{
    Locations l;
    l.mode_ = Mode::Installed;
    l.userFolder_ = WithSeparator(xdg.data);
    l.userRoot_ = l.userFolder_;
    l.programFolder_ = l.userFolder_;
    l.configFolder_ = WithSeparator(xdg.config);
    l.cacheFolder_ = WithSeparator(xdg.cache);
    l.packageFolder_ = WithSeparator(packageFolder);
    for (const QString& root : xdg.shared)
        if (WithSeparator(root) != l.userRoot_ && !l.sharedRoots_.contains(WithSeparator(root)))
            l.sharedRoots_ << WithSeparator(root);
    return l;
}

Locations Locations::Decide(const QString& executableFolder, const XdgFolders& xdg)
{
    const QFileInfo folder(WithSeparator(executableFolder));
    return Decide(executableFolder, xdg, folder.isDir() && folder.isWritable());
}

Locations Locations::Decide(const QString& executableFolder, const XdgFolders& xdg, bool writable)
{
    const QString exe = WithSeparator(executableFolder);
    const bool holdsOne = QFileInfo::exists(exe + QStringLiteral("Lexifol.ini"))
        || QFileInfo(exe + QStringLiteral("Data")).isDir();
    if (writable && holdsOne)
        return Portable(exe);
    if (holdsOne && QFileInfo(exe).isDir()) {
        Locations l = Installed(xdg, exe);
        l.sharedRoots_.removeAll(exe);
        l.sharedRoots_.prepend(exe);
        l.readOnlyProgram_ = true;
        return l;
    }
    // The package's own data lies beside bin/, as share/lexifol/.
    QString package = QDir(exe + QStringLiteral("../share/lexifol")).absolutePath();
    if (!QFileInfo(package).isDir() && !xdg.shared.isEmpty())
        package = xdg.shared.first();
    return Installed(xdg, package);
}

QStringList Locations::dictionaryRoots() const
{
    return QStringList{userRoot_} + sharedRoots_;
}

QString Locations::userFile(const QString& name) const
{
    return userFolder_.isEmpty() ? name : userFolder_ + name;
}

QString Locations::dataFolder() const
{
    return userRoot_ + QStringLiteral("Data");
}
QString Locations::settingsFile() const
{
    return configFolder_ + QStringLiteral("Lexifol.ini");
}
QString Locations::catalogueFile() const
{
    return userFile(QStringLiteral("diclist.dat"));
}
QString Locations::bookmarksFile() const
{
    return userFile(QStringLiteral("Bookmarks.dat"));
}
QString Locations::sharedPluginList() const
{
    return userFile(QStringLiteral("Plugin.dat"));
}
namespace {

// FOLDER/STEM_ru_RU.htm, then FOLDER/STEM_ru.htm, then the English page.
QString PageInLanguage(const QString& folder, const QString& stem, const QString& language)
{
    for (QString name = language; !name.isEmpty(); name = name.section(u'_', 0, -2)) {
        const QString page = folder + QStringLiteral("%1_%2.htm").arg(stem, name);
        if (QFileInfo::exists(page))
            return page;
        if (!name.contains(u'_'))
            break;
    }
    return folder + stem + QStringLiteral(".htm");
}

} // namespace

QString Locations::introPage(const QString& language) const
{
    return PageInLanguage(packageFolder_ + QStringLiteral("Intro/"), QStringLiteral("intro"), language);
}
QString Locations::helpPage(const QString& language) const
{
    return PageInLanguage(packageFolder_ + QStringLiteral("Help/"), QStringLiteral("main"), language);
}
QString Locations::cacheFolder() const
{
    return cacheFolder_;
}
QString Locations::checkLogFolder() const
{
    return userRoot_;
}

QString Locations::pageViewFile() const
{
    return (mode_ == Mode::Portable ? programFolder_ : cacheFolder_) + QStringLiteral("temp.htm");
}

namespace {

// Why files cannot be written in `folder`; empty when they can.
QString Unwritable(const QString& folder)
{
    if (!QDir().mkpath(folder)) {
        QFileInfo above(folder);
        while (!above.exists() && above.absolutePath() != above.absoluteFilePath())
            above = QFileInfo(above.absolutePath());
        return above.isDir() ? QCoreApplication::translate("lexifol", "nothing can be made in %1")
                                   .arg(QDir::toNativeSeparators(above.absoluteFilePath()))
                             : QCoreApplication::translate("lexifol", "%1 is not a folder")
                                   .arg(QDir::toNativeSeparators(above.absoluteFilePath()));
    }
    QTemporaryFile probe(folder + QStringLiteral("/.lexifol-XXXXXX"));
    return probe.open() ? QString() : probe.errorString();
}

// A folder of the temporary folder only this user can enter: one that
// another user made first is not taken.
QString PrivateFolder(const QString& base)
{
#ifdef Q_OS_UNIX
    const QString folder = base + QStringLiteral("lexifol-files-%1/").arg(getuid());
    QDir().mkpath(folder);
    const QFileInfo made(folder);
    if (made.isSymLink() || made.ownerId() != getuid()
        || !QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return base + QStringLiteral("lexifol-files-%1-%2/").arg(getuid()).arg(QCoreApplication::applicationPid());
    return folder;
#else
    return base + QStringLiteral("lexifol-files/");
#endif
}

// The user's files a folder held, taken along to the one used instead.
void CopyFiles(const QString& from, const QString& to)
{
    for (const QFileInfo& f : QDir(from).entryInfoList(QDir::Files))
        if (!QFileInfo::exists(to + f.fileName()))
            QFile::copy(f.filePath(), to + f.fileName());
}

} // namespace

QString Locations::prepareUserFolders(const QString& fallback)
{
    if (mode_ == Mode::Portable)
        return {};
    const QString instead = PrivateFolder(WithSeparator(fallback.isEmpty() ? QDir::tempPath() : fallback));
    QStringList said;
    auto mend = [&](QString& folder, const QString& sub, const QString& inside) {
        if (const QString why = Unwritable(folder + inside); !why.isEmpty()) {
            said << QCoreApplication::translate("lexifol", "%1 cannot be written: %2.")
                        .arg(QDir::toNativeSeparators(folder), why);
            const QString was = folder;
            folder = instead + sub;
            QDir().mkpath(folder + inside);
            CopyFiles(was, folder);
            return was;
        }
        return QString();
    };
    mend(configFolder_, QStringLiteral("config/"), QString());
    if (const QString was = mend(userRoot_, QStringLiteral("data/"), QStringLiteral("Data")); !was.isEmpty()) {
        userFolder_ = userRoot_;
        // Its dictionaries are still read from where they are.
        if (QFileInfo(was + QStringLiteral("Data")).isDir())
            sharedRoots_.prepend(was);
    }
    mend(cacheFolder_, QStringLiteral("cache/"), QString());
    // A first start: the package's fallback parameters and catalogue order
    // (the sample dictionaries checked), so that nothing greets a new user
    // with an error.
    for (const QString& name : {QStringLiteral("Plugin.dat"), QStringLiteral("diclist.dat")}) {
        const QString shipped = packageFolder_ + name;
        if (!QFileInfo::exists(userFile(name)) && QFileInfo(shipped).isFile())
            QFile::copy(shipped, userFile(name));
    }
    if (said.isEmpty())
        return {};
    return said.join(u'\n') + QStringLiteral("\n\n")
        + QCoreApplication::translate("lexifol",
                                      "Until that is mended, your settings, bookmarks and dictionaries are kept "
                                      "in %1, which the system may empty when it restarts.")
              .arg(QDir::toNativeSeparators(instead));
}

QString Locations::describe() const
{
    if (mode_ == Mode::Portable)
        return QCoreApplication::translate(
                   "lexifol",
                   "Portable: everything in %1\n(the catalogue, bookmarks and Plugin.dat in the folder "
                   "Lexifol was started from)")
            .arg(QDir::toNativeSeparators(programFolder_));
    QString text = readOnlyProgram_
        ? QCoreApplication::translate("lexifol",
                                      "Portable, read-only: the dictionaries of %1; your own files elsewhere\n")
              .arg(QDir::toNativeSeparators(packageFolder_))
        : QString();
    text += QCoreApplication::translate("lexifol",
                                        "Installed\nSettings: %1\nYour files and dictionaries: %2\nCache: %3")
                .arg(QDir::toNativeSeparators(settingsFile()), QDir::toNativeSeparators(userRoot_),
                     QDir::toNativeSeparators(cacheFolder_));
    for (const QString& r : sharedRoots_)
        text += u'\n'
            + QCoreApplication::translate("lexifol", "Shipped dictionaries: %1")
                  .arg(QDir::toNativeSeparators(r + QStringLiteral("Data")));
    return text;
}

} // namespace lexifol
