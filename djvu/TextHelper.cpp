#include "djvu/TextHelper.h"

#include "djvu/Document.h"
#include "djvu/TextReply.h"
#include "djvu/TextRequests.h"

#include <QElapsedTimer>
#include <QDateTime>
#include <QFileInfo>
#include <QIODevice>
#include <QProcess>
#include <QHash>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <array>

#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace lexifol::djvu {

namespace {

// A page's text is read in well under a second; a helper that takes this
// long is stuck or swapping, and the page is given up.
constexpr int kPageMs = 20000;

std::mutex g_programMutex;
QString g_program;
bool g_inHelper = false; // the helper reads its pages itself

enum class Kind : char { Layer = 'L', Plain = 'P', Count = 'N' };

QString Stamp(const QString& path)
{
    const QFileInfo file(path);
    return QStringLiteral("%1|%2").arg(file.size()).arg(file.lastModified().toMSecsSinceEpoch());
}

QByteArray Answer(Kind kind, bool asStored, int page, const QString& path)
{
    // The last document stays open for the next page, unless it changed.
    static std::unique_ptr<Document> doc;
    static QString stamp;
    const QString now = Stamp(path);
    if (!doc || doc->path() != path || stamp != now) {
        doc.reset();
        stamp = now;
        // A count comes from a reader about to go through the document, plain
        // text from the search indexer going through it: both read the
        // file once. A page asked alone (a viewer's) reads it by name.
        OpenLimits limits;
        limits.readWhole = kind == Kind::Count || kind == Kind::Plain;
        auto opened = Document::open(path, limits);
        if (!opened)
            return QByteArray(1, '\0') + opened.error().toUtf8();
        doc = std::move(opened.value());
    }
    if (kind == Kind::Count)
        return 'N' + QByteArray::number(doc->pageCount());
    if (kind == Kind::Plain) {
        const Result<QString> text = doc->pagePlainText(page);
        if (!text)
            return QByteArray(1, '\0') + text.error().toUtf8();
        return EncodePlainText(text.value());
    }
    const Result<TextLayer> layer = doc->pageText(page, asStored);
    if (!layer)
        return QByteArray(1, '\0') + layer.error().toUtf8();
    return EncodeTextLayer(layer.value());
}

// A request: "L|P TAB asStored TAB page TAB path" on a line.
QByteArray Request(Kind kind, bool asStored, int page, const QString& path)
{
    return QByteArray(1, char(kind)) + '\t' + (asStored ? '1' : '0') + '\t' + QByteArray::number(page) + '\t'
        + path.toUtf8() + '\n';
}

// The helpers of one thread: requests out in order, their answers in, in
// the same order. A reader going through a document asks for the pages
// after the one it wants too, so that the helpers are never idle waiting;
// those pages are shared between two helpers, one per core, each answering
// its own in order.
class Client
{
public:
    Client() = default;
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;
    // A helper ends when its input closes; one that does not is ended.
    ~Client()
    {
        for (Helper& h : helpers_) {
            if (!h.process)
                continue;
            h.process->closeWriteChannel();
            if (!h.process->waitForFinished(2000)) {
                h.process->kill();
                h.process->waitForFinished(1000);
            }
        }
    }
    bool inFlight(const QByteArray& request) const
    {
        return std::any_of(queue_.begin(), queue_.end(), [&](const Asked& a) { return a.request == request; });
    }
    bool idle() const { return queue_.empty(); }
    static int helpers()
    {
        static const int count = QThread::idealThreadCount() > 1 ? 2 : 1;
        return count;
    }

    void send(const QByteArray& request, const QString& program)
    {
        const int which = pick();
        Helper& h = helpers_[which];
        if (queue_.empty())
            sent_.start();
        // A helper that died with requests unanswered is not started again
        // here: a new one would answer in the dead one's place. The oldest
        // of them is told failed when it is taken, and the rest asked again.
        if (dead(h)) {
            queue_.push_back({request, which});
            ++h.waiting;
            return;
        }
        if (!h.process || h.process->state() == QProcess::NotRunning)
            start(h, program);
        queue_.push_back({request, which});
        ++h.waiting;
        h.process->write(request);
        // Written now, not when this helper is next waited on.
        h.process->waitForBytesWritten(0);
    }

    // The oldest request's answer (a failure when its helper died on it)
    // once it has all come, waiting up to `waitMs`; nothing yet.
    std::optional<std::pair<QByteArray, Result<QByteArray>>> take(int waitMs)
    {
        QElapsedTimer waited;
        waited.start();
        while (!queue_.empty()) {
            Helper& h = helpers_[queue_.front().helper];
            h.reply += h.process->readAll();
            const quint32 size = h.reply.size() >= 4 ? qFromBigEndian<quint32>(h.reply.constData()) : 0;
            if (h.reply.size() >= 4 && h.reply.size() >= 4 + qsizetype(size)) {
                const QByteArray answer = h.reply.mid(4, size);
                h.reply.remove(0, 4 + size);
                --h.waiting;
                sent_.start();
                return std::pair{PopFront(), Result<QByteArray>(answer)};
            }
            if (h.process->state() == QProcess::NotRunning || sent_.elapsed() > kPageMs)
                return failed();
            drainOthers(h);
            const int left = waitMs - int(waited.elapsed());
            if (!h.process->waitForReadyRead(std::max(0, left)) && left <= 0
                && h.process->state() != QProcess::NotRunning)
                return std::nullopt;
        }
        return std::nullopt;
    }

private:
    struct Helper {
        std::unique_ptr<QProcess> process;
        QByteArray reply;
        int waiting = 0;
    };
    struct Asked {
        QByteArray request;
        int helper;
    };

    static bool dead(const Helper& h)
    {
        return h.waiting > 0 && (!h.process || h.process->state() == QProcess::NotRunning);
    }

    // The first helper unless it is busy; then the one with less to do; a
    // dead one only when both are.
    int pick() const
    {
        if (helpers() == 1 || dead(helpers_[1]))
            return 0;
        if (dead(helpers_[0]))
            return 1;
        if (helpers_[0].waiting == 0)
            return 0;
        return helpers_[1].waiting < helpers_[0].waiting ? 1 : 0;
    }

    static void start(Helper& h, const QString& program)
    {
        h.process = std::make_unique<QProcess>();
        h.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
#if defined(Q_OS_UNIX) && !defined(LEXIFOL_SANITIZE)
        // A layer that would need more memory than any dictionary page is refused.
        h.process->setChildProcessModifier([] {
            const rlimit limit{rlim_t(4) << 30, rlim_t(4) << 30};
            ::setrlimit(RLIMIT_AS, &limit);
        });
#endif
        h.process->start(program, {QString::fromLatin1(kTextHelperArgument)});
        h.reply.clear();
        h.waiting = 0;
    }

    // What the other helper wrote meanwhile is taken off its pipe, so that
    // it is not stopped on a full pipe while this one is waited for.
    void drainOthers(const Helper& waitedFor)
    {
        for (Helper& other : helpers_)
            if (&other != &waitedFor && other.waiting > 0 && other.process) {
                other.process->waitForReadyRead(0);
                other.reply += other.process->readAll();
            }
    }

    QByteArray PopFront()
    {
        QByteArray front = queue_.front().request;
        queue_.pop_front();
        return front;
    }
    // The page a helper failed on is told; those asked after it are lost
    // with the helpers and asked again.
    std::pair<QByteArray, Result<QByteArray>> failed()
    {
        for (Helper& h : helpers_)
            if (h.process) {
                h.process->kill();
                h.process->waitForFinished(1000);
                h.process.reset();
                h.reply.clear();
                h.waiting = 0;
            }
        const QByteArray front = PopFront();
        queue_.clear();
        const int page = front.split('\t').value(2).toInt();
        return {front,
                Status::failure(
                    QStringLiteral("The text of page %1 cannot be read: it made the reader fail").arg(page + 1))};
    }
    std::array<Helper, 2> helpers_;
    std::deque<Asked> queue_;
    QElapsedTimer sent_;
};

thread_local Client t_client;
// Answers that came for pages asked ahead, by request; one document's.
thread_local QHash<QByteArray, Result<QByteArray>> t_ahead;
thread_local QString t_aheadPath;

// How many pages after the one asked are asked for at once.
constexpr int kAhead = 8;

Result<QByteArray> Checked(Result<QByteArray> reply, int page)
{
    if (reply && (reply->isEmpty() || reply->front() == '\0'))
        return Status::failure(reply->isEmpty() ? QStringLiteral("The text of page %1 cannot be read").arg(page + 1)
                                                : QString::fromUtf8(reply->mid(1)));
    return reply;
}

// Keeps an answer that came, when it is of the document being read.
void KeepAhead(const QByteArray& request, const Result<QByteArray>& answer)
{
    if (request.endsWith(t_aheadPath.toUtf8() + '\n'))
        t_ahead.insert(request, answer);
}

Result<QByteArray> TakeAhead(const QByteArray& request)
{
    const auto it = t_ahead.find(request);
    Result<QByteArray> answer = it.value();
    t_ahead.erase(it);
    return answer;
}

Result<QByteArray> Ask(Kind kind, bool asStored, int page, const QString& path, int copies = 1)
{
    if (path.contains(u'\n'))
        return Status::failure(QStringLiteral("The text of page %1 cannot be read").arg(page + 1));
    if (t_aheadPath != path)
        t_ahead.clear(), t_aheadPath = path;
    const QByteArray request = Request(kind, asStored, page, path);
    const QString program = TextHelperProgram();
    static thread_local QByteArray lastRequest;
    const bool sequential = lastRequest == Request(kind, asStored, page - 1, path);
    lastRequest = request;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!t_ahead.contains(request) && !t_client.inFlight(request))
            for (int copy = 0; copy < std::min(copies, t_client.helpers()); ++copy)
                t_client.send(request, program);
        // Pages ahead only for a reader going through the document page
        // after page, not for one picking pages here and there.
        for (int next = page + 1; sequential && next <= page + kAhead; ++next)
            if (const QByteArray r = Request(kind, asStored, next, path); !t_ahead.contains(r) && !t_client.inFlight(r))
                t_client.send(r, program);
        while (!t_ahead.contains(request) && !t_client.idle())
            if (auto got = t_client.take(kPageMs))
                KeepAhead(got->first, got->second);
        if (t_ahead.contains(request))
            return Checked(TakeAhead(request), page);
    }
    return Status::failure(QStringLiteral("The text of page %1 cannot be read").arg(page + 1));
}

} // namespace

int RunTextHelper()
{
    {
        const std::lock_guard lock(g_programMutex);
        g_inHelper = true;
    }
    // While no request waits, the page after the one asked is read: a
    // caller that reads a document through asks for it next. A caller that
    // asks ahead itself keeps a request waiting, and nothing is read in vain.
    QByteArray aheadRequest, ahead, line;
    QString aheadStamp;
    RequestReader requests;
    while (requests.next(line)) {
        QList<QByteArray> f = line.chopped(1).split('\t');
        while (f.size() > 4) // a tab in the path
            f[3] += '\t' + f.takeAt(4);
        const bool valid = f.size() == 4 && f[0].size() == 1;
        const QString path = valid ? QString::fromUtf8(f[3]) : QString();
        const Kind kind = valid ? Kind(f[0].at(0)) : Kind::Layer;
        const int page = valid ? f[2].toInt() : 0;
        QByteArray answer = !valid                              ? QByteArray(1, '\0') + "a request it could not read"
            : line == aheadRequest && aheadStamp == Stamp(path) ? ahead
                                                                : Answer(kind, f[1] == "1", page, path);
        uchar size[4];
        qToBigEndian<quint32>(quint32(answer.size()), size);
        if (std::fwrite(size, 1, 4, stdout) != 4
            || std::fwrite(answer.constData(), 1, answer.size(), stdout) != size_t(answer.size())
            || std::fflush(stdout) != 0)
            return 1;
        aheadRequest.clear();
        if (valid && kind != Kind::Count && !requests.waiting()) {
            aheadRequest = Request(kind, f[1] == "1", page + 1, path);
            aheadStamp = Stamp(path);
            ahead = Answer(kind, f[1] == "1", page + 1, path);
        }
    }
    return 0;
}

void SetTextHelperProgram(const QString& program)
{
    const std::lock_guard lock(g_programMutex);
    g_program = program;
}

QString TextHelperProgram()
{
    const std::lock_guard lock(g_programMutex);
    // "0": read in the process (to measure the helper's cost).
    if (g_inHelper || qEnvironmentVariable("LEXIFOL_TEXT_HELPER") == u"0")
        return {};
    if (g_program.isEmpty())
        g_program = qEnvironmentVariable("LEXIFOL_TEXT_HELPER");
    return g_program;
}

Result<TextLayer> ReadPageText(const QString& path, int page, bool asStored)
{
    const Result<QByteArray> reply = Ask(Kind::Layer, asStored, page, path);
    if (!reply)
        return Status::failure(reply.error());
    std::optional<TextLayer> layer = DecodeTextLayer(reply.value());
    if (!layer)
        return Status::failure(QStringLiteral("The text of page %1 cannot be read").arg(page + 1));
    return std::move(*layer);
}

std::optional<Result<TextLayer>> PollPageText(const QString& path, int page, bool asStored)
{
    if (path.contains(u'\n'))
        return Result<TextLayer>(Status::failure(QStringLiteral("The text of page %1 cannot be read").arg(page + 1)));
    if (t_aheadPath != path)
        t_ahead.clear(), t_aheadPath = path;
    const QByteArray request = Request(Kind::Layer, asStored, page, path);
    // One page at a time: answers to pages no one waits for any more are let go.
    while (!t_ahead.contains(request)) {
        if (t_client.idle()) {
            t_client.send(request, TextHelperProgram());
            continue;
        }
        auto got = t_client.take(0);
        if (!got)
            return std::nullopt;
        KeepAhead(got->first, got->second);
    }
    const Result<QByteArray> checked = Checked(TakeAhead(request), page);
    if (!checked)
        return Result<TextLayer>(Status::failure(checked.error()));
    std::optional<TextLayer> layer = DecodeTextLayer(checked.value());
    if (!layer)
        return Result<TextLayer>(Status::failure(QStringLiteral("The text of page %1 cannot be read").arg(page + 1)));
    return Result<TextLayer>(std::move(*layer));
}

Result<int> ReadPageCount(const QString& path)
{
    // Both helpers open the document at once: a reader that counts the
    // pages goes through them next, shared between the two.
    const Result<QByteArray> reply = Ask(Kind::Count, false, 0, path, 2);
    bool number = false;
    const int count = reply && reply->startsWith('N') ? reply->mid(1).toInt(&number) : 0;
    if (!reply)
        return Status::failure(reply.error());
    if (!number || count <= 0)
        return Status::failure(QStringLiteral("Cannot decode file %1").arg(path));
    return count;
}

Result<QString> ReadPagePlainText(const QString& path, int page)
{
    const Result<QByteArray> reply = Ask(Kind::Plain, false, page, path);
    if (!reply)
        return Status::failure(reply.error());
    std::optional<QString> text = DecodePlainText(reply.value());
    if (!text)
        return Status::failure(QStringLiteral("The text of page %1 cannot be read").arg(page + 1));
    return std::move(*text);
}

} // namespace lexifol::djvu
