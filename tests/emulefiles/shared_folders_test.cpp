#include "common/shell_link.h"
#include "common/text.h"
#include "emulefiles/core/shared_folders.h"
#include "emulefiles/core/windows_path.h"
#include "emulefiles/core/wine_paths.h"
#include "emulefiles_prelude.h"
#include "platform/posix/posix_file_listing.h"
#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace pln {
namespace {

using namespace test;

// The configuration files live in a real folder so that the .dat reader can
// read them; their existence and stamps come from the fake file system.
class SharedFoldersTest : public testing::Test {
protected:
    SharedFoldersTest()
        : listing(std::nullopt),
          folders(fake.files, fake.clock, fake.ini, listing, dir.path(), '/') {}

    void present(const std::string& path, FileStamp stamp) {
        fake.files.files.insert(path);
        fake.files.stamps[path] = stamp;
    }
    void writeDat(const std::string& name, const std::string& bytes, FileStamp stamp) {
        present(dir.write(name, bytes), stamp);
    }
    void removeFile(const std::string& path) {
        fake.files.files.erase(path);
        fake.files.stamps.erase(path);
    }
    void setIni(const std::string& path, const std::string& text, FileStamp stamp) {
        fake.ini.files[path] = text;
        present(path, stamp);
    }
    void loadIncomingDir(const std::string& folder, FileStamp stamp) {
        setIni(folders.preferencesPath(), "[eMule]\nIncomingDir=" + folder + "\n", stamp);
        folders.loadIncomingDir();
    }

    // The stamp each source remembers (preferences.ini, shareddir.dat, the
    // categories, sharedfiles.dat), bracketed while it is not loaded, then
    // each folder with the number of its source.
    std::string state() const {
        std::string out;
        auto source = [&](bool loaded, FileStamp age) {
            out += loaded ? std::to_string(age) + " " : "(" + std::to_string(age) + ") ";
        };
        source(folders.incomingDirLoaded(), folders.preferencesAge());
        source(folders.sharedDirsLoaded(), folders.sharedDirsAge());
        source(folders.categoriesLoaded(), folders.categoriesAge());
        source(folders.sharedFilesLoaded(), folders.sharedFilesAge());
        out += "|";
        for (const auto& f : folders.folders())
            out += " " + f.path + "=" + std::to_string(static_cast<int>(f.source));
        return out;
    }

    TempDir dir;
    FakePlatform fake;
    PosixFileListing listing;
    tSharedFolders folders;
};

TEST_F(SharedFoldersTest, IncomingDirReplacesItsOwnEntryAndSharesTheFirstSourceOfAFolder) {
    loadIncomingDir("C:\\Share", 1000);
    writeDat("shareddir.dat", "c:\\share\\\r\nD:\\Other\r\n\r\n   \r\nC:\\Share", 1000);
    folders.loadSharedDirs();
    EXPECT_EQ(state(), "1000 1000 (-1) (-1) | C:\\Share\\=1 D:\\Other\\=0");

    // The incoming folder moves: the shared folder goes with it until
    // shareddir.dat is read again.
    loadIncomingDir("C:\\In", 2000);
    EXPECT_EQ(state(), "2000 1000 (-1) (-1) | C:\\In\\=1 D:\\Other\\=0");
    folders.loadSharedDirs();
    EXPECT_EQ(state(), "2000 1000 (-1) (-1) | C:\\In\\=1 c:\\share\\=0 D:\\Other\\=0");

    // No folder named: the last one read stays.
    loadIncomingDir("", 3000);
    EXPECT_EQ(state(), "(2000) 1000 (-1) (-1) | C:\\In\\=1 c:\\share\\=0 D:\\Other\\=0");
    loadIncomingDir("D:\\Down\\", 4000);
    EXPECT_EQ(state(), "4000 1000 (-1) (-1) | c:\\share\\=0 D:\\Down\\=1 D:\\Other\\=0");
}

TEST_F(SharedFoldersTest, CategoriesFromCountPlusOneSections) {
    setIni(folders.categoriesPath(),
           "[General]\nCount=2\n[Cat#0]\nIncoming=C:\\Cat0\n[Cat#1]\nIncoming=\n"
           "[cat#2]\nIncoming=C:\\Cat2\\\n[Cat#3]\nIncoming=C:\\Cat3\n[Cat#02]\nIncoming=C:\\X\n",
           500);
    folders.loadCategories();
    EXPECT_EQ(state(), "(-1) (-1) 500 (-1) | C:\\Cat0\\=2 C:\\Cat2\\=2");

    // A hostile count costs no more than the sections present.
    setIni(folders.categoriesPath(), "[General]\nCount=2147483647\n[Cat#7]\nIncoming=C:\\Seven\n",
           600);
    folders.loadCategories();
    EXPECT_EQ(state(), "(-1) (-1) 600 (-1) | C:\\Seven\\=2");

    removeFile(folders.categoriesPath());
    folders.loadCategories();
    EXPECT_EQ(state(), "(-1) (-1) -1 (-1) |");
}

TEST_F(SharedFoldersTest, SharedFilesListSharedAndExcludedFiles) {
    writeDat("sharedfiles.dat", "C:\\\xE9t\xE9.avi\r\n-C:\\Share\\skip.txt\n-\n\nD:\\two.bin\r",
             100);
    folders.loadSharedFiles();
    EXPECT_EQ(state(), "(-1) (-1) (-1) 100 |");
    EXPECT_EQ(folders.sharedFiles(),
              (std::vector<std::string>{"C:\\\xC3\xA9t\xC3\xA9.avi", "D:\\two.bin"}));
    EXPECT_EQ(folders.excludedFiles(), std::vector<std::string>{"C:\\Share\\skip.txt"});
}

TEST_F(SharedFoldersTest, AFailedReadKeepsThePreviousEntries) {
    writeDat("shareddir.dat", "C:\\Share\n", 100);
    folders.loadSharedDirs();
    // Listed as present but unreadable on disk.
    present(dir.file("sharedfiles.dat"), 300);
    folders.loadSharedFiles();
    EXPECT_EQ(state(), "(-1) 100 (-1) (-1) | C:\\Share\\=0");
    EXPECT_EQ(folders.lastDatError(), "Cannot open file \"" + dir.file("sharedfiles.dat") + "\".");

    std::filesystem::remove(dir.file("shareddir.dat"));
    fake.files.stamps[dir.file("shareddir.dat")] = 400;
    folders.loadSharedDirs();
    EXPECT_EQ(state(), "(-1) (100) (-1) (-1) | C:\\Share\\=0");

    removeFile(dir.file("shareddir.dat"));
    folders.loadSharedDirs();
    EXPECT_EQ(state(), "(-1) -1 (-1) (-1) |");
}

// What each source remembers of its last read decides whether a load is due.
TEST_F(SharedFoldersTest, ALoadIsDueOnceAChangeHasSettledAndForFilesThatComeAndGo) {
    fake.clock.nowMs = 11'000;
    setIni(folders.preferencesPath(), "[eMule]\nIncomingDir=C:\\In\n", 10'000);
    EXPECT_FALSE(folders.incomingDirChanged());
    fake.clock.nowMs = 12'001;
    EXPECT_TRUE(folders.incomingDirChanged());
    folders.loadIncomingDir();
    EXPECT_FALSE(folders.incomingDirChanged());
    fake.files.stamps[folders.preferencesPath()] = 13'000;
    fake.clock.nowMs = 9'000; // a clock set back
    EXPECT_TRUE(folders.incomingDirChanged());

    // A .dat file never loaded and absent: load, to record the absence.
    fake.clock.nowMs = 100'000;
    EXPECT_TRUE(folders.sharedDirsChanged());
    folders.loadSharedDirs();
    EXPECT_FALSE(folders.sharedDirsChanged());

    writeDat("shareddir.dat", "C:\\A\n", 99'000);
    EXPECT_FALSE(folders.sharedDirsChanged());
    fake.clock.nowMs = 101'001;
    EXPECT_TRUE(folders.sharedDirsChanged());
    folders.loadSharedDirs();
    EXPECT_FALSE(folders.sharedDirsChanged());

    // Gone: the stored stamp decides whether the disappearance has settled.
    removeFile(folders.sharedDirsPath());
    fake.clock.nowMs = 100'500;
    EXPECT_FALSE(folders.sharedDirsChanged());
    fake.clock.nowMs = 101'001;
    EXPECT_TRUE(folders.sharedDirsChanged());
    folders.loadSharedDirs();
    EXPECT_EQ(folders.sharedDirsAge(), -1);
    EXPECT_FALSE(folders.sharedDirsChanged());
}

constexpr std::uint64_t maxShared = 0x4000000000ULL;

// A shortcut as Windows writes one for a local file: header, an item id
// list, and link information with the target's base path and suffix, in the
// ANSI code page and, when unicode is set, in UTF-16 too.
std::vector<std::uint8_t> shortcut(const std::string& base, const std::string& suffix,
                                   bool unicode) {
    const std::uint32_t headerSize = unicode ? 0x24 : 0x1C;
    std::string info(16, '\x11');  // the volume id, then the strings
    std::vector<std::uint32_t> at; // where each string starts
    auto add = [&](const std::string& text) {
        at.push_back(headerSize + static_cast<std::uint32_t>(info.size()));
        info += text;
    };
    add(utf8ToCp1252(base).value_or("?") + '\0');
    add(utf8ToCp1252(suffix).value_or("?") + '\0');
    if (unicode) {
        add(utf8ToUtf16le(base) + std::string(2, '\0'));
        add(utf8ToUtf16le(suffix) + std::string(2, '\0'));
    }

    ByteWriter out;
    // Header size, class id, flags: an item id list and link information.
    out.bytes(hex("4C000000 01140200 00000000 C0000000 00000046 03000000"));
    out.zeros(76 - 24);
    out.u16(4);
    out.u32(0xDEADBEEF);
    out.u32(headerSize + static_cast<std::uint32_t>(info.size()));
    for (std::uint32_t field : {headerSize, 1u, headerSize, at[0], 0u, at[1]})
        out.u32(field);
    for (std::size_t i = 2; i < at.size(); ++i)
        out.u32(at[i]);
    out.text(info);
    return out.buffer();
}

class SharedScanTest : public testing::Test {
protected:
    // The Wine prefix maps drive X: to a folder of the test's.
    SharedScanTest()
        : listing(dir.file("wine")), config(dir.mkdir("config")),
          folders(files, clock, ini, listing, config, '/') {
        dir.mkdir("wine/dosdevices");
        std::filesystem::create_directory_symlink(dir.mkdir("drive_x"),
                                                  dir.file("wine/dosdevices/x:"));
    }

    void sparse(const std::string& name, std::uint64_t size) {
        std::filesystem::resize_file(dir.write(name, ""), size);
    }
    void load(const std::string& sharedDirs, const std::string& sharedFiles) {
        dir.write("config/shareddir.dat", sharedDirs);
        dir.write("config/sharedfiles.dat", sharedFiles);
        folders.loadSharedDirs();
        folders.loadSharedFiles();
        ASSERT_TRUE(folders.sharedDirsLoaded() && folders.sharedFilesLoaded());
    }
    // The files found in table order: name, folder (relative when under the
    // test's folder), size, and "r" when read-only.
    std::string scan() {
        tSharedFileTable table;
        folders.scanSharedFiles(table);
        std::string out;
        for (const auto& [name, data] : table.files()) {
            std::string folder =
                data.path.starts_with(dir.path()) ? data.path.substr(dir.path().size()) : data.path;
            out += name + "|" + folder + "|" + std::to_string(data.size) +
                   (data.attributes & fileAttribute::readOnly ? "r " : " ");
        }
        return out;
    }

    TempDir dir;
    PosixFileSystem files;
    FakeClock clock;
    FakeIniProfile ini;
    PosixFileListing listing;
    std::string config;
    tSharedFolders folders;
};

TEST_F(SharedScanTest, FindsWhatEmuleShares) {
    std::string a = dir.mkdir("A"), b = dir.mkdir("B"), c = dir.mkdir("C");
    dir.write("A/a.txt", "12345");
    dir.write("A/empty.bin", "");
    sparse("A/huge.bin", maxShared + 1);
    sparse("A/largest.bin", maxShared);
    dir.write("A/sub/inner.txt", "x");
    dir.write("A/Dup.txt", "from A");
    dir.write("A/excluded.txt", "x");
    dir.write("A/.hidden", "h");
    ::chmod(dir.write("A/readonly.txt", "r").c_str(), 0444);
    ::mkfifo(dir.file("A/pipe").c_str(), 0600);
    dir.write("A/fake.lnk", "not a shortcut");
    std::filesystem::create_symlink(dir.file("C/other.txt"), dir.file("A/symlink.txt"));
    dir.write("B/DUP.TXT", "from B, longer");
    dir.write("B/b.txt", "b");
    dir.write("C/single.txt", "single");
    dir.write("C/other.txt", "not shared");

    load(a + "\r\n" + b + "\r\n", "-" + a + "EXCLUDED.TXT\r\n" + c + "single.txt\r\n" + c +
                                      "missing.txt\r\n" + a + "sub\r\n");
    EXPECT_EQ(scan(), ".hidden|A/|1 a.txt|A/|5 b.txt|B/|1 Dup.txt|A/|6 fake.lnk|A/|14 "
                      "largest.bin|A/|274877906944 readonly.txt|A/|1r single.txt|C/|6 "
                      "symlink.txt|A/|10 ");
}

TEST_F(SharedScanTest, ShortcutsShareTheirTargetOnlyWhenEmuleResolvesThem) {
    dir.write("drive_x/Elsewhere/target.avi", "movie");
    dir.write("drive_x/Share/target.avi.lnk", shortcut("X:\\Elsewhere\\", "target.avi", false));
    dir.write("drive_x/Share/loop.lnk", shortcut("X:\\Share\\", "loop.lnk", false));
    load("X:\\Share", "");

    EXPECT_EQ(scan(), "");
    ini.files[folders.preferencesPath()] = "[eMule]\nResolveSharedShellLinks=1\n";
    EXPECT_EQ(scan(), "target.avi|X:\\Elsewhere\\|5 ");
}

TEST_F(SharedScanTest, WindowsPathsReachTheDiskThroughWine) {
    dir.write("drive_x/Share/video.avi", "video");
    dir.write("drive_x/Share/skip.avi", "skip");
    dir.write("drive_x/Single/one.iso", "one");
    dir.write("Back/Slash/file.bin", "file");
    load("X:\\SHARE\r\n" + dir.file("Back\\Slash") + "\r\n",
         "x:\\Single\\one.iso\r\n-X:\\share\\SKIP.avi\r\n");
    EXPECT_EQ(scan(), "file.bin|Back\\Slash\\|4 one.iso|x:\\Single\\|3 video.avi|X:\\SHARE\\|5 ");
}

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

    TempDir dir;
    std::string prefix;
    PosixFileListing listing{std::nullopt};
    PosixFileSystem files;
};

TEST_F(WinePathsTest, ComponentsAreFoundAsWineFindsThem) {
    // A stored path and where it is under drive C: of the prefix.
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\shared\\ärger.MP3", "Shared/Ärger.mp3"},
        {"c:/SHARED/", "Shared/"},
        {"C:\\ÄRGER\\A.TXT", "ärger/a.txt"},
        {"C:\\ΜΟΥΣΙΚΉ\\ΣΟΝΆΤΑ.FLAC", "Μουσική/σονάτα.flac"},
        {"C:\\data\\y", "data/y"},
        {"C:\\Data\\x", "Data/x"},
        {"C:\\Shared\\New\\ärger.mp3", "Shared/New/ärger.mp3"},
    };
    for (const auto& [stored, native] : rows)
        EXPECT_EQ(wineNativePath(listing, prefix, stored), prefix + "dosdevices/c:/" + native)
            << stored;
    EXPECT_EQ(wineNativePath(listing, prefix, "/home/ann/Shared/"), std::nullopt);

    EXPECT_EQ(comparePaths("C:\\ÄRGER\\Σ\\", "c:/ärger/ς/"), 0) << "two spellings, one folder";
    EXPECT_NE(comparePaths("C:\\Ärger\\", "C:\\Ärgerlich\\"), 0);
    EXPECT_EQ(enclosingWinePrefix(files, prefix + "drive_c/Shared/"), prefix);
    EXPECT_EQ(enclosingWinePrefix(files, dir.mkdir("elsewhere")), std::nullopt);
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
    ScopedEnv home("HOME", "/home/someone"), noPrefix("WINEPREFIX", std::nullopt);
    EXPECT_EQ(PosixFileListing().winePrefix(), "/home/someone/.wine");
    ScopedEnv prefix("WINEPREFIX", "/srv/prefix");
    EXPECT_EQ(PosixFileListing().winePrefix(), "/srv/prefix");
}

TEST(PlnTool, KnownResaveNormalisesOrGivesTheReasonAndDumpPrintsJson) {
    TempDir dir;
    const Bytes stored =
        hex("0F 01000000 03000000" + hashHex(1) + "0000 02000000 93 01 6F6E65 89 51 07");
    const Bytes expected = hex("0E 01000000 03000000" + hashHex(1) +
                               "0000 02000000 02 0100 01 0300 6F6E65 03 0100 51 07000000");
    std::string in = dir.write("in.met", stored);
    EXPECT_EQ(runPlnTool("known resave " + in + " " + dir.file("out.met")), (CommandRun{0, ""}));
    EXPECT_EQ(readBytes(dir.file("out.met")), expected);
    EXPECT_EQ(readBytes(in), stored);

    std::string bad = dir.write("bad.met", hex("0D 00000000"));
    EXPECT_EQ(
        runPlnTool("known resave " + bad + " " + dir.file("bad-out.met")),
        (CommandRun{1, "pln-tool: Cannot read \"" + bad + "\": Unexpected known.met version\n"}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad-out.met")));
    for (const char* misuse : {"", "known dump", "cancelled add file"})
        EXPECT_EQ(runPlnTool(misuse).status, 2) << misuse;
    EXPECT_NE(runPlnTool("unknown words").output.find("pln-tool known dump FILE"),
              std::string::npos);

    // The dump prints one JSON object per record.
    ByteWriter w;
    fileHead(w, 1);
    recordHead(w, 1'600'000'000, hashOf(0x11), 0, 3);
    idString(w, 0x01, "Caf\xE9 \"A\".avi");
    idUint32(w, 0x02, 4096);
    w.bytes(hex("85 C8 01")); // a bool tag without a name
    EXPECT_EQ(
        runPlnTool("known dump " + dir.write("known.met", w.buffer())),
        (CommandRun{
            0,
            R"({"hash":"11111111111111111111111111111100","name":"Café \"A\".avi","size":4096,)"
            R"("transferred":0,"requested":0,"accepted":0,"aich":"","partFileName":false,)"
            R"("date":1600000000,"parts":0,"tags":[{"id":1,"name":"FILENAME","type":"STRING",)"
            R"("value":"Café \"A\".avi"},{"id":2,"name":"FILESIZE","type":"UINT32","value":4096},)"
            R"({"id":200,"type":"BOOL"}]})"
            "\n"}));
}

TEST(PlnTool, CancelledAddDumpAndResave) {
    TempDir dir;
    std::string file =
        dir.write("cancelled.met", hex("0F 01 78563412 01000000" + hashHex(0x22) + "01 89 40 03"));
    EXPECT_EQ(runPlnTool("cancelled add " + file + " 000102030405060708090a0b0c0d0e0f"),
              (CommandRun{0, ""}));
    EXPECT_EQ(runPlnTool("cancelled dump " + file),
              (CommandRun{0, "version 0x0F\nseed 0x12345678\n"
                             "22222222222222222222222222222200 1 tags\n"
                             "FCB6A4778A74CAE9990CDDE45E33182B\n"}));
    EXPECT_EQ(runPlnTool("cancelled resave " + file + " " + dir.file("out.met")),
              (CommandRun{0, ""}));
    const Bytes before = readBytes(file);
    EXPECT_EQ(readBytes(dir.file("out.met")), before);
    EXPECT_EQ(runPlnTool("cancelled add " + file + " 0011"),
              (CommandRun{1, "pln-tool: " + file + ": Invalid hash\n"}));
    EXPECT_EQ(readBytes(file), before);
}

TEST(PlnTool, SharedScanListsSharedFilesAndKnownMatches) {
    TempDir dir;
    std::string share = dir.mkdir("share");
    std::string movie = dir.write("share/Movie.avi", "0123456789");
    struct timespec times[2] = {{1'600'000'000, 400'000'000}, {1'600'000'000, 400'000'000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, movie.c_str(), times, 0), 0);
    dir.write("config/preferences.ini", "[eMule]\r\nIncomingDir=" + share + "\r\n");
    ByteWriter known;
    fileHead(known, 2);
    simpleRecord(known, hashOf(1), "movie.avi", 10, 0);
    simpleRecord(known, hashOf(2), "other.avi", 10, 0);
    std::string knownMet = dir.write("known.met", known.buffer());

    const std::string listed = "Movie.avi\t" + share + "\t10\t2020-09-13 12:26:40.400\n";
    EXPECT_EQ(
        runPlnTool("shared scan " + dir.file("config") + " --known " + knownMet),
        (CommandRun{0, listed + "known files:\n" + hashOf(1).toString() + "\tshared\tmovie.avi\t" +
                           share + "\n" + hashOf(2).toString() + "\tnot shared\tother.avi\t\n"}));

    dir.write("config/shareddir.dat", "\xFF\xFE" + utf8ToUtf16le(share + "\r\n"));
    dir.write("config/preferences.ini", "");
    EXPECT_EQ(runPlnTool("shared scan " + dir.file("config")),
              (CommandRun{1, "pln-tool: " + dir.file("config/preferences.ini") +
                                 ": no IncomingDir in section eMule\n" + listed}));
}

} // namespace
} // namespace pln
