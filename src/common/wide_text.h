#pragma once

#include <string>

namespace pln {

// Windows speaks UTF-16 in its wide calls; text in memory is UTF-8. Invalid
// sequences become U+FFFD rather than cutting the text short.
std::wstring toWide(const std::string& text);
std::string fromWide(const std::wstring& text);
std::string fromWide(const wchar_t* text);

// The system's text for a Windows error code (GetLastError), without the
// trailing line break.
std::string windowsErrorText(unsigned long error);

} // namespace pln
