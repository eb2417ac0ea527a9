#include "demo_logs.h"

#include "common/byte_writer.h"
#include "common/error.h"
#include "emulefiles/core/known_met.h"
#include "graphs/core/events_log.h"
#include "logstore/core/default_logs.h"
#include "logstore/core/dos_date_time.h"
#include "logstore/core/log_files.h"
#include "logstore/core/record_instants.h"
#include "platform/platform.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <map>

namespace pln::demo {

namespace {

constexpr std::int64_t hourMs = 3'600'000;
constexpr std::int64_t sampleMs = 660'000;
// The user's clock ran 14 minutes fast until it was set right, once.
constexpr std::int64_t clockFastMs = std::int64_t{14} * 60'000;
constexpr std::size_t knownFileLogs = 36;

const std::string connRunTime = "statistics.ini-statistics,ConnRunTime";
const std::string totalUploaded = "statistics.ini-statistics,TotalUploadedBytes";
const std::string upDataFile = "statistics.ini-statistics,UpData_File";
const std::string upSessions = "statistics.ini-statistics,UpSuccessfulSessions";
const std::string maxUpload = "preferences.ini-eMule,MaxUpload";
const std::string ussEnabled = "preferences.ini-eMule,USSEnabled";
const std::string queuedClients = "Queued clients";

// Any report of the log store while the demo is written is a fault of the demo.
class FailingPrompter : public Prompter {
public:
    void showError(const std::string& text) override { throw Error(text); }
    void showWarning(const std::string& text) override { throw Error(text); }
    void showInformation(const std::string&) override {}
    bool confirm(const std::string&) override { return false; }
};

// What happened during the history, in days from its first day: the
// statistics resets (eMule's cumulative counters drop to 0), the day the
// clock was set back, the day the ConnRunTime log was created (after the
// other logs), and the upload limit changes.
struct Timeline {
    int days;
    std::vector<int> resets;
    int clockSetBack;
    int connRunTimeFrom;
    int limitRaised;
    int limitLowered;

    explicit Timeline(int historyDays)
        : days(historyDays), resets{days * 2 / 9, days * 4 / 9, days * 6 / 9, days * 8 / 9},
          clockSetBack(days / 3), connRunTimeFrom(days / 12), limitRaised(days / 4),
          limitLowered(days * 2 / 3) {}
};

// One moment the recorder sampled eMule's values: eMule was running then.
struct Sample {
    // The instant (ms since 1970 UTC) and the local wall-clock reading the
    // record was dated with.
    std::int64_t at;
    CalendarMs stamp;
    int day;
    // Whether eMule's statistics were reset just before this sample.
    bool reset;
};

// eMule runs part of most days, started in the morning and closed in the
// evening or after midnight by the local clock; on some days it is not
// started at all. While it runs, the recorder samples every 11 minutes of
// real time, give or take a few seconds, across daylight-saving changes.
std::vector<Sample> recorderSamples(const Timeline& timeline, CalendarMs firstDay, Clock& clock,
                                    DemoRandom& random) {
    tLocalTimeZone zone(&clock);
    auto instantOf = [&zone](CalendarMs local) { return zone.instantsOf(local).earlier * 1000; };
    std::vector<Sample> samples;
    std::int64_t lastStop = instantOf(firstDay);
    std::size_t nextReset = 0;
    bool clockFast = true;
    for (int day = 0; day < timeline.days; ++day) {
        if (random.chance(10))
            continue;
        CalendarMs dayStart = firstDay + day * msPerDay;
        std::int64_t start = std::max(
            lastStop + hourMs,
            instantOf(dayStart + static_cast<std::int64_t>(random.between(420, 720)) * 60'000));
        std::int64_t stop =
            instantOf(dayStart + static_cast<std::int64_t>(random.between(1140, 1530)) * 60'000);
        bool reset = nextReset < timeline.resets.size() && day >= timeline.resets[nextReset];
        // The clock is set right while eMule runs, three hours after its
        // first start from that day on.
        std::int64_t setRight = !clockFast                    ? start
                                : day < timeline.clockSetBack ? stop
                                                              : start + 3 * hourMs;
        clockFast = clockFast && day < timeline.clockSetBack;
        for (std::int64_t t = start; t < stop;
             t += sampleMs + static_cast<std::int64_t>(random.between(0, 4000))) {
            CalendarMs fast = t < setRight ? clockFastMs : 0;
            samples.push_back({t, clock.toLocalCalendar(t) + fast, day, reset});
            reset = false;
        }
        if (nextReset < timeline.resets.size() && day >= timeline.resets[nextReset])
            ++nextReset;
        lastStop = std::max(lastStop, stop);
    }
    return samples;
}

// The records of one log, written after its empty file was created.
class LogRecords {
public:
    void int8(CalendarMs at, std::int64_t v) { stamp(at), out_.i8(static_cast<std::int8_t>(v)); }
    void int32(CalendarMs at, std::int64_t v) { stamp(at), out_.i32(static_cast<std::int32_t>(v)); }
    void int64(CalendarMs at, std::int64_t v) { stamp(at), out_.i64(v); }
    void knownFile(CalendarMs at, std::uint32_t requests, std::uint32_t accepted,
                   std::uint64_t transferred) {
        stamp(at);
        out_.u32(requests);
        out_.u32(accepted);
        out_.u64(transferred);
    }
    void appendTo(const std::string& path) const {
        std::ofstream file(path, std::ios::binary | std::ios::app);
        file.write(reinterpret_cast<const char*>(out_.buffer().data()),
                   static_cast<std::streamsize>(out_.buffer().size()));
        if (!file)
            throw Error("Cannot write the demo log " + path, ErrorKind::io);
    }

private:
    void stamp(CalendarMs at) { out_.u32(calendarToDosDateTime(at)); }
    ByteWriter out_;
};

std::int64_t iniInt(IniProfile& ini, const std::filesystem::path& file, const std::string& key,
                    std::int64_t fallback) {
    std::string section = file.filename() == "preferences.ini" ? "eMule" : "Statistics";
    auto text = ini.read(file.string(), section, key);
    try {
        return text ? std::stoll(*text) : fallback;
    } catch (const std::exception&) {
        return fallback;
    }
}

// The upload limit the user set: changed twice during the history, ending
// at the value of preferences.ini.
std::int64_t uploadLimitOn(const Timeline& timeline, int day, std::int64_t finalLimit) {
    if (day < timeline.limitRaised)
        return std::max<std::int64_t>(10, finalLimit * 2 / 3);
    if (day < timeline.limitLowered)
        return finalLimit + 25;
    return finalLimit;
}

void writeCounter(IniProfile& ini, const std::filesystem::path& file, const std::string& key,
                  std::int64_t value) {
    if (!ini.write(file.string(), "Statistics", key, std::to_string(value)))
        throw Error("Cannot write " + file.string(), ErrorKind::io);
}

// eMule's statistics: every cumulative counter restarts from 0 after a
// reset; the upload follows the upload limit. statistics.ini is left with
// the counters the logs end at, so that eMule goes on from there.
std::map<std::string, LogRecords> statisticsLogs(const Timeline& timeline,
                                                 const std::vector<Sample>& samples,
                                                 IniProfile& ini, const DemoProfile& profile,
                                                 DemoRandom& random) {
    auto preferences = profile.config() / "preferences.ini";
    auto statistics = profile.config() / "statistics.ini";
    std::int64_t finalLimit = iniInt(ini, preferences, "MaxUpload", 60);
    std::int64_t runTime = iniInt(ini, statistics, "ConnRunTime", 30'000'000) / 2;
    std::int64_t uploaded = iniInt(ini, statistics, "TotalUploadedBytes", 400'000'000'000) / 2;
    std::int64_t fileData = uploaded * 9 / 10;
    std::int64_t sessions = iniInt(ini, statistics, "UpSuccessfulSessions", 100'000) / 2;
    std::int64_t queue = 40;
    std::map<std::string, LogRecords> logs;
    for (const Sample& s : samples) {
        if (s.reset)
            runTime = uploaded = fileData = sessions = 0;
        std::int64_t limit = uploadLimitOn(timeline, s.day, finalLimit);
        std::int64_t bytes =
            limit * 1024 * 660 * static_cast<std::int64_t>(random.between(30, 95)) / 100;
        runTime += random.chance(97) ? 660 : static_cast<std::int64_t>(random.between(0, 600));
        uploaded += bytes;
        fileData += bytes * static_cast<std::int64_t>(random.between(85, 97)) / 100;
        sessions += bytes / static_cast<std::int64_t>(random.between(2'000'000, 8'000'000));
        queue = std::clamp<std::int64_t>(
            queue + static_cast<std::int64_t>(random.between(0, 40)) - 20, 0, 400);
        if (s.day >= timeline.connRunTimeFrom)
            logs[connRunTime].int32(s.stamp, runTime);
        logs[totalUploaded].int64(s.stamp, uploaded);
        logs[upDataFile].int64(s.stamp, fileData);
        logs[upSessions].int32(s.stamp, sessions);
        logs[maxUpload].int32(s.stamp, limit);
        logs[queuedClients].int32(s.stamp, queue);
        // The upload speed sense was switched off for a week, and its log
        // switched off after two months.
        if (s.day < 60)
            logs[ussEnabled].int8(s.stamp, s.day >= 20 && s.day < 27 ? 0 : 1);
    }
    writeCounter(ini, statistics, "ConnRunTime", runTime);
    writeCounter(ini, statistics, "TotalUploadedBytes", uploaded);
    writeCounter(ini, statistics, "UpData_File", fileData);
    writeCounter(ini, statistics, "UpSuccessfulSessions", sessions);
    return logs;
}

// The counters a known file reached at each sample, ending at its known.met
// counters: its log was ticked on some day and, for a few, ticked off again.
struct KnownFileHistory {
    std::string name;
    int firstDay = 0;
    int lastDay = 0;
};

LogRecords knownFileLog(const tKnownMetRecord& record, const KnownFileHistory& history,
                        const std::vector<Sample>& samples, DemoRandom& random) {
    std::vector<const Sample*> own;
    for (const Sample& s : samples)
        if (s.day >= history.firstDay && s.day < history.lastDay)
            own.push_back(&s);
    // Requests come more often in the evening.
    double perSample = static_cast<double>(random.between(5, 60)) / 100.0;
    std::vector<double> requests(own.size());
    double total = 0;
    for (std::size_t i = 0; i < own.size(); ++i) {
        double evening = own[i]->stamp % msPerDay > 18 * hourMs ? 1.8 : 1.0;
        requests[i] = static_cast<double>(random.between(0, 200)) / 100.0 * perSample * evening;
        total += requests[i];
    }
    std::array<std::uint64_t, 3> counters = {record.getRequested(), record.getAccepted(),
                                             record.getTransferred()};
    auto ratio = [](std::uint64_t a, std::uint64_t b) {
        return b == 0 ? 0.0 : static_cast<double>(a) / static_cast<double>(b);
    };
    // At most 60% of the all-time counters were reached during the history.
    double scale = total == 0 ? 0 : std::min(1.0, static_cast<double>(counters[0]) * 0.6 / total);
    std::array<double, 3> perRequest = {1.0, ratio(counters[1], counters[0]),
                                        ratio(counters[2], counters[0])};
    // Walk back from the known.met counters to the first sample; fractions
    // are carried so that small rates still add up.
    std::vector<std::array<std::uint64_t, 3>> values(own.size());
    std::array<double, 3> owed = {0, 0, 0};
    for (std::size_t i = own.size(); i-- > 0;) {
        values[i] = counters;
        for (std::size_t c = 0; c < 3; ++c) {
            owed[c] += requests[i] * scale * perRequest[c];
            auto whole = static_cast<std::uint64_t>(owed[c]);
            owed[c] -= static_cast<double>(whole);
            counters[c] -= std::min(counters[c], whole);
        }
    }
    LogRecords log;
    for (std::size_t i = 0; i < own.size(); ++i)
        log.knownFile(own[i]->stamp, static_cast<std::uint32_t>(values[i][0]),
                      static_cast<std::uint32_t>(values[i][1]), values[i][2]);
    return log;
}

std::vector<KnownFileHistory> writeKnownFileLogs(tLogFiles& logs, const tKnownMetList& list,
                                                 const Timeline& timeline,
                                                 const std::vector<Sample>& samples,
                                                 DemoRandom& random) {
    std::vector<KnownFileHistory> written;
    for (std::size_t i = 0; i < list.count() && written.size() < knownFileLogs; ++i) {
        const tKnownMetRecord& record = list.record(i);
        if (record.getRequested() < 100 || !random.chance(50))
            continue;
        KnownFileHistory history{record.hash.toString(), 0, timeline.days};
        auto dayAt = [&timeline, &random](int low, int high) {
            return static_cast<int>(
                random.between(static_cast<std::uint64_t>(timeline.days) * low,
                               static_cast<std::uint64_t>(timeline.days) * high) /
                100);
        };
        if (random.chance(35))
            history.firstDay = std::max(1, dayAt(1, 58));
        bool switchedOff = written.size() % 9 == 4;
        if (switchedOff)
            history.lastDay = dayAt(70, 92);
        logs.createLogFile(history.name, tLogState::active, {});
        knownFileLog(record, history, samples, random)
            .appendTo(logs.context().logsFolder + history.name + ".pln_on");
        if (switchedOff)
            logs.setLogState(history.name, tLogState::inactive);
        written.push_back(history);
    }
    return written;
}

// The special events a user would have noted: the statistics resets, the
// upload limit changes, and the day some files were shared.
void writeDemoEvents(const std::string& path, const Timeline& timeline, CalendarMs firstDay,
                     const std::vector<KnownFileHistory>& files) {
    auto at = [firstDay](int day, int hour) { return firstDay + day * msPerDay + hour * hourMs; };
    tEventsLog events(path);
    for (int day : timeline.resets)
        events.add({at(day, 9), "Statistics reset"});
    events.add({at(timeline.clockSetBack, 8), "Clock set right (it ran 14 minutes fast)"});
    events.add({at(timeline.limitRaised, 21), "Upload limit raised"});
    events.add({at(timeline.limitLowered, 21), "Upload limit lowered"});
    int shared = 0;
    for (const KnownFileHistory& file : files) {
        if (file.firstDay == 0 || ++shared > 4)
            continue;
        events.add({at(file.firstDay, 10), tEvent::makePart("Shared", file.name)});
    }
    events.save();
}

void createStatisticsLogs(const tLogFiles& logs) {
    createDefaultLogs(logs);
    logs.createLogFile(upSessions, tLogState::active,
                       {valueTypeInteger, flagCumulative, 3600.0, "sessions / hour"});
    logs.createLogFile(queuedClients, tLogState::active,
                       {valueTypeInteger, flagShowWithRequests, 1.0, "clients"});
    // kBytes per second over sessions per hour: times 3600 / 1024 gives
    // MBytes per session.
    tCombineBlock perSession{tLogOperation::quotient, {totalUploaded, upSessions}, missingValue()};
    logs.createLogFile("virtual;Average upload per session", tLogState::active,
                       {valueTypeReal, 0, 3600.0 / 1024, "MBytes / session"}, perSession);
}

} // namespace

void writeDemoLogs(const DemoProfile& profile, DemoRandom& random, int historyDays) {
    std::string folder = (profile.data() / "PLN logs").string() + "/";
    std::filesystem::create_directories(folder);
    NativePlatform native;
    Platform& platform = native.services();
    FailingPrompter prompter;
    tDetachedRecorderLink recorder;
    tLogFiles logs(tLogStoreContext{folder, prompter, recorder, &platform.clock});

    Timeline timeline(historyDays);
    CalendarMs today = platform.clock.nowLocal() / msPerDay * msPerDay;
    CalendarMs firstDay = today - historyDays * msPerDay;
    std::vector<Sample> samples = recorderSamples(timeline, firstDay, platform.clock, random);
    std::int64_t now = platform.clock.nowUnixMs();
    std::erase_if(samples, [&](const Sample& s) { return s.at > now; });

    createStatisticsLogs(logs);
    logs.scanLogs();
    for (const auto& [name, records] :
         statisticsLogs(timeline, samples, platform.ini, profile, random))
        records.appendTo(folder + logs.findLog(name)->fileName());
    logs.setLogState(ussEnabled, tLogState::inactive);

    tKnownMet knownMet((profile.config() / "known.met").string(), platform.files, platform.clock);
    knownMet.load();
    std::vector<KnownFileHistory> logged =
        writeKnownFileLogs(logs, *knownMet.list(), timeline, samples, random);
    writeDemoEvents((profile.data() / "events.log").string(), timeline, firstDay, logged);

    // The viewer must read back every log the demo wrote.
    logs.scanLogs();
    for (const auto& log : logs.logs()) {
        log->loadValues();
        log->freeValues();
    }
}

} // namespace pln::demo
