#include "recorder/recorder_errors.h"

#include "app/core/errors_log.h"
#include "common/file_io.h"

namespace pln {

tRecorderErrors::tRecorderErrors(std::string path, Clock& clock)
    : path_(std::move(path)), clock_(clock) {}

// One appended write of a whole line, so that lines never interleave.
void tRecorderErrors::report(const std::string& message) {
    if (!reported_.insert(message).second)
        return;
    std::string line = errorsLogLine(clock_.nowLocal(), message) + "\r\n";
    (void)appendToFile(path_, line);
}

} // namespace pln
