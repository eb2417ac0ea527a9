#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pln {

class tKnownMetRecord;

// How the user's locale writes numbers: integers with digit groups and no
// decimals, reals in general notation with 15 significant digits.
struct tNumberFormat {
    std::function<std::string(std::uint64_t)> integer;
    std::function<std::string(double)> real;
};

inline constexpr std::size_t maxTagRecords = 10;

// The records the tags view shows: the reference files, then the selected
// files in list order, each once, at most ten.
std::vector<const tKnownMetRecord*> tagRecords(const tKnownMetRecord* reference1,
                                               const tKnownMetRecord* reference2,
                                               const std::vector<const tKnownMetRecord*>& selected);

// One record as a table: the hash, then one line per tag in file order, the
// name in the first 33 characters, the type name up to character 43 and the
// value after it. Lines end with CR LF.
std::string recordTagsText(const tKnownMetRecord& record, const tNumberFormat& numbers);

// The records one after the other, separated by a line of 200 dashes.
std::string tagsText(const std::vector<const tKnownMetRecord*>& records,
                     const tNumberFormat& numbers);

} // namespace pln
