#include "common/text.h"
#include "emulefiles/emulefiles_prelude.h"
#include "link_fixture.h"
#include "links/core/ed2k_link.h"
#include "links/core/link_encoding.h"
#include "links/core/link_exports.h"
#include "links/core/links_collection.h"
#include "links/core/web_services.h"

namespace pln {
namespace {

using namespace test;

TEST(LinkEncoding, EncodesEveryByteClass) {
    const std::tuple<const char*, std::string, std::string, std::string> rows[] = {
        {"letters and digits", "azAZ09", "azAZ09", "azAZ09"},
        {"link punctuation", "!$'()*+,-._", "!$'()*+,-._", "%21%24%27%28%29*%2B%2C-._"},
        {"other punctuation", "\"#%&/:;<=>?@[\\]^`{|}~",
         "%22%23%25%26%2F%3A%3B%3C%3D%3E%3F%40%5B%5C%5D%5E%60%7B%7C%7D%7E",
         "%22%23%25%26%2F%3A%3B%3C%3D%3E%3F%40%5B%5C%5D%5E%60%7B%7C%7D%7E"},
        {"space", "a b", "a%20b", "a+b"},
        {"control and delete", std::string("\x00\x09\x1F\x7F", 4), "%00%09%1F%7F", "%00%09%1F%7F"},
        {"latin letter as UTF-8", "caf\xC3\xA9", "caf%C3%A9", "caf%C3%A9"},
        {"cyrillic name", "\xD0\xB4\xD0\xB0.txt", "%D0%B4%D0%B0.txt", "%D0%B4%D0%B0.txt"},
    };
    for (const auto& [title, text, link, form] : rows) {
        EXPECT_EQ(linkEncode(text), link) << title;
        EXPECT_EQ(formEncode(text), form) << title;
    }
}

// Several rows end every line; the HTML form breaks only at CR LF.
TEST(ClipboardText, EndsEveryLineButASingleOne) {
    const std::tuple<std::vector<std::string>, std::string, std::string> rows[] = {
        {{}, "", ""},
        {{"a\r\nb"}, "a\r\nb", "a<br>\r\nb"},
        {{"a", "b"}, "a\r\nb\r\n", "a<br>\r\nb<br>\r\n"},
        {{"a\rb\nc\r\nd"}, "a\rb\nc\r\nd", "a\rb\nc<br>\r\nd"},
    };
    for (const auto& [lines, text, html] : rows) {
        EXPECT_EQ(clipboardText(lines), text) << text;
        EXPECT_EQ(htmlClipboardText(lines), html) << text;
    }
    EXPECT_EQ(collectionFileText(std::get<0>(rows[1])), "a\r\nb\r\n");
    EXPECT_FALSE(canExportLinks(3, false));
}

// Every placeholder in any case, the format's own backslash sequences, and
// placeholders that are text of the file, which stay as they are.
TEST(FormatLinkLine, FillsEveryPlaceholderOfTheRecord) {
    const std::string aich = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
    const std::string plain = "ed2k://|file|a%20b%26c.txt|1234|" + hashA + "|";
    const std::string html = "<a href=" + plain + "h=" + aich + "|/>a b&amp;c.txt</a>";
    // Name, folder, size, AICH hash, format and the line it gives.
    const std::tuple<const char*, const char*, std::uint64_t, std::string, std::string, std::string>
        rows[] = {
            {"a b&c.txt", "", 1234, "", "", plain + "/"},
            {"a b&c.txt", "", 1234, aich, "<link>", plain + "h=" + aich + "|/"},
            {"big.iso", "", 5'000'000'000, "", "",
             "ed2k://|file|big.iso|5000000000|" + hashA + "|/"},
            {"a b&c.txt", "D:\\new\\tunes", 1, aich,
             "<htmlLink>|<name>|<urlName>|<folder>|<urlFolder>",
             "<a href=ed2k://|file|a%20b%26c.txt|1|" + hashA + "|h=" + aich +
                 "|/>a b&amp;c.txt</a>|a b&c.txt|a%20b%26c.txt|D:\\new\\tunes|D%3A%5Cnew%5Ctunes"},
            {"a", "", 1234, aich, "<hash> <aich> <size> <transferred> <requested> <accepted>",
             hashA + " " + aich + " 1234 5000000000 17 9"},
            {"a b&c.txt", "", 1234, aich, "<NAME>/<Size>/<HTMLLINK>", "a b&c.txt/1234/" + html},
            {"a", "", 1, "", "<name", "<name"},
            {"a b&c.txt", "D:\\new\\tunes", 1234, "", "<name>\\t<size>\\n<folder>\\n<urlName>",
             "a b&c.txt\t1234\r\nD:\\new\\tunes\r\na%20b%26c.txt"},
            {"a", "", 1, "", "\\N\\T\\x", "\\N\\T\\x"},
            {"<size>.avi", "C:\\<name>\\n", 1234, "", "<name> <size> <folder>",
             "<size>.avi 1234 C:\\<name>\\n"},
            {"<size>\"1\".avi", "", 1234, "", "<htmlLink>",
             "<a href=ed2k://|file|%3Csize%3E%221%22.avi|1234|" + hashA +
                 "|/>&lt;size&gt;\"1\".avi</a>"},
        };
    for (const auto& [name, folder, size, rowAich, format, line] : rows) {
        auto record = linkRecord(name, size, rowAich);
        EXPECT_EQ(formatLinkLine(format, {record.get(), folder}), line) << format;
        EXPECT_TRUE(!format.empty() || ed2kLink(*record) == line);
    }
}

// A service is a caption, a comma and an address that names the file, read
// from a file of them in UTF-16 or 8-bit text.
TEST(WebServices, LoadsTheLinesThatReferToTheFileOpensWebAddressesAndFillsTemplates) {
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
    // A service opens web addresses only, and for one row.
    for (const char* url : {"http://x/", "HTTPS://x/", "ftp://x/f"})
        EXPECT_TRUE(isWebUrl(url)) << url;
    for (const char* url : {"C:\\Windows\\system32\\cmd.exe", "file:///etc/passwd", "httpx://x/"})
        EXPECT_FALSE(isWebUrl(url)) << url;
    EXPECT_FALSE(webServiceItemsEnabled(0));

    TempDir dir;
    const std::vector<tWebService> cafe{{"Caf\xC3\xA9", "http://c/#hashid"}};
    EXPECT_EQ(
        loadWebServices(dir.write("u16.dat", encodeTextFile("Caf\xC3\xA9,http://c/#hashid\r\n",
                                                            TextEncoding::Utf16LeBom))),
        cafe);
    EXPECT_EQ(loadWebServices(dir.write("ansi.dat", "Caf\xE9,http://c/#hashid")), cafe);
    std::string big = dir.write("big.dat", std::string((1 << 20) + 1, '#'));
    EXPECT_EQ(errorOf([&] { loadWebServices(big); }),
              "The file \"" + big + "\" is larger than 1048576 bytes.");

    // A template takes the record's values; the extension goes only after
    // the last separator.
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

#ifndef _WIN32
TEST(LinksTool, PrintsTheChosenRecordsAndReportsUnknownHashesAndMisuse) {
    TempDir dir;
    ByteWriter w;
    fileHead(w, 2);
    linkRecord("a b&c.txt", 1234)->writeToStream(w);
    linkRecord("z.txt", 7, "AICH", hashB)->writeToStream(w);
    const std::string file = dir.write("known.met", w.buffer());
    EXPECT_EQ(runPlnTool("links " + file),
              (CommandRun{0, "ed2k://|file|a%20b%26c.txt|1234|" + hashA + "|/\n" +
                                 "ed2k://|file|z.txt|7|" + hashB + "|h=AICH|/\n"}));
    EXPECT_EQ(runPlnTool("links " + file + " --format '<NAME>\\t<size>' " + hashB + " " + hashA),
              (CommandRun{0, "z.txt\t7\na b&c.txt\t1234\n"}));
    const std::string none(32, '0');
    EXPECT_EQ(runPlnTool("links " + file + " " + none),
              (CommandRun{1, "pln-tool: " + file + ": No record with the hash " + none + "\n"}));
    EXPECT_EQ(runPlnTool("links " + file + " xyz"),
              (CommandRun{1, "pln-tool: " + file + ": Invalid hash\n"}));
    EXPECT_EQ(runPlnTool("links").status, 2);
    EXPECT_EQ(runPlnTool("links " + file + " --format").status, 2);
}
#endif

} // namespace
} // namespace pln
