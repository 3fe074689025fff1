#include "app/Application.h"
#include "config/Messages.h"

#include <exception>

namespace lexifol {

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowMessage(QString::fromUtf8(e.what()), MsgIcon::Error, QString::fromLatin1(kApplicationTitle));
    } catch (...) {
        ShowMessage(QStringLiteral("Unknown error"), MsgIcon::Error, QString::fromLatin1(kApplicationTitle));
    }
    return false;
}

} // namespace lexifol
