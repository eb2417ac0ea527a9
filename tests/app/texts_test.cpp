#include "app/core/help_texts.h"
#include "app/core/tags_text.h"
#include "emulefiles/core/known_met_record.h"

#include <gtest/gtest.h>

namespace pln {
namespace {

const tNumberFormat numbers{[](std::uint64_t n) {
                                std::string digits = std::to_string(n);
                                for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
                                    digits.insert(static_cast<std::size_t>(at), ",");
                                return digits;
                            },
                            [](double d) { return std::to_string(d); }};

std::unique_ptr<tKnownMetRecord> record(const char* hash) {
    return tKnownMetRecord::createFromValues("file.avi", hash, 0, 0, 0, 5'000'000'000ull, "");
}

TEST(TagsText, LinesUpNamesTypesAndValues) {
    auto file = record("00112233445566778899AABBCCDDEEFF");
    tKnownMetTag numbered;
    numbered.nameId = 200;
    numbered.tagType = tagType::uint32;
    numbered.intValue = 1234;
    file->tags.append(numbered);
    tKnownMetTag longName;
    longName.name = std::string(40, 'n');
    longName.tagType = tagType::boolean;
    file->tags.append(longName);
    tKnownMetTag odd;
    odd.nameId = 200;
    odd.tagType = 42;
    file->tags.append(odd);

    const std::string text = recordTagsText(*file, numbers);
    const std::string pad33 = std::string(29, ' ');
    const std::string expected = "HASH" + pad33 + "HASH      00112233445566778899AABBCCDDEEFF\r\n" +
                                 "FILENAME" + std::string(25, ' ') + "STRING    file.avi\r\n" + //
                                 "FILESIZE" + std::string(25, ' ') + "UINT64    5,000,000,000\r\n" +
                                 "200" + std::string(30, ' ') + "UINT32    1,234\r\n" + //
                                 std::string(32, 'n') + " BOOL      \r\n" +             //
                                 "200" + std::string(40, ' ') + "\r\n";
    EXPECT_EQ(text, expected);
}

// The separators between records are checked on the list's tags box.
TEST(TagsText, ShowsTenRecordsOnceEach) {
    std::vector<std::unique_ptr<tKnownMetRecord>> files;
    std::vector<const tKnownMetRecord*> selected;
    for (int i = 0; i < 15; ++i) {
        char hash[33];
        std::snprintf(hash, sizeof hash, "%032d", i);
        files.push_back(record(hash));
        selected.push_back(files.back().get());
    }
    EXPECT_TRUE(tagRecords(nullptr, nullptr, {}).empty());
    const auto shown = tagRecords(files[3].get(), nullptr, selected);
    ASSERT_EQ(shown.size(), 10u);
    EXPECT_EQ(shown[0], files[3].get());
    EXPECT_EQ(shown[1], files[0].get());
    EXPECT_EQ(shown[4], files[4].get());
    EXPECT_EQ(tagRecords(files[1].get(), files[1].get(), {files[1].get()}).size(), 1u);
}

TEST(HelpTexts, TipsNameTheMenusWithoutAccessKeys) {
    const auto tips =
        tipTexts({"&File", "&Compress logs", "&eMule stats and settings", "&New log..."}, 30);
    ASSERT_EQ(tips.size(), 11u);
    EXPECT_NE(tips[4].find(R"(the menu "File" -> "Compress logs" to reduce)"), std::string::npos);
    EXPECT_NE(tips[4].find("older than 30 days"), std::string::npos);
    EXPECT_NE(tips[4].find("one value every 6 hours"), std::string::npos);
    EXPECT_NE(tips[5].find(R"("eMule stats and settings" -> "New log...")"), std::string::npos);
    EXPECT_NE(tips[6].find(R"(- "Unlikely" means that less than 30 seconds)"), std::string::npos);
    EXPECT_NE(tips[6].find(R"(- "Yes" just means Yes (there's)"), std::string::npos);
    for (const auto& tip : tips)
        EXPECT_EQ(tip.find('&'), std::string::npos) << tip;
    // Paging both ways and the line breaks are the dialog's; a first tip
    // beyond the last wraps round.
    EXPECT_EQ(tTextPager(tips, 15).index(), 4u);

    const auto notes = noteTexts("eMule runtime days");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_NE(notes[0].find(R"(with the "eMule runtime days" on)"), std::string::npos);
}

} // namespace
} // namespace pln
