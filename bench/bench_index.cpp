// Load time, memory and search latency of the index layer on a generated
// dictionary of a million entries.
//
//   bench_index [entries]
#include "index/CodePage.h"
#include "index/IndexOps.h"
#include "index/TextFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <unistd.h>
#include <vector>

using namespace lexifol;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

long ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray Utf16File(const QStringList& lines)
{
    QString text;
    for (const QString& l : lines)
        text += l + QStringLiteral("\r\n");
    QByteArray out("\xFF\xFE");
    out.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return out;
}

QString Headword(QRandomGenerator& rng)
{
    static const QString plain = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    static const QString accented = QStringLiteral("\u00e9\u00e8\u00ea\u00e0\u00e7\u00fc\u00f6\u00e4\u00f1\u00df");
    const int len = 5 + int(rng.bounded(21));
    QString w;
    w.reserve(len);
    for (int i = 0; i < len; ++i) {
        if (rng.bounded(20) == 0)
            w += accented[int(rng.bounded(accented.size()))];
        else if (i > 2 && rng.bounded(40) == 0)
            w += u'-';
        else
            w += plain[int(rng.bounded(plain.size()))];
    }
    if (rng.bounded(10) == 0)
        w[0] = w[0].toUpper();
    return w;
}

struct LoadRow {
    double floor = 0, load = 0;
};

LoadRow TimeLoad(const QString& path, bool utf16)
{
    std::vector<double> floors, loads;
    for (int round = 0; round < 7; ++round) {
        {
            const auto t0 = Clock::now();
            QByteArray bytes;
            ReadFileBytes(path, bytes);
            const QString text = utf16 ? QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                                            (bytes.size() - 2) / 2)
                                       : Ansi().decode(bytes);
            const auto t1 = Clock::now();
            floors.push_back(Seconds(t0, t1));
            if (text.isEmpty())
                std::puts("empty text?");
        }
        {
            IndexList list;
            const auto t0 = Clock::now();
            LoadFirstIndex(path, list);
            const auto t1 = Clock::now();
            loads.push_back(Seconds(t0, t1));
        }
    }
    return {Median(floors), Median(loads)};
}

} // namespace

int main(int argc, char** argv)
{
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
    SetAnsiLocale(QStringLiteral("en_US"));
    IndexCollation::SetDefaultLocale(QStringLiteral("en_US"));
    const IndexCollation& coll = IndexCollation::Default();
    QTemporaryDir dir;
    const QString utf16Path = dir.filePath("utf16.list"), ansiPath = dir.filePath("ansi.list");
    const QString secondPath = dir.filePath("secondindex.list"), rulesPath = dir.filePath("replacelist.dat");

    std::vector<QString> keys;   // headwords for the searches
    {
        const auto t0 = Clock::now();
        QRandomGenerator rng(2024);
        QStringList lines;
        lines.reserve(entries);
        for (int i = 0; i < entries; ++i) {
            QString line = Headword(rng) + u'\t' + QString::number(1 + rng.bounded(2400));
            if (rng.bounded(50) == 0)
                line += u'>' + Headword(rng);
            lines << line;
        }
        std::sort(lines.begin(), lines.end(),
                  [&](const QString& a, const QString& b) { return coll.compare(a, b) < 0; });
        Write(utf16Path, Utf16File(lines));
        QByteArray ansi;
        for (const QString& l : lines)
            ansi += Ansi().encode(l) + "\r\n";
        Write(ansiPath, ansi);

        const QByteArray rules = "\xC3\xA9=e\r\n\xC3\xA8=e\r\n\xC3\xAA=e\r\n\xC3\xA0=a\r\n\xC3\xA7=c\r\n"
                                 "\xC3\xBC=u\r\n\xC3\xB6=o\r\n\xC3\xA4=a\r\n\xC3\xB1=n\r\n\xC3\x9F=ss\r\n-=\r\n";
        Write(rulesPath, rules);
        ReplacementList list;
        list.setBytes(rules);
        QStringList second;
        second.reserve(entries);
        for (const QString& l : lines)
            second << NormaliseHeadword(QStringView(l).left(l.indexOf(u'\t')), list);
        Write(secondPath, Utf16File(second));
        for (int i = 0; i < 20000; ++i) {
            const QString& l = lines[int(rng.bounded(entries))];
            const QString h = l.left(l.indexOf(u'\t'));
            switch (i % 4) {
            case 0: keys.push_back(h); break;
            case 1: keys.push_back(h.toUpper()); break;
            case 2: keys.push_back(h.left(1 + int(rng.bounded(h.size())))); break;
            default: keys.push_back(Headword(rng)); break;
            }
        }
        std::printf("generated %d entries in %.1f s\n", entries, Seconds(t0, Clock::now()));
    }
    malloc_trim(0);

    std::printf("\n%-34s %12s %12s %8s %s\n", "measure", "value", "floor/goal", "ratio", "");
    auto row = [](const char* what, double value, double goal, const char* unit, bool ok) {
        std::printf("%-34s %9.3f %-2s %9.3f %-2s %7.2fx  %s\n", what, value, unit, goal, unit, value / goal,
                    ok ? "ok" : "MISSED");
    };

    for (bool utf16 : {true, false}) {
        const LoadRow r = TimeLoad(utf16 ? utf16Path : ansiPath, utf16);
        row(utf16 ? "load UTF-16LE (ms, vs floor)" : "load 8-bit (ms, vs floor)", r.load * 1e3, r.floor * 1e3, "ms",
            r.load <= 1.5 * r.floor);
    }

    IndexList first;
    for (bool utf16 : {true, false}) {
        first.clear();
        malloc_trim(0);
        const long before = ResidentBytes();
        LoadFirstIndex(utf16 ? utf16Path : ansiPath, first);
        malloc_trim(0);
        const long after = ResidentBytes();
        qsizetype units = 0;
        for (int i = 0; i < first.count(); ++i)
            units += first.line(i).size();
        const double perEntry = double(after - before) / first.count();
        const double goal = (1.2 * double(units) * 2 + 4.0 * first.count()) / first.count();
        row(utf16 ? "RSS/entry UTF-16 (B, vs goal)" : "RSS/entry 8-bit (B, vs goal)", perEntry, goal, "B",
            perEntry <= goal);
        std::printf("%-34s %9.1f B   (text %.1f B/entry, memoryBytes %.1f B/entry)\n", "", perEntry,
                    double(units) * 2 / first.count(), double(first.memoryBytes()) / first.count());
    }

    std::vector<double> times;
    times.reserve(keys.size());
    int sink = 0;
    for (const QString& k : keys) {
        const auto t0 = Clock::now();
        sink += FindPosition(first, k, coll);
        times.push_back(Seconds(t0, Clock::now()) * 1e6);
    }
    row("FindPosition median (us)", Median(times), 5.0, "us", Median(times) < 5.0);
    std::printf("%-34s %9.3f us\n", "FindPosition p99 (us)", Percentile(times, 0.99));

    IndexList second;
    ReplacementList rules;
    LoadSecondIndex(secondPath, second, first, true);
    LoadReplacementList(rulesPath, rules);
    if (second.count() != first.count())
        std::puts("second index not loaded");
    times.clear();
    for (const QString& k : keys) {
        const auto t0 = Clock::now();
        sink += FindPosition(second, NormaliseHeadword(k, rules), coll);
        times.push_back(Seconds(t0, Clock::now()) * 1e6);
    }
    row("Normalise+FindPosition median (us)", Median(times), 5.0, "us", Median(times) < 5.0);
    std::printf("%-34s %9.3f us\n", "Normalise+FindPosition p99 (us)", Percentile(times, 0.99));
    std::printf("(checksum %d)\n", sink);
    return 0;
}
