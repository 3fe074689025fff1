// The automation actions as sequences of platform operations, recorded.
#include "pageview/Automation.h"
#include "common/RecordingInput.h"

#include <QtTest>
#include <stdexcept>

using namespace lexifol;

namespace {

const QPoint kPoint(400, 250);

FindRequest findRequest(RecordingInput& r, bool closeFirst)
{
    return FindRequest{kPoint, [&r] { return r.text; }, closeFirst};
}

const char* const kFindSteps =
    "clipboard word word|getLanguage|language 00000409|getCursor|hideCursor|setCursor 400,250|getCursor|"
    "windowAt 7,8|post 5 100 46 1|process|language 00000419|foreground|title 9|";
const char* const kTyping = "down 11|down 56|up 56|up 11|setWindowPos 9 0,0 95|down d|up d|";
const char* const kRestore = "setCursor 7,8|showCursor";

} // namespace

class TestAutomation : public QObject
{
    Q_OBJECT
private slots:
    void scrolling_data()
    {
        // clang-format off
        QTest::addColumn<int>("action");   // 0 line, 1 wheel page, 2 jump, 3 search box page
        QTest::addColumn<bool>("up");
        QTest::addColumn<bool>("browserMouse");
        QTest::addColumn<bool>("cursorReadable");
        QTest::addColumn<QString>("ops");
        const QString at = QStringLiteral("setCursor 400,250|getCursor|windowAt 7,8|");
        QTest::newRow("Up, wheel") << 0 << true << false << true << "wheel 30";
        QTest::newRow("Down, wheel") << 0 << false << false << true << "wheel -30";
        QTest::newRow("Up, scroll request") << 0 << true << true << true << "getCursor|" + at + "post 5 115 0 0";
        QTest::newRow("Down, cursor unreadable") << 0 << false << true << false << "getCursor";
        QTest::newRow("Page Up") << 1 << true << false << true << "wheel 355";
        QTest::newRow("Page Down") << 1 << false << true << true << "wheel -355";
        QTest::newRow("Home") << 2 << true << false << true << "getCursor|" + at + "post 5 115 2 0|post 5 115 2 0|post 5 115 2 0";
        QTest::newRow("End, cursor unreadable") << 2 << false << false << false << "getCursor";
        QTest::newRow("Page Down in the box") << 3 << false << false << false << at + "post 5 115 3 0";
        // clang-format on
    }
    void scrolling()
    {
        QFETCH(int, action);
        QFETCH(bool, up);
        QFETCH(bool, browserMouse);
        QFETCH(bool, cursorReadable);
        QFETCH(QString, ops);
        RecordingInput r;
        r.cursorReadable = cursorReadable;
        switch (action) {
        case 0:
            LineScroll(r, kPoint, browserMouse, up);
            break;
        case 1:
            WheelPage(r, up);
            break;
        case 2:
            PageJump(r, kPoint, up);
            break;
        default:
            SearchBoxPageScroll(r, kPoint, up);
            break;
        }
        // The search box scroll moves the cursor without reading it first.
        if (action == 3 && !cursorReadable)
            ops.replace(QStringLiteral("getCursor|windowAt 7,8"), QStringLiteral("getCursor|windowAt 400,250"));
        QCOMPARE(r.log.join(u'|'), ops);
    }

    void findCommand_data()
    {
        // clang-format off
        QTest::addColumn<bool>("closeFirst");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("cursorReadable");
        QTest::addColumn<QString>("failAt");
        QTest::addColumn<QString>("ops");
        QTest::addColumn<bool>("ok");
        const QString close = QStringLiteral("findWindow Find|destroy 3|");
        const QString all = QString::fromLatin1(kFindSteps) + kTyping + kRestore;
        QTest::newRow("button") << true << "Find" << true << "" << close + all << true;
        QTest::newRow("F3 keeps the dialog") << false << "Find" << true << "" << all << true;
        QTest::newRow("another title") << true << "Suchen" << true << ""
                                        << close + kFindSteps + kRestore << true;
        QTest::newRow("cursor unreadable") << true << "Find" << false << ""
                                            << close + "clipboard word word|getLanguage|language 00000409|getCursor" << true;
        QTest::newRow("failure before hiding") << true << "Find" << true << "clipboard"
                                                << close + "clipboard word word|showCursor" << false;
        QTest::newRow("failure after hiding") << true << "Find" << true << "process"
                                               << close + QString::fromLatin1(kFindSteps).section(u'|', 0, 9) + "|showCursor" << false;
        // clang-format on
    }
    void findCommand()
    {
        QFETCH(bool, closeFirst);
        QFETCH(QString, ops);
        RecordingInput r;
        QFETCH(QString, title);
        r.frontTitle = title;
        QFETCH(bool, cursorReadable);
        QFETCH(QString, failAt);
        r.cursorReadable = cursorReadable;
        r.failAt = failAt;
        QTEST(FindCommand(r, findRequest(r, closeFirst)), "ok");
        QCOMPARE(r.log.join(u'|'), ops);
    }

    void findWithEmptyText()
    {
        RecordingInput r;
        r.text.clear();
        QVERIFY(FindCommand(r, findRequest(r, true)));
        QVERIFY(r.log.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAutomation)
#include "test_automation.moc"
