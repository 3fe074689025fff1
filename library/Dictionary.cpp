#include "library/Dictionary.h"

#include "index/Collation.h"
#include "base/TextFile.h"
#include "library/FileUtil.h"
#include "library/Profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lexifol {

QString DictionaryPaths::firstIndex() const
{
    return programFolder + QStringLiteral("Data/") + name + QStringLiteral(".list");
}

QString DictionaryPaths::folder() const
{
    return programFolder + QStringLiteral("Data/") + name + QStringLiteral(".files/");
}

QString DictionaryPaths::descriptor() const
{
    return folder() + name + QStringLiteral(".ini");
}

QString DictionaryPaths::pluginList() const
{
    return folder() + QStringLiteral("Plugin.dat");
}

QString DictionaryPaths::derivedWriteFolder() const
{
    if (userRoot.isEmpty() || QDir::cleanPath(userRoot) == QDir::cleanPath(programFolder))
        return folder();
    return userRoot + QStringLiteral("Data/") + name + QStringLiteral(".files/");
}

QString DictionaryPaths::derivedFolder() const
{
    // The user's build wins over what the package shipped, as a pair.
    const QString mine = derivedWriteFolder();
    return QFileInfo(mine).isDir() ? mine : folder();
}

QString DictionaryPaths::secondIndex() const
{
    return derivedFolder() + QStringLiteral("secondindex.list");
}

QString DictionaryPaths::replacementList() const
{
    return derivedFolder() + QStringLiteral("replacelist.dat");
}

QString DictionaryPaths::annotationDjvu() const
{
    return folder() + QStringLiteral("Annotation.djvu");
}

QString DictionaryPaths::annotationHtm() const
{
    return folder() + QStringLiteral("Annotation.htm");
}

Descriptor ReadDescriptor(const QString& path)
{
    Descriptor d;
    const ProfileFile ini(path, ProfileFile::Encoding::Detect);
    const QString section = QStringLiteral("main");
    // Read key by key, so a failure keeps what the earlier keys gave.
    std::optional<QString>* fields[] = {&d.name,      &d.keyboardLayout, &d.wholeFile, &d.textLayer,
                                        &d.pageIndex, &d.collation,      &d.pageOffset};
    const char* keys[] = {"name",       "keyboard_layout", "whole_file", "text_layer",
                          "page_index", "collation",       "page_offset"};
    for (int i = 0; i < 7; ++i) {
        bool ok = true;
        const QString v = ini.readString(section, QString::fromLatin1(keys[i]), QString(), &ok);
        if (!ok) {
            d.readFailed = true;
            break;
        }
        *fields[i] = v;
    }
    return d;
}

int PageOffsetValue(const std::optional<QString>& v)
{
    bool ok = false;
    const int n = v ? v->trimmed().toInt(&ok) : 0;
    return ok && n > -100000 && n < 100000 ? n : 0;
}

QString WholeFileValue(const std::optional<QString>& v)
{
    return (v && *v == u"no") ? QStringLiteral("no") : QStringLiteral("yes");
}

bool TextLayerVisible(const std::optional<QString>& v)
{
    return v && *v == u"yes";
}

bool PageIndexValue(const std::optional<QString>& v)
{
    return v && *v == u"yes";
}

DeclaredCollation ResolveCollation(const std::optional<QString>& value, const QString& descriptorPath)
{
    DeclaredCollation out;
    const QString name = value ? value->trimmed() : QString();
    if (name.isEmpty())
        return out;
    out.collation = IndexCollation::ForLocale(name);
    if (!out.collation)
        out.unknown = QCoreApplication::translate(
                          "lexifol", "Unknown collation \"%1\" in %2; the index is compared as in the user's locale")
                          .arg(name, QDir::toNativeSeparators(descriptorPath));
    return out;
}

QByteArrayList BuiltInPluginParameters()
{
    return {QByteArrayLiteral("width=\"100%\""), QByteArrayLiteral("height=\"100%\""), QByteArrayLiteral("Toolbar=no"),
            QByteArrayLiteral("ScrollBars=no"), QByteArrayLiteral("zoom=width")};
}

namespace {

enum class ListRead { Missing, Unreadable, Read };

ListRead readParameterList(const QString& path, QByteArrayList& lines, QString* why)
{
    if (!QFileInfo::exists(path))
        return ListRead::Missing;
    const Result<QByteArray> bytes = ReadFileBytes(path, kSmallFileCap);
    if (!bytes) {
        *why = bytes.error();
        return ListRead::Unreadable;
    }
    lines = CutByteLines(bytes.value());
    return ListRead::Read;
}

// "Check FILE" and why, on two lines.
QString CheckFile(const QString& file)
{
    return QCoreApplication::translate("lexifol", "Check %1\r\nThis file may have errors.").arg(file);
}

} // namespace

PluginLoad LoadPluginParameters(const DictionaryPaths& dict, bool catalogueEmpty)
{
    PluginLoad r;
    if (catalogueEmpty) {
        r.parameters = BuiltInPluginParameters();
        return r;
    }

    auto failRead = [&](const QString& fullPath) {
        r.parameters.clear();
        r.unreadable = fullPath;
        return r;
    };

    // Without an open dictionary there is no folder of its own to look in.
    if (!dict.name.isEmpty()) {
        const QString own = dict.pluginList();
        switch (readParameterList(own, r.parameters, &r.reason)) {
        case ListRead::Unreadable:
            return failRead(QFileInfo(own).absoluteFilePath());
        case ListRead::Read:
            if (r.parameters.isEmpty()) {
                r.parameters = BuiltInPluginParameters();
                r.message = CheckFile(own);
            }
            return r;
        case ListRead::Missing:
            break;
        }
    }

    // Named without a folder: it resolves against the current directory.
    const QString shared = QStringLiteral("Plugin.dat");
    switch (readParameterList(shared, r.parameters, &r.reason)) {
    case ListRead::Unreadable:
        return failRead(QFileInfo(shared).absoluteFilePath());
    case ListRead::Read:
        if (r.parameters.isEmpty()) {
            r.parameters = BuiltInPluginParameters();
            r.message = CheckFile(QStringLiteral("Plugin.dat"));
        }
        return r;
    case ListRead::Missing:
        break;
    }

    r.parameters = BuiltInPluginParameters();
    r.message = QCoreApplication::translate("lexifol", "Can not open %1").arg(QStringLiteral("Plugin.dat"));
    return r;
}

} // namespace lexifol
