#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lexifol {

QByteArray EncodeRequest(const InstanceRequest& r)
{
    if (!r.add.isEmpty())
        return "add\t" + r.add.join(u'\t').toUtf8() + '\n';
    if (!r.lookUp)
        return "raise\n";
    auto clean = [](QString s) { return s.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ').toUtf8(); };
    return "lookup\t" + clean(r.dictionary) + '\t' + clean(r.word) + '\n';
}

std::optional<InstanceRequest> DecodeRequest(const QByteArray& raw)
{
    if (raw.size() > kMostRequestBytes || !raw.endsWith('\n'))
        return std::nullopt;
    const QByteArray line = raw.chopped(1);
    if (line == "raise")
        return InstanceRequest{};
    const QList<QByteArray> parts = line.split('\t');
    if (parts.size() >= 2 && parts[0] == "add") {
        InstanceRequest r;
        for (const QByteArray& p : parts.mid(1))
            r.add << QString::fromUtf8(p);
        if (r.add.contains(QString()) || r.add.join(QString()).contains(QChar::ReplacementCharacter))
            return std::nullopt;
        return r;
    }
    if (parts.size() != 3 || parts[0] != "lookup")
        return std::nullopt;
    InstanceRequest r{true, QString::fromUtf8(parts[1]), QString::fromUtf8(parts[2]), {}};
    if (r.word.trimmed().isEmpty() || r.word.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    return r;
}

namespace {

// A folder of ours, not a link, that no one else can enter.
bool Private(const QString& folder)
{
    struct stat st { };
    return ::lstat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()
        && (st.st_mode & 077) == 0;
}

// Whether the other end of a connected local socket runs as this user.
bool SameUser(qintptr fd)
{
#ifdef SO_PEERCRED
    struct ucred peer { };
    socklen_t size = sizeof peer;
    return ::getsockopt(int(fd), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
#else
    return fd >= 0;
#endif
}

} // namespace

QString PrivateSocketFolder(const QString& runtimeDir, const QString& tempDir)
{
    if (QDir::isAbsolutePath(runtimeDir) && Private(runtimeDir))
        return QDir::cleanPath(runtimeDir);
    const QString own = QDir::cleanPath(tempDir) + QStringLiteral("/lexifol-%1").arg(::getuid());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    return Private(own) ? own : QString();
}

QString InstanceName(const QString& dataFolder)
{
    const QString folder = PrivateSocketFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath());
    if (folder.isEmpty())
        return {};
    // Not the canonical path: the folder may not exist yet at a first start.
    const QByteArray data = QDir::cleanPath(QDir(dataFolder).absolutePath()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex().left(16);
    return folder + QStringLiteral("/lexifol-%1").arg(QString::fromLatin1(hash));
}

std::optional<QByteArray> HandOver(const QString& name, const InstanceRequest& r, int connectMs, int replyMs)
{
    if (name.isEmpty())
        return std::nullopt;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(connectMs) || !SameUser(socket.socketDescriptor()))
        return std::nullopt;
    socket.write(EncodeRequest(r));
    if (!socket.waitForBytesWritten(connectMs))
        return std::nullopt;
    QByteArray reply;
    QElapsedTimer waited;
    waited.start();
    while (!reply.contains('\n') && waited.elapsed() < replyMs
           && socket.waitForReadyRead(int(replyMs - waited.elapsed())))
        reply += socket.readAll();
    if (!reply.contains('\n'))
        return std::nullopt;
    return reply.left(reply.indexOf('\n'));
}

InstanceServer::InstanceServer(const QString& name, Handler handler, QObject* parent)
    : QObject(parent)
    , server_(new QLocalServer(this))
    , handler_(std::move(handler))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (name.isEmpty())
        return;
    // A socket that an instance still answers on, however busy, is never
    // taken (listening with these options renames over it); one left by an
    // instance that did not end cleanly is.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(1000))
        return;
    if (!server_->listen(name)) {
        QLocalServer::removeServer(name);
        server_->listen(name);
    }
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::accept);
}

bool InstanceServer::listening() const
{
    return server_->isListening();
}

void InstanceServer::accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!SameUser(socket->socketDescriptor())) {
            socket->abort();
            continue;
        }
        auto buffer = std::make_shared<QByteArray>();
        auto answered = std::make_shared<bool>(false);
        // A client that says nothing is dropped, never waited for.
        QTimer::singleShot(3000, socket, [socket, answered] {
            if (!*answered)
                socket->abort();
        });
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket, buffer, answered] {
            if (*answered) {
                socket->readAll();
                return;
            }
            *buffer += socket->read(kMostRequestBytes + 1 - buffer->size());
            const bool whole = buffer->contains('\n');
            if (!whole && buffer->size() <= kMostRequestBytes)
                return;
            const std::optional<InstanceRequest> r = whole && buffer->size() <= kMostRequestBytes
                ? DecodeRequest(buffer->left(buffer->indexOf('\n') + 1))
                : std::nullopt;
            *answered = true;
            const QPointer<QLocalSocket> to(socket);
            const Reply reply = [to](const QByteArray& line) {
                if (!to)
                    return;
                to->write(line + '\n');
                to->disconnectFromServer();
            };
            if (r)
                handler_(*r, reply);
            else
                reply("lexifol: a request it could not read");
        });
    }
}

} // namespace lexifol
