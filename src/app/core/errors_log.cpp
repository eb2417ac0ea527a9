#include "app/core/errors_log.h"

#include "app/core/process_values.h"
#include "common/error.h"
#include "common/file_io.h"
#include "common/lines.h"
#include "common/text.h"

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace pln {

namespace {

constexpr std::int64_t fractionDigits = 10;
constexpr std::int64_t fractionScale = 10'000'000'000;
// 0100-01-01 and 9999-12-31: the dates a calendar date-time can show.
constexpr double firstDay = -657'434;
constexpr double lastDay = 2'958'466;

} // namespace

// Days counted as the date-time number of the desktop tools reading this
// file: the whole part is the day, the fraction the time of that day.
std::string formatErrorsLogTime(CalendarMs when) {
    auto [days, ms] = splitCalendar(when);
    // ms / msPerDay to ten decimals, rounded half up, in integers only.
    std::int64_t fraction = (ms * (fractionScale / 1000) * 1000 + msPerDay / 2) / msPerDay;
    if (fraction == fractionScale) {
        ++days;
        fraction = 0;
    }
    std::string text = std::to_string(days);
    if (fraction == 0)
        return text;
    std::string digits = std::to_string(fraction);
    digits.insert(0, static_cast<std::size_t>(fractionDigits) - digits.size(), '0');
    while (digits.back() == '0')
        digits.pop_back();
    return text + "." + digits;
}

std::optional<CalendarMs> parseErrorsLogTime(const std::string& text) {
    std::optional<double> days = parseUsDecimal(text);
    if (!days || *days < firstDay || *days >= lastDay)
        return std::nullopt;
    // Before 1899-12-30 the whole part counts days back and the fraction is
    // still the time of that day: -1.75 is 29 December 1899, 18:00.
    double whole = std::trunc(*days);
    double fraction = std::abs(*days - whole);
    return static_cast<CalendarMs>(whole) * msPerDay +
           std::llround(fraction * static_cast<double>(msPerDay));
}

std::string errorsLogLine(CalendarMs when, std::string_view message) {
    std::string line = formatErrorsLogTime(when) + "|";
    for (char c : message)
        line += (c == '\r' || c == '\n') ? ' ' : c;
    return line;
}

std::vector<std::string>
errorsLogDisplayLines(std::string_view fileText,
                      const std::function<std::string(CalendarMs)>& dateTimeText) {
    std::vector<std::string> shown;
    for (std::string_view line : splitLines(fileText)) {
        std::size_t bar = line.find('|');
        if (bar == std::string_view::npos || bar == 0)
            continue;
        std::optional<CalendarMs> when = parseErrorsLogTime(std::string(line.substr(0, bar)));
        if (!when)
            shown.emplace_back(line);
        else
            shown.push_back(dateTimeText(*when) + "   " + std::string(line.substr(bar + 1)));
    }
    return shown;
}

std::string readErrorsLog(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw Error(fileFailure("open", path, systemErrorText(EISDIR)), ErrorKind::io);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error(fileFailure("open", path, systemErrorText(errno)), ErrorKind::io);
    in.seekg(0, std::ios::end);
    std::streamoff end = in.tellg();
    if (end < 0)
        throw Error(fileFailure("read", path, systemErrorText(EIO)), ErrorKind::io);
    auto size = static_cast<std::size_t>(end);
    std::size_t start = size > errorsLogReadLimit ? size - errorsLogReadLimit : 0;
    in.seekg(static_cast<std::streamoff>(start));
    std::string bytes(size - start, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (start > 0) {
        std::size_t firstBreak = bytes.find('\n');
        bytes.erase(0, firstBreak == std::string::npos ? bytes.size() : firstBreak + 1);
    }
    return sanitizeUtf8(bytes);
}

} // namespace pln
