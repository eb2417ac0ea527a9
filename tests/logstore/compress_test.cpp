#include "log_fixture.h"
#include "logstore/core/compress.h"
#include "logstore/core/increase_sums.h"
#include "logstore/core/record_instants.h"
#ifndef _WIN32
#include "support/file_size_limit.h"
#include "support/other_process.h"
#endif

namespace pln::test {
namespace {

// The message, checked to come with the kind that lets callers wait for the
// file instead of reading the text.
std::string openError(const std::string& path, LockedFile::Access access) {
    try {
        LockedFile file(path, access);
    } catch (const Error& e) {
        EXPECT_EQ(e.kind() == ErrorKind::fileInUse, e.what() == std::string(fileInUseText));
        return e.what();
    }
    return "no error";
}

TEST(LockedFile, ReadersShareWritersHoldAloneAndReplacementsWaitForTheCommit) {
    TempDir dir;
    std::string path = dir.write("f", "abc");
    {
        LockedFile a(path, LockedFile::Access::Read);
        EXPECT_EQ(openError(path, LockedFile::Access::Read), "no error");
        EXPECT_EQ(openError(path, LockedFile::Access::ReadWrite), fileInUseText);
    }
    {
        LockedFile w(path, LockedFile::Access::ReadWrite);
        EXPECT_EQ(openError(path, LockedFile::Access::Read), fileInUseText);
        EXPECT_EQ(openError(path, LockedFile::Access::ReadWrite), fileInUseText);
    }
    EXPECT_EQ(openError(path, LockedFile::Access::ReadWrite), "no error");
    EXPECT_EQ(openError(dir.file("missing"), LockedFile::Access::Read), missingFileText());
    EXPECT_EQ(openError(dir.path(), LockedFile::Access::Read), folderAsFileText());
#ifndef _WIN32
    OtherProcess other([&](const OtherProcess::Hold& hold) {
        LockedFile held(path, LockedFile::Access::ReadWrite);
        hold(1);
    });
    ASSERT_EQ(other.report(), 1);
    EXPECT_EQ(openError(path, LockedFile::Access::Read), fileInUseText);
    EXPECT_TRUE(other.end());
    EXPECT_EQ(openError(path, LockedFile::Access::Read), "no error");
#endif

    fs::remove(path);
    std::string a = dir.write("a", "old a");
    std::string b = dir.write("b", "old b");
    const std::uint8_t x[] = {'X'};
    const std::uint8_t y[] = {'Y', 'Y'};
    {
        FileReplacementBatch batch;
        batch.add(a, x);
        batch.add(b, y);
        EXPECT_THROW(batch.commit(a), Error) << "nothing takes a file's place before the flush";
        batch.flush();
        batch.commit(a);
        EXPECT_EQ(readText(a), "X");
        EXPECT_EQ(readText(b), "old b");
    }
    EXPECT_EQ(readText(b), "old b") << "an uncommitted replacement is dropped";
    EXPECT_EQ(dir.entryCount(), 2u) << "no temporary file stays behind";

    FileReplacementBatch missingFolder;
    EXPECT_EQ(errorOf([&] { missingFolder.add(dir.file("none/c"), x); }), missingFolderText());
}

constexpr std::int64_t day = 86'400;
const CalendarMs now = dosDateTimeToCalendar(dos(2024, 6, 1));

const auto agedStamp = [](std::int64_t age) { return calendarToDosDateTime(now - age * 1000); };

// A log with one record per age (oldest first) whose values count on from
// first: a stats log, or a known-file log's requests.
LogBytes aged(const std::vector<std::int64_t>& ages, std::int32_t first = 0, bool known = false) {
    LogBytes bytes = known ? LogBytes::known() : LogBytes::stats();
    for (std::int64_t age : ages) {
        if (known)
            bytes.knownFileRecord(agedStamp(age), static_cast<std::uint32_t>(first++), 0, 0);
        else
            bytes.int32Record(agedStamp(age), first++);
    }
    return bytes;
}

// The records kept, one '1' or '0' per age.
std::string kept(const std::vector<std::int64_t>& ages, int thresholdDays) {
    auto bytes = aged(ages).bytes();
    std::span<const std::uint8_t> records(bytes.begin() + 79, bytes.end());
    std::vector<std::int64_t> instants = recordInstants(tLogRecords(records, 3), nullptr);
    std::string out;
    for (bool keep : recordsToKeep(tLogRecords(records, 3, instants), thresholdDays,
                                   (now - unixEpochCalendarMs) / 1000))
        out += keep ? '1' : '0';
    return out;
}

// Records from T days old on must lie 660 s apart for every T of their age
// (seven hours at most), measured from the last record kept.
TEST(LogRecords, KeptRecordsSpacingAndIncreasesOfThePartsOfALog) {
    const struct {
        std::vector<std::int64_t> ages;
        int threshold;
        const char* kept;
    } spacings[] = {
        // 1500 s from its dropped neighbour but 3000 s from the last kept one.
        {{35 * day + 3000, 35 * day + 1500, 35 * day, 25 * day + 700, 25 * day}, 10, "10101"},
        {{15 * day + 700, 15 * day, 5 * day + 10, 5 * day}, 10, "1111"},
        {{29 * day + 100, 29 * day + 98, 29 * day}, 30, "111"}, // younger than T
        {{45 * day + 400, 45 * day}, 30, "01"},
        {{45 * day + 700, 45 * day}, 30, "11"},
        {{45 * day + 660, 45 * day}, 30, "11"}, // 660 whole seconds
        {{45 * day + 658, 45 * day}, 30, "01"},
        {{30 * day + 400, 30 * day}, 30, "01"}, // an age of exactly T is one period
        {{3000 * day + 7 * 3600 * 2, 3000 * day + 7 * 3600, 3000 * day}, 30, "111"},
        {{3000 * day + 21598, 3000 * day}, 30, "01"},
        {{3000 * day + 21600, 3000 * day}, 30, "11"},
    };
    for (const auto& row : spacings)
        EXPECT_EQ(kept(row.ages, row.threshold), row.kept) << row.ages.front();

    // Every increase within a long log, also through a part of it that starts
    // off the totals' stride: a counter rising by 3 per record that eMule reset
    // to 5 at record 37.
    LogBytes bytes;
    for (int i = 0; i < 100; ++i)
        bytes.int32Record(0, i < 37 ? 3 * i : 5 + 3 * (i - 37));
    const std::vector<std::uint8_t> counts = bytes.bytes();
    const tLogRecords plain(counts, valueTypeInteger);
    const tIncreaseSums totals(plain);
    const tLogRecords whole(counts, valueTypeInteger, {}, &totals);
    for (std::size_t first : {std::size_t{0}, std::size_t{5}}) {
        const tLogRecords part = whole.slice(first, 100);
        int wrong = 0;
        for (std::size_t j = first; j < 100; ++j)
            for (std::size_t e = j; e < 100; ++e)
                wrong += part.exactIncrease(0, j - first, e - first) !=
                         3 * (e - j) + (j < 37 && 37 <= e ? 2 : 0);
        EXPECT_EQ(wrong, 0) << "from record " << first;
    }
    EXPECT_EQ(plain.exactIncrease(0, 0, 99), std::nullopt) << "a view without totals";

    // Totals are kept while every sum of steps is an integer a double holds
    // exactly, which a step by step sum in doubles then gives as well.
    constexpr double limit = 9007199254740992.0; // 2^53
    const struct {
        std::uint8_t valueType;
        std::vector<double> values;
        std::optional<std::uint64_t> increase;
    } rows[] = {{valueTypeLong, {0, 1, limit}, std::uint64_t{1} << 53},
                {valueTypeLong, {0, 2, limit + 2}, std::nullopt},
                {valueTypeLong, {-limit, limit}, std::nullopt},
                {valueTypeReal, {0.5, 2.5, 6.5}, 6},
                {valueTypeReal, {0, 0.5, 2}, std::nullopt}};
    for (const auto& row : rows) {
        LogBytes values;
        for (double value : row.values)
            values.record(0, row.valueType, value);
        const std::vector<std::uint8_t> area = values.bytes();
        const tIncreaseSums sums(tLogRecords(area, row.valueType));
        const tLogRecords records(area, row.valueType, {}, &sums);
        EXPECT_EQ(records.exactIncrease(0, 0, row.values.size() - 1), row.increase)
            << row.values.back();
    }
    // A known file's counters, the bytes transferred read as signed.
    LogBytes known;
    known.knownFileRecord(0, 7, 1, 0).knownFileRecord(0, 2, 3, UINT64_MAX);
    const std::vector<std::uint8_t> knownArea = known.knownFileRecord(0, 4, 3, 5).bytes();
    const tIncreaseSums knownSums(tLogRecords(knownArea, valueTypeKnownFile));
    const tLogRecords records(knownArea, valueTypeKnownFile, {}, &knownSums);
    EXPECT_EQ(std::tuple(records.exactIncrease(0, 0, 2), records.exactIncrease(1, 0, 2),
                         records.exactIncrease(2, 0, 2), records.exactIncrease(3, 0, 2)),
              std::tuple(4u, 2u, 6u, std::nullopt));
}

// Each log starts again from "now": the second log's newest record lies 400 s
// from the last record kept in the first log, and stays all the same.
TEST_F(LogStoreTest, CompressionRewritesEveryLogWithItsKeptRecords) {
    std::vector<std::int64_t> ages = {45 * day + 400, 45 * day, 2 * day};
    write("a.ini-s,k.pln_on", aged(ages).raw("partial"));
    write(hash + ".pln_off", aged(ages, 0, true));
    const std::pair<const char*, LogBytes> unchanged[] = {
        {"b.ini-s,young.pln", aged({2 * day + 2, 2 * day})},
        {"c.ini-s,single.pln_on", aged({90 * day}).raw("xyz")}, // a single record stays as it is
        {"d.ini-s,first.pln_on", aged({40 * day + 2000, 40 * day + 400})},
        {"e.ini-s,second.pln_on", aged({40 * day + 3000, 40 * day + 1600})}};
    for (const auto& [name, bytes] : unchanged)
        write(name, bytes);
    write("virtual;v.pln_on", LogBytes::combined(0, "a.ini-s,k", "gone.ini-s,k"));
    logs.scanLogs();

    tCompressSummary summary = compressLogs(logs, 30, now);
    // Logs, records before and after, and bytes before and after: stats
    // records are 8 bytes, known-file records 20.
    EXPECT_EQ(
        (std::vector<std::uint64_t>{summary.logsRewritten, summary.recordsBefore,
                                    summary.recordsAfter, summary.bytesBefore, summary.bytesAfter}),
        (std::vector<std::uint64_t>{5, 12, 10, 3 * 8 + 3 * 20 + 6 * 8, 2 * 8 + 2 * 20 + 6 * 8}));
    EXPECT_TRUE(summary.failures.empty());
    EXPECT_EQ(read("a.ini-s,k.pln_on"), aged({45 * day, 2 * day}, 1).bytes()) << "partial: gone";
    EXPECT_EQ(read(hash + ".pln_off"), aged({45 * day, 2 * day}, 1, true).bytes());
    for (const auto& [name, bytes] : unchanged)
        EXPECT_EQ(read(name), bytes.bytes()) << name;
    for (const auto& log : logs.logs())
        EXPECT_EQ(log->recordsSize(), -1);
}

// A log that cannot be read (another program holds it) and, where the file
// size can be limited, a log whose new contents cannot be written are left
// as they were and named in one report at the end; every other log is
// compressed, and no temporary file stays. One that a crash left beside a
// log is removed by the next scan.
TEST_F(LogStoreTest, FailedLogsAreReportedOnceAndTheOthersCompressed) {
    std::vector<std::int64_t> ages = {45 * day + 400, 45 * day};
    const LogBytes compressed = aged({45 * day}, 1);
    std::string held = write("a.ini-s,held.pln_on", aged(ages));
    write("b.ini-s,free.pln_on", aged(ages));
    write("d.ini-s,free.pln", aged(ages));
    write("b.ini-s,free.pln_on.tmp123", LogBytes());
    std::vector<std::int64_t> young(1000, 2 * day);
    young.insert(young.begin(), ages.begin(), ages.end());
    write("c.ini-s,big.pln_on", aged(young));
    logs.scanLogs();
    EXPECT_FALSE(fs::exists(dir.path() + "b.ini-s,free.pln_on.tmp123"));
    tCompressSummary summary;
    std::vector<std::string> expected = {"Cannot load the \"a.ini-s,held\" log file: " +
                                         std::string(fileInUseText)};
    {
        // Released before the file is read back: Windows lets nobody read it meanwhile.
        LockedFile writer(held, LockedFile::Access::ReadWrite);
#ifdef _WIN32
        summary = compressLogs(logs, 30, now);
#else
        withFileSizeLimit(4096, [&] { summary = compressLogs(logs, 30, now); });
        expected.push_back("Cannot save the \"c.ini-s,big\" log file: File too large");
#endif
    }
    EXPECT_EQ(summary.failures, expected);
    EXPECT_EQ(compressFailureReport(summary.failures),
              std::string(compressFailedText) + "\n" + expected.front() +
                  (expected.size() > 1 ? "\n" + expected.back() : ""));
    EXPECT_EQ(read("a.ini-s,held.pln_on"), aged(ages).bytes());
    EXPECT_EQ(read("b.ini-s,free.pln_on"), compressed.bytes());
    EXPECT_EQ(read("d.ini-s,free.pln"), compressed.bytes());
#ifndef _WIN32
    EXPECT_EQ(read("c.ini-s,big.pln_on"), aged(young).bytes());
#endif
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
}

} // namespace
} // namespace pln::test
