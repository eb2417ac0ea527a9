#include "logstore/core/log_codec.h"

#include "common/byte_reader.h"
#include "common/error.h"
#include "common/text.h"
#include "logstore/core/log_dialog_rules.h"
#include "logstore/core/log_messages.h"

#include <algorithm>

namespace pln {

namespace {

constexpr std::string_view magic = "PLN";
constexpr std::size_t maxSourceNameBytes = sourceNameFieldSize - 1;
constexpr std::size_t maxUnitsBytes = unitsFieldSize - 2;

// The longest prefix of at most limit bytes that does not cut a UTF-8 sequence.
std::size_t fittingLength(std::string_view text, std::size_t limit) {
    if (text.size() <= limit)
        return text.size();
    std::size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return n;
}

std::string readSourceName(ByteReader& in) {
    std::uint8_t length = in.u8();
    std::string name = in.text(maxSourceNameBytes);
    name.resize(length);
    return decodeStoredText(name);
}

void writeSourceName(std::string_view name, ByteWriter& out) {
    if (name.size() > maxSourceNameBytes)
        throw Error("The source log name is longer than 255 bytes");
    out.u8(static_cast<std::uint8_t>(name.size()));
    out.text(name);
    out.zeros(maxSourceNameBytes - name.size());
}

} // namespace

std::string decodeStoredText(std::string_view bytes) {
    return isValidUtf8(bytes) ? std::string(bytes) : cp1252ToUtf8(bytes);
}

bool prefixIsValid(std::span<const std::uint8_t> prefix, tLogKind kind) {
    return prefix.size() >= logPrefixSize &&
           std::equal(magic.begin(), magic.end(), prefix.begin()) && prefix[3] == 0 &&
           prefix[4] == static_cast<std::uint8_t>(kind);
}

void encodePrefix(tLogKind kind, ByteWriter& out) {
    out.text(magic);
    out.u8(0);
    out.u8(static_cast<std::uint8_t>(kind));
}

std::array<std::uint8_t, unitsFieldSize> encodeUnits(std::string_view units) {
    std::array<std::uint8_t, unitsFieldSize> field{};
    std::size_t n = fittingLength(units, maxUnitsBytes);
    field[0] = static_cast<std::uint8_t>(n + 1);
    std::copy_n(units.begin(), n, field.begin() + 1);
    return field;
}

std::string decodeUnits(std::span<const std::uint8_t, unitsFieldSize> field) {
    std::size_t length = std::min<std::size_t>(field[0], unitsFieldSize - 1);
    std::string_view bytes(reinterpret_cast<const char*>(field.data() + 1), length);
    return decodeStoredText(trimControl(bytes));
}

tLogHeader decodeHeader(std::span<const std::uint8_t, logHeaderSize> bytes) {
    ByteReader in(bytes);
    tLogHeader header;
    header.valueType = in.u8();
    header.flags = in.u8();
    header.multiplier = in.f64();
    header.units = decodeUnits(bytes.subspan<10, unitsFieldSize>());
    return header;
}

void encodeHeader(const tLogHeader& header, ByteWriter& out) {
    out.u8(header.valueType);
    out.u8(header.flags);
    out.f64(header.multiplier);
    out.bytes(encodeUnits(header.units));
}

std::optional<tCombineBlock> decodeCombineBlock(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < combineNamesEnd - headerEnd)
        return std::nullopt;
    ByteReader in(bytes);
    tCombineBlock block;
    const std::uint8_t operation = in.u8();
    if (operation > static_cast<std::uint8_t>(tLogOperation::secondShare))
        return std::nullopt;
    block.operation = static_cast<tLogOperation>(operation);
    block.sourceNames[0] = readSourceName(in);
    block.sourceNames[1] = readSourceName(in);
    for (const std::string& name : block.sourceNames)
        if (!isSourceLogName(name))
            return std::nullopt;
    block.maxValue = in.remaining() >= 8 ? in.f64() : missingValue();
    return block;
}

void encodeCombineBlock(const tCombineBlock& block, ByteWriter& out) {
    out.u8(static_cast<std::uint8_t>(block.operation));
    writeSourceName(block.sourceNames[0], out);
    writeSourceName(block.sourceNames[1], out);
    out.f64(block.maxValue);
}

Error invalidLogFileError(const std::string& fileName) {
    return Error(format(logmsg::invalidLogFile, {fileName}), ErrorKind::invalidFile);
}

tLogFront decodeLogFront(std::span<const std::uint8_t> bytes, tLogKind kind,
                         const std::string& fileName) {
    if (!prefixIsValid(bytes, kind))
        throw invalidLogFileError(fileName);
    tLogFront front;
    if (kind == tLogKind::knownFile) {
        front.header.valueType = valueTypeKnownFile;
        return front;
    }
    if (bytes.size() < headerEnd)
        throw invalidLogFileError(fileName);
    front.header = decodeHeader(bytes.subspan<logPrefixSize, logHeaderSize>());
    if (kind == tLogKind::virtualLog) {
        auto block = decodeCombineBlock(bytes.subspan(headerEnd));
        if (!block)
            throw invalidLogFileError(fileName);
        front.block = std::move(*block);
    }
    return front;
}

std::vector<std::uint8_t> encodeNewLog(tLogKind kind, const tLogHeader& header,
                                       const tCombineBlock& block) {
    ByteWriter out;
    encodePrefix(kind, out);
    if (kind != tLogKind::knownFile)
        encodeHeader(header, out);
    if (kind == tLogKind::virtualLog)
        encodeCombineBlock(block, out);
    return out.take();
}

} // namespace pln
