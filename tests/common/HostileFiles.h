#pragma once
// What a hostile dictionary pack may put where a file should be: a FIFO,
// a device, a folder, a symlink loop, a file far too large.
#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace lexifol::testing {

enum class Hostile { Fifo, Device, Folder, SymlinkLoop, SymlinkToFifo, Oversize };

inline const char* HostileName(Hostile h)
{
    switch (h) {
    case Hostile::Fifo:
        return "a FIFO";
    case Hostile::Device:
        return "/dev/zero";
    case Hostile::Folder:
        return "a folder";
    case Hostile::SymlinkLoop:
        return "a symlink loop";
    case Hostile::SymlinkToFifo:
        return "a symlink to a FIFO";
    case Hostile::Oversize:
        return "a file over its cap";
    }
    return "";
}

inline const Hostile kHostileKinds[] = {Hostile::Fifo,        Hostile::Device,        Hostile::Folder,
                                        Hostile::SymlinkLoop, Hostile::SymlinkToFifo, Hostile::Oversize};

// Puts one at `path` (its folder made); `oversize` bytes for Oversize, as a
// sparse file. False when it could not be made.
inline bool MakeHostile(Hostile h, const QString& path, qint64 oversize)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    const QByteArray p = QFile::encodeName(path);
    switch (h) {
    case Hostile::Fifo:
        return ::mkfifo(p.constData(), 0600) == 0;
    case Hostile::Device:
        return ::symlink("/dev/zero", p.constData()) == 0;
    case Hostile::Folder:
        return QDir().mkpath(path);
    case Hostile::SymlinkLoop:
        return ::symlink(p.constData(), p.constData()) == 0;
    case Hostile::SymlinkToFifo: {
        const QByteArray target = p + ".fifo";
        return ::mkfifo(target.constData(), 0600) == 0 && ::symlink(target.constData(), p.constData()) == 0;
    }
    case Hostile::Oversize: {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.resize(oversize);
    }
    }
    return false;
}

} // namespace lexifol::testing
