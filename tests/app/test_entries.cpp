// History and bookmarks on a real main window: what is recorded, stepping,
// opening entries across dictionaries, and the bookmarks file kept current.
#include "Fixture.h"
#include "app/StatusLine.h"
#include "common/FileSizeLimit.h"

#include "index/Bookmarks.h"
#include "base/CodePage.h"
#include "index/Collation.h"

#include <QListView>
#include <QListWidget>
#include <QToolButton>

using namespace lexifol;

namespace {
QStringList words()
{
    QStringList lines;
    for (int i = 0; i < 26; ++i)
        lines << QStringLiteral("%1word\t%2").arg(QChar(u'a' + i)).arg(i + 1);
    return lines;
}

void lookUp(MainWindow& w, const QString& text)
{
    Ui(w).searchBox->setText(text);
    w.actions().showSelectedEntry();
}

int selected(const QListView* box)
{
    const QModelIndexList rows = box->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString shownPage(const Fixture& fx)
{
    const QString html = fx.pageFile();
    const qsizetype at = html.indexOf(QStringLiteral(" Page="));
    return at < 0 ? QString() : html.mid(at + 6, html.indexOf(u'>', at) - at - 6);
}
} // namespace

class TestEntries : public QObject
{
    Q_OBJECT
private slots:
    void historyRecordsAndSteps()
    {
        Fixture fx;
        fx.addDictionary("D", words());
        auto w = fx.start();
        for (int i = 0; i < 22; ++i)
            lookUp(*w, QStringLiteral("%1word").arg(QChar(u'a' + i)));
        QCOMPARE(w->state().history.size(), 21);
        QCOMPARE(w->state().history.entries().first(), QStringLiteral("bword\tD"));
        QVERIFY(!Ui(*w).backButton->isHidden() && Ui(*w).forwardButton->isHidden());

        w->actions().stepHistory(true);
        w->actions().stepHistory(true);
        QCOMPARE(selected(Ui(*w).historyList), 18);
        QCOMPARE(shownPage(fx), QStringLiteral("20")); // tword
        // The search box and the index follow what is shown.
        QCOMPARE(Ui(*w).searchBox->text(), QStringLiteral("tword"));
        QCOMPARE(Ui(*w).indexList->currentIndex().data().toString(), QStringLiteral("tword"));
        QVERIFY(!Ui(*w).forwardButton->isHidden());
        QCOMPARE(w->state().history.size(), 21); // opening an entry adds nothing

        // A new lookup is appended after the newest entry, not after the one stepped back to.
        lookUp(*w, QStringLiteral("yword"));
        QCOMPARE(w->state().history.entries().last(), QStringLiteral("yword\tD"));
        QCOMPARE(w->state().history.entries().at(19), QStringLiteral("vword\tD"));
        QCOMPARE(selected(Ui(*w).historyList), 20);
        QVERIFY(Ui(*w).forwardButton->isHidden());
    }

    void bookmarksAreSavedOnEveryChange()
    {
        Fixture fx;
        fx.addDictionary("D", words());
        auto w = fx.start();
        const QString file = fx.cwd + "Bookmarks.dat";
        for (const char* word : {"aword", "bword", "cword", "cword"}) {
            Ui(*w).searchBox->setText(QString::fromLatin1(word));
            w->actions().addBookmark();
        }
        QCOMPARE(Fixture::readBytes(file), BookmarkFileBytes({"aword\tD", "bword\tD", "cword\tD", "cword\tD"}));

        Ui(*w).bookmarkList->selectionModel()->setCurrentIndex(Ui(*w).bookmarkList->model()->index(1, 0),
                                                               QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(Ui(*w).bookmarkList, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(w->state().bookmarks.entries(), QStringList({"aword\tD", "cword\tD", "cword\tD"}));
        QCOMPARE(selected(Ui(*w).bookmarkList), 1);
        QCOMPARE(Fixture::readBytes(file), BookmarkFileBytes(w->state().bookmarks.entries()));

        w->actions().clearBookmarks();
        QCOMPARE(Ui(*w).bookmarkList->model()->rowCount(), 0);
        QCOMPARE(Fixture::readBytes(file), QByteArray("\xFF\xFE", 2));
    }

    void openingBookmarks_data()
    {
        // clang-format off
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("dictionary");   // open afterwards
        QTest::addColumn<QString>("page");         // shown, or empty
        QTest::newRow("same dictionary") << "cword\tD" << "D" << "3";
        QTest::newRow("other dictionary") << "pear\tFruit" << "Fruit" << "2";
        QTest::newRow("name in other case") << "pear\tfruit" << "Fruit" << "2";
        QTest::newRow("headword gone") << "plum\tFruit" << "Fruit" << "";
        QTest::newRow("headword differs in case") << "Pear\tFruit" << "Fruit" << "";
        QTest::newRow("not installed") << "cword\tGone" << "D" << "";
        QTest::newRow("no TAB") << "cword" << "D" << "";
        // clang-format on
    }
    void openingBookmarks()
    {
        QFETCH(QString, line);
        Fixture fx;
        fx.addDictionary("D", words());
        fx.addDictionary("Fruit", {"apple\t1", "pear\t2"});
        Fixture::writeBytes(fx.cwd + "Bookmarks.dat", BookmarkFileBytes({line}));
        auto w = fx.start();
        QFile::remove(fx.prog + "temp.htm");
        Ui(*w).bookmarkList->selectionModel()->setCurrentIndex(Ui(*w).bookmarkList->model()->index(0, 0),
                                                               QItemSelectionModel::ClearAndSelect);
        emit Ui(*w).bookmarkList->doubleClicked(Ui(*w).bookmarkList->currentIndex());
        QTEST(w->state().dictionary.name, "dictionary");
        QTEST(shownPage(fx), "page");
        QFETCH(QString, page);
        if (!page.isEmpty())
            QCOMPARE(Ui(*w).searchBox->text(), line.section(u'\t', 0, 0));
        // A dictionary that is gone is said so, not passed over in silence.
        QCOMPARE(Ui(*w).status->message().contains("is not installed"), line.endsWith("Gone"));
        QVERIFY(!w->state().skipSearchReplay);
        QVERIFY(w->state().history.entries().isEmpty());
        if (!line.contains(u'\t'))
            QCOMPARE(Ui(*w).bookmarkList->model()->index(0, 0).data().toString(), QStringLiteral("error"));
    }

    // How a dictionary's descriptor says its index is read: Enter, the page
    // shown, and what history and bookmarks keep.
    void descriptorLookups_data()
    {
        // clang-format off
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("kept");
        const QStringList firsts{"about\t1", "bath\t2", "candle\t3", "dog\t4"};
        QTest::newRow("page index, between") << "page_index=yes" << firsts << "cat" << "3" << "cat";
        QTest::newRow("page index, before the first") << "page_index=yes" << firsts << "aardvark" << "1" << "aardvark";
        QTest::newRow("page index, after the last") << "page_index=yes" << firsts << "zoo" << "4" << "zoo";
        QTest::newRow("page index, the page's word") << "page_index=yes" << firsts << "Candle" << "3" << "Candle";
        QTest::newRow("not a page index") << "page_index=true" << firsts << "cat" << "4" << "dog";
        const QStringList swedish{"apa\t1", "zebra\t2", "\u00e5l\t3", "\u00f6ra\t4"};
        QTest::newRow("Swedish order") << "collation=sv" << swedish << "\u00e5l" << "3" << "\u00e5l";
        // Under the user's English order the bisection misses it.
        QTest::newRow("Swedish order undeclared") << "" << swedish << "\u00e5l" << "1" << "apa";
        // clang-format on
    }
    void descriptorLookups()
    {
        QFETCH(QString, keys);
        QFETCH(QStringList, lines);
        QFETCH(QString, typed);
        QFETCH(QString, page);
        QFETCH(QString, kept);
        IndexCollation::SetDefaultLocale(QStringLiteral("en_US"));
        Fixture fx;
        fx.addDictionary("P", lines, "[main]\r\n" + keys + "\r\n");
        auto w = fx.start();
        QVERIFY(fx.messages.isEmpty());
        lookUp(*w, typed);
        QCOMPARE(shownPage(fx), page);
        QCOMPARE(w->state().history.entries(), QStringList{kept + "\tP"});
        w->actions().addBookmark();
        QCOMPARE(w->state().bookmarks.entries(), QStringList{kept + "\tP"});

        // Opening the bookmark finds the same page, whatever the box holds.
        lookUp(*w, lines.first().section(u'\t', 0, 0));
        QFile::remove(fx.prog + "temp.htm");
        Ui(*w).bookmarkList->selectionModel()->setCurrentIndex(Ui(*w).bookmarkList->model()->index(0, 0),
                                                               QItemSelectionModel::ClearAndSelect);
        emit Ui(*w).bookmarkList->doubleClicked(Ui(*w).bookmarkList->currentIndex());
        QCOMPARE(shownPage(fx), page);
    }

    void handWrittenBookmarksComeBackAsUtf16()
    {
        SetAnsiLocale(QStringLiteral("ru_RU.UTF-8"));
        Fixture fx;
        fx.addDictionary("D", words());
        Fixture::writeBytes(fx.cwd + "Bookmarks.dat", "\xE4\xEE\xEC\tD\r\naword\tD");
        {
            auto w = fx.start();
            QCOMPARE(w->state().bookmarks.entries(), QStringList({QStringLiteral("дом\tD"), "aword\tD"}));
            w->actions().addBookmark();
            w->close();
        }
        QCOMPARE(Fixture::readBytes(fx.cwd + "Bookmarks.dat"),
                 BookmarkFileBytes({QStringLiteral("дом\tD"), "aword\tD", "aword\tD"}));
        SetAnsiLocale(QStringLiteral("en_US.UTF-8"));
    }

    void failedSaveIsToldOnceAndRetried()
    {
        Fixture fx;
        fx.addDictionary("D", words());
        auto w = fx.start();
        {
            FileSizeLimit full{0};
            Ui(*w).searchBox->setText("aword");
            w->actions().addBookmark();
            w->actions().addBookmark();
        }
        QCOMPARE(w->state().bookmarks.size(), 2);
        QCOMPARE(fx.messages.size(), 1);
        QVERIFY(fx.messages[0].text.startsWith("Can not save "));
        QVERIFY(fx.messages[0].text.contains("Bookmarks.dat"));
        QVERIFY(!QFile::exists(fx.cwd + "Bookmarks.dat"));
        w->actions().addBookmark();
        QCOMPARE(Fixture::readBytes(fx.cwd + "Bookmarks.dat"), BookmarkFileBytes({"aword\tD", "aword\tD", "aword\tD"}));
        QCOMPARE(fx.messages.size(), 1);
    }
};

QTEST_MAIN(TestEntries)
#include "test_entries.moc"
