#include "common/shell_link.h"

#include "common/byte_reader.h"
#include "common/error.h"
#include "common/text.h"

#include <algorithm>
#include <array>

namespace pln {

namespace {

constexpr std::uint32_t headerSize = 0x4C;
constexpr std::array<std::uint8_t, 16> linkClassId = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint32_t hasTargetIdList = 0x01;
constexpr std::uint32_t hasLinkInfo = 0x02;
constexpr std::uint32_t volumeIdAndLocalBasePath = 0x01;
// Link information headers this long or longer carry Unicode offsets.
constexpr std::uint32_t unicodeHeaderSize = 0x24;

// A NUL-terminated string that starts at offset inside the link information.
std::string ansiAt(std::span<const std::uint8_t> info, std::uint32_t offset) {
    if (offset >= info.size())
        throw Error("Shortcut string outside its link information");
    auto begin = info.begin() + offset;
    auto end = std::find(begin, info.end(), std::uint8_t{0});
    return cp1252ToUtf8(std::string(begin, end));
}

std::string unicodeAt(std::span<const std::uint8_t> info, std::uint32_t offset) {
    if (offset >= info.size())
        throw Error("Shortcut string outside its link information");
    std::size_t end = offset;
    while (end + 1 < info.size() && (info[end] != 0 || info[end + 1] != 0))
        end += 2;
    return utf16leToUtf8(info.subspan(offset, end - offset));
}

std::optional<std::string> localTarget(std::span<const std::uint8_t> info) {
    ByteReader reader(info);
    reader.skip(4);
    const std::uint32_t infoHeaderSize = reader.u32();
    const std::uint32_t flags = reader.u32();
    reader.skip(4);
    const std::uint32_t basePathOffset = reader.u32();
    reader.skip(4);
    const std::uint32_t suffixOffset = reader.u32();
    if ((flags & volumeIdAndLocalBasePath) == 0)
        return std::nullopt;
    if (infoHeaderSize >= unicodeHeaderSize) {
        const std::uint32_t unicodeBase = reader.u32();
        const std::uint32_t unicodeSuffix = reader.u32();
        if (unicodeBase != 0)
            return unicodeAt(info, unicodeBase) +
                   (unicodeSuffix != 0 ? unicodeAt(info, unicodeSuffix) : std::string());
    }
    return ansiAt(info, basePathOffset) + ansiAt(info, suffixOffset);
}

} // namespace

std::optional<std::string> shellLinkLocalTarget(std::span<const std::uint8_t> bytes) {
    try {
        ByteReader reader(bytes);
        if (reader.u32() != headerSize)
            return std::nullopt;
        auto classId = reader.view(linkClassId.size());
        if (!std::equal(classId.begin(), classId.end(), linkClassId.begin()))
            return std::nullopt;
        const std::uint32_t flags = reader.u32();
        reader.seek(headerSize);
        if (flags & hasTargetIdList)
            reader.skip(reader.u16());
        if ((flags & hasLinkInfo) == 0)
            return std::nullopt;
        const std::size_t infoStart = reader.position();
        const std::uint32_t infoSize = reader.u32();
        reader.seek(infoStart);
        auto target = localTarget(reader.view(infoSize));
        if (target && target->empty())
            return std::nullopt;
        return target;
    } catch (const Error&) {
        return std::nullopt;
    }
}

} // namespace pln
