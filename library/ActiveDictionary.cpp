#include "library/ActiveDictionary.h"

#include "index/CodePage.h"
#include "index/IndexOps.h"
#include "library/Dictionary.h"

#include <QDir>
#include <QFileInfo>

#include <future>

namespace lexifol {

namespace {

QString cannotOpen(const QString& path)
{
    return QStringLiteral("Can not open ") + QDir::toNativeSeparators(path);
}

bool hasAnnotation(const DictionaryPaths& paths)
{
    return QFileInfo::exists(paths.annotationDjvu()) || QFileInfo::exists(paths.annotationHtm());
}

} // namespace

// The second index read on a thread of its own while the first is read:
// the two files are the most of an opening.
struct ActiveDictionary::SecondRead {
    IndexList list;
    bool read = false;
    std::future<void> done;
};

OpenOutcome ActiveDictionary::open(const OpenRequest& r)
{
    OpenOutcome out;
    const DictionaryPaths paths{r.programFolder, r.name};
    SecondRead early;
    if (!r.startUp && !r.name.isEmpty() && QFileInfo::exists(paths.secondIndex())
        && QFileInfo::exists(paths.firstIndex()))
        early.done = std::async(std::launch::async, [&early, path = paths.secondIndex()] {
            early.read = ReadSecondIndex(path, early.list);
        });
    IndexList fresh;
    bool listRead = false;
    if (!r.name.isEmpty()) {
        const QString list = paths.firstIndex();
        if (!QFileInfo::exists(list)) {
            if (!r.startUp)
                return out;   // gone since the catalogue was built: nothing to say
            out.messages << cannotOpen(list);
        } else if (!LoadFirstIndex(list, fresh).ok()) {
            out.messages << cannotOpen(list);
            if (!r.startUp)
                return out;
        } else {
            listRead = true;
        }
    }
    PluginLoad plugin;
    if (!r.startUp) {
        plugin = LoadPluginParameters(paths, false);
        if (!plugin.unreadable.isEmpty()) {
            out.messages << cannotOpen(plugin.unreadable);
            return out;
        }
    }
    if (listRead) {
        first.swap(fresh);
        name = r.name;
        out.opened = true;
        applyDescriptor(r.programFolder, r.startUp, out);
        // At start-up the icon is only ever shown: it starts hidden.
        const bool annotation = hasAnnotation(paths);
        if (annotation || !r.startUp)
            out.annotationVisible = annotation;
    }
    if (r.startUp) {
        plugin = LoadPluginParameters(DictionaryPaths{r.programFolder, name}, r.catalogueEmpty);
        if (!plugin.unreadable.isEmpty()) {
            out.messages << cannotOpen(plugin.unreadable);
            plugin.parameters = BuiltInPluginParameters();
            plugin.message.clear();
        }
    }
    pluginParameters = plugin.parameters;
    if (!plugin.message.isEmpty())
        out.messages << plugin.message;
    out.rowCount = first.count();
    if (!r.startUp)
        out.messages << loadDerived(r.programFolder, false, &early);
    return out;
}

void ActiveDictionary::applyDescriptor(const QString& programFolder, bool startUp, OpenOutcome& out)
{
    const QString path = DictionaryPaths{programFolder, name}.descriptor();
    pageIndex = false;
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
        const QByteArray id = Ansi().encode(*d.keyboardLayout);
        if (id.size() == 8)
            out.keyboardLayout = id;
    }
    if (d.wholeFile)
        wholeFile = WholeFileValue(d.wholeFile);
    if (d.textLayer)
        out.findVisible = TextLayerVisible(d.textLayer);
    pageIndex = PageIndexValue(d.pageIndex);
    const DeclaredCollation declared = ResolveCollation(d.collation, path);
    collation = declared.collation;
    if (!declared.unknown.isEmpty())
        out.messages << declared.unknown;
    if (d.readFailed) {
        out.messages << (startUp ? QStringLiteral("Can not open file ") : QStringLiteral("Cannot open file "))
                + QDir::toNativeSeparators(path);
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
    second.clear();
    rules.clear();
    if (name.isEmpty())
        return messages;
    const DictionaryPaths paths{programFolder, name};
    Status loaded;
    if (early) {
        if (early->done.valid())
            early->done.wait();
        second.swap(early->list);
        if (early->read)
            loaded = MatchSecondIndex(second, first);
    } else {
        loaded = LoadSecondIndex(paths.secondIndex(), second, first);
    }
    if (!loaded && report)
        messages << loaded.error();
    LoadReplacementList(paths.replacementList(), rules);
    return messages;
}

void ActiveDictionary::clear()
{
    first.clear();
    second.clear();
    rules.clear();
    pluginParameters.clear();
    pageIndex = false;
    collation = nullptr;
}

} // namespace lexifol
