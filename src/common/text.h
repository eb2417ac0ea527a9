#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pln {

// Text in memory is UTF-8. eMule's byte strings are decoded once at the edge.

// Windows-1252 bytes to UTF-8 (the five undefined code points map to the
// C1 control characters of the same value, so no byte is ever lost).
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; empty when a character has no Windows-1252 byte.
std::optional<std::string> utf8ToCp1252(std::string_view utf8);

// UTF-16LE code units (no byte-order mark) to UTF-8; unpaired surrogates
// become U+FFFD. An odd trailing byte is ignored.
std::string utf16leToUtf8(std::span<const std::uint8_t> bytes);

// UTF-8 to UTF-16LE bytes (no byte-order mark).
std::string utf8ToUtf16le(std::string_view utf8);

// Whether the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

// Replaces ill-formed UTF-8 sequences by U+FFFD.
std::string sanitizeUtf8(std::string_view bytes);

bool isAscii(std::string_view text);

inline constexpr std::string_view utf8Bom = "\xEF\xBB\xBF";

// An eMule name as stored: EF BB BF + UTF-8 is UTF-8, anything else is
// Windows-1252.
std::string decodeEmuleString(std::string_view stored);

// The bytes eMule stores for a name: ASCII as it is, anything else EF BB BF +
// UTF-8 (what eMule itself writes).
std::string encodeEmuleString(std::string_view utf8);

// Text of a file that may be UTF-16LE with BOM, UTF-8 with BOM or 8-bit
// (Windows-1252) text, decoded to UTF-8.
enum class TextEncoding { Ansi, Utf8Bom, Utf16LeBom };
TextEncoding detectEncoding(std::string_view fileBytes);
std::string decodeTextFile(std::string_view fileBytes);
// Encodes UTF-8 text into the given encoding, with its byte-order mark.
std::string encodeTextFile(std::string_view utf8, TextEncoding encoding);

// ASCII case folding, as used for names that eMule and the recorder compare
// without regard to case.
std::string toLowerAscii(std::string_view text);
std::string toUpperAscii(std::string_view text);
bool iequals(std::string_view a, std::string_view b);
int icompare(std::string_view a, std::string_view b);
bool istartsWith(std::string_view text, std::string_view prefix);

// UTF-8 text with every character case-folded as Windows compares names
// (Unicode simple case folding); ill-formed bytes stay as they are. Two
// names are one name when their folded texts are equal.
std::string foldCase(std::string_view utf8);

// Leading and trailing characters at or below the space character removed.
std::string trimControl(std::string_view text);

} // namespace pln
