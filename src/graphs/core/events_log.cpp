#include "graphs/core/events_log.h"

#include "common/error.h"
#include "common/file_io.h"
#include "common/lines.h"
#include "common/prompter.h"
#include "common/text.h"
#include "graphs/core/us_date_time.h"

#include <algorithm>
#include <filesystem>

namespace pln {

namespace {

constexpr std::string_view fileName = "events.log";
constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t hashDigits = 32;
// More than any hand-kept list of events; a larger file is refused rather
// than read into memory.
constexpr std::uintmax_t maxFileSize = 16u << 20;
// A damaged file reports its first bad lines, not thousands of boxes.
constexpr int maxReportedLines = 5;

bool hasHashMark(std::string_view part) {
    return part.size() > hashDigits && part[part.size() - hashDigits - 1] == '|';
}

bool hasHash(std::string_view part) {
    if (!hasHashMark(part))
        return false;
    return std::all_of(part.end() - hashDigits, part.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

// Lines are written in UTF-8; a line that is not well-formed UTF-8 comes
// from an older file in Windows-1252.
std::string decodeLine(std::string_view bytes) {
    return isValidUtf8(bytes) ? std::string(bytes) : cp1252ToUtf8(bytes);
}

// A line break inside a description would split its line in two.
std::string encodeLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::optional<tEventsFileState> fileStateOf(const std::string& path) {
    std::error_code error;
    tEventsFileState state{std::filesystem::last_write_time(path, error), 0};
    if (!error)
        state.size = std::filesystem::file_size(path, error);
    return error ? std::nullopt : std::optional(state);
}

std::string readEventsFile(const std::string& path) {
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > maxFileSize)
        throw Error("The file " + std::string(fileName) + " is too large.");
    std::vector<std::uint8_t> bytes = readWholeFile(path);
    std::string content(bytes.begin(), bytes.end());
    // An editor may have put a byte-order mark before the first event.
    if (content.starts_with(utf8ByteOrderMark))
        content.erase(0, utf8ByteOrderMark.size());
    return content;
}

} // namespace

std::string tEvent::text() const {
    return hasHash(part) ? part.substr(0, part.size() - hashDigits - 1) : part;
}

std::string tEvent::hash() const {
    return hasHash(part) ? part.substr(part.size() - hashDigits) : std::string();
}

std::string tEvent::makePart(std::string_view text, std::string_view hash) {
    std::string part(text);
    if (!hash.empty())
        part += "|" + toUpperAscii(hash);
    return part;
}

bool eventBefore(const tEvent& a, const tEvent& b) {
    if (a.date != b.date)
        return a.date < b.date;
    bool aMarked = hasHashMark(a.part), bMarked = hasHashMark(b.part);
    if (aMarked != bMarked)
        return bMarked;
    if (!aMarked)
        return icompare(a.part, b.part) < 0;
    std::string_view aPart = a.part, bPart = b.part;
    int byHash =
        icompare(aPart.substr(aPart.size() - hashDigits), bPart.substr(bPart.size() - hashDigits));
    if (byHash != 0)
        return byHash < 0;
    return icompare(aPart.substr(0, aPart.size() - hashDigits - 1),
                    bPart.substr(0, bPart.size() - hashDigits - 1)) < 0;
}

bool tEventsLog::load(Prompter& prompter, std::optional<tEventsFileState>* lastRead) {
    events_.clear();
    std::error_code error;
    if (!std::filesystem::exists(path_, error))
        return true;
    const std::optional<tEventsFileState> state = fileStateOf(path_);
    int reported = 0;
    if (lastRead) {
        if (state && *lastRead == state)
            reported = maxReportedLines;
        *lastRead = state;
    }
    std::string content;
    try {
        content = readEventsFile(path_);
    } catch (const Error& e) {
        prompter.showError(e.what());
        return false;
    }
    std::size_t lineNumber = 0;
    for (const std::string_view line : splitLines(content)) {
        ++lineNumber;
        if (trimControl(line).empty())
            continue;
        std::size_t equals = line.find('=');
        auto date = parseUsDateTime(line.substr(0, equals));
        if (!date) {
            if (reported++ < maxReportedLines)
                prompter.showError("Invalid value in " + std::string(fileName) + " at line " +
                                   std::to_string(lineNumber));
            continue;
        }
        std::string part = equals == std::string_view::npos
                               ? ""
                               : trimControl(decodeLine(line.substr(equals + 1)));
        events_.push_back({*date, std::move(part)});
    }
    std::stable_sort(events_.begin(), events_.end(), eventBefore);
    return true;
}

void tEventsLog::save() const {
    std::string content;
    for (const tEvent& event : events_) {
        std::string part = trimControl(event.part);
        if (!part.empty())
            content += formatUsDateTime(event.date) + "=" + encodeLine(part) + "\r\n";
    }
    try {
        writeNamedFile(path_,
                       {reinterpret_cast<const std::uint8_t*>(content.data()), content.size()});
    } catch (const Error& e) {
        throw Error(
            format("An error occurred while saving %s: %s", {std::string(fileName), e.what()}),
            e.kind());
    }
}

std::size_t tEventsLog::search(CalendarMs date) const {
    auto found = std::partition_point(events_.begin(), events_.end(),
                                      [date](const tEvent& e) { return e.date < date; });
    return static_cast<std::size_t>(found - events_.begin());
}

std::size_t tEventsLog::add(tEvent event) {
    auto place = std::upper_bound(events_.begin(), events_.end(), event, eventBefore);
    return static_cast<std::size_t>(events_.insert(place, std::move(event)) - events_.begin());
}

void tEventsLog::remove(std::size_t index) {
    if (index < events_.size())
        events_.erase(events_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::size_t tEventsLog::removeWithHash(std::string_view hash) {
    return std::erase_if(events_, [hash](const tEvent& e) {
        std::string own = e.hash();
        return !own.empty() && iequals(own, hash);
    });
}

void tEventsLog::removeEventsOfFile(std::string_view hash, Prompter& prompter) {
    if (load(prompter) && removeWithHash(hash) > 0)
        save();
}

tLogFiles::KnownFileLogDeleted eventsLogCleaner(std::string path, Prompter& prompter) {
    return [path = std::move(path), &prompter](const std::string& name) {
        try {
            tEventsLog(path).removeEventsOfFile(name, prompter);
        } catch (const Error& e) {
            prompter.showError(e.what());
        }
    };
}

std::string eventsLogPath(const std::string& dataFolder) {
    return dataFolder + std::string(fileName);
}

} // namespace pln
