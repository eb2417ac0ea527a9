#pragma once

// A known.met of many records as a busy eMule keeps it: audio-sized,
// video-sized and document-sized files in equal parts, with their part
// hashes and the tags eMule keeps for a shared file.

#include "emulefiles/core/known_met_list.h"
#include "emulefiles/core/known_met_record.h"

#include <cstdint>
#include <memory>
#include <string>

namespace pln::bench {

inline std::uint64_t nextRandom(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

inline tHash randomHash(std::uint64_t& state) {
    tHash h;
    for (auto& b : h.bytes)
        b = static_cast<std::uint8_t>(nextRandom(state));
    return h;
}

// Record i; its date is that of its file on disk.
inline std::unique_ptr<tKnownMetRecord> benchRecord(std::size_t i, std::uint64_t& state) {
    static constexpr std::uint64_t partSize = 9'728'000;
    static constexpr std::uint64_t maxSizes[] = {12'000'000, 4'800'000'000, 3'000'000};
    std::uint64_t size = 20'000 + nextRandom(state) % maxSizes[i % 3];
    std::string name = "Some file name of a shared file " + std::to_string(i) +
                       (i % 5 == 0 ? " \xC3\xA9t\xC3\xA9.avi" : ".mp3");
    auto requested = static_cast<std::uint32_t>(nextRandom(state) % 5000);
    auto record = tKnownMetRecord::createFromValues(
        name, randomHash(state).toString(), nextRandom(state) % 50'000'000'000, requested,
        requested / 2, size, i % 3 == 0 ? "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567" : "");
    record->date = static_cast<std::uint32_t>(1'500'000'000 + i);
    std::uint64_t parts = (size + partSize - 1) / partSize;
    for (std::uint64_t p = 0; parts > 1 && p < parts; ++p)
        record->partHashes.push_back(randomHash(state));
    for (std::uint8_t id : {0x20, 0x21, 0x19})
        record->tags.append(tKnownMetTag::createFromValue(id, nextRandom(state) % 2'000'000'000));
    tKnownMetTag fileType;
    fileType.nameId = 0x03;
    fileType.tagType = tagType::string;
    fileType.text = i % 3 == 1 ? "Video" : "Audio";
    record->tags.append(std::move(fileType));
    return record;
}

inline tKnownMetList benchKnownMetList(std::size_t count) {
    tKnownMetList list;
    list.reserve(count);
    std::uint64_t state = 42;
    for (std::size_t i = 0; i < count; ++i) {
        auto record = benchRecord(i, state);
        std::string name = record->getFileName();
        list.append(std::move(name), std::move(record));
    }
    return list;
}

} // namespace pln::bench
