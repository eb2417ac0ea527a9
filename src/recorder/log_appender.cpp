#include "recorder/log_appender.h"

#include "common/error.h"
#include "logstore/core/log_codec.h"
#include "platform/locked_file.h"

#include <array>

namespace pln {

void appendRecord(const std::string& folder, const std::string& fileName, tLogKind kind,
                  std::uint8_t valueType, std::span<const std::uint8_t> record) {
    LockedFile file(folder + fileName, LockedFile::Access::ReadWrite);
    if (kind == tLogKind::virtualLog || recordSizeOf(valueType) != record.size())
        throw invalidLogFileError(fileName);
    const std::size_t start = recordAreaStart(kind);
    std::array<std::uint8_t, headerEnd> front{};
    std::size_t n = file.readSomeAt(0, std::span(front).first(start));
    tLogFront decoded = decodeLogFront(std::span(front).first(n), kind, fileName);
    if (kind != tLogKind::knownFile && decoded.header.valueType != valueType)
        throw invalidLogFileError(fileName);
    std::uint64_t whole = (file.size() - start) / record.size() * record.size();
    file.writeAt(start + whole, record);
}

} // namespace pln
