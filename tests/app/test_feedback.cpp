// What the window tells a reader: the status bar, an empty index, a long
// title, Undo after clearing the bookmarks, and typing that reaches the
// search box from anywhere.
#include "Fixture.h"
#include "app/StatusLine.h"
#include "app/WindowExtras.h"
#include "index/Bookmarks.h"
#include "pageview/PageView.h"

#include <QApplication>
#include <QListView>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

class TestFeedback : public QObject
{
    Q_OBJECT
private slots:
    void emptyIndexIsSaidAndThePreviousPageGoes()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t1"});
        fx.addDictionary("B", {});
        auto w = fx.start();
        Ui(*w).pageView->ShowNotice("page of A");
        Ui(*w).catalogueList->setCurrentRow(1);
        w->actions().openDictionary();
        QCOMPARE(w->state().dictionary.name, QString("B"));
        QCOMPARE(Ui(*w).pageView->errorText(), QString("The index of B holds no entries."));
        QCOMPARE(Ui(*w).status->message(), QString("The index of B holds no entries."));
    }

    void longTitleShowsItsBeginning()
    {
        Fixture fx;
        const QString title = QStringLiteral("PostgreSQL 15 SQL commands, with every clause and option explained");
        fx.addDictionary("A", {"apple\t1"}, "[main]\r\nname=" + title + "\r\n");
        auto w = fx.start();
        QCOMPARE(Ui(*w).titleBox->text(), title);
        QCOMPARE(Ui(*w).titleBox->cursorPosition(), 0);
        QCOMPARE(Ui(*w).titleBox->toolTip(), title);
    }

    void notFoundPastTheLastHeadword_data()
    {
        // clang-format off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("said");
        QTest::newRow("past the last") << "zzz" << true;
        QTest::newRow("inside") << "b" << false;
        // clang-format on
    }
    void notFoundPastTheLastHeadword()
    {
        QFETCH(QString, typed);
        QFETCH(bool, said);
        Fixture fx;
        fx.addDictionary("A", {"apple\t1", "cherry\t2"});
        auto w = fx.start();
        Ui(*w).searchBox->setText(typed);
        QCOMPARE(Ui(*w).status->message().startsWith("not found"), said);
    }

    void clearedBookmarksComeBack()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t1", "cherry\t2"});
        auto w = fx.start();
        w->actions().addBookmark();
        w->actions().selectIndexRow(1);
        w->actions().addBookmark();
        const QStringList before = w->state().bookmarks.entries();
        QCOMPARE(before.size(), 2);
        w->actions().clearBookmarks();
        QVERIFY(w->state().bookmarks.isEmpty());
        QCOMPARE(Fixture::readBytes(fx.cwd + "Bookmarks.dat"), lexifol::BookmarkFileBytes({}));
        QVERIFY(Ui(*w).status->undo());
        QCOMPARE(w->state().bookmarks.entries(), before);
        QCOMPARE(Fixture::readBytes(fx.cwd + "Bookmarks.dat"), lexifol::BookmarkFileBytes(before));
        QVERIFY(!Ui(*w).status->undo()); // once
    }

    // A dictionary copied into Data by hand appears without a restart; the
    // order, marks and selection so far stay.
    void copiedDictionaryAppears()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t1"});
        Fixture::writeBytes(fx.cwd + "diclist.dat", "A\t1\r\n");
        auto w = fx.start();
        QCOMPARE(Ui(*w).catalogueList->count(), 1);
        fx.addDictionary("B", {"bread\t2"});
        QTRY_COMPARE_WITH_TIMEOUT(Ui(*w).catalogueList->count(), 2, 5000);
        QCOMPARE(w->state().catalogue.names(), (QStringList{"A", "B"}));
        QVERIFY(w->state().catalogue.checked(0));
        QCOMPARE(Ui(*w).catalogueList->currentRow(), 0);
        QVERIFY(QFile::remove(fx.prog + "Data/B.list"));
        QTRY_COMPARE_WITH_TIMEOUT(Ui(*w).catalogueList->count(), 1, 5000);
    }

    // Added from the window: at the end of the catalogue, checked, at once;
    // a broken one or a name taken said in plain words, nothing copied.
    void addedFromTheWindow()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t1"});
        auto w = fx.start();
        QTemporaryDir src;
        QDir().mkpath(src.filePath("B.files"));
        Fixture::writeBytes(src.filePath("B.list"), "bread\t1\r\n");
        Fixture::writeBytes(src.filePath("B.files/1.djvu"), "AT&TFORM");
        QVERIFY(w->extras().addDictionary({src.path()})); // copied behind the window
        QTRY_COMPARE_WITH_TIMEOUT(w->state().catalogue.names(), (QStringList{"A", "B"}), 10000);
        QVERIFY(w->state().catalogue.checked(1));
        QCOMPARE(Ui(*w).catalogueList->item(1)->checkState(), Qt::Checked);
        QVERIFY(fx.messageTexts().isEmpty());
        QVERIFY(!w->extras().addDictionary({src.path()})); // the name is taken now
        QVERIFY(fx.messageTexts().join(' ').contains("installed already"));
        Fixture::writeBytes(src.filePath("B.list"), "");
        fx.messages.clear();
        QVERIFY(!w->extras().addDictionary({src.filePath("B.list")}));
        QVERIFY(fx.messageTexts().join(' ').contains("holds no entries"));
    }

    void typingReachesTheSearchBox_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("index list") << "index";
        QTest::newRow("bookmarks") << "bookmarks";
        QTest::newRow("catalogue") << "catalogue";
    }
    void typingReachesTheSearchBox()
    {
        QFETCH(QString, where);
        Fixture fx;
        fx.addDictionary("A", {"apple\t1", "cherry\t2"});
        auto w = fx.start();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QWidget* target = where == "index" ? static_cast<QWidget*>(Ui(*w).indexList)
            : where == "bookmarks"         ? static_cast<QWidget*>(Ui(*w).bookmarkList)
                                           : static_cast<QWidget*>(Ui(*w).catalogueList);
        target->setFocus();
        // Each key goes where the focus is, as a keyboard's would.
        for (const char c : {'c', 'h'})
            QTest::keyClick(QApplication::focusWidget(), c);
        QCOMPARE(Ui(*w).searchBox->text(), QString("ch"));
        QVERIFY(Ui(*w).searchBox->hasFocus());
        QCOMPARE(w->actions().selectedIndexRow(), 1);
    }
};

QTEST_MAIN(TestFeedback)
#include "test_feedback.moc"
