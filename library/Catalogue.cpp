#include "library/Catalogue.h"

#include "base/CodePage.h"
#include "base/TextFile.h"
#include "index/IndexList.h"
#include "library/FileUtil.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace lexifol {

namespace {
const QString kPlaceholder = QStringLiteral("*\\");
const QString kSuffix = QStringLiteral(".list");
} // namespace

QStringList DiscoverDictionaries(const QString& dataFolder)
{
    QDir dir(dataFolder);
    // Paths are rebuilt as <name> + ".list", so on a case-sensitive file
    // system only that spelling can be opened later.
#ifdef Q_OS_WIN
    const QDir::Filters caseFilter = {};
#else
    const QDir::Filters caseFilter = QDir::CaseSensitive;
#endif
    QStringList files = dir.entryList(QStringList{QStringLiteral("*") + kSuffix},
                                      QDir::Files | QDir::Hidden | caseFilter, QDir::Unsorted);
    // The catalogue order of unsaved dictionaries follows this order, so it
    // must not depend on the file system's listing order.
    std::sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    QStringList names;
    for (const QString& f : std::as_const(files)) {
        const QString name = f.left(f.size() - kSuffix.size());
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

QString SavedOrderName(const QString& line)
{
    const auto parts = SplitAtTab(line);
    if (!parts)
        return QString();
    // A line that starts with TAB has an empty, but present, name.
    QString name = parts->before.toString();
    if (name.isNull())
        name = QStringLiteral("");
    return name;
}

int FindSavedLine(const QStringList& savedOrder, const QString& name)
{
    for (int i = 0; i < savedOrder.size(); ++i) {
        const QString n = SavedOrderName(savedOrder[i]);
        if (!n.isNull() && n.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QStringList MergeCatalogue(const QStringList& discovered, const QStringList& savedOrder)
{
    const qsizetype n = discovered.size();
    QStringList merged(n, kPlaceholder);
    for (const QString& name : discovered) {
        const int d = FindSavedLine(savedOrder, name);
        if (d >= 0 && d < n)
            merged[d] = name;
        else
            merged.append(name);
    }
    merged.removeAll(kPlaceholder);
    return merged;
}

std::optional<bool> SavedCheckMark(const QStringList& savedOrder, const QString& name)
{
    const int i = FindSavedLine(savedOrder, name);
    if (i < 0)
        return std::nullopt;
    const QString& line = savedOrder[i];
    const QStringView value = QStringView(line).mid(line.indexOf(u'\t') + 1);
    if (value == u"1")
        return true;
    if (value == u"0")
        return false;
    return std::nullopt;
}

QStringList BuildSavedOrder(const QList<CatalogueEntry>& entries)
{
    QStringList lines;
    lines.reserve(entries.size());
    for (const CatalogueEntry& e : entries)
        lines.append(e.name + u'\t' + (e.checked ? u'1' : u'0'));
    return lines;
}

// The file is plain 8-bit text: it is cut into lines as bytes and each line
// is decoded from the ANSI code page. The index reader is not used for it
// because it would take leading bytes FF FE or EF BB BF for a Unicode mark,
// which an 8-bit catalogue file never carries.
Result<QStringList> LoadSavedOrder(const QString& path)
{
    QStringList lines;
    if (!QFileInfo::exists(path))
        return lines;
    const Result<QByteArray> bytes = ReadFileBytes(path, kListCap);
    if (!bytes)
        return Status::failure(bytes.error());
    // Written in UTF-8 with its mark when a name did not fit the code page.
    const bool utf8 = bytes->startsWith("\xEF\xBB\xBF");
    const QByteArrayList raw = CutByteLines(utf8 ? bytes->mid(3) : bytes.value());
    lines.reserve(raw.size());
    for (const QByteArray& l : raw)
        lines.append(utf8 ? QString::fromUtf8(l) : Ansi().decode(l));
    return lines;
}

std::optional<NeighbourStep> FindCheckedNeighbour(const QList<bool>& checked, int selected, bool up)
{
    if (selected < 0 || selected >= checked.size())
        return std::nullopt;
    int steps = 0;
    for (int i = selected + (up ? -1 : 1); i >= 0 && i < checked.size(); i += up ? -1 : 1) {
        ++steps;
        if (checked.at(i))
            return NeighbourStep{i, steps};
    }
    return std::nullopt;
}

Status SaveSavedOrder(const QString& path, const QStringList& lines)
{
    // The code page as before while every name fits it; else UTF-8 with its
    // mark, so that no name comes back as question marks and loses its check.
    const bool fits = std::all_of(lines.begin(), lines.end(),
                                  [](const QString& l) { return Ansi().decode(Ansi().encode(l)) == l; });
    QByteArray out = fits ? QByteArray() : QByteArray("\xEF\xBB\xBF");
    for (const QString& l : lines) {
        out += fits ? Ansi().encode(l) : l.toUtf8();
        out += "\r\n";
    }
    return ReplaceFile(path, out);
}

} // namespace lexifol
