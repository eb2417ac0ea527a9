#include "app/core/windows_version.h"
#include "platform/fake_platform.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

struct VersionRow {
    const char* name;
    std::optional<OsVersion> answer;
    std::uint16_t expected;
};

const VersionRow versionRows[] = {
    {"Refused", std::nullopt, windowsUnknown},
    {"Windows95", OsVersion{1, 4, 0}, 4},
    {"Windows98", OsVersion{1, 4, 10}, 0x0A04},
    {"WindowsMe", OsVersion{1, 4, 90}, 0x5A04},
    {"ConsumerOtherMinor", OsVersion{1, 4, 3}, 4},
    {"ConsumerOtherMajor", OsVersion{1, 5, 10}, 4},
    {"Nt351", OsVersion{2, 3, 51}, 4},
    {"Nt4", OsVersion{2, 4, 0}, 4},
    {"Windows2000", OsVersion{2, 5, 0}, 5},
    {"WindowsXp", OsVersion{2, 5, 1}, 0x0105},
    {"Server2003", OsVersion{2, 5, 2}, 0x0205},
    {"Nt53", OsVersion{2, 5, 3}, 6},
    {"Vista", OsVersion{2, 6, 0}, 6},
    {"Windows10", OsVersion{2, 10, 0}, 6},
    {"OtherPlatform", OsVersion{3, 10, 0}, 4},
};

void PrintTo(const VersionRow& row, std::ostream* os) {
    *os << row.name;
}

class WindowsVersion : public testing::TestWithParam<VersionRow> {};

TEST_P(WindowsVersion, CodesTheAnswer) {
    FakeSystemInfo system;
    system.version = GetParam().answer;
    EXPECT_EQ(getWindowsVersion(system), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowsVersion, testing::ValuesIn(versionRows),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace pln
