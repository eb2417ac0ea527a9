#pragma once

#include "graphs/core/events_log.h"
#include "graphs/core/runtime_map.h"
#include "platform/clock.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pln {

class Prompter;
class tLogFiles;

// The eMule runtime and the real date at a bottom-axis value (runtime days
// on the runtime axis, days of the calendar otherwise). The one the axis does
// not show comes from the ConnRunTime records; without them it is missing.
struct tCursorTime {
    std::int64_t runtime = -1;
    std::optional<CalendarMs> date;
};

tCursorTime cursorToTime(double bottomValue, bool runtimeAxis, const tRuntimeMap& map);

// The events from the first one at or after from up to the last one not
// after to, leaving out those of known files that shown says are not drawn.
// An event without a file is always shown.
std::vector<const tEvent*> eventsNear(const tEventsLog& events, CalendarMs from, CalendarMs to,
                                      const std::function<bool(const std::string&)>& shown);

// A file as it was when it was last read: it is read again only when its
// name, size or modification time differ.
struct tFileStamp {
    std::string path;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    bool exists = false;

    static tFileStamp of(const std::string& path);
    bool operator==(const tFileStamp&) const = default;
};

// The ConnRunTime records and the special events the read-out consults at
// every mouse move. They are kept between moves and read again from disk
// when their files change, so that a move costs two file queries instead of
// two reads.
class tReadoutSources {
public:
    explicit tReadoutSources(std::string eventsPath);

    // Brings both up to date with the files; the catalogue's ConnRunTime log
    // is left unloaded when it was.
    void refresh(const tLogFiles& logFiles, Prompter& prompter);

    const tRuntimeMap& runtimeMap() const { return map_; }
    const tEventsLog& events() const { return events_; }

private:
    void refreshRunTime(const tLogFiles& logFiles);

    std::optional<tFileStamp> runTimeStamp_;
    tRuntimeMap map_;
    std::optional<tFileStamp> eventsStamp_;
    tEventsLog events_;
};

} // namespace pln
