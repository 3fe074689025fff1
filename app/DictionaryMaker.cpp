#include "app/DictionaryMaker.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace lexifol {

QString MakerToolProgram()
{
    if (const QString set = qEnvironmentVariable("LEXIFOL_INDEX"); !set.isEmpty())
        return set;
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/lexifol-index");
    return QFileInfo(beside).isExecutable() ? beside : QStringLiteral("lexifol-index");
}

DictionaryMaker::DictionaryMaker(QStatusBar* bar)
    : QObject(bar), progressBar_(new QProgressBar(bar)), cancelButton_(new QToolButton(bar))
{
    progressBar_->setMaximumWidth(160);
    progressBar_->setAccessibleName(QStringLiteral("Making a dictionary"));
    cancelButton_->setText(QStringLiteral("Cancel"));
    bar->addPermanentWidget(progressBar_);
    bar->addPermanentWidget(cancelButton_);
    progressBar_->hide();
    cancelButton_->hide();
    connect(cancelButton_, &QToolButton::clicked, this, &DictionaryMaker::cancel);
    connect(&process_, &QProcess::readyReadStandardError, this, &DictionaryMaker::readLines);
    connect(&process_, &QProcess::finished, this, &DictionaryMaker::done);
#ifdef Q_OS_UNIX
    // Behind the window: the reader's typing stays instant while pages are read.
    process_.setChildProcessModifier([] { setpriority(PRIO_PROCESS, 0, 19); });
#endif
}

DictionaryMaker::~DictionaryMaker()
{
    // The pages read so far are kept by the tool; the next run goes on from them.
    if (running()) {
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
    progressBar_->setRange(0, 0);   // busy until the first page is read
    progressBar_->setFormat(name + QStringLiteral(": %v of %m pages"));
    progressBar_->show();
    cancelButton_->show();
    process_.start(MakerToolProgram(), {QStringLiteral("make-dictionary"), document, QStringLiteral("-o"), dataFolder,
                                        QStringLiteral("--name"), name});
    return true;
}

void DictionaryMaker::cancel()
{
    cancelled_ = true;
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
    if (progress_.total > 0) {
        progressBar_->setRange(0, progress_.total);
        progressBar_->setValue(progress_.done);
    }
}

void DictionaryMaker::done(int code, QProcess::ExitStatus status)
{
    readLines();
    progressBar_->hide();
    cancelButton_->hide();
    // Exit 1: made, with pages in doubt for the reader to look at.
    const bool made = status == QProcess::NormalExit && (code == 0 || code == 1) && !cancelled_;
    QString report;
    if (cancelled_)
        report = QStringLiteral("Making %1 was cancelled; the pages read are kept for the next try").arg(name_);
    else if (!made)
        report = QStringLiteral("%1 could not be made. %2").arg(name_, lastError_.isEmpty() ? process_.errorString() : lastError_);
    else
        report = QStringLiteral("Added %1").arg(name_) + (progress_.summary.isEmpty() ? QString() : QStringLiteral(": ") + progress_.summary);
    emit finished(name_, made, report);
}

} // namespace lexifol
