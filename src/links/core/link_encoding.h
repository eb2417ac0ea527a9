#pragma once

#include <string>
#include <string_view>

namespace pln {

// The encodings work on the UTF-8 bytes of the text, so a name in any script
// survives: eMule reads ed2k links and web addresses as UTF-8.

// The ed2k link encoding: ASCII letters, digits and ! $ ' ( ) * + , - . _
// stay; every other byte becomes "%" and two upper-case hexadecimal digits.
std::string linkEncode(std::string_view text);

// The form encoding of web addresses: ASCII letters, digits and - . _ * stay,
// a space becomes "+", every other byte "%" and two upper-case hexadecimal
// digits.
std::string formEncode(std::string_view text);

// Text made safe as the content of an HTML element: "&", "<" and ">" become
// character references, so a file name cannot add markup to a page.
std::string htmlEscape(std::string_view text);

} // namespace pln
