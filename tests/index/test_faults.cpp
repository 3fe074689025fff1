// Every step of the writers made to fail, or the process killed there: the
// files on disk are the old ones or the new ones, never a mix, and a
// failure is reported.
#include "common/TestFiles.h"
#include "base/AtomicFile.h"
#include "base/Faults.h"
#include "base/FilePair.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

using namespace lexifol;

namespace {

const QByteArray kOldA("old rules"), kOldB("old index"), kNewA("new rules!"), kNewB("new index!");

// The pair as it stands: 0 old, 1 new, -1 a mix or missing.
int PairState(const QString& folder)
{
    const QByteArray a = get(folder + "/a.dat"), b = get(folder + "/b.list");
    if (a == kOldA && b == kOldB)
        return 0;
    if (a == kNewA && b == kNewB)
        return 1;
    return -1;
}

// A hook that acts at the n-th step; `steps` counts the steps seen.
faults::Hook AtStep(int n, int* steps, bool crash)
{
    return [n, steps, crash](faults::Op) {
        if (++*steps != n)
            return false;
        if (crash)
            ::_exit(0);
        return true;
    };
}

} // namespace

class FaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { faults::SetHook({}); }
    void pairSurvivesACrashAtEveryStep();
    void pairSurvivesAFailureAtEveryStep();
    void singleFileFailsWhole();
};

void FaultsTest::pairSurvivesACrashAtEveryStep()
{
    int sawNew = 0;
    for (int n = 1;; ++n) {
        QTemporaryDir dir;
        put(dir.filePath("a.dat"), kOldA);
        put(dir.filePath("b.list"), kOldB);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            int steps = 0;
            faults::SetHook(AtStep(n, &steps, true));
            const bool ok = WriteFilePair(dir.path(), {"a.dat", kNewA}, {"b.list", kNewB}).ok();
            ::_exit(ok ? 3 : 4); // 3, 4: the n-th step never came
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        const bool finished = WIFEXITED(status) && WEXITSTATUS(status) == 3;
        // What the next opening does before it reads the pair.
        RecoverFilePair(dir.path(), "a.dat", "b.list");
        const int state = PairState(dir.path());
        QVERIFY2(state >= 0, qPrintable(QStringLiteral("killed at step %1: a mix").arg(n)));
        QVERIFY(!QFile::exists(dir.filePath(kPairMark)));
        sawNew += state;
        if (finished) {
            QCOMPARE(state, 1);
            QVERIFY2(n > 5, "the steps were counted");
            break;
        }
    }
    QVERIFY(sawNew >= 2); // a crash after the commit point keeps the new pair
}

void FaultsTest::pairSurvivesAFailureAtEveryStep()
{
    for (int n = 1;; ++n) {
        QTemporaryDir dir;
        put(dir.filePath("a.dat"), kOldA);
        put(dir.filePath("b.list"), kOldB);
        int steps = 0;
        faults::SetHook(AtStep(n, &steps, false));
        const Status s = WriteFilePair(dir.path(), {"a.dat", kNewA}, {"b.list", kNewB});
        faults::SetHook({});
        RecoverFilePair(dir.path(), "a.dat", "b.list");
        const int state = PairState(dir.path());
        QVERIFY2(state >= 0, qPrintable(QStringLiteral("failed at step %1: a mix").arg(n)));
        if (state == 0)
            QVERIFY2(!s.ok(),
                     qPrintable(QStringLiteral("step %1 failed, the old pair stayed, and success was said").arg(n)));
        if (steps < n)
            break;
    }
}

void FaultsTest::singleFileFailsWhole()
{
    for (int n = 1; n <= 3; ++n) {
        QTemporaryDir dir;
        const QString path = dir.filePath("Bookmarks.dat");
        put(path, "old");
        int steps = 0;
        faults::SetHook(AtStep(n, &steps, false));
        QVERIFY(!WriteFileAtomically(path, "new content"));
        faults::SetHook({});
        QCOMPARE(get(path), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Bookmarks.dat"});
    }
}

QTEST_GUILESS_MAIN(FaultsTest)
#include "test_faults.moc"
