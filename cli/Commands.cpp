#include "Commands.h"

#include "index/OrderStream.h"
#include "index/AtomicFile.h"
#include "index/CodePage.h"
#include "index/IndexOps.h"
#include "index/IndexTools.h"
#include "index/TextCheck.h"
#include "index/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
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

QByteArray EncodeLines(const IndexList& list, const std::vector<int>& order, const QString& encoding)
{
    // One text of all lines, converted once.
    QString text;
    text.reserve(qsizetype(list.memoryBytes() / 2) + qsizetype(order.size()) * 2);
    for (int i : order) {
        text += list.line(i);
        text += QLatin1StringView("\r\n");
    }
    if (encoding == QLatin1StringView("utf16")) {
        QByteArray out("\xFF\xFE", 2);
        AppendUtf16Le(out, text);
        return out;
    }
    if (encoding == QLatin1StringView("utf8"))
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    return Ansi().encode(text);
}

// Sort keys of entries [from, to) into one buffer, with their offsets.
struct KeyBlock {
    QByteArray keys;
    std::vector<qsizetype> at;
    bool ok = true;
};

KeyBlock MakeKeys(const IndexList& list, const IndexCollation& coll, int from, int to)
{
    KeyBlock b;
    b.at.reserve(size_t(to - from));
    for (int i = from; i < to && b.ok; ++i) {
        b.at.push_back(b.keys.size());
        b.ok = coll.appendSortKey(list.headword(i), b.keys);
    }
    return b;
}

// Entry positions ordered by headword, stable. Each entry's sort key is made
// once, so a comparison is a byte comparison; keys are made and halves
// sorted on two threads, then merged.
std::vector<int> SortedOrder(const IndexList& list, const IndexCollation& coll)
{
    const int n = list.count(), half = n / 2;
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    const IndexCollation other(coll.locale());   // a collator is used by one thread at a time
    KeyBlock upper;
    std::thread worker([&] { upper = MakeKeys(list, other, half, n); });
    const KeyBlock lower = MakeKeys(list, coll, 0, half);
    worker.join();
    if (!lower.ok || !upper.ok) {
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return coll.compare(list.headword(a), list.headword(b)) < 0; });
        return order;
    }
    auto key = [&](int i) {
        return i < half ? lower.keys.constData() + lower.at[size_t(i)] : upper.keys.constData() + upper.at[size_t(i - half)];
    };
    auto less = [&](int a, int b) { return std::strcmp(key(a), key(b)) < 0; };
    std::thread sorter([&] { std::stable_sort(order.begin() + half, order.end(), less); });
    std::stable_sort(order.begin(), order.begin() + half, less);
    sorter.join();
    std::inplace_merge(order.begin(), order.begin() + half, order.end(), less);
    return order;
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
            io.out << QStringLiteral("Equal: items on lines %1 and %2 compare equal (\"%3\", \"%4\"); no order puts them apart")
                          .arg(e.k).arg(e.k + 1).arg(e.before, e.after)
                   << "\n";
    io.err << path << ": " << scan->lines << " lines, " << errors.size()
           << (errors.size() == 1 ? " pair" : " pairs") << " out of order";
    if (!strict && !scan->equal.isEmpty())
        io.err << ", " << scan->equal.size() << (scan->equal.size() == 1 ? " pair" : " pairs") << " equal";
    io.err << "\n";
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
    const std::vector<int> order = SortedOrder(list, coll);
    for (size_t i = 1; i < order.size(); ++i) {
        const QStringView p = list.headword(order[i - 1]), c = list.headword(order[i]);
        if (p != c && coll.compare(p, c) == 0)
            io.err << "lexifol-index: \"" << p.toString() << "\" and \"" << c.toString()
                   << "\" compare equal: no order puts them apart (output lines " << i << " and " << i + 1 << ")\n";
    }
    const QString target = o.values.value(QStringLiteral("-o"));
    if (const Status s = WriteFileAtomically(target, EncodeLines(list, order, encoding)); !s)
        return Usage(io, QStringLiteral("cannot write %1: %2").arg(target, s.error()));
    return 0;
}

int BuildSecond(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {QStringLiteral("--rules")}, {});
    if (!o.error.isEmpty() || o.positional.size() != 2 || !o.values.contains(QStringLiteral("--rules")))
        return Usage(io, o.error.isEmpty() ? QStringLiteral("build-second needs DATA_FOLDER NAME --rules RULES") : o.error);
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
        return Usage(io, QStringLiteral("Can not create second index: %1").arg(first.isEmpty() ? QStringLiteral("empty index") : folder + QStringLiteral(" is missing")));
    ReplacementList list;
    list.setLines(rules.encoded);
    if (const Status s = WriteSecondIndexFiles(folder, ReplacementFileBytes(rules.encoded), SecondIndexFileBytes(first, list)); !s)
        return Usage(io, s.error());
    io.err << name << ": second index of " << first.count() << " lines written\n";
    return 0;
}

} // namespace lexifol::cli
