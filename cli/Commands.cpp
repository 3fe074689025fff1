#include "Commands.h"
#include "cli/Sorting.h"

#include "index/OrderStream.h"
#include "base/AtomicFile.h"
#include "base/CodePage.h"
#include "index/IndexOps.h"
#include "index/IndexTools.h"
#include "base/TextCheck.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>
#include <numeric>

namespace lexifol::cli {

Options ParseOptions(const QStringList& args, const QStringList& withValue, const QStringList& flags)
{
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(u'-') || a == QLatin1StringView("-")) {
            o.positional << a;
        } else if (withValue.contains(a)) {
            if (i + 1 >= args.size()) {
                o.error = a + QStringLiteral(" needs a value");
                return o;
            }
            o.values.insert(a, args[++i]);
        } else if (flags.contains(a)) {
            o.flags << a;
        } else {
            o.error = QStringLiteral("unknown option ") + a;
            return o;
        }
    }
    return o;
}

namespace {

// The tools take only text that comes through the reader whole: a line
// lost or garbled on the way would be written back short, with exit 0.
bool Load(const QString& path, IndexList& list, Streams& io)
{
    const Result<QByteArray> bytes = ReadFileBytes(path, kIndexCap);
    if (!bytes) {
        io.err << "lexifol-index: " << bytes.error() << "\n";
        return false;
    }
    if (const TextVerdict v = CheckText(bytes.value()); !v.ok()) {
        io.err << "lexifol-index: " << path << ": " << DescribeBadText(v) << " (" << v.encoding
               << "): refused, no line may be lost\n";
        return false;
    }
    DecodeLines(bytes.value(), list);
    return true;
}

// A progress line for big files, when someone watches the terminal.
void Progress(Streams& io, const IndexList& list, const char* what)
{
    if (io.progress && list.count() > 1000000) {
        io.err << what << " " << list.count() << " lines...\n";
        io.err.flush();
    }
}

int Usage(Streams& io, const QString& what)
{
    io.err << "lexifol-index: " << what << "\n";
    return 2;
}

// A file sorted by another tool breaks the order in many places the same
// way: GNU sort in most locales passes over blanks, hyphens and apostrophes.
// When the same language with them ignored accepts the file, that setting
// is named.
void HintAnotherOrder(const QString& path, bool wholeLine, long long errors, Streams& io)
{
    constexpr long long kManyPairs = 10;
    if (errors < kManyPairs)
        return;
    const QString locale = IndexCollation::Default().locale().section(u'@', 0, 0);
    const QString shifted = (locale.isEmpty() ? QStringLiteral("root") : locale)
        + QStringLiteral("@colAlternate=shifted");
    const IndexCollation* other = IndexCollation::ForLocale(shifted);
    if (!other)
        return;
    const Result<StreamedOrder> again = ScanOrderInFile(path, wholeLine, *other);
    if (!again || !again->outOfOrder.isEmpty())
        return;
    io.err
        << "lexifol-index: the file is in order when blanks, hyphens and apostrophes are ignored, as GNU sort orders: "
        << "give it --locale " << shifted << " (collation=" << shifted << " in the descriptor), "
        << "or reorder it with lexifol-index sort\n";
}

} // namespace

int Check(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {}, {QStringLiteral("--second"), QStringLiteral("--strict")});
    if (!o.error.isEmpty() || o.positional.size() != 1)
        return Usage(io, o.error.isEmpty() ? QStringLiteral("check needs one FILE") : o.error);
    const QString path = o.positional.first();
    const Result<StreamedOrder> scan = ScanOrderInFile(path, o.flags.contains(QStringLiteral("--second")));
    if (!scan) {
        io.err << "lexifol-index: " << path << ": " << scan.error() << "\n";
        return 2;
    }
    // --strict: equal pairs are errors too, as the Configuration dialog has it.
    const bool strict = o.flags.contains(QStringLiteral("--strict"));
    QList<long long> errors = scan->outOfOrder;
    if (strict) {
        for (const StreamedOrder::Equal& e : scan->equal)
            errors << e.k;
        std::sort(errors.begin(), errors.end());
    }
    for (long long k : errors)
        io.out << OrderErrorLine(int(k)) << "\n";
    if (!strict)
        for (const StreamedOrder::Equal& e : scan->equal)
            io.out << QStringLiteral(
                          "Equal: items on lines %1 and %2 compare equal (\"%3\", \"%4\"); no order puts them apart")
                          .arg(e.k)
                          .arg(e.k + 1)
                          .arg(e.before, e.after)
                   << "\n";
    io.err << path << ": " << scan->lines << " lines, " << errors.size() << (errors.size() == 1 ? " pair" : " pairs")
           << " out of order";
    if (!strict && !scan->equal.isEmpty())
        io.err << ", " << scan->equal.size() << (scan->equal.size() == 1 ? " pair" : " pairs") << " equal";
    io.err << "\n";
    HintAnotherOrder(path, o.flags.contains(QStringLiteral("--second")), scan->outOfOrder.size(), io);
    return errors.isEmpty() ? 0 : 1;
}

int Sort(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {QStringLiteral("-o"), QStringLiteral("--encoding")}, {});
    const QString encoding = o.values.value(QStringLiteral("--encoding"), QStringLiteral("utf16"));
    if (!o.error.isEmpty() || o.positional.size() != 1 || !o.values.contains(QStringLiteral("-o")))
        return Usage(io, o.error.isEmpty() ? QStringLiteral("sort needs FILE and -o OUT") : o.error);
    if (!QStringList{"utf16", "utf8", "ansi"}.contains(encoding))
        return Usage(io, QStringLiteral("unknown encoding ") + encoding);
    IndexList list;
    if (!Load(o.positional.first(), list, io))
        return 2;
    const IndexCollation& coll = IndexCollation::Default();
    Progress(io, list, "sorting");
    SortedIndex sorted = SortIndex(list, coll);
    for (int i : sorted.equalAt)
        io.err << "lexifol-index: \"" << list.headword(sorted.order[size_t(i - 1)]).toString() << "\" and \""
               << list.headword(sorted.order[size_t(i)]).toString()
               << "\" compare equal: no order puts them apart (output lines " << i << " and " << i + 1 << ")\n";
    const QString target = o.values.value(QStringLiteral("-o"));
    if (const Status s = WriteFileAtomically(target,
                                             [lines = std::make_shared<EncodedLines>(list, sorted.order, encoding)](
                                                 QByteArray& piece) { return lines->next(piece); });
        !s)
        return Usage(io, QStringLiteral("cannot write %1: %2").arg(target, s.error()));
    return 0;
}

int BuildSecond(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {QStringLiteral("--rules")}, {});
    if (!o.error.isEmpty() || o.positional.size() != 2 || !o.values.contains(QStringLiteral("--rules")))
        return Usage(io,
                     o.error.isEmpty() ? QStringLiteral("build-second needs DATA_FOLDER NAME --rules RULES") : o.error);
    const Result<QByteArray> ruleBytes = ReadFileBytes(o.values.value(QStringLiteral("--rules")), kListCap);
    if (!ruleBytes)
        return Usage(io, ruleBytes.error());
    // Rules as typed: UTF-16 or UTF-8 by their mark, else UTF-8.
    const QByteArray& raw = ruleBytes.value();
    const QString ruleText = DetectMark(raw).kind == TextMark::None ? QString::fromUtf8(raw) : DecodeText(raw);
    const RuleCheck rules = CheckRules(QString(ruleText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (rules.badLine >= 0)
        return Usage(io, QStringLiteral("Error (line %1)").arg(rules.badLine));
    if (rules.encoded.isEmpty())
        return Usage(io, QStringLiteral("Empty list"));
    const QDir data(o.positional[0]);
    const QString name = o.positional[1];
    IndexList first;
    if (!Load(data.filePath(name + QStringLiteral(".list")), first, io))
        return 2;
    const QString folder = data.filePath(name + QStringLiteral(".files"));
    if (!QFileInfo(folder).isDir() || first.isEmpty())
        return Usage(
            io,
            QStringLiteral("Can not create second index: %1")
                .arg(first.isEmpty() ? QStringLiteral("empty index") : folder + QStringLiteral(" is missing")));
    ReplacementList list;
    list.setLines(rules.encoded);
    if (const Status s = WriteSecondIndexFiles(folder, ReplacementFileBytes(rules.encoded),
                                               SecondIndexPieces(first, list));
        !s)
        return Usage(io, s.error());
    io.err << name << ": second index of " << first.count() << " lines written\n";
    return 0;
}

} // namespace lexifol::cli
