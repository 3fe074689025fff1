#include "base/FilePair.h"

#include "base/AtomicFile.h"
#include "base/Faults.h"

#include <QDir>
#include <QFile>

#include <filesystem>

namespace lexifol {

namespace {

bool Rename(const QString& from, const QString& to)
{
    if (faults::Fail(faults::Op::Rename))
        return false;
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(), error);
    return !error;
}

bool Remove(const QString& path)
{
    if (faults::Fail(faults::Op::Remove))
        return false;
    return !QFile::exists(path) || QFile::remove(path);
}

QString Fresh(const QString& path)
{
    return path + QStringLiteral(".new");
}

} // namespace

void RecoverFilePair(const QString& folder, const QString& a, const QString& b)
{
    const QDir dir(folder);
    const QString mark = dir.filePath(QString::fromLatin1(kPairMark));
    const bool committed = QFile::exists(mark);
    for (const QString& name : {a, b}) {
        const QString target = dir.filePath(name);
        if (committed && QFile::exists(Fresh(target))) {
            if (!Rename(Fresh(target), target))
                return; // the mark stays: the next one tries again
        } else if (!committed) {
            Remove(Fresh(target));
        }
        // Left by the earlier way of replacing the pair: the old file put
        // aside and not put back.
        const QString aside = target + QStringLiteral(".old");
        if (QFile::exists(aside) && !QFile::exists(target))
            Rename(aside, target);
        else
            Remove(aside);
    }
    if (committed)
        Remove(mark);
}

Status WriteFilePair(const QString& folder, const PairFile& a, const PairFile& b)
{
    RecoverFilePair(folder, a.name, b.name);
    const QDir dir(folder);
    const QString mark = dir.filePath(QString::fromLatin1(kPairMark));
    for (const PairFile* f : {&a, &b}) {
        const QString path = dir.filePath(f->name);
        if (const Status s = f->pieces ? WriteFileAtomically(Fresh(path), f->pieces)
                                       : WriteFileAtomically(Fresh(path), f->bytes);
            !s) {
            RecoverFilePair(folder, a.name, b.name);
            return Status::failure(
                QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(Fresh(path)), s.error()));
        }
    }
    // The commit point: from here on the new pair is what the folder holds.
    if (const Status s = WriteFileAtomically(mark, QByteArray(a.name.toUtf8() + "\r\n" + b.name.toUtf8() + "\r\n"));
        !s) {
        RecoverFilePair(folder, a.name, b.name);
        return Status::failure(QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(mark), s.error()));
    }
    RecoverFilePair(folder, a.name, b.name);
    if (QFile::exists(mark))
        return Status::failure(QStringLiteral("Cannot replace the files in %1; the new ones are put in place the "
                                              "next time the dictionary is opened")
                                   .arg(QDir::toNativeSeparators(folder)));
    return {};
}

} // namespace lexifol
