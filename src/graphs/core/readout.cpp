#include "graphs/core/readout.h"

#include "logstore/core/conn_run_time.h"
#include "logstore/core/log_files.h"
#include "logstore/core/log_types.h"

#include <cmath>

namespace pln {

namespace {

constexpr double secondsPerDay = 86400;

} // namespace

tCursorTime cursorToTime(double bottomValue, bool runtimeAxis, const tRuntimeMap& map) {
    tCursorTime time;
    if (runtimeAxis) {
        time.runtime = static_cast<std::int64_t>(std::nearbyint(bottomValue * secondsPerDay));
        const std::int64_t stamp = map.dateAtRuntime(time.runtime);
        if (stamp >= 0)
            time.date = dosDateTimeToCalendar(static_cast<dosDateTime>(stamp));
    } else {
        time.date = static_cast<CalendarMs>(std::llround(bottomValue * msPerDay));
        if (!map.empty())
            time.runtime = map.runtimeAtLocal(*time.date);
    }
    return time;
}

std::vector<const tEvent*> eventsNear(const tEventsLog& events, CalendarMs from, CalendarMs to,
                                      const std::function<bool(const std::string&)>& shown) {
    std::vector<const tEvent*> near;
    for (std::size_t i = events.search(from); i < events.count() && events.date(i) <= to; ++i) {
        const tEvent& event = events.at(i);
        const std::string hash = event.hash();
        if (hash.empty() || shown(hash))
            near.push_back(&event);
    }
    return near;
}

tFileStamp tFileStamp::of(const std::string& path) {
    tFileStamp stamp;
    stamp.path = path;
    std::error_code error;
    stamp.size = std::filesystem::file_size(path, error);
    if (error)
        return stamp;
    stamp.modified = std::filesystem::last_write_time(path, error);
    stamp.exists = !error;
    return stamp;
}

tReadoutSources::tReadoutSources(std::string eventsPath) : events_(std::move(eventsPath)) {}

void tReadoutSources::refresh(const tLogFiles& logFiles, Prompter& prompter) {
    refreshRunTime(logFiles);
    tFileStamp eventsStamp = tFileStamp::of(events_.path());
    if (eventsStamp != eventsStamp_) {
        events_.load(prompter);
        eventsStamp_ = std::move(eventsStamp);
    }
}

void tReadoutSources::refreshRunTime(const tLogFiles& logFiles) {
    tLogFile* log = logFiles.connRunTimeLog();
    std::optional<tFileStamp> stamp;
    if (log)
        stamp = tFileStamp::of(log->path());
    if (stamp == runTimeStamp_)
        return;
    map_ = tRuntimeMap();
    if (log) {
        const bool wasLoaded = log->recordsSize() >= 0;
        if (!wasLoaded) {
            log->loadValues();
            requestConnRunTimeWriteBack(logFiles);
        }
        map_ = tRuntimeMap(log->values(), logFiles.context().clock);
        if (!wasLoaded)
            log->freeValues();
    }
    runTimeStamp_ = std::move(stamp);
}

} // namespace pln
