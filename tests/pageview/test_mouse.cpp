// A real DjVu page on view: the part in view drawn first; the mouse on it:
// zoom around the pointer and its keeping across pages, panning, the
// rectangle copied, the word looked up.
#include "DjvuFixture.h"
#include "ViewFixture.h"

#include "pageview/Composition.h"
#include "djvu/PageImage.h"
#include "pageview/PageView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;
using namespace lexifol::testing;
using State = PageView::State;

class MouseTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { delete b_; }
    void zoomAroundPointer();
    void zoomKeptAcrossPages();
    void panMovesThePage();
    void rectangleCopied();
    void wordLookedUp();
    void partInViewFirst();
    void pagePreparedAhead();

private:
    bool showPage(int page);
    QPoint viewPointOf(QPointF pagePoint) const;
    void send(QEvent::Type type, QPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void ctrlWheel(QPoint at, int notches);
    QAction* action(QMenu* menu, const QString& text) const;

    QTemporaryDir dir_;
    QString book_;
    DrawnPage first_;
    PageView* b_ = nullptr;
};

void MouseTest::initTestCase()
{
    if (!HaveDjvuTools())
        QSKIP("cjb2, djvused or djvm is not installed");
    QString error;
    QStringList files;
    const QList<QStringList> pages = {{"Apple banana,", "(cherry) first"}, {"Grape melon", "second plum"}, {"low"}};
    for (int i = 0; i < pages.size(); ++i) {
        DrawnPage page;
        files << dir_.filePath(QStringLiteral("p%1.djvu").arg(i));
        // The third page's block lies below what the view shows at first.
        if (!MakeDjvuPage(files.last(), pages[i], i == 2 ? 1450 : 900, &page, &error))
            QFAIL(qPrintable(error));
        if (i == 0)
            first_ = page;
    }
    book_ = dir_.filePath(QStringLiteral("book.djvu"));
    QVERIFY2(djvu::Bundle(book_, files, &error), qPrintable(error));
}

void MouseTest::init()
{
    b_ = NewShownView();
    QVERIFY(b_);
    QVERIFY(showPage(1));
}

bool MouseTest::showPage(int page)
{
    const QString path = dir_.filePath(QStringLiteral("temp%1.htm").arg(page));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(QStringLiteral("<embed type=\"image/vnd.djvu\" SRC=\"%1\" zoom=width Page=%2></embed>")
                .arg(book_)
                .arg(page)
                .toUtf8());
    f.close();
    b_->Navigate(path);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 20000 && (b_->state() != State::Page || b_->pageIndex() != page - 1))
        QTest::qWait(5);
    return b_->state() == State::Page && b_->pageIndex() == page - 1;
}

// pagePointAt is linear: two samples invert it.
QPoint MouseTest::viewPointOf(QPointF pagePoint) const
{
    const QPointF a = b_->pagePointAt(QPoint(0, 0));
    const QPointF c = b_->pagePointAt(QPoint(100, 100));
    return QPoint(qRound((pagePoint.x() - a.x()) * 100 / (c.x() - a.x())),
                  qRound((pagePoint.y() - a.y()) * 100 / (c.y() - a.y())));
}

void MouseTest::send(QEvent::Type type, QPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    QWidget* w = b_->pageWindow();
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), button, buttons, mods);
    QApplication::sendEvent(w, &e);
}

void MouseTest::ctrlWheel(QPoint at, int notches)
{
    TurnWheel(b_->pageWindow(), 120 * notches, Qt::ControlModifier, at);
}

QAction* MouseTest::action(QMenu* menu, const QString& text) const
{
    for (QAction* a : menu->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

void MouseTest::zoomAroundPointer()
{
    const int before = b_->pageImage().width();
    const QPoint at(450, 300);
    const QPointF under = b_->pagePointAt(at);
    ctrlWheel(at, 3);
    QVERIFY(b_->zoom() != u"width");
    // Stretched at once, with the page point still under the pointer...
    QVERIFY((b_->pagePointAt(at) - under).manhattanLength() < 4);
    // ...then rendered sharp at the new scale, the point kept.
    QTRY_VERIFY_WITH_TIMEOUT(b_->pageImage().width() > before * 1.25, 10000);
    QVERIFY((b_->pagePointAt(at) - under).manhattanLength() < 4);
    ctrlWheel(at, -3);
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(b_->pageImage().width() - before) <= 2, 10000);

    // A touchpad pinch: the value is the change of scale.
    QWidget* w = b_->pageWindow();
    QNativeGestureEvent pinch(Qt::ZoomNativeGesture, QPointingDevice::primaryPointingDevice(), 2, at,
                              w->mapTo(w->window(), at), w->mapToGlobal(at), 0.5, QPointF());
    QApplication::sendEvent(w, &pinch);
    QVERIFY((b_->pagePointAt(at) - under).manhattanLength() < 4);
    QTRY_VERIFY_WITH_TIMEOUT(b_->pageImage().width() > before * 1.4, 10000);
}

void MouseTest::zoomKeptAcrossPages()
{
    ctrlWheel(QPoint(300, 250), 2);
    const QString chosen = b_->zoom();
    QVERIFY(chosen != u"width");
    QVERIFY(showPage(2));
    QCOMPARE(b_->zoom(), chosen); // the page view file says width

    std::unique_ptr<QMenu> menu(b_->contextMenu(QPoint(10, 10)));
    QVERIFY(action(menu.get(), "Fit width"));
    action(menu.get(), "Fit width")->trigger();
    QCOMPARE(b_->zoom(), QStringLiteral("width"));
    QVERIFY(showPage(1));
    QCOMPARE(b_->zoom(), QStringLiteral("width"));

    std::unique_ptr<QMenu> again(b_->contextMenu(QPoint(10, 10)));
    action(again.get(), "Actual size (100 %)")->trigger();
    QCOMPARE(b_->zoom(), QStringLiteral("100.0"));
    b_->resetZoom(); // another dictionary
    QVERIFY(showPage(2));
    QCOMPARE(b_->zoom(), QStringLiteral("width"));
}

void MouseTest::panMovesThePage()
{
    QWidget* w = b_->pageWindow();
    ctrlWheel(QPoint(300, 250), 8);
    QTRY_VERIFY_WITH_TIMEOUT(b_->scrollMaximum() > 200, 10000);
    QCOMPARE(w->cursor().shape(), Qt::OpenHandCursor);
    const int top = b_->scrollPosition();
    send(QEvent::MouseButtonPress, QPoint(300, 300), Qt::LeftButton);
    QCOMPARE(w->cursor().shape(), Qt::ClosedHandCursor);
    send(QEvent::MouseMove, QPoint(300, 260), Qt::LeftButton);
    send(QEvent::MouseMove, QPoint(300, 220), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, QPoint(300, 220), Qt::NoButton);
    QCOMPARE(b_->scrollPosition(), top + 80);
    QCOMPARE(w->cursor().shape(), Qt::OpenHandCursor);
}

void MouseTest::rectangleCopied()
{
    QRect all;
    for (const DrawnWord& word : first_.words)
        all |= word.box;
    const QPoint from = viewPointOf(all.topLeft() - QPoint(10, 10));
    const QPoint to = viewPointOf(all.bottomRight() + QPoint(10, 10));
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseMove, to, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton, Qt::ShiftModifier);
    QTRY_COMPARE_WITH_TIMEOUT(b_->selectedText(), QStringLiteral("Apple banana,\n(cherry) first"), 10000);
    QApplication::clipboard()->clear();
    b_->pageWindow()->parentWidget()->setFocus();
    QTest::keyClick(b_->pageWindow()->parentWidget(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Apple banana,\n(cherry) first"));
    // A plain click takes the rectangle away.
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, from, Qt::NoButton);
    QCOMPARE(b_->selectedText(), QString());
}

void MouseTest::wordLookedUp()
{
    QSignalSpy asked(b_, &PageView::lookUpRequested);
    const QPoint cherry = viewPointOf(first_.words[2].box.center());
    QTRY_VERIFY_WITH_TIMEOUT(b_->contextMenu(cherry)->actions().size() > 6, 10000); // the text has come
    send(QEvent::MouseButtonDblClick, cherry, Qt::LeftButton);
    QCOMPARE(asked.count(), 1);
    QCOMPARE(asked.last().at(0).toString(), QStringLiteral("cherry"));

    std::unique_ptr<QMenu> menu(b_->contextMenu(viewPointOf(first_.words[1].box.center())));
    QVERIFY(action(menu.get(), "Copy \"banana\""));
    action(menu.get(), "Look up \"banana\"")->trigger();
    QCOMPARE(asked.last().at(0).toString(), QStringLiteral("banana"));
    action(menu.get(), "Copy \"banana\"")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("banana"));

    // Between the lines, far from any word: nothing to look up.
    send(QEvent::MouseButtonDblClick, QPoint(2, 2), Qt::LeftButton);
    QCOMPARE(asked.count(), 2);
}

void MouseTest::partInViewFirst()
{
    QStringList order;
    QImage part;
    connect(b_, &PageView::pageVisible, this, [&] {
        order << (b_->state() == State::Loading ? "part" : "page");
        if (b_->state() == State::Loading)
            part = b_->pageImage();
    });
    // Memory left black by an earlier page, for the page to be drawn into.
    djvu::DropSparePageBuffers();
    djvu::NewPageImage(b_->pageImage().size()).fill(Qt::black);
    connect(b_, &PageView::pageShown, this, [&] { order << "shown"; });
    QVERIFY(showPage(3));
    // About 800 high drawn for a view 500 high: the top first, then all of it.
    QCOMPARE(order, QStringList({"part", "page", "shown"}));
    const QImage img = b_->pageImage();
    QVERIFY(img.height() > 700);
    const QRect block(0, img.height() * 88 / 100, img.width(), img.height() / 10); // at 1450 of 1600
    QVERIFY(InkIn(img, block) > 100);
    // Below the part in view the first image is white, not what the memory
    // held before.
    QCOMPARE(part.size(), img.size());
    QCOMPARE(InkIn(part, block), 0);
    // Shown again from what was kept: the whole page at once.
    order.clear();
    QVERIFY(showPage(1));
    order.clear();
    QVERIFY(showPage(3));
    QCOMPARE(order, QStringList({"page", "shown"}));
    QVERIFY(InkIn(b_->pageImage(), block) > 100);
}

// Drawn in the background for a later Enter; nothing on view changes.
void MouseTest::pagePreparedAhead()
{
    // Page 3 is no neighbour of page 1: only a preparation draws it.
    PageViewRequest request;
    request.viewFile = dir_.filePath(QStringLiteral("temp3.htm"));
    request.document = book_;
    request.page = QStringLiteral("3");
    request.pluginParameters = {"zoom=width", "Toolbar=no"};
    // Without the toolbar the page would be drawn for another size.
    b_->Prepare(request);
    QTest::qWait(300);
    QVERIFY(!b_->isPageReady(2));

    request.pluginParameters = {"zoom=width"};
    b_->Prepare(request);
    QTRY_VERIFY_WITH_TIMEOUT(b_->isPageReady(2), 20000);
    QCOMPARE(b_->pageIndex(), 0);
    QCOMPARE(b_->state(), State::Page);

    QStringList order;
    connect(b_, &PageView::pageVisible, this, [&] { order << (b_->state() == State::Loading ? "part" : "page"); });
    QVERIFY(showPage(3));
    QCOMPARE(order, QStringList({"page"})); // whole, at once
}

QTEST_MAIN(MouseTest)
#include "test_mouse.moc"
