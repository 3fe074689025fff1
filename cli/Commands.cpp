#include "Commands.h"

#include "index/AtomicFile.h"
#include "index/CodePage.h"
#include "index/IndexOps.h"
#include "index/IndexTools.h"
#include "index/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
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

bool Load(const QString& path, IndexList& list, Streams& io)
{
    const Status s = ReadIndexFile(path, list);
    if (!s)
        io.err << "lexifol-index: " << s.error() << "\n";
    return s.ok();
}

int Usage(Streams& io, const QString& what)
{
    io.err << "lexifol-index: " << what << "\n";
    return 2;
}

QByteArray EncodeLines(const IndexList& list, const std::vector<int>& order, const QString& encoding)
{
    QByteArray out;
    if (encoding == QLatin1StringView("utf16")) {
        out.append("\xFF\xFE", 2);
        for (int i : order) {
            const QString line = list.line(i).toString() + QStringLiteral("\r\n");
            out.append(reinterpret_cast<const char*>(line.utf16()), line.size() * 2);
        }
        return out;
    }
    if (encoding == QLatin1StringView("utf8"))
        out.append("\xEF\xBB\xBF");
    for (int i : order) {
        const QStringView line = list.line(i);
        out += encoding == QLatin1StringView("utf8") ? line.toUtf8() : Ansi().encode(line.toString());
        out += "\r\n";
    }
    return out;
}

} // namespace

int Check(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {}, {QStringLiteral("--second")});
    if (!o.error.isEmpty() || o.positional.size() != 1)
        return Usage(io, o.error.isEmpty() ? QStringLiteral("check needs one FILE") : o.error);
    IndexList list;
    if (!Load(o.positional.first(), list, io))
        return 2;
    const QList<int> errors = FindOrderErrors(list, o.flags.contains(QStringLiteral("--second")));
    for (int k : errors)
        io.out << OrderErrorLine(k) << "\n";
    io.err << o.positional.first() << ": " << list.count() << " lines, " << errors.size()
           << (errors.size() == 1 ? " pair" : " pairs") << " out of order\n";
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
    std::vector<int> order(size_t(list.count()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return coll.compare(list.headword(a), list.headword(b)) < 0; });
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
    const Result<QByteArray> ruleBytes = ReadFileBytes(o.values.value(QStringLiteral("--rules")));
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
