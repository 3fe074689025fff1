#pragma once
// The DjVu side of the page view. One thread owns the ddjvu context and every
// document and page made from it; requests reach it as queued calls and
// results leave it as queued signals, so nothing DjVu is touched elsewhere.
#include "djvu/DjvuHandles.h"
#include "djvu/PageLayout.h"
#include "djvu/PageText.h"
#include "djvu/TextLayer.h"
#include "djvu/RenderRows.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace lexifol::djvu {

struct PageRequest {
    quint64 generation = 0; // 0: a prefetch, never shown by itself
    QString path;
    QString pageReference; // used while pageIndex < 0
    int pageIndex = -1;
    ZoomSetting zoom;
    ViewArea view;
    int visibleTop = 0;  // display pixels: the top of the view on the page
    bool column = false; // for a column of pages: not kept once out of sight
};

struct PageResult {
    quint64 generation = 0;
    QString path;
    QDateTime modified;
    qint64 fileSize = -1;
    int pageIndex = -1;
    int pageCount = 0;
    QHash<QString, int> pageNames; // page ids, names and titles
    QStringList pageTitles;        // the titles alone, by page; empty: none
    QSize pageSize;                // as displayed (orientation applied), full resolution
    int dpi = 0;
    RenderPlan plan;
    QImage image;
    bool partial = false; // only the part in view is drawn yet
    // After a partial result: `image` holds the other rows only, those
    // above the part in view and then those below it.
    int restOfTop = -1, restOfHeight = 0;
    QString error;       // set when nothing could be shown
    bool column = false; // as asked
};

struct TextResult {
    QString path;
    int pageIndex = -1;
    bool hasText = false;
    QList<PageWord> words; // boxes in displayed page pixels
    QList<TextLine> lines;
    QList<bool> runningHead;  // for each word: in the running head
    QList<bool> articleStart; // for each word: the first of an article
};

class DjvuWorker : public QObject
{
    Q_OBJECT
public:
    explicit DjvuWorker(std::shared_ptr<std::atomic<quint64>> latestGeneration);
    ~DjvuWorker() override;

    // All of these run on the worker thread.
    void warmUp();
    void show(const PageRequest& request);     // superseded by a newer generation
    void prefetch(const PageRequest& request); // dropped by the next show
    void fetchText(const QString& path, int pageIndex);
    void shutdown();

signals:
    void pageReady(const lexifol::djvu::PageResult& result);
    void textReady(const lexifol::djvu::TextResult& result);

private:
    struct Doc {
        QString path;
        DjvuHandle<ddjvu_document_t> doc;
        QDateTime modified;
        qint64 size = -1;
        QString lastError;
        QHash<QString, int> names;
        QStringList titles;
        bool namesRead = false;
        bool componentsChecked = false;
        QString refusal; // a part that is no regular file
        quint64 lastUse = 0;
    };
    struct PageSlot {
        DjvuHandle<ddjvu_page_t> page;
        quint64 lastUse = 0;
    };
    enum class Kind { Show, Prefetch, Text };
    enum class Progress { Done, Wait };
    struct Job {
        Kind kind = Kind::Show;
        PageRequest request;
        bool rendered = false; // in its text phase
        bool fileChecked = false;
        bool waitingText = false; // for the helper, in this step
        QElapsedTimer idle;       // since the job, or its document, last moved on
    };

    static void OnMessage(ddjvu_context_t* ctx, void* closure);
    void ensureContext();
    void pump();
    void step();
    void noteActivity(ddjvu_document_t* document, const ddjvu_message_t* m);
    Progress advance(Job& job);
    void waitForDecoding(const Job& job, const std::function<bool()>& ready);
    Progress advanceText(Job& job, Doc& doc);
    bool render(Job& job, Doc& doc, ddjvu_page_t* page, int count);
    void send(const PageResult& result);
    void renderRows(ddjvu_page_t* page, QSize size, QImage& target, int top, int from, int rows);
    Doc* openDocument(Job& job, QString* error);
    void releaseDocument(const QString& path);
    ddjvu_page_t* pageFor(Doc& doc, int index);
    void readNames(Doc& doc);
    void fail(const Job& job, const QString& message);
    void trimCaches();

    std::shared_ptr<std::atomic<quint64>> latest_;
    std::atomic<bool> pumpPosted_{false};
    std::mutex messageMutex_;
    std::condition_variable messageArrived_;
    quint64 messages_ = 0;         // guarded by messageMutex_
    unsigned long long taken_ = 0; // messages popped, on the worker thread
    DjvuHandle<ddjvu_context_t> ctx_;
    DjvuHandle<ddjvu_format_t> format_;
    std::map<QString, std::unique_ptr<Doc>> docs_;
    std::map<std::pair<QString, int>, PageSlot> pages_;
    std::deque<Job> jobs_;
    QHash<QString, std::pair<QDateTime, qint64>> stamps_; // every file opened
    quint64 useClock_ = 0;
    class QTimer* poll_ = nullptr;
    std::atomic<bool> stopPreparing_{false};
    RenderHelper helper_; // last: its thread ends before the rest goes
};

// Runs the worker's event loop and, when that ends, frees every DjVu object on
// the same thread that made it.
class DjvuThread : public QThread
{
public:
    explicit DjvuThread(DjvuWorker* worker)
        : worker_(worker)
    { }

protected:
    void run() override;

private:
    DjvuWorker* worker_;
};

} // namespace lexifol::djvu

Q_DECLARE_METATYPE(lexifol::djvu::PageResult)
Q_DECLARE_METATYPE(lexifol::djvu::TextResult)
