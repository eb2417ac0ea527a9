#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace pln {

// The target path a Windows shortcut (.lnk) names for a file on a local
// drive ("C:\Films\a.avi"), read from the shortcut's own bytes: its link
// information's local base path and common path suffix, the Unicode forms
// when present, else the ANSI ones (taken as Windows-1252). Empty when the
// bytes are no shortcut or name no local path.
std::optional<std::string> shellLinkLocalTarget(std::span<const std::uint8_t> bytes);

} // namespace pln
