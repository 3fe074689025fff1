#pragma once
// lexifol-index run as a program, its exit code and what it printed.
#include <QProcess>
#include <QStringList>

struct Run {
    int code = -1;
    QString out, err;
};

// `extra` follows the arguments (the tests' own --locale, say).
inline Run RunLexifolIndex(const QStringList& args, const QStringList& extra = {})
{
    QProcess p;
    p.start(QStringLiteral(LEXIFOL_INDEX_BIN), args + extra);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
