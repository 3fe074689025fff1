// The page view's widgets, its render thread, and loading what it is
// pointed at: HTML pages, page view files and DjVu files.
#include "pageview/PageViewImpl.h"
#include "base/RegularFile.h"

#include <limits>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace lexifol {

namespace {
constexpr int kWarmUpAfterMs = 300;
} // namespace

QString LocalPath(const QString& target)
{
    if (target.startsWith(QLatin1StringView("file:"), Qt::CaseInsensitive)) {
        const QUrl url(target);
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return target;
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

void PageView::Impl::build()
{
    stack = new QStackedLayout(q);
    stack->setContentsMargins(0, 0, 0, 0);

    blank = new QWidget(q);
    stack->addWidget(blank);

    html = new HtmlView(q);
    stack->addWidget(html);
    QObject::connect(html, &QTextBrowser::anchorClicked, q, [this](const QUrl& url) { followLink(url); });

    panel = new QWidget(q);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    toolbar = new PageToolbar(panel);
    QObject::connect(toolbar, &PageToolbar::zoomBy, q, [this](double factor) { q->zoomBy(factor); });
    QObject::connect(toolbar, &PageToolbar::fitWidth, q, [this] { applyZoom(ZoomSetting{}, std::nullopt); });
    QObject::connect(toolbar, &PageToolbar::pageChosen, q, [this](int index) {
        if (state == State::Page || state == State::Loading)
            q->goToPage(index);
    });
    column->addWidget(toolbar);
    area = new PageArea(panel);
    column->addWidget(area, 1);
    stack->addWidget(panel);
    QObject::connect(area, &PageArea::viewChanged, q, [this] { viewChanged(); });
    QObject::connect(area, &PageArea::scrolled, q, [this] { followScroll(); });
    QObject::connect(area, &PageArea::pageEntered, q, [this](int page) {
        if (state == State::Page)
            enterPage(page);
    });
    connectInput();

    errorView = new QLabel(q);
    errorView->setAlignment(Qt::AlignCenter);
    errorView->setWordWrap(true);
    errorView->setTextFormat(Qt::PlainText);
    errorView->setTextInteractionFlags(Qt::TextSelectableByMouse);
    errorView->setMargin(16);
    stack->addWidget(errorView);

    stack->setCurrentWidget(blank);

    rerender = new QTimer(q);
    rerender->setSingleShot(true);
    rerender->setInterval(kRerenderDelayMs);
    QObject::connect(rerender, &QTimer::timeout, q, [this] {
        if (state == State::Page)
            requestPage(QString(), pageIndex, false);
    });

    // Scroll requests are answered by whatever widget of the view they hit.
    for (QWidget* w : q->findChildren<QWidget*>())
        w->installEventFilter(q);
}

void PageView::Impl::startWorker()
{
    qRegisterMetaType<PageResult>();
    qRegisterMetaType<TextResult>();
    worker = new DjvuWorker(latest);
    thread = new DjvuThread(worker);
    worker->moveToThread(thread);
    QObject::connect(
        worker, &DjvuWorker::pageReady, q, [this](const PageResult& r) { onPageReady(r); }, Qt::QueuedConnection);
    QObject::connect(
        worker, &DjvuWorker::textReady, q, [this](const TextResult& r) { onTextReady(r); }, Qt::QueuedConnection);
    thread->start();
    // The library's first context is slow to make: not on the first page,
    // and not while start-up needs both cores to bring the window up.
    QTimer::singleShot(kWarmUpAfterMs, q, [this] {
        if (worker)
            QMetaObject::invokeMethod(
                worker, [w = worker] { w->warmUp(); }, Qt::QueuedConnection);
    });
}

void PageView::Impl::stopWorker()
{
    if (!thread)
        return;
    latest->store(~quint64(0));
    thread->quit();
    if (!thread->wait(QDeadlineTimer(kShutdownWaitMs))) {
        // A decoder that hangs must not hang the program's exit: the thread
        // is left to end with the process.
        thread = nullptr;
        worker = nullptr;
        return;
    }
    delete thread;
    thread = nullptr;
    worker = nullptr; // deleted by its thread
}

void PageView::Impl::load(quint64 g)
{
    if (g != generation)
        return;
    const QString path = LocalPath(currentPath);
    QFile file;
    // Opened only as a regular file: a FIFO would block the window for good.
    if (const Status opened = OpenRegularFile(file, path, std::numeric_limits<qint64>::max());
        path.isEmpty() || !opened) {
        showError(path.isEmpty() ? PageView::tr("Cannot open file %1").arg(Native(path)) : opened.error());
        return;
    }
    const QByteArray head = file.read(8);
    if (head == QByteArrayLiteral("AT&TFORM")) {
        EmbedTag tag;
        tag.src = path;
        tag.zoom = QStringLiteral("width");
        showDjvu(tag);
        return;
    }
    if (file.size() > kSmallFileCap) {
        showError(RegularFileRefusal(path, kSmallFileCap));
        return;
    }
    const QByteArray bytes = head + file.read(kSmallFileCap);
    const QString text = DecodeHtml(bytes);
    if (std::optional<EmbedTag> tag = ParseDjvuEmbed(text)) {
        if (!tag->src.isEmpty() && QFileInfo(tag->src).isRelative() && !tag->src.contains(u'\\'))
            tag->src = QFileInfo(path).absoluteDir().filePath(tag->src);
        showDjvu(*tag);
        return;
    }
    showHtml(path, text);
}

void PageView::Impl::showHtml(const QString& path, const QString& text)
{
    const QFileInfo fi(path);
    const QUrl url = QUrl::fromLocalFile(fi.absoluteFilePath());
    html->preload(url, text);
    html->setSearchPaths({fi.absolutePath()});
    if (html->source() == url)
        html->reload(); // setSource would keep the old text
    else
        html->setSource(url, QTextDocument::HtmlResource);
    if (!pendingAnchor.isEmpty())
        html->scrollToAnchor(std::exchange(pendingAnchor, QString()));
    image = QImage();
    documentPath.clear();
    pageIndex = -1;
    pageCount = 0;
    errorText.clear();
    finder.clear();
    state = State::Html;
    stack->setCurrentWidget(html);
    emit q->htmlShown();
}

void PageView::Impl::showDjvu(const EmbedTag& tag)
{
    documentPath = tag.src;
    listPageFiles(tag);
    zoom = userZoom.value_or(ParseZoom(tag.zoom));
    toolbar->setVisible(tag.toolbar);
    area->setScrollBarsShown(tag.scrollBars);
    finder.clear();
    pendingAnchor.clear();
    if (documentPath.isEmpty()) {
        showError(PageView::tr("Cannot open file %1").arg(QString()));
        return;
    }
    if (stack->currentWidget() != panel) {
        area->clearPage(PageView::tr("Loading\u2026"));
        image = QImage();
        stack->setCurrentWidget(panel);
    }
    // The page is rendered for the area's size: lay the panel out now rather
    // than on the next pass of the event loop, the toolbar may have come or gone.
    panel->setGeometry(q->contentsRect());
    panel->layout()->activate();
    requestPage(tag.page, -1, true);
}

// Shows a page of documentPath, from the cache when it can, else through the
// render thread. A new generation supersedes whatever was asked before.
void PageView::Impl::followLink(const QUrl& link)
{
    const QUrl target = html->source().resolved(link);
    QUrl page = target;
    page.setFragment(QString());
    QUrl current = html->source();
    current.setFragment(QString());
    if (page == current && target.hasFragment()) {
        html->scrollToAnchor(target.fragment());
        return;
    }
    if (target.isLocalFile()) {
        q->Navigate(target.toLocalFile());
        pendingAnchor = target.fragment();
        return;
    }
    QDesktopServices::openUrl(target);
}

QScrollBar* PageView::Impl::activeScrollBar() const
{
    return stack->currentWidget() == html ? html->verticalScrollBar() : area->verticalScrollBar();
}

} // namespace lexifol
