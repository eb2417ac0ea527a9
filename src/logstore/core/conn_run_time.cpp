#include "logstore/core/conn_run_time.h"

#include "logstore/core/log_files.h"
#include "logstore/core/log_records.h"

#include <vector>

namespace pln {

namespace {

constexpr std::size_t recordSize = recordSizeOf(valueTypeInteger);

std::int32_t valueAt(std::span<const std::uint8_t> records, std::size_t i) {
    return static_cast<std::int32_t>(loadU32(records.data() + i * recordSize + recordValueOffset));
}

} // namespace

bool connRunTimeDrops(std::span<const std::uint8_t> records) {
    std::size_t n = records.size() / recordSize;
    for (std::size_t i = 1; i < n; ++i)
        if (valueAt(records, i - 1) > valueAt(records, i))
            return true;
    return false;
}

bool correctConnRunTime(std::span<std::uint8_t> records) {
    std::size_t n = records.size() / recordSize;
    if (n == 0)
        return false;
    // Unsigned arithmetic: a hostile file may push the sums past 32 bits.
    std::uint32_t offset = 0;
    std::int32_t previous = valueAt(records, 0);
    for (std::size_t i = 1; i < n; ++i) {
        // Drops are judged on the stored values; each reset adds the total
        // reached before it, so all resets are mended in one pass.
        std::int32_t stored = valueAt(records, i);
        if (previous > stored)
            offset += static_cast<std::uint32_t>(previous);
        previous = stored;
        std::uint8_t* p = records.data() + i * recordSize + recordValueOffset;
        storeU32(p, static_cast<std::uint32_t>(stored) + offset);
    }
    return offset != 0;
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

void requestConnRunTimeWriteBack(const tLogFiles& logs) {
    tLogFile* log = logs.connRunTimeLog();
    if (log && log->takeWriteBackRequest())
        logs.context().recorder.suspend(connRunTimeFixTask);
}

} // namespace pln
