#include "links/core/link_exports.h"

namespace pln {

std::string clipboardText(std::span<const std::string> lines) {
    if (lines.size() == 1)
        return lines.front();
    return collectionFileText(lines);
}

std::string htmlClipboardText(std::span<const std::string> lines) {
    std::string text = clipboardText(lines);
    std::string out;
    out.reserve(text.size() + 4 * lines.size());
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')
            out += "<br>";
        out += text[pos];
    }
    return out;
}

std::string collectionFileText(std::span<const std::string> lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

bool canExportLinks(std::size_t selectedRows, bool knownMetLoaded) {
    return knownMetLoaded && selectedRows > 0;
}

} // namespace pln
