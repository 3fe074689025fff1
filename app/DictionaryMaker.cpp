#include "app/DictionaryMaker.h"

#include <QCoreApplication>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>
#include <QFileInfo>
#include "app/StatusProgress.h"

#include <QStatusBar>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace lexifol {

QString MakerToolProgram()
{
    if (QString set = qEnvironmentVariable("LEXIFOL_INDEX"); !set.isEmpty())
        return set;
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/lexifol-index");
    return QFileInfo(beside).isExecutable() ? beside : QStringLiteral("lexifol-index");
}

DictionaryMaker::DictionaryMaker(QStatusBar* bar)
    : QObject(bar)
    , shown_(new StatusProgress(bar, tr("Making a dictionary")))
{
    connect(shown_, &StatusProgress::cancelled, this, &DictionaryMaker::cancel);
    connect(&copying_, &QFutureWatcherBase::finished, this, [this] {
        shown_->finish();
        const Status s = copying_.result();
        emit finished(name_, s.ok(),
                      s               ? tr("Added %1").arg(name_)
                          : stopCopy_ ? tr("Adding %1 was cancelled").arg(name_)
                                      : tr("The dictionary was not added. ") + s.error());
    });
    connect(&process_, &QProcess::readyReadStandardError, this, &DictionaryMaker::readLines);
    connect(&process_, &QProcess::finished, this, &DictionaryMaker::done);
#ifdef Q_OS_UNIX
    // Behind the window: the reader's typing stays instant while pages are read.
    process_.setChildProcessModifier([] { setpriority(PRIO_PROCESS, 0, 19); });
#endif
}

DictionaryMaker::~DictionaryMaker()
{
    // A copy stopped leaves nothing behind; the pages read so far are kept
    // by the tool, the next run goes on from them.
    stopCopy_ = true;
    copying_.waitForFinished();
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

bool DictionaryMaker::start(const QString& document, const QString& dataFolder, const QString& name)
{
    if (running())
        return false;
    name_ = name;
    progress_ = {};
    pending_.clear();
    lastError_.clear();
    cancelled_ = false;
    shown_->start(name + tr(": %v of %m pages"));
    process_.start(MakerToolProgram(),
                   {QStringLiteral("make-dictionary"), document, QStringLiteral("-o"), dataFolder,
                    QStringLiteral("--name"), name});
    return true;
}

bool DictionaryMaker::install(const DictionarySource& source, const QString& dataFolder, const QStringList& installed)
{
    if (running())
        return false;
    name_ = source.name;
    stopCopy_ = false;
    shown_->start(name_ + QStringLiteral(": %p%"));
    QPointer<StatusProgress> shown(shown_);
    CopyProgress progress{[shown](qint64 done, qint64 total) {
                              QMetaObject::invokeMethod(
                                  shown.data(),
                                  [shown, done, total] {
                                      if (shown)
                                          shown->set(done, total);
                                  },
                                  Qt::QueuedConnection);
                          },
                          &stopCopy_};
    copying_.setFuture(QtConcurrent::run([source, dataFolder, installed, progress] {
        return InstallDictionary(source, dataFolder, installed, progress);
    }));
    return true;
}

void DictionaryMaker::cancel()
{
    cancelled_ = true;
    stopCopy_ = true;
    process_.kill();
}

void DictionaryMaker::readLines()
{
    pending_ += process_.readAllStandardError();
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(pending_.left(end)).trimmed();
        pending_.remove(0, end + 1);
        ReadMakeProgress(line, name_, progress_);
        if (line.startsWith(QStringLiteral("lexifol-index")))
            lastError_ = line;
    }
    if (progress_.total > 0)
        shown_->set(progress_.done, progress_.total);
}

void DictionaryMaker::done(int code, QProcess::ExitStatus status)
{
    readLines();
    shown_->finish();
    // Exit 1: made, with pages in doubt for the reader to look at.
    const bool made = status == QProcess::NormalExit && (code == 0 || code == 1) && !cancelled_;
    QString report;
    if (cancelled_)
        report = tr("Making %1 was cancelled; the pages read are kept for the next try").arg(name_);
    else if (!made)
        report = tr("%1 could not be made. %2").arg(name_, lastError_.isEmpty() ? process_.errorString() : lastError_);
    else
        report = tr("Added %1").arg(name_)
            + (progress_.summary.isEmpty() ? QString() : QStringLiteral(": ") + progress_.summary);
    emit finished(name_, made, report);
}

} // namespace lexifol
