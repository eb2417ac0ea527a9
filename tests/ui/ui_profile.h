#pragma once

#include "app/core/locations.h"
#include "common/byte_writer.h"
#include "emulefiles/core/known_met_codec.h"
#include "emulefiles/core/known_met_record.h"
#include "logstore/core/log_codec.h"
#include "logstore/core/log_names.h"
#include "support/temp_dir.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

namespace pln::test {

inline const std::string emptyKnownMet("\x0E\x00\x00\x00\x00", 5);

// A file old enough for the load cycle, which leaves files younger than 2 s
// for a later cycle.
inline void settle(const std::string& path) {
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::hours(1));
}

inline void writeSettled(const TempDir& dir, const std::string& name, const std::string& bytes) {
    settle(dir.write(name, bytes));
}

// The hash text of the n-th test file.
inline std::string hashOf(int n) {
    char text[33];
    std::snprintf(text, sizeof text, "%032X", n);
    return text;
}

// An eMule profile and the viewer's folders as the start-up rule leaves
// them, in a folder of its own. The tips stay closed unless a test asks.
struct UiProfile {
    TempDir dir;
    tLocations locations;
    tKnownMetList known;

    UiProfile() {
        writeSettled(dir, "eMule/config/known.met", emptyKnownMet);
        dir.mkdir("eMule/Incoming");
        writePreferences("4662");
        dir.mkdir("PLN/PLN logs");
        dir.mkdir("program");
        dir.write("PLN/PLN.ini", "[PLN]\r\nshowTips=0\r\n");
        locations.programFolder = dir.file("program/");
        locations.eMuleFolder = dir.path();
        locations.eMuleConfigBase = dir.file("eMule/");
        locations.eMuleConfigFolder = dir.file("eMule/config/");
        locations.dataFolder = dir.file("PLN/");
        locations.logsFolder = dir.file("PLN/PLN logs/");
        locations.messagePrefix = locations.eMuleConfigFolder;
    }

    // eMule's settings with that port (empty: the port of no eMule here).
    void writePreferences(const std::string& port) {
        writeSettled(dir, "eMule/config/preferences.ini",
                     "[eMule]\r\nPort=" + port + "\r\nIncomingDir=" + dir.file("eMule/Incoming") +
                         "\r\n");
    }

    // The transferred total of each file of known.met as it is on disk.
    std::map<std::string, std::uint64_t> transfersOnDisk() const {
        const tKnownMetList list =
            readKnownMet(readBytes(locations.eMuleConfigFolder + "known.met")).list;
        std::map<std::string, std::uint64_t> transfers;
        for (std::size_t i = 0; i < list.count(); ++i)
            transfers[list.record(i).getFileName()] = list.record(i).getTransferred();
        return transfers;
    }

    tKnownMetRecord& add(int n, const std::string& name, std::uint64_t size,
                         std::uint64_t transferred = 0) {
        known.append(
            name, tKnownMetRecord::createFromValues(name, hashOf(n), transferred, 0, 0, size, ""));
        return known.record(known.count() - 1);
    }

    // A file of the incoming folder, which eMule shares, dated as known.met
    // dates the record.
    std::string share(const tKnownMetRecord& record, const std::string& name) const {
        const std::string path =
            dir.write("eMule/Incoming/" + name, std::string(record.getFileSize(), 'x'));
        const auto date = std::chrono::system_clock::from_time_t(record.date);
        std::filesystem::last_write_time(path,
                                         std::filesystem::file_time_type::clock::from_sys(date));
        return path;
    }

    // Writes the records added so far as a settled known.met, sorted by hash.
    void saveKnownMet(bool settled = true) {
        known.sortByHash();
        ByteWriter out;
        writeKnownMet(known, out);
        const std::string path = dir.write("eMule/config/known.met", out.buffer());
        if (settled)
            settle(path);
    }

    // A log of that name and state as the viewer or the recorder would have
    // created it, with those records after its header.
    std::string writeLog(const std::string& name, tLogState state, tLogHeader header = {},
                         const std::vector<std::uint8_t>& records = {}) {
        if (header.valueType == 0)
            header.valueType = valueTypeKnownFile;
        std::vector<std::uint8_t> bytes = encodeNewLog(kindOf(name), header, {});
        bytes.insert(bytes.end(), records.begin(), records.end());
        return dir.write("PLN/PLN logs/" + name + std::string(extensionOf(state)), bytes);
    }

    std::string logPath(const std::string& name, const char* extension) const {
        return locations.logsFolder + name + extension;
    }
    bool logExists(const std::string& name, const char* extension) const {
        return std::filesystem::exists(logPath(name, extension));
    }
};

} // namespace pln::test
