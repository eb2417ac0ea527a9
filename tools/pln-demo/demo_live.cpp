#include "demo_live.h"

#include "common/error.h"
#include "common/file_io.h"
#include "demo_random.h"
#include "emulefiles/core/known_met.h"
#include "platform/platform.h"

#include <chrono>
#include <csignal>
#include <ctime>
#include <iostream>
#include <string>
#include <thread>

namespace pln::demo {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

// Uploads to about a third of the files; returns the bytes uploaded.
std::uint64_t uploadSome(tKnownMetList& list, DemoRandom& random) {
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < list.count(); ++i) {
        if (!random.chance(30))
            continue;
        tKnownMetRecord& record = list.record(i);
        auto requests = static_cast<std::uint32_t>(random.between(1, 6));
        auto accepted = static_cast<std::uint32_t>(random.between(0, requests));
        std::uint64_t bytes = accepted * random.between(200'000, 9'000'000);
        record.setRequested(record.getRequested() + requests);
        record.setAccepted(record.getAccepted() + accepted);
        record.setTransferred(record.getTransferred() + bytes);
        total += bytes;
    }
    return total;
}

void addToCounter(IniProfile& ini, const std::string& file, const std::string& key,
                  std::uint64_t amount) {
    std::uint64_t value = std::stoull(ini.read(file, "Statistics", key).value_or("0"));
    if (!ini.write(file, "Statistics", key, std::to_string(value + amount)))
        throw Error("Cannot write " + file, ErrorKind::io);
}

// eMule's online signature ends with the number of clients in the queue.
void writeOnlineSignature(const DemoProfile& profile, DemoRandom& random) {
    std::string text =
        "1|DemoServer|127.0.0.1|4661|12.3|4.5|" + std::to_string(random.between(20, 400));
    replaceFileContents((profile.root / "eMule" / "onlinesig.dat").string(),
                        {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

} // namespace

void runLiveDemo(const DemoProfile& profile, int intervalSeconds) {
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    NativePlatform native;
    Platform& platform = native.services();
    tKnownMet knownMet((profile.config() / "known.met").string(), platform.files, platform.clock);
    std::string statistics = (profile.config() / "statistics.ini").string();
    DemoRandom random(static_cast<std::uint64_t>(std::time(nullptr)));
    while (!stopRequested) {
        for (int tenths = 0; tenths < intervalSeconds * 10 && !stopRequested; ++tenths)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (stopRequested)
            break;
        knownMet.load();
        std::uint64_t uploaded = uploadSome(*knownMet.list(), random);
        knownMet.save();
        addToCounter(platform.ini, statistics, "TotalUploadedBytes", uploaded);
        addToCounter(platform.ini, statistics, "UpData_File", uploaded);
        addToCounter(platform.ini, statistics, "ConnRunTime",
                     static_cast<std::uint64_t>(intervalSeconds));
        writeOnlineSignature(profile, random);
        std::cout << "known.met and statistics.ini saved: " << uploaded << " bytes uploaded"
                  << std::endl;
    }
}

} // namespace pln::demo
