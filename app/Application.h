#pragma once
#include <QApplication>

#include <QFuture>

namespace lexifol {

// Shows a failure that no handler caught as the general error report and
// lets the program go on.
class LexifolApplication : public QApplication
{
    Q_OBJECT
public:
    LexifolApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Reads the font configuration on a thread while the application connects
// to the display: its first use costs start-up a few milliseconds. Waited
// for before the first font is needed.
class FontConfigurationAhead
{
public:
    FontConfigurationAhead();
    ~FontConfigurationAhead() { wait(); }
    void wait();

private:
    QFuture<void> thread_;
};

// Large blocks (page images, index lists) are made on one thread and freed
// on another: given their own mapping, each goes back to the system when it
// is freed, instead of staying in the allocator's pools for the rest of the
// session.
void ReturnLargeBlocksWhenFreed();

inline constexpr char kApplicationTitle[] = "Lexifol 3.1";

} // namespace lexifol
