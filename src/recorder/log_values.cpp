#include "recorder/log_values.h"

#include "app/core/process_values.h"
#include "common/byte_writer.h"
#include "common/text.h"
#include "emulefiles/core/known_met_record.h"
#include "logstore/core/log_types.h"

#include <charconv>
#include <fstream>
#include <limits>

namespace pln {

namespace {

std::optional<std::int64_t> wholeInteger(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    std::int64_t value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (first == last || ec != std::errc() || ptr != last)
        return std::nullopt;
    return value;
}

template <typename T> bool fits(std::int64_t value) {
    return value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
}

} // namespace

std::vector<std::uint8_t> knownFileRecord(dosDateTime date, const tKnownMetRecord& record) {
    ByteWriter out;
    out.u32(date);
    out.u32(record.getRequested());
    out.u32(record.getAccepted());
    out.u64(record.getTransferred());
    return out.take();
}

std::optional<std::vector<std::uint8_t>> statsRecord(dosDateTime date, std::uint8_t valueType,
                                                     const std::string& text) {
    ByteWriter out;
    out.u32(date);
    if (valueType == valueTypeReal) {
        std::optional<double> value = parseUsDecimal(text);
        if (!value)
            return std::nullopt;
        out.f64(*value);
        return out.take();
    }
    std::optional<std::int64_t> value = wholeInteger(text);
    if (!value)
        return std::nullopt;
    switch (valueType) {
    case valueTypeByte:
        if (!fits<std::int8_t>(*value))
            return std::nullopt;
        out.i8(static_cast<std::int8_t>(*value));
        break;
    case valueTypeShort:
        if (!fits<std::int16_t>(*value))
            return std::nullopt;
        out.i16(static_cast<std::int16_t>(*value));
        break;
    case valueTypeInteger:
        if (!fits<std::int32_t>(*value))
            return std::nullopt;
        out.i32(static_cast<std::int32_t>(*value));
        break;
    case valueTypeLong:
        out.i64(*value);
        break;
    default:
        return std::nullopt;
    }
    return out.take();
}

} // namespace pln
