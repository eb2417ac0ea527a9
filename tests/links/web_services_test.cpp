#include "common/text.h"
#include "link_fixture.h"
#include "links/core/web_services.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

using namespace test;

TEST(WebServices, ServiceLinesReferToTheFile) {
    EXPECT_TRUE(isWebServiceLine("Jugle, http://x/?q=#hashid"));
    EXPECT_TRUE(isWebServiceLine("Size,http://x/?s=#HashID"));
    EXPECT_TRUE(isWebServiceLine("\t x,http://x/#FILESIZE \r"));
    EXPECT_TRUE(isWebServiceLine("x,http://x/#cleanname"));
    EXPECT_FALSE(isWebServiceLine("   # x,http://x/#hashid"));
    EXPECT_FALSE(isWebServiceLine("// x,http://x/#name"));
    EXPECT_FALSE(isWebServiceLine("/x,http://x/#name"));
    EXPECT_FALSE(isWebServiceLine("Home page,http://x/"));
    EXPECT_FALSE(isWebServiceLine("  \r"));
    EXPECT_FALSE(isWebServiceLine("x,http://x/#hash"));
}

TEST(WebServices, ParsesCaptionsAndTemplatesInFileOrder) {
    std::string text = "# eMule web services\r\n"
                       "\r\n"
                       "  Search by Name  ,   http://s/?q=#Name&x=1  \r\n"
                       "Home,http://home/\r\n"
                       "No comma #hashid\r\n"
                       "  #commented,http://c/#hashid\r\n"
                       "Hash, with comma,http://h/#hashid";
    EXPECT_EQ(parseWebServices(text),
              (std::vector<tWebService>{{"Search by Name", "http://s/?q=#Name&x=1"},
                                        {"Hash", "with comma,http://h/#hashid"}}));
    EXPECT_TRUE(parseWebServices("only #hashid\nand #filesize\n").empty());
}

TEST(WebServices, FillsTheTemplateFromTheRecord) {
    auto record = linkRecord("a b.part.met", 5'000'000'000ULL);
    EXPECT_EQ(webServiceUrl("http://s/?n=#name&c=#CLEANNAME&f=#filename&g=#cleanFileName", *record),
              "http://s/?n=a+b.part&c=a+b.part&f=a+b.part.met&g=a+b.part.met");
    EXPECT_EQ(webServiceUrl("http://s/#HashID/#filesize/#unknown", *record),
              "http://s/0123456789ABCDEF0123456789ABCDEF/5000000000/#unknown");
    auto tricky = linkRecord("#hashid caf\xC3\xA9", 1);
    EXPECT_EQ(webServiceUrl("http://s/?q=#filename", *tricky), "http://s/?q=%23hashid+caf%C3%A9");
}

TEST(WebServices, CutsTheExtensionOnlyAfterTheLastSeparator) {
    EXPECT_EQ(nameWithoutExtension("a b.part.met"), "a b.part");
    EXPECT_EQ(nameWithoutExtension("noext"), "noext");
    EXPECT_EQ(nameWithoutExtension("dir.v2\\file"), "dir.v2\\file");
    EXPECT_EQ(nameWithoutExtension("c.d:stream"), "c.d:stream");
    EXPECT_EQ(nameWithoutExtension("trailing."), "trailing");
}

TEST(WebServices, OpensOnlyWebAddressesForOneRow) {
    EXPECT_TRUE(isWebUrl("http://x/"));
    EXPECT_TRUE(isWebUrl("HTTPS://x/"));
    EXPECT_TRUE(isWebUrl("ftp://x/f"));
    EXPECT_FALSE(isWebUrl("C:\\Windows\\system32\\cmd.exe"));
    EXPECT_FALSE(isWebUrl("file:///etc/passwd"));
    EXPECT_FALSE(isWebUrl("httpx://x/"));
    EXPECT_TRUE(webServiceItemsEnabled(1));
    EXPECT_FALSE(webServiceItemsEnabled(0));
    EXPECT_FALSE(webServiceItemsEnabled(2));
}

TEST(WebServices, LoadsTheFileOrNothing) {
    TempDir dir;
    EXPECT_TRUE(loadWebServices(dir.file("webservices.dat")).empty());
    std::string utf16 =
        encodeTextFile("Caf\xC3\xA9,http://c/#hashid\r\n", TextEncoding::Utf16LeBom);
    EXPECT_EQ(loadWebServices(dir.write("u16.dat", utf16)),
              (std::vector<tWebService>{{"Caf\xC3\xA9", "http://c/#hashid"}}));
    EXPECT_EQ(loadWebServices(dir.write("ansi.dat", "Caf\xE9,http://c/#hashid")),
              (std::vector<tWebService>{{"Caf\xC3\xA9", "http://c/#hashid"}}));
    std::string big = dir.write("big.dat", std::string((1 << 20) + 1, '#'));
    EXPECT_EQ(errorOf([&] { loadWebServices(big); }),
              "The file \"" + big + "\" is larger than 1048576 bytes.");
    std::string folder = dir.mkdir("folder.dat");
    EXPECT_EQ(errorOf([&] { loadWebServices(folder); }), "Cannot open \"" + folder + "\".");
}

} // namespace
} // namespace pln
