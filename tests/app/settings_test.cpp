#include "app/core/process_values.h"
#include "app/core/settings.h"
#include "common/setting_keys.h"
#include "platform/fake_platform.h"

#include <climits>
#include <gtest/gtest.h>
#include <span>

namespace pln {
namespace {

const std::string iniFile = "C:\\Users\\ann\\AppData\\Local\\PLN\\PLN.ini";

tLocations someLocations() {
    tLocations loc;
    loc.dataFolder = "C:\\Users\\ann\\AppData\\Local\\PLN\\";
    return loc;
}

TEST(Settings, StoresInSectionPlnOfTheDataFolderIniFile) {
    FakeIniProfile ini;
    tProcessValues values(someLocations(), ini);
    values.settings.set(settingKey::copyFormat, "ed2k://%s");
    values.settings.set(settingKey::showTips, -7);

    EXPECT_EQ(ini.read(iniFile, "PLN", "copyFormat"), "ed2k://%s");
    EXPECT_EQ(ini.read(iniFile, "PLN", "showTips"), "-7");
    EXPECT_EQ(values.settings.get(settingKey::copyFormat), "ed2k://%s");
    EXPECT_EQ(values.settings.get(settingKey::showTips), -7);
    EXPECT_EQ(values.settings.text("absent", "fallback"), "fallback");

    // A write that fails is silent and leaves the stored value.
    ini.failWrite.insert(iniFile);
    EXPECT_NO_THROW(values.settings.set(settingKey::showTips, 3));
    EXPECT_EQ(values.settings.get(settingKey::showTips), -7);
}

TEST(Settings, IntegersAreReadLikeProfileIntegers) {
    FakeIniProfile ini;
    tSettings settings(ini, iniFile);
    using Case = std::pair<const char*, int>;
    const Case small[] = {
        {"42", 42},  {"+8", 8},   {"-3", -3}, {"12abc", 12}, {"\t 5", 5}, {"007", 7},
        {"0x10", 0}, {"abc", 99}, {"", 99},   {"-", 99},     {"- 4", 99},
    };
    const Case limits[] = {{"2147483647", INT_MAX},
                           {"-2147483648", INT_MIN},
                           {"2147483648", 99},
                           {"99999999999999999999", 99}};
    using Cases = std::span<const Case>;
    for (Cases cases : {Cases(small), Cases(limits)})
        for (const auto& [text, expected] : cases) {
            ini.write(iniFile, "PLN", "value", text);
            EXPECT_EQ(settings.get(tIntSetting{"value", 99}), expected) << '"' << text << '"';
        }
    EXPECT_EQ(settings.get(tIntSetting{"missing", 17}), 17);
}

// Absent values (null) take the defaults; nothing is written back either way.
TEST(ProcessValues, StoredValuesOutsideTheirRangeAreMendedButNotRewritten) {
    struct Case {
        const char* pointsPerPixel;
        int expectedPoints;
        const char* threshold;
        int expectedThreshold;
    };
    const Case cases[] = {{"7", 7, "90", 90},       {"0", 1, "0", 30},    {"-5", 1, "-1", 30},
                          {"11", 10, "1", 1},       {"1", 1, "400", 400}, {"10", 10, "x", 30},
                          {nullptr, 4, nullptr, 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pointsPerPixel ? c.pointsPerPixel : "absent");
        FakeIniProfile ini;
        for (auto [key, text] : {std::pair{"pointsPerPixel", c.pointsPerPixel},
                                 std::pair{"compressionThreshold", c.threshold}})
            if (text)
                ini.write(iniFile, "PLN", key, text);
        const auto before = ini.files;
        tProcessValues values(someLocations(), ini);
        values.readSettings();
        EXPECT_EQ(values.pointsPerPixel, c.expectedPoints);
        EXPECT_EQ(values.compressionThreshold, c.expectedThreshold);
        EXPECT_EQ(ini.files, before);
    }
}

TEST(ProcessValues, NumbersAreReadWithADecimalPoint) {
    const std::pair<const char*, double> cases[] = {
        {"0.2", 0.2},   {"0.05", 0.05}, {"+0.1", 0.1}, {"0,2", 0.15},   {"", 0.15},
        {"0.2x", 0.15}, {"nan", 0.15},  {"inf", 0.15}, {"+-0.1", 0.15}, {"1e-1", 0.1},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_DOUBLE_EQ(parseUsDecimal(text).value_or(0.15), expected) << '"' << text << '"';
}

TEST(ProcessValues, LastCompressDateIsWrittenOnlyWhenAbsentOrEmpty) {
    FakeClock clock;
    clock.nowMs = 1'700'000'000'000;
    clock.utcOffsetMs = 3'600'000;
    std::vector<CalendarMs> asked;
    const tDateTimeText text = [&](CalendarMs when) {
        asked.push_back(when);
        return std::string("14/11/2023 23:13:20");
    };
    FakeIniProfile ini;
    tSettings settings(ini, iniFile);
    for (const char* stored : {static_cast<const char*>(nullptr), "", "01/02/2020 10:00:00"}) {
        if (stored)
            settings.set(settingKey::lastCompressDate, stored);
        ensureLastCompressDate(settings, clock, text);
        EXPECT_EQ(settings.get(settingKey::lastCompressDate),
                  stored && *stored ? stored : "Never since 14/11/2023 23:13:20");
    }
    EXPECT_EQ(asked, (std::vector<CalendarMs>{clock.nowLocal(), clock.nowLocal()}));
}

} // namespace
} // namespace pln
