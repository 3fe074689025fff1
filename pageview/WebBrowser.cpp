#include "pageview/WebBrowser.h"

#include "pageview/Composition.h"
#include "pageview/DjvuWorker.h"
#include "pageview/EmbedTag.h"
#include "pageview/ImageCache.h"
#include "pageview/PageLayout.h"
#include "pageview/PageText.h"
#include "pageview/PageWidgets.h"
#include "pageview/ScrollRequest.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedLayout>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace lexifol {

using namespace pv;

namespace {

constexpr qint64 kCacheBytes = 256LL * 1024 * 1024;
constexpr size_t kMaxDocInfos = 64;
constexpr int kRerenderDelayMs = 80;

struct PageGeometry {
    QSize size;
    int dpi = 0;
};

struct PageTextInfo {
    bool hasText = false;
    QList<PageWord> words;
};

// What the window knows of a document, so that a page can be shown from the
// cache without asking the render thread.
struct DocInfo {
    QDateTime modified;
    qint64 size = -1;
    int pageCount = 0;
    QHash<QString, int> names;
    QHash<int, PageGeometry> pages;
    QHash<int, PageTextInfo> texts;
    quint64 lastUse = 0;
};

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

} // namespace

struct TWebBrowser::Impl {
    TWebBrowser* q;

    QStackedLayout* stack = nullptr;
    QWidget* blank = nullptr;
    HtmlView* html = nullptr;
    QWidget* panel = nullptr;
    QWidget* toolbar = nullptr;
    QSpinBox* pageBox = nullptr;
    QLabel* pageTotal = nullptr;
    PageArea* area = nullptr;
    QLabel* errorView = nullptr;
    QPointer<FindDialog> find;

    State state = State::Blank;
    QString currentPath;
    QString errorText;
    QString documentPath;
    int pageIndex = -1;
    int pageCount = 0;
    quint64 generation = 0;
    std::shared_ptr<std::atomic<quint64>> latest = std::make_shared<std::atomic<quint64>>(0);

    ZoomSetting zoom;
    bool resetScrollOnArrival = true;
    QString pendingAnchor;

    // The page on view.
    QImage image;
    QSize pageSize;
    int dpi = 0;
    RenderPlan plan;
    bool textKnown = false;
    PageTextInfo text;
    QList<QRect> hits;          // page pixels
    bool findPending = false;
    QString findQuery;

    ImageCache cache{kCacheBytes};
    std::map<QString, DocInfo> docs;
    quint64 useClock = 0;

    DjvuWorker* worker = nullptr;
    DjvuThread* thread = nullptr;
    QTimer* rerender = nullptr;

    explicit Impl(TWebBrowser* owner) : q(owner) {}

    void build();
    void startWorker();
    void stopWorker();

    quint64 bump();
    void load(quint64 g);
    void showHtml(const QString& path, const QString& text);
    void showDjvu(const EmbedTag& tag);
    void requestPage(const QString& reference, int index, bool toTop);
    bool showFromCache(const QString& reference, int index, bool toTop);
    void present(const QString& path, int index, const DocInfo& info, const QImage& img,
                 const RenderPlan& plan, bool toTop);
    void showError(const QString& message);
    void onPageReady(const PageResult& r);
    void onTextReady(const TextResult& r);
    void prefetchNeighbours();
    void viewChanged();
    void updateToolbar();
    DocInfo* docInfo(const QString& path, bool validate);
    int runFind();
    void openFind();
    void followLink(const QUrl& url);
    QScrollBar* activeScrollBar() const;
};

void TWebBrowser::Impl::build()
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
    toolbar = new QWidget(panel);
    toolbar->setObjectName(QStringLiteral("pageToolbar"));
    auto* row = new QHBoxLayout(toolbar);
    row->setContentsMargins(4, 2, 4, 2);
    auto addButton = [&](const QString& text, const QString& tip, auto slot) {
        auto* b = new QToolButton(toolbar);
        b->setText(text);
        b->setToolTip(tip);
        b->setFocusPolicy(Qt::NoFocus);
        QObject::connect(b, &QToolButton::clicked, q, slot);
        row->addWidget(b);
        return b;
    };
    addButton(QStringLiteral("\u2212"), TWebBrowser::tr("Zoom out"), [this] {
        const double p = EffectivePercent(pageSize, dpi, plan.display, area->viewArea().screenDpi);
        q->setZoom(QString::number(std::max(kMinZoomPercent, p / 1.25), 'f', 1));
    });
    addButton(QStringLiteral("+"), TWebBrowser::tr("Zoom in"), [this] {
        const double p = EffectivePercent(pageSize, dpi, plan.display, area->viewArea().screenDpi);
        q->setZoom(QString::number(std::min(kMaxZoomPercent, p * 1.25), 'f', 1));
    });
    addButton(TWebBrowser::tr("Fit width"), TWebBrowser::tr("Fit the page width"), [this] { q->setZoom(QStringLiteral("width")); });
    row->addSpacing(12);
    pageBox = new QSpinBox(toolbar);
    pageBox->setKeyboardTracking(false);
    // Typing goes to the program's own controls, not to the page number.
    pageBox->setFocusPolicy(Qt::ClickFocus);
    pageBox->setRange(1, 1);
    row->addWidget(pageBox);
    pageTotal = new QLabel(toolbar);
    row->addWidget(pageTotal);
    row->addStretch(1);
    QObject::connect(pageBox, &QSpinBox::valueChanged, q, [this](int value) {
        if (state == State::Page || state == State::Loading)
            q->goToPage(value - 1);
    });
    column->addWidget(toolbar);
    area = new PageArea(panel);
    column->addWidget(area, 1);
    stack->addWidget(panel);
    QObject::connect(area, &PageArea::viewChanged, q, [this] { viewChanged(); });

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

void TWebBrowser::Impl::startWorker()
{
    qRegisterMetaType<PageResult>();
    qRegisterMetaType<TextResult>();
    worker = new DjvuWorker(latest);
    thread = new DjvuThread(worker);
    worker->moveToThread(thread);
    QObject::connect(worker, &DjvuWorker::pageReady, q, [this](const PageResult& r) { onPageReady(r); },
                     Qt::QueuedConnection);
    QObject::connect(worker, &DjvuWorker::textReady, q, [this](const TextResult& r) { onTextReady(r); },
                     Qt::QueuedConnection);
    thread->start();
    // The library's first context is slow to make: not on the first page.
    QMetaObject::invokeMethod(worker, [w = worker] { w->warmUp(); }, Qt::QueuedConnection);
}

void TWebBrowser::Impl::stopWorker()
{
    if (!thread)
        return;
    latest->store(~quint64(0));
    thread->quit();
    thread->wait();
    delete thread;
    thread = nullptr;
    worker = nullptr;   // deleted by its thread
}

quint64 TWebBrowser::Impl::bump()
{
    ++generation;
    latest->store(generation);
    return generation;
}

DocInfo* TWebBrowser::Impl::docInfo(const QString& path, bool validate)
{
    auto it = docs.find(path);
    if (it == docs.end())
        return nullptr;
    if (validate) {
        const QFileInfo fi(path);
        if (!fi.isFile() || fi.lastModified() != it->second.modified || fi.size() != it->second.size) {
            cache.removeDocument(path);
            docs.erase(it);
            return nullptr;
        }
    }
    it->second.lastUse = ++useClock;
    return &it->second;
}

void TWebBrowser::Impl::load(quint64 g)
{
    if (g != generation)
        return;
    const QString path = LocalPath(currentPath);
    QFile file(path);
    if (path.isEmpty() || QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        showError(QStringLiteral("Cannot open file %1").arg(Native(path)));
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
    const QByteArray bytes = head + file.readAll();
    const QString text = DecodeHtml(bytes);
    if (std::optional<EmbedTag> tag = ParseDjvuEmbed(text)) {
        if (!tag->src.isEmpty() && QFileInfo(tag->src).isRelative() && !tag->src.contains(u'\\'))
            tag->src = QFileInfo(path).absoluteDir().filePath(tag->src);
        showDjvu(*tag);
        return;
    }
    showHtml(path, text);
}

void TWebBrowser::Impl::showHtml(const QString& path, const QString& text)
{
    const QFileInfo fi(path);
    const QUrl url = QUrl::fromLocalFile(fi.absoluteFilePath());
    html->preload(url, text);
    html->setSearchPaths({fi.absolutePath()});
    if (html->source() == url)
        html->reload();   // setSource would keep the old text
    else
        html->setSource(url, QTextDocument::HtmlResource);
    if (!pendingAnchor.isEmpty())
        html->scrollToAnchor(std::exchange(pendingAnchor, QString()));
    image = QImage();
    documentPath.clear();
    pageIndex = -1;
    pageCount = 0;
    errorText.clear();
    hits.clear();
    state = State::Html;
    stack->setCurrentWidget(html);
    emit q->htmlShown();
}

void TWebBrowser::Impl::showDjvu(const EmbedTag& tag)
{
    documentPath = tag.src;
    zoom = ParseZoom(tag.zoom);
    toolbar->setVisible(tag.toolbar);
    area->setScrollBarsShown(tag.scrollBars);
    hits.clear();
    pendingAnchor.clear();
    if (documentPath.isEmpty()) {
        showError(QStringLiteral("Cannot open file %1").arg(QString()));
        return;
    }
    if (stack->currentWidget() != panel) {
        area->clearPage(TWebBrowser::tr("Loading\u2026"));
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
void TWebBrowser::Impl::requestPage(const QString& reference, int index, bool toTop)
{
    rerender->stop();
    const quint64 g = bump();
    if (showFromCache(reference, index, toTop))
        return;
    if (index != pageIndex || toTop)
        state = State::Loading;
    resetScrollOnArrival = toTop;
    PageRequest r;
    r.generation = g;
    r.path = documentPath;
    r.pageReference = reference;
    r.pageIndex = index;
    r.zoom = zoom;
    r.view = area->viewArea();
    QMetaObject::invokeMethod(worker, [w = worker, r] { w->show(r); }, Qt::QueuedConnection);
}

bool TWebBrowser::Impl::showFromCache(const QString& reference, int index, bool toTop)
{
    DocInfo* info = docInfo(documentPath, true);
    if (!info || info->pageCount <= 0)
        return false;
    const int i = index >= 0 ? index : ResolvePageReference(reference, info->pageCount, info->names);
    if (i >= info->pageCount)
        return false;
    const auto geometry = info->pages.constFind(i);
    if (geometry == info->pages.cend())
        return false;
    const RenderPlan p = PlanRender(geometry->size, geometry->dpi, zoom, area->viewArea());
    const QImage img = cache.find(RenderKey{documentPath, i, p.image});
    if (img.isNull())
        return false;
    present(documentPath, i, *info, img, p, toTop);
    return true;
}

void TWebBrowser::Impl::present(const QString& path, int index, const DocInfo& info, const QImage& img,
                                const RenderPlan& p, bool toTop)
{
    const bool samePage = path == documentPath && index == pageIndex && state != State::Error && !toTop;
    documentPath = path;
    pageIndex = index;
    pageCount = info.pageCount;
    image = img;
    plan = p;
    const PageGeometry geometry = info.pages.value(index);
    pageSize = geometry.size;
    dpi = geometry.dpi;
    errorText.clear();
    if (!samePage) {
        hits.clear();
        const auto t = info.texts.constFind(index);
        textKnown = t != info.texts.cend();
        text = textKnown ? *t : PageTextInfo();
        if (!textKnown)
            QMetaObject::invokeMethod(worker, [w = worker, path, index] { w->fetchText(path, index); },
                                      Qt::QueuedConnection);
    }
    state = State::Page;
    area->setPage(image, plan.display, pageSize, !samePage);
    area->setHighlights(hits);
    stack->setCurrentWidget(panel);
    updateToolbar();
    emit q->pageShown();
    if (findPending && textKnown)
        runFind();
    prefetchNeighbours();
}

void TWebBrowser::Impl::showError(const QString& message)
{
    rerender->stop();
    state = State::Error;
    errorText = message;
    image = QImage();
    pageIndex = -1;
    pageCount = 0;
    hits.clear();
    findPending = false;
    errorView->setText(message);
    stack->setCurrentWidget(errorView);
    emit q->loadFailed(message);
}

void TWebBrowser::Impl::onPageReady(const PageResult& r)
{
    if (r.error.isEmpty()) {
        DocInfo& info = docs[r.path];
        if (info.modified != r.modified || info.size != r.fileSize) {
            cache.removeDocument(r.path);
            info = DocInfo();
            info.modified = r.modified;
            info.size = r.fileSize;
        }
        info.pageCount = r.pageCount;
        info.names = r.pageNames;
        info.pages.insert(r.pageIndex, PageGeometry{r.pageSize, r.dpi});
        info.lastUse = ++useClock;
        cache.insert(RenderKey{r.path, r.pageIndex, r.image.size()}, r.image);
        while (docs.size() > kMaxDocInfos) {
            auto oldest = std::min_element(docs.begin(), docs.end(), [](const auto& a, const auto& b) {
                return a.second.lastUse < b.second.lastUse;
            });
            cache.removeDocument(oldest->first);
            docs.erase(oldest);
        }
    }
    if (r.generation == 0 || r.generation != generation)
        return;
    if (!r.error.isEmpty()) {
        showError(r.error);
        return;
    }
    present(r.path, r.pageIndex, docs[r.path], r.image, r.plan, resetScrollOnArrival);
}

void TWebBrowser::Impl::onTextReady(const TextResult& r)
{
    auto it = docs.find(r.path);
    if (it != docs.end() && r.pageIndex >= 0)
        it->second.texts.insert(r.pageIndex, PageTextInfo{r.hasText, r.words});
    if (r.path != documentPath || r.pageIndex != pageIndex || state != State::Page)
        return;
    textKnown = true;
    text = PageTextInfo{r.hasText, r.words};
    if (findPending)
        runFind();
}

void TWebBrowser::Impl::prefetchNeighbours()
{
    if (pageCount < 2 || pageIndex < 0)
        return;
    DocInfo* info = docInfo(documentPath, false);
    const ViewArea view = area->viewArea();
    for (const int i : {pageIndex + 1, pageIndex - 1}) {
        if (i < 0 || i >= pageCount)
            continue;
        if (info) {
            const auto geometry = info->pages.constFind(i);
            if (geometry != info->pages.cend()) {
                const RenderPlan p = PlanRender(geometry->size, geometry->dpi, zoom, view);
                if (cache.contains(RenderKey{documentPath, i, p.image}) && info->texts.contains(i))
                    continue;
            }
        }
        PageRequest r;
        r.path = documentPath;
        r.pageIndex = i;
        r.zoom = zoom;
        r.view = view;
        QMetaObject::invokeMethod(worker, [w = worker, r] { w->prefetch(r); }, Qt::QueuedConnection);
    }
}

void TWebBrowser::Impl::viewChanged()
{
    if (state != State::Page || pageSize.isEmpty())
        return;
    const RenderPlan p = PlanRender(pageSize, dpi, zoom, area->viewArea());
    if (p.image == plan.image)
        return;
    // Stretch what there is at once; the sharp page follows.
    area->setDisplaySize(p.display);
    rerender->start();
}

void TWebBrowser::Impl::updateToolbar()
{
    const QSignalBlocker block(pageBox);
    pageBox->setRange(1, std::max(1, pageCount));
    pageBox->setValue(pageIndex + 1);
    pageBox->setEnabled(pageCount > 1);
    pageTotal->setText(QStringLiteral("/ %1").arg(pageCount));
}

int TWebBrowser::Impl::runFind()
{
    findPending = false;
    hits.clear();
    int count = 0;
    if (!findQuery.isEmpty()) {
        const QList<QList<int>> matches = FindInWords(text.words, findQuery);
        for (const QList<int>& match : matches)
            for (int w : match)
                hits.append(text.words[w].box);
        count = int(matches.size());
    }
    area->setHighlights(hits);
    if (!hits.isEmpty())
        area->scrollToBox(hits.first());
    if (find) {
        if (findQuery.isEmpty())
            find->setStatus(QString());
        else if (!text.hasText)
            find->setStatus(TWebBrowser::tr("This page has no text layer"));
        else if (count == 0)
            find->setStatus(TWebBrowser::tr("Not found"));
        else
            find->setStatus(TWebBrowser::tr("%n found", nullptr, count));
    }
    return count;
}

void TWebBrowser::Impl::openFind()
{
    if (!find) {
        find = new FindDialog(q);
        QObject::connect(find, &FindDialog::searchRequested, q, [this](const QString& t) { q->findText(t); });
    }
    find->prepare();
    find->show();
    find->raise();
    find->activateWindow();
}

void TWebBrowser::Impl::followLink(const QUrl& link)
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

QScrollBar* TWebBrowser::Impl::activeScrollBar() const
{
    return stack->currentWidget() == html ? html->verticalScrollBar() : area->verticalScrollBar();
}

// ---------------------------------------------------------------- TWebBrowser

TWebBrowser::TWebBrowser(QWidget* parent)
    : QWidget(parent), d(std::make_unique<Impl>(this))
{
    d->build();
    d->startWorker();
}

TWebBrowser::~TWebBrowser()
{
    d->stopWorker();
    // Children go while the state their handlers use still exists.
    delete d->find.data();
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void TWebBrowser::Navigate(const QString& path)
{
    const quint64 g = d->bump();
    d->currentPath = path;
    d->pendingAnchor.clear();
    d->state = State::Loading;
    d->rerender->stop();
    QMetaObject::invokeMethod(this, [this, g] { d->load(g); }, Qt::QueuedConnection);
}

void TWebBrowser::Show(const PageViewRequest& request)
{
    const quint64 g = d->bump();
    d->currentPath = request.viewFile;
    d->pendingAnchor.clear();
    d->state = State::Loading;
    d->rerender->stop();
    QMetaObject::invokeMethod(this, [this, g, tag = TagForRequest(request)] {
        if (g == d->generation)
            d->showDjvu(tag);
    }, Qt::QueuedConnection);
}

TWebBrowser::State TWebBrowser::state() const { return d->state; }
QString TWebBrowser::currentPath() const { return d->currentPath; }
QString TWebBrowser::errorText() const { return d->errorText; }
QString TWebBrowser::documentPath() const { return d->documentPath; }
int TWebBrowser::pageIndex() const { return d->pageIndex; }
int TWebBrowser::pageCount() const { return d->pageCount; }

QWidget* TWebBrowser::pageWindow() const
{
    return d->stack->currentWidget() == d->html ? d->html->viewport() : d->area->viewport();
}

int TWebBrowser::scrollPosition() const { return d->activeScrollBar()->value(); }
int TWebBrowser::scrollMaximum() const { return d->activeScrollBar()->maximum(); }

QImage TWebBrowser::pageImage() const { return d->image; }

QList<QRect> TWebBrowser::highlights() const
{
    QList<QRect> out;
    if (d->image.isNull() || d->pageSize.isEmpty())
        return out;
    const double sx = double(d->image.width()) / d->pageSize.width();
    const double sy = double(d->image.height()) / d->pageSize.height();
    for (const QRect& r : d->hits) {
        const QPoint tl(int(std::floor(r.left() * sx)), int(std::floor(r.top() * sy)));
        const QPoint br(int(std::ceil((r.right() + 1) * sx)) - 1, int(std::ceil((r.bottom() + 1) * sy)) - 1);
        out.append(QRect(tl, br));
    }
    return out;
}

int TWebBrowser::findText(const QString& text)
{
    d->findQuery = text.simplified();
    if (d->state != State::Page && d->state != State::Loading) {
        d->hits.clear();
        return 0;
    }
    if (d->state == State::Loading || !d->textKnown) {
        d->findPending = true;
        if (d->find)
            d->find->setStatus(tr("Searching\u2026"));
        return -1;
    }
    return d->runFind();
}

QWidget* TWebBrowser::findDialog() const { return d->find; }

void TWebBrowser::setZoom(const QString& zoom)
{
    d->zoom = ParseZoom(zoom);
    if (d->state == State::Page)
        d->requestPage(QString(), d->pageIndex, false);
}

void TWebBrowser::goToPage(int index)
{
    if (d->documentPath.isEmpty() || index < 0 || (d->pageCount > 0 && index >= d->pageCount))
        return;
    if (index == d->pageIndex && d->state == State::Page)
        return;
    d->requestPage(QString(), index, true);
}

QWidget* TWebBrowser::toolBar() const { return d->toolbar; }

bool TWebBrowser::isPageReady(int index) const
{
    const auto it = d->docs.find(d->documentPath);
    if (it == d->docs.end())
        return false;
    const auto geometry = it->second.pages.constFind(index);
    if (geometry == it->second.pages.cend() || !it->second.texts.contains(index))
        return false;
    const RenderPlan p = PlanRender(geometry->size, geometry->dpi, d->zoom, d->area->viewArea());
    return d->cache.contains(RenderKey{d->documentPath, index, p.image});
}

bool TWebBrowser::event(QEvent* event)
{
    if (event->type() == ScrollRequestEvent::eventType()) {
        const int code = static_cast<ScrollRequestEvent*>(event)->code();
        if (d->stack->currentWidget() == d->html) {
            QScrollBar* v = d->html->verticalScrollBar();
            const QAbstractSlider::SliderAction actions[] = {
                QAbstractSlider::SliderSingleStepSub, QAbstractSlider::SliderSingleStepAdd,
                QAbstractSlider::SliderPageStepSub, QAbstractSlider::SliderPageStepAdd};
            if (code >= 0 && code < 4)
                v->triggerAction(actions[code]);
        } else {
            d->area->scrollRequest(code);
        }
        return true;
    }
    return QWidget::event(event);
}

bool TWebBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == ScrollRequestEvent::eventType() && watched != this) {
        // Whatever widget of the view was hit, the view scrolls.
        TWebBrowser::event(event);
        return true;
    }
    // Keys that the page's widgets leave alone reach the page area or the
    // panel around it; the F key there opens the Find dialog.
    if (event->type() == QEvent::KeyPress
        && (watched == d->area || watched == d->area->viewport() || watched == d->panel)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const auto mods = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (key->key() == Qt::Key_F && mods == Qt::NoModifier) {
            d->openFind();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lexifol
