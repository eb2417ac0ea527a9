#include "common/byte_writer.h"
#include "common/shell_link.h"
#include "common/text.h"
#include "emulefiles/core/windows_path.h"
#include "emulefiles/core/wine_paths.h"
#include "known_met_bytes.h"
#include "platform/posix/posix_file_listing.h"
#include "platform/posix/posix_file_system.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pln {
namespace {

// A prefix whose drive C: holds names in several scripts and letter cases.
class WinePathsTest : public testing::Test {
protected:
    WinePathsTest() : prefix(dir.mkdir("prefix") + "/") {
        dir.mkdir("prefix/dosdevices");
        dir.mkdir("prefix/drive_c");
        std::filesystem::create_directory_symlink("../drive_c", prefix + "dosdevices/c:");
        for (const char* file :
             {"Shared/Ärger.mp3", "ärger/a.txt", "Μουσική/σονάτα.flac", "Data/x", "data/y"})
            dir.write(std::string("prefix/drive_c/") + file, "x");
    }

    test::TempDir dir;
    std::string prefix;
    PosixFileListing listing{std::nullopt};
    PosixFileSystem files;
};

TEST_F(WinePathsTest, ComponentsAreFoundAsWineFindsThem) {
    struct Row {
        const char* stored;
        const char* native; // under drive C: of the prefix
    };
    const Row rows[] = {
        {"C:\\shared\\ärger.MP3", "Shared/Ärger.mp3"},
        {"c:/SHARED/", "Shared/"},
        {"C:\\ÄRGER\\A.TXT", "ärger/a.txt"},
        {"C:\\ΜΟΥΣΙΚΉ\\ΣΟΝΆΤΑ.FLAC", "Μουσική/σονάτα.flac"},
        {"C:\\data\\y", "data/y"},
        {"C:\\Data\\x", "Data/x"},
        {"C:\\Shared\\New\\ärger.mp3", "Shared/New/ärger.mp3"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(wineNativePath(listing, prefix, row.stored),
                  prefix + "dosdevices/c:/" + row.native)
            << row.stored;
    EXPECT_EQ(wineNativePath(listing, prefix, "/home/ann/Shared/"), std::nullopt);

    EXPECT_EQ(comparePaths("C:\\ÄRGER\\Σ\\", "c:/ärger/ς/"), 0) << "two spellings, one folder";
    EXPECT_NE(comparePaths("C:\\Ärger\\", "C:\\Ärgerlich\\"), 0);
    EXPECT_EQ(enclosingWinePrefix(files, prefix + "drive_c/Shared/"), prefix);
    EXPECT_EQ(enclosingWinePrefix(files, dir.mkdir("elsewhere")), std::nullopt);
}

// A shortcut as Windows writes one for a local file: header, an item id
// list, and link information with the target's base path and suffix, in the
// ANSI code page and, when unicode is set, in UTF-16 too.
std::vector<std::uint8_t> shortcut(const std::string& base, const std::string& suffix,
                                   bool unicode) {
    const std::string ansiBase = utf8ToCp1252(base).value_or("?");
    const std::string ansiSuffix = utf8ToCp1252(suffix).value_or("?");
    const std::uint32_t headerSize = unicode ? 0x24 : 0x1C;
    const std::uint32_t volumeId = headerSize;
    const std::uint32_t ansiAt = volumeId + 16;
    const std::uint32_t suffixAt = ansiAt + static_cast<std::uint32_t>(ansiBase.size()) + 1;
    const std::uint32_t wideAt = suffixAt + static_cast<std::uint32_t>(ansiSuffix.size()) + 1;
    const std::string wideBase = utf8ToUtf16le(base) + std::string(2, '\0');
    const std::string wideSuffix = utf8ToUtf16le(suffix) + std::string(2, '\0');
    const auto wideSuffixAt = wideAt + static_cast<std::uint32_t>(wideBase.size());
    std::string info = std::string(16, '\x11') + ansiBase + '\0' + ansiSuffix + '\0';
    if (unicode)
        info += wideBase + wideSuffix;

    ByteWriter out;
    // Header size, class id, flags: an item id list and link information.
    out.bytes(test::hex("4C000000 01140200 00000000 C0000000 00000046 03000000"));
    out.zeros(76 - 24);
    out.u16(4);
    out.u32(0xDEADBEEF);
    out.u32(headerSize + static_cast<std::uint32_t>(info.size()));
    for (std::uint32_t field : {headerSize, 1u, volumeId, ansiAt, 0u, suffixAt})
        out.u32(field);
    if (unicode) {
        out.u32(wideAt);
        out.u32(wideSuffixAt);
    }
    out.text(info);
    return out.buffer();
}

TEST_F(WinePathsTest, ShortcutTargetsAreReadFromTheirBytes) {
    const auto ansi = shortcut("C:\\SHARED\\", "ärger.mp3", false);
    EXPECT_EQ(shellLinkLocalTarget(ansi), "C:\\SHARED\\ärger.mp3");
    const auto wide = shortcut("C:\\μουσική\\", "ΣΟΝΆΤΑ.flac", true);
    const std::string link = dir.write("prefix/drive_c/Shared/sonata.lnk", wide);
    ASSERT_TRUE(listing.isShellLink(link));
    const auto target = listing.shellLinkTarget(link);
    ASSERT_EQ(target, "C:\\μουσική\\ΣΟΝΆΤΑ.flac");
    EXPECT_EQ(wineNativePath(listing, prefix, *target),
              prefix + "dosdevices/c:/Μουσική/σονάτα.flac");

    for (std::size_t cut : {std::size_t{20}, std::size_t{24}, std::size_t{90}, wide.size() - 3})
        EXPECT_EQ(shellLinkLocalTarget({wide.data(), cut}), std::nullopt) << cut;
    // A cut shortcut is still recognised by its header, but leads nowhere.
    const std::string cut = dir.write("cut.lnk", std::vector(wide.begin(), wide.begin() + 90));
    EXPECT_TRUE(listing.isShellLink(cut));
    EXPECT_EQ(listing.shellLinkTarget(cut), std::nullopt);
    EXPECT_FALSE(listing.isShellLink(dir.write("b.lnk", "not a shortcut at all")));
    EXPECT_FALSE(listing.isShellLink(dir.file("missing.lnk")));
}

TEST(WinePrefix, FromTheEnvironment) {
    test::ScopedEnv home("HOME", "/home/someone");
    {
        test::ScopedEnv prefix("WINEPREFIX", "/srv/prefix");
        EXPECT_EQ(PosixFileListing().winePrefix(), "/srv/prefix");
    }
    test::ScopedEnv noPrefix("WINEPREFIX", std::nullopt);
    EXPECT_EQ(PosixFileListing().winePrefix(), "/home/someone/.wine");
}

} // namespace
} // namespace pln
