#pragma once

#include "emulefiles/core/known_met_record.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// A selected row of the known files list: its record and the text of its
// "Path" column (the folder the shared file was found in, empty when the
// file is not shared).
struct tLinkRow {
    const tKnownMetRecord* record = nullptr;
    std::string folder;
};

// One line of a link export. An empty format gives the plain ed2k link.
// Otherwise the placeholders of the format (<link>, <htmlLink>, <name>,
// <urlName>, <folder>, <urlFolder>, <hash>, <aich>, <size>, <transferred>,
// <requested>, <accepted>, case ignored) and the sequences backslash-n (CR LF)
// and backslash-t (tab) are replaced. Only the user's format is interpreted:
// a folder such as D:\new keeps its backslashes and a name holding
// "<size>" keeps it.
std::string formatLinkLine(std::string_view format, const tLinkRow& row);

// One line per row, in the order of the rows.
std::vector<std::string> getLinksCollection(std::string_view format,
                                            std::span<const tLinkRow> rows);

inline constexpr std::string_view htmlLinkFormat = "<htmlLink>";

} // namespace pln
