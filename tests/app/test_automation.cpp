// The page automation on a shown main window with a real page: keys scroll
// the page view whatever has the focus, Find highlights the word.
#include "Fixture.h"
#include "app/StatusLine.h"
#include "app/WindowKeys.h"
#include "pageview/DjvuFixture.h"

#include "base/CodePage.h"
#include "pageview/ScrollRequest.h"
#include "pageview/PageView.h"

#include <QApplication>
#include <QLineEdit>
#include <QClipboard>
#include <QListView>

using namespace lexifol;
using namespace lexifol::testing;

namespace {
// A tall page: the view scrolls through it at fit-width.
QStringList pageLines(int n)
{
    QStringList lines;
    for (int i = 0; i < 14; ++i)
        lines << QStringLiteral("line%1 word%2 filler").arg(i).arg(n);
    lines[13] = QStringLiteral("target%1 here").arg(n);
    return lines;
}
} // namespace

class TestAutomationApp : public QObject
{
    Q_OBJECT
    std::unique_ptr<Fixture> fx_;
    std::unique_ptr<MainWindow> w_;

    int scroll() const { return Ui(*w_).pageView->scrollPosition(); }
    void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

private slots:
    void init()
    {
        if (!HaveDjvuTools())
            QSKIP("cjb2, djvused or djvm is not installed");
        SetAnsiLocale(QStringLiteral("en_US.UTF-8"));
        fx_ = std::make_unique<Fixture>();
        fx_->addDictionary("D", {"alpha\t1", "beta\t2", "target1\t1", "target2\t2"}, "[main]\r\ntext_layer=yes\r\n");
        if (QByteArray(QTest::currentTestFunction()) == "locateOff")
            Fixture::writeBytes(fx_->prog + "Lexifol.ini", "[View]\r\nLocateHeadword=0\r\n");
        if (QByteArray(QTest::currentDataTag()) == "Continuous=0")
            Fixture::writeBytes(fx_->prog + "Lexifol.ini", "[View]\r\nContinuous=0\r\n");
        QStringList files;
        QString error;
        for (int i = 1; i <= 2; ++i) {
            const QString file = fx_->folder("D") + QStringLiteral("p%1.djvu").arg(i);
            QVERIFY2(MakeDjvuPage(file, pageLines(i), 1400, nullptr, &error, QSize(1200, 2400), 0, 60),
                     qPrintable(error));
            files << file;
        }
        QVERIFY2(BundleDjvu(fx_->folder("D") + "D.djvu", files, &error), qPrintable(error));
        w_ = fx_->start();
        w_->showNormal();
        w_->setGeometry(20, 20, 760, 560);
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
        Ui(*w_).searchBox->setText("beta");
        w_->actions().showSelectedEntry();
        QTRY_COMPARE_WITH_TIMEOUT(Ui(*w_).pageView->state(), PageView::State::Page, 20000);
        QVERIFY(Ui(*w_).pageView->scrollMaximum() > 0);
    }
    void cleanup()
    {
        w_.reset();
        fx_.reset();
    }

    void pageUnderTheAutomationPoint()
    {
        QWidget* under = QApplication::widgetAt(w_->keys().automationPoint());
        QVERIFY(under && (under == Ui(*w_).pageView || Ui(*w_).pageView->isAncestorOf(under)));
    }

    void keysScrollWhateverHasTheFocus_data()
    {
        QTest::addColumn<bool>("inList");
        QTest::newRow("search box") << false;
        QTest::newRow("index list") << true;
    }
    void keysScrollWhateverHasTheFocus()
    {
        QFETCH(bool, inList);
        (inList ? static_cast<QWidget*>(Ui(*w_).indexList) : Ui(*w_).searchBox)->setFocus();
        const int top = scroll();
        w_->keys().lineScroll(false);
        QTRY_VERIFY(scroll() > top);
        const int afterLine = scroll();
        w_->keys().wheelPage(false);
        QTRY_VERIFY(scroll() > afterLine);
        w_->keys().wheelPage(true);
        QTRY_VERIFY(scroll() <= afterLine);
    }

    // Page Down at the end of a page goes on into the next one, and the
    // status line follows, unless the setting keeps one page at a time.
    void pageDownReadsOn_data()
    {
        QTest::addColumn<bool>("continuous");
        QTest::newRow("by default") << true;
        QTest::newRow("Continuous=0") << false;
    }
    void pageDownReadsOn()
    {
        QFETCH(bool, continuous);
        QCOMPARE(Ui(*w_).pageView->continuous(), continuous);
        Ui(*w_).searchBox->setText("alpha");
        w_->actions().showSelectedEntry();
        QTRY_VERIFY(Ui(*w_).pageView->state() == PageView::State::Page && Ui(*w_).pageView->pageIndex() == 0);
        QCOMPARE(Ui(*w_).status->pageText(), QStringLiteral("page 1 of 2"));
        for (int press = 0; press < 20 && Ui(*w_).pageView->pageIndex() == 0; ++press) {
            w_->keys().wheelPage(false);
            settle();
        }
        QCOMPARE(Ui(*w_).pageView->pageIndex(), continuous ? 1 : 0);
        QCOMPARE(Ui(*w_).status->pageText(),
                 continuous ? QStringLiteral("page 2 of 2") : QStringLiteral("page 1 of 2"));
        // The help in the page area is no page of the document.
        w_->actions().showHelp();
        settle();
        QCOMPARE(Ui(*w_).status->pageText(), QString());
    }

    void homeAndEndJumpThreePages()
    {
        w_->keys().pageJump(false);
        settle();
        QTRY_VERIFY(scroll() > 0);
        const int end = scroll();
        const int page = Ui(*w_).pageView->pageWindow()->height();
        QVERIFY2(end >= qMin(Ui(*w_).pageView->scrollMaximum(), 2 * page), qPrintable(QString::number(end)));
        w_->keys().pageJump(true);
        QTRY_COMPARE(scroll(), 0);
    }

    void headwordFoundOnItsPage()
    {
        QVERIFY(Ui(*w_).pageView->headwordMark().isEmpty()); // "beta" is not printed
        Ui(*w_).searchBox->setText("target1");
        w_->actions().showSelectedEntry();
        QTRY_VERIFY(!Ui(*w_).pageView->headwordMark().isEmpty());
        QCOMPARE(Ui(*w_).pageView->pageIndex(), 0);
        QVERIFY(scroll() > 0); // the last line of the page, brought into view
        // The Find command's hits take the mark's place.
        Ui(*w_).searchBox->setText("word1");
        QVERIFY(w_->keys().find(true));
        QTRY_VERIFY(!Ui(*w_).pageView->highlights().isEmpty());
        QVERIFY(Ui(*w_).pageView->headwordMark().isEmpty());
    }

    void userScrollWins()
    {
        // Page 1 was never shown: its text layer comes after the page.
        Ui(*w_).searchBox->setText("target1");
        connect(Ui(*w_).pageView, &PageView::pageShown, this, [this] {
            if (Ui(*w_).pageView->pageIndex() == 0)
                QCoreApplication::postEvent(Ui(*w_).pageView->pageWindow(), new ScrollRequestEvent(SB_LINEDOWN));
        });
        w_->actions().showSelectedEntry();
        QTRY_VERIFY(!Ui(*w_).pageView->headwordMark().isEmpty());
        const int moved = scroll();
        QVERIFY(moved > 0);
        QVERIFY(moved < Ui(*w_).pageView->pageWindow()->height()); // a line, not the way to the word
    }

    void locateOff()
    {
        Ui(*w_).searchBox->setText("target2");
        w_->actions().showSelectedEntry();
        settle();
        QTest::qWait(300);
        QVERIFY(Ui(*w_).pageView->headwordMark().isEmpty());
        QCOMPARE(scroll(), 0);
    }

    // F3 after F2: the same word, the marks stay and the search moves on;
    // the Find field holds the word once.
    void findAgainMovesOn()
    {
        Ui(*w_).searchBox->setText("word2");
        QVERIFY(w_->keys().find(true));
        QTRY_COMPARE(Ui(*w_).pageView->highlights().size(), 13);
        settle();
        for (int press = 0; press < 3; ++press) {
            QVERIFY(w_->keys().find(false));
            settle();
            QCOMPARE(Ui(*w_).pageView->highlights().size(), 13);
            auto* field = Ui(*w_).pageView->findDialog()->findChild<QLineEdit*>("findField");
            QVERIFY(field);
            QCOMPARE(field->text(), QStringLiteral("word2"));
        }
        QCOMPARE(Ui(*w_).status->message(), QStringLiteral("13 found on the page"));
        Ui(*w_).searchBox->setText("nowhere");
        QVERIFY(w_->keys().find(true));
        QTRY_COMPARE(Ui(*w_).status->message(), QStringLiteral("not found on the page"));
    }

    void findHighlightsTheWord()
    {
        Ui(*w_).searchBox->setText("target2");
        QVERIFY(w_->keys().find(true));
        QTRY_COMPARE(Ui(*w_).pageView->highlights().size(), 1);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("target2"));
        QVERIFY(Ui(*w_).pageView->findDialog() && Ui(*w_).pageView->findDialog()->isHidden());
        // The page scrolled down to the word, which is now in view.
        QVERIFY(scroll() > 0);
        const QRect hit = Ui(*w_).pageView->highlights().first();
        QVERIFY(hit.top() >= scroll() - 20 && hit.bottom() <= scroll() + Ui(*w_).pageView->pageWindow()->height() + 20);
        // Again from the button: the old dialog goes, one stays.
        QVERIFY(w_->keys().find(true));
        settle();
        int dialogs = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            dialogs += top->windowTitle() == QStringLiteral("Find");
        QCOMPARE(dialogs, 1);
        QTRY_COMPARE(Ui(*w_).pageView->highlights().size(), 1);
    }
};

QTEST_MAIN(TestAutomationApp)
#include "test_automation.moc"
