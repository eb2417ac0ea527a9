#pragma once

#include "logstore/core/log_files.h"
#include "platform/clock.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

class Prompter;

// One special event: its moment and its event part, the description
// optionally followed by "|" and the 32 hexadecimal digits of the hash of
// the known file it belongs to.
struct tEvent {
    CalendarMs date = 0;
    std::string part;

    // The description without a trailing "|" + 32 hexadecimal digits.
    std::string text() const;
    // Those 32 digits as written, or empty.
    std::string hash() const;
    // The description and, when a hash is given, "|" and its upper-case
    // digits.
    static std::string makePart(std::string_view text, std::string_view hash);
};

// Whether a comes before b in the events list: earlier first; on equal
// dates an event without a file before one with a file, then by the text
// (or by the hash and then the text) without regard to case.
bool eventBefore(const tEvent& a, const tEvent& b);

// What tells one version of events.log from another: its time of change and
// its size.
struct tEventsFileState {
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;
    bool operator==(const tEventsFileState&) const = default;
};

// The special events of events.log, kept sorted.
class tEventsLog {
public:
    explicit tEventsLog(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    std::size_t count() const { return events_.size(); }
    const tEvent& at(std::size_t index) const { return events_.at(index); }
    const std::vector<tEvent>& events() const { return events_; }

    CalendarMs date(std::size_t index) const { return at(index).date; }
    std::string text(std::size_t index) const { return at(index).text(); }
    std::string hash(std::size_t index) const { return at(index).hash(); }

    // Replaces the list by the file's events; a missing file gives none. A
    // line whose date does not read is left out and reported ("Invalid value
    // in events.log at line n"); a file that cannot be read is reported and
    // gives none. False when the file exists but could not be read, so that
    // nobody overwrites it with the empty list. With lastRead, the bad lines
    // of a file are reported once: not again while the file stays as it was
    // when lastRead was set.
    bool load(Prompter& prompter, std::optional<tEventsFileState>* lastRead = nullptr);
    // Rewrites the file from the list; throws Error "An error occurred while
    // saving events.log: ..." and leaves the old file when it cannot.
    void save() const;

    // Index of the first event at or after the moment; count() when none.
    std::size_t search(CalendarMs date) const;
    // Inserts after the events that sort equal; returns its index.
    std::size_t add(tEvent event);
    void remove(std::size_t index);
    void clear() { events_.clear(); }
    // Removes the events of a file (hash compared without regard to case);
    // how many went.
    std::size_t removeWithHash(std::string_view hash);

    // Loads the file, removes the events of the file and saves when
    // something was removed.
    void removeEventsOfFile(std::string_view hash, Prompter& prompter);

private:
    std::string path_;
    std::vector<tEvent> events_;
};

// The catalogue's hook for deleted known-file logs: the events of the
// deleted file leave the events log at path; a failure is shown.
tLogFiles::KnownFileLogDeleted eventsLogCleaner(std::string path, Prompter& prompter);

// events.log in a data folder (given with its trailing separator).
std::string eventsLogPath(const std::string& dataFolder);

} // namespace pln
