// Typing in the search box, Enter, double-click and the replay after an
// opening, on a real main window over a temporary program folder.
#include "Fixture.h"

#include "app/ListModels.h"
#include "app/StatusLine.h"
#include "pageview/PageView.h"

#include <QAccessible>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>

using namespace lexifol;

namespace {

// The page reference the page view file asks for, or the page file it names.
QString shownPage(const Fixture& fx)
{
    const QString html = fx.pageFile();
    const QRegularExpression page(QStringLiteral(" Page=([^>]*)>"));
    const auto m = page.match(html);
    if (m.hasMatch())
        return m.captured(1);
    const QRegularExpression file(QStringLiteral("SRC=\"[^\"]*/([^/\"]*)\\.djvu\""));
    const auto f = file.match(html);
    return f.hasMatch() ? QStringLiteral("file:") + f.captured(1) : QString();
}

QString rowText(const MainWindow& w, int row)
{
    return Ui(w).indexList->model()->index(row, 0).data().toString();
}

} // namespace

class TestLookup : public QObject
{
    Q_OBJECT
private slots:
    void typingSelectsNearest_data()
    {
        // clang-format off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("row");
        QTest::newRow("a") << "a" << 0;
        QTest::newRow("ap") << "ap" << 1;
        QTest::newRow("apr") << "apr" << 3;
        QTest::newRow("case ignored") << "APP" << 1;
        QTest::newRow("whole headword") << "apple" << 1;
        QTest::newRow("between") << "applf" << 3;
        QTest::newRow("past the end") << "b" << -1;
        QTest::newRow("leading blank kept") << " apple" << 0;
        // clang-format on
    }
    void typingSelectsNearest()
    {
        QFETCH(QString, typed);
        QFETCH(int, row);
        Fixture fx;
        fx.addDictionary("D", {"abbey\t1", "apple\t2", "apple\t3", "apricot\t4"});
        auto w = fx.start();
        QTest::keyClicks(Ui(*w).searchBox, typed);
        QCOMPARE(w->actions().selectedIndexRow(), row);
        // A pause in typing has the selected entry's page drawn ahead,
        // which writes nothing and shows nothing.
        QCOMPARE(w->findChild<QTimer*>("prepareTimer")->isActive(), row >= 0);
        QTRY_VERIFY(!w->findChild<QTimer*>("prepareTimer")->isActive());
        QVERIFY(!QFile::exists(fx.prog + "temp.htm")); // typing shows no page
        QVERIFY(fx.messages.isEmpty());
    }

    void deletingTextKeepsSelection()
    {
        Fixture fx;
        fx.addDictionary("D", {"abbey\t1", "apple\t2", "apricot\t4"});
        auto w = fx.start();
        QTest::keyClicks(Ui(*w).searchBox, "apr");
        QCOMPARE(w->actions().selectedIndexRow(), 2);
        Ui(*w).searchBox->selectAll();
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_Backspace);
        QCOMPARE(Ui(*w).searchBox->text(), QString());
        QCOMPARE(w->actions().selectedIndexRow(), 2);
    }

    void enterAndDoubleClick()
    {
        Fixture fx;
        fx.addDictionary("D", {"abbey\t17", "apple\t17>apricot", "apricot\t23", "avenue\t\"a b\">apricot"});
        auto w = fx.start();
        QTest::keyClicks(Ui(*w).searchBox, "abbey");
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_Return);
        QCOMPARE(shownPage(fx), QString("17"));

        // The cross-reference is followed once, and selects its target.
        Ui(*w).searchBox->clear();
        QTest::keyClicks(Ui(*w).searchBox, "apple");
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_Return);
        QCOMPARE(w->actions().selectedIndexRow(), 2);
        QCOMPARE(shownPage(fx), QString("23"));
        QCOMPARE(Ui(*w).searchBox->text(), QString("apple"));

        // A double-click shows the entry's own page.
        w->actions().selectIndexRow(1);
        emit Ui(*w).indexList->doubleClicked(Ui(*w).indexList->currentIndex());
        QCOMPARE(shownPage(fx), QString("17"));
        QCOMPARE(w->actions().selectedIndexRow(), 1);

        // A quoted page reference with a blank.
        w->actions().selectIndexRow(3);
        w->actions().showSelectedEntry();
        QCOMPARE(w->actions().selectedIndexRow(), 2);
        QCOMPARE(shownPage(fx), QString("23"));
        QVERIFY(fx.messages.isEmpty());
    }

    // A word double-clicked on the page: into the search box, then as Enter.
    void wordFromThePage_data()
    {
        // clang-format off
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("page");
        QTest::newRow("a headword") << "banana" << "banana" << "4";
        QTest::newRow("a cross-reference followed") << "colour" << "color" << "3";
        QTest::newRow("not a headword: the nearest") << "bandit" << "color" << "3";
        // clang-format on
    }
    void wordFromThePage()
    {
        QFETCH(QString, word);
        Fixture fx;
        fx.addDictionary("D", {"apple\t2", "banana\t4", "color\t3", "colour\t9>color"});
        auto w = fx.start();
        emit Ui(*w).pageView->lookUpRequested(word);
        QCOMPARE(Ui(*w).searchBox->text(), word);
        QTEST(rowText(*w, SelectedRow(Ui(*w).indexList)), "selected");
        QTEST(shownPage(fx), "page");
        QCOMPARE(w->state().history.size(), 1);
    }

    void crossReferenceTargetWithCrossReferenceIsNotFollowedAgain()
    {
        Fixture fx;
        fx.addDictionary("D", {"color\t4>colour", "colour\t5>color"});
        auto w = fx.start();
        w->actions().selectIndexRow(1);
        w->actions().showSelectedEntry();
        QCOMPARE(shownPage(fx), QString("4"));
    }

    void enterWithEmptySearchShowsSelectedRow()
    {
        Fixture fx;
        fx.addDictionary("D", {"abbey\t11", "apple\t12"});
        auto w = fx.start();
        QCOMPARE(w->actions().selectedIndexRow(), 0);
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_Return);
        QCOMPARE(shownPage(fx), QString("11"));
        QVERIFY(!w->state().singleFileOnView);
        QVERIFY(!w->state().extraPageOnView);
    }

    void pastTheEndShowsNothing()
    {
        Fixture fx;
        fx.addDictionary("D", {"abbey\t11", "apple\t12"});
        auto w = fx.start();
        QTest::keyClicks(Ui(*w).searchBox, "zebra");
        QCOMPARE(w->actions().selectedIndexRow(), -1);
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_Return);
        QVERIFY(!QFile::exists(fx.prog + "temp.htm"));
        QVERIFY(fx.messages.isEmpty());
        QVERIFY2(Ui(*w).status->message().startsWith("not found"), qPrintable(Ui(*w).status->message()));
    }

    void valueWithoutPartIsReported_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("row");
        QTest::newRow("empty value") << QStringList{"abbey\t", "apple\t2"} << 0;
        QTest::newRow("blanks only") << QStringList{"abbey\t   ", "apple\t2"} << 0;
        QTest::newRow("target without part") << QStringList{"abbey\t3>apple", "apple\t "} << 0;
        QTest::newRow("target past the end") << QStringList{"abbey\t3>zulu", "apple\t4"} << 0;
        // clang-format on
    }
    void valueWithoutPartIsReported()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, row);
        Fixture fx;
        fx.addDictionary("D", lines);
        auto w = fx.start();
        w->actions().selectIndexRow(row);
        w->actions().showSelectedEntry();
        QCOMPARE(fx.messageTexts(), QStringList{"List index out of bounds (0)"});
        QCOMPARE(fx.messages[0].caption, QString("Lexifol 3.1"));
        QCOMPARE(fx.messages[0].icon, MsgIcon::Error);
        QVERIFY(!QFile::exists(fx.prog + "temp.htm"));
    }

    void emptyHeadwordShowsError()
    {
        Fixture fx;
        fx.addDictionary("D", {"\t1", "word", "apple\t2"});
        auto w = fx.start();
        QCOMPARE(rowText(*w, 0), QString("error"));
        QCOMPARE(rowText(*w, 1), QString("error"));
        QCOMPARE(rowText(*w, 2), QString("apple"));
    }

    void clickInSearchBoxLooksUpAgain()
    {
        Fixture fx;
        fx.addDictionary("D", {"abbey\t1", "apple\t2", "apricot\t3"});
        auto w = fx.start();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClicks(Ui(*w).searchBox, "apr");
        w->actions().selectIndexRow(0);
        // The user goes to the bookmarks, then back to the search box.
        Ui(*w).listTabs->setCurrentWidget(Ui(*w).bookmarkTab);
        Ui(*w).bookmarkList->setFocus();
        QVERIFY(!Ui(*w).searchBox->hasFocus());
        QTest::mouseClick(Ui(*w).searchBox, Qt::LeftButton);
        QCOMPARE(w->actions().selectedIndexRow(), 2);
        QCOMPARE(Ui(*w).searchBox->selectedText(), QString("apr"));
        QCOMPARE(Ui(*w).listTabs->currentWidget(), Ui(*w).indexTab);
    }

    void secondIndex_data()
    {
        // clang-format off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("row");
        QTest::newRow("plain") << "cafe" << 1;
        QTest::newRow("accented") << QString::fromUtf8("café") << 1;
        QTest::newRow("deleted letters only") << "h" << 0;
        QTest::newRow("prefix") << "ca" << 1;
        // clang-format on
    }
    void secondIndex()
    {
        QFETCH(QString, typed);
        QFETCH(int, row);
        Fixture fx;
        fx.addDictionary("D", {"abbey\t1", QString::fromUtf8("café\t2"), "cage\t3"});
        Fixture::writeBytes(fx.folder("D") + "secondindex.list", Fixture::utf16({"abbey", "cafe", "cage"}));
        Fixture::writeBytes(fx.folder("D") + "replacelist.dat", QString::fromUtf8("é=e\r\nh=\r\n").toUtf8());
        auto w = fx.start();
        QCOMPARE(w->state().dictionary.second.count(), 3);
        Ui(*w).searchBox->setText(typed);
        QCOMPARE(w->actions().selectedIndexRow(), row);
        QCOMPARE(rowText(*w, 1), QString::fromUtf8("café"));
    }

    void replayAfterOpeningAnotherDictionary()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t1", "berry\t2"});
        fx.addDictionary("B", {"banana\t7", "berry\t8", "cherry\t9"}, "[main]\nwhole_file=no\n");
        auto w = fx.start();
        QTest::keyClicks(Ui(*w).searchBox, "berr");
        QCOMPARE(w->actions().selectedIndexRow(), 1);
        Ui(*w).catalogueList->setCurrentRow(1);
        w->actions().openDictionary();
        QCOMPARE(w->state().dictionary.name, QString("B"));
        QCOMPARE(w->actions().selectedIndexRow(), 1);
        QCOMPARE(shownPage(fx), QString("file:8"));
        QVERIFY(w->state().singleFileOnView);

        // With SkipSearchReplay set no page is shown, and the flag is cleared.
        QFile::remove(fx.prog + "temp.htm");
        w->state().skipSearchReplay = true;
        Ui(*w).catalogueList->setCurrentRow(0);
        w->actions().openDictionary();
        QCOMPARE(w->state().dictionary.name, QString("A"));
        QCOMPARE(w->actions().selectedIndexRow(), 0);
        QVERIFY(!QFile::exists(fx.prog + "temp.htm"));
        QVERIFY(!w->state().skipSearchReplay);
    }

    void normalisationPreview()
    {
        Fixture fx;
        fx.addDictionary("D", {"abbey\t1"});
        Fixture::writeBytes(fx.folder("D") + "replacelist.dat", QByteArray("-=\r\nx=ks\r\n"));
        auto w = fx.start();
        Ui(*w).searchBox->setText("ex-ex");
        QCOMPARE(Ui(*w).normalisedLabel->text(), QString());
        emit Ui(*w).previewButton->clicked();
        QCOMPARE(Ui(*w).normalisedLabel->text(), QString("ekseks"));
    }

    void indexListIsAnAccessibleList()
    {
        Fixture fx;
        fx.addDictionary("D", {"abbey\t1", "apple\t2", "\t3", "apricot\t4"});
        auto w = fx.start();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        Ui(*w).searchBox->setText("apr");
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(Ui(*w).indexList);
        QVERIFY(list);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Index"));
        QCOMPARE(list->childCount(), 4);
        QCOMPARE(list->child(2)->text(QAccessible::Name), QStringLiteral("error"));
        QAccessibleInterface* row = list->child(3);
        QCOMPARE(row->text(QAccessible::Name), QStringLiteral("apricot"));
        QVERIFY(row->state().selected);
        QVERIFY(!list->child(0)->state().selected);
    }

    void largeIndexListAsksOnlyForDrawnRows()
    {
        Fixture fx;
        QStringList lines;
        for (int i = 0; i < 200000; ++i)
            lines << QStringLiteral("w%1\t%2").arg(i, 7, 10, QLatin1Char('0')).arg(i);
        fx.addDictionary("D", lines);
        auto w = fx.start();
        QCOMPARE(w->actions().indexRowCount(), 200000);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::keyClicks(Ui(*w).searchBox, "w0150000");
        QCOMPARE(w->actions().selectedIndexRow(), 150000);
        Ui(*w).indexList->viewport()->repaint();
        const auto* model = static_cast<const IndexListModel*>(Ui(*w).indexList->model());
        // Drawn rows only: a screenful per keystroke, not the index.
        QVERIFY2(model->textsFetched() > 0 && model->textsFetched() < 5000,
                 qPrintable(QString::number(model->textsFetched())));
        QCOMPARE(rowText(*w, 150000), QString("w0150000"));
    }
};

QTEST_MAIN(TestLookup)
#include "test_lookup.moc"
