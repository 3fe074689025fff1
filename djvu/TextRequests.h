#pragma once
// The text helper's input: its caller's requests, a line at a time.
#include <QByteArray>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace lexifol::djvu {

// The requests on the standard input, a line at a time, and whether the
// next one has come already.
class RequestReader
{
public:
    bool next(QByteArray& line)
    {
#ifdef Q_OS_UNIX
        for (;;) {
            if (const qsizetype end = buffer_.indexOf('\n'); end >= 0) {
                line = buffer_.left(end + 1);
                buffer_.remove(0, end + 1);
                return true;
            }
            char chunk[8192];
            const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0 || buffer_.size() > kLongest)
                return false;
            buffer_.append(chunk, n);
        }
#else
        char chunk[8192];
        if (!std::fgets(chunk, sizeof chunk, stdin))
            return false;
        line = chunk;
        return true;
#endif
    }
    bool waiting() const
    {
#ifdef Q_OS_UNIX
        pollfd in{STDIN_FILENO, POLLIN, 0};
        return buffer_.contains('\n') || ::poll(&in, 1, 0) > 0;
#else
        return false;
#endif
    }

private:
    static constexpr qsizetype kLongest = 1 << 20; // no request's path is longer
    QByteArray buffer_;
};

} // namespace lexifol::djvu
