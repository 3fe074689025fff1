#pragma once
// A dictionary made from a DjVu document behind the window: the maker's
// tool runs as its own process at idle priority (reading a scan takes
// minutes), its progress in the status bar with a Cancel button.
#include "library/DictionaryInstall.h"

#include <QObject>
#include <QProcess>

class QProgressBar;
class QStatusBar;
class QToolButton;

namespace lexifol {

class DictionaryMaker : public QObject
{
    Q_OBJECT
public:
    explicit DictionaryMaker(QStatusBar* bar);
    ~DictionaryMaker() override;

    // False when a dictionary is being made already.
    bool start(const QString& document, const QString& dataFolder, const QString& name);
    bool running() const { return process_.state() != QProcess::NotRunning; }
    void cancel();

signals:
    // `made`: the dictionary is there; `report` says what became of it.
    void finished(const QString& name, bool made, const QString& report);

private:
    void readLines();
    void done(int code, QProcess::ExitStatus status);

    QProcess process_;
    QProgressBar* progressBar_;
    QToolButton* cancelButton_;
    QString name_;
    QByteArray pending_;   // a line not yet ended
    MakeProgress progress_;
    QString lastError_;
    bool cancelled_ = false;
};

// The maker's tool: LEXIFOL_INDEX, else beside the program, else on PATH.
QString MakerToolProgram();

} // namespace lexifol
