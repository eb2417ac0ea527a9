#include "app/core/shared_lookup.h"

namespace pln {

namespace {

constexpr FileTime nsPerMs = 1'000'000;

// A file time the system does not know stays unknown.
CalendarMs localTime(FileTime time, Clock& clock) {
    if (time == 0)
        return 0;
    const FileTime ms = time >= 0 ? time / nsPerMs : -((-time + nsPerMs - 1) / nsPerMs);
    return clock.toLocalCalendar(ms);
}

} // namespace

tSharedLookup sharedFileLookup(const tSharedFileTable& table, Clock& clock) {
    return [&table, &clock](std::string_view name, std::uint64_t size,
                            std::uint32_t date) -> std::optional<tSharedMatch> {
        const int found = findSharedFile(table, name, size, date);
        if (found < 0)
            return std::nullopt;
        const tSharedData& data = table[static_cast<std::size_t>(found)].data;
        return tSharedMatch{data.path, localTime(data.lastWriteTime, clock),
                            localTime(data.creationTime, clock)};
    };
}

} // namespace pln
