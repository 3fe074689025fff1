// Load time, memory and search latency of the index layer on a generated
// dictionary of a million entries.
//
//   bench_index [entries]
#include "base/CodePage.h"
#include "index/IndexOps.h"
#include "base/TextFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <sys/wait.h>
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

// Peak resident size since the last ResetPeak (Linux: VmHWM, reset through
// clear_refs); -1 when the system cannot tell.
long PeakResidentBytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long kb = -1;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> kb;
            return kb * 1024;
        }
    }
    return -1;
}

void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
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

// The least any loader must do: read the file into one buffer and find its
// line ends (LF bytes, or LF units of UTF-16LE). No conversion, no second
// buffer: what the loader does beyond it is its own cost.
double FloorOnce(const QString& path, bool utf16)
{
    const auto t0 = Clock::now();
    const QByteArray bytes = ReadFileBytes(path, kIndexCap).value();
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    qsizetype lines = 0;
    for (const char* at; (at = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))); p = at + 1)
        lines += !utf16 || ((at - bytes.constData()) % 2 == 0 && at + 1 < end && at[1] == 0);
    const double s = Seconds(t0, Clock::now());
    if (lines == 0)
        std::puts("no lines?");
    return s;
}

LoadRow TimeLoad(const QString& path, bool utf16)
{
    std::vector<double> floors, loads;
    for (int round = 0; round < 7; ++round) {
        floors.push_back(FloorOnce(path, utf16));
        IndexList list;
        const auto t0 = Clock::now();
        if (!LoadFirstIndex(path, list).ok())
            qFatal("cannot load %s", qPrintable(path));
        loads.push_back(Seconds(t0, Clock::now()));
    }
    return {Median(floors), Median(loads)};
}

// Writes the two first indexes, the second index and the rules into `dir`,
// and the search keys into keys.txt.
void Generate(const QString& dir, int entries)
{
    const IndexCollation& coll = IndexCollation::Default();
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
    std::sort(lines.begin(), lines.end(), [&](const QString& a, const QString& b) { return coll.compare(a, b) < 0; });
    Write(dir + "/utf16.list", Utf16File(lines));
    QByteArray ansi;
    for (const QString& l : lines)
        ansi += Ansi().encode(l) + "\r\n";
    Write(dir + "/ansi.list", ansi);

    const QByteArray rules = "\xC3\xA9=e\r\n\xC3\xA8=e\r\n\xC3\xAA=e\r\n\xC3\xA0=a\r\n\xC3\xA7=c\r\n"
                             "\xC3\xBC=u\r\n\xC3\xB6=o\r\n\xC3\xA4=a\r\n\xC3\xB1=n\r\n\xC3\x9F=ss\r\n-=\r\n";
    Write(dir + "/replacelist.dat", rules);
    ReplacementList list;
    list.setBytes(rules);
    QStringList second;
    second.reserve(entries);
    for (const QString& l : lines)
        second << NormaliseHeadword(QStringView(l).left(l.indexOf(u'\t')), list);
    Write(dir + "/secondindex.list", Utf16File(second));

    QStringList keys;
    for (int i = 0; i < 20000; ++i) {
        const QString& l = lines[int(rng.bounded(entries))];
        const QString h = l.left(l.indexOf(u'\t'));
        switch (i % 4) {
        case 0:
            keys << h;
            break; // a whole headword
        case 1:
            keys << h.toUpper();
            break; // typed in capitals
        case 2:
            keys << h.left(1 + int(rng.bounded(h.size())));
            break; // partly typed
        default:
            keys << Headword(rng);
            break; // not in the index
        }
    }
    Write(dir + "/keys.txt", Utf16File(keys));
    std::printf("generated %d entries in %.1f s\n", entries, Seconds(t0, Clock::now()));
}

void Row(const char* what, double value, double goal, const char* unit, bool ok)
{
    std::printf("%-40s %9.3f %-2s %9.3f %-2s %6.2fx  %s\n", what, value, unit, goal, unit, value / goal,
                ok ? "ok" : "MISSED");
}

// Runs in a process of its own, so that its heap is that of a program that
// has just started: big buffers come fresh from the kernel (cold). With
// `warm`, freed memory is kept and reused, which takes page faults out of
// both the floor and the load.
void Measure(const QString& dir, bool warm)
{
    // Fixed thresholds: glibc would otherwise adapt them after the first
    // free and turn later rounds warm by chance.
    mallopt(M_MMAP_THRESHOLD, warm ? 1 << 30 : 1 << 20);
    mallopt(M_TRIM_THRESHOLD, warm ? 1 << 30 : 1 << 20);
    const IndexCollation& coll = IndexCollation::Default();
    const QString utf16Path = dir + "/utf16.list", ansiPath = dir + "/ansi.list";
    for (bool utf16 : {true, false}) {
        const LoadRow r = TimeLoad(utf16 ? utf16Path : ansiPath, utf16);
        char what[64];
        std::snprintf(what, sizeof what, "load %s, %s (ms vs floor)", utf16 ? "UTF-16LE" : "8-bit",
                      warm ? "warm" : "cold");
        Row(what, r.load * 1e3, r.floor * 1e3, "ms", r.load <= 1.5 * r.floor);
    }
    if (warm)
        return;

    IndexList first;
    for (bool utf16 : {true, false}) {
        first.clear();
        malloc_trim(0);
        const long before = ResidentBytes();
        ResetPeak();
        if (!LoadFirstIndex(utf16 ? utf16Path : ansiPath, first).ok())
            qFatal("cannot load %s", qPrintable(utf16 ? utf16Path : ansiPath));
        const long peak = PeakResidentBytes();
        malloc_trim(0);
        const long after = ResidentBytes();
        if (peak > 0)
            Row(utf16 ? "load peak / loaded, UTF-16" : "load peak / loaded, 8-bit",
                double(peak - before) / double(after - before), 1.5, "x",
                double(peak - before) <= 1.5 * double(after - before));
        qsizetype units = 0;
        for (int i = 0; i < first.count(); ++i)
            units += first.line(i).size();
        const double n = first.count();
        const double perEntry = double(after - before) / n;
        const double goal = (1.2 * double(units) * 2 + 4.0 * n) / n;
        Row(utf16 ? "RSS per entry, UTF-16 (B vs goal)" : "RSS per entry, 8-bit (B vs goal)", perEntry, goal, "B",
            perEntry <= goal);
        std::printf("%-40s UTF-16 text %.1f B + offsets 4 B; memoryBytes %.1f B\n", "", double(units) * 2 / n,
                    double(first.memoryBytes()) / n);
    }

    IndexList keyList;
    if (!LoadFirstIndex(dir + "/keys.txt", keyList).ok())
        qFatal("cannot load %s/keys.txt", qPrintable(dir));
    std::vector<QString> keys;
    for (int i = 0; i < keyList.count(); ++i)
        keys.push_back(keyList.line(i).toString());

    std::vector<double> times;
    long sink = 0;
    for (const QString& k : keys) {
        const auto t0 = Clock::now();
        sink += FindPosition(first, k, coll);
        times.push_back(Seconds(t0, Clock::now()) * 1e6);
    }
    Row("FindPosition median (us vs goal)", Median(times), 5.0, "us", Median(times) < 5.0);
    std::printf("%-40s %9.3f us\n", "FindPosition p99", Percentile(times, 0.99));

    IndexList second;
    ReplacementList rules;
    if (const Status s = LoadSecondIndex(dir + "/secondindex.list", second, first); !s)
        std::printf("%s\n", qPrintable(s.error()));
    LoadReplacementList(dir + "/replacelist.dat", rules);
    if (second.count() != first.count())
        std::puts("second index not loaded");
    times.clear();
    for (const QString& k : keys) {
        const auto t0 = Clock::now();
        sink += FindPosition(second, NormaliseHeadword(k, rules), coll);
        times.push_back(Seconds(t0, Clock::now()) * 1e6);
    }
    Row("Normalise+FindPosition median (us)", Median(times), 5.0, "us", Median(times) < 5.0);
    std::printf("%-40s %9.3f us\n", "Normalise+FindPosition p99", Percentile(times, 0.99));
    std::printf("%-40s %ld\n", "(checksum)", sink);
}

} // namespace

int main(int argc, char** argv)
{
    SetAnsiLocale(QStringLiteral("en_US"));
    IndexCollation::SetDefaultLocale(QStringLiteral("en_US"));
    if (argc == 4 && std::strcmp(argv[1], "--measure") == 0) {
        Measure(QString::fromLocal8Bit(argv[2]), std::strcmp(argv[3], "warm") == 0);
        return 0;
    }
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
    QTemporaryDir dir;
    Generate(dir.path(), entries);
    std::printf("\n%-40s %12s %12s %7s\n", "measure", "value", "floor/goal", "ratio");
    std::fflush(stdout);
    for (const char* mode : {"cold", "warm"}) {
        const QByteArray path = dir.path().toLocal8Bit();
        const pid_t child = fork();
        if (child == 0) {
            char* args[] = {argv[0], const_cast<char*>("--measure"), const_cast<char*>(path.constData()),
                            const_cast<char*>(mode), nullptr};
            execv("/proc/self/exe", args);
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
    }
    return 0;
}
