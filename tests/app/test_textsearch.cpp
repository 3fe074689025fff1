// The text search tab on a window with two dictionaries whose pages have a
// text layer: the first search makes the open one searchable and shows its
// pages; Enter shows the page with the hits found; F3 walks through the
// hits and on to the next result; the scope takes in every checked
// dictionary; nothing is added to the history or the bookmarks; the
// results' lines follow the list.
#include "Fixture.h"
#include "app/StatusLine.h"
#include "app/TextSearchPane.h"
#include "pageview/DjvuFixture.h"
#include "pageview/PageView.h"

#include "base/CodePage.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTabWidget>

using namespace lexifol;
using namespace lexifol::testing;

class TestTextSearch : public QObject
{
    Q_OBJECT
    std::unique_ptr<Fixture> fx_;
    std::unique_ptr<MainWindow> w_;

    void addDocument(const QString& name, const QList<QStringList>& pages)
    {
        QString error;
        QVERIFY2(MakeDjvuDocument(fx_->folder(name) + name + ".djvu", pages, &error), qPrintable(error));
    }
    // Types into the field and waits for the results of the finished build.
    void searchFor(const QString& text)
    {
        TextSearchPane* pane = Ui(*w_).textSearch;
        pane->field()->setText(text);
        pane->search();
        QTRY_VERIFY2_WITH_TIMEOUT(!pane->building() && pane->results()->count() > 0,
                                  qPrintable(QStringLiteral("%1 found, building %2; %3")
                                                 .arg(pane->found().size())
                                                 .arg(pane->building())
                                                 .arg(Ui(*w_).status->message())),
                                  20000);
    }

private slots:
    void init()
    {
        if (!HaveDjvuTools())
            QSKIP("cjb2, djvused or djvm is not installed");
        SetAnsiLocale(QStringLiteral("en_US.UTF-8"));
        fx_ = std::make_unique<Fixture>();
        fx_->addDictionary("A", {"apple\t1", "berry\t2"}, "[main]\r\ntext_layer=yes\r\n");
        fx_->addDictionary("B", {"cherry\t1"}, "[main]\r\ntext_layer=yes\r\n");
        addDocument("A", {{"apple a round fruit", "more fruit here"}, {"berry a small fruit"}});
        addDocument("B", {{"cherry a red fruit"}});
        w_ = fx_->start();
        w_->showNormal();
        w_->setGeometry(20, 20, 900, 700);
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }
    void cleanup()
    {
        w_.reset();
        fx_.reset();
    }

    void findsShowsAndWalksThroughHits()
    {
        TextSearchPane* pane = Ui(*w_).textSearch;
        QVERIFY(pane);
        QTest::keyClick(w_.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Ui(*w_).listTabs->currentWidget(), pane);
        searchFor("fruit");
        QCOMPARE(pane->found().size(), 2); // the open dictionary's two pages
        const int historyBefore = int(w_->state().history.entries().size());

        pane->showResult(0);
        QTRY_COMPARE_WITH_TIMEOUT(Ui(*w_).pageView->state(), PageView::State::Page, 20000);
        const search::PageResult first = pane->found().at(0);
        QCOMPARE(Ui(*w_).pageView->pageIndex() + 1, first.pageReference.toInt());
        QTRY_VERIFY_WITH_TIMEOUT(Ui(*w_).pageView->findPosition().second > 0, 20000);
        const int hits = Ui(*w_).pageView->findPosition().second;
        QCOMPARE(hits, first.pageReference == "1" ? 2 : 1);
        // Marked as a headword looked up is, not with Find's yellow.
        const QImage screen = Ui(*w_).pageView->pageWindow()->grab().toImage();
        int soft = 0, yellow = 0;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x) {
                const QColor c = screen.pixelColor(x, y);
                soft += std::abs(c.red() - 190) < 8 && std::abs(c.green() - 225) < 8 && c.blue() > 245;
                yellow += c.red() > 200 && c.green() > 180 && c.blue() < 80;
            }
        QVERIFY(soft > 0);
        QCOMPARE(yellow, 0);

        // F3: through the page's hits, then the next result.
        for (int i = 1; i < hits; ++i) {
            QVERIFY(pane->nextHit());
            QCOMPARE(Ui(*w_).pageView->findPosition().first, i);
        }
        QVERIFY(pane->nextHit());
        const search::PageResult second = pane->found().at(1);
        QTRY_COMPARE_WITH_TIMEOUT(Ui(*w_).pageView->pageIndex() + 1, second.pageReference.toInt(), 20000);
        QCOMPARE(int(w_->state().history.entries().size()), historyBefore);
        QCOMPARE(int(w_->state().bookmarks.entries().size()), 0);
    }

    void everyCheckedDictionary()
    {
        TextSearchPane* pane = Ui(*w_).textSearch;
        Ui(*w_).listTabs->setCurrentWidget(pane);
        for (int row = 0; row < w_->state().catalogue.count(); ++row)
            w_->state().catalogue.setChecked(row, true);
        pane->findChild<QCheckBox*>()->setChecked(true);
        searchFor("red");
        QTRY_VERIFY_WITH_TIMEOUT(!pane->building() && pane->found().size() == 1, 20000);
        QCOMPARE(pane->found().at(0).dictionary, QStringLiteral("B"));
        pane->showResult(0);
        QTRY_COMPARE_WITH_TIMEOUT(w_->state().dictionary.name, QStringLiteral("B"), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(Ui(*w_).pageView->state(), PageView::State::Page, 20000);
    }

    // The ranked list is shown at once; its lines follow, read behind it,
    // the first screen's first.
    void linesFollowTheList()
    {
        w_.reset();
        fx_ = std::make_unique<Fixture>();
        QList<QStringList> pages;
        for (int i = 1; i <= 30; ++i)
            pages << QStringList{QStringLiteral("fruit number %1").arg(i)};
        fx_->addDictionary("Many", {"fruit\t1"}, "[main]\r\ntext_layer=yes\r\n");
        addDocument("Many", pages);
        w_ = fx_->start();
        TextSearchPane* pane = Ui(*w_).textSearch;
        int shownWithout = -1; // rows without their line when the whole list was first shown
        connect(pane, &TextSearchPane::searched, this, [&] {
            if (pane->found().size() == 30 && shownWithout < 0)
                shownWithout = int(std::count_if(pane->found().begin(), pane->found().end(),
                                                 [](const search::PageResult& r) { return r.lineText.isEmpty(); }));
        });
        QSignalSpy filled(pane, &TextSearchPane::linesFilled);
        searchFor("fruit");
        QTRY_VERIFY_WITH_TIMEOUT(!pane->building() && pane->found().size() == 30, 20000);
        QCOMPARE(shownWithout, 30);
        QTRY_VERIFY_WITH_TIMEOUT(!filled.isEmpty() && filled.last().at(0).toInt() == 30, 20000);
        QVERIFY(filled.size() >= 2);
        QCOMPARE(filled.at(filled.size() - 2).at(0).toInt(), 20);
        // The list may be searched again once the pages are searchable; its
        // lines follow it the same way.
        QTRY_VERIFY_WITH_TIMEOUT(
            std::all_of(pane->found().begin(), pane->found().end(),
                        [](const search::PageResult& r) { return r.lineText.startsWith("fruit number"); }),
            20000);
        for (int row = 0; row < 30; ++row)
            QVERIFY(pane->results()->item(row)->text().contains(pane->found().at(row).lineText));
    }
};

QTEST_MAIN(TestTextSearch)
#include "test_textsearch.moc"
