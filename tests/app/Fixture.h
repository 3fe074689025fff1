#pragma once
// A throw-away program folder and current directory for main-window tests,
// with every message box recorded instead of shown.
#include "WindowProbe.h"
#include "config/Messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

struct Fixture {
    QTemporaryDir root;
    QString prog; // program folder, with trailing "/"
    QString cwd;  // current directory of the "process"
    QString oldCwd;
    QList<lexifol::Message> messages;
    lexifol::MessageHandler oldHandler;

    Fixture()
    {
        prog = root.path() + QStringLiteral("/prog/");
        cwd = root.path() + QStringLiteral("/cwd/");
        QDir().mkpath(prog + QStringLiteral("Data"));
        QDir().mkpath(cwd);
        oldCwd = QDir::currentPath();
        QDir::setCurrent(cwd);
        oldHandler = lexifol::SetMessageHandler([this](const lexifol::Message& m) { messages.append(m); });
        // The fallback parameter list, so that tests that are not about it
        // see no message for it.
        writeBytes(cwd + QStringLiteral("Plugin.dat"), "zoom=width\r\n");
    }
    ~Fixture()
    {
        QDir::setCurrent(oldCwd);
        lexifol::SetMessageHandler(oldHandler);
    }

    static void writeBytes(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray readBytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray utf16(const QStringList& lines)
    {
        QByteArray out("\xFF\xFE", 2);
        for (const QString& l : lines) {
            const QString t = l + QStringLiteral("\r\n");
            out.append(reinterpret_cast<const char*>(t.utf16()), t.size() * 2);
        }
        return out;
    }

    QString folder(const QString& name) const
    {
        return prog + QStringLiteral("Data/") + name + QStringLiteral(".files/");
    }

    // Installs a dictionary whose index lines are given (UTF-16 with mark).
    void addDictionary(const QString& name, const QStringList& lines, const QString& descriptor = QString())
    {
        writeBytes(prog + QStringLiteral("Data/") + name + QStringLiteral(".list"), utf16(lines));
        QDir().mkpath(folder(name));
        if (!descriptor.isNull())
            writeBytes(folder(name) + name + QStringLiteral(".ini"), descriptor.toUtf8());
    }

    std::unique_ptr<MainWindow> start()
    {
        auto w = std::make_unique<MainWindow>(prog);
        return w;
    }

    QStringList messageTexts() const
    {
        QStringList out;
        for (const auto& m : messages)
            out << m.text;
        return out;
    }

    QString pageFile() const { return QString::fromLatin1(readBytes(prog + QStringLiteral("temp.htm"))); }
};
