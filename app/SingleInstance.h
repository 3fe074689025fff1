#pragma once
// One Lexifol per user and data folder: a second start hands its request to
// the running one over a local socket that only the same user can open,
// and ends.
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QLocalServer;

namespace lexifol {

// The request a start hands over: one line, "raise" or
// "lookup TAB dictionary TAB word".
struct InstanceRequest {
    bool lookUp = false;
    QString dictionary, word;
    QStringList add = {}; // files making a dictionary to add, instead of a word
};
QByteArray EncodeRequest(const InstanceRequest& r);
// Nothing for a line that is not a request.
std::optional<InstanceRequest> DecodeRequest(const QByteArray& line);

inline constexpr int kMostRequestBytes = 4096;

// The folder for the socket, that no other user can enter: `runtimeDir`
// ($XDG_RUNTIME_DIR) when it is an absolute path to a folder of ours that
// only we can open; else `tempDir`/lexifol-UID, made so (mode 0700) and
// checked. Empty when neither can be had: then there is no single instance.
QString PrivateSocketFolder(const QString& runtimeDir, const QString& tempDir);

// The socket's path for this user and data folder; empty: none.
QString InstanceName(const QString& dataFolder);

// Hands the request to a running instance of the same user: waits
// `connectMs` for it to take the call, then up to `replyMs` for a busy
// window to answer. The reply ("ok", or an error line to print); nothing
// when no instance of ours listens.
std::optional<QByteArray> HandOver(const QString& name, const InstanceRequest& r, int connectMs = 2000,
                                   int replyMs = 15000);

// The running instance's end: gives each request to `handle` with the means
// to reply ("ok" or an error line), now or later, when it has found out.
class InstanceServer : public QObject
{
    Q_OBJECT
public:
    using Reply = std::function<void(const QByteArray&)>;
    using Handler = std::function<void(const InstanceRequest&, Reply)>;
    // Takes the name over only from an instance that no longer answers.
    InstanceServer(const QString& name, Handler handler, QObject* parent = nullptr);
    bool listening() const;

private:
    void accept();
    QLocalServer* server_;
    Handler handler_;
};

} // namespace lexifol
