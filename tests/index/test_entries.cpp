// History and bookmark list rules: trimming, stepping with the button
// states, deleting with reselection.
#include "index/EntryLists.h"

#include <QtTest>

using namespace lexifol;

class TestEntries : public QObject
{
    Q_OBJECT
private slots:
    void historyKeepsTheNewest21()
    {
        QStringList history;
        int newest = -1;
        for (int i = 0; i < 22; ++i)
            newest = AppendHistory(history, MakeEntry(QString::number(i), QStringLiteral("D")));
        QCOMPARE(history.size(), 21);
        QCOMPARE(newest, 20);
        QCOMPARE(history.first(), QStringLiteral("1\tD"));
        QCOMPARE(history.last(), QStringLiteral("21\tD"));
    }

    void historyTakesARepeatOnce_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("shown");   // "word/dictionary" in turn
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("the same twice in a row") << QStringList{"a/D", "a/D"} << QStringList{"a\tD"};
        QTest::newRow("in another dictionary") << QStringList{"a/D", "a/E"} << QStringList{"a\tD", "a\tE"};
        QTest::newRow("again later") << QStringList{"a/D", "b/D", "a/D"} << QStringList{"a\tD", "b\tD", "a\tD"};
        // clang-format on
    }
    void historyTakesARepeatOnce()
    {
        QFETCH(QStringList, shown);
        QFETCH(QStringList, kept);
        QStringList history;
        int newest = -1;
        for (const QString& s : shown)
            newest = AppendHistory(history, MakeEntry(s.section(u'/', 0, 0), s.section(u'/', 1)));
        QCOMPARE(history, kept);
        QCOMPARE(newest, int(kept.size()) - 1);
    }

    void steps_data()
    {
        // clang-format off
        QTest::addColumn<bool>("back");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("act");
        QTest::addColumn<int>("select");
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("backShown");
        QTest::addColumn<bool>("forwardShown");
        QTest::newRow("back, empty") << true << 0 << -1 << false << -1 << false << false << false;
        QTest::newRow("back from newest") << true << 3 << 2 << true << 1 << true << true << true;
        QTest::newRow("back to first") << true << 3 << 1 << true << 0 << true << false << true;
        QTest::newRow("back on first opens nothing") << true << 3 << 0 << true << 0 << false << false << true;
        QTest::newRow("back on only entry") << true << 1 << 0 << true << 0 << false << false << false;
        QTest::newRow("back, nothing selected") << true << 3 << -1 << true << -1 << false << false << true;
        QTest::newRow("forward, empty") << false << 0 << -1 << false << -1 << false << false << false;
        QTest::newRow("forward from first") << false << 3 << 0 << true << 1 << true << true << true;
        QTest::newRow("forward to newest") << false << 3 << 1 << true << 2 << true << true << false;
        QTest::newRow("forward on newest") << false << 3 << 2 << true << 2 << false << true << false;
        QTest::newRow("forward, nothing selected") << false << 3 << -1 << true << 2 << false << true << false;
        // clang-format on
    }
    void steps()
    {
        QFETCH(bool, back);
        QFETCH(int, count);
        QFETCH(int, selected);
        const HistoryStep s = back ? StepBack(count, selected) : StepForward(count, selected);
        QTEST(s.act, "act");
        if (!s.act)
            return;
        QTEST(s.select, "select");
        QTEST(s.open, "open");
        QTEST(s.buttons.back, "backShown");
        QTEST(s.buttons.forward, "forwardShown");
    }

    void deleting_data()
    {
        // clang-format off
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("next");
        QTest::addColumn<QString>("nowAtRow");
        QTest::newRow("middle keeps the position") << 3 << 1 << 1 << "2";
        QTest::newRow("last leaves no selection") << 3 << 2 << -1 << "";
        QTest::newRow("only one") << 1 << 0 << -1 << "";
        QTest::newRow("outside") << 2 << 5 << -1 << "";
        // clang-format on
    }
    void deleting()
    {
        QFETCH(int, count);
        QFETCH(int, row);
        QStringList list;
        for (int i = 0; i < count; ++i)
            list << QString::number(i);
        const int next = DeleteEntry(list, row);
        QTEST(next, "next");
        QTEST(next >= 0 ? list.at(next) : QString(), "nowAtRow");
        QCOMPARE(list.size(), row < count ? count - 1 : count);
    }
};

QTEST_GUILESS_MAIN(TestEntries)
#include "test_entries.moc"
