// A page index corrected on the page, in a real window: the page's menu
// offers "Page begins with" the word under the pointer and the next page in
// doubt; choosing it rewrites the index through the atomic writer, the
// index list shows it at once, and the review file loses the page.
#include "Fixture.h"
#include "app/StatusLine.h"
#include "app/WindowExtras.h"
#include "pageview/DjvuFixture.h"
#include "pageview/PageView.h"

#include "base/CodePage.h"

#include "config/Messages.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QProcess>
#include <QTimer>
#include <QTemporaryDir>
#include <QListView>
#include <QMenu>

using namespace lexifol;
using namespace lexifol::testing;

class TestPageFix : public QObject
{
    Q_OBJECT

    static QAction* Find(QMenu& menu, const QString& text)
    {
        for (QAction* a : menu.actions())
            if (a->text() == text)
                return a;
        return nullptr;
    }

private slots:
    // A document dropped alone is offered to be made a dictionary; agreed
    // to, the maker's tool runs behind the window and the dictionary
    // appears, checked, when it is done.
    void aDocumentAloneIsMadeADictionary()
    {
        if (!HaveDjvuTools())
            QSKIP("cjb2, djvused or djvm is not installed");
        Fixture fx;
        fx.addDictionary("A", {"apple\t1"});
        QTemporaryDir src;
        QString error;
        QVERIFY2(MakeDjvuDocument(src.filePath("Fruit.djvu"), {{"apple a round fruit"}, {"bank the side of a river"}},
                                  &error),
                 qPrintable(error));
        QStringList asked;
        const QuestionHandler before = SetQuestionHandler([&](const Message& m) { return asked << m.text, true; });
        auto w = fx.start();
        QVERIFY(w->extras().addDictionary({src.filePath("Fruit.djvu")}));
        QVERIFY2(asked.join(' ').contains(QStringLiteral("Make a dictionary named \u201cFruit\u201d")),
                 qPrintable(asked.join(' ')));
        // The folder's watcher may list it a moment before the maker is done.
        QTRY_VERIFY_WITH_TIMEOUT(w->state().catalogue.find("Fruit") >= 0
                                     && w->state().catalogue.checked(w->state().catalogue.find("Fruit")),
                                 60000);
        QVERIFY(QFileInfo::exists(fx.prog + "Data/Fruit.list"));
        QVERIFY2(Ui(*w).status->message().startsWith("Added Fruit: 2 pages"), qPrintable(Ui(*w).status->message()));
        // An index given with its document: the descriptor says the pages
        // carry text, so Find and the text search are offered.
        Fixture::writeBytes(src.filePath("Veg.list"), Fixture::utf16({"apple\t1", "bank\t2"}));
        QTimer::singleShot(0, [] { // the name asked for, as proposed
            if (auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget()))
                d->accept();
        });
        QVERIFY(w->extras().addDictionary({src.filePath("Veg.list"), src.filePath("Fruit.djvu")}));
        QTRY_VERIFY_WITH_TIMEOUT(w->state().catalogue.find("Veg") >= 0, 20000);
        QVERIFY(Fixture::readBytes(fx.prog + "Data/Veg.files/Veg.ini").contains("text_layer=yes\r\n"));
        // Declined: nothing is made.
        SetQuestionHandler([](const Message&) { return false; });
        QVERIFY(!w->extras().addDictionary({src.filePath("Fruit2.djvu")}));
        QVERIFY(QFile::copy(src.filePath("Fruit.djvu"), src.filePath("Other.djvu")));
        QVERIFY(!w->extras().addDictionary({src.filePath("Other.djvu")}));
        QVERIFY(!QFileInfo::exists(fx.prog + "Data/Other.files"));
        SetQuestionHandler(before);
    }

    // Keys readers bring from other viewers, on a real page: zoom, help,
    // a bookmark, full screen with the page alone.
    void keysFromOtherViewers()
    {
        if (!HaveDjvuTools())
            QSKIP("cjb2, djvused or djvm is not installed");
        Fixture fx;
        fx.addDictionary("P", {"apple\t1", "bank\t2"}, "[main]\r\ntext_layer=yes\r\n");
        QString error;
        QVERIFY2(MakeDjvuDocument(fx.folder("P") + "P.djvu", {{"apple a round fruit"}, {"bank the side of a river"}},
                                  &error),
                 qPrintable(error));
        // The document numbers its pages as printed: the status bar says so.
        QCOMPARE(QProcess::execute("djvused",
                                   {fx.folder("P") + "P.djvu", "-e",
                                    "select 1; set-page-title xi; select 2; set-page-title xii", "-s"}),
                 0);
        auto w = fx.start();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        Ui(*w).searchBox->setText("bank");
        w->actions().showSelectedEntry();
        QTRY_COMPARE_WITH_TIMEOUT(Ui(*w).pageView->state(), PageView::State::Page, 20000);
        QTRY_COMPARE(Ui(*w).status->pageText(), QStringLiteral("page 2 of 2 (printed xii)"));
        QTRY_VERIFY(Ui(*w).pageView->zoomPercent() > 0);
        const int fitted = Ui(*w).pageView->zoomPercent();
        QCOMPARE(Ui(*w).status->zoomText(), QStringLiteral("%1%").arg(fitted));
        const struct {
            QKeyCombination key;
            bool larger;
        } zooms[] = {
            {Qt::CTRL | Qt::Key_Plus, true}, {Qt::CTRL | Qt::Key_Minus, false}, {Qt::CTRL | Qt::Key_Equal, true}};
        for (const auto& z : zooms) {
            const int before = Ui(*w).pageView->zoomPercent();
            QTest::keyClick(Ui(*w).searchBox, z.key.key(), z.key.keyboardModifiers());
            QCOMPARE(Ui(*w).pageView->zoomPercent() > before, z.larger);
            QCOMPARE(Ui(*w).status->zoomText(), QStringLiteral("%1%").arg(Ui(*w).pageView->zoomPercent()));
        }
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(w->state().bookmarks.entries(), QStringList{"bank\tP"});
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_F11);
        QVERIFY(Ui(*w).listTabs->isHidden() && Ui(*w).topPanel->isHidden());
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!Ui(*w).listTabs->isHidden() && !Ui(*w).topPanel->isHidden());
        QTest::keyClick(Ui(*w).searchBox, Qt::Key_F1);
        QTRY_VERIFY(Ui(*w).pageView->state() != PageView::State::Page); // the help, or why it is missing
        QCOMPARE(Ui(*w).status->zoomText(), QString());
    }

    void correctedFromThePage()
    {
        if (!HaveDjvuTools())
            QSKIP("cjb2, djvused or djvm is not installed");
        SetAnsiLocale(QStringLiteral("en_US.UTF-8"));
        Fixture fx;
        // Page 2 was read as "bnak"; page 3 has no line yet.
        fx.addDictionary("P", {"apple\t1", "bnak\t2"}, "[main]\r\npage_index=yes\r\ntext_layer=yes\r\n");
        QString error;
        QVERIFY2(MakeDjvuDocument(fx.folder("P") + "P.djvu",
                                  {{"apple a round fruit"}, {"bank the side of a river"}, {"cat a small animal"}},
                                  &error),
                 qPrintable(error));
        Fixture::writeBytes(fx.folder("P") + "P.review.tsv",
                            "page\tproposal\tother candidates\twhy\n2\tbnak\t\tOCR\n3\t\t\tno text\n");
        auto w = fx.start();
        w->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));

        Ui(*w).searchBox->setText("bnak");
        w->actions().showSelectedEntry();
        QTRY_COMPARE_WITH_TIMEOUT(Ui(*w).pageView->state(), PageView::State::Page, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(Ui(*w).pageView->pageIndex(), 1, 20000);

        QMenu menu;
        emit Ui(*w).pageView->menuBuilt(&menu, "bank");
        QAction* fix = Find(menu, QStringLiteral("Page begins with \u201cbank\u201d"));
        QVERIFY(fix);
        QVERIFY(Find(menu, QStringLiteral("Next page in doubt (2)"))); // pages 2 and 3 left
        fix->trigger();
        QCOMPARE(Fixture::readBytes(fx.prog + "Data/P.list"), Fixture::utf16({"apple\t1", "bank\t2"}));
        QCOMPARE(w->state().dictionary.first.headword(1).toString(), QStringLiteral("bank")); // the list, at once
        QCOMPARE(w->actions().selectedIndexRow(), 1);

        // The next page in doubt is page 3: shown, then given its line.
        QMenu again;
        emit Ui(*w).pageView->menuBuilt(&again, "bank");
        QAction* next = Find(again, QStringLiteral("Next page in doubt (1)"));
        QVERIFY(next);
        next->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(Ui(*w).pageView->pageIndex(), 2, 20000);
        QVERIFY(w->extras().setPageFirstWord("cat"));
        QCOMPARE(Fixture::readBytes(fx.prog + "Data/P.list"), Fixture::utf16({"apple\t1", "bank\t2", "cat\t3"}));
        QCOMPARE(Fixture::readBytes(fx.folder("P") + "P.review.tsv"),
                 QByteArray("page\tproposal\tother candidates\twhy\n"));
        // A word that breaks the order is refused, and nothing is written.
        QVERIFY(!w->extras().setPageFirstWord("aardvark"));
        QCOMPARE(Fixture::readBytes(fx.prog + "Data/P.list"), Fixture::utf16({"apple\t1", "bank\t2", "cat\t3"}));
    }
};

QTEST_MAIN(TestPageFix)
#include "test_pagefix.moc"
