#pragma once

#include "platform/file_system.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// The text of one of eMule's list files (shareddir.dat, sharedfiles.dat).
// A failed read leaves the text empty; the error says why, for diagnostics:
// the load cycle does not show it, it simply tries again.
struct tDatText {
    bool ok = false;
    std::string text;
    std::string error;
    FileStamp stamp = -1;
};

// A list file larger than this is not one eMule wrote; reading it would only
// cost memory.
inline constexpr std::size_t maxDatFileSize = 64u << 20;

// Reads the whole file and fails when its modification stamp changed during
// the read, so that a file eMule is rewriting is never taken half-written.
tDatText readDatText(FileSystem& files, const std::string& path);

// The file's text up to its first zero character: UTF-16LE after FF FE,
// UTF-8 after EF BB BF, Windows-1252 otherwise.
std::string decodeDatText(std::span<const std::uint8_t> bytes);

// Lines split at CR LF, LF or CR; a final line break ends the last line.
std::vector<std::string> splitLines(std::string_view text);

} // namespace pln
