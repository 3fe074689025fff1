#include "base/AtomicFile.h"
#include "base/Faults.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

namespace lexifol {

namespace {

Status fail(QSaveFile& file, const QString& reason)
{
    file.cancelWriting();
    return Status::failure(reason.isEmpty() ? QStringLiteral("Unknown error") : reason);
}

// The data must be on the disk before the rename makes it the file: a
// delayed allocation can still fail for want of space.
Status syncToDisk(QSaveFile& file)
{
#ifdef Q_OS_UNIX
    const int fd = file.handle();
    if (fd >= 0 && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        return Status::failure(QString::fromLocal8Bit(std::strerror(errno)));
#else
    Q_UNUSED(file);
#endif
    return {};
}

} // namespace

Status WriteFileAtomically(const QString& path, const QByteArray& bytes, Durability durability)
{
    bool given = false;
    return WriteFileAtomically(
        path,
        [&](QByteArray& piece) {
            if (given)
                return false;
            piece = bytes;
            given = true;
            return true;
        },
        durability);
}

namespace {

Status WriteThrough(const QString& path, const std::function<bool(QByteArray&)>& next, Durability durability,
                    const std::atomic<bool>* cancel)
{
    QSaveFile file(path);
    // Unbuffered: Qt's buffer would hold a small file until commit(), where a
    // failed write-out is lost and an empty file replaces the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Status::failure(file.errorString());
    if (faults::Fail(faults::Op::Write))
        return fail(file, QStringLiteral("No space left on device"));
    qint64 total = 0;
    for (QByteArray bytes; next(bytes);) {
        if (cancel && cancel->load()) {
            file.cancelWriting();
            return Status::failure(QStringLiteral("Cancelled"));
        }
        for (qint64 done = 0; done < bytes.size();) {
            const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
            if (n <= 0)
                return fail(file, file.errorString());
            done += n;
        }
        total += bytes.size();
    }
    if (!file.flush() || file.size() != total)
        return fail(file, file.errorString());
    if (Status synced = durability == Durability::Synced ? syncToDisk(file) : Status(); !synced)
        return fail(file, synced.error());
    if (durability == Durability::Synced && faults::Fail(faults::Op::Sync))
        return fail(file, QStringLiteral("Input/output error"));
    if (faults::Fail(faults::Op::Rename)) {
        file.cancelWriting();
        return Status::failure(QStringLiteral("Permission denied"));
    }
    if (!file.commit())
        return Status::failure(file.errorString());
    return {};
}

} // namespace

Status WriteFileAtomically(const QString& path, const std::function<bool(QByteArray&)>& next, Durability durability,
                           const std::atomic<bool>* cancel)
{
    const QFileInfo target(path);
    // A link is replaced itself, never the file it points to: one planted
    // in a folder we write to would have us overwrite a file elsewhere.
    if (target.isSymLink()) {
        const QString aside =
            QStringLiteral("%1.%2.new").arg(path).arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
        if (Status written = WriteThrough(aside, next, durability, cancel); !written)
            return written;
#ifdef Q_OS_UNIX
        if (::rename(QFile::encodeName(aside).constData(), QFile::encodeName(path).constData()) == 0)
            return {};
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
#else
        if (QFile::remove(path) && QFile::rename(aside, path))
            return {};
        const QString why = QStringLiteral("cannot replace the link");
#endif
        QFile::remove(aside);
        return Status::failure(why);
    }
    // A device, a FIFO or a folder is never replaced by a file.
    if (target.exists() && !target.isFile())
        return Status::failure(QStringLiteral("%1 is not a regular file").arg(QDir::toNativeSeparators(path)));
    return WriteThrough(path, next, durability, cancel);
}

} // namespace lexifol
