#include "common/text.h"
#include "link_fixture.h"
#include "links/core/web_services.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

// A service is a caption, a comma and an address that names the file; the
// window's menu test reads a file of them.
TEST(WebServices, ParsesTheLinesThatReferToTheFileInFileOrder) {
    for (const char* line : {"Jugle, http://x/?q=#hashid", "Size,http://x/?s=#HashID",
                             "\t x,http://x/#FILESIZE \r", "x,http://x/#cleanname"})
        EXPECT_TRUE(isWebServiceLine(line)) << line;
    for (const char* line : {"   # x,http://x/#hashid", "// x,http://x/#name", "/x,http://x/#name",
                             "Home page,http://x/", "  \r", "x,http://x/#hash"})
        EXPECT_FALSE(isWebServiceLine(line)) << line;
    EXPECT_EQ(parseWebServices("  Search by Name  ,   http://s/?q=#Name&x=1  \r\n"
                               "Hash, with comma,http://h/#hashid"),
              (std::vector<tWebService>{{"Search by Name", "http://s/?q=#Name&x=1"},
                                        {"Hash", "with comma,http://h/#hashid"}}));
}

// The extension goes only after the last separator.
TEST(WebServices, FillsTheTemplateFromTheRecord) {
    auto record = linkRecord("a b.part.met", 5'000'000'000ULL);
    EXPECT_EQ(webServiceUrl("http://s/?n=#name&c=#CLEANNAME&f=#filename&g=#cleanFileName", *record),
              "http://s/?n=a+b.part&c=a+b.part&f=a+b.part.met&g=a+b.part.met");
    EXPECT_EQ(webServiceUrl("http://s/#HashID/#filesize/#unknown", *record),
              "http://s/0123456789ABCDEF0123456789ABCDEF/5000000000/#unknown");
    auto tricky = linkRecord("#hashid caf\xC3\xA9", 1);
    EXPECT_EQ(webServiceUrl("http://s/?q=#filename", *tricky), "http://s/?q=%23hashid+caf%C3%A9");
    for (const char* name : {"noext", "dir.v2\\file", "c.d:stream"})
        EXPECT_EQ(nameWithoutExtension(name), name);
    EXPECT_EQ(nameWithoutExtension("trailing."), "trailing");
}

TEST(WebServices, OpensOnlyWebAddressesForOneRow) {
    for (const char* url : {"http://x/", "HTTPS://x/", "ftp://x/f"})
        EXPECT_TRUE(isWebUrl(url)) << url;
    for (const char* url : {"C:\\Windows\\system32\\cmd.exe", "file:///etc/passwd", "httpx://x/"})
        EXPECT_FALSE(isWebUrl(url)) << url;
    EXPECT_FALSE(webServiceItemsEnabled(0));
}

TEST(WebServices, LoadsTheFileOrNothing) {
    TempDir dir;
    std::string utf16 =
        encodeTextFile("Caf\xC3\xA9,http://c/#hashid\r\n", TextEncoding::Utf16LeBom);
    EXPECT_EQ(loadWebServices(dir.write("u16.dat", utf16)),
              (std::vector<tWebService>{{"Caf\xC3\xA9", "http://c/#hashid"}}));
    EXPECT_EQ(loadWebServices(dir.write("ansi.dat", "Caf\xE9,http://c/#hashid")),
              (std::vector<tWebService>{{"Caf\xC3\xA9", "http://c/#hashid"}}));
    std::string big = dir.write("big.dat", std::string((1 << 20) + 1, '#'));
    EXPECT_EQ(errorOf([&] { loadWebServices(big); }),
              "The file \"" + big + "\" is larger than 1048576 bytes.");
}

} // namespace
} // namespace pln
