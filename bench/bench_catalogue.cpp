// A request from outside naming a dictionary, with 1,003 installed: the
// time the window's thread spends deciding which one it is (or that none
// is), for a name, a title and an unknown name.
//   bench_catalogue [DICTIONARIES] [ROUNDS]
#include "library/Catalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace lexifol;

namespace {

bool write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1003;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 50;
    QTemporaryDir root;
    const QString prog = root.path() + "/";
    QDir().mkpath(prog + "Data");
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("Dictionary %1").arg(i);
        QDir().mkpath(prog + "Data/" + name + ".files");
        if (!write(prog + "Data/" + name + ".list", "w\t1\r\n")
            || !write(prog + "Data/" + name + ".files/" + name + ".ini",
                      QStringLiteral("[main]\r\nname=Title of dictionary %1\r\ncollation=en\r\n").arg(i).toUtf8()))
            return 1;
    }
    Catalogue c;
    c.load({prog}, QString());
    // Read away from the window at start and after a miss.
    TitleReader reader;
    QElapsedTimer read;
    read.start();
    c.setTitles(reader.read(c.titleSources(prog)));
    const double first = read.nsecsElapsed() / 1e6;
    read.restart();
    c.setTitles(reader.read(c.titleSources(prog)));
    std::printf("titles read off the window's thread: first %.1f ms, again %.1f ms\n", first,
                read.nsecsElapsed() / 1e6);
    const struct {
        const char* what;
        QString asked;
    } rows[] = {{"a name", QStringLiteral("Dictionary %1").arg(count / 2)},
                {"a title", QStringLiteral("title of dictionary %1").arg(count - 1)},
                {"an unknown name", QStringLiteral("Nowhere")}};
    std::printf("%d dictionaries, %d rounds; ms on the window's thread per request\n", count, rounds);
    for (const auto& row : rows) {
        std::vector<double> ms;
        int found = -2;
        for (int r = 0; r < rounds; ++r) {
            QElapsedTimer t;
            t.start();
            found = c.findByNameOrTitle(row.asked);
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        std::printf("  %-16s median %8.3f  worst %8.3f  (row %d)\n", row.what, median(ms),
                    *std::max_element(ms.begin(), ms.end()), found);
    }
    return 0;
}
