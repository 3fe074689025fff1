// A failure that no handler catches is reported once, centrally, and the
// program goes on.
#include "app/Application.h"
#include "index/IndexList.h"
#include "config/Messages.h"

#include <QTest>
#include <stdexcept>

using namespace lexifol;

namespace {

class Thrower : public QObject
{
public:
    int handled = 0;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            ++handled;
            throw std::out_of_range("List index out of bounds (0)");
        }
        if (e->type() == QEvent::User + 1) {
            ++handled;
            throw std::runtime_error("disk on fire");
        }
        if (e->type() == QEvent::User + 2) {
            ++handled;
            return true;
        }
        return QObject::event(e);
    }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    LexifolApplication app(argc, argv);
    QList<Message> seen;
    SetMessageHandler([&](const Message& m) { seen.append(m); });

    Thrower t;
    QCoreApplication::postEvent(&t, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&t, new QEvent(QEvent::Type(QEvent::User + 1)));
    QCoreApplication::postEvent(&t, new QEvent(QEvent::Type(QEvent::User + 2)));
    QCoreApplication::processEvents();

    int failures = 0;
    auto check = [&](bool ok, const char* what) {
        std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what);
        failures += ok ? 0 : 1;
    };
    check(t.handled == 3, "every event was delivered, also after the failures");
    check(seen.size() == 2, "two reports");
    check(seen.size() > 0 && seen[0].text == QStringLiteral("List index out of bounds (0)"), "list index text");
    check(seen.size() > 1 && seen[1].text == QStringLiteral("disk on fire"), "failure text");
    check(seen.size() > 1 && seen[0].caption == QStringLiteral("Lexifol 3.1")
              && seen[1].caption == QStringLiteral("Lexifol 3.1"),
          "caption");
    check(seen.size() > 0 && seen[0].icon == MsgIcon::Error, "error icon");
    std::printf("%d passed, %d failed\n", 6 - failures, failures);
    return failures ? 1 : 0;
}
