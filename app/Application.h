#pragma once
#include <QApplication>

namespace lexifol {

// Shows a failure that no handler caught as the general error report and
// lets the program go on.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

inline constexpr char kApplicationTitle[] = "Lexifol 3.1";

} // namespace lexifol
