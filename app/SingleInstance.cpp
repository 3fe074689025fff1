#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <memory>
#include <optional>
#include <unistd.h>

namespace lexifol {

QByteArray EncodeRequest(const InstanceRequest& r)
{
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
    if (parts.size() != 3 || parts[0] != "lookup")
        return std::nullopt;
    InstanceRequest r{true, QString::fromUtf8(parts[1]), QString::fromUtf8(parts[2])};
    if (r.word.trimmed().isEmpty() || r.word.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    return r;
}

QString InstanceName(const QString& dataFolder)
{
    // Not the canonical path: the folder may not exist yet at a first start.
    const QByteArray folder = QDir::cleanPath(QDir(dataFolder).absolutePath()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("lexifol-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

std::optional<QByteArray> HandOver(const QString& name, const InstanceRequest& r, int waitMs)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(waitMs))
        return std::nullopt;
    socket.write(EncodeRequest(r));
    if (!socket.waitForBytesWritten(waitMs))
        return std::nullopt;
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(waitMs * 5))
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
    if (!server_->listen(name)) {
        // A socket left by an instance that did not end cleanly.
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
        // A client that says nothing is dropped, never waited for.
        QTimer::singleShot(3000, socket, [socket] { socket->abort(); });
        auto buffer = std::make_shared<QByteArray>();
        auto answered = std::make_shared<bool>(false);
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
            socket->write(r ? handler_(*r) + '\n' : QByteArray("lexifol: a request it could not read\n"));
            socket->disconnectFromServer();
        });
    }
}

} // namespace lexifol
