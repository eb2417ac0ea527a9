// Writes the seed corpus of every fuzz target, one folder per target, from
// the builders the tests spell their fixtures with, so that the fuzzers
// start from files the readers accept.
#include "app/core/errors_log.h"
#include "common/byte_writer.h"
#include "common/text.h"
#include "emulefiles/known_met_bytes.h"
#include "links/link_fixture.h"
#include "logstore/log_fixture.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace pln::test {
namespace {

namespace fs = std::filesystem;

Bytes build(const std::function<void(ByteWriter&)>& write) {
    ByteWriter w;
    write(w);
    return w.take();
}

// The short form of a tag name eMule writes: the type with its high bit set
// and the id, no length.
void flaggedName(ByteWriter& w, std::uint8_t type, std::uint8_t id) {
    w.u8(static_cast<std::uint8_t>(type | 0x80));
    w.u8(id);
}

void textName(ByteWriter& w, std::uint8_t type, std::string_view name) {
    w.u8(type);
    w.u16(static_cast<std::uint16_t>(name.size()));
    w.text(name);
}

void stringValue(ByteWriter& w, std::string_view text) {
    w.u16(static_cast<std::uint16_t>(text.size()));
    w.text(text);
}

class SeedWriter {
public:
    explicit SeedWriter(fs::path root) : root_(std::move(root)) {}

    void add(const std::string& target, const Bytes& bytes) {
        fs::path folder = root_ / target;
        fs::create_directories(folder);
        std::ofstream out(folder / ("seed" + std::to_string(++count_)), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write a seed in " + folder.string());
    }
    void add(const std::string& target, std::string_view text) {
        add(target, Bytes(text.begin(), text.end()));
    }

private:
    fs::path root_;
    int count_ = 0;
};

void knownMetSeeds(SeedWriter& seeds) {
    seeds.add("known_met", build([](ByteWriter& w) {
                  fileHead(w, 2);
                  simpleRecord(w, hashOf(1), "first.avi", 1000, 5);
                  simpleRecord(w, hashOf(2), utf8Bom + "zweite \xC3\xA4.mkv", 2000, 0);
              }));
    seeds.add("known_met", build([](ByteWriter& w) {
                  fileHead(w, 1, 0x0F);
                  recordHead(w, 1'600'000'000, hashOf(3), 2, 4);
                  flaggedName(w, 0x02, 0x01);
                  stringValue(w, "parts.iso");
                  flaggedName(w, 0x0B, 0x02);
                  w.u64(6'000'000'000ULL);
                  idUint32(w, 0x50, 12);
                  textName(w, 3, "custom");
                  w.u32(77);
              }));
}

void cancelledMetSeeds(SeedWriter& seeds) {
    seeds.add("cancelled_met", build([](ByteWriter& w) {
                  fileHead(w, 2);
                  hashOf(1).writeToStream(w);
                  w.u8(0);
                  hashOf(2).writeToStream(w);
                  w.u8(2);
                  idString(w, 0x01, "name");
                  textName(w, 3, "custom");
                  w.u32(77);
              }));
    seeds.add("cancelled_met", build([](ByteWriter& w) {
                  w.u8(0x0F);
                  w.u8(1);
                  w.u32(0xCAFEBABE);
                  w.u32(1);
                  hashOf(5).writeToStream(w);
                  w.u8(0);
              }));
}

void logSeeds(SeedWriter& seeds) {
    seeds.add("log_file", LogBytes()
                              .prefix(0)
                              .knownFileRecord(dos(2024, 1, 2), 3, 2, 1000)
                              .knownFileRecord(dos(2024, 1, 3), 5, 4, 9000)
                              .bytes());
    seeds.add("log_file", LogBytes()
                              .prefix(1)
                              .header(3, 1, 1.0, "KB")
                              .int32Record(dos(2024, 1, 2), 10)
                              .int32Record(dos(2024, 1, 3, 12), -4)
                              .bytes());
    seeds.add("log_file", LogBytes()
                              .prefix(2)
                              .header(4, 2, 0.5, "clients")
                              .int64Record(dos(2024, 2, 1), 1LL << 40)
                              .bytes());
    seeds.add("log_file", LogBytes()
                              .prefix(3)
                              .header(5, 4, 1.0, "ratio")
                              .sources(3, "Uploaded", "Downloaded")
                              .f64(2.5)
                              .bytes());
}

// The first byte picks the log's name: known file, INI value, ConnRunTime,
// queued clients, combined.
void logStoreSeeds(SeedWriter& seeds) {
    auto named = [](std::uint8_t name, LogBytes bytes) {
        Bytes file = bytes.bytes();
        file.insert(file.begin(), name);
        return file;
    };
    seeds.add("log_store",
              named(0, LogBytes().prefix(0).knownFileRecord(dos(2024, 1, 2), 3, 2, 1000)));
    seeds.add(
        "log_store",
        named(1, LogBytes().prefix(1).header(4, 1, 1.0, "KB").int64Record(dos(2024, 1, 2), 4)));
    seeds.add("log_store", named(2, LogBytes()
                                        .prefix(1)
                                        .header(3, 0, 1.0, "s")
                                        .int32Record(dos(2024, 1, 2), 100)
                                        .int32Record(dos(2024, 1, 3), 40)
                                        .int32Record(dos(2024, 1, 4), 90)));
    seeds.add("log_store", named(3, LogBytes().prefix(2).header(1, 0, 1.0, "").u8(0)));
    seeds.add("log_store",
              named(4, LogBytes()
                           .prefix(3)
                           .header(5, 0, 1.0, "")
                           .sources(0, "statistics.ini-statistics,Down", "Queued clients")
                           .f64(10)));
}

void textSeeds(SeedWriter& seeds) {
    seeds.add("dat_text", "C:\\Shared\\\r\nD:\\Video\\\r\n");
    seeds.add("dat_text", utf8Bom + "C:\\Gemeinsam \xC3\xA4\\\nE:\\x\\");
    seeds.add("dat_text", Bytes{0xFF, 0xFE, 'C', 0, ':', 0, '\\', 0, '\r', 0, '\n', 0, 'D', 0});
    seeds.add("ini_document", std::string("\x05\x0B\x05") + "eMule" + "IncomingDir" + "C:\\In" +
                                  "; comment\r\n[eMule]\r\nIncomingDir=C:\\Incoming\\\r\n"
                                  "Nick=\"someone\"\r\n[Statistics]\r\nTotalUploadedBytes=12\r\n");
    seeds.add("ini_document",
              std::string("\x05\x04\x02") + "eMuleNickMe" +
                  encodeTextFile("[eMule]\r\nNick=Zo\xC3\xAB\r\n", TextEncoding::Utf16LeBom));
    seeds.add("ini_document", std::string("\x03\x01\x00", 3) + "Catk\n[Cat#1]\nIncoming = x\r");
    seeds.add("errors_log", errorsLogLine(3'376'684'800'000LL, "Cannot open \"known.met\".") +
                                "\r\n" + errorsLogLine(-43'200'000LL, "old") + "\nno bar\n|x\n");
    seeds.add("multiplier", std::string(".") + "24 * 3600 / 1024 / 1024");
    seeds.add("multiplier", std::string("\x01") + "-1,5e3/2");
    seeds.add("link_encoding", std::string("a b&c<x>.txt \xC3\xA4"));
    seeds.add("link_encoding", hashA);
    seeds.add("ed2k_link", "ed2k://|file|a%20b.txt|123|" + std::string(hashA) + "|/\n");
    seeds.add("ed2k_link", "ed2k://|file|caf%E9|5|" + std::string(hashA) +
                               "|h=ZYXWVUTSRQPONMLKJIHGFEDCBA234567|/");
    seeds.add("web_services", "# comment\r\nJigle, http://www.jigle.com/search?p=#filename&v=1\r\n"
                              "Hash lookup,https://x.example/#hashid?size=#filesize\n"
                              "/no\nClean,ftp://h/#cleanfilename/#name/#cleanname\n");
}

void eventsLogSeeds(SeedWriter& seeds) {
    seeds.add("events_log",
              "3/7/2021=Release\r\n12/25/2021 12:05:09 PM=Caf\xC3\xA9|"
              "0123456789ABCDEF0123456789ABCDEF\r\n1/2/1999 11:59:58 PM=old \xE9\r\n");
    seeds.add("events_log", "13/1/2021=bad month\n2/29/2020 0:00=leap\n\n3/1/2020 1:2:3 am = x \n");
}

} // namespace
} // namespace pln::test

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: pln-fuzz-seeds <corpus folder>\n";
        return 2;
    }
    try {
        pln::test::SeedWriter seeds(argv[1]);
        pln::test::knownMetSeeds(seeds);
        pln::test::cancelledMetSeeds(seeds);
        pln::test::logSeeds(seeds);
        pln::test::logStoreSeeds(seeds);
        pln::test::textSeeds(seeds);
        pln::test::eventsLogSeeds(seeds);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
