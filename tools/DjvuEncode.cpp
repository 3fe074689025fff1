#include "DjvuEncode.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace lexifol::djvu {

bool HaveTools()
{
    for (const char* tool : {"cjb2", "djvused", "djvm"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    return true;
}

bool RunTool(const QString& program, const QStringList& args, QString* error, int timeoutMs, const QString& dir)
{
    QProcess p;
    if (!dir.isEmpty())
        p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(timeoutMs) || !p.waitForFinished(timeoutMs)) {
        *error = program + QStringLiteral(": did not run. ") + p.errorString();
        p.kill();
        p.waitForFinished(1000);
        return false;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = program + u' ' + args.join(u' ') + QStringLiteral(": ")
            + QString::fromLocal8Bit(p.readAll()).trimmed();
        return false;
    }
    return true;
}

namespace {
bool WriteText(const QString& path, const QString& text, QString* error)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) >= 0 && f.flush())
        return true;
    *error = QStringLiteral("cannot write ") + path;
    return false;
}
} // namespace

bool EncodeBilevelPage(const QImage& page, int dpi, const QString& hiddenText, const QString& path, QString* error,
                       int quarterTurns)
{
    const QString pbm = path + QStringLiteral(".pbm");
    const QImage mono = page.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::MonoOnly);
    if (!mono.save(pbm, "PBM")) {
        *error = QStringLiteral("cannot write ") + pbm;
        return false;
    }
    const bool encoded = RunTool(QStringLiteral("cjb2"), {QStringLiteral("-dpi"), QString::number(dpi), pbm, path},
                                 error);
    QFile::remove(pbm);
    if (!encoded)
        return false;
    QStringList script;
    const QString txt = path + QStringLiteral(".txt");
    if (!hiddenText.isEmpty()) {
        if (!WriteText(txt, hiddenText, error))
            return false;
        script << QStringLiteral("set-txt %1").arg(Quoted(txt));
    }
    if (quarterTurns != 0)
        script << QStringLiteral("set-rotation %1").arg(quarterTurns);
    if (script.isEmpty())
        return true;
    // "select 1" is needed even for a single page.
    const bool edited = RunTool(QStringLiteral("djvused"),
                                {path, QStringLiteral("-e"),
                                 QStringLiteral("select 1; ") + script.join(QStringLiteral("; ")),
                                 QStringLiteral("-s")},
                                error);
    QFile::remove(txt);
    return edited;
}

bool Bundle(const QString& path, const QStringList& pages, QString* error)
{
    QFile::remove(path);
    return RunTool(QStringLiteral("djvm"), QStringList{QStringLiteral("-c"), path} + pages, error);
}

} // namespace lexifol::djvu
