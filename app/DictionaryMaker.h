#pragma once
// Dictionaries added behind the window, their progress in the status bar
// with a Cancel button: one copied in (a large one takes seconds), or one
// made from a DjVu document by the maker's tool, run as its own process at
// idle priority (reading a scan takes minutes). One at a time.
#include "library/DictionaryInstall.h"

#include <QFutureWatcher>
#include <QObject>
#include <QProcess>

#include <atomic>

class QStatusBar;

namespace lexifol {

class DictionaryMaker : public QObject
{
    Q_OBJECT
public:
    explicit DictionaryMaker(QStatusBar* bar);
    ~DictionaryMaker() override;

    // False when a dictionary is being added already.
    bool start(const QString& document, const QString& dataFolder, const QString& name);
    bool install(const DictionarySource& source, const QString& dataFolder, const QStringList& installed);
    bool running() const { return process_.state() != QProcess::NotRunning || copying_.isRunning(); }
    void cancel();

signals:
    // `made`: the dictionary is there; `report` says what became of it.
    void finished(const QString& name, bool made, const QString& report);

private:
    void readLines();
    void done(int code, QProcess::ExitStatus status);

    QProcess process_;
    class StatusProgress* shown_;
    QString name_;
    QByteArray pending_; // a line not yet ended
    MakeProgress progress_;
    QString lastError_;
    bool cancelled_ = false;
    QFutureWatcher<Status> copying_;
    std::atomic<bool> stopCopy_{false};
};

// The maker's tool: LEXIFOL_INDEX, else beside the program, else on PATH.
QString MakerToolProgram();

} // namespace lexifol
