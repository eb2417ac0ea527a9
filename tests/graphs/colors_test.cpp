#include "graphs/core/colors.h"
#include "platform/fake_settings_store.h"
#include "support/recording_prompter.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

// Below a lightness L of d the darker shade is black and the lighter one 2d
// above it; above 1 - d the shades take the lightness 1 - 2d and 1.
TEST(DeriveShades, MovesTheLightnessAndKeepsHueAndSaturation) {
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
        EXPECT_EQ(shades.darker, row.darker) << &row - rows;
        EXPECT_EQ(shades.lighter, row.lighter) << &row - rows;
    }
}

// Empty settings give the design colours, whose shades at a zero offset are
// themselves, and the requests chart the shades of the transferred series;
// stored colours read back as chosen.
TEST(LoadColors, DesignColoursTheirShadesAndStoredColoursReadBack) {
    FakeSettingsStore settings;
    test::RecordingPrompter prompter;
    const tChartColours colours = loadColors(settings, prompter);
    EXPECT_EQ(colours.slotColours, designSlotColours);
    EXPECT_DOUBLE_EQ(colours.deltaLum, 0.15);
    for (tColour colour : designSlotColours) {
        EXPECT_EQ(deriveShades(colour, 0).darker, colour);
        EXPECT_EQ(deriveShades(colour, 0).lighter, colour);
    }
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
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(LoadColors, ReadsSixAndEightDigitsAlikeAndReportsEveryBadValueInOneBox) {
    FakeSettingsStore settings;
    settings.values = {{"color1", "000080FF"},  {"color2", "80ff"},  {"color3", "12G456"},
                       {"color4", "FF000005"},  {"deltaLum", "0,2"}, {"color5", " 00abcdef "},
                       {"color6", "123456789"}, {"color7", ""}};
    test::RecordingPrompter prompter;
    const tChartColours colours = loadColors(settings, prompter);

    EXPECT_EQ(colours.slotColours[1], rgbColour(0xFF, 0x80, 0));
    EXPECT_EQ(colours.slotColours[2], colours.slotColours[1]);
    EXPECT_EQ(colours.slotColours[5], rgbColour(0xEF, 0xCD, 0xAB));
    for (std::size_t slot : {3, 4, 6, 7})
        EXPECT_EQ(colours.slotColours[slot], designSlotColours[slot]) << slot;
    EXPECT_DOUBLE_EQ(colours.deltaLum, 0.15);

    ASSERT_EQ(prompter.errors().size(), 1u);
    const std::string text = prompter.errors()[0];
    for (const char* key : {"deltaLum has the invalid value \"0,2\"", "color3", "color4", "color6",
                            "color7 has the invalid value \"\""})
        EXPECT_NE(text.find(key), std::string::npos) << key;
    EXPECT_EQ(text.find("color5"), std::string::npos);
}

} // namespace
} // namespace pln
