#pragma once
// What opening a dictionary reads: its descriptor and its plug-in parameter
// list. The window applies the results.
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lexifol {

class IndexCollation;

struct DictionaryPaths {
    QString programFolder; // with trailing separator
    QString name;
    // The user's own root (trailing separator). The files built for a
    // dictionary of another root (one shipped by a package, read only) go
    // there, under the same names. Empty: always the dictionary's folder.
    QString userRoot;
    QString firstIndex() const; // Data/<name>.list
    QString folder() const;     // Data/<name>.files/
    QString descriptor() const; // Data/<name>.files/<name>.ini
    QString pluginList() const; // Data/<name>.files/Plugin.dat
    // Where the second index and its rules are read: the user's folder for
    // this dictionary once one was built there, else the dictionary's own.
    QString derivedFolder() const;
    // Where they are written: the user's folder for a dictionary of another root.
    QString derivedWriteFolder() const;
    QString secondIndex() const;     // <derived>/secondindex.list
    QString replacementList() const; // <derived>/replacelist.dat
    QString annotationDjvu() const;
    QString annotationHtm() const;
};

struct Descriptor {
    // Each key is present only if it was read before a failure.
    std::optional<QString> name, keyboardLayout, wholeFile, textLayer;
    std::optional<QString> pageIndex, collation, pageOffset;
    bool readFailed = false;
};
// Reads section "main" keys name, keyboard_layout, whole_file, text_layer,
// page_index, collation in that order (Unicode values).
Descriptor ReadDescriptor(const QString& path);

// "no" only for exactly "no", else "yes".
QString WholeFileValue(const std::optional<QString>& v);
// Find button visible only for exactly "yes".
bool TextLayerVisible(const std::optional<QString>& v);
// A page index only for exactly "yes".
bool PageIndexValue(const std::optional<QString>& v);
// page_offset: how many pages of the file come before the one printed "1"
// (front matter); 0 when absent or not a number.
int PageOffsetValue(const std::optional<QString>& v);

// The collation a descriptor declares: nullptr for none (the user's
// locale), or for a name ICU does not know, which `unknown` then tells.
struct DeclaredCollation {
    const IndexCollation* collation = nullptr;
    QString unknown; // the message, empty when there is none
};
DeclaredCollation ResolveCollation(const std::optional<QString>& value, const QString& descriptorPath);

QByteArrayList BuiltInPluginParameters();

struct PluginLoad {
    QByteArrayList parameters;
    QString message;    // empty when nothing is to be shown
    QString unreadable; // full path of a list that exists but cannot be read
    QString reason;     // why it cannot
};
// The plug-in step: own Plugin.dat, else "Plugin.dat" in the current
// directory, else built-ins, with their messages. catalogueEmpty gives the
// built-ins silently. A file that exists but cannot be read is named in
// `unreadable`, with no parameters.
PluginLoad LoadPluginParameters(const DictionaryPaths& dict, bool catalogueEmpty);

} // namespace lexifol
