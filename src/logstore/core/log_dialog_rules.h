#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pln {

// What the new-log wizard and the combine dialog accept, decided without a
// screen.

// Whether both Windows and POSIX file systems hold a file of this name: at
// most 255 bytes, no control character, none of / \ : * ? " < > |, no
// trailing dot or space, and not a device name such as CON, NUL or COM1
// (with or without an extension). Logs folders are copied between systems,
// so a name Windows refuses is refused everywhere.
bool isPortableFileName(std::string_view fileName);

// Whether a name stored as a combined log's source can be one: the name of
// an INI value log or "Queued clients" that is a portable file name and holds
// no "..". Neither a known file's log nor another combined log can be a
// source, and a name reaching out of the logs folder must never be opened.
bool isSourceLogName(std::string_view name);

// Whether a title can name a combined log: not empty, none of
// / \ : * ? " < > |, and short enough, with the log's prefix and its longest
// extension, to be a file name.
bool isValidVirtualTitle(std::string_view title);

// The key of a key node's caption "key = value": the text before the first
// "=", trimmed.
std::string keyOfCaption(std::string_view caption);

// The name of the log of an INI value. Empty when the name would not give
// back the same file, section and key (a "-" in the file name, a "," in the
// file or section name) or could not be a file name: such a log would never
// receive a value.
std::optional<std::string> iniLogNameFor(std::string_view file, std::string_view section,
                                         std::string_view key);

// The maximum of a combined log: the missing value when none is used; empty
// when the text is not a number.
std::optional<double> maxValueOf(bool useMaxValue, std::string_view text, char decimalSeparator);

// The maximum of a combined log being edited, by the rule of
// editedMultiplier: the stored one while its box shows the text it was
// filled with; empty when that one is not finite.
std::optional<double> editedMaxValue(bool useMaxValue, std::string_view text,
                                     std::string_view shown, double stored, char decimalSeparator);

// The entries of the combine dialog.
struct tCombineEntries {
    std::string title;
    std::string multiplier;
    bool useMaxValue = false;
    std::string maxValue;
};

// Whether the combine dialog may be confirmed: a valid multiplier and
// maximum, and a valid title whose log does not exist yet unless it is the
// edited log (editedName, empty for a new log).
bool combineEntriesValid(const tCombineEntries& entries, char decimalSeparator,
                         const std::string& logsFolder, std::string_view editedName);

} // namespace pln
