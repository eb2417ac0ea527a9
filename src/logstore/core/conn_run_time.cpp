#include "logstore/core/conn_run_time.h"

#include "logstore/core/log_files.h"
#include "logstore/core/log_records.h"

#include <vector>

namespace pln {

namespace {

constexpr std::size_t recordSize = 8;

std::int32_t valueAt(std::span<const std::uint8_t> records, std::size_t i) {
    return static_cast<std::int32_t>(loadU32(records.data() + i * recordSize + 4));
}

} // namespace

bool correctConnRunTime(std::span<std::uint8_t> records) {
    std::size_t n = records.size() / recordSize;
    std::size_t drop = 0;
    for (std::size_t i = n; i-- > 1;) {
        if (valueAt(records, i - 1) > valueAt(records, i)) {
            drop = i;
            break;
        }
    }
    if (drop == 0)
        return false;
    // Unsigned arithmetic: a hostile file may push the sum past 32 bits.
    auto offset = static_cast<std::uint32_t>(valueAt(records, drop - 1));
    for (std::size_t i = drop; i < n; ++i) {
        std::uint8_t* p = records.data() + i * recordSize + 4;
        storeU32(p, loadU32(p) + offset);
    }
    return true;
}

bool writeBackConnRunTime(const tLogFiles& logs) {
    const tLogFile* log = logs.connRunTimeLog();
    if (!log)
        return false;
    // A fresh object of the same name is not the catalogue's ConnRunTime log,
    // so loading it does not ask the recorder to pause once more.
    tLogFile fresh(logs.context(), log->name());
    if (fresh.valueType() != valueTypeInteger)
        return false;
    fresh.loadValues();
    auto loaded = fresh.records();
    std::vector<std::uint8_t> records(loaded.begin(), loaded.end());
    records.resize(records.size() / recordSize * recordSize);
    if (!correctConnRunTime(records))
        return false;
    return fresh.replaceValues(records);
}

} // namespace pln
