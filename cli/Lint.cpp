// lexifol-index lint: what would go wrong with each installed dictionary.
#include "Commands.h"

#include "djvu/Document.h"
#include "djvu/PageFiles.h"
#include "index/IndexOps.h"
#include "index/IndexTools.h"
#include "index/Lookup.h"
#include "index/TextFile.h"
#include "library/Catalogue.h"
#include "library/Dictionary.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>


namespace lexifol::cli {

namespace {

// Pages of a DjVu document; -1 when it cannot be opened or decoded.
int DjvuPageCount(const QString& path)
{
    const auto doc = djvu::Document::open(path);
    return doc ? doc.value()->pageCount() : -1;
}

QString EncodingName(const QString& path)
{
    const Result<QByteArray> bytes = ReadFileBytes(path, kIndexCap);
    if (!bytes)
        return QStringLiteral("unreadable");
    switch (DetectMark(bytes.value()).kind) {
    case TextMark::Utf16LE: return QStringLiteral("UTF-16LE");
    case TextMark::Utf16BE: return QStringLiteral("UTF-16BE");
    case TextMark::Utf8: return QStringLiteral("UTF-8");
    case TextMark::None: break;
    }
    return QStringLiteral("8-bit");
}

// Whether some entry has this headword (collation-equal). The bisection
// compares whole lines, so the entry lies at or just beside where it lands.
bool HasHeadword(const IndexList& first, const QString& headword, const IndexCollation& coll)
{
    const int at = FindPosition(first, headword, coll);
    for (int i = qMax(0, at - 2); i < qMin(first.count(), at + 3); ++i)
        if (coll.compare(first.headword(i), headword) == 0)
            return true;
    return false;
}

struct Report {
    QStringList faults;
    void add(const QString& f) { faults << f; }
};

// What the descriptor says about reading the index.
struct Declared {
    bool wholeFile = true;
    bool pageIndex = false;
    const IndexCollation* collation = &IndexCollation::Default();
};

// Page references in order: numbers by value, file names by their text
// with digit runs compared by value ("p9" before "p10").
int ComparePages(const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            // Leading zeros say nothing of the value.
            while (i + 1 < ei && a[i] == u'0')
                ++i;
            while (j + 1 < ej && b[j] == u'0')
                ++j;
            const QStringView na = QStringView(a).mid(i, ei - i);
            const QStringView nb = QStringView(b).mid(j, ej - j);
            if (na.size() != nb.size())
                return na.size() < nb.size() ? -1 : 1;
            if (const int c = na.compare(nb); c != 0)
                return c;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    return (a.size() - i > 0) - (b.size() - j > 0);
}

// A page index holds one entry per page in page order.
void LintPageOrder(const IndexList& first, Report& r)
{
    int reported = 0;
    QString previous;
    for (int i = 0; i < first.count() && reported < 10; ++i) {
        const QStringList parts = SplitValue(first.value(i));
        if (parts.isEmpty())
            continue;
        if (!previous.isEmpty() && ComparePages(parts[0], previous) < 0) {
            r.add(QStringLiteral("line %1: page %2 comes after page %3 in a page index").arg(i + 1).arg(parts[0], previous));
            ++reported;
        }
        previous = parts[0];
    }
}

void LintReferences(const IndexList& first, const DictionaryPaths& paths, const Declared& how, Report& r)
{
    const bool wholeFile = how.wholeFile;
    const int pages = wholeFile ? DjvuPageCount(djvu::WholeDocumentPath(paths.folder(), paths.name)) : 0;
    if (wholeFile && pages < 0)
        r.add(QStringLiteral("document %1.djvu cannot be read").arg(paths.name));
    int reported = 0;
    for (int i = 0; i < first.count() && reported < 20; ++i) {
        const QStringList parts = SplitValue(first.value(i));
        if (parts.size() >= 2 && !parts[1].isEmpty()) {
            if (!HasHeadword(first, parts[1], *how.collation)) {
                r.add(QStringLiteral("line %1: cross-reference to \"%2\", which is no headword").arg(i + 1).arg(parts[1]));
                ++reported;
            }
        }
        if (parts.isEmpty()) {
            r.add(QStringLiteral("line %1: no page reference").arg(i + 1));
            ++reported;
            continue;
        }
        bool number = false;
        const int page = parts[0].toInt(&number);
        if (wholeFile && pages > 0 && number && (page < 1 || page > pages)) {
            r.add(QStringLiteral("line %1: page %2 is past the last page (%3)").arg(i + 1).arg(page).arg(pages));
            ++reported;
        } else if (!wholeFile && parts[0] != QLatin1StringView("Annotation")
                   && !QFileInfo::exists(djvu::PageSourceFor(paths.folder(), paths.name, false, parts[0]).document)) {
            r.add(QStringLiteral("line %1: page file %2.djvu does not exist").arg(i + 1).arg(parts[0]));
            ++reported;
        }
    }
}

Declared LintDescriptor(const DictionaryPaths& paths, Report& r)
{
    Declared how;
    if (!QFileInfo::exists(paths.descriptor()))
        return how;
    const Descriptor d = ReadDescriptor(paths.descriptor());
    if (d.readFailed)
        r.add(QStringLiteral("descriptor %1 cannot be read").arg(paths.descriptor()));
    auto yesNo = [&](const std::optional<QString>& v, const char* key) {
        // A missing key reads as empty, which the viewer takes as its default.
        if (v && !v->isEmpty() && *v != u"yes" && *v != u"no")
            r.add(QStringLiteral("descriptor: %1=%2 is neither yes nor no").arg(QLatin1StringView(key), *v));
    };
    yesNo(d.wholeFile, "whole_file");
    yesNo(d.textLayer, "text_layer");
    static const QRegularExpression hex8(QStringLiteral("^[0-9A-Fa-f]{8}$"));
    if (d.keyboardLayout && !d.keyboardLayout->isEmpty() && !hex8.match(*d.keyboardLayout).hasMatch())
        r.add(QStringLiteral("descriptor: keyboard_layout=%1 is not 8 hex digits").arg(*d.keyboardLayout));
    if (d.pageIndex && *d.pageIndex != u"yes" && !d.pageIndex->isEmpty())
        r.add(QStringLiteral("descriptor: page_index=%1 is not yes: the index is read as one entry per headword").arg(*d.pageIndex));
    const DeclaredCollation declared = ResolveCollation(d.collation, paths.descriptor());
    if (!declared.unknown.isEmpty())
        r.add(QStringLiteral("descriptor: collation=%1 is no locale ICU knows").arg(d.collation->trimmed()));
    if (declared.collation)
        how.collation = declared.collation;
    how.wholeFile = WholeFileValue(d.wholeFile) == QLatin1StringView("yes");
    how.pageIndex = PageIndexValue(d.pageIndex);
    return how;
}

bool LintOne(const QString& programFolder, const QString& name, Streams& io)
{
    const DictionaryPaths paths{programFolder, name};
    IndexList first;
    Report r;
    if (const Status s = ReadIndexFile(paths.firstIndex(), first); !s) {
        io.out << name << ": " << s.error() << "\n";
        return false;
    }
    io.out << name << ": " << first.count() << " entries, " << EncodingName(paths.firstIndex()) << "\n";
    const Declared how = LintDescriptor(paths, r);
    const QList<int> errors = FindOrderErrors(first, false, *how.collation);
    if (!errors.isEmpty())
        r.add(QStringLiteral("%1 pairs out of order (collation %2)").arg(errors.size()).arg(how.collation->locale()));
    for (int k : errors.mid(0, 10))
        r.add(OrderErrorLine(k));
    if (how.pageIndex)
        LintPageOrder(first, r);
    LintReferences(first, paths, how, r);
    IndexList second;
    if (QFileInfo::exists(paths.secondIndex()) && ReadIndexFile(paths.secondIndex(), second) && second.count() != first.count())
        r.add(QStringLiteral("second index has %1 lines, the first %2").arg(second.count()).arg(first.count()));
    for (const QString& f : r.faults)
        io.out << "  " << f << "\n";
    return r.faults.isEmpty();
}

} // namespace

int Lint(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {}, {});
    if (!o.error.isEmpty() || o.positional.isEmpty() || o.positional.size() > 2)
        return io.err << "lexifol-index: " << (o.error.isEmpty() ? QStringLiteral("lint needs DATA_FOLDER [NAME]") : o.error) << "\n", 2;
    const QString data = o.positional[0];
    if (!QFileInfo(data).isDir())
        return io.err << "lexifol-index: " << data << " is no folder\n", 2;
    // DictionaryPaths work from the program folder, the parent of Data.
    const QString programFolder = QFileInfo(data).absoluteDir().absolutePath() + u'/';
    const QString dataName = QFileInfo(data).fileName();
    if (dataName != QLatin1StringView("Data"))
        return io.err << "lexifol-index: " << data << " must be a program folder's Data folder\n", 2;
    const QStringList names = o.positional.size() == 2 ? QStringList{o.positional[1]} : DiscoverDictionaries(data);
    bool clean = true;
    for (const QString& name : names)
        clean = LintOne(programFolder, name, io) && clean;
    return clean ? 0 : 1;
}

} // namespace lexifol::cli
