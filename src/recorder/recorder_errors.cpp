#include "recorder/recorder_errors.h"

#include "app/core/errors_log.h"

#include <fcntl.h>
#include <unistd.h>

namespace pln {

tRecorderErrors::tRecorderErrors(std::string path, Clock& clock)
    : path_(std::move(path)), clock_(clock) {}

// One write of a whole line with O_APPEND, so that lines never interleave.
void tRecorderErrors::report(const std::string& message) {
    if (!reported_.insert(message).second)
        return;
    std::string line = errorsLogLine(clock_.nowLocal(), message) + "\r\n";
    int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    (void)!::write(fd, line.data(), line.size());
    ::close(fd);
}

} // namespace pln
