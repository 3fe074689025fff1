#include "djvu/TextLayerWrite.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace lexifol::djvu {

QString Quoted(const QString& s)
{
    QString out = s;
    out.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + out + u'"';
}

bool CanWriteTextLayers()
{
    return !QStandardPaths::findExecutable(QStringLiteral("djvused")).isEmpty();
}

Status WriteTextLayers(const QString& source, const QMap<int, QString>& layers, const QString& target)
{
    if (!CanWriteTextLayers())
        return Status::failure(QStringLiteral("djvused is not installed (package djvulibre-bin)"));
    QTemporaryFile script;
    if (!script.open())
        return Status::failure(QStringLiteral("Cannot write a temporary file: %1").arg(script.errorString()));
    QByteArray commands;
    for (auto it = layers.cbegin(); it != layers.cend(); ++it)
        commands += QStringLiteral("select %1\nset-txt %2\n").arg(it.key() + 1).arg(Quoted(it.value())).toUtf8();
    commands += QStringLiteral("save-bundled %1\n").arg(Quoted(target)).toUtf8();
    if (script.write(commands) != commands.size() || !script.flush())
        return Status::failure(QStringLiteral("Cannot write a temporary file: %1").arg(script.errorString()));
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("djvused"), {source, QStringLiteral("-f"), script.fileName()});
    // A large document takes a while; a tool that never ends is not waited for forever.
    if (!p.waitForStarted() || !p.waitForFinished(30 * 60 * 1000)) {
        p.kill();
        p.waitForFinished(1000);
        return Status::failure(QStringLiteral("djvused did not finish: %1").arg(p.errorString()));
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return Status::failure(QStringLiteral("djvused failed: %1").arg(QString::fromLocal8Bit(p.readAll()).trimmed()));
    return {};
}

} // namespace lexifol::djvu
