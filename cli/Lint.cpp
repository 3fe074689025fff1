// lexifol-index lint: what would go wrong with each installed dictionary.
#include "Commands.h"

#include "djvu/Document.h"
#include "djvu/PageFiles.h"
#include "index/IndexOps.h"
#include "index/IndexTools.h"
#include "base/TextCheck.h"
#include "index/Lookup.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"
#include "library/Catalogue.h"
#include "library/Dictionary.h"
#include "library/Locations.h"
#include "library/PageIndexMaker.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <memory>

namespace lexifol::cli {

namespace {

// The encoding the reader takes the file in, and why; a fault where lines
// would be lost or garbled.
QString EncodingOf(const QString& path, QString* fault)
{
    const Result<QByteArray> bytes = ReadFileBytes(path, kIndexCap);
    if (!bytes)
        return QStringLiteral("unreadable");
    const TextVerdict v = CheckText(bytes.value());
    if (!v.ok())
        *fault = DescribeBadText(v);
    return v.encoding + QStringLiteral(" (") + v.why + u')';
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

// Every page's header, or with `deep` every page's image, decodes: a
// document cut short or damaged shows here rather than on a reader's screen.
void LintDocumentPages(const djvu::Document& doc, bool deep, Report& r)
{
    int bad = 0, badText = 0;
    QString first, firstText;
    for (int i = 0; i < doc.pageCount(); ++i) {
        const Status s = deep ? doc.decodePage(i) : Status(doc.pageSize(i) ? Status() : Status::failure(QString()));
        if (!s && bad++ == 0)
            first = QString::number(i + 1);
        // A text layer the reader fails on (one nested to crash it, say).
        if (deep && !doc.pagePlainText(i) && badText++ == 0)
            firstText = QString::number(i + 1);
    }
    if (badText > 0)
        r.add(QStringLiteral("document %1: the text of %2 of %3 pages cannot be read (the first: page %4)")
                  .arg(QFileInfo(doc.path()).fileName())
                  .arg(badText)
                  .arg(doc.pageCount())
                  .arg(firstText));
    if (bad > 0)
        r.add(QStringLiteral("document %1: %2 of %3 pages cannot be decoded (the first: page %4)%5")
                  .arg(QFileInfo(doc.path()).fileName())
                  .arg(bad)
                  .arg(doc.pageCount())
                  .arg(first)
                  .arg(deep ? QString() : QStringLiteral("; --deep decodes every page's image")));
}

// What the descriptor says about reading the index.
struct Declared {
    bool deep = false; // decode every page's image
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
            r.add(QStringLiteral("line %1: page %2 comes after page %3 in a page index")
                      .arg(i + 1)
                      .arg(parts[0], previous));
            ++reported;
        }
        previous = parts[0];
    }
}

// What the document says of a page reference; empty when it is a page.
QString PageFault(const QString& ref, const djvu::Document* doc)
{
    const QString r = ref.trimmed();
    const bool digits = !r.isEmpty() && std::all_of(r.begin(), r.end(), [](QChar c) { return c.isDigit(); });
    const bool signedNumber = r.size() > 1 && (r[0] == u'-' || r[0] == u'+')
        && std::all_of(r.begin() + 1, r.end(), [](QChar c) { return c.isDigit(); });
    const bool zero = digits && std::all_of(r.begin(), r.end(), [](QChar c) { return c == u'0'; });
    if (signedNumber || zero)
        return QStringLiteral("page %1 is no page: pages count from 1").arg(r);
    if (!doc)
        return QString();
    if (doc->pageOf(r) >= 0)
        return QString();
    if (digits)
        return QStringLiteral("page %1 is past the last page (%2)").arg(r).arg(doc->pageCount());
    return QStringLiteral("page \"%1\" is not a page number nor a page's name in the document").arg(r);
}

void LintReferences(const IndexList& first, const DictionaryPaths& paths, const Declared& how, Report& r)
{
    const bool wholeFile = how.wholeFile;
    std::unique_ptr<djvu::Document> doc;
    if (wholeFile) {
        auto opened = djvu::Document::open(djvu::WholeDocumentPath(paths.folder(), paths.name));
        if (opened)
            doc = std::move(opened.value());
        else
            r.add(QStringLiteral("document %1.djvu cannot be read: %2").arg(paths.name, opened.error()));
    }
    int reported = 0;
    for (int i = 0; i < first.count() && reported < 20; ++i) {
        const QStringList parts = SplitValue(first.value(i));
        if (parts.size() >= 2 && !parts[1].isEmpty() && !HasHeadword(first, parts[1], *how.collation)) {
            r.add(QStringLiteral("line %1: cross-reference to \"%2\", which is no headword").arg(i + 1).arg(parts[1]));
            ++reported;
        }
        if (parts.isEmpty() || (parts.size() >= 2 && parts[0].isEmpty() && !parts[1].isEmpty())) {
            if (parts.isEmpty()) {
                r.add(QStringLiteral("line %1: no page reference").arg(i + 1));
                ++reported;
            }
            continue;
        }
        QString fault;
        if (wholeFile)
            fault = PageFault(parts[0], doc.get());
        else if (parts[0] != QLatin1StringView("Annotation")
                 && !QFileInfo::exists(djvu::PageSourceFor(paths.folder(), paths.name, false, parts[0]).document))
            fault = QStringLiteral("page file %1.djvu does not exist").arg(parts[0]);
        if (!fault.isEmpty()) {
            r.add(QStringLiteral("line %1: %2").arg(i + 1).arg(fault));
            ++reported;
        }
    }
    if (doc)
        LintDocumentPages(*doc, how.deep, r);
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
        r.add(QStringLiteral("descriptor: page_index=%1 is not yes: the index is read as one entry per headword")
                  .arg(*d.pageIndex));
    const DeclaredCollation declared = ResolveCollation(d.collation, paths.descriptor());
    if (!declared.unknown.isEmpty())
        r.add(QStringLiteral("descriptor: collation=%1 is no locale ICU knows").arg(d.collation->trimmed()));
    if (declared.collation)
        how.collation = declared.collation;
    how.wholeFile = WholeFileValue(d.wholeFile) == QLatin1StringView("yes");
    how.pageIndex = PageIndexValue(d.pageIndex);
    return how;
}

void LintSecond(const IndexList& first, const DictionaryPaths& paths, Report& r)
{
    IndexList second;
    if (!QFileInfo::exists(paths.secondIndex()) || !ReadIndexFile(paths.secondIndex(), second))
        return;
    if (second.count() != first.count())
        r.add(QStringLiteral("second index has %1 lines, the first %2").arg(second.count()).arg(first.count()));
    const QList<int> errors = FindOrderErrors(second, true);
    if (!errors.isEmpty())
        r.add(QStringLiteral("second index: %1 pairs out of order, first %2")
                  .arg(errors.size())
                  .arg(OrderErrorLine(errors.first())));
}

bool LintOne(const QString& programFolder, const QString& name, bool deep, Streams& io)
{
    // A second index built for a dictionary the user cannot write lies in
    // the user's data folder, where the viewer reads it.
    const DictionaryPaths paths{programFolder, name, XdgFolders::FromEnvironment().data};
    IndexList first;
    Report r;
    if (const Status s = ReadIndexFile(paths.firstIndex(), first); !s) {
        io.out << name << ": " << s.error() << "\n";
        return false;
    }
    QString textFault;
    io.out << name << ": " << first.count() << " entries, " << EncodingOf(paths.firstIndex(), &textFault) << "\n";
    if (!textFault.isEmpty())
        r.add(QStringLiteral("index text: %1").arg(textFault));
    if (first.isEmpty())
        r.add(QStringLiteral("the index holds no entries"));
    Declared how = LintDescriptor(paths, r);
    how.deep = deep;
    const QList<int> errors = FindOrderErrors(first, false, *how.collation);
    if (!errors.isEmpty())
        r.add(QStringLiteral("%1 pairs out of order (collation %2)").arg(errors.size()).arg(how.collation->locale()));
    for (int k : errors.mid(0, 10))
        r.add(OrderErrorLine(k));
    if (how.pageIndex)
        LintPageOrder(first, r);
    LintReferences(first, paths, how, r);
    LintSecond(first, paths, r);
    // A page index made from the text layer: the pages nobody has looked at yet.
    if (const QString review = ReviewFilePath(paths.folder(), name); QFileInfo(review).isFile()) {
        const Result<QByteArray> bytes = ReadFileBytes(review, kSmallFileCap);
        if (const int n = bytes ? ReviewCount(bytes.value()) : 0; n > 0)
            r.add(QStringLiteral("%1 pages in doubt to review (%2.review.tsv)").arg(n).arg(name));
    }
    for (const QString& f : r.faults)
        io.out << "  " << f << "\n";
    return r.faults.isEmpty();
}

} // namespace

int Lint(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {}, {QStringLiteral("--deep")});
    if (!o.error.isEmpty() || o.positional.isEmpty() || o.positional.size() > 2)
        return io.err << "lexifol-index: "
                      << (o.error.isEmpty() ? QStringLiteral("lint needs DATA_FOLDER [NAME]") : o.error) << "\n",
               2;
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
        clean = LintOne(programFolder, name, o.flags.contains(QStringLiteral("--deep")), io) && clean;
    return clean ? 0 : 1;
}

} // namespace lexifol::cli
