#pragma once
// Long work behind the window, shown in the status bar: a progress bar and
// a Cancel button, there only while the work runs.
#include <QObject>

class QProgressBar;
class QStatusBar;
class QToolButton;

namespace lexifol {

class StatusProgress : public QObject
{
    Q_OBJECT
public:
    explicit StatusProgress(QStatusBar* bar, const QString& accessibleName);

    // `format` as QProgressBar takes it ("%v of %m pages"); busy until set().
    void start(const QString& format);
    void set(qint64 done, qint64 total);
    void finish();

signals:
    void cancelled();

private:
    QProgressBar* bar_;
    QToolButton* cancel_;
    int shift_ = 0; // totals past an int are shown in coarser steps
};

} // namespace lexifol
