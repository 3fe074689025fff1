// A session replayed: an hour of use in sixty rounds, each a minute's worth
// of what a reader does (look-ups across the sample and five more
// dictionaries, reading on a few pages, a text search), with the resident
// memory after each round. Steady means flat after the tenth round.
//   bench_session [ROUNDS] [LOOKUPS_PER_ROUND]
// The program folder is the sample's (made with lexifol_mksample) plus five
// copies of its whole-document dictionary under other names.
#include "WindowProbe.h"
#include "Resident.h"
#include "app/Application.h"
#include "config/Messages.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

// A copy of a dictionary under another name: its own files, so that every
// cache holds it apart.
bool CopyDictionary(const QString& data, const QString& from, const QString& to)
{
    if (!QFile::copy(data + from + ".list", data + to + ".list"))
        return false;
    QDirIterator files(data + from + ".files", QDir::Files);
    QDir().mkpath(data + to + ".files");
    while (files.hasNext()) {
        files.next();
        QString name = files.fileName();
        name.replace(from, to);
        if (!QFile::copy(files.filePath(), data + to + ".files/" + name))
            return false;
    }
    return true;
}

QStringList Headwords(const QString& list)
{
    QFile f(list);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList out;
    for (const QString& line :
         QString::fromUtf16(reinterpret_cast<const char16_t*>(f.readAll().constData() + 2), (f.size() - 2) / 2)
             .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        out << line.section(u'\t', 0, 0);
    return out;
}

// Waits for the page view to settle after a command.
void Settle(int ms)
{
    QTest::qWait(ms);
}

} // namespace

int main(int argc, char** argv)
{
    lexifol::ReturnLargeBlocksWhenFreed(); // as the program does
    QApplication app(argc, argv);
    lexifol::SetMessageHandler(
        [](const lexifol::Message& m) { std::fprintf(stderr, "message: %s\n", qPrintable(m.text)); });
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 60;
    const int lookups = argc > 2 ? std::atoi(argv[2]) : 20;

    QTemporaryDir dir;
    const QString prog = dir.path() + QStringLiteral("/");
    if (QProcess::execute(QStringLiteral(LEXIFOL_MKSAMPLE), {prog}) != 0)
        qFatal("cannot make the sample folder");
    const QString data = prog + QStringLiteral("Data/");
    QByteArray order = "Sample\t1\r\nPages\t1\r\nFirst words\t1\r\n";
    for (int i = 1; i <= 5; ++i) {
        const QString name = QStringLiteral("Copy%1").arg(i);
        if (!CopyDictionary(data, QStringLiteral("Sample"), name))
            qFatal("cannot copy the sample dictionary");
        order += name.toUtf8() + "\t1\r\n";
    }
    QFile catalogue(prog + QStringLiteral("diclist.dat"));
    if (!catalogue.open(QIODevice::WriteOnly) || catalogue.write(order) != order.size())
        qFatal("cannot write the catalogue");
    catalogue.close();
    const QStringList words = Headwords(data + QStringLiteral("Sample.list"));
    if (words.isEmpty())
        qFatal("no headwords in the sample");
    QDir::setCurrent(prog);

    const double before = ResidentMb();
    MainWindow w(prog);
    w.resize(1000, 750);
    w.show();
    Settle(200);
    std::printf("resident at start %.0f MB (%.0f MB before the window)\n", ResidentMb(), before);
    std::printf("%6s %10s %12s\n", "minute", "resident", "look-ups");
    const lexifol::MainControls ui = Ui(w);
    int done = 0;
    for (int round = 1; round <= rounds; ++round) {
        for (int k = 0; k < lookups; ++k, ++done) {
            // Another dictionary now and then, as Ctrl+Down does.
            if (k % 7 == 0)
                QTest::keyClick(ui.searchBox, Qt::Key_Down, Qt::ControlModifier);
            ui.searchBox->setText(words.at((done * 7919) % words.size()));
            QTest::keyClick(ui.searchBox, Qt::Key_Return);
            Settle(30);
            // Reading on: the next pages of the dictionary.
            if (k % 4 == 0)
                for (int p = 0; p < 3; ++p) {
                    QTest::keyClick(ui.searchBox, Qt::Key_PageDown, Qt::ControlModifier);
                    Settle(20);
                }
        }
        if (ui.textSearch) {
            ui.textSearch->field()->setText(words.at((round * 104729) % words.size()));
            ui.textSearch->search();
            Settle(100);
        }
        std::printf("%6d %7.0f MB %12d\n", round, ResidentMb(), done);
        std::fflush(stdout);
    }
    std::printf("goal: under 200 MB, flat after the tenth minute\n");
    w.shutdown();
    return 0;
}
