// Keyboard commands: the rules they rest on, the key table against a
// recording window, and the application-wide key handling on a real window.
#include "Fixture.h"
#include "common/RecordingInput.h"

#include "app/KeyCommands.h"
#include "config/ConfigurationDialog.h"
#include "index/Lookup.h"
#include "library/Catalogue.h"
#include "library/Profile.h"
#include <QLineEdit>
#include <QKeyEvent>
#include <QApplication>
#include "app/TextSearchPane.h"
#include "app/StatusLine.h"
#include "library/KeyboardLayout.h"

#include <QListView>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

using namespace lexifol;

namespace {

// A window as the key table sees it: conditions to set, actions recorded.
struct TableTarget : KeyCommandTarget {
    bool extra = false, single = false, list = false, box = false, back = false, forward = false, bookmarks = false,
         findable = false, findFails = false;
    int catalogue = 2;
    QStringList log;
    bool extraPageOnView() const override { return extra; }
    bool singleFileOnView() const override { return single; }
    bool listHasFocus() const override { return list; }
    bool searchBoxHasFocus() const override { return box; }
    int catalogueSize() const override { return catalogue; }
    bool backVisible() const override { return back; }
    bool forwardVisible() const override { return forward; }
    bool bookmarksPageActive() const override { return bookmarks; }
    bool findAvailable() const override { return findable; }
    void selectNeighbourDictionary(bool up) override { log << (up ? "dict up" : "dict down"); }
    void stepPage(bool f) override { log << (f ? "page next" : "page previous"); }
    void refocusSearchBox() override { log << "refocus"; }
    void activateShortcut(int d) override { log << QStringLiteral("shortcut %1").arg(d); }
    void lineScroll(bool up) override { log << (up ? "line up" : "line down"); }
    void wheelPage(bool up) override { log << (up ? "wheel up" : "wheel down"); }
    void historyStep(bool back) override { log << (back ? "back" : "forward"); }
    void clearBookmarks() override { log << "clear"; }
    void pageJump(bool up) override { log << (up ? "jump up" : "jump down"); }
    bool find(bool close) override
    {
        log << (close ? "find" : "find again");
        return !findFails;
    }
};

QStringList pages(std::initializer_list<const char*> refs)
{
    QStringList lines;
    int i = 0;
    for (const char* r : refs)
        lines << QStringLiteral("w%1\t%2").arg(i++).arg(QLatin1String(r));
    return lines;
}

// Shows the window with its platform input recorded and the focus in the
// search box; null when the window did not show.
RecordingInput* shownWithRecorder(MainWindow& w)
{
    auto* io = new RecordingInput;
    w.state().input.reset(io);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return nullptr;
    Ui(w).searchBox->setFocus();
    return io;
}

} // namespace

class TestKeys : public QObject
{
    Q_OBJECT
private slots:
    void neighbourDictionary_data()
    {
        // clang-format off
        QTest::addColumn<QString>("marks");   // one character an entry: x checked
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("steps");
        QTest::newRow("over an unchecked one") << "x.o.." << 2 << true << 0 << 2;
        QTest::newRow("nothing checked above") << "..o.." << 2 << true << -1 << 0;
        QTest::newRow("down to the next checked") << "..o.x" << 2 << false << 4 << 2;
        QTest::newRow("no wrap-around at the end") << "x...o" << 4 << false << -1 << 0;
        QTest::newRow("first, up") << "oxxxx" << 0 << true << -1 << 0;
        // clang-format on
    }
    void neighbourDictionary()
    {
        QFETCH(QString, marks);
        QFETCH(int, selected);
        QFETCH(bool, up);
        QList<bool> checked;
        for (QChar c : marks)
            checked << (c == u'x');
        const auto step = FindCheckedNeighbour(checked, selected, up);
        QTEST(step ? step->target : -1, "target");
        QTEST(step ? step->steps : 0, "steps");
    }

    void pageSteps_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("failed");
        const QStringList five = pages({"5", "5", "6", "6", "6", "7"});
        QTest::newRow("back to the last of page 5") << five << 3 << false << 1 << "5" << false;
        QTest::newRow("on to the first of page 7") << five << 3 << true << 5 << "7" << false;
        QTest::newRow("one page only") << pages({"5", "5"}) << 1 << false << -1 << "" << false;
        QTest::newRow("12 is not 012") << pages({"12", "012"}) << 0 << true << 1 << "012" << false;
        QTest::newRow("last row") << five << 5 << true << -1 << "" << false;
        QTest::newRow("an entry without a part") << (QStringList{"a\t5", "b\t ", "c\t6"}) << 0 << true << -1 << ""
                                                 << true;
        // clang-format on
    }
    void pageSteps()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, selected);
        QFETCH(bool, forward);
        IndexList list;
        list.setLines(lines);
        const PageStep step = StepPage(list, selected, forward);
        QTEST(step.row, "row");
        QTEST(step.page, "page");
        QTEST(step.failed, "failed");
    }

    void table_data()
    {
        // clang-format off
        QTest::addColumn<int>("vk");
        QTest::addColumn<QString>("mods");    // c, s, a
        QTest::addColumn<QString>("state");   // conditions that hold
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("consumed");
        QTest::newRow("Ctrl+Shift+Up switches too") << 38 << "cs" << "" << "dict up" << true;
        QTest::newRow("Ctrl+Page Down") << 34 << "c" << "" << "page next" << true;
        QTest::newRow("Insert") << 45 << "" << "" << "refocus" << true;
        QTest::newRow("Shift+Insert passes") << 45 << "s" << "" << "" << false;
        QTest::newRow("Ctrl+7") << 55 << "c" << "" << "shortcut 7" << true;
        QTest::newRow("Ctrl+7, empty catalogue") << 55 << "c" << "empty" << "" << true;
        QTest::newRow("Up in the search box") << 38 << "" << "box" << "line up" << true;
        QTest::newRow("Up in a list passes") << 38 << "" << "list" << "" << false;
        QTest::newRow("Down over the intro passes") << 40 << "" << "extra" << "" << false;
        QTest::newRow("Page Up, whole file") << 33 << "" << "list" << "wheel up" << true;
        QTest::newRow("Page Down, page file passes") << 34 << "" << "single" << "" << false;
        QTest::newRow("Ctrl+Left, Back hidden") << 37 << "c" << "" << "" << true;
        QTest::newRow("Ctrl+Left") << 37 << "c" << "back" << "back" << true;
        QTest::newRow("Ctrl+Delete elsewhere passes") << 46 << "c" << "" << "" << false;
        QTest::newRow("Ctrl+Delete on bookmarks") << 46 << "ca" << "bookmarks" << "clear" << true;
        QTest::newRow("End in the search box passes") << 35 << "" << "box" << "" << false;
        QTest::newRow("Home") << 36 << "" << "" << "jump up" << true;
        QTest::newRow("Alt+Home passes") << 36 << "a" << "" << "" << false;
        QTest::newRow("F3, nothing to find") << 114 << "" << "" << "" << true;
        QTest::newRow("F3") << 114 << "" << "findable" << "find again" << true;
        QTest::newRow("F3 that fails passes") << 114 << "" << "findable fails" << "find again" << false;
        QTest::newRow("F2 passes on") << 113 << "" << "findable" << "find" << false;
        QTest::newRow("F2, nothing to find") << 113 << "" << "" << "" << false;
        // clang-format on
    }
    void table()
    {
        QFETCH(int, vk);
        QFETCH(QString, mods);
        QFETCH(QString, state);
        TableTarget t;
        t.box = state.contains("box");
        t.list = state.contains("list");
        t.extra = state.contains("extra");
        t.single = state.contains("single");
        t.back = state.contains("back");
        t.bookmarks = state.contains("bookmarks");
        t.findable = state.contains("findable");
        t.findFails = state.contains("fails");
        t.catalogue = state.contains("empty") ? 0 : 2;
        const CommandKey key{vk, mods.contains('c'), mods.contains('s'), mods.contains('a')};
        QTEST(HandleCommandKey(t, key), "consumed");
        QTEST(t.log.join(u','), "action");
    }

    void keypadDigitsAreNoShortcuts()
    {
        const QKeyEvent keypad(QEvent::KeyPress, Qt::Key_3, Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(CommandKeyOf(&keypad).vk, 0);
        const QKeyEvent main(QEvent::KeyPress, Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(CommandKeyOf(&main).vk, 51);
    }

    void keysOnTheWindow()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t1", "pear\t2"});
        fx.addDictionary("B", {"apple\t7", "plum\t8"});
        Fixture::writeBytes(fx.cwd + "diclist.dat", "A\t1\r\nB\t1\r\n");
        Fixture::writeBytes(fx.prog + "Lexifol.ini", "[Shortcuts]\r\n2=b\r\n");
        auto w = fx.start();
        RecordingInput* io = shownWithRecorder(*w);
        QVERIFY(io);
        QTest::keyClicks(Ui(*w).searchBox, "apple");
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_Return);

        // Up in the search box scrolls the page; in the index list it moves the selection.
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_Up);
        QCOMPARE(io->log.join(u'|'), QStringLiteral("wheel 30"));
        Ui(*w).indexList->setFocus();
        QTest::keyClick(Ui(*w).indexList, Qt::Key_Down);
        QCOMPARE(io->log.size(), 1);
        QCOMPARE(w->actions().selectedIndexRow(), 1);

        // Ctrl+Down opens the next checked dictionary and shows the word there.
        Ui(*w).searchBox->setFocus();
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(w->state().dictionary.name, QStringLiteral("B"));
        QVERIFY(fx.pageFile().contains(" Page=7>"));

        // Ctrl+2 is bound to "b": the open dictionary is opened again.
        Ui(*w).searchBox->setText(QString());
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(w->state().dictionary.name, QStringLiteral("B"));
        QCOMPARE(Ui(*w).catalogueList->currentRow(), 1);

        // With the Configuration dialog open the keys reach the dialog.
        ConfigurationDialog dialog({"A", "B"}, w->state().settings.get());
        w->dialogs().setConfigurationDialog(&dialog);
        dialog.show();
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(w->state().dictionary.name, QStringLiteral("B"));
        dialog.hide();
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(w->state().dictionary.name, QStringLiteral("A"));
        w->dialogs().setConfigurationDialog(nullptr);
    }

    // The dictionary's keyboard layout at start: the status bar, "Current
    // keyboard layout", and the keys typed into every field where words go.
    void keyboardLayout_data()
    {
        // clang-format off
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("active");
        QTest::addColumn<QString>("typed");   // the physical Q key typed into the search box
        QTest::addColumn<QString>("shown");   // the layout in the status bar
        QTest::addColumn<QString>("mode");    // [Keyboard] Mode
        // No XKB groups here, as on Wayland: Lexifol maps the keys.
        QTest::newRow("eight digits") << "00000419" << QByteArray("00000419") << QStringLiteral("йЙ") << "RU" << "";
        QTest::newRow("too short") << "409" << QByteArray("00000407") << "qQ" << "" << "";
        // Read for the dictionary opened at start too.
        QTest::newRow("mapping off") << "00000419" << QByteArray("00000407") << "qQ" << "" << "off";
        // clang-format on
    }
    void keyboardLayout()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, active);
        LoadKeyboardLayout("00000407");
        Fixture fx;
        fx.addDictionary("K", {"k\t1"}, "[main]\nkeyboard_layout=" + value + "\n");
        QFETCH(QString, mode);
        if (!mode.isEmpty())
            Fixture::writeBytes(fx.prog + "Lexifol.ini", "[Keyboard]\r\nMode=" + mode.toUtf8() + "\r\n");
        auto w = fx.start();
        QCOMPARE(ActiveKeyboardLayoutName(), active);
        Ui(*w).keyboardLayoutAction->trigger();
        QCOMPARE(fx.messages.size(), 1);
        QCOMPARE(fx.messages[0].text, QString::fromLatin1(active));
        QCOMPARE(fx.messages[0].caption, QString("Current keyboard layout:"));
        QCOMPARE(fx.messages[0].icon, MsgIcon::Information);
        QTEST(Ui(*w).status->keyboard(), "shown");
        Ui(*w).searchBox->clear();
        // Q as the window system sends it: XKB keycode 24, then with Shift.
        QKeyEvent q(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, 24, 'q', 0, "q");
        QKeyEvent shiftQ(QEvent::KeyPress, Qt::Key_Q, Qt::ShiftModifier, 24, 'Q', 0x1, "Q");
        // The same in every field where words are typed.
        for (QLineEdit* field : {static_cast<QLineEdit*>(Ui(*w).searchBox), Ui(*w).textSearch->field()}) {
            field->clear();
            QApplication::sendEvent(field, &q);
            QApplication::sendEvent(field, &shiftQ);
            QTEST(field->text(), "typed");
        }
    }

    void homeEndAndPageKeysInTheSearchBox()
    {
        Fixture fx;
        fx.addDictionary("P", {"apple\t1", "pear\t2"}, "[main]\r\nwhole_file=no\r\n");
        auto w = fx.start();
        RecordingInput* io = shownWithRecorder(*w);
        QVERIFY(io);
        QTest::keyClicks(Ui(*w).searchBox, "pear");
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_Home);
        QCOMPARE(Ui(*w).searchBox->cursorPosition(), 0);
        QVERIFY(io->log.isEmpty());
        // A page file on view: Page Down reaches the box, which scrolls the page.
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_Return);
        QVERIFY(w->state().singleFileOnView);
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_PageDown);
        QVERIFY(io->log.join(u'|').endsWith(QStringLiteral("post 5 115 3 0")));
        // F2 with an empty search box does nothing and passes the key on.
        Ui(*w).searchBox->clear();
        io->log.clear();
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_F2);
        QVERIFY(io->log.isEmpty());
    }
};

QTEST_MAIN(TestKeys)
#include "test_keys.moc"
