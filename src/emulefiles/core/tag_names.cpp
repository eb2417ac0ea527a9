#include "emulefiles/core/tag_names.h"

#include "common/text.h"

#include <array>
#include <utility>

namespace pln {

namespace {

constexpr std::pair<std::uint8_t, std::string_view> namedIds[] = {
    {1, "FILENAME"},
    {2, "FILESIZE"},
    {3, "FILETYPE"},
    {4, "FILEFORMAT"},
    {5, "LASTSEENCOMPLETE"},
    {8, "TRANSFERRED"},
    {9, "GAPSTART"},
    {10, "GAPEND"},
    {11, "DESCRIPTION"},
    {18, "PARTFILENAME"},
    {20, "STATUS"},
    {21, "SOURCES"},
    {22, "PERMISSIONS"},
    {24, "DLPRIORITY"},
    {25, "ULPRIORITY"},
    {26, "COMPRESSION"},
    {27, "CORRUPTED"},
    {32, "KADLASTPUBLISHKEY"},
    {33, "KADLASTPUBLISHSRC"},
    {34, "FLAGS"},
    {35, "DL_ACTIVE_TIME"},
    {36, "CORRUPTEDPARTS"},
    {37, "DL_PREVIEW"},
    {38, "KADLASTPUBLISHNOTES"},
    {39, "AICH_HASH"},
    {40, "FILEHASH"},
    {48, "COMPLETE_SOURCES"},
    {49, "COLLECTIONAUTHOR"},
    {50, "COLLECTIONAUTHORKEY"},
    {58, "FILESIZE_HI"},
    {80, "ATTRANSFERRED"},
    {81, "ATREQUESTED"},
    {82, "ATACCEPTED"},
    {83, "CATEGORY"},
    {84, "ATTRANSFERREDHI"},
    {85, "MAXSOURCES"},
    {208, "MEDIA_ARTIST"},
    {209, "MEDIA_ALBUM"},
    {210, "MEDIA_TITLE"},
    {211, "MEDIA_LENGTH"},
    {212, "MEDIA_BITRATE"},
    {213, "MEDIA_CODEC"},
    {246, "FILECOMMENT"},
    {247, "FILERATING"},
};

constexpr std::array<std::string_view, 256> nameTable = [] {
    std::array<std::string_view, 256> table{};
    for (const auto& [id, name] : namedIds)
        table[id] = name;
    return table;
}();

constexpr std::array<std::string_view, 12> typeNames = {"",        "HASH",  "STRING",    "UINT32",
                                                        "FLOAT32", "BOOL",  "BOOLARRAY", "BLOB",
                                                        "UINT16",  "UINT8", "BSOB",      "UINT64"};

} // namespace

std::string_view knownMetTagName(std::uint8_t id) {
    return nameTable[id];
}

std::string knownMetTagLabel(const tKnownMetTag& tag) {
    // A stored name reads up to its first NUL, as eMule shows it.
    if (tag.name) {
        std::string_view stored = *tag.name;
        return decodeEmuleString(stored.substr(0, stored.find('\0')));
    }
    std::string_view fromTable = knownMetTagName(tag.nameId);
    return fromTable.empty() ? std::to_string(tag.nameId) : std::string(fromTable);
}

std::string_view knownMetTagTypeName(std::uint8_t type) {
    return type < typeNames.size() ? typeNames[type] : std::string_view();
}

} // namespace pln
