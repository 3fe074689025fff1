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

inline constexpr char kApplicationTitle[] = "Lexifol 3.1";

} // namespace lexifol
