#include "library/ActiveDictionary.h"
#include "library/KeyTranslator.h"

#include "base/CodePage.h"
#include "index/IndexOps.h"
#include "index/IndexTools.h"
#include "base/RegularFile.h"
#include "library/Dictionary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <QFuture>
#include <QtConcurrent/QtConcurrentRun>

namespace lexifol {

namespace {

QString cannotOpen(const QString& path)
{
    return QCoreApplication::translate("lexifol", "Can not open %1").arg(QDir::toNativeSeparators(path));
}

// The sentence after the path of a refusal ("It is a FIFO ..."), on a line
// of its own; nothing for an ordinary read error.
QString Reason(const QString& error)
{
    const qsizetype at = error.indexOf(QStringLiteral("\". It "));
    return at < 0 ? QString() : QStringLiteral("\r\n") + error.mid(at + 3);
}

bool hasAnnotation(const DictionaryPaths& paths)
{
    return QFileInfo::exists(paths.annotationDjvu()) || QFileInfo::exists(paths.annotationHtm());
}

} // namespace

// The second index read on a thread of its own while the first is read:
// the two files are the most of an opening.
struct ActiveDictionary::SecondRead {
    QString path;
    FileStamp stamp;
    IndexList list;
    bool read = false;
    QFuture<void> done;
    // The read fills this object: whichever way the opening ends, it waits.
    ~SecondRead() { done.waitForFinished(); }
};

bool ActiveDictionary::readFirst(const QString& path, IndexList& out, FileStamp& stamp)
{
    stamp = FileStamp::Of(path);
    if (cache && cache->share(path, stamp, out))
        return true;
    if (!LoadFirstIndex(path, out).ok())
        return false;
    if (cache)
        cache->put(path, stamp, out);
    return true;
}

bool ActiveDictionary::readSecond(const QString& path, const FileStamp& stamp, IndexList& out) const
{
    if (cache && cache->share(path, stamp, out))
        return true;
    if (!ReadSecondIndex(path, out))
        return false;
    if (cache)
        cache->put(path, stamp, out);
    return true;
}

// The cache holds a share already; putting it again makes it the newest.
void ActiveDictionary::keepFirst()
{
    if (cache)
        cache->put(firstPath_, firstStamp_, first);
    first.clear();
    firstPath_.clear();
}

void ActiveDictionary::keepSecond()
{
    if (cache)
        cache->put(secondPath_, secondStamp_, second);
    second.clear();
    secondPath_.clear();
}

OpenOutcome ActiveDictionary::open(const OpenRequest& r)
{
    OpenOutcome out;
    const DictionaryPaths paths{r.programFolder, r.name, userRoot};
    // A build of the second index that a crash cut short is finished or
    // undone before the pair is read.
    if (!r.name.isEmpty() && QFileInfo(paths.derivedFolder()).isDir())
        RecoverSecondIndexFiles(paths.derivedFolder());
    SecondRead early;
    early.path = paths.secondIndex();
    early.stamp = FileStamp::Of(early.path);
    if (!r.startUp && !r.name.isEmpty() && early.stamp.size >= 0 && QFileInfo::exists(paths.firstIndex())) {
        early.done = QtConcurrent::run(
            [&early, this] { early.read = readSecond(early.path, early.stamp, early.list); });
    }
    IndexList fresh;
    FileStamp freshStamp;
    bool listRead = false;
    if (!r.name.isEmpty()) {
        const QString list = paths.firstIndex();
        // A link that leads nowhere is told, not taken for a missing file.
        if (!QFileInfo::exists(list) && !QFileInfo(list).isSymLink()) {
            if (!r.startUp)
                return out; // gone since the catalogue was built: nothing to say
            out.messages << cannotOpen(list);
        } else if (!readFirst(list, fresh, freshStamp)) {
            out.messages << cannotOpen(list) + Reason(RegularFileRefusal(list, kIndexCap));
            if (!r.startUp)
                return out;
        } else {
            listRead = true;
        }
    }
    PluginLoad plugin;
    if (!r.startUp && r.pageView) {
        plugin = LoadPluginParameters(paths, false);
        if (!plugin.unreadable.isEmpty()) {
            out.messages << cannotOpen(plugin.unreadable) + Reason(plugin.reason);
            return out;
        }
    }
    if (listRead) {
        keepFirst();
        first.swap(fresh);
        firstPath_ = paths.firstIndex();
        firstStamp_ = freshStamp;
        name = r.name;
        out.opened = true;
        applyDescriptor(r.programFolder, r.startUp, out);
        // At start-up the icon is only ever shown: it starts hidden.
        const bool annotation = hasAnnotation(paths);
        if (annotation || !r.startUp)
            out.annotationVisible = annotation;
    }
    if (r.startUp) {
        plugin = LoadPluginParameters(DictionaryPaths{r.programFolder, name, {}}, r.catalogueEmpty);
        if (!plugin.unreadable.isEmpty()) {
            out.messages << cannotOpen(plugin.unreadable) + Reason(plugin.reason);
            plugin.parameters = BuiltInPluginParameters();
            plugin.message.clear();
        }
    }
    pluginParameters = plugin.parameters;
    if (!plugin.message.isEmpty() && r.pageView)
        out.messages << plugin.message;
    out.rowCount = first.count();
    if (!r.startUp)
        out.messages << loadDerived(r.programFolder, false, &early);
    return out;
}

void ActiveDictionary::applyDescriptor(const QString& programFolder, bool startUp, OpenOutcome& out)
{
    const QString path = DictionaryPaths{programFolder, name, {}}.descriptor();
    pageIndex = false;
    pageOffset = 0;
    collation = nullptr;
    if (!QFileInfo::exists(path)) {
        out.title = name;
        wholeFile = QStringLiteral("yes");
        // A dictionary without a descriptor says nothing about a text layer.
        if (!startUp)
            out.findVisible = false;
        return;
    }
    const Descriptor d = ReadDescriptor(path);
    if (d.name) {
        title = *d.name;
        out.title = title.isEmpty() ? name : title;
    }
    if (d.keyboardLayout) {
        const QByteArray id = Ansi().encode(d.keyboardLayout->trimmed());
        if (id.size() == 8 || IsXkbLayoutName(id))
            out.keyboardLayout = id;
    }
    if (d.wholeFile)
        wholeFile = WholeFileValue(d.wholeFile);
    if (d.textLayer)
        out.findVisible = TextLayerVisible(d.textLayer);
    pageIndex = PageIndexValue(d.pageIndex);
    pageOffset = PageOffsetValue(d.pageOffset);
    const DeclaredCollation declared = ResolveCollation(d.collation, path);
    collation = declared.collation;
    if (!declared.unknown.isEmpty())
        out.messages << declared.unknown;
    if (d.readFailed) {
        out.messages << (startUp ? QCoreApplication::translate("lexifol", "Can not open file %1")
                                 : QCoreApplication::translate("lexifol", "Cannot open file %1"))
                            .arg(QDir::toNativeSeparators(path))
                + Reason(RegularFileRefusal(path, kSmallFileCap));
        out.title = name;
        wholeFile = QStringLiteral("yes");
        if (!startUp && !d.textLayer)
            out.findVisible = false;
    }
}

QStringList ActiveDictionary::loadDerived(const QString& programFolder, bool report)
{
    return loadDerived(programFolder, report, nullptr);
}

QStringList ActiveDictionary::loadDerived(const QString& programFolder, bool report, SecondRead* early)
{
    QStringList messages;
    keepSecond();
    rules.clear();
    if (name.isEmpty())
        return messages;
    const DictionaryPaths paths{programFolder, name, userRoot};
    SecondRead late;
    if (!early) {
        if (QFileInfo(paths.derivedFolder()).isDir())
            RecoverSecondIndexFiles(paths.derivedFolder());
        late.path = paths.secondIndex();
        late.stamp = FileStamp::Of(late.path);
        late.read = readSecond(late.path, late.stamp, late.list);
        early = &late;
    }
    early->done.waitForFinished();
    second.swap(early->list);
    Status loaded;
    if (early->read) {
        loaded = MatchSecondIndex(second, first);
        secondPath_ = early->path;
        secondStamp_ = early->stamp;
    }
    if (!loaded && report)
        messages << loaded.error();
    LoadReplacementList(paths.replacementList(), rules);
    return messages;
}

void ActiveDictionary::clear()
{
    keepFirst();
    keepSecond();
    rules.clear();
    pluginParameters.clear();
    pageIndex = false;
    pageOffset = 0;
    collation = nullptr;
}

} // namespace lexifol
