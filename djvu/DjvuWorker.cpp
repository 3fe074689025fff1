#include "djvu/DjvuWorker.h"
#include "djvu/Components.h"
#include "djvu/Context.h"
#include "djvu/RunningHead.h"
#include "djvu/TextHelper.h"
#include "djvu/TextLayerParse.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <libdjvu/ddjvuapi.h>
#include <libdjvu/miniexp.h>

#include <algorithm>

namespace lexifol::djvu {

namespace {

// Waiting jobs are looked at this often: DjVuLibre may finish a decoding
// without a message to wake us (about one load in ten here), and every
// millisecond of that is a millisecond before the page shows. Only runs
// while a job waits.
constexpr int kPollMs = 4;
// A job that makes no progress for this long is given up rather than left
// blocking the queue.
constexpr qint64 kJobTimeoutMs = 30000;
// How long a page someone waits for is waited for on this thread before
// the event loop takes over again.
constexpr qint64 kBlockMs = 50;

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

DjvuWorker::DjvuWorker(std::shared_ptr<std::atomic<quint64>> latestGeneration)
    : latest_(std::move(latestGeneration))
{
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, [this] {
        pump();
        step();
    });
}

DjvuWorker::~DjvuWorker()
{
    shutdown();
}

void DjvuWorker::OnMessage(ddjvu_context_t*, void* closure)
{
    // Called on a decoder thread with the context locked: only queue a pump.
    auto* self = static_cast<DjvuWorker*>(closure);
    {
        std::lock_guard lock(self->messageMutex_);
        ++self->messages_;
    }
    self->messageArrived_.notify_one();
    if (!self->pumpPosted_.exchange(true)) {
        QMetaObject::invokeMethod(
            self,
            [self] {
                self->pumpPosted_ = false;
                self->pump();
                self->step();
            },
            Qt::QueuedConnection);
    }
}

void DjvuWorker::ensureContext()
{
    if (ctx_)
        return;
    ctx_.reset(ddjvu_context_create("lexifol"));
    if (!ctx_)
        return;
    ddjvu_message_set_callback(ctx_.get(), &DjvuWorker::OnMessage, this);
    static const unsigned int masks[4] = {0xff0000, 0xff00, 0xff, 0xff000000};
    format_.reset(ddjvu_format_create(DDJVU_FORMAT_RGBMASK32, 4, const_cast<unsigned int*>(masks)));
    ddjvu_format_set_row_order(format_.get(), 1);
    ddjvu_format_set_y_direction(format_.get(), 1);
}

void DjvuWorker::warmUp()
{
    ensureContext();
}

void DjvuWorker::shutdown()
{
    jobs_.clear();
    if (poll_)
        poll_->stop();
    if (!ctx_)
        return;
    // After this returns no decoder thread can be inside the callback.
    ddjvu_message_set_callback(ctx_.get(), nullptr, nullptr);
    // Pages before their documents, documents before the context.
    pages_.clear();
    docs_.clear();
    while (ddjvu_message_peek(ctx_.get()))
        ddjvu_message_pop(ctx_.get());
    {
        std::lock_guard lock(messageMutex_);
        taken_ = messages_; // a context made again starts even
    }
    format_.reset();
    ctx_.reset();
}

void DjvuWorker::show(const PageRequest& request)
{
    // A new page makes earlier prefetches of other pages pointless.
    std::erase_if(jobs_, [](const Job& j) { return j.kind == Kind::Prefetch && !j.rendered; });
    Job job;
    job.kind = Kind::Show;
    job.request = request;
    job.idle.start();
    jobs_.push_back(std::move(job));
    step();
}

void DjvuWorker::prefetch(const PageRequest& request)
{
    for (const Job& j : jobs_)
        if (j.kind == Kind::Prefetch && j.request.path == request.path && j.request.pageIndex == request.pageIndex
            && j.request.pageReference == request.pageReference && j.request.view.size == request.view.size
            && j.request.zoom == request.zoom)
            return;
    Job job;
    job.kind = Kind::Prefetch;
    job.request = request;
    job.request.generation = 0;
    job.idle.start();
    jobs_.push_back(std::move(job));
    step();
}

void DjvuWorker::fetchText(const QString& path, int pageIndex)
{
    Job job;
    job.kind = Kind::Text;
    job.request.path = path;
    job.request.pageIndex = pageIndex;
    job.rendered = true;
    job.idle.start();
    jobs_.push_back(std::move(job));
    step();
}

void DjvuWorker::pump()
{
    if (!ctx_)
        return;
    quint64 known = 0;
    {
        std::lock_guard lock(messageMutex_);
        known = messages_;
    }
    // Messages posted meanwhile bring another pump.
    TakeMessages(ctx_.get(), known, taken_, [this](const ddjvu_message_t& m) {
        if (m.m_any.document)
            noteActivity(m.m_any.document, &m);
    });
}

// A message about a document is progress for every job waiting on it.
void DjvuWorker::noteActivity(ddjvu_document_t* document, const ddjvu_message_t* m)
{
    for (auto& [path, doc] : docs_) {
        if (doc->doc.get() != document)
            continue;
        if (m->m_any.tag == DDJVU_ERROR && m->m_error.message)
            doc->lastError = QString::fromUtf8(m->m_error.message).trimmed();
        for (Job& job : jobs_)
            if (job.request.path == path)
                job.idle.restart();
        return;
    }
}

void DjvuWorker::step()
{
    // Text waiting for the helper process does not hold up the pages.
    for (Job& j : jobs_)
        j.waitingText = false;
    bool anyWaiting = false;
    while (true) {
        const quint64 latest = latest_->load();
        std::erase_if(jobs_, [latest](const Job& j) {
            return j.kind == Kind::Show && !j.rendered && j.request.generation < latest;
        });
        // Order: the page to show, then text, then prefetches.
        auto pick = std::find_if(jobs_.begin(), jobs_.end(),
                                 [](const Job& j) { return j.kind == Kind::Show && !j.rendered; });
        if (pick == jobs_.end())
            pick = std::find_if(jobs_.begin(), jobs_.end(), [](const Job& j) { return j.rendered && !j.waitingText; });
        if (pick == jobs_.end())
            pick = std::find_if(jobs_.begin(), jobs_.end(), [](const Job& j) { return !j.waitingText; });
        if (pick == jobs_.end()) {
            if (!anyWaiting)
                poll_->stop();
            else if (!poll_->isActive())
                poll_->start();
            return;
        }
        const bool text = pick->rendered || pick->kind == Kind::Text;
        if (advance(*pick) == Progress::Wait) {
            if (text && !TextHelperProgram().isEmpty() && pick->idle.elapsed() <= kJobTimeoutMs) {
                pick->waitingText = anyWaiting = true;
                continue;
            }
            if (pick->idle.elapsed() > kJobTimeoutMs) {
                fail(*pick, QStringLiteral("Cannot decode file %1").arg(Native(pick->request.path)));
                releaseDocument(pick->request.path);
                jobs_.erase(pick);
                continue;
            }
            if (!poll_->isActive())
                poll_->start();
            return;
        }
        jobs_.erase(pick);
    }
}

void DjvuWorker::fail(const Job& job, const QString& message)
{
    if (job.rendered) {
        // The page went out already (or only text was asked for): report
        // the text as absent so that nobody waits for it.
        TextResult text;
        text.path = job.request.path;
        text.pageIndex = job.request.pageIndex;
        emit textReady(text);
        return;
    }
    PageResult result;
    result.generation = job.request.generation;
    result.path = job.request.path;
    result.pageIndex = job.request.pageIndex;
    result.error = message;
    emit pageReady(result);
}

DjvuWorker::Progress DjvuWorker::advance(Job& job)
{
    QString error;
    Doc* doc = openDocument(job, &error);
    if (!doc) {
        fail(job, error);
        return Progress::Done;
    }
    ddjvu_document_t* handle = doc->doc.get();
    waitForDecoding(job, [handle] { return ddjvu_document_decoding_status(handle) >= DDJVU_JOB_OK; });
    const ddjvu_status_t docStatus = ddjvu_document_decoding_status(handle);
    if (docStatus < DDJVU_JOB_OK)
        return Progress::Wait;
    if (docStatus >= DDJVU_JOB_FAILED) {
        QString message = QStringLiteral("Cannot decode file %1").arg(Native(doc->path));
        if (!doc->lastError.isEmpty())
            message += QStringLiteral("\n(") + doc->lastError + u')';
        fail(job, message);
        // Opened again next time: the file may be repaired by then.
        releaseDocument(doc->path);
        return Progress::Done;
    }
    if (!doc->componentsChecked) {
        doc->componentsChecked = true;
        doc->refusal = ComponentRefusal(handle, doc->path);
    }
    if (!doc->refusal.isEmpty()) {
        fail(job, doc->refusal);
        releaseDocument(doc->path);
        return Progress::Done;
    }
    if (job.rendered)
        return advanceText(job, *doc);

    const int count = ddjvu_document_get_pagenum(doc->doc.get());
    if (count <= 0) {
        fail(job, QStringLiteral("Cannot decode file %1").arg(Native(doc->path)));
        return Progress::Done;
    }
    readNames(*doc);
    PageRequest& r = job.request;
    if (r.pageIndex < 0) {
        r.pageIndex = ResolvePageReference(r.pageReference, count, doc->names);
        if (r.pageIndex < 0) {
            fail(job,
                 QStringLiteral("Page %1 is not in %2 (%3 pages)")
                     .arg(r.pageReference.trimmed(), QFileInfo(doc->path).fileName())
                     .arg(count));
            return Progress::Done;
        }
    }
    if (r.pageIndex >= count) {
        fail(job, QStringLiteral("There is no page %1 in %2").arg(r.pageIndex + 1).arg(Native(doc->path)));
        return Progress::Done;
    }
    ddjvu_page_t* page = pageFor(*doc, r.pageIndex);
    if (page)
        waitForDecoding(job, [page] { return ddjvu_page_decoding_status(page) >= DDJVU_JOB_OK; });
    const ddjvu_status_t pageStatus = page ? ddjvu_page_decoding_status(page) : DDJVU_JOB_FAILED;
    if (pageStatus < DDJVU_JOB_OK)
        return Progress::Wait;
    if (pageStatus >= DDJVU_JOB_FAILED || ddjvu_page_get_width(page) <= 0 || ddjvu_page_get_height(page) <= 0) {
        fail(job, QStringLiteral("Cannot decode page %1 of %2").arg(r.pageIndex + 1).arg(Native(doc->path)));
        return Progress::Done;
    }

    if (!render(job, *doc, page, count))
        return Progress::Done;
    job.rendered = true;
    job.idle.restart();
    return advanceText(job, *doc);
}

// For a page someone waits for, DjVuLibre's messages are waited for here,
// as its own callers wait for them, rather than each through the event
// loop, which took 0.1 to 0.3 ms a message longer. Gives up after a while,
// or as soon as a newer page is asked for; the event loop then takes over.
void DjvuWorker::waitForDecoding(const Job& job, const std::function<bool()>& ready)
{
    if (job.kind != Kind::Show || job.rendered)
        return;
    QElapsedTimer waited;
    waited.start();
    quint64 seen = 0;
    {
        std::lock_guard lock(messageMutex_);
        seen = messages_;
    }
    while (!ready()) {
        if (waited.elapsed() >= kBlockMs || latest_->load() > job.request.generation)
            return;
        {
            std::unique_lock lock(messageMutex_);
            // A decoding may end without a message: look again soon.
            messageArrived_.wait_for(lock, std::chrono::milliseconds(1), [&] { return messages_ != seen; });
            seen = messages_;
        }
        pump();
    }
}

DjvuWorker::Progress DjvuWorker::advanceText(Job& job, Doc& doc)
{
    const int index = job.request.pageIndex;
    const int count = ddjvu_document_get_pagenum(doc.doc.get());
    if (index < 0 || index >= count) {
        fail(job, QString());
        return Progress::Done;
    }
    ddjvu_pageinfo_t info;
    const ddjvu_status_t infoStatus = ddjvu_document_get_pageinfo(doc.doc.get(), index, &info);
    if (infoStatus < DDJVU_JOB_OK)
        return Progress::Wait;
    TextResult result;
    result.path = doc.path;
    result.pageIndex = index;
    TextLayer layer;
    miniexp_t text = miniexp_nil;
    if (!TextHelperProgram().isEmpty()) {
        // Read where a hostile layer cannot take the window down.
        std::optional<Result<TextLayer>> read = PollPageText(doc.path, index, false);
        if (!read)
            return Progress::Wait;
        if (*read)
            layer = std::move(read->value());
    } else {
        text = ddjvu_document_get_pagetext(doc.doc.get(), index, "word");
        if (text == miniexp_dummy)
            return Progress::Wait;
        layer = ParseTextLayer(text, infoStatus == DDJVU_JOB_OK ? info.rotation : 0);
    }
    result.hasText = layer.present;
    result.runningHead = RunningHeadWords(layer);
    result.articleStart = ArticleStartWords(layer);
    result.words = std::move(layer.words);
    result.lines = std::move(layer.lines);
    if (text != miniexp_nil)
        ddjvu_miniexp_release(doc.doc.get(), text);
    emit textReady(result);
    return Progress::Done;
}

void DjvuThread::run()
{
    exec();
    worker_->shutdown();
    delete worker_;
    worker_ = nullptr;
}

} // namespace lexifol::djvu
