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

TEST(TagsText, ShowsTenRecordsOnceEachWithSeparators) {
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

    const std::string two = tagsText({files[0].get(), files[1].get()}, numbers);
    const std::string first = recordTagsText(*files[0], numbers);
    EXPECT_EQ(two.substr(0, first.size()), first);
    EXPECT_EQ(two.substr(first.size(), 206), "\r\n" + std::string(200, '-') + "\r\n\r\n");
    EXPECT_EQ(two.substr(first.size() + 206), recordTagsText(*files[1], numbers));
}

} // namespace
} // namespace pln
