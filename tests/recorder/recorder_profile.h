#pragma once

// What the recorder's tests share: an eMule profile on disk, with the bus
// messages and the marks of the viewer and the recorder.
#include "app/core/locations.h"
#include "app/core/recorder_messages.h"
#include "app/core/startup.h"
#include "emulefiles/known_met_bytes.h"
#include "logstore/log_fixture.h"
#include "platform/message_bus.h"
#include "support/temp_dir.h"

#include <chrono>
#include <filesystem>
#include <optional>

namespace pln::test {

inline constexpr const char* hashA = "0123456789ABCDEF0123456789ABCDEF";
inline constexpr const char* hashB = "FEDCBA9876543210FEDCBA9876543210";
inline constexpr const char* connRunTimeFile = "statistics.ini-statistics,ConnRunTime.pln";
inline constexpr const char* uploadedFile = "statistics.ini-statistics,TotalUploadedBytes.pln_on";

// An eMule profile laid out as the location rule finds it when XDG_DATA_HOME
// points at its root, with two known files and a few logs: file A's log is
// active, file B's inactive, ConnRunTime permanent, the uploaded bytes active.
class RecorderProfile {
public:
    RecorderProfile() {
        root = dir.path().substr(0, dir.path().size() - 1);
        locations.eMuleConfigBase = dir.path() + "eMule/";
        locations.eMuleConfigFolder = locations.eMuleConfigBase + "config/";
        locations.dataFolder = dir.path() + "PLN/";
        locations.logsFolder = locations.dataFolder + "PLN logs/";
        locations.messagePrefix = locations.eMuleConfigFolder;
        std::filesystem::permissions(dir.mkdir("run"), std::filesystem::perms::owner_all);
        writeConfig("preferences.ini", "[eMule]\r\nMaxUpload=40\r\n");
        writeConfig("statistics.ini",
                    "[Statistics]\r\nConnRunTime=1000\r\nTotalUploadedBytes=123456789\r\n");
        writeKnownMet(5, 60);
        writeLog(std::string(hashA) + ".pln_on", LogBytes::known().bytes());
        writeLog(std::string(hashB) + ".pln_off", LogBytes::known().bytes());
        writeLog(connRunTimeFile, LogBytes::stats(3, 1, 24, "Hours / day").bytes());
        writeLog(uploadedFile, LogBytes::stats(4, 1, 1.0 / 1024, "kBytes / sec").bytes());
    }

    void writeConfig(const std::string& fileName, const std::string& text) const {
        dir.write("eMule/config/" + fileName, text);
    }
    // File A's requests, 3 of them accepted and 700 bytes uploaded; the
    // file's stamp is set ageSeconds in the past, so that it counts as
    // settled at once and differs from earlier saves.
    void writeKnownMet(std::uint32_t requests, int ageSeconds) const {
        std::string path = dir.write("eMule/config/known.met",
                                     knownMetOf({{"a.avi", hashA, 700, requests, 3, 1000},
                                                 {"b.avi", hashB, 9, 9, 9, 1000}}));
        std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                                   std::chrono::seconds(ageSeconds));
    }
    void writeLog(const std::string& fileName, const std::vector<std::uint8_t>& bytes) const {
        dir.write("PLN/PLN logs/" + fileName, bytes);
    }
    std::vector<std::uint8_t> logBytes(const std::string& fileName) const {
        return readBytes(locations.logsFolder + fileName);
    }
    std::string errorsLog() const {
        std::string path = locations.dataFolder + "errors.log";
        return std::filesystem::exists(path) ? readText(path) : std::string();
    }

    TempDir dir;
    std::string root; // without the trailing separator, for XDG_DATA_HOME
    tLocations locations;
};

// The first message of that name, and of that word when one is given, that
// the bus brings within the time given.
inline std::optional<BusMessage> awaitMessage(MessageBus& bus, const std::string& name,
                                              std::chrono::milliseconds patience,
                                              std::optional<std::uint32_t> word = {}) {
    for (auto end = std::chrono::steady_clock::now() + patience;
         std::chrono::steady_clock::now() < end; bus.waitForMessages(20))
        for (const BusMessage& message : bus.receive())
            if (message.name == name && (!word || message.word == *word))
                return message;
    return std::nullopt;
}

} // namespace pln::test
