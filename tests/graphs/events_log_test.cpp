#include "graph_fixture.h"
#include "graphs/core/us_date_time.h"
#include "platform/fake_settings_store.h"

namespace pln::test {
namespace {

CalendarMs when(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return calendarDayOf(year, month, day) * msPerDay +
           ((hour * 60LL + minute) * 60 + second) * 1000;
}

using EventsAndColoursTest = LogStoreTest;

TEST_F(EventsAndColoursTest, EventsOrderAccessorsFileRoundTripAndBadLines) {
    const std::string path = eventsLogPath(dir.path());
    tEventsLog log(path);
    log.add({when(2021, 5, 1, 14), tEvent::makePart("b file", "fedcba9876543210fedcba9876543210")});
    log.add({when(2021, 5, 1, 14), "Zeta"});
    log.add({when(2021, 5, 1, 14), "alpha"});
    log.add({when(2021, 4, 1), "Café " + std::string(32, 'x').insert(0, "|")});
    log.add({when(2021, 6, 1), "   "});
    log.add({when(2021, 6, 2), "two\nlines"});
    log.save();
    EXPECT_EQ(readText(path), "4/1/2021=Café |xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\r\n"
                              "5/1/2021 2:00:00 PM=alpha\r\n"
                              "5/1/2021 2:00:00 PM=Zeta\r\n"
                              "5/1/2021 2:00:00 PM=b file|FEDCBA9876543210FEDCBA9876543210\r\n"
                              "6/2/2021=two lines\r\n");

    tEventsLog again(path);
    again.load(prompter);
    ASSERT_EQ(again.count(), 5u);
    // Not a hash: shown whole, no file.
    EXPECT_EQ(again.text(0), "Café |" + std::string(32, 'x'));
    EXPECT_EQ(again.hash(0), "");
    EXPECT_EQ(again.text(3), "b file");
    EXPECT_EQ(again.hash(3), "FEDCBA9876543210FEDCBA9876543210");
    EXPECT_EQ(again.search(when(2021, 5, 1, 14)), 1u);
    EXPECT_EQ(again.search(when(2021, 5, 1, 14, 0, 1)), 4u);

    const std::pair<CalendarMs, const char*> rows[] = {
        {when(2021, 3, 7), "3/7/2021"},
        {when(2021, 12, 25, 0, 0, 1), "12/25/2021 12:00:01 AM"},
        {when(2021, 12, 25, 12, 5, 9), "12/25/2021 12:05:09 PM"},
        {when(1999, 1, 2, 23, 59, 58), "1/2/1999 11:59:58 PM"},
    };
    for (auto [value, text] : rows) {
        EXPECT_EQ(formatUsDateTime(value), text);
        EXPECT_EQ(parseUsDateTime(text), value) << text;
    }
    EXPECT_EQ(parseUsDateTime("1/2/1999 23:59"), when(1999, 1, 2, 23, 59));
    for (const char* bad : {"", "2/30/2021", "13/1/2021", "1/1/2021 13:00:00 PM", "1/1/2021 x",
                            "1/1/2021 1:60:00", "21.03.2021", "1/1/20210", "1/1/2021 24:00"})
        EXPECT_FALSE(parseUsDateTime(bad)) << bad;

    // An older file keeps its descriptions in Windows-1252; an editor may put
    // a byte-order mark first.
    dir.write("events.log", "\xEF\xBB\xBF"
                            "1/1/2020=one\r\nyesterday=two\r\n\r\n1/2/2020 3:04:05 AM =  thr\xE9"
                            "e  \n"
                            "1/3/2020\r\n2/31/2020=four\r\n");
    tEventsLog older(path);
    std::optional<tEventsFileState> lastRead;
    older.load(prompter, &lastRead);
    older.load(prompter, &lastRead);
    EXPECT_THAT(errors(), ElementsAre("Invalid value in events.log at line 2",
                                      "Invalid value in events.log at line 6"));
    ASSERT_EQ(older.count(), 3u);
    EXPECT_EQ(older.text(0), "one");
    EXPECT_EQ(older.text(1), "thr\u00E9e");
    EXPECT_EQ(older.date(1), when(2020, 1, 2, 3, 4, 5));
    EXPECT_EQ(older.text(2), "");

    tEventsLog missing(dir.file("none.log"));
    missing.load(prompter);
    EXPECT_EQ(missing.count(), 0u);

    dir.write("events.log", "now=one\r\n");
    older.load(prompter, &lastRead);
    EXPECT_EQ(errors(), std::vector<std::string>{"Invalid value in events.log at line 1"});
}

// Empty settings give the design colours, whose shades at a zero offset are
// themselves, and the requests chart the shades of the transferred series;
// stored colours read back as chosen.
TEST_F(EventsAndColoursTest, ShadesDesignColoursStoredColoursAndEveryBadValueInOneBox) {
    FakeSettingsStore settings;
    const tChartColours colours = loadColors(settings, prompter);
    EXPECT_EQ(colours.slotColours, designSlotColours);
    EXPECT_DOUBLE_EQ(colours.deltaLum, 0.15);
    for (tColour colour : designSlotColours)
        EXPECT_EQ(std::pair(deriveShades(colour, 0).darker, deriveShades(colour, 0).lighter),
                  std::pair(colour, colour));
    const tRequestsColours requests = colours.requestsColours();
    EXPECT_EQ(requests[0], designSlotColours[0]);
    for (std::size_t k = 1; k <= 3; ++k) {
        EXPECT_EQ(requests[2 * k - 1], deriveShades(designSlotColours[k], 0.15).darker);
        EXPECT_EQ(requests[2 * k], deriveShades(designSlotColours[k], 0.15).lighter);
    }
    for (std::size_t j = 4; j < colorSlotCount; ++j)
        EXPECT_EQ(requests[j + 3], designSlotColours[j]);

    tChartColours chosen;
    chosen.slotColours[9] = rgbColour(0x12, 0x34, 0x56);
    chosen.deltaLum = 0.07;
    storeColors(settings, chosen);
    EXPECT_EQ(settings.values["color9"], "563412");
    EXPECT_EQ(settings.values["deltaLum"], "0.07");
    const tChartColours loaded = loadColors(settings, prompter);
    EXPECT_EQ(loaded.slotColours, chosen.slotColours);
    EXPECT_DOUBLE_EQ(loaded.deltaLum, 0.07);

    // Below a lightness L of d the darker shade is black and the lighter one 2d
    // above it; above 1 - d the shades take the lightness 1 - 2d and 1.
    const struct {
        tColour colour;
        double offset;
        tColour darker, lighter;
    } rows[] = {
        {rgbColour(10, 0, 0), 0.15, rgbColour(0, 0, 0), rgbColour(153, 0, 0)},
        {rgbColour(0, 155, 230), 0.1, rgbColour(0, 121, 179), rgbColour(26, 180, 255)},
        {rgbColour(0, 167, 0), 0.2, rgbColour(0, 65, 0), rgbColour(14, 255, 14)},
        {rgbColour(200, 100, 50), 0.1, rgbColour(159, 80, 40), rgbColour(213, 130, 88)},
        {rgbColour(255, 255, 255), 0.15, rgbColour(179, 179, 179), rgbColour(255, 255, 255)},
    };
    for (const auto& row : rows) {
        const tShades shades = deriveShades(row.colour, row.offset);
        EXPECT_EQ(std::pair(shades.darker, shades.lighter), std::pair(row.darker, row.lighter))
            << &row - rows;
    }

    // Six and eight digits read alike; every bad value is reported in one box.
    FakeSettingsStore stored;
    stored.values = {{"color1", "000080FF"},  {"color2", "80ff"},  {"color3", "12G456"},
                     {"color4", "FF000005"},  {"deltaLum", "0,2"}, {"color5", " 00abcdef "},
                     {"color6", "123456789"}, {"color7", ""}};
    const tChartColours parsed = loadColors(stored, prompter);
    EXPECT_EQ(parsed.slotColours[1], rgbColour(0xFF, 0x80, 0));
    EXPECT_EQ(parsed.slotColours[2], parsed.slotColours[1]);
    EXPECT_EQ(parsed.slotColours[5], rgbColour(0xEF, 0xCD, 0xAB));
    for (std::size_t slot : {3, 4, 6, 7})
        EXPECT_EQ(parsed.slotColours[slot], designSlotColours[slot]) << slot;
    EXPECT_DOUBLE_EQ(parsed.deltaLum, 0.15);

    const std::vector<std::string> shown = errors();
    ASSERT_EQ(shown.size(), 1u);
    const std::string& text = shown[0];
    for (const char* key : {"deltaLum has the invalid value \"0,2\"", "color3", "color4", "color6",
                            "color7 has the invalid value \"\""})
        EXPECT_NE(text.find(key), std::string::npos) << key;
    EXPECT_EQ(text.find("color5"), std::string::npos);
}

} // namespace
} // namespace pln::test
