#include "demo_webservices.h"

#include "common/file_io.h"

#include <string_view>

namespace pln::demo {

// eMule keeps this file as plain text with CR LF line ends.
void writeDemoWebServices(const DemoProfile& profile) {
    constexpr std::string_view text =
        "# eMule web services: one service per line, \"caption,address\".\r\n"
        "# Placeholders: #filename, #cleanfilename, #name, #cleanname, #hashid, #filesize\r\n"
        "\r\n"
        "eMule Project,https://www.emule-project.net/\r\n"
        "Web search by name,https://duckduckgo.com/?q=#cleanname\r\n"
        "Web search by file name,https://duckduckgo.com/?q=#filename\r\n"
        "   # Retired service,http://old.example.net/?hash=#hashid\r\n"
        "File details by hash,https://files.example.org/details?hash=#hashid&size=#filesize\r\n"
        "// Services below this line are kept for reference\r\n"
        "Sources by hash #hashid\r\n"
        "Size check,ftp://ftp.example.org/sizes/#FileSize\r\n";
    replaceFileContents((profile.config() / "webservices.dat").string(),
                        {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

} // namespace pln::demo
