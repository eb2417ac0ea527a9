#pragma once

#include "logstore/core/log_types.h"
#include "platform/clock.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

class tKnownMetRecord;

// The columns of the known files list by their fixed tags.
enum class tKnownFilesColumn : int {
    name = 0,
    log = 1,
    size = 2,
    shared = 3,
    transferred = 4,
    hash = 5,
    dled = 6,
    lastModified = 7,
    path = 8,
    dlTime = 9,
};
inline constexpr int knownFilesColumnCount = 10;

// The guess whether a file was downloaded, from its dates on disk.
enum class tDled : std::uint8_t { no = 0, unlikely = 1, maybe = 2, yes = 3 };

// A file still named by a part-file tag was downloaded. Otherwise a file
// modified after its creation may have been downloaded: unlikely when it
// took less than 30 s, which no eMule download does. Dates are local
// calendar times, 0 when unknown.
tDled dledOf(bool hasPartFileName, CalendarMs modified, CalendarMs created);
std::string_view dledText(tDled dled);

// The time a download took: modification minus creation, as whole days,
// whole hours and the remaining minutes rounded half to even (so 4 h 59 min
// 40 s reads 04 h 60 mn).
struct tDlTime {
    std::int64_t days = 0;
    std::int64_t hours = 0;
    std::int64_t minutes = 0;
    // The value the column sorts on.
    std::int64_t sortMinutes() const { return minutes + 60 * (hours + 24 * days); }
};
// Empty unless the file may have been downloaded and both dates are known.
// The span between the two dates counts whichever is earlier: a file that
// still has its part-file tag may carry a creation date after its
// modification date.
bool dlTimeOf(tDled dled, CalendarMs modified, CalendarMs created, tDlTime& time);
// "3 d 04 h 09 mn", "04 h 09 mn", "09 mn".
std::string dlTimeText(const tDlTime& time);

// "Active", "Inactive" or "None".
std::string_view knownFileLogText(tLogState state);

// One row of the known files list with the values its cells show, kept raw
// so that the rows sort on numbers and ranks rather than on texts.
struct tKnownFileRow {
    tKnownMetRecord* record = nullptr;
    std::string name;
    std::string hashText;
    tLogState logState = tLogState::none;
    std::uint64_t size = 0;
    std::uint64_t transferred = 0;
    bool shared = false;
    tDled dled = tDled::no;
    // Local calendar time of the shared file's last write; 0 when unknown.
    CalendarMs modified = 0;
    std::string path;
    // -1 when the cell is empty.
    std::int64_t dlMinutes = -1;
    std::string dlTime;
    // Positions of the name and the folder in the user's collation order.
    std::uint32_t nameRank = 0;
    std::uint32_t pathRank = 0;
};

// A row's sort key for one column: words whose order, compared as unsigned
// integers from the first, is the column's ascending order. The hash column
// takes hashKeyWords words (its text is 32 digits), every other column one.
inline constexpr std::size_t hashKeyWords = 4;
std::size_t knownFileSortKeyWords(int column);
void appendKnownFileSortKey(const tKnownFileRow& row, int column, std::vector<std::uint64_t>& key);

// Negative, zero or positive for the ascending order of one column.
int compareKnownFileRows(const tKnownFileRow& a, const tKnownFileRow& b, int column);

} // namespace pln
