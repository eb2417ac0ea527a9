#include "emulefiles/emulefiles_prelude.h"
#include "kmedit/core/emule_running.h"
#include "kmedit/core/repair_link.h"

namespace pln {
namespace {

using namespace test;

constexpr const char* hashText = "0123456789abcdef0123456789ABCDEF";
constexpr const char* aichText = "ZYXWVUTSRQPONMLKJIHGFEDCBA234567";

std::string link(const std::string& name, const std::string& size, const std::string& tail) {
    return "ed2k://|file|" + name + "|" + size + "|" + hashText + "|" + tail;
}

TEST(LinkValidation, AcceptsOnlyTheTwoFormsEmuleWritesOneALineAndDecodesNamesOnce) {
    const std::tuple<const char*, std::string, bool> rows[] = {
        {"plain", link("a.txt", "123", "/"), true},
        {"aich", link("a.txt", "123", std::string("h=") + aichText + "|/"), true},
        {"emptyName", link("", "0", "/"), true},
        {"largestSize", link("a", "9223372036854775807", "/"), true},
        {"sizeTooLarge", link("a", "9223372036854775808", "/"), false},
        {"negativeSize", link("a", "-1", "/"), false},
        {"emptySize", link("a", "", "/"), false},
        {"upperCaseScheme", "ED2K://|file|a|1|" + std::string(hashText) + "|/", false},
        {"shortHash", "ed2k://|file|a|1|0123456789ABCDEF|/", false},
        {"hashNotHex", "ed2k://|file|a|1|0123456789ABCDEF0123456789ABCDEG|/", false},
        {"noEnd", link("a", "1", ""), false},
        {"textAfterEnd", link("a", "1", "/x"), false},
        {"aichNotAlphanumeric", link("a", "1", "h=ZYXWVUTSRQPONMLKJIHGFEDCBA23456=|/"), false},
        {"aichShort", link("a", "1", "h=ZYXW|/"), false},
        {"aichWithoutPrefix", link("a", "1", "x=" + std::string(aichText) + "|/"), false},
        {"nulInName", link("a%00b", "1", "/"), false},
        {"slashInName", link("..%2Fa", "1", "/"), false},
        {"backslashInName", link("a\\b", "1", "/"), false},
        {"colonInName", link("c%3Ax", "1", "/"), false},
        {"pipeInName", link("a%7Cb", "1", "/"), false},
        {"quoteInName", link("%22a%22", "1", "/"), false},
    };
    for (const auto& [label, line, valid] : rows)
        EXPECT_EQ(parseEd2kLink(line).has_value(), valid) << label;

    const std::string good = link("a", "1", "/");
    EXPECT_TRUE(linksAreValid(good));
    EXPECT_TRUE(linksAreValid("\n  " + good + " \r\n\n" + good + "\n"));
    EXPECT_FALSE(linksAreValid(good + "\nnot a link"));
    EXPECT_FALSE(linksAreValid(""));
    EXPECT_FALSE(linksAreValid(" \n\t\n"));
    EXPECT_EQ(linksRefusal(" \n"), noLinkMessage);
    EXPECT_EQ(linksRefusal(good + "\nx"), notALinkMessage + std::string("x"));
    const std::string named = link("a%2A", "1", "/");
    EXPECT_EQ(linksRefusal(good + "\n" + named), forbiddenLinkNameMessage + named);
    EXPECT_EQ(linkLines("\n " + good + "\r\n\n" + good), (std::vector<std::string>{good, good}));

    EXPECT_EQ(decodeLinkName("a%20b%2Ctxt"), "a b,txt");
    EXPECT_EQ(decodeLinkName("%2541"), "%41");
    EXPECT_EQ(decodeLinkName("50%zz%4"), "50%zz%4");
    EXPECT_EQ(decodeLinkName("end%4"), "end%4");
    EXPECT_EQ(decodeLinkName("%41%"), "A%");
    EXPECT_EQ(decodeLinkName("Z%C3%BCrich"), "Z\xC3\xBCrich");
    // An 8-bit link: the byte is a Windows-1252 character.
    EXPECT_EQ(decodeLinkName("caf%E9"), "caf\xC3\xA9");
}

const std::string config = "C:\\eMule\\config\\";
const std::string preferences = config + "preferences.ini";

TEST(EmuleRunning, FollowsPreferencesMarkerAndPort) {
    const struct {
        const char* name;
        const char* preferencesText; // null: no preferences.ini
        bool changing, markerHeld, markerDenied, portInUse, running;
        bool emuleProcess = false; // a process named eMule.exe runs (Wine)
    } rows[] = {
        {"NothingHeld", "[eMule]\nPort=4662\n", false, false, false, false, false},
        {"MarkerHeld", "[eMule]\nPort=4662\n", false, true, false, false, true},
        {"MarkerDenied", "[eMule]\nPort=4662\n", false, false, true, false, true},
        {"PortInUse", "[eMule]\nPort=4662\n", false, false, false, true, true},
        {"PortEmptyEvenIfRunning", "[eMule]\nPort=\n", false, true, false, true, false},
        {"NoPortKey", "[eMule]\nNick=x\n", false, true, false, true, false},
        {"ChangingWhileRead", "[eMule]\nPort=4662\n", true, false, false, false, true},
        {"NoPreferences", nullptr, false, false, false, false, true},
        {"EmuleProcessWithoutPort", "[eMule]\nPort=\n", false, false, false, false, true, true},
        {"PortNotANumberMarkerFree", "[eMule]\nPort=46x\n", false, false, false, true, false},
    };
    const std::string marker = "EMULE-{4EADC6FC-516F-4b7c-9066-97D893649570}:4662";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakePlatform fake;
        StampSequence files;
        if (row.changing) // a new stamp while preferences.ini is read
            files.next = {5000, 5001};
        if (row.preferencesText) {
            files.stamps[preferences] = 5000;
            fake.ini.files[preferences] = row.preferencesText;
        }
        if (row.markerHeld)
            fake.mutexes.heldElsewhere.insert(marker);
        if (row.markerDenied)
            fake.mutexes.denied.insert(marker);
        if (row.portInUse)
            fake.ports.inUse.insert(4662);
        if (row.emuleProcess)
            fake.programs.running.insert("eMule.exe");
        Platform platform{fake.system, files,        fake.mutexes, fake.processes, fake.ini,
                          fake.clock,  fake.listing, fake.ports,   fake.programs};
        EXPECT_EQ(isEmuleRunning(platform, config), row.running);
        EXPECT_TRUE(fake.mutexes.heldHere.empty()) << "the probe keeps no marker";
    }
}

} // namespace
} // namespace pln
