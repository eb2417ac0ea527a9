#include "app/core/errors_log.h"
#include "fuzz_check.h"

#include <string>

using namespace pln;

// errors.log as the viewer shows it, and the time field of each line: a time
// that reads back is written again as the same moment.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = fuzz::textOf(data, size);
    std::vector<std::string> shown =
        errorsLogDisplayLines(text, [](CalendarMs when) { return formatErrorsLogTime(when); });
    fuzz::require(shown.size() <= size);

    std::string field(text.substr(0, text.find('|')));
    if (std::optional<CalendarMs> when = parseErrorsLogTime(field)) {
        std::string line = errorsLogLine(*when, text);
        fuzz::require(line.find_first_of("\r\n") == std::string::npos);
        fuzz::require(parseErrorsLogTime(formatErrorsLogTime(*when)) == when);
    }
    return 0;
}
