#include "app/Application.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <QCoreApplication>
#include <QtConcurrent/QtConcurrentRun>
#include "config/Messages.h"

#include <exception>

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <dlfcn.h>
#endif

namespace lexifol {

LexifolApplication::LexifolApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{ }

bool LexifolApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowMessage(QString::fromUtf8(e.what()), MsgIcon::Error, QString::fromLatin1(kApplicationTitle));
    } catch (...) {
        ShowMessage(QCoreApplication::translate("lexifol", "Unknown error"), MsgIcon::Error,
                    QString::fromLatin1(kApplicationTitle));
    }
    return false;
}

FontConfigurationAhead::FontConfigurationAhead()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The library Qt itself loaded: nothing to build against or install.
    thread_ = QtConcurrent::run([] {
        if (void* fontconfig = dlopen("libfontconfig.so.1", RTLD_LAZY))
            if (auto init = reinterpret_cast<int (*)()>(dlsym(fontconfig, "FcInit")))
                init();
    });
#endif
}

void FontConfigurationAhead::wait()
{
    thread_.waitForFinished();
}

void ReturnLargeBlocksWhenFreed()
{
#if defined(__GLIBC__)
    // A fixed threshold: glibc would otherwise raise it to the size of the
    // first large block freed, and keep the later ones in its arenas.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

} // namespace lexifol
