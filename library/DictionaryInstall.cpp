#include "library/DictionaryInstall.h"

#include "djvu/Document.h"
#include "base/AtomicFile.h"
#include "index/IndexTools.h"
#include "base/TextCheck.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStorageInfo>

namespace lexifol {

namespace {

const QString kList = QStringLiteral(".list");

// Files copied through the atomic writer, a block at a time, counting bytes
// for the progress and stopping when asked.
struct Copier {
    const CopyProgress& progress;
    qint64 total = 0, done = 0;

    Status copy(const QString& from, const QString& to)
    {
        QFile in(from);
        if (!in.open(QIODevice::ReadOnly))
            return Status::failure(QCoreApplication::translate("lexifol", "Cannot copy %1: %2")
                                       .arg(QDir::toNativeSeparators(from), in.errorString()));
        // A read that fails stops the writer as a cancel does: the old file stays.
        bool failed = false;
        std::atomic<bool> stop{false};
        const Status written = WriteFileAtomically(
            to,
            [&](QByteArray& piece) {
                piece = in.read(4 << 20);
                failed = piece.isEmpty() && !in.atEnd();
                stop = failed || (progress.cancel && progress.cancel->load());
                if (stop)
                    return true;
                done += piece.size();
                if (progress.step && !piece.isEmpty())
                    progress.step(done, total);
                return !piece.isEmpty();
            },
            Durability::Synced, &stop);
        if (failed)
            return Status::failure(QCoreApplication::translate("lexifol", "Cannot copy %1: %2")
                                       .arg(QDir::toNativeSeparators(from), in.errorString()));
        return written;
    }
};

qint64 BytesIn(const QString& folder)
{
    qint64 total = 0;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        total += (it.next(), it.fileInfo().size());
    return total;
}

Status CopyFolder(const QString& from, const QString& to, Copier& copier)
{
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    if (!QDir().mkpath(to))
        return Status::failure(
            QCoreApplication::translate("lexifol", "Cannot make the folder %1").arg(QDir::toNativeSeparators(to)));
    const QString inside = QFileInfo(from).canonicalFilePath() + u'/';
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(path);
        // A link is followed only within the folder: one to a file elsewhere
        // would copy what the user never meant to give (or may not read).
        if (it.fileInfo().isSymLink() && !it.fileInfo().canonicalFilePath().startsWith(inside))
            return Status::failure(
                QCoreApplication::translate("lexifol",
                                            "%1 is a link to a file outside the dictionary's folder: nothing was added")
                    .arg(QDir::toNativeSeparators(path)));
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target))
                return Status::failure(QCoreApplication::translate("lexifol", "Cannot make the folder %1")
                                           .arg(QDir::toNativeSeparators(target)));
        } else if (!it.fileInfo().isFile()) {
            return Status::failure(
                QCoreApplication::translate("lexifol", "Cannot copy %1").arg(QDir::toNativeSeparators(path)));
        } else if (const Status copied = copier.copy(path, target); !copied) {
            return copied;
        }
    }
    return {};
}

// `path` into the trash, else into `fallback` under a name not taken there.
// Empty on success, with `where` naming the place; else why not.
// The user's own trash only, on the same disk: elsewhere the system may
// pick a trash in some other folder, even a relative one.
bool HomeTrashTakes(const QString& path)
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return !data.isEmpty() && QDir::isAbsolutePath(data) && QFileInfo(data).isDir()
        && QStorageInfo(data) == QStorageInfo(path);
}

QString PutAway(const QString& path, const QString& fallback, QString* where)
{
    QString inTrash;
    if (HomeTrashTakes(path) && QFile::moveToTrash(path, &inTrash)) {
        *where = QCoreApplication::translate("lexifol", "the trash");
        return {};
    }
    if (!QDir().mkpath(fallback))
        return QCoreApplication::translate("lexifol", "Cannot make the folder %1")
            .arg(QDir::toNativeSeparators(fallback));
    const QFileInfo info(path);
    QString target = QDir(fallback).filePath(info.fileName());
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = QDir(fallback).filePath(QStringLiteral("%1 (%2)%3")
                                             .arg(info.completeBaseName())
                                             .arg(n)
                                             .arg(info.suffix().isEmpty() ? QString() : u'.' + info.suffix()));
    if (!QDir().rename(path, target))
        return QCoreApplication::translate("lexifol", "Cannot move %1 out of the way")
            .arg(QDir::toNativeSeparators(path));
    *where = QDir::toNativeSeparators(fallback);
    return {};
}

// Whether the document's pages carry printed text: Find, the text search
// and the word under the pointer need it. A few pages tell, past a title
// page or plates without text.
bool HasTextLayer(const QString& document)
{
    auto doc = djvu::Document::open(document);
    if (!doc)
        return false;
    constexpr int kPagesLooked = 8;
    for (int i = 0; i < std::min(doc.value()->pageCount(), kPagesLooked); ++i)
        if (const Result<djvu::TextLayer> text = doc.value()->pageText(i);
            text && text->present && !text->words.isEmpty())
            return true;
    return false;
}

} // namespace

void ReadMakeProgress(const QString& line, const QString& name, MakeProgress& progress)
{
    static const QRegularExpression read(QStringLiteral("^ocr: (\\d+) of (\\d+) pages"));
    static const QRegularExpression pages(QStringLiteral("^(\\d+) pages, \\d+ lines, \\d+ in doubt"));
    if (const auto m = read.match(line); m.hasMatch()) {
        progress.done = m.captured(1).toInt();
        progress.total = m.captured(2).toInt();
    } else if (line.startsWith(name + QStringLiteral(": "))) {
        if (const auto p = pages.match(line.mid(name.size() + 2)); p.hasMatch())
            progress.summary = p.captured(0);
    }
}

Result<DictionarySource> SourceFrom(const QStringList& paths, const QString& name)
{
    DictionarySource s;
    for (const QString& p : paths) {
        const QFileInfo f(p);
        if (f.isDir()) {
            const QStringList lists = QDir(p).entryList({QStringLiteral("*.list")}, QDir::Files);
            if (lists.size() != 1)
                return Status::failure(
                    QCoreApplication::translate("lexifol",
                                                "%1 holds %2 index files (NAME.list); a dictionary's folder holds one")
                        .arg(QDir::toNativeSeparators(p))
                        .arg(lists.size()));
            s.index = QDir(p).filePath(lists.first());
        } else if (f.suffix().compare(QStringLiteral("djvu"), Qt::CaseInsensitive) == 0) {
            s.document = f.absoluteFilePath();
        } else {
            s.index = f.absoluteFilePath();
        }
    }
    if (s.index.isEmpty())
        return Status::failure(
            QCoreApplication::translate("lexifol", "No index file: give a NAME.list, or a folder holding one"));
    const QFileInfo index(s.index);
    s.name = name.isEmpty() ? index.completeBaseName() : name.trimmed();
    const QString folder = index.absolutePath() + u'/' + index.completeBaseName() + QStringLiteral(".files");
    if (s.document.isEmpty() && QFileInfo(folder).isDir())
        s.folder = folder;
    // A tab or a line break would cut the catalogue's line of the name.
    if (s.name.isEmpty() || s.name.contains(u'/') || s.name.contains(u'\\') || s.name.startsWith(u'.')
        || std::any_of(s.name.begin(), s.name.end(), [](QChar c) { return c == u'\t' || c == u'\n' || c == u'\r'; }))
        return Status::failure(QStringLiteral("\"%1\" cannot be a dictionary's name").arg(s.name));
    return s;
}

QStringList CheckDictionary(const DictionarySource& s, QStringList* warnings)
{
    QStringList faults;
    const Result<QByteArray> bytes = ReadFileBytes(s.index, kIndexCap);
    if (!bytes)
        return {bytes.error()};
    if (const TextVerdict v = CheckText(bytes.value()); !v.ok())
        faults << QCoreApplication::translate("lexifol", "The index file is damaged at %1.").arg(DescribeBadText(v));
    IndexList list;
    DecodeLines(bytes.value(), list);
    if (list.isEmpty())
        faults << QCoreApplication::translate("lexifol", "The index holds no entries.");
    const QList<int> disorder = FindOrderErrors(list, false);
    if (!disorder.isEmpty() && warnings)
        *warnings << QCoreApplication::translate("lexifol",
                                                 "%1 pairs of entries are out of order: some words will not be found.")
                         .arg(disorder.size());
    if (!s.document.isEmpty()) {
        if (auto doc = djvu::Document::open(s.document); !doc)
            faults << QCoreApplication::translate("lexifol", "The DjVu document cannot be read: %1").arg(doc.error());
    } else if (s.folder.isEmpty()) {
        faults << QStringLiteral(
                      "There are no pages: give the DjVu document too, or the folder %1.files beside the index.")
                      .arg(QFileInfo(s.index).completeBaseName());
    }
    return faults;
}

Status CanInstall(const DictionarySource& s, const QString& userData, const QStringList& installed)
{
    const QDir data(userData);
    const bool taken = std::any_of(installed.begin(), installed.end(),
                                   [&](const QString& n) { return n.compare(s.name, Qt::CaseInsensitive) == 0; })
        || QFileInfo::exists(data.filePath(s.name + kList))
        || QFileInfo::exists(data.filePath(s.name + QStringLiteral(".files")));
    return taken ? Status::failure(
               QCoreApplication::translate("lexifol", "A dictionary named \"%1\" is installed already.").arg(s.name))
                 : Status();
}

Status InstallDictionary(const DictionarySource& s, const QString& userData, const QStringList& installed,
                         const CopyProgress& progress)
{
    if (const Status free = CanInstall(s, userData, installed); !free)
        return free;
    const QDir data(userData);
    const QString list = data.filePath(s.name + kList);
    const QString folder = data.filePath(s.name + QStringLiteral(".files"));
    Copier copier{progress};
    copier.total = QFileInfo(s.index).size() + (s.folder.isEmpty() ? 0 : BytesIn(s.folder))
        + (s.document.isEmpty() ? 0 : QFileInfo(s.document).size());
    Status done = QDir().mkpath(folder)
        ? Status()
        : Status::failure(QCoreApplication::translate("lexifol", "Cannot make %1").arg(folder));
    if (done && !s.folder.isEmpty())
        done = CopyFolder(s.folder, folder, copier);
    if (done && !s.document.isEmpty()) {
        done = copier.copy(s.document, folder + u'/' + s.name + QStringLiteral(".djvu"));
        if (done)
            done = WriteFileAtomically(
                folder + u'/' + s.name + QStringLiteral(".ini"),
                QStringLiteral("[main]\r\nname=%1\r\nwhole_file=yes\r\n%2")
                    .arg(s.name)
                    .arg(HasTextLayer(s.document) ? QStringLiteral("text_layer=yes\r\n") : QString())
                    .toUtf8());
    }
    // The index last: its arrival installs the dictionary.
    if (done)
        done = copier.copy(s.index, list);
    if (!done)
        QDir(folder).removeRecursively();
    return done;
}

bool IsUserDictionary(const QString& root, const QString& userRoot)
{
    return !userRoot.isEmpty() && QDir::cleanPath(root) == QDir::cleanPath(userRoot);
}

Result<QString> RemoveDictionary(const QString& userData, const QString& name)
{
    const QDir data(userData);
    const QString list = data.filePath(name + kList);
    const QString folder = data.filePath(name + QStringLiteral(".files"));
    if (name.isEmpty() || name.contains(u'/') || !QFileInfo(list).isFile())
        return Status::failure(QStringLiteral("\"%1\" is not one of your own dictionaries.").arg(name));
    const QString fallback = QFileInfo(QDir::cleanPath(userData)).absolutePath() + QStringLiteral("/Removed");
    QString where;
    if (const QString why = PutAway(list, fallback, &where); !why.isEmpty())
        return Status::failure(why);
    if (QFileInfo(folder).isDir()) {
        QString folderWhere;
        if (const QString why = PutAway(folder, fallback, &folderWhere); !why.isEmpty())
            return Status::failure(QCoreApplication::translate("lexifol", "%1 was moved to %2, but not its folder: %3")
                                       .arg(name + kList, where, why));
        if (folderWhere != where)
            where += QStringLiteral(" and ") + folderWhere;
    }
    return where;
}

} // namespace lexifol
