#include "emulefiles/core/shared_data.h"

#include "common/text.h"

#include <algorithm>

namespace pln {

namespace {

bool nameLess(const tSharedFile& a, const tSharedFile& b) {
    return icompare(a.name, b.name) < 0;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

void tSharedFileTable::assign(std::vector<tSharedFile> found) {
    std::stable_sort(found.begin(), found.end(), nameLess);
    auto sameName = [](const tSharedFile& a, const tSharedFile& b) {
        return iequals(a.name, b.name);
    };
    found.erase(std::unique(found.begin(), found.end(), sameName), found.end());
    files_ = std::move(found);
}

bool sameFileDate(std::uint32_t date, const tSharedData& data) {
    std::int64_t known = static_cast<std::int64_t>(date) * 1000;
    // Windows file times are whole milliseconds or finer; a time of whole
    // seconds is taken 1 ms later, so that a file dated exactly on the known
    // second still differs by less than one second.
    std::int64_t file = floorDiv(data.lastWriteTime, 1'000'000);
    if (file - floorDiv(file, 1000) * 1000 == 0)
        file += 1;
    std::int64_t seconds = (file > known ? file - known : known - file) / 1000;
    return seconds % 3600 == 0 && seconds <= 6 * 3600;
}

int findSharedFile(const tSharedFileTable& table, std::string_view name, std::uint64_t size,
                   std::uint32_t date) {
    const auto& files = table.files();
    auto it = std::lower_bound(
        files.begin(), files.end(), name,
        [](const tSharedFile& f, std::string_view n) { return icompare(f.name, n) < 0; });
    if (it == files.end() || !iequals(it->name, name))
        return -1;
    if (it->data.size != size || !sameFileDate(date, it->data))
        return -1;
    return static_cast<int>(it - files.begin());
}

} // namespace pln
