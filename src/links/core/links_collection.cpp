#include "links/core/links_collection.h"

#include "links/core/ed2k_link.h"
#include "links/core/link_encoding.h"
#include "links/core/placeholder_text.h"

#include <array>

namespace pln {

std::string formatLinkLine(std::string_view format, const tLinkRow& row) {
    const tKnownMetRecord& record = *row.record;
    std::string link = ed2kLink(record);
    if (format.empty())
        return link;
    std::string name = record.getFileName();
    const std::array<tPlaceholder, 14> placeholders{{
        {"<link>", link},
        {"<htmlLink>", "<a href=" + link + ">" + htmlEscape(name) + "</a>"},
        {"<name>", name},
        {"<urlName>", linkEncode(name)},
        {"<folder>", row.folder},
        {"<urlFolder>", linkEncode(row.folder)},
        {"<hash>", record.hash.toString()},
        {"<aich>", record.getAichHash()},
        {"<size>", std::to_string(record.getFileSize())},
        {"<transferred>", std::to_string(record.getTransferred())},
        {"<requested>", std::to_string(record.getRequested())},
        {"<accepted>", std::to_string(record.getAccepted())},
        {"\\n", "\r\n", true},
        {"\\t", "\t", true},
    }};
    return replacePlaceholders(format, placeholders);
}

std::vector<std::string> getLinksCollection(std::string_view format,
                                            std::span<const tLinkRow> rows) {
    std::vector<std::string> lines;
    lines.reserve(rows.size());
    for (const auto& row : rows)
        lines.push_back(formatLinkLine(format, row));
    return lines;
}

} // namespace pln
