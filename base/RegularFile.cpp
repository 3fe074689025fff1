#include "base/RegularFile.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lexifol {

namespace {

QString TooLarge(const QString& path, qint64 size, qint64 cap)
{
    return QStringLiteral("Cannot open file \"%1\". It is %2 MB, more than the %3 MB such a file may have.")
        .arg(path)
        .arg(double(size) / (1 << 20), 0, 'f', 1)
        .arg(cap >> 20);
}

#ifdef Q_OS_UNIX
QString KindRefusal(const QString& path, const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("Cannot open file \"%1\". It is a folder.").arg(path);
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("Cannot open file \"%1\". It is a FIFO (a named pipe), not a regular file.").arg(path);
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("Cannot open file \"%1\". It is a device, not a regular file.").arg(path);
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("Cannot open file \"%1\". It is not a regular file.").arg(path);
    return QString();
}

QString ErrnoRefusal(const QString& path, int error)
{
    return QStringLiteral("Cannot open file \"%1\". %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
}
#endif

} // namespace

QString RegularFileRefusal(const QString& path, qint64 cap)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return ErrnoRefusal(path, errno);
    if (QString kind = KindRefusal(path, st); !kind.isEmpty())
        return kind;
    if (st.st_size > cap)
        return TooLarge(path, st.st_size, cap);
    return QString();
#else
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("Cannot open file \"%1\". It does not exist.").arg(path);
    if (!info.isFile())
        return QStringLiteral("Cannot open file \"%1\". It is not a regular file.").arg(path);
    if (info.size() > cap)
        return TooLarge(path, info.size(), cap);
    return QString();
#endif
}

Status OpenRegularFile(QFile& file, const QString& path, qint64 cap)
{
#ifdef Q_OS_UNIX
    // Opened without blocking (a FIFO would wait for a writer), then its
    // kind is checked on what was opened, not on the name.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Status::failure(ErrnoRefusal(path, errno));
    struct stat st;
    QString refusal;
    if (::fstat(fd, &st) != 0)
        refusal = ErrnoRefusal(path, errno);
    else if (refusal = KindRefusal(path, st); refusal.isEmpty() && st.st_size > cap)
        refusal = TooLarge(path, st.st_size, cap);
    if (refusal.isEmpty()) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        if (file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
            return {};
        refusal = QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString());
    }
    ::close(fd);
    return Status::failure(refusal);
#else
    if (QString refusal = RegularFileRefusal(path, cap); !refusal.isEmpty())
        return Status::failure(refusal);
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return Status::failure(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    return {};
#endif
}

} // namespace lexifol
