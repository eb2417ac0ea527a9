#include "emulefiles/core/dat_text_reader.h"

#include "common/error.h"
#include "common/text.h"

#include <fstream>

namespace pln {

namespace {

std::vector<std::uint8_t> readBounded(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error(format("Cannot open file \"%s\".", {path}), ErrorKind::io);
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0)
        throw Error(format("Cannot read file \"%s\".", {path}), ErrorKind::io);
    if (static_cast<std::uint64_t>(size) > maxDatFileSize)
        throw Error(format("The \"%s\" file is too large to be a list of paths.", {path}),
                    ErrorKind::invalidFile);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(data.data()), size);
    if (in.gcount() != size)
        throw Error(format("Cannot read file \"%s\".", {path}), ErrorKind::io);
    return data;
}

std::string_view untilZeroByte(std::span<const std::uint8_t> bytes) {
    std::string_view s(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return s.substr(0, s.find('\0'));
}

} // namespace

tDatText readDatText(FileSystem& files, const std::string& path) {
    tDatText out;
    try {
        auto before = files.modificationStamp(path);
        if (!before || !files.fileExists(path))
            throw Error(format("Cannot open file \"%s\".", {path}), ErrorKind::io);
        auto bytes = readBounded(path);
        if (files.modificationStamp(path) != before)
            throw Error(
                format("The \"%s\" file has been modified while trying to read it.", {path}));
        out.text = decodeDatText(bytes);
        out.stamp = *before;
        out.ok = true;
    } catch (const Error& e) {
        out.text.clear();
        out.error = e.what();
    }
    return out;
}

std::string decodeDatText(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        std::size_t end = 2;
        while (end + 1 < bytes.size() && (bytes[end] != 0 || bytes[end + 1] != 0))
            end += 2;
        return utf16leToUtf8(bytes.subspan(2, end - 2));
    }
    std::string_view text = untilZeroByte(bytes);
    if (text.starts_with(utf8Bom))
        return sanitizeUtf8(text.substr(utf8Bom.size()));
    return cp1252ToUtf8(text);
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

} // namespace pln
