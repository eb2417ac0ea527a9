#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace pln {

// The clipboard text of an export: a single line alone, without a line
// break; several lines each followed by CR LF; no line an empty text.
std::string clipboardText(std::span<const std::string> lines);

// The clipboard text with every CR LF turned into "<br>" CR LF, so the lines
// stay apart when the text is pasted into a page.
std::string htmlClipboardText(std::span<const std::string> lines);

// The contents of an eMule collection in text form: every line followed by
// CR LF.
std::string collectionFileText(std::span<const std::string> lines);

// The link exports need at least one selected row of a loaded known.met.
bool canExportLinks(std::size_t selectedRows, bool knownMetLoaded);

} // namespace pln
