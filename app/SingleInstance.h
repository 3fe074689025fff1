#pragma once
// One Lexifol per user and data folder: a second start hands its request to
// the running one over a local socket that only the same user can open,
// and ends.
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QLocalServer;

namespace lexifol {

// The request a start hands over: one line, "raise" or
// "lookup TAB dictionary TAB word".
struct InstanceRequest {
    bool lookUp = false;
    QString dictionary, word;
};
QByteArray EncodeRequest(const InstanceRequest& r);
// Nothing for a line that is not a request.
std::optional<InstanceRequest> DecodeRequest(const QByteArray& line);

inline constexpr int kMostRequestBytes = 4096;

// The socket name for this user and data folder.
QString InstanceName(const QString& dataFolder);

// Hands the request to a running instance. The reply ("ok", or an error
// line to print); nothing when no instance answers.
std::optional<QByteArray> HandOver(const QString& name, const InstanceRequest& r, int waitMs = 2000);

// The running instance's end: answers each request through `handle`, which
// returns the reply ("ok" or an error line).
class InstanceServer : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<QByteArray(const InstanceRequest&)>;
    InstanceServer(const QString& name, Handler handler, QObject* parent = nullptr);
    bool listening() const;

private:
    void accept();
    QLocalServer* server_;
    Handler handler_;
};

} // namespace lexifol
