#pragma once

#include <cerrno>
#include <cstddef>
#include <unistd.h>

namespace pln {

// Reads until size bytes, the end of the file or an error, whichever comes
// first, and returns how many bytes were read: callers bound what they read
// from files anyone could have written.
inline std::size_t readUpTo(int fd, char* buffer, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        ssize_t n = ::read(fd, buffer + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

} // namespace pln
