// The strip of the other checked dictionaries on a real window: what it
// lists, a click and Alt+digit opening a dictionary with the word, a broken
// dictionary told in its entry and never in a box.
#include "Fixture.h"
#include "app/OtherStrip.h"

#include <QListWidget>
#include <QTest>
#include <QToolButton>

using Kind = lexifol::ShelfHit::Kind;

class TestStrip : public QObject
{
    Q_OBJECT
    std::unique_ptr<Fixture> fx_;
    std::unique_ptr<MainWindow> w_;

    // The other dictionaries are opened on a worker: until they are.
    QList<lexifol::ShelfHit> settle()
    {
        auto opening = [this] {
            Ui(*w_).otherDictionaries->refresh();
            const auto& hits = Ui(*w_).otherDictionaries->hits();
            return std::any_of(hits.begin(), hits.end(),
                               [](const lexifol::ShelfHit& h) { return h.kind == Kind::Opening; });
        };
        for (int i = 0; i < 200 && opening(); ++i)
            QTest::qWait(20);
        return Ui(*w_).otherDictionaries->hits();
    }

private slots:
    void init()
    {
        fx_ = std::make_unique<Fixture>();
        fx_->addDictionary("A", {"apple\t1", "bread\t2"});
        fx_->addDictionary("B", {"bread\t7", "butter\t8"});
        fx_->addDictionary("C", {"apple\t1", "zebra\t3"}, "[main]\r\nname=Zoo\r\n");
        fx_->addDictionary("U", {"bread\t1"}); // unchecked
        Fixture::writeBytes(fx_->cwd + "diclist.dat", "A\t1\r\nB\t1\r\nC\t1\r\nU\t0\r\n");
        w_ = fx_->start();
        QVERIFY(Ui(*w_).otherDictionaries);
    }
    void cleanup()
    {
        w_.reset();
        fx_.reset();
    }

    void listsTheOtherCheckedOnes()
    {
        Ui(*w_).searchBox->setText("bread");
        const QList<lexifol::ShelfHit> hits = settle();
        QCOMPARE(hits.size(), 2); // not A (open), not U (unchecked)
        QCOMPARE(hits[0].name, QString("B"));
        QCOMPARE(int(hits[0].kind), int(Kind::Exact));
        QCOMPARE(hits[1].title, QString("Zoo"));
        QCOMPARE(int(hits[1].kind), int(Kind::Nearest));
        QCOMPARE(hits[1].headword, QString("zebra"));
        const auto buttons = Ui(*w_).otherDictionaries->findChildren<QToolButton*>();
        QCOMPARE(buttons.size(), 2);
        QCOMPARE(buttons[1]->accessibleName(), QStringLiteral("C: \u2248 zebra")); // the name, short
        QVERIFY(buttons[1]->toolTip().contains("Zoo"));                            // the title
        QCOMPARE(Ui(*w_).otherDictionaries->accessibleName(), QString("In other dictionaries"));
    }

    void clickOpensWithTheWord()
    {
        Ui(*w_).searchBox->setText("butter");
        settle();
        Ui(*w_).otherDictionaries->findChildren<QToolButton*>().first()->click();
        QCOMPARE(w_->state().dictionary.name, QString("B"));
        QCOMPARE(Ui(*w_).searchBox->text(), QString("butter"));
        QVERIFY(fx_->pageFile().contains("B.djvu\"") || fx_->pageFile().contains("Page=8"));
    }

    void altDigitOpens()
    {
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
        Ui(*w_).searchBox->setText("apple");
        settle();
        QTest::keyClick(Ui(*w_).searchBox, Qt::Key_2, Qt::AltModifier);
        QCOMPARE(w_->state().dictionary.name, QString("C"));
    }

    void brokenToldInItsEntry()
    {
        w_.reset();
        // B cannot be opened: its parameter list is a folder.
        QVERIFY(QDir().mkpath(fx_->folder("B") + "Plugin.dat"));
        w_ = fx_->start();
        Ui(*w_).searchBox->setText("bread");
        const QList<lexifol::ShelfHit> hits = settle();
        QCOMPARE(int(hits[0].kind), int(Kind::Broken));
        QVERIFY2(hits[0].why.contains("Plugin.dat"), qPrintable(hits[0].why));
        QCOMPARE(int(hits[1].kind), int(Kind::Nearest));
        QVERIFY(fx_->messageTexts().isEmpty()); // never a box while typing
    }
};

QTEST_MAIN(TestStrip)
#include "test_strip.moc"
