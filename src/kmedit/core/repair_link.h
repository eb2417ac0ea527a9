#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// The file an ed2k link describes, as known.met would hold it.
struct tEd2kFileLink {
    std::string name; // decoded, UTF-8
    std::uint64_t size = 0;
    std::string hashText; // 32 hexadecimal digits as written in the link
    std::string aichText; // empty when the link carries none
};

// Only the two forms eMule writes are accepted:
//   ed2k://|file|NAME|SIZE|HASH|/   and   ed2k://|file|NAME|SIZE|HASH|h=AICH|/
// with a decimal size, a 32-digit hexadecimal hash and a 32-character
// alphanumeric AICH hash, and a decoded name that a file could bear (no NUL
// and none of \ / : * ? " < > |, as for a rename). Empty when the line is
// anything else.
std::optional<tEd2kFileLink> parseEd2kLink(std::string_view line);

// Why a line of a links box cannot be imported; none when it can.
std::optional<std::string> linkRefusal(std::string_view line);

// Why a links box cannot be imported (its first refused line, or no link at
// all); none when it can.
std::optional<std::string> linksRefusal(std::string_view text);

// The lines of a links box, without the blanks and line ends around them;
// blank lines are left out.
std::vector<std::string> linkLines(std::string_view text);

// A box of links can be imported when it holds at least one link and every
// non-blank line is a link.
bool linksAreValid(std::string_view text);

extern const char* const noLinkMessage;
extern const char* const notALinkMessage;
extern const char* const forbiddenLinkNameMessage;

// Undoes the link encoding of a name: each "%" followed by two hexadecimal
// digits stands for that byte; any other "%" stays. Links written by eMule
// encode UTF-8; a name whose bytes are not UTF-8 comes from an 8-bit
// (Windows-1252) link and is converted.
std::string decodeLinkName(std::string_view encoded);

} // namespace pln
