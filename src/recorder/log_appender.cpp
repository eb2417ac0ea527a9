#include "recorder/log_appender.h"

#include "common/error.h"
#include "logstore/core/log_codec.h"
#include "logstore/core/log_messages.h"
#include "platform/locked_file.h"

#include <array>

namespace pln {

void appendRecord(const std::string& folder, const std::string& fileName, tLogKind kind,
                  std::uint8_t valueType, std::span<const std::uint8_t> record) {
    LockedFile file(folder + fileName, LockedFile::Access::ReadWrite);
    std::array<std::uint8_t, headerEnd> front{};
    std::size_t start = kind == tLogKind::knownFile ? logPrefixSize : headerEnd;
    bool valid = kind != tLogKind::virtualLog && file.readAt(0, std::span(front).first(start)) &&
                 prefixIsValid(std::span(front).first(logPrefixSize), kind) &&
                 recordSizeOf(valueType) == record.size();
    if (valid && kind != tLogKind::knownFile) {
        auto header = std::span(front).subspan<logPrefixSize, logHeaderSize>();
        valid = decodeHeader(header).valueType == valueType;
    }
    if (!valid)
        throw Error(format(logmsg::invalidLogFile, {fileName}));
    std::uint64_t whole = (file.size() - start) / record.size() * record.size();
    file.writeAt(start + whole, record);
}

} // namespace pln
